// Every table driven past its capacity through the ordinary operations: loading files,
// placing library symbols, extraction and simulation. The counts stop at the limits, the
// load reports the overflow, and what was kept writes and reads back whole. Run under the
// sanitizers these also show that nothing is written outside a table.
#include <gtest/gtest.h>
#include <unistd.h>

#include "core/test_support.h"
#include "editor/clipboard.h"
#include "extract/extract.h"
#include "model/schematic_file.h"
#include "sim/engine.h"
#include "workspace.h"

namespace qiro {
namespace {

using test::RecordingHost;
using test::TempDir;
using test::WriteFile;

std::string Block(const std::string& name, int model, int x, int y, const std::string& body,
                  const std::string& prop = "") {
  return "SYM  #" + name + "\nBB(" + std::to_string(x) + "," + std::to_string(y) + "," +
         std::to_string(x + 20) + "," + std::to_string(y + 20) + ")\nTITLE 0 0  #t\nMODEL " +
         std::to_string(model) + "\nPROP   " + prop + " \nREC(0,0,0,0,r)\nVIS 1\n" + body + "FSYM\n";
}

std::string Pin(int x, int y, const std::string& name, bool output = false) {
  return "PIN(" + std::to_string(x) + "," + std::to_string(y) + (output ? ",1.000,1.000)" : ",0.000,0.000)") +
         name + "\n";
}

// Symbols, contacts, wires, labels and assembly lines held.
std::string Counts(const Circuit& c) {
  return std::to_string(c.Symbols.Count()) + " " + std::to_string(c.Contacts.Count()) + " " +
         std::to_string(c.Wires.Count()) + " " + std::to_string(c.Labels.Count()) + " " +
         std::to_string(c.AsmLines.Count());
}

struct Stress : ::testing::Test {
  RecordingHost host;
  Workspace ws{&host};
  TempDir dir;

