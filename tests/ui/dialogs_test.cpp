// Offscreen tests of the windows the main window opens: the netlist window, the symbol
// properties dialog, the symbol library palette, the schematic-to-symbol window and the
// options and properties dialogs, driven the way the menus, a double click and a drag do.
#include "editor/options_values.h"
#include "editor/view.h"
#include "fake_dialogs.h"
#include "form_loglib.h"
#include "form_netlist.h"
#include "form_options.h"
#include "form_properties.h"
#include "form_schtosym.h"
#include "form_symprops.h"
#include "model/schematic_file.h"

namespace qiro {
namespace {
using namespace qiro::test;

template <class W>
W* Child(QWidget& parent, const char* name) {
  W* w = parent.findChild<W*>(name);
  EXPECT_NE(w, nullptr) << name;
  return w;
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

class DialogsTest : public UiTest {
 protected:
  // Copies an example into the temporary directory and opens it there, so written files land there.
  void OpenCopy(const std::string& name) {
    WriteFile(tmp / name, ReadFile(SourceRoot() / "examples" / name));
    Open(Q(tmp / name));
    ws.circuit.Modified = false;
  }
  int Place(const std::string& stem) {
    EXPECT_TRUE(SchematicLoad(ws, SourceRoot() / "IEEE" / (stem + ".SYM"), kLoadSymbol, 300, 300));
    ws.circuit.Modified = false;
    return ws.circuit.Symbols.Count();
  }
  std::string Prop(int symbol, int k) const { return ws.circuit.Symbols[symbol].Prop(k); }
  // Opens the properties of a symbol; `act` runs inside the modal dialog, then it answers. The
  // dialog asks the user nothing.
  void EditSymbol(int symbol, const std::function<void(TFormSymProps&)>& act, bool ok = true) {
    QTimer::singleShot(0, [&, ok] {
      TFormSymProps* form = frame.symPropsForm();
      if (!form) return ADD_FAILURE() << "no dialog";
      EXPECT_TRUE(form->isVisible());
      act(*form);
      if (QApplication::activeModalWidget() == form)
        form->findChild<QPushButton*>(ok ? "OKBtn" : "CancelBtn")->click();
    });
    frame.OpenSymbolProperties(symbol);
    EXPECT_TRUE(dialogs.asked.empty() && dialogs.inputs.empty());
  }
  TFormLoglib* Palette() {
    frame.show();
    frame.toolButton("sbloglib")->click();
    return frame.findChild<TFormLoglib*>();
  }
  void Pick(TFormLoglib* palette, const char* button, bool release = true) {
    SendMouse(palette->button(button), QEvent::MouseButtonPress, QPoint(4, 4));
    if (release) SendMouse(palette->button(button), QEvent::MouseButtonRelease, QPoint(4, 4));
  }
  // Drags a palette code over the drawing; Qt routes moves and the drop to the widget that
  // accepted the enter.
  void DragOver(QPoint at, int model, bool drop = true) {
    QMimeData mime;
    mime.setData(kPaletteMime, QByteArray::number(model));
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.drawing(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.drawing(), &move);
    QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    if (drop) QApplication::sendEvent(frame.drawing(), &dropped);
  }
};

// The netlist window opens on the page of each entry and writes the text next to the schematic,
// asking before it replaces a file it did not write; its options rebuild the text.
TEST_F(DialogsTest, NetlistWindowOpensOnThePageOfEachEntryAndWritesTheText) {
  OpenCopy("half_adder.sch");
  const auto txt = tmp / "half_adder.txt";
  WriteFile(txt, "mine");
  dialogs.answers = {false, true};
  frame.action("mnuToVerilog")->trigger();
  frame.action("mnuToVerilog")->trigger();  // a refusal holds for the refreshes
  EXPECT_EQ(dialogs.asked, std::vector<QString>{"Warning: The file \"" + Q(txt) +
                                                "\" already exists. Will you overwrite it?"});
  EXPECT_EQ(ReadFile(txt), "mine");
  TFormNetlist* form = frame.netlistForm();
  ASSERT_TRUE(form && form->isVisible());
  Child<QPushButton>(*form, "sbSave")->click();  // Save asks again
  EXPECT_EQ(std::tuple(dialogs.asked.size(), form->pages()->currentIndex(), form->moduleName()->text()),
            std::tuple(2u, int(TFormNetlist::kVerilog), QString("half_adder")));
  QString text = form->memo()->toPlainText();
  EXPECT_TRUE(text.contains("\nmodule half_adder( ") && text.contains("// Simulation parameters"));
  EXPECT_TRUE(QString::fromStdString(ReadFile(txt)) == QString(text).replace("\n", "\r\n") + "\r\n" &&
              frame.statusText() == QString("Verilog description written in \"%1\"").arg(txt.c_str()));
  EXPECT_EQ(
      form->linesLabel()->text() + "|" + form->symbolsLabel()->text() + "|" + form->nodesLabel()->text(),
      QString("The Verilog file has %1 lines|The design includes %2 symbols|The circuit has %3 nodes")
          .arg(text.split('\n').size())
          .arg(ws.circuit.Symbols.Count())
          .arg(ws.nodes.Count()));

  frame.action("mnuViewHierarchy")->trigger();  // its own file now: no question
  EXPECT_EQ(form->pages()->currentIndex(), TFormNetlist::kHierarchy);
  ASSERT_EQ(form->tree()->topLevelItemCount(), 3);
  EXPECT_EQ(form->tree()->topLevelItem(0)->text(0) + " " + form->tree()->topLevelItem(2)->text(0),
            "inputs half_adder");
  EXPECT_GT(form->tree()->topLevelItem(2)->childCount(), 0);
  frame.action("mnuNetlist")->trigger();
  ASSERT_EQ(std::pair(form->pages()->currentIndex(), form->grid()->rowCount()),
            std::pair(int(TFormNetlist::kNetlist), ws.circuit.Symbols.Count()));
  EXPECT_EQ(form->grid()->item(0, 1)->text(), QString::fromStdString(ws.circuit.Symbols[1].Name));
  EXPECT_EQ(dialogs.asked.size(), 2u);

  frame.ShowNetlistWindow(Tmdiframe::kPageVerilog);
  EXPECT_EQ(form->pages()->currentIndex(), TFormNetlist::kVerilog);
  form->moduleName()->setText("top");
  emit form->moduleName()->editingFinished();
  form->simuInfo()->setChecked(false);
  text = form->memo()->toPlainText();
  EXPECT_TRUE(text.contains("\nmodule top( ") && text.endsWith("endmodule") &&
              !text.contains("Simulation parameters"));
  Child<QPushButton>(*form, "sbSave")->click();
  EXPECT_TRUE(ReadFile(txt).find("module top( ") != std::string::npos);
  form->moduleName()->setText("my mod!");  // refused beside the field; the text keeps "top"
  emit form->moduleName()->editingFinished();
  EXPECT_TRUE(form->messages().count() == 1 && form->memo()->toPlainText().contains("\nmodule top( "));
  frame.ShowNetlistWindow(Tmdiframe::kPageNetlist);  // a refresh takes the file's name again
  EXPECT_EQ(form->moduleName()->text(), "half_adder");
  // The portable check boxes switch to the portable form.
  EXPECT_FALSE(form->gateDelays()->isEnabled());
  form->portable()->setChecked(true);
  text = form->memo()->toPlainText();
  EXPECT_TRUE(form->gateDelays()->isEnabled() && !text.contains("`timescale") &&
              text.contains("\nmodule half_adder(a, b, sum, carry);"));
  form->gateDelays()->setChecked(true);
  EXPECT_TRUE(form->memo()->toPlainText().contains("always @* xor3_r <= #"));
  form->portable()->setChecked(false);
  EXPECT_TRUE(form->memo()->toPlainText().contains("\nmodule half_adder( a,b,sum,carry);"));
}

// Cancel keeps the symbol; OK with a bad field says what is wrong next to it and stays open;
// a good OK stores the phases.
TEST_F(DialogsTest, ClockPageRefusesABadFieldAndStoresThePhases) {
  const int s = Place("clock");
  EditSymbol(
      s, [&](TFormSymProps& f) { Child<QLineEdit>(f, "EditClock0")->setText("20"); }, false);
  EXPECT_TRUE(Prop(s, 1) == "50.000" && !ws.circuit.Modified);
  EditSymbol(s, [&](TFormSymProps& f) {
    EXPECT_TRUE(f.currentPage() == "Clock" && !Child<QCheckBox>(f, "pauseRise")->isEnabled());
    auto* low = Child<QLineEdit>(f, "EditClock0");
    low->setText("200000");
    Child<QPushButton>(f, "OKBtn")->click();
    EXPECT_TRUE(f.isVisible());
    // Nothing applied yet.
    EXPECT_TRUE(f.messages().TextOf(low) == "200000 is out of range: enter a value from 0 to 100000." &&
                Prop(s, 1) == "50.000");
    low->setText("20");
    Child<QLineEdit>(f, "EditClock1")->setText("30");
    Child<QPushButton>(f, "OKBtn")->click();
    EXPECT_FALSE(f.isVisible());
  });
  EXPECT_TRUE(Prop(s, 1) + " " + Prop(s, 2) == "20.000 30.000" && ws.circuit.Modified);
}

TEST_F(DialogsTest, AProgramIsAssembledAndRenamingAVerilogPinRewritesTheInstances) {
  OpenCopy("mcu_counter.sch");
  int mcu = 1;
  while (mcu < ws.circuit.Symbols.Count() && ws.circuit.Symbols[mcu].Model != 2051) ++mcu;
  EditSymbol(mcu, [&](TFormSymProps& f) {
    EXPECT_TRUE(f.currentPage() == QString::fromUtf8("8051 µc") &&
                !Child<QPlainTextEdit>(f, "MemoProgram")->toPlainText().isEmpty());
    Child<QPushButton>(f, "sbAsm")->click();
    EXPECT_TRUE(!Child<QPlainTextEdit>(f, "MemoAsm")->toPlainText().isEmpty() &&
                Child<QPlainTextEdit>(f, "MemoSymbols")->toPlainText().startsWith("List of symbols"));
  });
  EXPECT_GT(ws.circuit.AsmLines.Count(), 0);

  ASSERT_TRUE(SchematicLoad(ws, SourceRoot() / "examples" / "full_adder.sym", kLoadSymbol, 300, 300));
  const int s = ws.circuit.Symbols.Count();
  EditSymbol(s, [&](TFormSymProps& f) {
    EXPECT_TRUE(f.currentPage() == "Verilog Call" &&
                Child<QPlainTextEdit>(f, "MemoVerilog")->toPlainText().contains("xor xor4(w4,a,b);"));
    Child<QTableWidget>(f, "PinData")->item(0, 2)->setText("x-in");
  });
  const TSymbol& t = ws.circuit.Symbols[s];
  EXPECT_EQ(t.Pin(1).Name, "x_in");
  std::string all;
  for (int l = 1; l <= t.VerilogLineCount; ++l) all += t.VerilogLines[l] + "\n";
  EXPECT_NE(all.find("xor xor4(w4,x_in,b);"), std::string::npos) << all;
}

TEST_F(DialogsTest, PaletteButtonsPickTheirCodesAndShowPicturesOfTheirSymbols) {
  TFormLoglib* palette = Palette();
  ASSERT_TRUE(palette && palette->isVisible());
  EXPECT_EQ(frame.mode(), kModeSelect);
  Pick(palette, "sbNor3");
  EXPECT_EQ(palette->state().Model, 303);
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
  EXPECT_FALSE(palette->isVisible() || frame.toolButton("sbloglib")->isChecked());
}

// Over the drawing the dragged symbol's outline shows by exclusive or and leaves nothing when
// the drag leaves; the drop places the symbol at the drop point.
TEST_F(DialogsTest, DraggingTheButtonShowsItsOutlineAndTheDropPlacesIt) {
  frame.toolButton("sbline")->click();
  TFormLoglib* palette = Palette();
  Pick(palette, "sbButton", false);
  ASSERT_TRUE(palette->state().Dragging);
  const QPoint at(300, 200);
  const QImage before = frame.drawing()->shown().copy();
  DragOver(at, palette->state().Model, false);
  EXPECT_NE(frame.drawing()->shown(), before);
  QDragLeaveEvent leave;
  QApplication::sendEvent(frame.drawing(), &leave);
  EXPECT_EQ(frame.drawing()->shown(), before);
  DragOver(at, palette->state().Model);
  ASSERT_EQ(ws.circuit.Symbols.Count(), 1);
  const TSymbol& s = ws.circuit.Symbols[1];
  EXPECT_EQ(std::pair(s.Model, s.Name), std::pair(59, std::string("button1")));
  EXPECT_EQ(std::pair(s.BBox.x2, s.BBox.y2), std::pair(SnapToGrid(ws.view.ScreenToWorldX(at.x())),
                                                       SnapToGrid(ws.view.ScreenToWorldY(at.y()))));
  EXPECT_TRUE(frame.mode() == kModeSelect && frame.toolButton("sbselect")->isChecked());
  EXPECT_FALSE(palette->state().InsertPending);
  Pick(palette, "sbButton");  // a press released without moving leaves nothing to drop
  DragOver(at, 59);
  EXPECT_EQ(ws.circuit.Symbols.Count(), 1);
}

TEST_F(DialogsTest, PropertiesShowFillAndTechnologyAndSetTheHome) {
  for (int i = 0; i < 1024; ++i) ws.circuit.AddSymbol("s");
  WhenShown<TFormProperties>(&frame, [&](TFormProperties* f) {
    EXPECT_EQ(f->countLabel(0)->text() + " " + f->fillLabel(0)->text() + " " + f->countLabel(2)->text() +
                  "|" + f->techValue(1)->text(),
              "1024/2048 50.0% full 0/2500| 2.500");
    EXPECT_TRUE(f->fillBar(0)->value() == 50 && f->techValue(0)->isReadOnly());
    EXPECT_EQ(f->EditHome()->text(), Q(SourceRoot()));
    f->CheckAnyAngle()->setChecked(true);
    f->CheckSmartEdit()->setChecked(!f->CheckSmartEdit()->isChecked());
    f->EditHome()->setText("/nowhere/qiro");
    f->btnOKClick();
  });
  const bool smart = ws.settings.SmartLineEditing;
  frame.action("mnuProps")->trigger();
  EXPECT_TRUE(ws.settings.AnyAngleLines && ws.settings.SmartLineEditing != smart);
  EXPECT_EQ(ws.settings.SymbolDir, std::filesystem::path("/nowhere/qiro") / "IEEE");
  // Browse: a symbol picked in a library folder makes its parent the home.
  dialogs.files = {Q(SourceRoot() / "IEEE" / "and2.SYM")};
  WhenShown<TFormProperties>(&frame, [&](TFormProperties* f) { f->btnBrowseClick(); });
  frame.action("mnuProps")->trigger();
  EXPECT_EQ(dialogs.filters.back(), "Symbols (*.SYM)|*.SYM|All files |*.*");
  EXPECT_EQ(ws.settings.SymbolDir, SourceRoot() / "IEEE");
}

TEST_F(DialogsTest, OptionsRefuseARefreshIntervalBelowOne) {
  ws.tech.TimeUnit = 0.1;
  WhenShown<TFormOptions>(&frame, [&](TFormOptions* f) {
    EXPECT_EQ(f->ComboTimeUnit()->currentText() + " " + f->EditStep()->text(), "100ps 12");
    EXPECT_TRUE(f->CheckFilter()->isChecked());
    f->CheckFilter()->setChecked(false);
    f->EditStep()->setText("0");
    f->sbOkClick();
    EXPECT_TRUE(f->isVisible() && !f->refusal()->isHidden());
    EXPECT_EQ(f->refusal()->text(), "0 is out of range: enter a value from 1 to 1000000.");
    f->EditStep()->setText("30");
    f->sbOkClick();
    EXPECT_FALSE(f->isVisible());
  });
  frame.action("SimulateOptions1")->trigger();
  EXPECT_EQ(std::pair(ws.settings.DisplayPeriod, ws.settings.GlitchFiltering), std::pair(30, false));
  EXPECT_DOUBLE_EQ(ws.tech.TimeUnit, 0.1);
}

// The preview follows Fatter and Thinner; changing the order refills the table from the ports;
// a used module name and a bad position are refused and nothing is written; then OK writes a
// symbol that reads back.
TEST_F(DialogsTest, SchematicToSymbolRefusesBadInputAndWritesASymbolThatReadsBack) {
  Open(Example("half_adder.sch"));
  WhenShown<TFormSchToSym>(&frame, [&](TFormSchToSym* f) {
    EXPECT_FALSE(f->richEdit()->toPlainText().isEmpty());
    const QImage first = f->preview().copy();
    f->sbFatClick();
    EXPECT_TRUE(f->generator().BoxWidth == 45 && f->preview() != first);
    for (int i = 0; i < 10; ++i) f->sbThinClick();
    EXPECT_EQ(f->generator().BoxWidth, 20);
    f->StringGrid1()->item(0, 2)->setText("T");
    f->increasing()->click();
    EXPECT_EQ(f->StringGrid1()->item(0, 2)->text(), "L");
    f->EditDirectory()->setText(Q(tmp.path()));
    f->EditName()->setText("xor2");
    f->Generate(1);
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(frame.lastMessage(), "The module name \"xor2\" is already used in the design. Save failed.");
    f->EditName()->setText("my-half adder");
    const QString position = f->StringGrid1()->item(1, 1)->text();
    f->StringGrid1()->item(1, 1)->setText("two");
    f->Generate(1);
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(f->messages().TextOf(f->StringGrid1()), "Row 2: \"two\" is not a whole number.");
    EXPECT_TRUE(std::filesystem::is_empty(tmp.path()));
    f->StringGrid1()->item(1, 1)->setText(position);
    f->findChild<QPushButton*>("btnOk")->click();
    EXPECT_FALSE(f->isVisible());
  });
  frame.action("mnuToSymbol")->trigger();
  Workspace back;
  ASSERT_TRUE(SchematicLoad(back, tmp / "my_halfadder.sym", kLoadSymbol, 100, 100));
  ASSERT_EQ(back.circuit.Symbols.Count(), 1);
  EXPECT_EQ(std::pair(back.circuit.Symbols[1].Model, back.circuit.Symbols[1].PinCount),
            std::pair(6000, int(ws.extraction.InputNames.size() + ws.extraction.OutputNames.size())));
}

}  // namespace
}  // namespace qiro
