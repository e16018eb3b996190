#include "verilog/netlist_view.h"

#include <gtest/gtest.h>

#include "workspace.h"

namespace qiro {
namespace {

int Add(Workspace& ws, const std::string& name, int model, const std::vector<std::string>& pins) {
  const int s = ws.circuit.AddSymbol(name);
  ws.circuit.Symbols[s].Model = model;
  for (const auto& p : pins) ws.circuit.AddPin(s, 0, 0, 'I', p, 0, 0, ws.tech);
  return s;
}

TEST(NetlistView, HierarchySortsSymbolsIntoInputsOutputsAndModule) {
  Workspace ws;
  ws.verilog.Lines = {"module top( in1,out1);", "endmodule"};
  Add(ws, "button1", 59, {"in1"});
  Add(ws, "vdd", 1, {"vdd"});
  Add(ws, "light1", 49, {"out1"});
  const int fa = Add(ws, "fa", 6000, {"a", "s"});
  ws.circuit.Symbols[fa].VerilogLines = {"", "module fa(a,s);", " input a;", " not n1(s,a);"};
  ws.circuit.Symbols[fa].VerilogLineCount = 3;
  const int hidden = Add(ws, "n1_fa_1", 101, {"a", "s"});
  ws.circuit.Symbols[hidden].Internal = 1;

  const auto roots = BuildHierarchy(ws);
  ASSERT_EQ(roots.size(), 3u);
  EXPECT_EQ(roots[0].Text, "inputs");
  ASSERT_EQ(roots[0].Children.size(), 2u);
  EXPECT_EQ(roots[0].Children[1].Text, "vdd");
  EXPECT_EQ(roots[1].Children.at(0).Text, "light1");
  EXPECT_EQ(roots[2].Text, "top");
  ASSERT_EQ(roots[2].Children.size(), 1u) << "hidden generated gates are not listed";
  std::vector<std::string> kids;
  for (const auto& k : roots[2].Children[0].Children) kids.push_back(k.Text);
  EXPECT_EQ(kids, (std::vector<std::string>{"<n1>", "(a)", "(s)"}));
}

TEST(NetlistView, GridShowsNumbersOrRunningValues) {
  Workspace ws;
  int err = 0;
  const int n = ws.nodes.AddNode("w1", err);
  const int g = Add(ws, "not", 101, {"a", "y"});
  TSymbol& s = ws.circuit.Symbols[g];
  s.Pins[1].Node = 1;
  s.Pins[2].Node = n;
  s.Pins[2].LineStart = 3;
  s.Pins[2].LineEnd = 5;
  s.TraceIndex = 2;
  ws.circuit.Symbols[g].Internal = 1;

  auto rows = ViewNetlist(ws);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], (NetlistRow{"1 (hidden)", "not", "a,y", "1,2", "101", "- 2 ", "2"}));

  ws.nodes[n].Value = kLogicX;
  std::vector<std::uint8_t> cells = {2, 2, 2, kLogic1, kLogic0, kLogicX};
  NetlistSimulation sim{&cells};
  rows = ViewNetlist(ws, &sim);
  EXPECT_EQ(rows[0][3], "1,x");
  EXPECT_EQ(rows[0][5], "- 10x ");
  EXPECT_EQ(SymbolCountText(ws), "The design includes 1 symbols");
  EXPECT_EQ(NodeCountText(ws), "The circuit has 2 nodes");
}

}  // namespace
}  // namespace qiro
