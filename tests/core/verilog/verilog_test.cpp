// The Verilog writer, its page in the symbol properties, the netlist view and the names of
// the portable netlist.
#include "verilog/verilog_writer.h"

#include <gtest/gtest.h>

#include "core/test_support.h"
#include "extract/extract.h"
#include "model/schematic_file.h"
#include "sim/engine.h"
#include "verilog/netlist_view.h"
#include "verilog/portable_names.h"
#include "verilog/verilog_page.h"
#include "workspace.h"

namespace qiro {
namespace {

using test::ReadFile;
using test::RecordingHost;
using test::SourceRoot;
using test::TempDir;

// Adds a symbol whose pins sit on the given nodes (node numbers set by hand, as extraction would).
// Verilog lines, when given, are the symbol's own text.
int AddWired(Workspace& ws, const std::string& name, int model,
             const std::vector<std::pair<std::string, int>>& pins,
             const std::vector<std::string>& lines = {}) {
  const int s = ws.circuit.AddSymbol(name);
  TSymbol& sym = ws.circuit.Symbols[s];
  sym.Model = model;
  for (const auto& [pinName, node] : pins) {
    ws.circuit.AddPin(s, 0, 0, 'I', pinName, 0, 0, ws.tech);
    ws.circuit.Symbols[s].Pins[ws.circuit.Symbols[s].PinCount].Node = node;
  }
  ws.circuit.Symbols[s].VerilogLines.insert(ws.circuit.Symbols[s].VerilogLines.end(), lines.begin(),
                                            lines.end());
  ws.circuit.Symbols[s].VerilogLineCount += static_cast<int>(lines.size());
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
  // The module is named after the bare file name.
  EXPECT_EQ(ModuleNameOfFile("C:\\work\\adder.v1.sch") + " " + ModuleNameOfFile("/home/me/test.sch") + " " +
                ModuleNameOfFile("example"),
            "adder.v1 test example");
}

TEST(VerilogWriter, NineInputsBreakHeaderAndDeclarationAfterEight) {
  Workspace ws;
  ws.verilog.ModuleName = "m";
  WriteVerilogModule(ws);  // an empty circuit gives a bare module
  EXPECT_EQ(ws.verilog.Lines, (std::vector<std::string>{"module m( );", "endmodule"}));
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

TEST(VerilogPage, TidyVerilogLineIndentsByDepth) {
  const std::pair<const char*, const char*> cases[] = {{"   nand g1(y,a,b);", "  nand g1(y,a,b);"},
                                                       {"      nand g1(y,a,b);", "  nand g1(y,a,b);"},
                                                       {" input a;", " input a;"},
                                                       {"  input a;", " input a;"},
                                                       {"input a;", "input a;"},
                                                       {"    endmodule", "endmodule"},
                                                       {"  module m(a);", "module m(a);"},
                                                       {"   // note", " "},
                                                       {"", ""}};
  for (const auto& [line, tidy] : cases) EXPECT_EQ(TidyVerilogLine(line), tidy) << line;
}

TEST(VerilogPage, RenameModulePutsTheSymbolNameOnTheLastModuleLine) {
  RecordingHost host;
  Workspace ws(&host);
  const int s = AddWired(ws, "adder1", 0, {}, {"module half (a,b,s,c);", " xor x(s,a,b);", "endmodule"});
  RenameModule(ws, s, "adder1");
  EXPECT_EQ(ws.circuit.Symbols[s].VerilogLines[1], "module adder1(a,b,s,c);");
  const int t = AddWired(ws, "x", 0, {}, {"module old", "endmodule"});
  RenameModule(ws, t, "fresh");  // no "(" after the name: the line ends with the new name
  EXPECT_EQ(ws.circuit.Symbols[t].Name + "|" + ws.circuit.Symbols[t].VerilogLines[1], "fresh|module fresh");
  const int u = AddWired(ws, "u", 0, {}, {" nand g(y,a,b);"});
  RenameModule(ws, u, "u");
  EXPECT_EQ(host.LastStatus(0), "Error : module not found !");
  EXPECT_EQ(ws.circuit.Symbols[u].VerilogLines[1], " nand g(y,a,b);");
}

TEST(VerilogPage, UserSymbolIsTidiedAndRenamedAndAPrimitiveGetsComments) {
  Workspace ws;
  const int s = AddWired(ws, "adder1", 0, {}, {"module half( a,b,s);", "   xor x(s,a,b);", "  endmodule"});
  const VerilogPage page = ShowVerilogPage(ws, s);
  // A user symbol's text is tidied twice (before and after the rename): deep indentation
  // settles at one blank; tidied lines are stored back.
  EXPECT_EQ(page.Memo, (std::vector<std::string>{"module adder1( a,b,s);", " xor x(s,a,b);", "endmodule"}));
  EXPECT_EQ(page.NameField, "adder1");
  EXPECT_EQ(ws.circuit.Symbols[s].VerilogLines[2], " xor x(s,a,b);");
  const int g = AddWired(ws, "and2", 0, {{"a", 0}, {"b", 0}, {"y", 0}});
  EXPECT_EQ(ShowVerilogPage(ws, g).Memo,
            (std::vector<std::string>{"// Verilog Primitive \"and2\"", "// a,b: input", "// y: output"}));
  EXPECT_EQ(ShowVerilogPage(ws, g).NameField, "and2");
}

TEST(NetlistView, HierarchySortsSymbolsIntoInputsOutputsAndModule) {
  Workspace ws;
  ws.verilog.Lines = {"module top( in1,out1);", "endmodule"};
  AddWired(ws, "button1", 59, {{"in1", 0}});
  AddWired(ws, "vdd", 1, {{"vdd", 0}});
  AddWired(ws, "light1", 49, {{"out1", 0}});
  AddWired(ws, "fa", 6000, {{"a", 0}, {"s", 0}}, {"module fa(a,s);", " input a;", " not n1(s,a);"});
  ws.circuit.Symbols[AddWired(ws, "n1_fa_1", 101, {{"a", 0}, {"s", 0}})].Internal = 1;
  std::string tree;  // hidden generated gates are not listed
  const auto add = [&](const auto& self, const auto& item, int depth) -> void {
    tree += std::string(depth, ' ') + item.Text + "\n";
    for (const auto& child : item.Children) self(self, child, depth + 1);
  };
  for (const auto& root : BuildHierarchy(ws)) add(add, root, 0);
  EXPECT_EQ(tree, "inputs\n button1\n vdd\noutputs\n light1\ntop\n fa\n  <n1>\n  (a)\n  (s)\n");
}

TEST(NetlistView, GridShowsNumbersOrRunningValues) {
  Workspace ws;
  int err = 0;
  const int n = ws.nodes.AddNode("w1", err);
  const int g = AddWired(ws, "not", 101, {{"a", 1}, {"y", n}});
  ws.circuit.Symbols[g].Internal = 1;
  ws.circuit.Symbols[g].TraceIndex = 2;
  ws.engine.layout.AddSymbol(2);
  ws.engine.layout.SetSteps(g, 2, 3);
  auto rows = ViewNetlist(ws);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], (NetlistRow{"1 (hidden)", "not", "a,y", "1,2", "101", "- 2 ", "2"}));
  EXPECT_EQ(SymbolCountText(ws) + "|" + NodeCountText(ws),
            "The design includes 1 symbols|The circuit has 2 nodes");
  // A layout built for another table shows no lines rather than someone else's.
  AddWired(ws, "buf", 111, {{"a", 0}, {"y", 0}});
  EXPECT_EQ(ViewNetlist(ws)[0][5], "- - ");

