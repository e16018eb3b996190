// The Verilog writer, its page in the symbol properties, the netlist view, the names of the
// portable netlist, the verilog and tosym commands, and the portable netlist run by Icarus Verilog.
#include "verilog/verilog_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>
#include <sstream>

#include "core/sim/devices_test_support.h"
#include "core/test_support.h"
#include "extract/extract.h"
#include "model/schematic_file.h"
#include "sim/devices.h"
#include "sim/engine.h"
#include "verilog/netlist_view.h"
#include "verilog/portable_names.h"
#include "verilog/portable_writer.h"
#include "verilog/verilog_page.h"
#include "workspace.h"

namespace qiro {
namespace {

using test::AddWired;
using test::HasIverilog;
using test::Quote;
using test::ReadFile;
using test::RecordingHost;
using test::RunCli;
using test::SourceRoot;
using test::TempDir;
using test::WriteFile;

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

std::string Joined(const std::vector<std::string>& lines, const char* end = "\r\n") {
  std::string s;
  for (const auto& l : lines) s += l + end;
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

TEST(VerilogWriter, HeaderDeclarationsAndInstancePortOrders) {
  Workspace ws;
  ws.verilog.ModuleName = "m";
  const auto lines = [&] {
    WriteVerilogModule(ws);
    return Joined(ws.verilog.Lines, "|");
  };
  EXPECT_EQ(lines(), "module m( );|endmodule|");  // an empty circuit gives a bare module
  // Nine inputs break the header and the declaration after eight.
  for (int i = 1; i <= 9; ++i) ws.extraction.InputNames.push_back("i" + std::to_string(i));
  EXPECT_EQ(lines(),
            "module m( i1,i2,i3,i4,i5,i6,i7,i8,| i9);| input i1,i2,i3,i4,i5,i6,i7,i8;| input i9;|endmodule|");
  // Outputs continue the comma count of the inputs; wires get their own declaration.
  ws.extraction.InputNames = {"a", "b", "c", "d", "e", "f", "g"};
  ws.extraction.OutputNames = {"y", "z"};
  ws.extraction.InternalWires = {"w1", "w2"};
  EXPECT_EQ(lines(),
            "module m( a,b,c,d,e,f,g,y,| z);| input a,b,c,d,e,f,g;| output y,z;| wire w1,w2;|endmodule|");

  ws.extraction = {};
  const int d = Node(ws, "d"), r = Node(ws, "r"), c = Node(ws, "c"), q = Node(ws, "q"), nq = Node(ws, "nq");
  AddWired(ws, "dreg1", 860, {{"D", d}, {"Rst", r}, {"H", c}, {"Q", q}, {"nQ", nq}});
  AddWired(ws, "inverter", 101, {{"a", d}, {"y", -1}});        // unconnected output
  AddWired(ws, "bufif1", 0, {{"a", d}, {"en", 1}, {"y", q}});  // not "buf"
  AddWired(ws, "light1", 49, {{"out", q}});                    // devices are not instances
  AddWired(ws, "and4", 6000, {{"a", 0}, {"y", q}});            // a user symbol named like a gate
  // Generated gates are named after their instance; their model gives the keyword.
  ws.circuit.Symbols[AddWired(ws, "g1_fa_1", 612, {{"a", d}, {"b", r}, {"y", q}})].Internal = 1;
  AddWired(ws, "g2_fa_2", 0, {{"a", d}});
  EXPECT_EQ(
      lines(),
      "module m( );| dreg dreg1(q,nq,d,r,c);| not not2(vss,d);| bufif1 bufif13(q,d,vdd);| and and5(q,vss);|"
      " xnor xnor6(q,d,r);|endmodule|");
}

TEST(VerilogWriter, SavesBesideTheSchematicAndReportsFailure) {
  TempDir dir;
  RecordingHost host;
  Workspace ws(&host);
  BuildNandExample(ws);
  ws.circuit.FileName = (dir / "test.sch").string();
  ws.circuit.Extracted = true;  // the nodes above stand for the extraction's
  RefreshVerilog(ws, "now");
  const auto path = dir / "test.txt";
  EXPECT_EQ(ws.verilog.ModuleName, "test");
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

TEST(VerilogPage, TidyRenameAndThePrimitivesComments) {
  // clang-format off
  const std::pair<const char*, const char*> cases[] = {
      {"   nand g1(y,a,b);", "  nand g1(y,a,b);"}, {"      nand g1(y,a,b);", "  nand g1(y,a,b);"},
      {" input a;", " input a;"}, {"  input a;", " input a;"}, {"input a;", "input a;"},
      {"    endmodule", "endmodule"},
      {"  module m(a);", "module m(a);"}, {"   // note", " "}, {"", ""}};
  // clang-format on
  for (const auto& [line, tidy] : cases) EXPECT_EQ(TidyVerilogLine(line), tidy) << line;

  // The symbol's name goes on the last module line.
  RecordingHost host;
  Workspace ws(&host);
  const auto& syms = ws.circuit.Symbols;
  const int s = AddWired(ws, "adder1", 0, {}, {"module half (a,b,s,c);", " xor x(s,a,b);", "endmodule"});
  RenameModule(ws, s, "adder1");
  EXPECT_EQ(syms[s].VerilogLines[1], "module adder1(a,b,s,c);");
  const int t = AddWired(ws, "x", 0, {}, {"module old", "endmodule"});
  RenameModule(ws, t, "fresh");  // no "(" after the name: the line ends with the new name
  EXPECT_EQ(syms[t].Name + "|" + syms[t].VerilogLines[1], "fresh|module fresh");
  const int u = AddWired(ws, "u", 0, {}, {" nand g(y,a,b);"});
  RenameModule(ws, u, "u");
  EXPECT_EQ(host.LastStatus(0) + "|" + syms[u].VerilogLines[1], "Error : module not found !| nand g(y,a,b);");

  // A user symbol's text is tidied twice (before and after the rename): deep indentation
  // settles at one blank; tidied lines are stored back.
  const int v = AddWired(ws, "adder2", 0, {}, {"module half( a,b,s);", "   xor x(s,a,b);", "  endmodule"});
  const VerilogPage page = ShowVerilogPage(ws, v);
  EXPECT_EQ(page.Memo, (std::vector<std::string>{"module adder2( a,b,s);", " xor x(s,a,b);", "endmodule"}));
  EXPECT_EQ(page.NameField + "|" + syms[v].VerilogLines[2], "adder2| xor x(s,a,b);");
  const VerilogPage gate = ShowVerilogPage(ws, AddWired(ws, "and2", 0, {{"a", 0}, {"b", 0}, {"y", 0}}));
  EXPECT_EQ(gate.Memo,
            (std::vector<std::string>{"// Verilog Primitive \"and2\"", "// a,b: input", "// y: output"}));
  EXPECT_EQ(gate.NameField, "and2");
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
  const int g = AddWired(ws, "not", 101, {{"a", 1}, {"y", Node(ws, "w1")}});
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
  ASSERT_TRUE(RunUntil(ws, 30) && ws.engine.Running);
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

TEST(VerilogCli, HierarchicalExampleIsWrittenFlatAndGatePrimitiveNetlistsCompile) {
  TempDir dir;
  std::filesystem::copy_file(SourceRoot() / "examples/adder_2bit.sch", dir / "adder_2bit.sch");
  const auto r = RunCli("verilog " + Quote(dir / "adder_2bit.sch"));
  ASSERT_EQ(r.status, 0) << r.out;
  // Written beside the schematic by default (its text is checked with the other examples' outputs).
  EXPECT_NE(ReadFile(dir / "adder_2bit.txt").find("\nmodule adder_2bit("), std::string::npos);
  EXPECT_NE(r.out.find("Verilog description written in \""), std::string::npos);
  EXPECT_EQ(RunCli("verilog").status + RunCli("verilog " + Quote(dir / "missing.sch")).status, 2);
  // Examples made only of Verilog's own gate primitives (dreg, mux are ours) are valid Verilog.
  if (!HasIverilog()) GTEST_SKIP() << "iverilog is not installed";
  for (const std::string example : {"half_adder", "adder_2bit"}) {
    const auto out = dir / (example + ".v");
    ASSERT_EQ(RunCli("verilog " + Quote(SourceRoot() / "examples" / (example + ".sch")) + " -o " + Quote(out))
                  .status,
              0);
    EXPECT_EQ(std::system(("iverilog -o /dev/null " + Quote(out) + " 2>&1").c_str()), 0) << ReadFile(out);
  }
}

TEST(ToSymCli, RegeneratesTheShippedFullAdderSymbol) {
  TempDir dir;
  const auto tosym = [&](const char* example, const std::string& options) {
    return RunCli("tosym " + Quote(SourceRoot() / "examples" / example) + " --dir " + Quote(dir.path()) +
                  options);
  };
  auto r = tosym("full_adder.sch", " --order increasing");
  ASSERT_EQ(r.status, 0) << r.out;
  const auto dropDate = [](std::string text) {
    const auto b = text.find("DATE ");
    return text.erase(b, text.find('\n', b) - b);
  };
  EXPECT_EQ(dropDate(ReadFile(dir / "full_adder.sym")),
            dropDate(ReadFile(SourceRoot() / "examples/full_adder.sym")));
  ASSERT_EQ(tosym("half_adder.sch", " --name 'my-adder 2' --title Half").status, 0);
  const std::string text = ReadFile(dir / "my_adder2.sym");
  EXPECT_NE(text.find("SYM  #my-adder 2\r\n"), std::string::npos);
  EXPECT_NE(text.find("TITLE 10 10  #Half\r\n"), std::string::npos);
  // The design already holds symbols named full_adder: that name is refused.
  r = tosym("adder_2bit.sch", " --name full_adder");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("The module name \"full_adder\" is already used in the design. Save failed."),
            std::string::npos);
  EXPECT_EQ(RunCli("tosym x.sch --order sideways").status, 1);
}

// The portable netlist with delays and its testbench, run by Icarus Verilog, against
// qiro-cli simulate on the examples: every node must change to the same values at the same
// times (within one time unit). Button k follows its written stimulus, a clock of 10 k ns.
using Changes = std::vector<std::pair<double, char>>;  // time in ns, value (z read as x)

// Every 1-bit signal's value changes, same-time changes collapsed to the last one.
std::map<std::string, Changes> ReadVcd(const std::string& text) {
  std::istringstream in(text);
  std::map<std::string, std::string> names;  // id -> name
  std::map<std::string, Changes> out;
  std::string word, type, width, id, name;
  double scale = 1, now = 0;
  while (in >> word) {
    if (word == "$timescale" && in >> word) {
      scale = word.find("ps") != std::string::npos ? 1e-3 : word.find("fs") != std::string::npos ? 1e-6 : 1;
    } else if (word == "$var" && in >> type >> width >> id >> name) {
      names[id] = name;
    } else if (word[0] == '#') {
      now = std::stod(word.substr(1)) * scale;
    } else if (word.size() >= 2 && std::string("01xzXZ").find(word[0]) != std::string::npos &&
               names.count(word.substr(1))) {
      const char v = word[0] == '1' ? '1' : word[0] == '0' ? '0' : 'x';
      Changes& c = out[names[word.substr(1)]];
      if (!c.empty() && c.back().first == now) c.pop_back();
      if (c.empty() || c.back().second != v) c.push_back({now, v});
    }
  }
  return out;
}

TEST(PortableVcd, ExamplesChangeAsInQiro) {
  if (!HasIverilog()) GTEST_SKIP() << "iverilog is not installed";
  constexpr int kSteps = 400;
  for (const std::string example : {"half_adder", "counter"}) {
    SCOPED_TRACE(example);
    TempDir dir;
    const std::string sch = Quote(SourceRoot() / "examples" / (example + ".sch"));
    const auto net = RunCli("verilog " + sch + " --portable --delays --testbench -o " + Quote(dir / "net.v"));
    ASSERT_EQ(net.status, 0) << net.out;
    const std::string run = "cd " + Quote(dir.path()) + " && iverilog -o sim -P" + example +
                            "_tb.STEPS=" + std::to_string(kSteps) +
                            " net.v >log 2>&1 && vvp -n sim >>log 2>&1";
    ASSERT_EQ(std::system(run.c_str()), 0) << ReadFile(dir / "log");
    // Button k: 0 for 10 k steps from each multiple of 20 k steps, then 1 (as its clock).
    std::string toggles;
    for (int k = 1; k <= (example == "counter" ? 1 : 2); ++k)
      for (int s = 3, level = 0; s <= kSteps; ++s) {
        const int next = s % (20 * k) == 0 ? 0 : s % (20 * k) == 10 * k ? 1 : level;
        if (next != level) toggles += " --toggle button" + std::to_string(k) + "@" + std::to_string(s);
        level = next;
      }
    const auto sim = RunCli("simulate " + sch + " --until " + std::to_string(kSteps) + toggles +
                            " --vcd-nodes " + Quote(dir / "qiro.vcd"));
    ASSERT_EQ(sim.status, 0) << sim.out;
    const auto qiro = ReadVcd(ReadFile(dir / "qiro.vcd"));
    const auto icarus = ReadVcd(ReadFile(dir / (example + ".vcd")));
    ASSERT_GE(qiro.size(), 4u);
    for (const auto& [name, changes] : qiro) {
      if (name == "vdd" || name == "vss") continue;
      ASSERT_TRUE(icarus.count(name)) << name << " is not in the netlist's VCD";
      Changes theirs;
      for (const auto& c : icarus.at(name))
        if (c.first <= kSteps) theirs.push_back(c);
      ASSERT_EQ(changes.size(), theirs.size()) << name;
      for (std::size_t i = 0; i < changes.size(); ++i) {
        EXPECT_NEAR(changes[i].first, theirs[i].first, 1.0) << name << " change " << i;
        EXPECT_EQ(changes[i].second, theirs[i].second) << name << " change " << i;
      }
    }
  }
}

// The portable netlist against Qiro on random schematics: every gate family and width, the
// tri-state inverter, MOS switches, mux, D and JK registers, lut, supplies, ports sharing a node,
// odd names and a Verilog-described symbol. Each netlist (without and with delays) must compile
// in Icarus Verilog and give Qiro's output levels at the end of every input vector.
// Clock-like pins (register clocks and resets, mux selects) come straight from their own
// buttons, which change alone, so that the result never hangs on a race; tri-state and MOS
// drivers share a node only in complementary pairs (two enabled drivers are the one known
// difference). QIRO_PORTABLE_CIRCUITS sets how many circuits run (bench/portable_diff.sh).
constexpr const char* kOddNames[] = {
    "a b",  "1a",     "a.b",   "a-b",   "y'", "a[0]", "\xC3\xA9t\xC3\xA9", "input",
    "wire", "module", "begin", "nand3", "w4", "vdd",  "qiro_drive",        "dut"};
constexpr int kGates[] = {101, 111, 201, 202, 203, 204, 302, 303, 304, 402, 403, 404,
                          502, 503, 505, 602, 603, 604, 611, 612, 613, 615, 724};

// Builds the schematic: node k is a long horizontal wire at y = 20 k, every pin a point on it.
struct Builder {
  explicit Builder(Workspace& w) : ws(w) {}
  Workspace& ws;
  std::mt19937 rng;
  int x = 0, nodes = 2;
  std::vector<int> data;             // nodes that carry levels
  std::vector<int> controls;         // buttons that change alone
  std::vector<int> buttons, lights;  // symbols
  int Below(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }
  int NewNode() { return nodes++; }
  int Any() { return data[Below(static_cast<int>(data.size()))]; }
  int Symbol(const std::string& name, int model, const std::vector<int>& pins, int outputs) {
    const int s = ws.circuit.AddSymbol(name);
    ws.circuit.Symbols[s].Model = model;
    for (std::size_t k = 0; k < pins.size(); ++k) {
      const bool out = k + outputs >= pins.size();
      ws.circuit.AddPin(s, x += 10, 20 * pins[k], out ? 'O' : 'I', "p" + std::to_string(k + 1),
                        out ? 1 + Below(3) : 0, out ? 1 : 0, ws.tech);
    }
    return s;
  }
  std::string Name(const char* base, int n) {
    return Below(3) == 0 ? kOddNames[Below(std::size(kOddNames))] : base + std::to_string(n);
  }
  int Device(int model, int node, const std::string& name) {
    const int s = Symbol(model == 59 ? "button" : "light", model, {node}, model == 59 ? 1 : 0);
    ws.circuit.Symbols[s].Pin(1).Name = name;
    (model == 59 ? buttons : lights).push_back(s);
    return s;
  }
  int Control() {
    const int n = NewNode();
    controls.push_back(Device(59, n, "c" + std::to_string(n)));
    return n;
  }

  void Build(int seed) {
    rng.seed(static_cast<unsigned>(seed));
    Symbol("vss", 0, {0}, 1);
    Symbol("vdd", 1, {1}, 1);
    data = {0, 1, NewNode()};  // and one node nothing drives
    for (int i = 2 + Below(4); i > 0; --i) Device(59, data.emplace_back(NewNode()), Name("in", i));
    for (int i = 4 + Below(14); i > 0; --i) {
      const int out = NewNode();
      const int kind = Below(10), nq = kind == 2 || kind == 3 ? NewNode() : -1;
      if (kind == 0) {  // complementary pair on one node: notif1 / nmos / pmos
        const int e = Any(), ne = NewNode();
        Symbol("inv", 101, {e, ne}, 1);
        const bool direct = Below(2), nmos = Below(2);  // exactly one of the two conducts
        Symbol("notif1", 121, {Any(), direct ? e : ne, out}, 1);
        Symbol("switch", nmos ? 901 : 902, {Any(), direct == nmos ? ne : e, out}, 1);
      } else if (kind == 1) {
        Symbol("mux", 143, {Any(), Any(), Control(), out}, 1);
      } else if (kind == 2) {
        Symbol("dreg", 860, {Below(2) ? nq : Any(), Control(), Control(), out, nq}, 2);
      } else if (kind == 3) {
        Symbol("jk", 830, {Any(), Control(), Any(), Control(), Control(), out, nq}, 2);
      } else if (kind == 4) {  // a Verilog-described symbol: odd-input xnor and an internal wire
        const int s = Symbol("vsym", 6000, {Any(), Any(), Any(), out}, 1);
        BeginVerilogSymbol(ws);
        for (const char* line : {"module vsym(a, b, c, y);", "input a,b,c;", "output y;", "wire t;",
                                 "nand g1(t, a, b);", "xnor g2(y, t, c, a);", "endmodule"})
          ReadVerilogLine(ws, s, line);
      } else {
        const int model = kGates[Below(std::size(kGates))];
        const int inputs = model == 724 ? 4 : model < 200 ? 1 : model >= 600 ? model % 10 : model % 100;
        std::vector<int> pins(static_cast<std::size_t>(inputs));
        for (int& pin : pins) pin = Any();
        pins.push_back(out);
        const int s = Symbol("g", model, pins, 1);
        for (int w = 1; w <= 16; ++w) ws.circuit.Symbols[s].PropWords[w] = std::string(1, "01x"[Below(3)]);
      }
      if (nq >= 0) data.push_back(nq);
      data.push_back(out);
    }
    for (int i = 1 + Below(5); i > 0; --i) Device(49, Any(), Name("out", i));
    for (int n = 0; n < nodes; ++n) ws.circuit.AddWire(0, 20 * n, x + 10, 20 * n);
  }
};

// A testbench that applies the vectors every kPeriod steps and prints the lights' levels.
constexpr int kPeriod = 400;

TEST(PortableDifferential, RandomCircuitsMatchQiro) {
  if (!HasIverilog()) GTEST_SKIP() << "iverilog is not installed";
  const char* env = std::getenv("QIRO_PORTABLE_CIRCUITS");
  const int circuits = env ? std::atoi(env) : 30;
  TempDir dir;
  for (int seed = 1; seed <= circuits; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    RecordingHost host;
    Workspace ws(&host);
    Builder b(ws);
    b.Build(seed);
    ws.circuit.FileName = "rnd.sch";
    ExtractCircuit(ws);
    ws.verilog.ModuleName = "rnd";

    // Vectors: data buttons together, or one control button alone.
    std::string ins, outs;
    for (std::size_t k = 0; k < b.buttons.size(); ++k) ins += (k ? ", i" : "i") + std::to_string(k);
    for (std::size_t k = 0; k < b.lights.size(); ++k) outs += (k ? ", o" : "o") + std::to_string(k);
    std::string bench = "`timescale 1ns / 1ps\nmodule check;\n reg " + ins + ";\n wire " + outs +
                        ";\n rnd dut(" + ins + ", " + outs + ");\n initial begin\n";
    std::string expected;
    RunUntil(ws, 2);
    for (int v = 0; v < 24; ++v) {
      bench += v == 0 ? "  #3;" : " ";
      // Odd vectors change one control button, even ones the data buttons.
      const int control =
          v % 2 == 1 && !b.controls.empty() ? b.Below(static_cast<int>(b.controls.size())) : -1;
      for (std::size_t k = 0; k < b.buttons.size(); ++k) {
        const auto at = std::find(b.controls.begin(), b.controls.end(), b.buttons[k]);
        if (v > 0 && (v % 2 == 1 ? at - b.controls.begin() != control : at != b.controls.end())) continue;
        const bool high = v > 0 && b.Below(2) == 1;
        ws.circuit.Symbols[b.buttons[k]].Pin(1).Value = high ? kLogic1 : kLogic0;
        bench += " i" + std::to_string(k) + " = " + (high ? "1" : "0") + ";";
      }
      RunUntil(ws, 3 + v * kPeriod + kPeriod - 1);
      bench += " #" + std::to_string(kPeriod - 1) + ".5 $display(\"%b\", {" + outs + "}); #0.5;\n";
      for (int light : b.lights) expected += LevelChar(ws.nodes[ws.circuit.Symbols[light].Pin(1).Node].Value);
      expected += '\n';
    }
    WriteFile(dir / "bench.v", bench + "  $finish;\n end\nendmodule\n");

    for (const bool delays : {false, true}) {
      SCOPED_TRACE(delays ? "with delays" : "without delays");
      const std::string net = Joined(PortableVerilog(ws, {delays, false}, ""), "\n");
      WriteFile(dir / "net.v", net);
      const std::string cmd =
          "cd " + Quote(dir.path()) + " && iverilog -o sim net.v bench.v 2>log && vvp -n sim > out";
      ASSERT_EQ(std::system(cmd.c_str()), 0) << ReadFile(dir / "log") << net;
      std::string got = ReadFile(dir / "out");
      std::replace(got.begin(), got.end(), 'z', 'x');
      ASSERT_EQ(got, expected) << net << bench;
    }
  }
}

}  // namespace
}  // namespace qiro
