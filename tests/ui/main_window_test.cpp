// Offscreen tests of the main window: its commands, modes, file flows and view control.
#include <cstdlib>
#include <filesystem>

#include "fake_dialogs.h"
#include "help_window.h"
#include "print_schema.h"
#include "qt_canvas.h"

namespace qiro {
namespace {
using namespace qiro::test;
using MainWindowTest = UiTest;
using Choice = UiDialogs::SaveChoice;

// Mode commands set the mode, its status and the pressed tool; a right-button press switches
// any mode to line drawing.
TEST_F(MainWindowTest, ModeCommandsSetModeStatusAndToolAndTheRightButtonDrawsLines) {
  frame.toolButton("sbgleft")->click();
  EXPECT_EQ(frame.statusText(), "Please selete a part to rotate to left");
  frame.action("mnuMove")->trigger();
  EXPECT_EQ(std::pair(frame.mode(), frame.moveFlag()), std::pair(int(kModeCut), true));
  frame.toolButton("sbline")->click();
  EXPECT_EQ(std::tuple(frame.mode(), frame.statusText(), frame.toolButton("sbline")->isChecked()),
            std::tuple(int(kModeLine), QString("Draw line"), true));
  frame.toolButton("sbcopy")->click();
  frame.PointerPress(QPoint(50, 50), true);
  EXPECT_EQ(frame.mode(), kModeLine);
  frame.PointerRelease(QPoint(60, 60));
  frame.ResetTools();
  EXPECT_TRUE(frame.mode() == kModeSelect && frame.toolButton("sbselect")->isChecked());
}

// Open fits and names the file; a file that is no schematic leaves the open one, its name and
// the caption as they were, and a later Save names the file it writes; New asks about changes.
TEST_F(MainWindowTest, OpenSaveAndNewNameTheFileAndAFailedOpenKeepsTheSchematic) {
  dialogs.files = {Example("half_adder.sch")};
  frame.action("mnuread")->trigger();
  EXPECT_GT(ws.circuit.Symbols.Count(), 0);
  EXPECT_EQ(std::pair(frame.windowTitle(), dialogs.filters.back()),
            std::pair("Qiro2 - " + Example("half_adder.sch"), QString(kSchematicFilter)));
  const auto copy = tmp / "copy.sch";
  ws.circuit.FileName = copy.string();
  WriteFile(tmp / "x.png", "\x89PNG\r\n");
  Open(Q(tmp / "x.png"));
  EXPECT_EQ(frame.lastMessage(), "Format error in " + Q(tmp / "x.png"));
  EXPECT_TRUE(ws.circuit.FileName == copy.string() && ws.circuit.Symbols.Count() > 0);
  frame.action("mnuwrite")->trigger();
  EXPECT_EQ(frame.windowTitle(), "Qiro2 - " + Q(copy));
  ws.circuit.Modified = true;
  frame.action("mnunew")->trigger();  // answered No: nothing saved
  EXPECT_EQ(dialogs.asked, std::vector<QString>{"Warning: schematics modified."});
  EXPECT_TRUE(ws.circuit.Symbols.Count() == 0 && frame.windowTitle() == "Qiro2 - example");
}

// Save of an untitled drawing goes through Save As, which asks before overwriting a file;
// once named, Save asks nothing.
TEST_F(MainWindowTest, SaveOfAnUntitledDrawingGoesThroughSaveAsWhichAsksBeforeOverwriting) {
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(tmp.path());  // where a stray example.sch would land
  const auto target = tmp / "copy.sch";
  WriteFile(target, "old");
  dialogs.files = {std::nullopt, Q(target), Q(target)};
  dialogs.answers = {false, true};
  frame.action("mnuwrite")->trigger();
  EXPECT_EQ(dialogs.proposals, std::vector<QString>{"example.sch"});
  EXPECT_FALSE(std::filesystem::exists(tmp / "example.sch"));
  frame.action("mnuwrite")->trigger();
  EXPECT_EQ(dialogs.asked, std::vector<QString>{"Warning: This file already exist. Will you overwrite it?"});
  EXPECT_EQ(ReadFile(target), "old");
  frame.action("mnuwrite")->trigger();
  EXPECT_TRUE(ReadFile(target) != "old" && frame.windowTitle() == "Qiro2 - " + Q(target));
  frame.action("mnuwrite")->trigger();  // named now: saved without a dialog
  EXPECT_EQ(dialogs.proposals.size(), 3u);
  std::filesystem::current_path(cwd);
}

// Leaving asks only whether to leave when nothing changed. Cancel in the save question calls
// off New, Open, Leave and closing, and keeps the drawing; a save that fails on close keeps the
// window open, declining it lets the window close.
TEST_F(MainWindowTest, QuitCloseAndCancelInTheSaveQuestionKeepTheWindowAndTheDrawing) {
  frame.show();
  frame.QuitMe();
  EXPECT_TRUE(dialogs.asked == std::vector<QString>{"Do you really leave me?"} && frame.isVisible());
  Open(Example("half_adder.sch"));
  const int symbols = ws.circuit.Symbols.Count();
  ws.circuit.Modified = true;
  dialogs.saveChoices = {Choice::Cancel, Choice::Cancel, Choice::Cancel, Choice::Cancel};
  dialogs.files = {Example("counter.sch")};
  frame.action("mnunew")->trigger();
  frame.action("mnuread")->trigger();
  frame.QuitMe();
  EXPECT_TRUE(!frame.close() && frame.isVisible());
  // Leave asks nothing more after a Cancel, Open shows no file dialog.
  EXPECT_EQ(std::pair(dialogs.asked.size(), dialogs.filters.size()),
            std::pair(std::size_t(5), std::size_t(1)));
  EXPECT_TRUE(ws.circuit.Symbols.Count() == symbols && ws.circuit.Modified &&
              frame.windowTitle() == "Qiro2 - " + Example("half_adder.sch"));
  ws.circuit.FileName = (tmp / "no_such_dir" / "x.sch").string();
  dialogs.answers = {true, false};  // yes, save: fails; then no
  EXPECT_TRUE(!frame.close() && frame.isVisible());
  EXPECT_TRUE(frame.close() && dialogs.asked.size() == 7u);
}

TEST_F(MainWindowTest, HelpOpensInItsOwnWindowWithLinksAndSearch) {
  frame.action("mnuContents")->trigger();
  THelpWindow* help = frame.helpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible() && help->browser()->toPlainText().contains("Simulat"));
  const int top = help->browser()->verticalScrollBar()->value();
  help->browser()->setSource(QUrl("#cli"));  // an internal link, far down the page
  EXPECT_GT(help->browser()->verticalScrollBar()->value(), top);
  EXPECT_TRUE(help->FindText("timing") && help->browser()->textCursor().hasSelection());
  EXPECT_TRUE(!help->FindText("no such words here") && help->searchResult()->text() == "Not found");
  ws.SetHomeDir(tmp.path());  // no help page there
  frame.action("mnuContents")->trigger();
  EXPECT_EQ(frame.statusText(), "File \"Html/index.html\" not found.");
}

// The print goes through the renderer to the printer (here a PDF file); a cancelled preview
// leaves the window as it was.
TEST_F(MainWindowTest, PrintDrawsTheSchematicAndCancelKeepsTheView) {
  frame.show();
  Open(Example("half_adder.sch"));
  frame.action("mnuprn")->trigger();
  EXPECT_TRUE(dialogs.prints == 1 && frame.mode() == kModeSelect && !ws.view.printing);
  EXPECT_TRUE(frame.findChild<QScrollBar*>("LfRgBar")->isVisible());
  dialogs.printTo = Q(tmp / "half_adder.pdf");
  frame.action("mnuprn")->trigger();
  const std::string text = ReadFile(tmp / "half_adder.pdf");
  EXPECT_TRUE(text.rfind("%PDF", 0) == 0 && text.size() > 2000u);
  EXPECT_EQ(frame.statusText(), "Schematic printed.");
  QPrinter printer;
  ChooseOrientation(ws, printer);
  EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape) << "the half adder is wide";
  EXPECT_TRUE(PrintFooter(ws, QDateTime(QDate(2026, 12, 7), QTime(9, 5))).endsWith("    2026-12-07 09:05"));
}

