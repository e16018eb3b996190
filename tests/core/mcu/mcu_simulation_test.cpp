// The example schematic simulated end to end: the 8051 counts on P1 and the display follows.
#include <gtest/gtest.h>

#include <regex>

#include "core/test_support.h"
#include "extract/extract.h"
#include "mcu/mcu_core.h"
#include "model/schematic_file.h"
#include "sim/engine.h"
#include "workspace.h"

namespace qiro {
namespace {

int SymbolNamed(const Workspace& ws, const std::string& name) {
  for (int i = 1; i <= ws.circuit.Symbols.Count(); ++i)
    if (ws.circuit.Symbols[i].Name == name) return i;
  return 0;
}

// The byte on eight pins (first pin = bit 7), or -1 when one of them is x.
int PortByte(const Workspace& ws, int symbol, int firstPin) {
  int value = 0;
  for (int p = firstPin; p < firstPin + 8; ++p) {
    const std::uint8_t v = ws.nodes[ws.circuit.Symbols[symbol].Pin(p).Node].Value;
    if (v == kLogicX) return -1;
    value = value * 2 + (v == kLogic1 ? 1 : 0);
  }
  return value;
}

class McuSimulation : public ::testing::TestWithParam<EngineKind> {
 protected:
  void SetUp() override {
    ws.SetHomeDir(test::SourceRoot());
    ClearSchematic(ws);
    ASSERT_TRUE(SchematicLoad(ws, test::SourceRoot() / "examples" / "mcu_counter.sch", kLoadOpen));
    ExtractCircuit(ws);
    ws.engine.Kind = GetParam();
    mcu = SymbolNamed(ws, "i8051");
    display = SymbolNamed(ws, "display1");
    ASSERT_GT(mcu, 0);
    ASSERT_GT(display, 0);
  }
  Workspace ws;
  int mcu = 0, display = 0;
};

TEST_P(McuSimulation, CounterReachesTheDisplayAfterReset) {
  // Clock period 20 steps, rising at steps 30, 50, ...; reset released after step 20.
  ASSERT_TRUE(RunUntil(ws, 25));
  EXPECT_EQ(PortByte(ws, display, 1), -1);  // held in reset: P1 drives nothing
  EXPECT_EQ(ws.mcu.Program[0], 0x78);       // assembled at the start of the run

  // One count every 5 instructions (100 steps); count 1 leaves the core at step 110.
  ASSERT_TRUE(RunUntil(ws, 1000));
  EXPECT_EQ(PortByte(ws, display, 1), 9);
  EXPECT_EQ(PortByte(ws, mcu, kMcuP1Pin), 9);
  ASSERT_TRUE(RunUntil(ws, 1100));
  EXPECT_EQ(PortByte(ws, display, 1), 10);
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

}  // namespace
}  // namespace qiro

namespace qiro {
namespace {

// Through qiro-cli: the count on the display, then the keyboard's key once the button is on.
TEST(McuSimulationCli, ExampleCountsThenShowsTheKey) {
  const auto r = test::RunCli("simulate '" + (test::SourceRoot() / "examples" / "mcu_counter.sch").string() +
                              "' --until 1400 --expect b0=1@1000 --expect b1=0@1000 --expect b3=1@1000"
                              " --key kbd1=6@1000 --toggle button1@1050 --expect b0=0@1400 --expect b1=1@1400"
                              " --expect b2=1@1400 --expect b3=0@1400 --expect b7=0@1400");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("display display1=06"), std::string::npos) << r.out;
}

// The example keeps counting for as long as it runs: its reset source lets go for good.
TEST(McuSimulationCli, ExampleStillCountsLongAfterItsFirstTwoHundredMicroseconds) {
  const auto root = test::SourceRoot();
  std::string display[2];
  for (int k = 0; k < 2; ++k) {
    const std::string until = k == 0 ? "300000" : "400000";
    SCOPED_TRACE(until);
    const auto r =
        test::RunCli("simulate '" + (root / "examples" / "mcu_counter.sch").string() + "' --until " + until);
    EXPECT_EQ(r.status, 0) << r.out;
    // The CPU time in the last status varies from run to run.
    const std::string out = std::regex_replace(r.out, std::regex("CPU time= [0-9]+s"), "CPU time= *s");
    EXPECT_EQ(out, test::ReadFile(root / "tests/golden/mcu" / ("mcu_counter_" + until + ".txt")));
    display[k] = r.out.substr(r.out.find("display display1="));
  }
  EXPECT_NE(display[0], display[1]);
}

}  // namespace
}  // namespace qiro