  bool Load(const std::string& text, const std::string& name = "big.sch") {
    WriteFile(dir / name, text);
    ClearSchematic(ws);
    return SchematicLoad(ws, dir / name, kLoadOpen);
  }
};

TEST_F(Stress, LoadFillsTheSchematicTablesAndTheRestIsRefused) {
  std::string text = "QIRO 2.3c\nBB(0,0,100,100)\n";
  for (int i = 0; i < 2049 + 5; ++i) text += Block("and2", 402, i * 40, 0, Pin(i * 40, 5, "a"));
  for (int i = 0; i < 512 + 3; ++i) text += "CNC(" + std::to_string(i * 5) + " 900)\n";
  for (int i = 0; i < 2500 + 3; ++i)
    text += "LIG(" + std::to_string(i * 5) + ",1000," + std::to_string(i * 5) + ",1010)\n";
  for (int i = 0; i < 64 + 3; ++i)
    text += "TEXT " + std::to_string(i * 50) + " 1100  #label" + std::to_string(i) + "\n";
  for (int i = 0; i < 256 + 3; ++i) text += "MEM nop ; " + std::to_string(i) + "\n";
  EXPECT_FALSE(Load(text));
  EXPECT_EQ(host.LastStatus(), "Error loading " + (dir / "big.sch").string());
  const Circuit& c = ws.circuit;
  EXPECT_EQ(Counts(c), "2048 512 2500 64 256");
  EXPECT_EQ(c.Symbols[2048].Pin(1).X, 2047 * 40) << "the first 2048 blocks are the ones kept";
  EXPECT_EQ(c.AsmLines[256], " nop ; 255");

  // What was kept makes a full file that reads back whole, without any error.
  ASSERT_TRUE(SchematicWrite(ws, dir / "full.sch"));
  ClearSchematic(ws);
  EXPECT_TRUE(SchematicLoad(ws, dir / "full.sch", kLoadOpen)) << host.LastStatus();
  EXPECT_EQ(Counts(c), "2048 512 2500 64 256");
}

TEST_F(Stress, SymbolBlockLimits) {
  std::string pins, lines, verilog;
  for (int i = 1; i <= 205; ++i) pins += Pin(0, i * 5, "p" + std::to_string(i));
  for (int i = 1; i <= 105; ++i) lines += "LIG(0," + std::to_string(i) + ",10," + std::to_string(i) + ")\n";
  for (int i = 1; i <= 600; ++i) verilog += "VLG // line " + std::to_string(i) + "\n";
  const std::string text = "QIRO 2.3c\nBB(0,0,100,100)\n" + Block("many_pins", 6000, 0, 0, pins) +
                           Block("many_lines", 6000, 100, 0, lines + verilog);
  EXPECT_FALSE(Load(text));
  const TSymbol& a = ws.circuit.Symbols[1];
  EXPECT_EQ(std::to_string(a.PinCount) + a.Pin(199).Name + "|" + a.Pin(200).Name, "200p199|");

  // Separately, so the pin overflow's error code does not stop the lines from being stored.
  EXPECT_FALSE(Load("QIRO 2.3c\nBB(0,0,100,100)\n" + Block("many_lines", 6000, 100, 0, lines + verilog)));
  const TSymbol& b = ws.circuit.Symbols[1];
  EXPECT_EQ(std::pair(b.InnerLineCount, b.VerilogLineCount), std::pair(100, 600));
  EXPECT_EQ(b.VerilogLine(512) + "|" + b.VerilogLine(513), "// line 512|");

  // The writer stops at the stored lines; the file reads back to the same symbol.
  ASSERT_TRUE(SchematicWrite(ws, dir / "back.sch"));
  ClearSchematic(ws);
  SchematicLoad(ws, dir / "back.sch", kLoadOpen);
  EXPECT_EQ(std::to_string(ws.circuit.Symbols[1].VerilogLineCount) + ws.circuit.Symbols[1].VerilogLine(512),
            "512// line 512");
}

TEST_F(Stress, PlacingUntilTheSymbolTableIsFullThenExtractingAndSimulating) {
  const auto and2 = test::SourceRoot() / "IEEE" / "and2.SYM";
  ClearSchematic(ws);
  for (int i = 0; i < 2048; ++i)
    ASSERT_TRUE(SchematicLoad(ws, and2, kLoadSymbol, 100 + (i % 64) * 60, 100 + (i / 64) * 50)) << i;
  EXPECT_FALSE(SchematicLoad(ws, and2, kLoadSymbol, 0, 4000));
  EXPECT_EQ(std::to_string(ws.circuit.Symbols.Count()) + host.LastStatus(),
            "2048Error loading " + and2.string());

  // Three unconnected pins per gate need far more than 2047 nodes.
  host.errors.clear();
  ExtractCircuit(ws);
  ASSERT_FALSE(host.errors.empty());
  EXPECT_EQ(std::to_string(ws.nodes.Count()) + host.errors.front(), "2048Too many nodes.");
  int unnumbered = 0;
  for (const TSymbol& s : ws.circuit.Symbols)
    for (int k = 1; k <= s.PinCount; ++k) unnumbered += s.Pin(k).Node < 0;
  EXPECT_GT(unnumbered, 0);

  // A run over pins without nodes must neither crash nor touch other pins' cells.
  RunUntil(ws, 200);
  StopSimulation(ws);
}

TEST_F(Stress, PastingUntilTheTablesAreFull) {
  ClearSchematic(ws);
  ASSERT_TRUE(SchematicLoad(ws, test::SourceRoot() / "examples" / "counter.sch", kLoadOpen));
  ASSERT_GT(CutArea(ws, -30000, -30000, 30000, 30000), 0);
  const Circuit& c = ws.circuit;
  for (int i = 0; i < 1000 && !c.Wires.Full(); ++i) {
    MoveClipboard(ws, ws.editor.refX + 500, ws.editor.refY + (i % 2) * 5);
    PasteClipboard(ws);
    ASSERT_LE(c.Symbols.Count(), kMaxSymbols);
    ASSERT_LE(c.Contacts.Count(), kMaxContacts);
    ASSERT_LE(c.Labels.Count(), kMaxLabels);
  }
  // Wires come first in a paste, so they fill their table however early the (silent) label
  // table stops the rest; the error is shown and its code cleared.
  EXPECT_TRUE(c.Wires.Full() && c.Labels.Full());
  host.errors.clear();
  PasteClipboard(ws);
  EXPECT_EQ(host.errors, std::vector<std::string>{"Too many lines."});
  EXPECT_EQ(c.ErrorCode, 0);

  // Whatever fitted is a schematic like any other.
  ExtractCircuit(ws);
  ASSERT_TRUE(SchematicWrite(ws, dir / "pasted.sch"));
  const std::string counts = Counts(c);
  ClearSchematic(ws);
  SchematicLoad(ws, dir / "pasted.sch", kLoadOpen);
  EXPECT_EQ(Counts(c), counts);
}

TEST_F(Stress, DelayCellsRunOutBeforeAnyLineIsAllocated) {
  const auto and2 = test::SourceRoot() / "IEEE" / "and2.SYM";
  ClearSchematic(ws);
  for (int i = 0; i < 40; ++i) SchematicLoad(ws, and2, kLoadSymbol, 100 + i * 60, 100);
  ws.tech.TimeUnit = 0.0001;  // every gate delay becomes the per-pin maximum of 10000 steps
  host.errors.clear();
  EXPECT_FALSE(RunUntil(ws, 10) || ws.engine.Running);
  ASSERT_FALSE(host.errors.empty());
  EXPECT_EQ(host.errors.back(), "Too many delay. Please decrease the timing unit in simulation option.");
  EXPECT_LE(ws.engine.Cursor, kMaxDelayCells + 1);
}

// Resident memory in KiB.
long ResidentKiB() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

TEST_F(Stress, MillionStepsKeepTracesTimePointsAndCurrentWithinTheirTables) {
  // 33 fast clocks, each traced, each driving an inverter whose rising outputs feed the
  // current estimate.
  std::string text = "QIRO 2.3c\nBB(0,0,100,100)\n";
  for (int i = 0; i < 33; ++i) {
    const int x = i * 100;
    text += Block("clock" + std::to_string(i + 1), 69, x, 0, Pin(x + 30, 10, "clk", true),
                  std::to_string(1 + i % 3) + ".000 " + std::to_string(2 + i % 5) + ".000");
    text += Block("not", 301, x + 40, 0, Pin(x + 40, 10, "a") + Pin(x + 70, 10, "y", true));
    text += "LIG(" + std::to_string(x + 30) + ",10," + std::to_string(x + 40) + ",10)\n";
  }
  ASSERT_TRUE(Load(text)) << host.LastStatus();
  ExtractCircuit(ws);
  ws.SetHost(nullptr);  // the recording host would grow by itself
  ASSERT_TRUE(RunUntil(ws, 200000));
  const long before = ResidentKiB();
  ASSERT_TRUE(RunUntil(ws, 1000000));
  EXPECT_EQ(ws.engine.StepCount, 1000000);
  StopSimulation(ws);

  const ChronoStore& chrono = ws.chrono;
  EXPECT_EQ(chrono.TraceCount(), 32);
  EXPECT_TRUE(chrono.SampleCount() > 2 && chrono.SampleCount() <= kMaxTimePoints) << chrono.SampleCount();
  for (int k = 2; k <= chrono.SampleCount(); ++k)
    ASSERT_LT(chrono.SampleTime(k - 1), chrono.SampleTime(k)) << k;
  EXPECT_GT(chrono.SampleTime(chrono.SampleCount()), 990000) << "the latest points are the ones kept";

  const CurrentStore& current = ws.current;
  EXPECT_TRUE(current.CurIndex() >= 1 && current.CurIndex() <= kMaxCurrentEntries) << current.CurIndex();
  int used = 0;
  for (int k = 1; k <= kMaxCurrentEntries; ++k) {
    used += current.CurTime(k) != 0;
    if (k > 1 && current.CurTime(k) != 0 && current.CurTime(k - 1) != 0) {
      ASSERT_LE(current.CurTime(k - 1), current.CurTime(k)) << k;
    }
  }
  EXPECT_TRUE(used > 1000 && current.MaxCurrent() > 0) << used;

#if !defined(__SANITIZE_ADDRESS__)
  // Freed memory sits in the sanitizer's quarantine, so only a plain build can watch this.
  EXPECT_LT(ResidentKiB() - before, 4096) << "memory grew during a long run";
#else
  (void)before;
#endif
}

}  // namespace
}  // namespace qiro
