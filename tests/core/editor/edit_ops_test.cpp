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

  // Flipping mirrors x about the band's centre: the small symbol's pin goes from its left to its right.
  FlipArea(ws, 190, -10, 230, 30);  // centre x 210
  EXPECT_EQ(std::pair(ws.circuit.Symbols[small].Pin(1).X, ws.circuit.Symbols[small].BBox),
            std::pair(220, Rect{200, 0, 220, 20}));
}

}  // namespace
}  // namespace qiro
