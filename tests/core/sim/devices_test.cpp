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

TEST_F(Devices, ClockDefaultsAndSamplesOnlyAtEdges) {
  const int c = Add("clock1", kModelClock, {2});  // words empty: 50 and 50 ns
  ws.tech.TimeUnit = 10;
  PrepareDevices(ws);
  ASSERT_EQ(Sym(c).TraceIndex, 1);
  EXPECT_EQ(std::tuple(ws.nodes[2].Param1, ws.nodes[2].Param2, ws.chrono.Trace(1).name),
            std::tuple(5, 10, "clock1_1 (clock1)"));
  Levels(2, 3, 25);
  EXPECT_EQ(Samples(1), "5:1 10:0 15:1 20:0 25:1 ");
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

TEST_F(Devices, SuppliesButtonsAndKeyboardsDriveHeldLevels) {
  Add("vdd", kModelVdd, {1});
  Add("vss", kModelVss, {0});
  const int b = Add("button1", kModelButton, {2});
  const int k = Add("kbd1", kModelKbd, {3, 4, 5, 6});
  PrepareDevices(ws);
  EXPECT_EQ(std::tuple(ws.nodes[1].DriveKind, ws.nodes[0].DriveKind), std::tuple(kDriveHigh, kDriveLow));
  Set(0, "xx");
  Sym(b).Pin(1).Value = Sym(k).Pin(3).Value = kLogic1;
  DriveSources(ws, 3);  // keyboard pins never clicked stay x
  EXPECT_EQ(Nodes(0, 7) + std::to_string(KeyboardKey(ws, k)), "011xx1x4");
}

TEST(DeviceParameter, UnreadableWordsTakeTheDefaultAndNumbersAreClamped) {
  bool empty = true, number = false;
  EXPECT_EQ(std::pair(DeviceParameter("", 0, 10, 7, &empty), DeviceParameter("2.5", 0, 10, 7, &number)),
            std::pair(7.0, 2.5));
  EXPECT_TRUE(!empty && number);
  for (auto [word, v] :
       {std::pair<const char*, double>{" ", 7}, {"abc", 7}, {"1e3", 7}, {"250", 100}, {"-3", 0}})
    EXPECT_EQ(DeviceParameter(word, 0, 100, 7), v) << word;
}

TEST_F(Devices, DisplayRecordsItsValueAsABusAndNamesItsNodes) {
  const int d = Add("display1", kModelDisplay, {2, 3, 4, 5, 6, 7, 8, 9});
  PrepareDevices(ws);
  ASSERT_EQ(Sym(d).TraceIndex, 1);
  EXPECT_TRUE(ws.chrono.Trace(1).isBus);
  EXPECT_EQ(
      ws.chrono.Trace(1).name,
      "display1(display1_1 display1_2 display1_3 display1_4 display1_5 display1_6 display1_7 display1_8 )");
  EXPECT_EQ(ws.nodes[9].Name + std::to_string(ws.nodes[9].Mark), "display1_82");
  Set(2, "100x0001");  // x counts as 0
  EXPECT_TRUE(UpdateDisplays(ws, 9, 20));
  EXPECT_FALSE(UpdateDisplays(ws, 10, 21));
  EXPECT_EQ(std::pair(int(ws.chrono.Sample(1, 1)), DisplayValue(ws, d)), std::pair(129, 129));
  Sym(d).Vis = 5 | (2 << 6);  // signed
  Set(2, "11111111");
  EXPECT_EQ(DisplayShown(ws, d), (DisplayFace{{kBlankDigit, kBlankDigit, kBlankDigit, 1}, true}));
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

TEST_F(Devices, DigitAndSevenSegment) {
  const int d = Add("digit1", kModelDigit, {2, 3, 4, 5, 6});
  const int seg = Add("7seg1", kModelSevenSeg, {2, 3, 4, 5, 7, 7, 7, 8});
  PrepareDevices(ws);
  EXPECT_EQ(ws.chrono.Trace(1).name, "digit1(digit1_1 digit1_2 digit1_3 digit1_4 )");
  EXPECT_EQ(std::pair(ws.chrono.TraceCount(), Sym(seg).TraceIndex), std::pair(8, 8));
  Set(2, "1011000");
  EXPECT_EQ(DigitShown(ws, d), 0xB);
  EXPECT_TRUE(UpdateDisplays(ws, 6, 10));  // pin 5 (blanking) is watched too
  // The digit's value, then segments a and b.
  EXPECT_EQ(std::tuple(ws.chrono.Sample(1, 1), ws.chrono.Sample(2, 1), ws.chrono.Sample(3, 1),
                       SevenSegLit(ws, seg)),
            std::tuple(0xB, 1, 0, 0b0001101));
  Set(6, "1");
  Set(8, "x");
  EXPECT_EQ(std::tuple(DigitShown(ws, d), SevenSegLit(ws, seg)), std::tuple(kBlankDigit, 0));
  EXPECT_EQ(std::tuple(SegmentsOfDigit(8), SegmentsOfDigit(kBlankDigit)), std::tuple(0x7F, 0));
}

TEST_F(Devices, SevenSegmentPastTheTraceTableKeepsOtherTraces) {
  for (int i = 1; i <= 28; ++i) Add("light" + std::to_string(i), kModelLight, {2});
  const int seg = Add("7seg1", kModelSevenSeg, {3, 3, 3, 3, 3, 3, 4, 5});
  PrepareDevices(ws);
  EXPECT_EQ(Sym(seg).TraceIndex, 32);
  Set(3, "10");
  UpdateDisplays(ws, 3, 10);
  for (int j = 1; j <= 28; ++j) EXPECT_EQ(ws.chrono.Sample(j, 1), 0) << j;
  EXPECT_EQ(ws.chrono.Sample(32, 1), 0);  // segment g
}

TEST_F(Devices, SwitchesRedrawWhenTheirGateChanges) {
  Add("nmos", kModelNmos, {2, 3, 4});
  Sym(Add("pmos", kModelPmos, {2, 3, 4})).Internal = 1;
  Add("pmos", kModelPmos, {3, 2, 4});
  UpdateSwitches(ws, 3);
  EXPECT_EQ(host.changedDevices, std::vector<int>{1});
}

TEST(DevicesClick, KeyFromTheClickPosition) {
  // Next to x2 farthest from y2, next to x1 and y2, inside, on the far corner, a flat
  // rectangle, left of a reversed rectangle (column 0).
  const Rect rec{100, 200, 140, 240};
  // clang-format off
  const std::tuple<Rect, int, int, int> cases[] = {
      {rec, 139, 201, 15}, {rec, 101, 239, 0}, {rec, 111, 229, 5}, {rec, 140, 200, 15},
      {Rect{100, 200, 100, 240}, 100, 210, 0}, {Rect{140, 200, 100, 240}, 90, 210, 12}};
  // clang-format on
  for (const auto& [r, x, y, key] : cases) EXPECT_EQ(KeyAt(r, x, y), key) << x << "," << y;
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

TEST_F(Devices, KeyboardClickSetsHeldLevelsForTheNextStep) {
  const int k = Add("kbd1", kModelKbd, {2, 3, 4, 5});
  Place(k, Rect{100, 200, 140, 240});
  PrepareDevices(ws);
  Set(2, "0000");
  DeviceClick(ws, 131, 211, 50);  // column 3, row 2: key 11
  EXPECT_EQ(host.LastStatus(0), "Keyboard kbd1 at 131,211");
  EXPECT_EQ(std::tuple(KeyboardKey(ws, k), int(ws.chrono.Sample(1, 1)), Nodes(2, 4)),
            std::tuple(11, 11, "0000"));
  DriveSources(ws, 51);  // nodes follow at the next step
  EXPECT_EQ(Nodes(2, 4), "1101");
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

TEST(SimulateCli, HalfAdderTruthTable) {
  test::TempDir dir;
  const auto r = RunCli("simulate " + Example("half_adder.sch") + " --until 80 --vcd " +
                        (dir / "t.vcd").string() + " --vcd-nodes " + (dir / "n.vcd").string() +
                        " --expect sum=0@18 --expect carry=0@18"
                        " --toggle button1@20 --expect sum=1@38 --expect carry=0@38"
                        " --toggle button2@40 --expect sum=0@58 --expect carry=1@58"
                        " --toggle button1@60 --expect sum=1@78 --expect carry=0@78");
  EXPECT_EQ(r.status, 0) << r.out;
  // The button is clicked between steps 19 and 20: its trace changes at 19, its node at 20.
  const std::string traces = test::ReadFile(dir / "t.vcd"), nodes = test::ReadFile(dir / "n.vcd");
  for (const auto& [text, part] : {std::pair{&r.out, "expect sum=0@58 ok\nexpect carry=1@58 ok\n"},
                                   {&r.out, "step 80\nlight sum=1\nlight carry=0\n"},
                                   {&traces, "$var wire 1 \" a_(button1) $end"},
                                   {&traces, "#19\n1\"\n"},
                                   {&nodes, "$var wire 1 # a $end"},
                                   {&nodes, "#20\n1#\n"}})
    EXPECT_NE(text->find(part), std::string::npos) << part << " in\n" << *text;
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
