// Offscreen tests of the main window: its commands, modes, file flows and view control.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPrinter>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <cstdlib>
#include <deque>
#include <filesystem>

#include "core/test_support.h"
#include "fake_dialogs.h"
#include "forms.h"
#include "help_window.h"
#include "main_window.h"
#include "print_schema.h"
#include "qt_canvas.h"
#include "ui_dialogs.h"
#include "workspace.h"

namespace qiro {
namespace {
using namespace qiro::test;

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : frame(ws, dialogs) {
    frame.resize(800, 600);
    frame.Startup(SourceRoot(), {});
  }
  QString Example(const char* name) {
    return QString::fromStdString((SourceRoot() / "examples" / name).string());
  }
  QString lastError() const { return frame.lastMessage(); }
  Workspace ws;
  FakeDialogs dialogs;
  Tmdiframe frame;
  TempDir tmp;
};

TEST_F(MainWindowTest, MenuItemsAndToolButtonsCarryTheirCaptionsShortcutsAndHints) {
  const std::vector<std::tuple<const char*, const char*, const char*>> items = {
      {"mnunew", "&New", ""},
      {"mnuread", "&Open", "F3"},
      {"mnuwrite", "&Save", "F2"},
      {"mnusave", "Save &As", ""},
      {"mnuRule", "Select Foundry", ""},
      {"mnuMonochrom", "Monchrom/Color", ""},
      {"mnuquit", "&Leave Qiro2", "Ctrl+Q"},
      {"mnuCut", "Cut", "Ctrl+X"},
      {"mnuPaste", "Paste", "Ctrl+V"},
      {"mnuCopy", "Copy", "Ctrl+C"},
      {"mnuMove", "Move", "Ctrl+M"},
      {"mnuUndo", "&Undo", "Ctrl+Z"},
      {"mnuRedo", "&Redo", "Ctrl+Y"},
      {"mnuHideProps", "Hide Properties", "Ctrl+H"},
      {"mnuSearchNode", "Search Node", "Ctrl+N"},
      {"mnuSearchPin", "Search Pin", "Ctrl+P"},
      {"mnuViewAll", "&View All", "Ctrl+A"},
      {"mnuZoomIn", "Zoom &In", "Ctrl+I"},
      {"mnuZoomOut", "Zoom &Out", "Ctrl+O"},
      {"mnuStartLife", "&Start Simulation", "Ctrl+S"},
      {"mnuInsertSymbol", "User &Symbol (.SYM)", ""},
      {"mnuInsertFile", "Another Schema (.SCH)", ""},
      {"mnuCheckFloat", "Check Floating Line", ""},
      {"mnuContents", "Contents", ""},
      {"AboutQiro", "About Qiro", ""},
      {"mnuViewInterconnect", "View Electrical Net", ""},
      {"mnuChronogram", "Timing Diagrams", ""},
      {"mnuNetlist", "View &Netlist", ""},
      {"mnuprn", "&Print Schema", ""}};
  for (const auto& [name, caption, shortcut] : items) {
    QAction* a = frame.action(name);
    ASSERT_NE(a, nullptr) << name;
    EXPECT_EQ(a->text(), caption) << name;
    EXPECT_EQ(a->shortcut(), QKeySequence(shortcut)) << name;
  }
  const std::vector<std::pair<const char*, const char*>> tools = {{"sbfileopen", "Open File"},
                                                                  {"sbfilesave", "Save File"},
                                                                  {"sbclear", "Cut"},
                                                                  {"sbgleft", "rotate to left"},
                                                                  {"sbgright", "rotate to right"},
                                                                  {"sbFlip", "Flip"},
                                                                  {"sbline", "Line"},
                                                                  {"sbshow", "Actual Size"},
                                                                  {"sbzoomin", "Zoom In"},
                                                                  {"sbViewNode", "View electrical net"},
                                                                  {"sbsch", "Timing Diagram"},
                                                                  {"SBSTART", "Start Simu"}};
  for (const auto& [name, hint] : tools) {
    QAbstractButton* b = frame.toolButton(name);
    ASSERT_NE(b, nullptr) << name;
    EXPECT_EQ(b->toolTip(), hint) << name;
    EXPECT_FALSE(b->icon().isNull()) << name;
  }
  EXPECT_FALSE(frame.action("mnuLastSymbol")->isVisible());
}

TEST_F(MainWindowTest, StartupNamesTheWindowAndWelcomes) {
  EXPECT_EQ(frame.windowTitle(), "Qiro2 - example");
  EXPECT_EQ(frame.statusText(), kWelcome);
  EXPECT_EQ(ws.settings.SymbolDir, SourceRoot() / "IEEE");
}

TEST_F(MainWindowTest, ModeCommandsSetModeAndStatusAndResetToolsReturnsToSelect) {
  frame.toolButton("sbgleft")->click();
  EXPECT_EQ(frame.mode(), kModeRotateLeft);
  EXPECT_EQ(frame.statusText(), "Please selete a part to rotate to left");
  frame.action("mnuMove")->trigger();
  EXPECT_EQ(frame.mode(), kModeCut);
  EXPECT_TRUE(frame.moveFlag());
  frame.toolButton("sbline")->click();
  EXPECT_EQ(frame.statusText(), "Draw line");
  EXPECT_TRUE(frame.toolButton("sbline")->isChecked());
  frame.ResetTools();
  EXPECT_EQ(frame.mode(), kModeSelect);
  EXPECT_TRUE(frame.toolButton("sbselect")->isChecked());
  // A right-button press switches any mode to line drawing.
  frame.toolButton("sbcopy")->click();
  frame.PointerPress(QPoint(50, 50), true);
  EXPECT_EQ(frame.mode(), kModeLine);
  frame.PointerRelease(QPoint(60, 60));
}

TEST_F(MainWindowTest, OpenFitsAndNamesTheFileNewAsksAboutChanges) {
  dialogs.files = {Example("half_adder.sch")};
  frame.action("mnuread")->trigger();
  EXPECT_GT(ws.circuit.Symbols.Count(), 0);
  EXPECT_EQ(frame.windowTitle(), "Qiro2 - " + Example("half_adder.sch"));
  EXPECT_EQ(dialogs.filters.back(), kSchematicFilter);

  ws.circuit.Modified = true;
  dialogs.answers = {false};
  frame.action("mnunew")->trigger();
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0], "Warning: schematics modified.");
  EXPECT_EQ(ws.circuit.Symbols.Count(), 0);
  EXPECT_EQ(frame.windowTitle(), "Qiro2 - example");
}

