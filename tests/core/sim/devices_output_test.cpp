#include <gtest/gtest.h>

#include "core/sim/devices_test_support.h"
#include "core/test_support.h"
#include "sim/devices.h"

namespace qiro {
namespace {

using test::AddDevice;

TEST(DevicesOutput, DisplayRecordsItsValueAsABusAndNamesItsNodes) {
  Workspace ws;
  const int d = AddDevice(ws, "display1", kModelDisplay, {2, 3, 4, 5, 6, 7, 8, 9});
  PrepareDevices(ws);
  const TSymbol& s = ws.circuit.Symbols[d];
  ASSERT_EQ(s.TraceIndex, 1);
  EXPECT_TRUE(ws.chrono.Trace(1).isBus);
  EXPECT_EQ(
      ws.chrono.Trace(1).name,
      "display1(display1_1 display1_2 display1_3 display1_4 display1_5 display1_6 display1_7 display1_8 )");
  EXPECT_EQ(ws.nodes[9].Name, "display1_8");
  EXPECT_EQ(ws.nodes[9].Mark, 2);
  for (int n = 2; n <= 9; ++n) ws.nodes[n].Value = kLogic0;
  ws.nodes[2].Value = ws.nodes[9].Value = kLogic1;
  ws.nodes[5].Value = kLogicX;  // x counts as 0
  EXPECT_TRUE(UpdateDisplays(ws, 9, 20));
  EXPECT_FALSE(UpdateDisplays(ws, 10, 21));
  EXPECT_EQ(ws.chrono.Sample(1, 1), 129);
  EXPECT_EQ(DisplayValue(ws, d), 129);
}

TEST(DevicesOutput, DisplayFormats) {
  const int B = kBlankDigit;
  EXPECT_EQ(FormatDisplay(129, kFormatHex).digits, (std::array{8, 1, B, B}));
  EXPECT_EQ(FormatDisplay(129, kFormatUnsigned).digits, (std::array{B, 1, 2, 9}));
  EXPECT_EQ(FormatDisplay(5, kFormatUnsigned).digits, (std::array{B, B, B, 5}));
  EXPECT_EQ(FormatDisplay(105, kFormatUnsigned).digits, (std::array{B, 1, 0, 5}));
  EXPECT_EQ(FormatDisplay(0, kFormatUnsigned).digits, (std::array{B, B, B, 0}));

  const DisplayFace minus127 = FormatDisplay(129, kFormatSigned);
  EXPECT_TRUE(minus127.minus);
  EXPECT_EQ(minus127.digits, (std::array{B, 1, 2, 7}));
  EXPECT_FALSE(FormatDisplay(127, kFormatSigned).minus);
  EXPECT_EQ(FormatDisplay(255, kFormatSigned).digits, (std::array{B, B, B, 1}));

  // Fixed point: 129 is -127/128 = -0.992; 128 is -1; 64 is 0.5; 1 is 0.0078.
  EXPECT_EQ(FormatDisplay(129, kFormatFixedPoint), (DisplayFace{{B, 9, 9, 2}, true}));
  EXPECT_EQ(FormatDisplay(128, kFormatFixedPoint), (DisplayFace{{1, 0, 0, 0}, true}));
  EXPECT_EQ(FormatDisplay(64, kFormatFixedPoint), (DisplayFace{{B, 5, 0, 0}, false}));
  EXPECT_EQ(FormatDisplay(1, kFormatFixedPoint), (DisplayFace{{B, 0, 0, 8}, false}));

  EXPECT_EQ(FaceText(FormatDisplay(129, kFormatHex), kFormatHex), "81");
  EXPECT_EQ(FaceText(FormatDisplay(129, kFormatSigned), kFormatSigned), "-127");
  EXPECT_EQ(FaceText(FormatDisplay(129, kFormatFixedPoint), kFormatFixedPoint), "-0.992");
  EXPECT_EQ(FaceText(FormatDisplay(0xCB, kFormatHex), kFormatHex), "cb");

  Workspace ws;
  const int d = AddDevice(ws, "display1", kModelDisplay, {2, 3, 4, 5, 6, 7, 8, 9}, 5 | (2 << 6));
  for (int n = 2; n <= 9; ++n) ws.nodes[n].Value = kLogic1;
  EXPECT_EQ(DisplayShown(ws, d), (DisplayFace{{B, B, B, 1}, true}));
}

TEST(DevicesOutput, DigitAndSevenSegment) {
  Workspace ws;
  const int d = AddDevice(ws, "digit1", kModelDigit, {2, 3, 4, 5, 6});
  const int seg = AddDevice(ws, "7seg1", kModelSevenSeg, {2, 3, 4, 5, 7, 7, 7, 8});
  PrepareDevices(ws);
  EXPECT_EQ(ws.chrono.Trace(1).name, "digit1(digit1_1 digit1_2 digit1_3 digit1_4 )");
  EXPECT_EQ(ws.chrono.TraceCount(), 8);
  EXPECT_EQ(ws.circuit.Symbols[seg].TraceIndex, 8);
  ws.nodes[2].Value = kLogic1, ws.nodes[3].Value = kLogic0, ws.nodes[4].Value = kLogic1,
  ws.nodes[5].Value = kLogic1, ws.nodes[6].Value = kLogic0, ws.nodes[7].Value = kLogic0,
  ws.nodes[8].Value = kLogic0;
  EXPECT_EQ(DigitShown(ws, d), 0xB);
  EXPECT_TRUE(UpdateDisplays(ws, 6, 10));  // pin 5 (blanking) is watched too
  EXPECT_EQ(ws.chrono.Sample(1, 1), 0xB);
  EXPECT_EQ(ws.chrono.Sample(2, 1), 1);  // segment a
  EXPECT_EQ(ws.chrono.Sample(3, 1), 0);  // segment b
  EXPECT_EQ(SevenSegLit(ws, seg), 0b0001101);
  ws.nodes[6].Value = kLogic1;
  EXPECT_EQ(DigitShown(ws, d), kBlankDigit);
  ws.nodes[8].Value = kLogicX;
  EXPECT_EQ(SevenSegLit(ws, seg), 0);
  EXPECT_EQ(SegmentsOfDigit(8), 0x7F);
  EXPECT_EQ(SegmentsOfDigit(kBlankDigit), 0);
}

TEST(DevicesOutput, SevenSegmentPastTheTraceTableKeepsOtherTraces) {
  Workspace ws;
  for (int i = 1; i <= 28; ++i) AddDevice(ws, "light" + std::to_string(i), kModelLight, {2});
  const int seg = AddDevice(ws, "7seg1", kModelSevenSeg, {3, 3, 3, 3, 3, 3, 4, 5});
  PrepareDevices(ws);
  EXPECT_EQ(ws.circuit.Symbols[seg].TraceIndex, 32);
  ws.nodes[3].Value = kLogic1;
  ws.nodes[4].Value = kLogic0;
  UpdateDisplays(ws, 3, 10);
  for (int j = 1; j <= 28; ++j) EXPECT_EQ(ws.chrono.Sample(j, 1), 0) << j;
  EXPECT_EQ(ws.chrono.Sample(32, 1), 0);  // segment g
}

TEST(DevicesOutput, SwitchesRedrawWhenTheirGateChanges) {
  test::RecordingHost host;
  Workspace ws(&host);
  AddDevice(ws, "nmos", kModelNmos, {2, 3, 4});
  const int hidden = AddDevice(ws, "pmos", kModelPmos, {2, 3, 4});
  ws.circuit.Symbols[hidden].Internal = 1;
  AddDevice(ws, "pmos", kModelPmos, {3, 2, 4});
  UpdateSwitches(ws, 3);
  EXPECT_EQ(host.changedDevices, std::vector<int>{1});
}

}  // namespace
}  // namespace qiro
