#include "editor/hit_test.h"

#include "core/editor/edit_fixture.h"

namespace qiro {
namespace {

class HitTest : public test::EditTest {
 protected:
  int AddBox(Rect box) {
    int s = ws.circuit.AddSymbol("and2");
    ws.circuit.Symbols[s].BBox = box;
    return s;
  }
};

TEST_F(HitTest, WirePartsInOrderWithTheGridTolerance) {
  ws.view.gridStep = 5;
  int h = ws.circuit.AddWire(0, 100, 200, 100);
  int v = ws.circuit.AddWire(300, 0, 300, 200);
  int s = ws.circuit.AddWire(0, 0, 100, 50);
  // The sloped wire's y at x = 50 is 25.
  for (auto [x, y, wire, part] : {std::tuple{4, 96, h, kWireEnd1},
                                  {196, 104, h, kWireEnd2},
                                  {100, 105, h, kWireHorizontal},
                                  {100, 106, 0, kWireNone},
                                  {295, 100, v, kWireVertical},
                                  {300, 206, 0, kWireNone},
                                  {50, 27, s, kWireSloped},
                                  {50, 28, 0, kWireNone},
                                  {120, 60, 0, kWireNone}}) {  // on the line, past the end
    const WireHit hit = WireAt(ws, x, y);
    EXPECT_EQ(std::pair(hit.wire, hit.part), (std::pair<int, int>(wire, part))) << x << "," << y;
  }
  ws.view.gridStep = 25;  // zoomed out: a wider catch
  EXPECT_EQ(WireAt(ws, 100, 125).part, kWireHorizontal);
  const int flat = ws.circuit.AddWire(400, 0, 500, 2);  // a point near its line but above its box
  EXPECT_EQ(std::pair(WireAt(ws, 450, 1).wire, WireAt(ws, 450, 3).wire), std::pair(flat, 0));

  int crossing = ws.circuit.AddWire(100, 0, 100, 200);
  EXPECT_EQ(WireAt(ws, 100, 100).wire, crossing);
  EXPECT_EQ(std::tuple(WireNear(ws, h, 100, 103), WireNear(ws, h, 100, 104), WireNear(ws, 99, 0, 0)),
            std::tuple(kWireHorizontal, kWireNone, kWireNone));
}

TEST_F(HitTest, PinsAndWiresOnPins) {
  int a = AddBox({0, 0, 50, 50});
  ws.circuit.AddPin(a, 50, 20, 'O', "Y", 0, 0, ws.tech);
  int b = AddBox({51, 0, 100, 50});
  ws.circuit.AddPin(b, 50, 20, 'I', "A", 0, 0, ws.tech);
  ws.circuit.AddPin(b, 51, 21, 'I', "B", 0, 0, ws.tech);
  ws.circuit.Symbols[a].Pins[1].Node = 7;
  // The later symbol wins, then its later pin.
  for (auto [x, y, symbol, pin, node] :
       {std::tuple{51, 20, b, 2, -1}, {48, 20, 0, 0, -1}, {49, 20, a, 1, 7}, {50, 60, 0, 0, -1}}) {
    const PinHit hit = PinAt(ws, x, y);
    EXPECT_EQ(std::tuple(hit.symbol, hit.pin, hit.node), std::tuple(symbol, pin, node)) << x << "," << y;
  }

  int w1 = ws.circuit.AddWire(50, 20, 80, 20);
  int w2 = ws.circuit.AddWire(80, 40, 50, 20);
  int w3 = ws.circuit.AddWire(50, 0, 50, 40);
  int w4 = ws.circuit.AddWire(60, 30, 70, 30);
  EXPECT_EQ(std::vector<int>({WireOnPin(ws, a, 1, w1), WireOnPin(ws, a, 1, w2), WireOnPin(ws, a, 1, w3),
                              WireOnPin(ws, a, 1, w4), WireOnPin(ws, a, 9, w1)}),
            std::vector<int>({kWireEnd1, kWireEnd2, kWireVertical, kWireNone, kWireNone}));
  EXPECT_EQ(std::pair(ws.circuit.Wires[w1].EndFlags, ws.circuit.Wires[w2].EndFlags), std::pair(1, 2));
}

TEST_F(HitTest, SearchNodeAnswersInvalidNumbers) {
  for (auto [typed, shown] : {std::pair{"0", "0"}, {" 99 ", "99"}, {"abc", "abc"}}) {
    SearchNode(ws, typed);
    EXPECT_EQ(host.LastStatus(0),
              "Node " + std::string(shown) + " invalid (" + std::to_string(ws.nodes.Count()) + ")");
  }
  host.statuses.clear();
  SearchNode(ws, "  ");  // cancelled input box
  EXPECT_TRUE(host.statuses.empty());
}

// Two gates joined by a wire in two halves with a dot at the joint; extracted for real.
class NetTest : public HitTest {
 protected:
  void SetUp() override {
    HitTest::SetUp();
    for (auto [g, x, in, out] : {std::tuple{&g1, 0, "IN", " CLK "}, {&g2, 100, "A", "Y"}}) {
      *g = AddBox({x, 0, x + 40, 40});
      ws.circuit.Symbols[*g].Model = 101;
      ws.circuit.AddPin(*g, x, 20, 'I', in, 1, 1, ws.tech);
      ws.circuit.AddPin(*g, x + 40, 20, 'O', out, 1, 1, ws.tech);
    }
    wire = ws.circuit.AddWire(40, 20, 70, 20);
    ws.circuit.AddWire(70, 20, 100, 20);
    dot = ws.circuit.AddContact(70, 20);
    ws.circuit.Touch();
  }
  int g1 = 0, g2 = 0, wire = 0, dot = 0;
};

TEST_F(NetTest, ViewElectricalNetHighlightsTheWholeNet) {
  ShowNetAt(ws, 55, 22, 55, 22);  // a click next to the wire
  const Circuit& c = ws.circuit;
  const int node = c.Wires[wire].Node;
  ASSERT_GE(node, 2);
  EXPECT_EQ(host.LastStatus(0),
            "Node: " + std::to_string(node) + ", name \"" + ws.nodes.NodeName(node) + "\"");
  EXPECT_EQ(std::vector<int>({c.Wires[wire].State, c.Contacts[dot].State, c.Symbols[g1].Pins[2].State,
                              c.Symbols[g2].Pins[1].State, c.Symbols[g1].Pins[1].State}),
            std::vector<int>({kHighlight2, kHighlight2, kHighlight2, kHighlight2, kNormal}));

  ShowNetAt(ws, 140, 20, 140, 20);  // no wire there, but a pin
  EXPECT_TRUE(c.Symbols[g2].Pins[2].State == kHighlight2 && c.Wires[wire].State == kNormal);

  ShowNetAt(ws, 300, 300, 300, 300);
  EXPECT_EQ(host.LastStatus(0), "Error, no line at this location ...");
  EXPECT_EQ(c.Symbols[g2].Pins[2].State, kNormal);
}

TEST_F(NetTest, SearchPinIgnoresCaseAndSpaces) {
  FindPin(ws, "clk");
  const TSymbol& s = ws.circuit.Symbols[g1];
  EXPECT_TRUE(s.Pins[2].State == kHighlight2 && s.State == kHighlight2);
  EXPECT_EQ(host.LastStatus(0),
            "Name \" CLK \" at node " + std::to_string(s.Pins[2].Node) + " in symbol " + s.Name + " (0,0)");
  EXPECT_GE(s.Pins[2].Node, 2);  // extracted before reporting

  FindPin(ws, "nothing");
  EXPECT_EQ(host.LastStatus(0), "nothing not found");
  EXPECT_EQ(s.Pins[2].State, kNormal);
}

}  // namespace
}  // namespace qiro