TEST_F(MainWindowTest, SaveAsAsksBeforeOverwritingAndKeepsTheNameWhenDeclined) {
  dialogs.files = {Example("half_adder.sch")};
  frame.DoOpenFile();
  const auto target = tmp / "copy.sch";
  WriteFile(target, "old");
  dialogs.files = {QString::fromStdString(target.string())};
  dialogs.answers = {false};
  frame.SaveAs();
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0], "Warning: This file already exist. Will you overwrite it?");
  EXPECT_EQ(ReadFile(target), "old");
  dialogs.files = {QString::fromStdString(target.string())};
  dialogs.answers = {true};
  frame.SaveAs();
  EXPECT_NE(ReadFile(target), "old");
  EXPECT_EQ(frame.windowTitle(), "Qiro2 - " + QString::fromStdString(target.string()));
}

TEST_F(MainWindowTest, SaveOfAnUntitledDrawingGoesThroughSaveAs) {
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(tmp.path());  // where a stray example.sch would land
  dialogs.files = {std::nullopt};
  frame.action("mnuwrite")->trigger();
  EXPECT_EQ(dialogs.proposals, std::vector<QString>{"example.sch"});
  EXPECT_FALSE(std::filesystem::exists(tmp / "example.sch"));
  const auto mine = tmp / "mine.sch";
  dialogs.files = {QString::fromStdString(mine.string())};
  frame.action("mnuwrite")->trigger();
  EXPECT_TRUE(std::filesystem::exists(mine));
  frame.action("mnuwrite")->trigger();  // named now: saved without a dialog
  EXPECT_EQ(dialogs.proposals.size(), 2u);
  std::filesystem::current_path(cwd);
}

