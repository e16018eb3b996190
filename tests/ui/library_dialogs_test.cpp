// Offscreen tests of the symbol library palette, the schematic-to-symbol window and the
// options and properties dialogs, driven through the main window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <functional>

#include "core/test_support.h"
#include "drawing_area.h"
#include "editor/options_values.h"
#include "editor/view.h"
#include "fake_dialogs.h"
#include "form_loglib.h"
#include "form_options.h"
#include "form_properties.h"
#include "form_schtosym.h"
#include "forms.h"
#include "main_window.h"
#include "model/schematic_file.h"
#include "workspace.h"

namespace qiro {
namespace {
using namespace qiro::test;

void Press(QWidget* w, Qt::MouseButton button = Qt::LeftButton) {
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(4, 4), w->mapToGlobal(QPointF(4, 4)), button, button,
                    Qt::NoModifier);
  QApplication::sendEvent(w, &press);
}

void Release(QWidget* w) {
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(4, 4), w->mapToGlobal(QPointF(4, 4)),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &release);
}

// Runs the action on the modal dialog of type T as soon as it shows, then closes it.
template <typename T>
void WhenShown(QWidget* owner, std::function<void(T*)> action) {
  QTimer::singleShot(0, owner, [owner, action] {
    T* form = owner->findChild<T*>();
    ASSERT_NE(form, nullptr);
    action(form);
    if (form->isVisible()) form->reject();
  });
}

class LibraryDialogsTest : public ::testing::Test {
 protected:
  LibraryDialogsTest() : frame(ws, dialogs) {
    frame.resize(800, 600);
    frame.Startup(SourceRoot(), {});
    frame.show();
    QApplication::processEvents();
  }
  TFormLoglib* Palette() {
    frame.toolButton("sbloglib")->click();
    return frame.findChild<TFormLoglib*>();
  }
  void Drop(QPoint at, int model) {
    QMimeData mime;
    mime.setData(kPaletteMime, QByteArray::number(model));
    // Qt routes moves and the drop to the widget that accepted the enter.
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.drawing(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.drawing(), &move);
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.drawing(), &drop);
  }
  void OpenExample(const char* name) {
    dialogs.files = {QString::fromStdString((SourceRoot() / "examples" / name).string())};
    frame.DoOpenFile();
  }
  Workspace ws;
  FakeDialogs dialogs;
  Tmdiframe frame;
  TempDir tmp;
};

TEST_F(LibraryDialogsTest, PaletteButtonsCarryHintsCodesAndPicturesOfTheirSymbols) {
  TFormLoglib* palette = Palette();
  ASSERT_NE(palette, nullptr);
  EXPECT_TRUE(palette->isVisible());
  EXPECT_EQ(palette->windowTitle(), "Symbol library");
  EXPECT_TRUE(palette->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(palette->pages()->tabText(0), "Basic");
  EXPECT_EQ(palette->pages()->tabText(1), "Advanced");
  EXPECT_EQ(frame.mode(), kModeSelect);

  Press(palette->button("sbNor3"));
  EXPECT_EQ(palette->state().Model, 303);
  EXPECT_EQ(palette->button("sbNor3")->toolTip(), "");
  Release(palette->button("sbNor3"));
  EXPECT_EQ(palette->button("sbLut")->toolTip(), "Look up table");

  // Every picture shows something drawn, and different symbols look different.
  QImage nand, buf;
  for (const PaletteButton& pb : PaletteButtons()) {
    const QImage img = palette->button(pb.Name)->icon().pixmap(36, 36).toImage();
    int dark = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) dark += qGray(img.pixel(x, y)) < 128;
    EXPECT_GT(dark, 10) << pb.Name;
    if (std::string(pb.Name) == "sbNand2") nand = img;
    if (std::string(pb.Name) == "sbBuf") buf = img;
  }
  EXPECT_NE(nand, buf);

  // Printing leaves the window as it is; closing unpresses the tool button.
  frame.action("mnuprn")->trigger();
  EXPECT_TRUE(palette->isVisible());
  frame.toolButton("sbloglib")->click();
  ASSERT_TRUE(palette->isVisible());
  palette->close();
  EXPECT_FALSE(palette->isVisible());
  EXPECT_FALSE(frame.toolButton("sbloglib")->isChecked());
}

TEST_F(LibraryDialogsTest, EmptyLibraryDirectoryWarnsNamingTheFile) {
  ws.SetHomeDir(tmp.path());
  TFormLoglib* palette = Palette();
  Press(palette->button("sbVss"));
  Release(palette->button("sbVss"));
  const QString path = QString::fromStdString((tmp.path() / "IEEE" / "vss.SYM").string());
  EXPECT_EQ(frame.lastMessage(), "The symbol " + path +
                                     " is not in this directory. Click \"File\" \"Properties\" to setup the "
                                     "directory");
  // Nothing is placed by a drop after that.
  Drop(QPoint(200, 200), 0);
  EXPECT_EQ(ws.circuit.Symbols.Count(), 0);
}

