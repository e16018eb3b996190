#include "editor/edit_ops.h"

#include "core/editor/edit_fixture.h"
#include "editor/hit_test.h"

namespace qiro {
namespace {

using namespace test;
using EditOps = EditTest;

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

}  // namespace
}  // namespace qiro
