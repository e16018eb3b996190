#include "editor/edit_ops.h"

#include "core/editor/edit_fixture.h"
#include "editor/hit_test.h"

namespace qiro {
namespace {

using namespace test;
using EditOps = EditTest;

TEST_F(EditOps, ABandInsideOneSymbolTurnsThatSymbolAlone) {
  const int big = AddSymbol("big", {0, 0, 100, 100}, {{0, 50}});
  const int small = AddSymbol("small", {200, 0, 220, 20}, {{200, 10}});
  ws.circuit.Symbols[big].Rec = Rect{10, 10, 40, 20};
  RotateRight(ws, 48, 48, 52, 52);  // centre (50, 50)
  const TSymbol& s = ws.circuit.Symbols[big];
  EXPECT_EQ(std::pair(s.BBox, s.Rec),
            std::pair(Rect{0, 0, 100, 100}, Rect{80, 10, 90, 40}));  // corners normalised
  EXPECT_EQ(std::pair(s.Pin(1).X, s.Pin(1).Y), std::pair(50, 0));
  EXPECT_EQ(s.InnerLines[1], (TInnerLine{100, 0, 0, 100}));
  EXPECT_TRUE(ws.circuit.Symbols[small].Pin(1).X == 200 && ws.circuit.Modified);

  // Rotating (10, 0) right about (0, 0) gives (0, 10); a wire reaching outside the band stays.
  AddWires({{0, 0, 10, 0}, {0, 300, 10, 300}});
  RotateRight(ws, -20, -20, 20, 20);
  EXPECT_EQ(LiveWires(), (Wires{{0, 0, 0, 10}, {0, 300, 10, 300}}));
  FlipArea(ws, 0, 290, 5, 310);
  EXPECT_EQ(LiveWires(), (Wires{{0, 0, 0, 10}, {0, 300, 10, 300}}));
}

TEST_F(EditOps, DraggedSymbolTakesItsWiresAlongWhileTheyStayStraight) {
  Circuit& c = ws.circuit;
  ws.settings.KeepWiresConnected = false;
  const int g = AddSymbol("and2", {50, 20, 90, 50}, {{50, 30}, {90, 35}, {50, 45}});
  c.AddWire(0, 30, 50, 30);           // horizontal into pin 1: follows
  c.AddWire(90, 35, 90, 100);         // vertical from pin 2: would slant, stays
  c.AddWire(120, 35, 90, 35);         // horizontal into pin 2: follows
  c.AddWire(50, 30, 50, 45);          // between two of its pins: moves whole
  c.Wires[3].State = kHighlight2;     // a net view's highlight does not leave it behind
  MoveSymbol(ws, g, 71, 33, 76, 34);  // snapped (70, 35) -> (75, 35)
  EXPECT_EQ(std::pair(c.Symbols[g].Pin(1).X, c.Symbols[g].TitleX), std::pair(55, 5));
  EXPECT_TRUE(c.Symbols[g].BBox == (Rect{55, 20, 95, 50}) &&
              c.Symbols[g].InnerLines[1] == (TInnerLine{55, 20, 95, 50}));
  EXPECT_EQ(LiveWires(), (Wires{{0, 30, 55, 30}, {90, 35, 90, 100}, {120, 35, 95, 35}, {55, 30, 55, 45}}));
  MoveSymbol(ws, g, 75, 35, 75, 60);  // now every wire would slant or stays whole
  EXPECT_EQ(LiveWires(), (Wires{{0, 30, 55, 30}, {90, 35, 90, 100}, {120, 35, 95, 35}, {55, 55, 55, 70}}));
  c.Modified = false;
  MoveSymbol(ws, g, 70, 35, 72, 36);  // snapped offset zero
  EXPECT_FALSE(c.Modified);
}

TEST_F(EditOps, WireEndsAndWholeWiresMoveOnTheGrid) {
  Circuit& c = ws.circuit;
  AddWires({{0, 0, 50, 0}, {100, 0, 100, 50}});
  MoveWireEnd(ws, 1, kWireEnd2, 50, 0, 61, 2);
  EXPECT_EQ(LiveWires(), (Wires{{0, 0, 60, 0}, {100, 0, 100, 50}}));
  MoveWireEnd(ws, 2, kWireVertical, 100, 20, 90, 41);  // whole wire by (-10, 20)
  EXPECT_EQ(LiveWires(), (Wires{{0, 0, 60, 0}, {90, 20, 90, 70}}));
  c.Modified = false;
  MoveWireEnd(ws, 1, kWireEnd1, 0, 0, 60, 0);  // onto the other end: refused
  EXPECT_TRUE(!c.Modified && LiveWires().front() == std::make_tuple(0, 0, 60, 0));
  // Dropped on the middle of another wire: the junction gets a dot.
  MoveWireEnd(ws, 1, kWireEnd2, 60, 0, 90, 40);
  EXPECT_EQ(LiveContacts(), (Points{{90, 40}}));
}

TEST_F(EditOps, DotsSnapOnlyOnAFineGridAndLabelsKeep128Characters) {
  AddContactAt(ws, 12, 18);
  ws.view.gridStep = 2;
  AddContactAt(ws, 12, 18);
  EXPECT_EQ(LiveContacts(), (Points{{10, 20}, {12, 18}}));
  AddOrEditLabel(ws, 101, 103, "first");
  AddOrEditLabel(ws, 110, 105, std::string(200, 'z'));  // on the label: rewrites it
  EXPECT_EQ(std::pair(ws.circuit.Labels.Count(), ws.circuit.Labels[1].Text.size()),
            std::pair(1, std::size_t(128)));
}

}  // namespace
}  // namespace qiro
