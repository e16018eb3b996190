#include <gtest/gtest.h>

#include "core/sim/devices_test_support.h"
#include "core/test_support.h"
#include "sim/devices.h"

namespace qiro {
namespace {

using test::AddDevice;

std::string Levels(Workspace& ws, int node, int from, int to) {
  std::string out;
  for (int s = from; s <= to; ++s) {
    DriveSources(ws, s);
    out += LevelChar(ws.nodes[node].Value);
  }
  return out;
}

TEST(DevicesSources, ClockPhases) {
  Workspace ws;
  const int c = AddDevice(ws, "clock1", kModelClock, {2});
  ws.circuit.Symbols[c].PropWords[1] = "5";
  ws.circuit.Symbols[c].PropWords[2] = "5";
  PrepareDevices(ws);
  EXPECT_EQ(ws.nodes[2].DriveKind, kDrivePeriodic);
  // The held level starts at 0 (set by the delay-line allocation), the first period is cut short.
  ws.circuit.Symbols[c].Pin(1).Value = kLogic0;
  EXPECT_EQ(Levels(ws, 2, 3, 21),
            "00"
            "11111"
            "00000"
            "11111"
            "00");
  // t0 = 0 still gives one step at 0.
  ws.circuit.Symbols[c].PropWords[1] = "0";
  PrepareDevices(ws);
  EXPECT_EQ(ws.nodes[2].Param1, 1);
  EXPECT_EQ(ws.nodes[2].Param2, 5);
  EXPECT_EQ(Levels(ws, 2, 10, 15), "011110");
}

TEST(DevicesSources, ClockSamplesOnlyAtEdgesAndDefaultsApply) {
  Workspace ws;
  const int c = AddDevice(ws, "clock1", kModelClock, {2});  // words empty: 50 and 50 ns
  ws.tech.TimeUnit = 10;
  PrepareDevices(ws);
  EXPECT_EQ(ws.nodes[2].Param1, 5);
  EXPECT_EQ(ws.nodes[2].Param2, 10);
  const int trace = ws.circuit.Symbols[c].TraceIndex;
  ASSERT_EQ(trace, 1);
  EXPECT_EQ(ws.chrono.Trace(trace).name, "clock1_1 (clock1)");
  for (int s = 3; s <= 25; ++s) DriveSources(ws, s);
  ASSERT_EQ(ws.chrono.SampleCount(), 5);  // steps 5, 10, 15, 20, 25
  EXPECT_EQ(ws.chrono.SampleTime(1), 5);
  EXPECT_EQ(ws.chrono.Sample(trace, 1), 1);
  EXPECT_EQ(ws.chrono.Sample(trace, 2), 0);
}

TEST(DevicesSources, PiecewiseLinear) {
  Workspace ws;
  const int p = AddDevice(ws, "pwl1", kModelPwl, {2});
  auto& w = ws.circuit.Symbols[p].PropWords;
  w[1] = "10", w[2] = "1", w[3] = "20", w[4] = "0";
  PrepareDevices(ws);
  EXPECT_EQ(ws.nodes[2].DriveKind, kDrivePwl);
  EXPECT_EQ(Levels(ws, 2, 3, 22), std::string(8, '1') + std::string(12, '0'));
  // One sample every step.
  EXPECT_EQ(ws.chrono.SampleCount(), 20);
  // An unreadable time word ends the list (the words are read when the run starts).
  w[3] = "soon";
  w[4] = "1";
  PrepareDevices(ws);
  EXPECT_EQ(Levels(ws, 2, 9, 12), "1100");
}

TEST(DevicesSources, SineWrapsNegativeValuesAndNeverDividesByZero) {
  Workspace ws;
  const int s = AddDevice(ws, "sinus1", kModelSinus, {2, 3, 4, 5, 6, 7, 8, 9});
  auto& w = ws.circuit.Symbols[s].PropWords;
  w[1] = "100", w[2] = "40", w[3] = "10";
  PrepareDevices(ws);
  auto value = [&] {
    int v = 0;
    for (int k = 1; k <= 8; ++k)
      if (ws.nodes[k + 1].Value == kLogic1) v |= 1 << (k - 1);
    return v;
  };
  DriveSources(ws, 30);  // a quarter period before the end: sin = -1, 10 - 100 = -90
  EXPECT_EQ(value(), 166);
  DriveSources(ws, 10);
  EXPECT_EQ(value(), 110);
  EXPECT_EQ(ws.circuit.Symbols[s].Pin(2).Value, kLogic1);  // held levels follow

  // A period shorter than half a step rounds to 0 steps: the source holds its offset.
  w[2] = "0.4";
  PrepareDevices(ws);
  EXPECT_EQ(ws.nodes[2].Param2, 0);
  for (int step = 3; step < 8; ++step) {
    DriveSources(ws, step);
    EXPECT_EQ(value(), 10);
  }
  // So does a technology with a zero time unit.
  ws.tech.TimeUnit = 0;
  w[2] = "50";
  PrepareDevices(ws);
  DriveSources(ws, 7);
  EXPECT_GE(value(), 0);
}

TEST(DevicesSources, SuppliesButtonsAndKeyboardsDriveHeldLevels) {
  Workspace ws;
  AddDevice(ws, "vdd", kModelVdd, {1});
  AddDevice(ws, "vss", kModelVss, {0});
  const int b = AddDevice(ws, "button1", kModelButton, {2});
  const int k = AddDevice(ws, "kbd1", kModelKbd, {3, 4, 5, 6});
  PrepareDevices(ws);
  EXPECT_EQ(ws.nodes[1].DriveKind, kDriveHigh);
  EXPECT_EQ(ws.nodes[0].DriveKind, kDriveLow);
  ws.nodes[0].Value = ws.nodes[1].Value = kLogicX;
  ws.circuit.Symbols[b].Pin(1).Value = kLogic1;
  ws.circuit.Symbols[k].Pin(3).Value = kLogic1;
  DriveSources(ws, 3);
  EXPECT_EQ(ws.nodes[1].Value, kLogic1);
  EXPECT_EQ(ws.nodes[0].Value, kLogic0);
  EXPECT_EQ(ws.nodes[2].Value, kLogic1);
  EXPECT_EQ(ws.nodes[5].Value, kLogic1);
  EXPECT_EQ(KeyboardKey(ws, k), 4);
}

TEST(DevicesSources, ParameterWords) {
  bool ok = true;
  EXPECT_EQ(DeviceParameter("", 0, 10, 7, &ok), 7);
  EXPECT_FALSE(ok);
  EXPECT_EQ(DeviceParameter(" ", 0, 10, 7), 7);
  EXPECT_EQ(DeviceParameter("abc", 0, 10, 7), 7);
  EXPECT_EQ(DeviceParameter("2.5", 0, 10, 7, &ok), 2.5);
  EXPECT_TRUE(ok);
  EXPECT_EQ(DeviceParameter("1e3", 0, 10, 7), 7);
  EXPECT_EQ(DeviceParameter("250", 0, 100, 7), 100);
  EXPECT_EQ(DeviceParameter("-3", 0, 100, 7), 0);
}

}  // namespace
}  // namespace qiro
