#include "extract/verilog_expand.h"

#include <gtest/gtest.h>

#include "workspace.h"

namespace qiro {
namespace {

// A model 6000 symbol titled title whose pins sit on fresh nodes named after them.
int AddVerilogSymbol(Workspace& ws, const std::string& title, const std::vector<std::string>& pins,
                     const std::vector<std::string>& lines) {
  const int s = ws.circuit.AddSymbol(title);
  TSymbol& v = ws.circuit.Symbols[s];
  v.Model = 6000;
  v.Title = title;
  for (const std::string& name : pins) {
    ws.circuit.AddPin(s, 0, 0, 'I', name, 0, 0, ws.tech);
    int err = 0;
    ws.circuit.Symbols[s].Pins[ws.circuit.Symbols[s].PinCount].Node = ws.nodes.AddNode(name, err);
  }
  for (const std::string& l : lines) {
    TSymbol& sym = ws.circuit.Symbols[s];
    sym.VerilogLines.push_back(l);
    ++sym.VerilogLineCount;
  }
  return s;
}

void Expand(Workspace& ws) {
  ExpandVerilogSymbols(ws);
  NumberInternalWires(ws);
}

int NodeOfPin(const Workspace& ws, int symbol, const std::string& pin) {
  const TSymbol& s = ws.circuit.Symbols[symbol];
  for (int k = 1; k <= s.PinCount; ++k)
    if (s.Pin(k).Name == pin) return s.Pin(k).Node;
  return -100;
}

TEST(VerilogExpand, GateLineBecomesHiddenPrimitiveOnThePortNodes) {
  Workspace ws;
  const int v = AddVerilogSymbol(
      ws, "half", {"a", "b", "y"},
      {"module half(a, b, y);", "input a, b;", "output y;", "wire n;", "nand g1(y, a, b);", "endmodule"});
  Expand(ws);
  ASSERT_EQ(ws.circuit.Symbols.Count(), 2) << "only the instance line generates a gate";
  const TSymbol& g = ws.circuit.Symbols[2];
  EXPECT_EQ(g.Internal, 1);
  EXPECT_EQ(g.Model, 202);
  EXPECT_EQ(g.Name, "g1_half_1");
  EXPECT_EQ(g.Title, "internal_1");
  ASSERT_EQ(g.PinCount, 3);
  EXPECT_EQ(g.Pin(1).Node, NodeOfPin(ws, v, "a"));
  EXPECT_EQ(g.Pin(2).Node, NodeOfPin(ws, v, "b"));
  EXPECT_EQ(g.Pin(3).Node, NodeOfPin(ws, v, "y"));
  EXPECT_EQ(g.Pin(1).Kind, 'I');
  EXPECT_EQ(g.Pin(3).Kind, 'O');
  EXPECT_EQ(g.Pin(3).DelayFactor, 1.0);
  EXPECT_EQ(g.Pin(1).DelayFactor, 0.0);
  EXPECT_TRUE(ws.extraction.InternalWires.empty());
}

TEST(VerilogExpand, InternalWiresShareANodeWithinOneSymbolOnly) {
  Workspace ws;
  const std::vector<std::string> text = {"module m(a, y);", "not i1(w, a);", "not i2(y, W );"};
  AddVerilogSymbol(ws, "m1", {"a", "y"}, text);
  AddVerilogSymbol(ws, "m2", {"a", "y"}, text);
  const int before = ws.nodes.Count();
  Expand(ws);
  ASSERT_EQ(ws.circuit.Symbols.Count(), 6);
  const int w1 = ws.circuit.Symbols[3].Pin(2).Node;  // output of i1 in m1
  const int w2 = ws.circuit.Symbols[5].Pin(2).Node;  // output of i1 in m2
  EXPECT_GT(w1, before);
  EXPECT_EQ(ws.circuit.Symbols[4].Pin(1).Node, w1) << "names match regardless of case and blanks";
  EXPECT_EQ(ws.circuit.Symbols[6].Pin(1).Node, w2);
  EXPECT_NE(w1, w2);
  EXPECT_EQ(ws.nodes.Count(), before + 2);
  EXPECT_EQ(ws.extraction.InternalWires, (std::vector<std::string>{"w1", "w2"}));
  EXPECT_EQ(ws.nodes[w1].Drivers, 1);
  EXPECT_EQ(ws.circuit.Symbols[5].Name, "i1_m2_3");
}

TEST(VerilogExpand, SupplyNamesTieToTheRails) {
  Workspace ws;
  AddVerilogSymbol(ws, "t", {"y"}, {"nand g(y, vdd, vss);"});
  Expand(ws);
  const TSymbol& g = ws.circuit.Symbols[2];
  EXPECT_EQ(g.Pin(1).Node, 1);
  EXPECT_EQ(g.Pin(2).Node, 0);
  EXPECT_TRUE(ws.extraction.InternalWires.empty());
}

TEST(VerilogExpand, DregTakesTwoOutputsLast) {
  Workspace ws;
  AddVerilogSymbol(ws, "r", {"d", "rst", "clk", "q", "nq"}, {"dreg r1(q, nq, d, rst, clk);"});
  Expand(ws);
  const TSymbol& g = ws.circuit.Symbols[2];
  EXPECT_EQ(g.Model, 860);
  ASSERT_EQ(g.PinCount, 5);
  const char* names[] = {"d", "rst", "clk", "q", "nq"};
  const char kinds[] = {'I', 'I', 'I', 'O', 'O'};
  for (int k = 1; k <= 5; ++k) {
    EXPECT_EQ(g.Pin(k).Name, names[k - 1]);
    EXPECT_EQ(g.Pin(k).Kind, kinds[k - 1]);
    EXPECT_EQ(g.Pin(k).Node, NodeOfPin(ws, 1, names[k - 1]));
  }
}

TEST(VerilogExpand, DelayGroupsAndHeaderContinuationsAreRead) {
  Workspace ws;
  // A header broken over two lines may begin like a gate name; it is no instance.
  AddVerilogSymbol(ws, "d", {"a", "b", "y"},
                   {"module d( a,b,", " or_x,y);", "xor #(3) x1(y, a, b);", "inverter n(q, y);"});
  Expand(ws);
  ASSERT_EQ(ws.circuit.Symbols.Count(), 3);
  EXPECT_EQ(ws.circuit.Symbols[2].Model, 602);
  EXPECT_EQ(ws.circuit.Symbols[2].Name, "x1_d_1");
  EXPECT_EQ(ws.circuit.Symbols[2].Pin(3).Node, NodeOfPin(ws, 1, "y"));
  EXPECT_EQ(ws.circuit.Symbols[3].Model, 0) << "a prefix-only primitive name has no model";
}

TEST(VerilogExpand, ExpansionStartsAtTheModuleLineAndModuleNumbersRestart) {
  Workspace ws;
  const int v = AddVerilogSymbol(ws, "s", {"a", "y"}, {"not old(y, a);", "module s(a, y);", "buf b(y, a);"});
  ws.circuit.Symbols[v].VerilogStart = 2;
  Expand(ws);
  ASSERT_EQ(ws.circuit.Symbols.Count(), 2);
  EXPECT_EQ(ws.circuit.Symbols[2].Model, 111);
  EXPECT_EQ(ws.extraction.ModuleNumber, 2);
}

}  // namespace
}  // namespace qiro
