// Extraction of circuits built in code: node numbers and names, pins on wires, dots and
// switches, fanout and delays, floating lines, the expansion of Verilog-described symbols, qiro-cli
// extract and check, and the indexed extraction against the reference.
#include "extract/extract.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "core/sim/devices_test_support.h"
#include "core/test_support.h"
#include "extract/connectivity.h"
#include "extract/verilog_expand.h"
#include "model/schematic_file.h"
#include "workspace.h"

namespace qiro {
namespace {

using test::RunCli;
using test::SourceRoot;

struct PinSpec {
  int x, y;
  char kind = 'I';
  std::string name = "a";
  double delay = 0;  // delay factor; outputs usually 1
  double load = 0;
};

class Extract : public ::testing::Test {
 protected:
  int Symbol(const std::string& name, int model, const std::vector<PinSpec>& pins) {
    const int s = ws.circuit.AddSymbol(name);
    ws.circuit.Symbols[s].Model = model;
    for (const PinSpec& p : pins) ws.circuit.AddPin(s, p.x, p.y, p.kind, p.name, p.delay, p.load, ws.tech);
    return s;
  }
  // A two-input gate with inputs at (x, y) and (x, y + 10) and its output at (x + 30, y + 5).
  int Gate(int x, int y) {
    return Symbol("and2", 102, {{x, y, 'I', "a"}, {x, y + 10, 'I', "b"}, {x + 30, y + 5, 'O', "y", 1, 1}});
  }
  int Wire(int x1, int y1, int x2, int y2) { return ws.circuit.AddWire(x1, y1, x2, y2); }
  TPin& Pin(int s, int k) { return ws.circuit.Symbols[s].Pin(k); }
  int NodeOf(int s, int k) { return Pin(s, k).Node; }
  TLine& WireAt(int w) { return ws.circuit.Wires[w]; }
  // Which pins share a node: for each pin the number of the first pin on its node, e.g. "1212".
  std::string Joined(int s) {
    std::string out;
    for (int k = 1; k <= ws.circuit.Symbols[s].PinCount; ++k)
      for (int j = 1; j <= k; ++j)
        if (NodeOf(s, j) == NodeOf(s, k)) {
          out += std::to_string(j);
          break;
        }
    return out;
  }
  void Run() {
    ws.circuit.Extracted = false;
    ExtractCircuit(ws);
  }
  test::RecordingHost host;
  Workspace ws{&host};
};

TEST_F(Extract, GeneratedNamesSkipTheNamesOfDevicePins) {
  // A light named w2 on the output: the gate's second input must not be called w2 too.
  const int g = Gate(0, 0);
  Symbol("light1", 49, {{30, 5, 'I', "w2"}});
  Run();
  EXPECT_EQ(
      ws.nodes.NodeName(NodeOf(g, 1)) + ws.nodes.NodeName(NodeOf(g, 2)) + ws.nodes.NodeName(NodeOf(g, 3)),
      "w1w3w2");
}

// A net view or a search leaves wires and symbols highlighted; the extraction after the next
// edit must still join them (they once came out as nets of their own, or as no node at all).
TEST_F(Extract, HighlightedWiresAndSymbolsStillConnect) {
  const int touching = Symbol("buf", 111, {{130, 0, 'I', "a"}, {160, 0, 'O', "y", 1, 1}});
  const int g1 = Gate(0, 0), g2 = Gate(100, -5);
  const int plain = Wire(30, 5, 60, 5), lit = Wire(60, 5, 100, 5);
  WireAt(lit).State = kHighlight2;
  ws.circuit.Symbols[g2].State = kHighlight2;
  Run();
  const int n = NodeOf(g1, 3);
  EXPECT_EQ(std::tuple(WireAt(plain).Node, WireAt(lit).Node, NodeOf(g2, 2)), std::tuple(n, n, n));
  EXPECT_EQ(NodeOf(touching, 1), NodeOf(g2, 3));
}

TEST_F(Extract, EmptySchematicStaysUnextractedAndAFullNodeTableIsAnError) {
  ExtractCircuit(ws);
  EXPECT_FALSE(ws.circuit.Extracted);
  EXPECT_EQ(host.LastStatus(0), "Circuit extracted, 1 nodes, 0 symbols");
  for (int i = 0; i < 1100; ++i) Symbol("t", 500, {{i * 10, 0, 'I', "a"}, {i * 10, 5, 'I', "b"}});
  Run();  // the pin that overflows takes the last node
  EXPECT_EQ(host.errors, (std::vector<std::string>{"Too many nodes."}));
  EXPECT_EQ(std::to_string(ws.extraction.ResultCode) + " " + host.LastStatus(1), "4 Circuit contains error");
  EXPECT_EQ(std::tuple(ws.nodes.Count(), NodeOf(1024, 2), NodeOf(1025, 1)),
            std::tuple(kMaxNodes, kMaxNodes, -1));
  ws.circuit.Symbols.Truncate(10);
  Run();
  EXPECT_EQ(std::to_string(ws.extraction.ResultCode) + " " + host.LastStatus(1), "0 Circuit OK");
}

struct FloatingHost : test::RecordingHost {
  void ShowFloatingLine(const Rect& v, int x, int y) override { view = v, mx = x, my = y; }
  Rect view{};
  int mx = 0, my = 0;
};

TEST_F(Extract, FloatingLines) {
  FloatingHost fh;
  ws.SetHost(&fh);
  Gate(0, 0);
  Gate(100, 0);
  // Output to input through three wires: none floats, the middle one touches no pin.
  const int chain[] = {Wire(30, 5, 60, 5), Wire(60, 5, 60, 40), Wire(60, 40, 100, 40)};
  Wire(100, 40, 100, 0);
  const int dangling = Wire(0, 0, -40, 0);     // pin at its start only
  const int hanging = Wire(-40, 10, 0, 10);    // pin at its end only
  const int through = Wire(100, -20, 100, 5);  // pin a of h in its middle, both ends free
  EXPECT_EQ(CheckFloatingLinesCommand(ws), "3 line(s) floating. Keep smiling.");
  for (int w : chain) EXPECT_EQ(WireAt(w).State, kNormal);
  EXPECT_EQ(std::tuple(WireAt(dangling).EndFlags, WireAt(hanging).EndFlags, WireAt(through).EndFlags),
            std::tuple(1, 2, 0));
  EXPECT_EQ(WireAt(through).State, kHighlight);
  EXPECT_EQ(fh.view, (Rect{70, -50, 130, 35}));
  int px = 0, py = 0;  // halves cut toward zero
  ASSERT_TRUE(FloatingMark(ws, px, py));
  EXPECT_EQ(std::tuple(fh.mx, fh.my, px, py), std::tuple(100, -7, 100, -7));
  EXPECT_EQ(ws.status[0], "3 line(s) floating. Keep smiling.");
  ResetHighlight(ws);  // Escape, Unselect All
  EXPECT_FALSE(FloatingMark(ws, px, py)) << "the mark goes with the highlight";
  // Mending the drawing clears the highlight at the next extraction.
  for (int w : {dangling, hanging, through}) WireAt(w).State = kDeleted;
  ws.circuit.Touch();
  EXPECT_EQ(CheckFloatingLinesCommand(ws), "No floating line in this design.");
  int code = 0;
  EXPECT_EQ(CheckFloatingLines(ws, code), 0);
  EXPECT_EQ(code, 0);
}

class VerilogExpand : public ::testing::Test {
 protected:
  // A model 6000 symbol titled title whose pins sit on fresh nodes named after them.
  int Add(const std::string& title, const std::vector<std::string>& pins,
          const std::vector<std::string>& lines) {
    std::vector<std::pair<std::string, int>> wired;
    int err = 0;
    for (const std::string& name : pins) wired.push_back({name, ws.nodes.AddNode(name, err)});
    const int s = test::AddWired(ws, title, 6000, wired, lines);
    ws.circuit.Symbols[s].Title = title;
    return s;
  }
  void Expand() {
    ExpandVerilogSymbols(ws);
    NumberInternalWires(ws);
  }
  // A generated gate: "model name title internal | name kind node delay ...".
  std::string Dump(int s) {
    const TSymbol& g = ws.circuit.Symbols[s];
    std::string out =
        std::to_string(g.Model) + " " + g.Name + " " + g.Title + " " + std::to_string(g.Internal) + " |";
    for (int k = 1; k <= g.PinCount; ++k)
      out += " " + g.Pin(k).Name + " " + g.Pin(k).Kind + std::to_string(g.Pin(k).Node) + " " +
             std::to_string(int(g.Pin(k).DelayFactor));
    return out;
  }
  Workspace ws;
};

TEST_F(VerilogExpand, DelayGroupsHeaderContinuationsAndTheStartLine) {
  // A header broken over two lines may begin like a gate name; it is no instance.
  Add("d", {"a", "b", "y"}, {"module d( a,b,", " or_x,y);", "xor #(3) x1(y, a, b);", "inverter n(q, y);"});
  // Expansion starts at the module line; module numbers restart.
  const int v = Add("s", {"a", "y"}, {"not old(y, a);", "module s(a, y);", "buf b(y, a);"});
  ws.circuit.Symbols[v].VerilogStart = 2;
  Expand();
  ASSERT_EQ(ws.circuit.Symbols.Count(), 5);
  EXPECT_EQ(Dump(3).substr(0, 10) + Dump(3).substr(Dump(3).find("y O")), "602 x1_d_1y O4 1");
  // A prefix-only primitive name has no model.
  EXPECT_EQ(std::tuple(ws.circuit.Symbols[4].Model, ws.circuit.Symbols[5].Model, ws.extraction.ModuleNumber),
            std::tuple(0, 111, 3));
}

// qiro-cli extract and check on the shipped examples (golden outputs checked by hand against
// the drawings) and on small drawings written for the purpose.

using test::Quote;

TEST(ExtractCli, ExamplesMatchTheirGoldenOutput) {
  const std::filesystem::path root = SourceRoot();
  for (const char* name : {"half_adder", "counter", "keyboard_digit", "jk_toggle", "sine_display"}) {
    SCOPED_TRACE(name);
    const std::string sch = Quote(root / "examples" / (std::string(name) + ".sch"));
    const auto r = RunCli("extract " + sch + " --tech " + Quote(root / "default.tec")),
               check = RunCli("check " + sch);
    EXPECT_EQ(r.status + check.status, 0);
    EXPECT_EQ(r.out, test::ReadFile(root / "tests/golden/extract" / (std::string(name) + ".txt")));
    EXPECT_EQ(check.out, "No floating line in this design.\n");
  }
}

TEST(ExtractCli, FloatingWiresAndErrorsSetTheExitStatus) {
  test::TempDir dir;
  Workspace ws;
  int s = ws.circuit.AddSymbol("t");
  ws.circuit.Symbols[s].Model = 500;
  ws.circuit.AddPin(s, 0, 0, 'I', "a", 0, 0, ws.tech);
  ws.circuit.AddWire(0, 0, 50, 0);
  ASSERT_TRUE(SchematicWrite(ws, dir / "floating.sch"));
  auto r = RunCli("check " + Quote(dir / "floating.sch"));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "1 line(s) floating. Keep smiling.\n");

