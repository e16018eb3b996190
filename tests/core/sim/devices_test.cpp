// The stimulus, display and clicked devices on symbols whose pins sit on given nodes, and qiro-cli
// simulate on the shipped examples.
#include <gtest/gtest.h>

#include "core/sim/devices_test_support.h"
#include "core/test_support.h"
#include "sim/devices.h"

namespace qiro {
namespace {

using test::RunCli;

class Devices : public ::testing::Test {
 protected:
  int Add(const std::string& name, int model, std::initializer_list<int> nodes, int vis = 5) {
    return test::AddDevice(ws, name, model, nodes, vis);
  }
  TSymbol& Sym(int i) { return ws.circuit.Symbols[i]; }
  // Nodes from, from + 1, ... set to or read as a text of '1', '0', 'x'.
  void Set(int from, const std::string& levels) {
    for (char c : levels) ws.nodes[from++].Value = c == '1' ? kLogic1 : c == '0' ? kLogic0 : kLogicX;
  }
  std::string Nodes(int from, int count) {
    std::string out;
    for (int n = from; n < from + count; ++n) out += LevelChar(ws.nodes[n].Value);
    return out;
  }
  // A node's levels over steps from..to, driving the sources at each.
  std::string Levels(int node, int from, int to) {
    std::string out;
    for (int s = from; s <= to; ++s) {
      DriveSources(ws, s);
      out += LevelChar(ws.nodes[node].Value);
    }
    return out;
  }
  // A trace's samples as "time:value ...".
  std::string Samples(int trace) {
    std::string out;
    for (int k = 1; k <= ws.chrono.SampleCount(); ++k)
      out += std::to_string(ws.chrono.SampleTime(k)) + ":" + std::to_string(ws.chrono.Sample(trace, k)) + " ";
    return out;
  }
  void Place(int i, Rect r) { Sym(i).BBox = Sym(i).Rec = r; }

