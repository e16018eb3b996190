#include <gtest/gtest.h>

#include "extract/connectivity.h"
#include "extract_fixture.h"

namespace qiro {
namespace {

using test::ExtractFixture;

TEST_F(ExtractFixture, SuppliesAreNumberedBeforeOtherPins) {
  const int g = Gate(0, 0);  // first in the table, yet its output ends on vdd
  Vdd(60, 5);
  const int w = Wire(30, 5, 60, 5);
  const int v = Vss(100, 100);
  Extract();
  EXPECT_EQ(NodeOf(g, 3), 1);
  EXPECT_EQ(WireAt(w).Node, 1);
  EXPECT_EQ(NodeOf(v, 1), 0);
  EXPECT_EQ(ws.nodes[1].Drivers, 1) << "the gate output has a delay";
  EXPECT_EQ(ws.nodes.NodeName(NodeOf(g, 1)), "w1");
  EXPECT_EQ(ws.nodes.NodeName(NodeOf(g, 2)), "w2");
  EXPECT_EQ(ws.nodes.Count(), 3);
  EXPECT_EQ(ws.nodes.NodeName(99), "vss");
}

TEST_F(ExtractFixture, DevicePinsNameTheirNodesAndFillTheLists) {
  const int g = Gate(20, 0);
  const int b = Button(0, 0, "start");
  Wire(0, 0, 20, 0);
  const int l = Symbol("light1", 49, {{50, 5, 'I', "lamp"}});
  Symbol("kbd1", 85, {{200, 0, 'O', "k0"}, {200, 10, 'O', "k1"}, {200, 20, 'O', "k2"}, {200, 30, 'O', "k3"}});
  Extract();
  EXPECT_EQ(NodeOf(g, 1), NodeOf(b, 1));
  EXPECT_EQ(ws.nodes.NodeName(NodeOf(b, 1)), "start");
  EXPECT_EQ(NodeOf(g, 3), NodeOf(l, 1)) << "output pin stands on the light's pin";
  EXPECT_EQ(ws.nodes.NodeName(NodeOf(l, 1)), "lamp");
  EXPECT_EQ(ws.extraction.InputNames, (std::vector<std::string>{"start", "k0", "k1", "k2", "k3"}));
  EXPECT_EQ(ws.extraction.OutputNames, (std::vector<std::string>{"lamp"}));
}

TEST_F(ExtractFixture, GeneratedNamesSkipTheNamesOfDevicePins) {
  // A light named w2 on the output: the gate's second input must not be called w2 too.
  const int g = Gate(0, 0);
  Symbol("light1", 49, {{30, 5, 'I', "w2"}});
  Extract();
  EXPECT_EQ(ws.nodes.NodeName(NodeOf(g, 1)), "w1");
  EXPECT_EQ(ws.nodes.NodeName(NodeOf(g, 2)), "w3");
  EXPECT_EQ(ws.nodes.NodeName(NodeOf(g, 3)), "w2");
}

TEST_F(ExtractFixture, PinOnWireGeometry) {
  const int slanted = Wire(0, 0, 100, 50);  // y = 20 at x = 40
  const int vertical = Wire(200, 0, 200, 100);
  const int near = Symbol("t", 500, {{40, 22, 'I', "a"}});
  const int far = Symbol("t", 500, {{40, 23, 'I', "a"}});
  const int mid = Symbol("t", 500, {{200, 50, 'I', "a"}});
  const int off = Symbol("t", 500, {{201, 50, 'I', "a"}});
  Extract();
  EXPECT_EQ(NodeOf(near, 1), WireAt(slanted).Node);
  EXPECT_NE(NodeOf(far, 1), WireAt(slanted).Node);
  EXPECT_EQ(NodeOf(mid, 1), WireAt(vertical).Node);
  EXPECT_NE(NodeOf(off, 1), WireAt(vertical).Node);
  EXPECT_EQ(WireAt(vertical).EndFlags, 0) << "a pin in the middle marks no end";
}

TEST_F(ExtractFixture, WireEndOnAnotherWiresMiddleNeedsADot) {
  const int top = Symbol("t", 500, {{50, 0, 'I', "a"}});
  const int left = Symbol("t", 500, {{0, 50, 'I', "b"}});
  const int v = Wire(50, 0, 50, 100);
  const int h = Wire(0, 50, 50, 50);
  Extract();
  EXPECT_NE(NodeOf(top, 1), NodeOf(left, 1));
  const int dot = ws.circuit.AddContact(50, 50);
  Extract();
  EXPECT_EQ(NodeOf(top, 1), NodeOf(left, 1));
  EXPECT_EQ(ws.circuit.Contacts[dot].Node, NodeOf(top, 1));
  EXPECT_EQ(WireAt(h).EndFlags, 3) << "pin at the start, dot at the end";
  EXPECT_EQ(WireAt(v).EndFlags, 1);
  // Wires crossing without a dot stay apart; an L corner joins by its shared end.
  const int crossing = Wire(20, 30, 20, 70);
  const int corner = Wire(20, 70, 90, 70);
  const int end = Symbol("t", 500, {{90, 70, 'I', "c"}});
  Extract();
  EXPECT_NE(NodeOf(end, 1), NodeOf(left, 1));
  EXPECT_EQ(WireAt(crossing).Node, NodeOf(end, 1));
  EXPECT_EQ(WireAt(corner).EndFlags, 3);
  EXPECT_EQ(WireAt(crossing).EndFlags, 2);
}

TEST_F(ExtractFixture, ProgrammableSwitchesJoinTheirPins) {
  auto pip = [&](int x, const std::string& word) {
    int s = Symbol("pip", 702,
                   {{x, 0, 'I', "1"}, {x, 20, 'I', "2"}, {x + 20, 0, 'I', "3"}, {x + 20, 20, 'I', "4"}});
    ws.circuit.Symbols[s].PropWords[1] = word;
    return s;
  };
  const int closed = pip(0, "1");
  const int open = pip(100, "0");
  const int matrix = Symbol(
      "matrix", 710, {{200, 0, 'I', "1"}, {200, 20, 'I', "2"}, {220, 0, 'I', "3"}, {220, 20, 'I', "4"}});
  ws.circuit.Symbols[matrix].PropWords[1] = "0001017";  // links 4-3 and 1-2; the 7th character is ignored
  Extract();
  for (int k = 2; k <= 4; ++k) EXPECT_EQ(NodeOf(closed, k), NodeOf(closed, 1));
  EXPECT_EQ(NodeOf(open, 1), NodeOf(open, 3));
  EXPECT_EQ(NodeOf(open, 2), NodeOf(open, 4));
  EXPECT_NE(NodeOf(open, 1), NodeOf(open, 2));
  EXPECT_EQ(NodeOf(matrix, 1), NodeOf(matrix, 2));
  EXPECT_EQ(NodeOf(matrix, 3), NodeOf(matrix, 4));
  EXPECT_NE(NodeOf(matrix, 1), NodeOf(matrix, 3));
  EXPECT_EQ(ws.circuit.Wires.Count(), 0) << "the switch wires are temporary";
}

TEST_F(ExtractFixture, SecondExtractionOfAnUnchangedDrawingDoesNothing) {
  const int g = Gate(0, 0);
  const int generated = Gate(100, 0);
  ws.circuit.Symbols[generated].Internal = 1;
  const int cut = Gate(200, 0);
  ws.circuit.Symbols[cut].State = kDeleted;
  ExtractCircuit(ws);
  EXPECT_TRUE(ws.circuit.Extracted);
  EXPECT_EQ(ws.circuit.Symbols.Count(), 1) << "generated and deleted symbols are compacted away";
  EXPECT_EQ(ws.extraction.DesignName, "sym2");
  EXPECT_EQ(host.LastStatus(0), "Circuit extracted, 4 nodes, 1 symbols");
  EXPECT_EQ(host.LastStatus(1), "Circuit OK");
  const auto shown = host.statuses.size();
  Pin(g, 1).Node = 77;
  ExtractCircuit(ws);
  EXPECT_EQ(host.statuses.size(), shown);
  EXPECT_EQ(NodeOf(g, 1), 77);
  ws.circuit.Touch();
  ws.circuit.FileName = "/tmp/work/adder.sch";
  ExtractCircuit(ws);
  EXPECT_EQ(NodeOf(g, 1), 2);
  EXPECT_EQ(ws.extraction.DesignName, "adder");
}

// A net view or a search leaves wires and symbols highlighted; the extraction after the next
// edit must still join them (they once came out as nets of their own, or as no node at all).
TEST_F(ExtractFixture, HighlightedWiresAndSymbolsStillConnect) {
  const int touching = Symbol("buf", 111, {{130, 0, 'I', "a"}, {160, 0, 'O', "y", 1, 1}});
  const int g1 = Gate(0, 0), g2 = Gate(100, -5);
  const int plain = Wire(30, 5, 60, 5), lit = Wire(60, 5, 100, 5);
  WireAt(lit).State = kHighlight2;
  ws.circuit.Symbols[g2].State = kHighlight2;
  Extract();
  EXPECT_EQ(WireAt(plain).Node, NodeOf(g1, 3));
  EXPECT_EQ(WireAt(lit).Node, NodeOf(g1, 3));
  EXPECT_EQ(NodeOf(g2, 2), NodeOf(g1, 3));
  EXPECT_EQ(NodeOf(touching, 1), NodeOf(g2, 3));
}

TEST_F(ExtractFixture, EmptySchematicStaysUnextracted) {
  ExtractCircuit(ws);
  EXPECT_FALSE(ws.circuit.Extracted);
  EXPECT_EQ(host.LastStatus(0), "Circuit extracted, 1 nodes, 0 symbols");
}

TEST_F(ExtractFixture, FullNodeTableIsAnExtractionError) {
  for (int i = 0; i < 1100; ++i) Symbol("t", 500, {{i * 10, 0, 'I', "a"}, {i * 10, 5, 'I', "b"}});
  Extract();
  EXPECT_EQ(ws.extraction.ResultCode, 4);
  EXPECT_EQ(host.errors, (std::vector<std::string>{"Too many nodes."}));
  EXPECT_EQ(host.LastStatus(1), "Circuit contains error");
  EXPECT_EQ(ws.nodes.Count(), kMaxNodes);
  EXPECT_EQ(NodeOf(1024, 2), kMaxNodes) << "the pin that overflows takes the last node";
  EXPECT_EQ(NodeOf(1025, 1), -1);
  ws.circuit.Symbols.Truncate(10);
  Extract();
  EXPECT_EQ(ws.extraction.ResultCode, 0);
  EXPECT_EQ(host.LastStatus(1), "Circuit OK");
}

}  // namespace
}  // namespace qiro