TEST_F(MainWindowTest, ZoomStepsBandsAndViewAll) {
  ws.view.world = Rect{0, 0, 700, 500};
  frame.toolButton("sbzoomin")->click();
  EXPECT_TRUE(frame.mode() == kModeZoom && ws.view.world.x2 - ws.view.world.x1 == 700);
  frame.toolButton("sbzoomin")->click();  // second press: one step, no band
  EXPECT_EQ(std::pair(ws.view.world.x1, ws.view.world.x2), std::pair(100, 600));
  // A click without dragging shows the 60 x 60 square around the point.
  frame.PointerPress(QPoint(100, 100), false);
  const int wx = ws.view.ScreenToWorldX(100), wy = ws.view.ScreenToWorldY(100);
  frame.PointerRelease(QPoint(100, 100));
  EXPECT_TRUE(ws.view.world == (Rect{wx - 30, wy - 30, wx + 30, ws.view.world.y2}) &&
              frame.mode() == kModeSelect);
  Open(Example("half_adder.sch"));
  const Rect fitted = ws.view.world;
  frame.action("mnuZoomOut")->trigger();
  EXPECT_NE(ws.view.world, fitted);
  frame.action("mnuViewAll")->trigger();
  EXPECT_TRUE(ws.view.world == fitted && frame.statusText() == "View all the schema");
}