  ASSERT_TRUE(SchematicLoad(ws, SourceRoot() / "examples" / "half_adder.sch", kLoadOpen));
  ExtractCircuit(ws);
  ASSERT_TRUE(RunUntil(ws, 30));
  ASSERT_TRUE(ws.engine.Running);
  bool sawLine = false;
  for (const NetlistRow& row : ViewNetlist(ws, true)) {
    EXPECT_EQ(row[3].find_first_not_of("01x,"), std::string::npos) << row[3];
    EXPECT_EQ(row[5].find_first_not_of("01x- "), std::string::npos) << row[5];
    sawLine = sawLine || row[5].find_first_of("01x") != std::string::npos;
  }
  EXPECT_TRUE(sawLine);
  StopSimulation(ws);
  for (const NetlistRow& row : ViewNetlist(ws))
    EXPECT_EQ(row[5].find_first_not_of("0123456789- "), std::string::npos) << row[5];
}

TEST(PortableNames, LegalTextEscapesAndKeywords) {
  const std::pair<const char*, const char*> cases[] = {{"a0", "a0"},
                                                       {"_x", "_x"},
                                                       {"1a", "\\1a "},
                                                       {"a.b", "\\a.b "},
                                                       {"a b", "a_b"},
                                                       {"a-b", "\\a-b "},
                                                       {"y'", "\\y' "},
                                                       {"a[0]", "\\a[0] "},
                                                       {"input", "\\input "},
                                                       {"begin", "\\begin "},
                                                       {"logic", "\\logic "},
                                                       {"Wire", "Wire"},
                                                       {"\xC3\xA9t\xC3\xA9", "xC3xA9txC3xA9"},
                                                       {"a$b", "\\a$b "}};
  for (const auto& [name, written] : cases) EXPECT_EQ(VerilogName(VerilogText(name)), written) << name;
  for (const char* k : {"module", "endmodule", "supply0", "xnor", "notif1", "rnmos", "always_ff", "uwire"})
    EXPECT_TRUE(IsVerilogKeyword(k)) << k;
  for (const char* k : {"Module", "nand3", "w4", "vdd"}) EXPECT_FALSE(IsVerilogKeyword(k)) << k;
}

TEST(PortableNames, UserNamesFirstGeneratedNamesSkipTakenOnes) {
  VerilogNameSpace ns;
  std::string names;  // the same text after mapping is one name
  for (const char* name : {"nand3", "a b", "a_b", "1a", "1a", "nand3", ""}) names += ns.Reserve(name) + "|";
  for (const char* name : {"", "nc2", ""}) names += (*name ? ns.Reserve(name) : ns.Generate("nc")) + "|";
  EXPECT_EQ(names, "nand3|a_b|a_b_1|\\1a |\\1a_1 |nand3_1|n1|nc1|nc2|nc3|");
}

}  // namespace
}  // namespace qiro
