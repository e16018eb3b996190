#include <gtest/gtest.h>

#include "extract_fixture.h"

namespace qiro {
namespace {

using test::ExtractFixture;

TEST_F(ExtractFixture, FanoutCountsEveryOtherPinOnTheNode) {
  ws.tech.WireDelayUnit = 0.5;
  const int driver = Gate(0, 0);                                     // output at (30, 5)
  const int a = Gate(60, 5);                                         // input a on the net
  const int other = Symbol("buf", 201, {{30, 40, 'O', "y", 1, 1}});  // a second output
  const int light = Symbol("light1", 49, {{90, 40, 'I', "l"}});
  const int verilog = Symbol("top", 6000, {{60, 40, 'O', "q", 1, 1}});
  const int idle = Gate(0, 100);
  Wire(30, 5, 60, 5);
  Wire(30, 5, 30, 40);
  Wire(30, 40, 90, 40);
  Extract();
  EXPECT_EQ(Pin(driver, 3).Fanout, 3) << "input, other output, light; not the Verilog symbol's pin";
  EXPECT_DOUBLE_EQ(Pin(driver, 3).WireDelay, 1.5);
  EXPECT_EQ(Pin(other, 1).Fanout, 3);
  EXPECT_EQ(Pin(verilog, 1).Fanout, 4) << "a Verilog symbol's own pin is not on its count";
  EXPECT_EQ(Pin(a, 1).Fanout, 0);
  EXPECT_DOUBLE_EQ(Pin(a, 1).WireDelay, 0.0);
  EXPECT_EQ(Pin(light, 1).Fanout, 0);
  EXPECT_EQ(Pin(idle, 3).Fanout, 0);
  EXPECT_DOUBLE_EQ(Pin(idle, 3).WireDelay, 0.0);
}

TEST_F(ExtractFixture, PinDelayStepsRoundHalvesToEven) {
  const int s = Symbol("t", 500, {{0, 0, 'O', "y"}});
  auto steps = [&](double delayFactor, double load, double wire = 0) {
    Pin(s, 1).DelayFactor = delayFactor;
    Pin(s, 1).LoadFactor = load;
    Pin(s, 1).WireDelay = wire;
    return PinDelaySteps(ws, s, 1);
  };
  EXPECT_EQ(steps(0, 0), 0);
  EXPECT_EQ(steps(0.2, 0), 1);
  EXPECT_EQ(steps(2.5, 0), 2);
  EXPECT_EQ(steps(3.5, 0), 4);
  EXPECT_EQ(steps(1, 0, 2), 3) << "gate delay plus the fanout's wire delay";
  EXPECT_EQ(steps(20000, 0), 10000);
  EXPECT_EQ(steps(0, -4, 7), 1) << "a negative load replaces the wire delay by unit / |load|";
  EXPECT_DOUBLE_EQ(Pin(s, 1).WireDelay, 0.25);
  ws.tech.UnitGateDelay = 0.1;
  ws.tech.TimeUnit = 0.05;
  EXPECT_EQ(steps(3, 0), 6);
  EXPECT_DOUBLE_EQ(Pin(s, 1).GateDelay, 0.3);
  ws.tech.TimeUnit = 0;  // not accepted from files, but guarded all the same
  EXPECT_EQ(steps(3, 0), 10000);
}

struct FloatingHost : test::RecordingHost {
  void ShowFloatingLine(const Rect& v, int x, int y) override {
    view = v;
    mx = x;
    my = y;
  }
  Rect view{};
  int mx = 0, my = 0;
};

TEST_F(ExtractFixture, FloatingLines) {
  FloatingHost fh;
  ws.SetHost(&fh);
  const int g = Gate(0, 0);
  const int h = Gate(100, 0);
  // Output to input through three wires: none floats, the middle one touches no pin.
  const int chain[] = {Wire(30, 5, 60, 5), Wire(60, 5, 60, 40), Wire(60, 40, 100, 40)};
  Wire(100, 40, 100, 0);
  const int dangling = Wire(0, 0, -40, 0);     // pin at its start only
  const int hanging = Wire(-40, 10, 0, 10);    // pin at its end only
  const int through = Wire(100, -20, 100, 5);  // pin a of h in its middle, both ends free
  (void)g, (void)h;
  EXPECT_EQ(CheckFloatingLinesCommand(ws), "3 line(s) floating. Keep smiling.");
  for (int w : chain) EXPECT_EQ(WireAt(w).State, kNormal);
  EXPECT_EQ(WireAt(dangling).EndFlags, 1);
  EXPECT_EQ(WireAt(hanging).EndFlags, 2);
  EXPECT_EQ(WireAt(through).EndFlags, 0);
  EXPECT_EQ(WireAt(through).State, kHighlight);
  EXPECT_EQ(fh.view, (Rect{70, -50, 130, 35}));
  EXPECT_EQ(fh.mx, 100);
  EXPECT_EQ(fh.my, -7) << "halves cut toward zero";
  EXPECT_EQ(ws.status[0], "3 line(s) floating. Keep smiling.");
  int px = 0, py = 0;
  ASSERT_TRUE(FloatingMark(ws, px, py));
  EXPECT_EQ(std::pair(px, py), std::pair(100, -7));
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

}  // namespace
}  // namespace qiro