TEST_F(MainWindowTest, InsertUserSymbolPlacesOnReleaseAndRemembersTheLastSymbol) {
  const QString sym = Q(SourceRoot() / "IEEE" / "and2.SYM");
  EXPECT_FALSE(frame.action("mnuLastSymbol")->isVisible());
  dialogs.files = {sym};
  frame.action("mnuInsertSymbol")->trigger();
  EXPECT_TRUE(frame.mode() == kModePlaceSymbol && dialogs.filters.back() == kSymbolFilter);
  EXPECT_EQ(ToQtFilter(kSymbolFilter), "Symbols (*.SYM) (*.sym);;ALL FILE (*.*) (*.*)");
  EXPECT_TRUE(frame.action("mnuLastSymbol")->isVisible() && frame.action("mnuLastSymbol")->text() == sym);
  frame.PointerMove(QPoint(200, 200));
  frame.PointerPress(QPoint(200, 200), false);
  frame.PointerRelease(QPoint(200, 200));
  EXPECT_EQ(std::pair(ws.circuit.Symbols.Count(), frame.mode()), std::pair(1, int(kModeSelect)));
  frame.action("mnuLastSymbol")->trigger();
  EXPECT_TRUE(frame.mode() == kModePlaceSymbol && frame.statusText() == "Insert recorded symbol...");
  frame.PointerPress(QPoint(300, 200), false);
  frame.PointerRelease(QPoint(300, 200));
  EXPECT_EQ(ws.circuit.Symbols.Count(), 2);
}

TEST_F(MainWindowTest, CommandLineForcesExtensionsAndLoadsTheDefaultTechnologyLast) {
  EXPECT_EQ(WithExtension("a", ".sch"), std::filesystem::path("a.sch"));
  EXPECT_EQ(WithExtension("dir/a.txt", ".tec"), std::filesystem::path("dir/a.tec"));
  Workspace ws2;
  Tmdiframe other(ws2, dialogs);
  const QString base = Q(SourceRoot() / "examples" / "half_adder");
  other.Startup(SourceRoot(), {base, "no_such_tech"});
  EXPECT_GT(ws2.circuit.Symbols.Count(), 0);
  EXPECT_EQ(std::pair(other.windowTitle(), other.statusText()),
            std::pair("Qiro2 - " + base + ".sch", QString(kWelcome)));
  EXPECT_EQ(ws2.settings.SymbolDir, SourceRoot() / "IEEE");
}

TEST_F(MainWindowTest, SearchesHighlightPinsAndRejectBadNodes) {
  // A placed clock names its pin "clk1"; the typed name is trimmed and case-blind.
  dialogs.files = {Q(SourceRoot() / "IEEE" / "clock.SYM"), QString(" CLK1 "), QString("0")};
  frame.InsertUserSymbol();
  frame.PointerPress(QPoint(200, 200), false);
  frame.PointerRelease(QPoint(200, 200));
  ASSERT_EQ(ws.circuit.Symbols.Count(), 1);
  frame.action("mnuSearchPin")->trigger();
  EXPECT_TRUE(frame.statusText().startsWith("Name \"clk1\"")) << frame.statusText().toStdString();
  EXPECT_EQ(ws.circuit.Symbols[1].Pin(1).State, kHighlight2);
  frame.action("mnuSearchNode")->trigger();
  EXPECT_TRUE(frame.statusText().startsWith("Node 0 invalid (")) << frame.statusText().toStdString();
}

}  // namespace
}  // namespace qiro

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
