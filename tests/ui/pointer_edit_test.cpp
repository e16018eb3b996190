// Offscreen tests of editing with the pointer: synthetic mouse events on the drawing area.
#include "fake_dialogs.h"

namespace qiro {
namespace {

using namespace qiro::test;

class PointerEdit : public UiTest {
 protected:
  PointerEdit() {
    // Two pixels per unit, so every schematic point has its own pixel.
    ws.view.world = Rect{-50, -50, 350, 250};
    ws.view.area = PixelRect{0, 0, 800, 600};
    ws.view.FitView();
  }
  void Send(QEvent::Type type, int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    SendMouse(frame.drawing(), type, Screen(x, y), button);
  }
  // Press at a, a few moves towards b, release at b (schematic units).
  void Drag(int ax, int ay, int bx, int by, Qt::MouseButton button = Qt::LeftButton) {
    Send(QEvent::MouseButtonPress, ax, ay, button);
    for (int k = 1; k <= 5; ++k)
      Send(QEvent::MouseMove, ax + (bx - ax) * k / 5, ay + (by - ay) * k / 5, button);
    Send(QEvent::MouseButtonRelease, bx, by, button);
  }
  void Click(int x, int y) { Drag(x, y, x, y); }
  void Hover(int fromX, int toX, int y) {
    for (int x = fromX; x <= toX; x += 10) Send(QEvent::MouseMove, x, y, Qt::NoButton);
  }
  void Escape() {
    QKeyEvent e(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&frame, &e);
  }
  void Tool(const char* name) { frame.toolButton(name)->click(); }
  int Place(const char* library, int right, int bottom) {
    dialogs.files = {Q(SourceRoot() / "IEEE" / library)};
    frame.action("mnuInsertSymbol")->trigger();
    Click(right, bottom);
    return ws.circuit.Symbols.Count();
  }
  Wires LiveWires() const { return test::LiveWires(ws.circuit); }
};

TEST_F(PointerEdit, LinesDotsAndLabels) {
  Tool("sbline");
  Drag(0, 0, 100, 3);
  EXPECT_TRUE(LiveWires() == (Wires{{0, 0, 100, 0}}) && frame.mode() == kModeSelect);
  // The right button draws a line from any mode; ending on the wire's middle gives a dot.
  Tool("sbcopy");
  Drag(50, -40, 50, 0, Qt::RightButton);
  EXPECT_TRUE(Live(ws.circuit.Contacts) == 1 && ws.circuit.Contacts[1].X == 50 && ws.circuit.Modified);

  Tool("sbconnect");
  Click(201, 199);
  EXPECT_EQ(std::pair(ws.circuit.Contacts[2].X, ws.circuit.Contacts[2].Y), std::pair(200, 200));

  Tool("sbword");
  dialogs.files = {QString("hello")};
  Click(20, 40);
  ASSERT_EQ(ws.circuit.Labels.Count(), 1);
  EXPECT_EQ(std::tuple(ws.circuit.Labels[1].Text, ws.circuit.Labels[1].X, frame.mode()),
            std::tuple(std::string("hello"), 20, int(kModeSelect)));

  // A double click edits the label; a drag in select mode moves it.
  dialogs.files = {QString("bye")};
  Send(QEvent::MouseButtonDblClick, 22, 42);
  EXPECT_TRUE(dialogs.inputs.back() == "Enter label: hello" && ws.circuit.Labels[1].Text == "bye");
  Drag(22, 42, 32, 52);
  EXPECT_EQ(std::pair(ws.circuit.Labels[1].X, ws.circuit.Labels[1].Y), std::pair(30, 50));

  // Dragging a wire end in select mode.
  Drag(100, 0, 120, 1);
  EXPECT_EQ(LiveWires(), (Wires{{0, 0, 50, 0}, {50, -40, 50, 0}, {50, 0, 120, 0}}));
}

TEST_F(PointerEdit, DraggedSymbolTakesItsWiresAlong) {
  const int g = Place("and2.SYM", 150, 120);  // box (100, 100)-(150, 120)
  ASSERT_EQ(g, 1);
  EXPECT_EQ(std::pair(ws.circuit.Symbols[g].Pin(1).X, ws.circuit.Symbols[g].Pin(1).Y), std::pair(100, 105));
  Drag(40, 105, 100, 105, Qt::RightButton);  // into pin a
  Drag(125, 110, 145, 111);                  // grab the gate in select mode
  EXPECT_EQ(ws.circuit.Symbols[g].Pin(1).X, 120);
  EXPECT_TRUE(LiveWires() == (Wires{{40, 105, 120, 105}}) && frame.mode() == kModeSelect);

  // Hide Properties: a miss keeps the mode, a hit clears the texts.
  frame.action("mnuHideProps")->trigger();
  Click(0, 200);
  EXPECT_EQ(std::pair(frame.statusText(), frame.mode()),
            std::pair(QString("No symbol in this location, try again."), int(kModeHideProps)));
  Click(140, 110);
  EXPECT_EQ(std::pair(ws.circuit.Symbols[g].Vis, frame.mode()), std::pair(0, int(kModeSelect)));
}

TEST_F(PointerEdit, CutUndoMoveCopyAndPaste) {
  for (int y : {0, 100}) ws.circuit.AddWire(0, y, 40, y);
  frame.history().Reset(ws.circuit);  // the wires above were not drawn by the user
  Tool("sbclear");
  Drag(-10, -10, 50, 10);
  EXPECT_EQ(LiveWires(), (Wires{{0, 100, 40, 100}}));
  frame.action("mnuUndo")->trigger();
  EXPECT_EQ(LiveWires().size(), 2u);

  // Move: cut, then the clipboard follows the pointer and the press puts it down.
  Tool("sbMove");
  Drag(-10, -10, 50, 10);
  EXPECT_EQ(std::pair(frame.mode(), frame.statusText()),
            std::pair(int(kModePaste), QString("paste beginning...")));
  Hover(0, 100, 50);
  Send(QEvent::MouseButtonPress, 102, 52);
  Send(QEvent::MouseButtonRelease, 102, 52);
  EXPECT_TRUE(LiveWires() == (Wires{{0, 100, 40, 100}, {100, 50, 140, 50}}) && frame.mode() == kModeSelect);

  Tool("sbcopy");
  Drag(-10, 90, 50, 110);
  EXPECT_EQ(std::pair(frame.mode(), frame.statusText()),
            std::pair(int(kModeCopyPaste), QString("Copy beginning...")));
  Click(0, 200);
  EXPECT_EQ(LiveWires(), (Wires{{0, 100, 40, 100}, {100, 50, 140, 50}, {0, 200, 40, 200}}));
}

// Escape and Unselect All cancel a pending paste without adding or restoring anything (a
// pending move goes back where it was); the clipboard outlives an extraction.
TEST_F(PointerEdit, CancellingLeavesTheTablesAsBeforeAndTheClipboardStays) {
  ws.circuit.AddWire(0, 0, 40, 0);
  Tool("sbcopy");
  Drag(-10, -10, 50, 10);
  Escape();
  EXPECT_EQ(frame.mode(), kModeSelect);
  Click(100, 100);
  EXPECT_EQ(LiveWires(), (Wires{{0, 0, 40, 0}}));

  Tool("sbMove");
  Drag(-10, -10, 50, 10);
  Hover(0, 100, 50);
  frame.action("mnuUnselect")->trigger();
  EXPECT_EQ(LiveWires(), (Wires{{0, 0, 40, 0}}));

  Tool("sbclear");
  Drag(-10, -10, 50, 10);
  Escape();
  EXPECT_TRUE(LiveWires().empty());
  frame.action("mnuExtract")->trigger();
  frame.action("mnuPaste")->trigger();
  Click(0, 100);
  EXPECT_EQ(LiveWires(), (Wires{{0, 100, 40, 100}}));
}

// A press that moves less than a grid step is a click; a drag whose release went to a dialog
// ends with the next move, leaving no outline and moving nothing.
TEST_F(PointerEdit, SmallDragsAreClicksAndDragsEndWhenADialogTakesTheRelease) {
  ws.circuit.AddWire(0, 0, 100, 0);
  Drag(50, 0, 53, 2);
  EXPECT_EQ(LiveWires(), (Wires{{0, 0, 100, 0}}));
  Send(QEvent::MouseButtonPress, 50, 0);
  Send(QEvent::MouseMove, 50, 30);
  frame.action("mnuSearchNode")->trigger();
  Send(QEvent::MouseMove, 50, 40, Qt::NoButton);
  EXPECT_EQ(frame.drawing()->shown(), frame.drawing()->base());
  Send(QEvent::MouseButtonRelease, 50, 40);
  EXPECT_EQ(LiveWires(), (Wires{{0, 0, 100, 0}}));
}

TEST_F(PointerEdit, RotateAndFlipAreas) {
  ws.circuit.AddWire(0, 0, 10, 0);
  Tool("sbgright");
  Drag(-20, -20, 20, 20);
  EXPECT_EQ(LiveWires(), (Wires{{0, 0, 0, 10}}));
  Tool("sbgleft");
  Drag(-20, -20, 20, 20);
  EXPECT_EQ(LiveWires(), (Wires{{0, 0, 10, 0}}));
  frame.action("mnuFlip")->trigger();
  EXPECT_EQ(frame.mode(), kModeFlip);
  Drag(0, -5, 30, 5);
  EXPECT_TRUE(LiveWires() == (Wires{{30, 0, 20, 0}}) && frame.mode() == kModeSelect);
}

// Draws the half adder of the examples from an empty schematic, saves it and simulates it
// with the stimuli of the example's own check.
TEST_F(PointerEdit, HalfAdderDrawnWithThePointerSimulatesLikeTheExample) {
  const std::tuple<const char*, int, int> parts[] = {
      {"button.SYM", 30, 20},    // button1, pin (30, 10)
      {"button.SYM", 30, 100},   // button2, pin (30, 90)
      {"xor2.SYM", 150, 30},     // a (100, 15), b (100, 25), y (150, 20)
      {"and2.SYM", 150, 110},    // a (100, 95), b (100, 105), y (150, 100)
      {"light.SYM", 230, 30},    // light1, pin (200, 20)
      {"light.SYM", 230, 110}};  // light2, pin (200, 100)
  for (const auto& [library, right, bottom] : parts) Place(library, right, bottom);
  ASSERT_EQ(ws.circuit.Symbols.Count(), 6);
  // The first wire goes between two symbols: three wires via x = 65; the second makes a T on it.
  const std::array<int, 4> wires[] = {{30, 10, 100, 15},  {50, 10, 50, 95},    {50, 95, 100, 95},
                                      {30, 90, 100, 105}, {40, 90, 40, 25},    {40, 25, 100, 25},
                                      {150, 20, 200, 20}, {150, 100, 200, 100}};
  for (const auto& [x1, y1, x2, y2] : wires) Drag(x1, y1, x2, y2, Qt::RightButton);
  EXPECT_EQ(Live(ws.circuit.Contacts), 2);

  const auto path = tmp / "drawn.sch";
  dialogs.files = {Q(path)};
  frame.action("mnusave")->trigger();
  ASSERT_TRUE(std::filesystem::exists(path) && !ws.circuit.Modified);

  const auto r = RunCli("simulate '" + path.string() +
                        "' --until 80 --expect out1=0@18 --expect out2=0@18"
                        " --toggle button1@20 --expect out1=1@38 --expect out2=0@38"
                        " --toggle button2@40 --expect out1=0@58 --expect out2=1@58"
                        " --toggle button1@60 --expect out1=1@78 --expect out2=0@78");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("step 80\nlight out1=1\nlight out2=0\n"), std::string::npos) << r.out;
}

TEST_F(PointerEdit, UndoAndRedoThroughTheEditMenuNameTheAction) {
  QAction* undo = frame.action("mnuUndo");
  QAction* redo = frame.action("mnuRedo");
  const auto names = [&] { return undo->text() + " | " + redo->text(); };
  EXPECT_TRUE(!undo->isEnabled() && redo->shortcuts().value(1) == QKeySequence("Ctrl+Shift+Z"));
  const int g = Place("and2.SYM", 150, 120);  // pin a at (100, 105)
  Drag(40, 105, 100, 105, Qt::RightButton);
  Drag(125, 110, 125, 131);  // the gate goes down 20: its wire bends into an L
  const Wires moved = LiveWires();
  EXPECT_EQ(moved, (Wires{{40, 105, 40, 125}, {40, 125, 100, 125}}));
  EXPECT_EQ(undo->text(), "&Undo Move");
  undo->trigger();
  EXPECT_TRUE(LiveWires() == (Wires{{40, 105, 100, 105}}) && ws.circuit.Symbols[g].Pin(1).Y == 105);
  EXPECT_EQ(names(), "&Undo Wire | &Redo Move");
  redo->trigger();
  EXPECT_EQ(LiveWires(), moved);
  undo->trigger();
  undo->trigger();
  EXPECT_TRUE(LiveWires().empty());

  Tool("sbcopy");  // copy the gate and put the copy down elsewhere
  Drag(90, 90, 160, 130);
  Click(150, 200);
  EXPECT_TRUE(Live(ws.circuit.Symbols) == 2 && undo->text() == "&Undo Paste");
  ws.engine.Running = true;  // no undo while a simulation runs
  undo->trigger();
  EXPECT_EQ(Live(ws.circuit.Symbols), 2);
  ws.engine.Running = false;
  undo->trigger();  // copying alone leaves the tables as they were: one step takes the copy away
  EXPECT_EQ(ws.circuit.Symbols.Count(), 1);
  EXPECT_EQ(names(), "&Undo Place Symbol | &Redo Paste");
}

}  // namespace
}  // namespace qiro
