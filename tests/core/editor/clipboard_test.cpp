#include "editor/clipboard.h"

#include "core/editor/edit_fixture.h"
#include "editor/edit_ops.h"

namespace qiro {
namespace {

using namespace test;

class Clipboard : public EditTest {
 protected:
  // Two wires, a dot, a label and a gate in the area (0, 0)-(100, 100); one wire outside.
  void Build() {
    Circuit& c = ws.circuit;
    AddWires({{10, 10, 40, 10}, {40, 10, 40, 60}, {200, 10, 300, 10}});
    c.AddContact(40, 10);
    c.AddText(20, 80, "note");
    gate = AddSymbol("and2", {50, 20, 90, 50}, {{50, 30}, {90, 35}});
  }
  int gate = 0;
};

TEST_F(Clipboard, CutMarksTheAreaAndUndoBringsItBack) {
  Build();
  EXPECT_EQ(CutArea(ws, 100, 100, 0, 0), 5);
  EXPECT_TRUE(LiveWires() == (Wires{{200, 10, 300, 10}}) && LiveCounts() == "w1 s0 c0 l0");
  EXPECT_EQ(std::pair(ws.editor.refX, ws.editor.refY), std::pair(10, 9));  // the clipboard's upper-left
  UndoCut(ws);
  EXPECT_EQ(LiveCounts(), "w3 s1 c1 l1");
}

TEST_F(Clipboard, CopyChangesNothingUntilPastedAndCancellingNeverRestoresACut) {
  Build();
  ws.circuit.Modified = false;
  EXPECT_EQ(CopyArea(ws, 0, 0, 100, 100), 5);
  ResetHighlight(ws);  // Escape, Unselect All
  EXPECT_TRUE(LiveCounts() == "w3 s1 c1 l1" && !ws.circuit.Modified);
  MoveClipboard(ws, 10, 209);
  PasteClipboard(ws);
  EXPECT_EQ(Live(ws.circuit.Symbols), 2);
  EXPECT_EQ(LiveWires().back(), std::make_tuple(40, 210, 40, 260));

  CutArea(ws, 0, 0, 100, 100);
  ResetHighlight(ws);
  EXPECT_EQ(Live(ws.circuit.Symbols), 1);  // only the pasted gate, below the band
}

// A device keeps its names when moved; a copy is named like a new device from the palette.
TEST_F(Clipboard, MovedDevicesKeepTheirNamesAndCopiesTakeFreshOnes) {
  const int b = AddSymbol("button1", {0, 0, 30, 20}, {{30, 10}}, 59);
  ws.circuit.Symbols[b].Pin(1).Name = "in1";
  AddSymbol("kbd1", {100, 0, 140, 40}, {{140, 5}, {140, 10}, {140, 15}, {140, 20}, {140, 25}}, 85);
  AddSymbol("dreg", {200, 0, 240, 40}, {{240, 5}}, 860);
  ws.circuit.Symbols[3].Title = "dreg1";
  ws.circuit.CounterOf(Counter::Kbd) = 1;

  CopyArea(ws, 0, 0, 250, 50);
  MoveClipboard(ws, 0, 300);
  PasteClipboard(ws);
  const Circuit& c = ws.circuit;
  ASSERT_EQ(c.Symbols.Count(), 6);
  // The originals keep their names; button1 is taken, so the counter goes on.
  EXPECT_EQ(c.Symbols[b].Name + c.Symbols[b].Pin(1).Name, "button1in1");
  EXPECT_EQ(c.Symbols[4].Name + c.Symbols[4].Pin(1).Name + " " + c.Symbols[5].Name +
                c.Symbols[5].Pin(4).Name + " " + c.Symbols[6].Title,
            "button2in2 kbd2kbd24 dreg2");

  // Move: cut, follow the pointer, put down; Escape instead puts it back where it was.
  CutAreaForMove(ws, -1, -1, 31, 21);
  MoveClipboard(ws, 0, 100);
  PasteClipboard(ws);
  EXPECT_EQ(c.Symbols[c.Symbols.Count()].Name + std::to_string(c.Symbols[c.Symbols.Count()].BBox.y1),
            "button1100");
  MoveClipboard(ws, 0, 200);
  PasteClipboard(ws);  // a second paste is a copy
  EXPECT_EQ(c.Symbols[c.Symbols.Count()].Name, "button3");
  const int before = Live(c.Symbols);
  EXPECT_FALSE(CancelMove(ws));
  CutAreaForMove(ws, -1, 99, 31, 121);
  MoveClipboard(ws, 300, 300);
  EXPECT_TRUE(CancelMove(ws));
  EXPECT_EQ(Live(c.Symbols), before);
  EXPECT_TRUE(c.Symbols[c.Symbols.Count()].BBox == (Rect{0, 100, 30, 120}) &&
              c.Symbols[c.Symbols.Count()].Name == "button1");
}

TEST_F(Clipboard, PastingAnEmptyClipboardOrIntoAFullTableReportsIt) {
  PasteClipboard(ws);
  EXPECT_EQ(host.errors, std::vector<std::string>{"Cut first ,then copy."});
  Build();
  CutArea(ws, 0, 0, 100, 100);
  while (!ws.circuit.Wires.Full()) ws.circuit.AddWire(0, 500, 5, 500);
  PasteClipboard(ws);
  EXPECT_EQ(host.errors.back(), "Too many lines.");
  // The paste stopped at the first failure.
  EXPECT_EQ(std::pair(ws.circuit.ErrorCode, Live(ws.circuit.Symbols)), std::pair(0, 0));
}

}  // namespace
}  // namespace qiro