TEST_F(LibraryDialogsTest, DroppingTheButtonPlacesItAtTheDropPoint) {
  frame.toolButton("sbline")->click();
  TFormLoglib* palette = Palette();
  Press(palette->button("sbButton"));
  ASSERT_TRUE(palette->state().Dragging);
  const QPoint at(300, 200);
  Drop(at, palette->state().Model);
  ASSERT_EQ(ws.circuit.Symbols.Count(), 1);
  const TSymbol& s = ws.circuit.Symbols[1];
  EXPECT_EQ(s.Model, 59);
  EXPECT_EQ(s.Name, "button1");
  EXPECT_EQ(s.BBox.x2, SnapToGrid(ws.view.ScreenToWorldX(at.x())));
  EXPECT_EQ(s.BBox.y2, SnapToGrid(ws.view.ScreenToWorldY(at.y())));
  EXPECT_EQ(frame.mode(), kModeSelect);
  EXPECT_TRUE(frame.toolButton("sbselect")->isChecked());
  EXPECT_FALSE(palette->state().InsertPending);

  // A press released without moving leaves nothing to drop.
  Press(palette->button("sbButton"));
  Release(palette->button("sbButton"));
  Drop(at, 59);
  EXPECT_EQ(ws.circuit.Symbols.Count(), 1);
}

