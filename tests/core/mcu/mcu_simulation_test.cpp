// The example schematic simulated end to end (the 8051 counts on P1 and the display follows),
// and qiro-cli asm against golden files.
#include <gtest/gtest.h>

#include <regex>

#include "core/test_support.h"
#include "extract/extract.h"
#include "mcu/intel_hex.h"
#include "mcu/mcu_core.h"
#include "model/schematic_file.h"
#include "sim/engine.h"
#include "workspace.h"

namespace qiro {
namespace {

using test::ReadFile;
using test::RunCli;
using test::SourceRoot;

class McuSimulation : public ::testing::TestWithParam<EngineKind> {
 protected:
  void SetUp() override {
    ws.SetHomeDir(SourceRoot());
    ClearSchematic(ws);
    ASSERT_TRUE(SchematicLoad(ws, SourceRoot() / "examples" / "mcu_counter.sch", kLoadOpen));
    ExtractCircuit(ws);
    ws.engine.Kind = GetParam();
    for (int i = 1; i <= ws.circuit.Symbols.Count(); ++i)
      (ws.circuit.Symbols[i].Name == "i8051"      ? mcu
       : ws.circuit.Symbols[i].Name == "display1" ? display
                                                  : i) = i;
    ASSERT_GT(mcu, 0);
    ASSERT_GT(display, 0);
  }
  // The byte on eight pins (first pin = bit 7), or -1 when one of them is x.
  int PortByte(int symbol, int firstPin) {
    int value = 0;
    for (int p = firstPin; p < firstPin + 8; ++p) {
      const std::uint8_t v = ws.nodes[ws.circuit.Symbols[symbol].Pin(p).Node].Value;
      if (v == kLogicX) return -1;
      value = value * 2 + (v == kLogic1 ? 1 : 0);
    }
    return value;
  }
  Workspace ws;
  int mcu = 0, display = 0;
};

TEST_P(McuSimulation, CounterReachesTheDisplayAfterReset) {
  // Clock period 20 steps, rising at steps 30, 50, ...; reset released after step 20.
  ASSERT_TRUE(RunUntil(ws, 25));
  EXPECT_EQ(PortByte(display, 1), -1);  // held in reset: P1 drives nothing
  EXPECT_EQ(ws.mcu.Program[0], 0x78);   // assembled at the start of the run
  // One count every 5 instructions (100 steps); count 1 leaves the core at step 110.
  ASSERT_TRUE(RunUntil(ws, 1000));
  EXPECT_EQ(PortByte(display, 1), 9);
  EXPECT_EQ(PortByte(mcu, kMcuP1Pin), 9);
  ASSERT_TRUE(RunUntil(ws, 1100));
  EXPECT_EQ(PortByte(display, 1), 10);
}

INSTANTIATE_TEST_SUITE_P(BothEngines, McuSimulation,
                         ::testing::Values(EngineKind::Reference, EngineKind::Fast));

TEST(McuSimulationLimits, UnconnectedClockAndResetDoNothing) {
  Workspace ws;
  ClearSchematic(ws);
  int s = ws.circuit.AddSymbol("i8051");
  ws.circuit.Symbols[s].Model = 2051;
  for (int p = 1; p <= kMcuPinCount; ++p)
    ws.circuit.AddPin(s, 0, p * 10, p < 4 ? 'I' : 'O', "p" + std::to_string(p), p < 4 ? 0.0 : 2.0, 0.0,
                      ws.tech);
  ws.circuit.AddAsmLine(" mov 90h,#0FFh");
  ExtractCircuit(ws);
  ASSERT_TRUE(RunUntil(ws, 200));
  EXPECT_EQ(ws.mcu.Pc, 0);
  EXPECT_EQ(ws.mcu.Opcode, 0);
}

// Through qiro-cli: the count on the display, then the keyboard's key once the button is on.
TEST(McuSimulationCli, ExampleCountsThenShowsTheKey) {
  const auto r = RunCli("simulate '" + (SourceRoot() / "examples" / "mcu_counter.sch").string() +
                        "' --until 1400 --expect b0=1@1000 --expect b1=0@1000 --expect b3=1@1000"
                        " --key kbd1=6@1000 --toggle button1@1050 --expect b0=0@1400 --expect b1=1@1400"
                        " --expect b2=1@1400 --expect b3=0@1400 --expect b7=0@1400");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("display display1=06"), std::string::npos) << r.out;
}

// The example keeps counting for as long as it runs: its reset source lets go for good.
TEST(McuSimulationCli, ExampleStillCountsLongAfterItsFirstTwoHundredMicroseconds) {
  std::string display[2];
  for (int k = 0; k < 2; ++k) {
    const std::string until = k == 0 ? "300000" : "400000";
    const auto r =
        RunCli("simulate '" + (SourceRoot() / "examples/mcu_counter.sch").string() + "' --until " + until);
    EXPECT_EQ(r.status, 0) << r.out;
    // The CPU time in the last status varies from run to run.
    EXPECT_EQ(std::regex_replace(r.out, std::regex("CPU time= [0-9]+s"), "CPU time= *s"),
              ReadFile(SourceRoot() / "tests/golden/mcu" / ("mcu_counter_" + until + ".txt")));
    display[k] = r.out.substr(r.out.find("display display1="));
  }
  EXPECT_NE(display[0], display[1]);
}

TEST(AsmCli, ExampleSchematicMatchesItsGoldenListingAndHex) {
  test::TempDir dir;
  const auto r = RunCli("asm '" + (SourceRoot() / "examples/mcu_counter.sch").string() + "' --hex '" +
                        (dir / "out.hex").string() + "'");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, ReadFile(SourceRoot() / "tests/golden/mcu/mcu_counter.lst"));
  EXPECT_EQ(ReadFile(dir / "out.hex"), ReadFile(SourceRoot() / "tests/golden/mcu/mcu_counter.hex"));
}

TEST(AsmCli, PlainAssemblyFileAndBadArguments) {
  test::TempDir dir;
  const std::string p = "asm '" + (dir / "p.asm").string() + "'",
                    bad = "asm '" + (dir / "bad.asm").string() + "'";
  test::WriteFile(dir / "p.asm", "start: inc a\r\n ajmp start\r\n");
  auto r = RunCli(p);
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out.substr(0, r.out.find("List of symbols")),
            "0000   04          >start: inc a\n0001   01 00       > ajmp start\n");
  EXPECT_NE(r.out.find(".START 0000\n"), std::string::npos);
  // Problems are listed; only --strict makes them fail the command.
  test::WriteFile(dir / "bad.asm", "foo r9,#300\n");
  r = RunCli(bad);
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("**** line 1: unknown mnemonic R9\n"), std::string::npos) << r.out;
  EXPECT_EQ(RunCli(bad + " --strict").status, 1);
  EXPECT_EQ(RunCli(p + " --strict").status, 0);
  for (const std::string& args :
       {"asm '" + (dir / "missing.sch").string() + "'", std::string("asm"), p + " --hex"})
    EXPECT_EQ(RunCli(args).status, 1) << args;
}

TEST(IntelHex, RecordsChecksumsAndTrailingZeros) {
  std::vector<std::uint8_t> memory(40, 0);
  EXPECT_EQ(FormatIntelHex(memory), ":00000001FF\r\n");
  for (int i = 0; i < 17; ++i) memory[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i + 1);
  EXPECT_EQ(FormatIntelHex(memory),
            ":100000000102030405060708090A0B0C0D0E0F1068\r\n:0100100011DE\r\n:00000001FF\r\n");
}

}  // namespace
}  // namespace qiro