TEST_F(MainWindowTest, NetlistWindowAsksBeforeReplacingAVerilogFileItDidNotWrite) {
  dialogs.files = {Example("half_adder.sch")};
  frame.DoOpenFile();
  frame.SetCurrentFileName(QString::fromStdString((tmp / "h.sch").string()));
  const auto txt = tmp / "h.txt";
  WriteFile(txt, "mine");
  dialogs.answers = {false};
  frame.action("mnuNetlist")->trigger();
  frame.action("mnuNetlist")->trigger();  // a refusal holds for the refreshes
  EXPECT_EQ(dialogs.asked,
            std::vector<QString>{"Warning: The file \"" + QString::fromStdString(txt.string()) +
                                 "\" already exists. Will you overwrite it?"});
  EXPECT_EQ(ReadFile(txt), "mine");
  dialogs.answers = {true};
  frame.findChild<QAbstractButton*>("sbSave")->click();  // Save asks again
  EXPECT_EQ(dialogs.asked.size(), 2u);
  EXPECT_NE(ReadFile(txt), "mine");
  frame.action("mnuNetlist")->trigger();  // its own file now: no question
  EXPECT_EQ(dialogs.asked.size(), 2u);
}

TEST_F(MainWindowTest, UnwritableSaveOnQuitOrCloseKeepsTheWindowOpen) {
  frame.show();
  ws.circuit.Modified = true;
  ws.circuit.FileName = (tmp / "no_such_dir" / "x.sch").string();
  dialogs.answers = {true};  // yes, save: fails, so nothing must close
  EXPECT_FALSE(frame.close());
  EXPECT_TRUE(frame.isVisible());
  // Declining the save lets the frame close; the question was asked each time.
  dialogs.answers = {false};
  EXPECT_TRUE(frame.close());
  EXPECT_EQ(dialogs.asked.size(), 2u);
}

// Cancel in the save question calls off New, Open, Leave and closing, and keeps the drawing.
TEST_F(MainWindowTest, CancelInTheSaveQuestionKeepsEverything) {
  frame.show();
  dialogs.files = {Example("half_adder.sch")};
  frame.DoOpenFile();
  const int symbols = ws.circuit.Symbols.Count();
  ws.circuit.Modified = true;
  using Choice = UiDialogs::SaveChoice;
  dialogs.saveChoices = {Choice::Cancel, Choice::Cancel, Choice::Cancel, Choice::Cancel};
  dialogs.files = {Example("counter.sch")};
  frame.action("mnunew")->trigger();
  frame.action("mnuread")->trigger();
  frame.QuitMe();
  EXPECT_FALSE(frame.close());
  EXPECT_TRUE(frame.isVisible());
  EXPECT_EQ(dialogs.asked.size(), 4u) << "Leave asks nothing more after a Cancel";
  EXPECT_EQ(dialogs.filters.size(), 1u) << "Open shows no file dialog after a Cancel";
  EXPECT_EQ(ws.circuit.Symbols.Count(), symbols);
  EXPECT_TRUE(ws.circuit.Modified);
  EXPECT_EQ(frame.windowTitle(), "Qiro2 - " + Example("half_adder.sch"));
}

// A file that is no schematic leaves the open one, its name and the caption as they were; a
// later Save names the file it writes in the caption.
TEST_F(MainWindowTest, FailedOpenKeepsTheSchematicAndTheCaptionFollowsSave) {
  dialogs.files = {Example("half_adder.sch")};
  frame.DoOpenFile();
  const auto copy = tmp / "copy.sch";
  ws.circuit.FileName = copy.string();
  const auto png = tmp / "x.png";
  WriteFile(png, "\x89PNG\r\n");
  dialogs.files = {QString::fromStdString(png.string())};
  frame.DoOpenFile();
  EXPECT_EQ(lastError(), "Format error in " + QString::fromStdString(png.string()));
  EXPECT_EQ(ws.circuit.FileName, copy.string());
  EXPECT_GT(ws.circuit.Symbols.Count(), 0);
  frame.action("mnuwrite")->trigger();
  EXPECT_EQ(frame.windowTitle(), "Qiro2 - " + QString::fromStdString(copy.string()));
}

