#include "model/wire_cleanup.h"

#include "core/editor/edit_fixture.h"

namespace qiro {
namespace {

using test::Wires;
using WireCleanup = test::EditTest;

TEST_F(WireCleanup, MergesCollinearTouchingWiresButNotAcrossADot) {
  Circuit& c = ws.circuit;
  // The second reversed, touching end to end; the last two a corner, not collinear.
  AddWires({{0, 0, 20, 0},
            {40, 0, 20, 0},
            {50, 10, 50, 30},
            {50, 30, 50, 60},
            {100, 0, 120, 0},
            {120, 0, 140, 0},
            {200, 0, 220, 0},
            {220, 0, 220, 20}});
  c.AddContact(120, 0);
  EXPECT_EQ(CleanWires(ws), 2);
  EXPECT_EQ(LiveWires(), (Wires{{0, 0, 40, 0},
                                {50, 10, 50, 60},
                                {100, 0, 120, 0},
                                {120, 0, 140, 0},
                                {200, 0, 220, 0},
                                {220, 0, 220, 20}}));
  EXPECT_EQ(CleanWires(ws), 0);
}

TEST_F(WireCleanup, OverlappingHorizontalWiresAreCutBackWithoutLosingAStretch) {
  Circuit& c = ws.circuit;
  // The second overlaps the right half of the first; the fourth holds the third; a duplicate.
  AddWires({{0, 0, 50, 0},
            {30, 0, 80, 0},
            {10, 10, 40, 10},
            {0, 10, 60, 10},
            {100, 20, 120, 20},
            {100, 20, 120, 20}});
  c.AddContact(100, 20);
  c.AddContact(120, 20);
  CleanWires(ws);
  // The first pair is cut back to touch, then the touching pair merges.
  EXPECT_EQ(LiveWires(), (Wires{{0, 0, 80, 0}, {0, 10, 60, 10}, {100, 20, 120, 20}}));
}

}  // namespace
}  // namespace qiro
