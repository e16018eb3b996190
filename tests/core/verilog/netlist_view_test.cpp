#include "verilog/netlist_view.h"

#include <gtest/gtest.h>

#include "core/test_support.h"
#include "extract/extract.h"
#include "model/schematic_file.h"
#include "sim/engine.h"
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
  s.Internal = 1;
  s.TraceIndex = 2;
  ws.engine.layout.AddSymbol(2);
  ws.engine.layout.SetSteps(g, 2, 3);

  auto rows = ViewNetlist(ws);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], (NetlistRow{"1 (hidden)", "not", "a,y", "1,2", "101", "- 2 ", "2"}));
  EXPECT_EQ(SymbolCountText(ws), "The design includes 1 symbols");
  EXPECT_EQ(NodeCountText(ws), "The circuit has 2 nodes");

  // A layout built for another table shows no lines rather than someone else's.
  Add(ws, "buf", 111, {"a", "y"});
  EXPECT_EQ(ViewNetlist(ws)[0][5], "- - ");
}

TEST(NetlistView, RunningSimulationShowsValues) {
  Workspace ws;
  ASSERT_TRUE(SchematicLoad(ws, test::SourceRoot() / "examples" / "half_adder.sch", kLoadOpen));
  ExtractCircuit(ws);
  ASSERT_TRUE(RunUntil(ws, 30));
  ASSERT_TRUE(ws.engine.Running);
  const auto rows = ViewNetlist(ws, true);
  bool sawLine = false;
  for (const NetlistRow& row : rows) {
    EXPECT_EQ(row[3].find_first_not_of("01x,"), std::string::npos) << row[3];
    EXPECT_EQ(row[5].find_first_not_of("01x- "), std::string::npos) << row[5];
    sawLine = sawLine || row[5].find_first_of("01x") != std::string::npos;
  }
  EXPECT_TRUE(sawLine);
  StopSimulation(ws);
  for (const NetlistRow& row : ViewNetlist(ws))
    EXPECT_EQ(row[5].find_first_not_of("0123456789- "), std::string::npos) << row[5];
}

}  // namespace
}  // namespace qiro
