#include "editor/wire_route.h"

#include "core/editor/edit_fixture.h"
#include "model/wire_cleanup.h"

namespace qiro {
namespace {

using namespace test;
using WireRoute = EditTest;

TEST_F(WireRoute, SlantedDragBetweenTwoSymbolsTurnsAtTheMiddle) {
  AddSymbol("a", {0, 0, 30, 20}, {{30, 10}});
  AddSymbol("b", {100, 40, 130, 60}, {{100, 50}});
  AddWireFromDrag(ws, 30, 10, 100, 50);
  // xm = snap(130 / 2) = 65
  EXPECT_EQ(LiveWires(), (Wires{{30, 10, 65, 10}, {65, 10, 65, 50}, {65, 50, 100, 50}}));
}

TEST_F(WireRoute, DotsMarkTeesAndThreeWayMeetings) {
  ws.circuit.AddWire(0, 50, 100, 50);
  AddWireFromDrag(ws, 40, 0, 40, 50);  // ends on the middle of the horizontal wire
  EXPECT_EQ(LiveContacts(), (Points{{40, 50}}));
  AddWireFromDrag(ws, 40, 50, 40, 80);  // the same point again: no second dot
  EXPECT_EQ(LiveContacts(), (Points{{40, 50}}));

  AddWires({{200, 0, 200, 30}, {200, 30, 230, 30}});
  AddWireFromDrag(ws, 170, 30, 200, 30);  // three wire ends meet
  EXPECT_EQ(LiveContacts().back(), std::make_pair(200, 30));

  ws.circuit.AddWire(300, 20, 300, 60);
  AddWireFromDrag(ws, 280, 40, 300, 40);  // the new wire ends on a vertical one
  EXPECT_EQ(LiveContacts().back(), std::make_pair(300, 40));
  ws.circuit.AddWire(350, 100, 350, 150);
  AddWireFromDrag(ws, 320, 100, 380, 100);  // an existing wire ends on the new one
  EXPECT_TRUE(LiveContacts().back() == std::make_pair(350, 100) && LiveContacts().size() == 4u);
}

}  // namespace
}  // namespace qiro