TEST_F(LibraryDialogsTest, DragOverTheDrawingShowsTheOutlineByExclusiveOr) {
  TFormLoglib* palette = Palette();
  Press(palette->button("sbAnd2"));
  const QImage before = frame.drawing()->shown().copy();
  QMimeData mime;
  mime.setData(kPaletteMime, "402");
  QDragEnterEvent enter(QPoint(300, 200), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(frame.drawing(), &enter);
  QDragMoveEvent move(QPoint(300, 200), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(frame.drawing(), &move);
  EXPECT_NE(frame.drawing()->shown(), before);
  QDragLeaveEvent leave;
  QApplication::sendEvent(frame.drawing(), &leave);
  EXPECT_EQ(frame.drawing()->shown(), before);
}

TEST_F(LibraryDialogsTest, PropertiesShowFillAndTechnologyAndSetTheHome) {
  for (int i = 0; i < 1024; ++i) ws.circuit.AddSymbol("s");
  WhenShown<TFormProperties>(&frame, [&](TFormProperties* f) {
    EXPECT_EQ(f->windowTitle(), "Properties of example");
    EXPECT_EQ(f->editingFile()->text(), "\"example\" edited by QIRO 2.3c");
    EXPECT_EQ(f->countLabel(0)->text(), "1024/2048");
    EXPECT_EQ(f->fillLabel(0)->text(), "50.0% full");
    EXPECT_EQ(f->fillBar(0)->value(), 50);
    EXPECT_EQ(f->countLabel(2)->text(), "0/2500");
    EXPECT_EQ(f->techValue(1)->text(), " 2.500");
    EXPECT_TRUE(f->techValue(0)->isReadOnly());
    EXPECT_EQ(f->EditHome()->text(), QString::fromStdString(SourceRoot().string()));

    f->CheckAnyAngle()->setChecked(true);
    f->CheckSmartEdit()->setChecked(!f->CheckSmartEdit()->isChecked());
    f->EditHome()->setText("/nowhere/qiro");
    f->btnOKClick();
  });
  const bool smart = ws.settings.SmartLineEditing;
  frame.action("mnuProps")->trigger();
  EXPECT_TRUE(ws.settings.AnyAngleLines);
  EXPECT_NE(ws.settings.SmartLineEditing, smart);
  EXPECT_EQ(ws.settings.SymbolDir, std::filesystem::path("/nowhere/qiro") / "IEEE");

  // Browse: a symbol picked in a library folder makes its parent the home.
  dialogs.files = {QString::fromStdString((SourceRoot() / "IEEE" / "and2.SYM").string())};
  WhenShown<TFormProperties>(&frame, [&](TFormProperties* f) { f->btnBrowseClick(); });
  frame.action("mnuProps")->trigger();
  EXPECT_EQ(dialogs.filters.back(), "Symbols (*.SYM)|*.SYM|All files |*.*");
  EXPECT_EQ(ws.settings.SymbolDir, SourceRoot() / "IEEE");
}

TEST_F(LibraryDialogsTest, OptionsRefuseARefreshIntervalBelowOne) {
  ws.tech.TimeUnit = 0.1;
  WhenShown<TFormOptions>(&frame, [&](TFormOptions* f) {
    EXPECT_EQ(f->windowTitle(), "Simulate Option");
    EXPECT_EQ(f->ComboTimeUnit()->currentText(), "100ps");
    EXPECT_EQ(f->EditStep()->text(), "12");
    EXPECT_TRUE(f->CheckFilter()->isChecked());
    f->CheckFilter()->setChecked(false);
    f->EditStep()->setText("0");
    f->sbOkClick();
    EXPECT_TRUE(f->isVisible());
    EXPECT_FALSE(f->refusal()->isHidden());
    EXPECT_EQ(f->refusal()->text(), "0 is out of range: enter a value from 1 to 1000000.");
    f->EditStep()->setText("30");
    f->sbOkClick();
    EXPECT_FALSE(f->isVisible());
  });
  frame.action("SimulateOptions1")->trigger();
  EXPECT_EQ(ws.settings.DisplayPeriod, 30);
  EXPECT_FALSE(ws.settings.GlitchFiltering);
  EXPECT_DOUBLE_EQ(ws.tech.TimeUnit, 0.1);
}

TEST_F(LibraryDialogsTest, SchematicToSymbolWritesASymbolThatReadsBack) {
  OpenExample("half_adder.sch");
  WhenShown<TFormSchToSym>(&frame, [&](TFormSchToSym* f) {
    EXPECT_EQ(f->windowTitle(), "Schema to Symbol");
    EXPECT_EQ(f->StringGrid1()->horizontalHeaderItem(1)->text(), "Position");
    EXPECT_FALSE(f->richEdit()->toPlainText().isEmpty());
    EXPECT_GT(f->StringGrid1()->item(0, 0)->text().size(), 0);
    f->EditName()->setText("my-half adder");
    f->EditDirectory()->setText(QString::fromStdString(tmp.path().string()));
    f->findChild<QPushButton*>("btnOk")->click();
    EXPECT_FALSE(f->isVisible());
  });
  frame.action("mnuToSymbol")->trigger();
  const auto path = tmp / "my_halfadder.sym";
  ASSERT_TRUE(std::filesystem::exists(path));
  Workspace back;
  ASSERT_TRUE(SchematicLoad(back, path, kLoadSymbol, 100, 100));
  ASSERT_EQ(back.circuit.Symbols.Count(), 1);
  EXPECT_EQ(back.circuit.Symbols[1].Model, 6000);
  EXPECT_EQ(back.circuit.Symbols[1].PinCount,
            int(ws.extraction.InputNames.size() + ws.extraction.OutputNames.size()));
}

TEST_F(LibraryDialogsTest, SchematicToSymbolRefusesAUsedNameAndABadPosition) {
  OpenExample("half_adder.sch");
  WhenShown<TFormSchToSym>(&frame, [&](TFormSchToSym* f) {
    f->EditDirectory()->setText(QString::fromStdString(tmp.path().string()));
    f->EditName()->setText("xor2");
    f->Generate(1);
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(frame.lastMessage(), "The module name \"xor2\" is already used in the design. Save failed.");

    f->EditName()->setText("fresh");
    f->StringGrid1()->item(1, 1)->setText("two");
    f->Generate(1);
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(f->messages().TextOf(f->StringGrid1()), "Row 2: \"two\" is not a whole number.");
  });
  frame.action("mnuToSymbol")->trigger();
  EXPECT_TRUE(std::filesystem::is_empty(tmp.path()));
}

TEST_F(LibraryDialogsTest, SchematicToSymbolPreviewFollowsFatterAndThinner) {
  OpenExample("half_adder.sch");
  WhenShown<TFormSchToSym>(&frame, [&](TFormSchToSym* f) {
    const QImage first = f->preview().copy();
    f->sbFatClick();
    EXPECT_EQ(f->generator().BoxWidth, 45);
    EXPECT_NE(f->preview(), first);
    for (int i = 0; i < 10; ++i) f->sbThinClick();
    EXPECT_EQ(f->generator().BoxWidth, 20);
    // Changing the order refills the table from the ports.
    f->StringGrid1()->item(0, 2)->setText("T");
    f->increasing()->click();
    EXPECT_EQ(f->StringGrid1()->item(0, 2)->text(), "L");
  });
  frame.action("mnuToSymbol")->trigger();
}

TEST(UiForms, AboutNamesTheProgramAndVersion) {
  TFormAbout about;
  const QString text = about.findChild<QLabel*>("aboutText")->text();
  EXPECT_TRUE(text.contains("QIRO")) << text.toStdString();
  EXPECT_TRUE(text.contains(kProgramVersion));
}

}  // namespace
}  // namespace qiro
