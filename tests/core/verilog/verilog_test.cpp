#include "verilog/verilog_writer.h"

#include <gtest/gtest.h>

#include "core/test_support.h"
#include "workspace.h"

namespace qiro {
namespace {

using test::ReadFile;
using test::RecordingHost;
using test::SourceRoot;
using test::TempDir;

// Adds a symbol whose pins sit on the given nodes (node numbers set by hand, as extraction would).
int AddWired(Workspace& ws, const std::string& name, int model,
             const std::vector<std::pair<std::string, int>>& pins) {
  const int s = ws.circuit.AddSymbol(name);
  ws.circuit.Symbols[s].Model = model;
  for (const auto& [pinName, node] : pins) {
    ws.circuit.AddPin(s, 0, 0, 'I', pinName, 0, 0, ws.tech);
    ws.circuit.Symbols[s].Pins[ws.circuit.Symbols[s].PinCount].Node = node;
  }
  return s;
}

int Node(Workspace& ws, const std::string& name) {
  int err = 0;
  return ws.nodes.AddNode(name, err);
}

// test.sch: two buttons and a light around one nand2 that is symbol 3.
void BuildNandExample(Workspace& ws) {
  ws.circuit.FileName = "test.sch";
  const int in1 = Node(ws, "in1"), in2 = Node(ws, "in2"), out1 = Node(ws, "out1");
  AddWired(ws, "button1", 59, {{"in1", in1}});
  AddWired(ws, "button2", 59, {{"in2", in2}});
  AddWired(ws, "nand2", 202, {{"a", in1}, {"b", in2}, {"y", out1}});
  AddWired(ws, "light1", 49, {{"out1", out1}});
  ws.extraction.InputNames = {"in1", "in2"};
  ws.extraction.OutputNames = {"out1"};
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}

TEST(VerilogWriter, NandExampleMatchesGoldenText) {
  RecordingHost host;
  Workspace ws(&host);
  BuildNandExample(ws);
  ws.verilog.ModuleName = ModuleNameOfFile(ws.circuit.FileName);
  UpdateVerilog(ws, "01/02/2026 10:20:30");
  EXPECT_EQ(Joined(ws.verilog.Shown), ReadFile(SourceRoot() / "tests/golden/verilog/test_nand.txt"));
  EXPECT_EQ(VerilogLineCountText(ws), "The Verilog file has 13 lines");
}

TEST(VerilogWriter, ModuleNameIsTheBareFileName) {
  EXPECT_EQ(ModuleNameOfFile("C:\\work\\adder.v1.sch"), "adder.v1");
  EXPECT_EQ(ModuleNameOfFile("/home/me/test.sch"), "test");
  EXPECT_EQ(ModuleNameOfFile("example"), "example");
}

TEST(VerilogWriter, NineInputsBreakHeaderAndDeclarationAfterEight) {
  Workspace ws;
  ws.verilog.ModuleName = "m";
  for (int i = 1; i <= 9; ++i) ws.extraction.InputNames.push_back("i" + std::to_string(i));
  WriteVerilogModule(ws);
  const std::vector<std::string> expected = {"module m( i1,i2,i3,i4,i5,i6,i7,i8,", " i9);",
                                             " input i1,i2,i3,i4,i5,i6,i7,i8;", " input i9;", "endmodule"};
  EXPECT_EQ(ws.verilog.Lines, expected);

  // Outputs continue the comma count of the inputs; wires get their own declaration.
  ws.extraction.InputNames = {"a", "b", "c", "d", "e", "f", "g"};
  ws.extraction.OutputNames = {"y", "z"};
  ws.extraction.InternalWires = {"w1", "w2"};
  WriteVerilogModule(ws);
  const std::vector<std::string> mixed = {"module m( a,b,c,d,e,f,g,y,",
                                          " z);",
                                          " input a,b,c,d,e,f,g;",
                                          " output y,z;",
                                          " wire w1,w2;",
                                          "endmodule"};
  EXPECT_EQ(ws.verilog.Lines, mixed);
}

TEST(VerilogWriter, EmptyCircuitGivesBareModule) {
  Workspace ws;
  ws.verilog.ModuleName = "empty";
  WriteVerilogModule(ws);
  EXPECT_EQ(ws.verilog.Lines, (std::vector<std::string>{"module empty( );", "endmodule"}));
}

TEST(VerilogWriter, InstancePortOrders) {
  Workspace ws;
  ws.verilog.ModuleName = "m";
  const int d = Node(ws, "d"), r = Node(ws, "r"), c = Node(ws, "c"), q = Node(ws, "q"), nq = Node(ws, "nq");
  AddWired(ws, "dreg1", 860, {{"D", d}, {"Rst", r}, {"H", c}, {"Q", q}, {"nQ", nq}});
  AddWired(ws, "inverter", 101, {{"a", d}, {"y", -1}});        // unconnected output
  AddWired(ws, "bufif1", 0, {{"a", d}, {"en", 1}, {"y", q}});  // not "buf"
  AddWired(ws, "light1", 49, {{"out", q}});                    // devices are not instances
  AddWired(ws, "and4", 6000, {{"a", 0}, {"y", q}});            // a user symbol named like a gate
  // Generated gates are named after their instance; their model gives the keyword.
  const int g = AddWired(ws, "g1_fa_1", 612, {{"a", d}, {"b", r}, {"y", q}});
  ws.circuit.Symbols[g].Internal = 1;
  AddWired(ws, "g2_fa_2", 0, {{"a", d}});
  WriteVerilogModule(ws);
  const std::vector<std::string> expected = {
      "module m( );",      " dreg dreg1(q,nq,d,r,c);", " not not2(vss,d);", " bufif1 bufif13(q,d,vdd);",
      " and and5(q,vss);", " xnor xnor6(q,d,r);",      "endmodule"};
  EXPECT_EQ(ws.verilog.Lines, expected);
}

TEST(VerilogWriter, StimuliAsComments) {
  Workspace ws;
  for (int i = 1; i <= 3; ++i)
    AddWired(ws, "button" + std::to_string(i), 59, {{"in" + std::to_string(i), -1}});
  const int clk = AddWired(ws, "clock1", 69, {{"clk1", -1}});
  ws.circuit.Symbols[clk].PropWords[1] = "5.000";
  ws.circuit.Symbols[clk].PropWords[2] = "7.500";
  const int pwl = AddWired(ws, "pwl1", 68, {{"pwl1", -1}});
  for (int k = 1; k <= 10; ++k) ws.circuit.Symbols[pwl].PropWords[k] = std::to_string(k * 10);
  ws.circuit.Symbols[pwl].PropWords[11] = " ";  // what a written property line leaves behind
  const std::vector<std::string> expected = {"",
                                             "// Simulation parameters",
                                             "// in1 CLK 10 10",
                                             "// in2 CLK 20 20",
                                             "// in3 CLK 30 30",
                                             "// clk1 CLK 5.000 7.500",
                                             "// pwl1 PWL 10 20 30 40 50 60 70 80",
                                             "//+         90 100 "};
  EXPECT_EQ(SimulationParameters(ws), expected);

  // Exactly eight entries leave no empty continuation line.
  ws.circuit.Symbols[pwl].PropWords[9] = "";
  const auto lines = SimulationParameters(ws);
  EXPECT_EQ(lines.back(), "// pwl1 PWL 10 20 30 40 50 60 70 80");
}

TEST(VerilogWriter, SavesBesideTheSchematicAndReportsFailure) {
  TempDir dir;
  RecordingHost host;
  Workspace ws(&host);
  BuildNandExample(ws);
  ws.circuit.FileName = (dir / "test.sch").string();
  ws.circuit.Extracted = true;  // the nodes above stand for the extraction's
  RefreshVerilog(ws, "now");
  EXPECT_EQ(ws.verilog.ModuleName, "test");
  const auto path = dir / "test.txt";
  EXPECT_EQ(ReadFile(path), Joined(ws.verilog.Shown));
  EXPECT_EQ(host.LastStatus(0), "Verilog description written in \"" + path.string() + "\"");
  EXPECT_TRUE(host.errors.empty());

  ws.verilog.AppendSimulationInfo = false;
  UpdateVerilog(ws, "now");
  EXPECT_EQ(ws.verilog.Shown.back(), "endmodule");

  EXPECT_FALSE(SaveVerilogFile(ws, dir / "missing" / "x.txt"));
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_EQ(
      host.errors[0].rfind("Write error in " + (dir / "missing" / "x.txt").string() + ": cannot create", 0),
      0u);
}

}  // namespace
}  // namespace qiro