  // More unconnected pins than the node table holds.
  for (int i = 0; i < 1100; ++i) {
    ws.circuit.Symbols[s = ws.circuit.AddSymbol("t")].Model = 500;
    for (int y : {100, 110}) ws.circuit.AddPin(s, 100 + 10 * i, y, 'I', "a", 0, 0, ws.tech);
  }
  ASSERT_TRUE(SchematicWrite(ws, dir / "big.sch"));
  r = RunCli("extract " + Quote(dir / "big.sch"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("error: Too many nodes."), std::string::npos);
  EXPECT_NE(r.out.find("verdict: Circuit contains error\n"), std::string::npos);

  for (const std::string& args :
       {"extract " + Quote(dir / "big.sch") + " --tech " + Quote(dir / "absent.tec"), std::string("extract"),
        "check " + Quote(dir / "absent.sch")})
    EXPECT_EQ(RunCli(args).status, 1) << args;
}

// The indexed extraction must match the whole-table reference exactly on random drawings.
struct Shape {
  int span;  // coordinates in -span..span
  int step;  // on this grid
  int symbols, wires, contacts;
};

// Random drawing with many coincident points: pins on pins, wire ends on wires and dots,
// slanted wires, long wires, supplies, devices, switches, deleted and highlighted entries.
void Generate(Circuit& c, const Technology& tech, std::mt19937& rng, const Shape& shape) {
  std::uniform_int_distribution<int> coord(-shape.span / shape.step, shape.span / shape.step);
  std::vector<std::pair<int, int>> hubs;
  auto point = [&]() {
    if (!hubs.empty() && rng() % 3 == 0) return hubs[rng() % hubs.size()];
    std::pair<int, int> p{coord(rng) * shape.step, coord(rng) * shape.step};
    hubs.push_back(p);
    return p;
  };
  static constexpr int kModels[] = {0, 1, 102, 103, 201, 49, 59, 69, 85, 89, 702, 710, 6000, 500};
  for (int i = 0; i < shape.symbols; ++i) {
    const int s = c.AddSymbol("s" + std::to_string(i));
    TSymbol& sym = c.Symbols[s];
    sym.Model = kModels[rng() % std::size(kModels)];
    if (rng() % 15 == 0) sym.State = kHighlight;
    if (rng() % 20 == 0) sym.State = kDeleted;
    if (rng() % 20 == 0) sym.Internal = 1;
    sym.PropWords[1] = std::to_string(rng() % 2) + std::to_string(rng() % 2) + "1" +
                       std::to_string(rng() % 2) + std::to_string(rng() % 2) + std::to_string(rng() % 2);
    const int pins = 1 + static_cast<int>(rng() % 5);
    for (int k = 1; k <= pins; ++k) {
      auto [x, y] = point();
      const bool out = k == pins && rng() % 2;
      c.AddPin(s, x, y, out ? 'O' : 'I', rng() % 8 == 0 ? "" : "p" + std::to_string(k), out ? 1.0 : 0.0, 1.0,
               tech);
    }
  }
  for (int i = 0; i < shape.wires; ++i) {
    auto [x1, y1] = point();
    auto [x2, y2] = point();
    if (rng() % 2)
      x2 = x1;  // mostly straight wires
    else if (rng() % 2)
      y2 = y1;
    if (const int w = c.AddWire(x1, y1, x2, y2)) {
      const unsigned r = rng() % 20;
      c.Wires[w].State = r == 0 ? kDeleted : r == 1 ? kHighlight : r == 2 ? kHighlight2 : kNormal;
    }
  }
  for (int i = 0; i < shape.contacts; ++i) {
    auto [x, y] = point();
    c.AddContact(x, y);
  }
}

// What extraction decides, as text: pin nodes and fanouts, wire nodes, ends and states, dot
// nodes, node names and drivers, the port lists, the verdict and the status.
std::string Dump(const Workspace& ws) {
  std::ostringstream o;
  const Circuit& c = ws.circuit;
  for (int s = 1; s <= c.Symbols.Count(); ++s)
    for (int k = 1; k <= c.Symbols[s].PinCount; ++k)
      o << "p" << s << "." << k << "=" << c.Symbols[s].Pin(k).Node << "/" << c.Symbols[s].Pin(k).Fanout
        << " ";
  for (int w = 1; w <= c.Wires.Count(); ++w)
    o << "w" << w << "=" << c.Wires[w].Node << "/" << int(c.Wires[w].EndFlags) << "/" << int(c.Wires[w].State)
      << " ";
  for (int i = 1; i <= c.Contacts.Count(); ++i) o << "d" << i << "=" << c.Contacts[i].Node << " ";
  for (int n = 0; n <= ws.nodes.Count(); ++n)
    o << "n" << n << "=" << ws.nodes[n].Name << "/" << ws.nodes[n].Drivers << " ";
  for (const auto& name : ws.extraction.InputNames) o << "in " << name << " ";
  for (const auto& name : ws.extraction.OutputNames) o << "out " << name << " ";
  o << ws.extraction.ResultCode;
  for (const auto& text : ws.status) o << "|" << text;
  return o.str();
}

TEST(ExtractDifferential, IndexedMatchesReferenceOnRandomDrawings) {
  const Shape shapes[] = {
      {40, 5, 30, 60, 20},     // crowded: most points shared
      {600, 20, 80, 150, 40},  // several grid cells
      {3000, 5, 60, 120, 30},  // sparse, long wires crossing many cells
  };
  int seed = 0;
  for (const Shape& shape : shapes) {
    for (int round = 0; round < 60; ++round, ++seed) {
      std::mt19937 rng(static_cast<unsigned>(seed));
      Workspace indexed, reference;
      Generate(indexed.circuit, indexed.tech, rng, shape);
      reference.circuit = indexed.circuit;
      ExtractCircuit(indexed);
      ExtractCircuitReference(reference);
      ASSERT_EQ(Dump(indexed), Dump(reference)) << "seed " << seed;
    }
  }
}

TEST_F(Extract, ProgrammableSwitchesJoinTheirPins) {
  auto square = [&](int model, int x, const std::string& word) {
    const int s = Symbol("pip", model, {{x, 0}, {x, 20}, {x + 20, 0}, {x + 20, 20}});
    ws.circuit.Symbols[s].PropWords[1] = word;
    return s;
  };
  const int closed = square(702, 0, "1"), open = square(702, 100, "0");
  const int matrix = square(710, 200, "0001017");  // links 4-3 and 1-2; the 7th character is ignored
  std::vector<int> single;                         // each other link of the matrix alone
  for (const char* word : {"1", "01", "001", "00001"})
    single.push_back(square(710, 300 + 100 * int(single.size()), word));
  Run();
  EXPECT_EQ(Joined(closed) + " " + Joined(open) + " " + Joined(matrix), "1111 1212 1133");
  EXPECT_EQ(Joined(single[0]) + " " + Joined(single[1]) + " " + Joined(single[2]) + " " + Joined(single[3]),
            "1214 1232 1231 1224");
  EXPECT_EQ(ws.circuit.Wires.Count(), 0) << "the switch wires are temporary";
}

}  // namespace
}  // namespace qiro