  test::RecordingHost host;
  Workspace ws{&host};
};

TEST_F(Devices, ClockPhases) {
  const int c = Add("clock1", kModelClock, {2});
  Sym(c).PropWords[1] = Sym(c).PropWords[2] = "5";
  PrepareDevices(ws);
  EXPECT_EQ(ws.nodes[2].DriveKind, kDrivePeriodic);
  // The held level starts at 0 (set by the delay-line allocation), the first period is cut short.
  Sym(c).Pin(1).Value = kLogic0;
  EXPECT_EQ(Levels(2, 3, 21), "0011111000001111100");
  Sym(c).PropWords[1] = "0";  // t0 = 0 still gives one step at 0
  PrepareDevices(ws);
  EXPECT_EQ(std::pair(ws.nodes[2].Param1, ws.nodes[2].Param2), std::pair(1, 5));
  EXPECT_EQ(Levels(2, 10, 15), "011110");
}

TEST_F(Devices, PiecewiseLinear) {
  const int p = Add("pwl1", kModelPwl, {2});
  auto& w = Sym(p).PropWords;
  w[1] = "10", w[2] = "1", w[3] = "20", w[4] = "0";
  PrepareDevices(ws);
  EXPECT_EQ(ws.nodes[2].DriveKind, kDrivePwl);
  EXPECT_EQ(Levels(2, 3, 22), "11111111000000000000");
  EXPECT_EQ(ws.chrono.SampleCount(), 20);  // one sample every step
  w[3] = "soon", w[4] = "1";               // an unreadable time word ends the list
  PrepareDevices(ws);                      // the words are read when a run starts
  EXPECT_EQ(Levels(2, 9, 12), "1100");
}

TEST_F(Devices, SineWrapsNegativeValuesAndNeverDividesByZero) {
  const int s = Add("sinus1", kModelSinus, {2, 3, 4, 5, 6, 7, 8, 9});
  auto& w = Sym(s).PropWords;
  w[1] = "100", w[2] = "40", w[3] = "10";
  PrepareDevices(ws);
  auto value = [&] {
    int v = 0;
    for (int k = 1; k <= 8; ++k) v |= (ws.nodes[k + 1].Value == kLogic1) << (k - 1);
    return v;
  };
  DriveSources(ws, 30);  // a quarter period before the end: sin = -1, 10 - 100 = -90
  const int late = value();
  DriveSources(ws, 10);
  EXPECT_EQ(std::pair(late, value()), std::pair(166, 110));
  EXPECT_EQ(Sym(s).Pin(2).Value, kLogic1);  // held levels follow
  // A period shorter than half a step rounds to 0 steps: the source holds its offset.
  w[2] = "0.4";
  PrepareDevices(ws);
  EXPECT_EQ(ws.nodes[2].Param2, 0);
  for (int step = 3; step < 8; ++step) {
    DriveSources(ws, step);
    EXPECT_EQ(value(), 10);
  }
  ws.tech.TimeUnit = 0;  // so does a technology with a zero time unit
  w[2] = "50";
  PrepareDevices(ws);
  DriveSources(ws, 7);
  EXPECT_GE(value(), 0);
}

TEST(DisplayFormat, DigitsSignAndText) {
  // Value, format, the face ('-' for the minus sign, '_' for a blank digit), its text.
  // Fixed point: 129 is -127/128 = -0.992; 128 is -1; 64 is 0.5; 1 is 0.0078.
  const struct {
    int value, format;
    const char *face, *text;
  } cases[] = {// clang-format off
      {129, kFormatHex, "81__", "81"}, {0xCB, kFormatHex, "CB__", "cb"}, {0, kFormatUnsigned, "___0", "0"},
      {129, kFormatUnsigned, "_129", "129"}, {5, kFormatUnsigned, "___5", "5"},
      {105, kFormatUnsigned, "_105", "105"},
      {129, kFormatSigned, "-_127", "-127"}, {127, kFormatSigned, "_127", "127"},
      {255, kFormatSigned, "-___1", "-1"},
      {129, kFormatFixedPoint, "-_992", "-0.992"}, {128, kFormatFixedPoint, "-1000", "-1.000"},
      {64, kFormatFixedPoint, "_500", "0.500"}, {1, kFormatFixedPoint, "_008", "0.008"}};
  // clang-format on
  for (const auto& c : cases) {
    const DisplayFace f = FormatDisplay(c.value, c.format);
    std::string face = f.minus ? "-" : "";
    for (int d : f.digits) face += d == kBlankDigit ? '_' : "0123456789ABCDEF"[d];
    EXPECT_EQ(face, c.face) << c.value << " " << c.format;
    EXPECT_EQ(FaceText(f, c.format), c.text) << c.value << " " << c.format;
  }
}

TEST_F(Devices, ScriptedClickPointsLandOnTheirDeviceAndKey) {
  const int k = Add("kbd1", kModelKbd, {2, 3, 4, 5});
  Place(k, Rect{100, 200, 140, 240});
  const int b = Add("button1", kModelButton, {6});
  Place(b, Rect{110, 210, 130, 220});  // on top of the keyboard's middle
  int x = 0, y = 0;
  for (int key = 0; key < 16; ++key) {
    ASSERT_TRUE(ClickPointOf(ws, k, key, x, y)) << key;
    EXPECT_EQ(KeyAt(Sym(k).Rec, x, y), key);
    EXPECT_TRUE(x < 112 || x > 128 || y < 212 || y > 218) << key;  // not under the button
  }
  EXPECT_TRUE(ClickPointOf(ws, b, 0, x, y) && x == 120) << x;
  Place(b, Rect{90, 190, 150, 250});  // now it hides the whole keyboard
  EXPECT_FALSE(ClickPointOf(ws, k, 3, x, y));
}

TEST_F(Devices, DigitTraceRecordsItsBitsPinOneFirst) {
  const int d = Add("digit1", kModelDigit, {2, 3, 4, 5}, 1 | 16 | 32);
  PrepareDevices(ws);
  ASSERT_GT(Sym(d).TraceIndex, 0);
  Set(2, "1011");
  EXPECT_TRUE(UpdateDisplays(ws, 3, 4));
  EXPECT_EQ(ws.chrono.Sample(Sym(d).TraceIndex, ws.chrono.SampleCount()), 0xB);
}

TEST_F(Devices, ButtonTogglesAndLightFollowsAtOnceWithPauseOnEdge) {
  const int b = Add("button1", kModelButton, {2});
  Place(b, Rect{0, 0, 20, 20});
  const int light = Add("light1", kModelLight, {2}, 1 | 16 | 32);
  Sym(light).Pin(1).Name = "out";
  ws.tech.TimeUnit = 0.5;
  PrepareDevices(ws);
  Sym(b).Pin(1).Value = kLogic0;
  ws.nodes[2].Value = ws.nodes[2].PrevValue = kLogic0;
  const int lightTrace = Sym(light).TraceIndex;

  EXPECT_TRUE(DeviceClick(ws, 10, 10, 81));
  EXPECT_TRUE(host.ShowedStatus("Button button1 at 10,10"));
  EXPECT_EQ(host.LastStatus(0), "Pause simulation at a rise edge of out at time 41ns");
  EXPECT_EQ(
      std::tuple(ws.nodes[2].Value, ws.nodes[2].Level, ws.chrono.Sample(lightTrace, ws.chrono.SampleCount()),
                 ws.chrono.Sample(Sym(b).TraceIndex, 1)),
      std::tuple(kLogic1, 1.0, 1, 1));
  // The second click brings it back to 0; the node's previous value was 0, so no edge.
  EXPECT_FALSE(DeviceClick(ws, 10, 10, 82));
  EXPECT_EQ(std::tuple(ws.nodes[2].Value, ws.chrono.Sample(lightTrace, ws.chrono.SampleCount())),
            std::tuple(kLogic0, 0));
  // A falling edge seen by the scan of a later step (the click's own edge is not paused on twice).
  ws.engine.ClickedNode = -1;
  ws.nodes[2].PrevValue = kLogic1;
  EXPECT_TRUE(NodeChanged(ws, 2, 90));
  EXPECT_EQ(host.LastStatus(0), "Pause simulation at a fall edge of out at time 45ns");
}

TEST_F(Devices, ClickElsewhereTellsThePinLevel) {
  const int g = Add("nand2", 202, {2, 3, 4});
  Place(g, Rect{0, -10, 40, 10});
  Sym(g).Title = "U1";
  Set(3, "10");
  DeviceClick(ws, 20, 0, 5);  // pin 2 sits at (20, 0)
  EXPECT_EQ(host.LastStatus(1), "Click in nand2(U1), pin 2, \"1\"");
  // A pin on the box edge, where pins usually stand, answers too (within a unit of it).
  Sym(g).Pin(3).X = 40;
  Sym(g).Pin(3).Y = 0;
  DeviceClick(ws, 41, 1, 5);
  EXPECT_EQ(host.LastStatus(1), "Click in nand2(U1), pin 3, \"0\"");
  host.statuses.clear();  // off any symbol nothing happens
  EXPECT_FALSE(DeviceClick(ws, 500, 500, 5));
  EXPECT_TRUE(host.statuses.empty());
}

// qiro-cli simulate on the shipped examples: scripted clicks, checks and waveform files (the
// counter and the keyboard run through qiro-cli test and their golden files).

std::string Example(const std::string& name) {
  return test::Quote(test::SourceRoot() / "examples" / name);
}

TEST(SimulateCli, FailedChecksAndBadArguments) {
  const auto r = RunCli("simulate " + Example("half_adder.sch") +
                        " --until 30 --expect sum=1@20 --expect nosuch=0@20 --expect sum=0@40");
  EXPECT_EQ(r.status, 3) << r.out;
  for (const char* line : {"expect sum=1@20 FAILED got 0\n", "expect nosuch=0@20 FAILED got no such node\n",
                           "expect sum=0@40 FAILED got not reached\n"})
    EXPECT_NE(r.out.find(line), std::string::npos) << r.out;

  // No --until, a bad level, a device that cannot be clicked, a missing file.
  for (const std::string& args :
       {Example("half_adder.sch"), Example("half_adder.sch") + " --until 9 --expect sum=2@5",
        Example("half_adder.sch") + " --until 9 --toggle light1@5",
        std::string("/nonexistent/x.sch --until 9")})
    EXPECT_EQ(RunCli("simulate " + args).status, 1) << args;
}

}  // namespace
}  // namespace qiro