TEST_F(MainWindowTest, HelpOpensInItsOwnWindowWithLinksAndSearch) {
  frame.action("mnuContents")->trigger();
  THelpWindow* help = frame.helpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_TRUE(help->browser()->toPlainText().contains("Simulat"));
  const int top = help->browser()->verticalScrollBar()->value();
  help->browser()->setSource(QUrl("#cli"));  // an internal link, far down the page
  EXPECT_GT(help->browser()->verticalScrollBar()->value(), top);
  EXPECT_TRUE(help->FindText("timing"));
  EXPECT_TRUE(help->browser()->textCursor().hasSelection());
  EXPECT_FALSE(help->FindText("no such words here"));
  EXPECT_EQ(help->searchResult()->text(), "Not found");

  ws.SetHomeDir(tmp.path());  // no help page there
  frame.action("mnuContents")->trigger();
  EXPECT_EQ(frame.statusText(), "File \"Html/index.html\" not found.");
}

// The print goes through the renderer to the printer (here a PDF file); a cancelled preview
// leaves the window as it was.
TEST_F(MainWindowTest, PrintDrawsTheSchematicAndCancelKeepsTheView) {
  frame.show();
  dialogs.files = {Example("half_adder.sch")};
  frame.DoOpenFile();
  frame.action("mnuprn")->trigger();
  EXPECT_EQ(dialogs.prints, 1);
  EXPECT_EQ(frame.mode(), kModeSelect);
  EXPECT_TRUE(frame.findChild<QScrollBar*>("LfRgBar")->isVisible());
  EXPECT_FALSE(ws.view.printing);

  const auto pdf = tmp / "half_adder.pdf";
  dialogs.printTo = QString::fromStdString(pdf.string());
  frame.action("mnuprn")->trigger();
  const std::string text = ReadFile(pdf);
  EXPECT_EQ(text.rfind("%PDF", 0), 0u);
  EXPECT_GT(text.size(), 2000u);
  EXPECT_EQ(frame.statusText(), "Schematic printed.");

  QPrinter printer;
  ChooseOrientation(ws, printer);
  EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape) << "the half adder is wide";
  EXPECT_TRUE(PrintFooter(ws, QDateTime(QDate(2026, 12, 7), QTime(9, 5))).endsWith("    2026-12-07 09:05"));
}

TEST_F(MainWindowTest, QuitWithoutChangesAsksOnlyWhetherToLeave) {
  frame.show();
  dialogs.answers = {false};
  frame.QuitMe();
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0], "Do you really leave me?");
  EXPECT_TRUE(frame.isVisible());
}

TEST_F(MainWindowTest, ZoomStepsBandsAndViewAll) {
  ws.view.world = Rect{0, 0, 700, 500};
  frame.toolButton("sbzoomin")->click();
  EXPECT_EQ(frame.mode(), kModeZoom);
  EXPECT_EQ(ws.view.world.x2 - ws.view.world.x1, 700);
  frame.toolButton("sbzoomin")->click();  // second press: one step, no band
  EXPECT_EQ(ws.view.world.x1, 100);
  EXPECT_EQ(ws.view.world.x2 - ws.view.world.x1, 500);

  // A click without dragging shows the 60 x 60 square around the point.
  frame.PointerPress(QPoint(100, 100), false);
  const int wx = ws.view.ScreenToWorldX(100), wy = ws.view.ScreenToWorldY(100);
  frame.PointerRelease(QPoint(100, 100));
  EXPECT_EQ(ws.view.world.x2 - ws.view.world.x1, 60);
  EXPECT_EQ(ws.view.world.x1, wx - 30);
  EXPECT_EQ(ws.view.world.y1, wy - 30);
  EXPECT_EQ(frame.mode(), kModeSelect);

  dialogs.files = {Example("half_adder.sch")};
  frame.DoOpenFile();
  const Rect fitted = ws.view.world;
  frame.action("mnuZoomOut")->trigger();
  EXPECT_NE(ws.view.world, fitted);
  frame.action("mnuViewAll")->trigger();
  EXPECT_EQ(ws.view.world, fitted);
  EXPECT_EQ(frame.statusText(), "View all the schema");
}

TEST_F(MainWindowTest, InsertUserSymbolPlacesOnReleaseAndRemembersTheLastSymbol) {
  const QString sym = QString::fromStdString((SourceRoot() / "IEEE" / "and2.SYM").string());
  dialogs.files = {sym};
  frame.action("mnuInsertSymbol")->trigger();
  EXPECT_EQ(frame.mode(), kModePlaceSymbol);
  EXPECT_EQ(dialogs.filters.back(), kSymbolFilter);
  EXPECT_TRUE(frame.action("mnuLastSymbol")->isVisible());
  EXPECT_EQ(frame.action("mnuLastSymbol")->text(), sym);
  const int before = ws.circuit.Symbols.Count();
  frame.PointerMove(QPoint(200, 200));
  frame.PointerPress(QPoint(200, 200), false);
  frame.PointerRelease(QPoint(200, 200));
  EXPECT_EQ(ws.circuit.Symbols.Count(), before + 1);
  EXPECT_EQ(frame.mode(), kModeSelect);

  frame.action("mnuLastSymbol")->trigger();
  EXPECT_EQ(frame.mode(), kModePlaceSymbol);
  EXPECT_EQ(frame.statusText(), "Insert recorded symbol...");
  frame.PointerPress(QPoint(300, 200), false);
  frame.PointerRelease(QPoint(300, 200));
  EXPECT_EQ(ws.circuit.Symbols.Count(), before + 2);
}

TEST_F(MainWindowTest, CommandLineForcesExtensionsAndLoadsTheDefaultTechnologyLast) {
  EXPECT_EQ(WithExtension("a", ".sch"), std::filesystem::path("a.sch"));
  EXPECT_EQ(WithExtension("dir/a.txt", ".tec"), std::filesystem::path("dir/a.tec"));
  Workspace ws2;
  Tmdiframe other(ws2, dialogs);
  const QString base = QString::fromStdString((SourceRoot() / "examples" / "half_adder").string());
  other.Startup(SourceRoot(), {base, "no_such_tech"});
  EXPECT_GT(ws2.circuit.Symbols.Count(), 0);
  EXPECT_EQ(other.windowTitle(), "Qiro2 - " + base + ".sch");
  EXPECT_EQ(other.statusText(), kWelcome);
}

TEST_F(MainWindowTest, SearchesHighlightPinsAndRejectBadNodes) {
  // A placed clock names its pin "clk1"; the typed name is trimmed and case-blind.
  dialogs.files = {QString::fromStdString((SourceRoot() / "IEEE" / "clock.SYM").string())};
  frame.InsertUserSymbol();
  frame.PointerPress(QPoint(200, 200), false);
  frame.PointerRelease(QPoint(200, 200));
  ASSERT_EQ(ws.circuit.Symbols.Count(), 1);
  dialogs.files = {QString(" CLK1 ")};
  frame.action("mnuSearchPin")->trigger();
  EXPECT_TRUE(frame.statusText().startsWith("Name \"clk1\"")) << frame.statusText().toStdString();
  EXPECT_EQ(ws.circuit.Symbols[1].Pin(1).State, kHighlight2);
  dialogs.files = {QString("0")};
  frame.action("mnuSearchNode")->trigger();
  EXPECT_TRUE(frame.statusText().startsWith("Node 0 invalid (")) << frame.statusText().toStdString();
}

TEST(UiPieces, FiltersKeepTheirDescriptions) {
  EXPECT_EQ(ToQtFilter(kSymbolFilter), "Symbols (*.SYM) (*.sym);;ALL FILE (*.*) (*.*)");
}

TEST(UiPieces, ConfirmWindowBlinksItsSecondLine) {
  TFormConfirm form("Warning: schematics modified.", "Save the schematics?");
  const bool before = form.secondLineGrey();
  form.Blink();
  EXPECT_NE(form.secondLineGrey(), before);
  EXPECT_NE(form.secondLine()->styleSheet(), "");
}

TEST(UiPieces, XorBandVanishesWhenDrawnTwice) {
  QImage img(64, 64, QImage::Format_RGB32);
  img.fill(Qt::black);
  const QImage before = img.copy();
  {
    QtCanvas c(img);
    c.SetPen(Pen{palette::kWhite, PenStyle::Solid, RasterOp::Xor, 1});
    c.Segment(2, 2, 60, 40);
  }
  EXPECT_NE(img, before);
  {
    QtCanvas c(img);
    c.SetPen(Pen{palette::kWhite, PenStyle::Solid, RasterOp::Xor, 1});
    c.Segment(2, 2, 60, 40);
  }
  EXPECT_EQ(img, before);
}

}  // namespace
}  // namespace qiro

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
