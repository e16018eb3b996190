// The step loop and the delay lines, run on both engines.
#include <gtest/gtest.h>

#include <functional>

#include "model/errors.h"
#include "model/text.h"
#include "sim/devices.h"
#include "sim/primitives.h"
#include "sim_circuit.h"

namespace qiro::test {
namespace {

// A host that plays the user: stops the run from an event turn on, as the stop button does,
// and resumes a pause at another.
class StoppingHost : public RecordingHost {
 public:
  StoppingHost(Workspace& ws, int turns) : ws_(ws), turns_(turns) { ws.SetHost(this); }
  void ProcessEvents() override {
    RecordingHost::ProcessEvents();
    if (onTurn) onTurn(eventTurns);
    if (eventTurns == resumeAt) ws_.engine.Paused = false;
    if (eventTurns >= turns_) ws_.engine.Running = ws_.engine.Paused = false;
  }
  void SleepMs(int ms) override { sleeps.push_back(ms); }
  void RefreshSimulationView() override { refreshedAt.push_back(ws_.engine.StepCount); }
  std::vector<int> sleeps, refreshedAt;
  int resumeAt = -1;
  std::function<void(int)> onTurn;

 private:
  Workspace& ws_;
  int turns_;
};

class EngineTest : public ::testing::TestWithParam<EngineKind> {
 protected:
  // The levels of the nodes after each of a number of steps, e.g. "10 11 ".
  std::string Watch(int steps, std::initializer_list<int> nodes) {
    std::string seen;
    for (int i = 0; i < steps; ++i) {
      c.Step();
      for (int n : nodes) seen += c.Level(n);
      seen += " ";
    }
    return seen;
  }
  SimCircuit c{GetParam()};
};

TEST_P(EngineTest, FirstStepIsThreeAndTimeIsShownEveryThousandSteps) {
  const int a = c.Node();
  c.Button(a);
  ASSERT_TRUE(c.Start());
  EXPECT_EQ(c.ws.engine.StepCount, 2);
  EXPECT_EQ(c.host.LastStatus(), "Initialize logic simulator...");
  c.Step();
  EXPECT_EQ(c.ws.engine.StepCount, 3);
  EXPECT_EQ(c.Level(a), '0');  // buttons start at 0
  c.StepTo(999);
  EXPECT_FALSE(StartsWith(c.host.LastStatus(), "Running"));
  c.Step();
  EXPECT_TRUE(StartsWith(c.host.LastStatus(), "Running, absolute time=1000.000ns; CPU time= "))
      << c.host.LastStatus();
  EXPECT_EQ(c.host.LastStatus().back(), 's');
}

TEST_P(EngineTest, StoppedRunSaysWhenAndItsValuesLastUntilTheDrawingChanges) {
  c.Button(c.Node());
  StoppingHost host(c.ws, 1500);
  c.ws.circuit.Extracted = true;
  StartSimulation(c.ws);
  EXPECT_EQ(host.LastStatus(), "Simulation stopped, absolute time=1502.000ns");
  EXPECT_EQ(host.LastStatus(1), "Circuit OK");
  EXPECT_TRUE(RunValuesShown(c.ws));
  c.ws.circuit.Touch();  // an edit: the drawing no longer matches the values
  EXPECT_FALSE(RunValuesShown(c.ws));
  c.ws.nodes.Reset();  // the next extraction: a new node table, never the run's
  c.ws.circuit.Extracted = true;
  EXPECT_FALSE(RunValuesShown(c.ws));
  StartSimulation(c.ws);  // stops at once: the host's turn has passed
  EXPECT_TRUE(RunValuesShown(c.ws));
  ResetHighlight(c.ws);  // Escape, Unselect All, a search
  EXPECT_FALSE(RunValuesShown(c.ws));
}

TEST_P(EngineTest, InverterOfThreeCellsAnswersTwoStepsLater) {
  const int in = c.Node(), out = c.Node();
  const int b = c.Button(in);
  c.Gate(kModelNot, {in}, out, 3);
  ASSERT_TRUE(c.Start());
  c.StepTo(10);
  c.Press(b, true);
  EXPECT_EQ(Watch(3, {in, out}), "11 11 10 ");  // steps 11..13: the input is 1 at 11, the output at 13
  EXPECT_EQ(PinLineCells(c.ws, 2, 2).size(), 3u);
}

TEST_P(EngineTest, UndrivenNodesReadXAndTheLaterDriverWins) {
  const int lonely = c.Node(), shared = c.Node(), undriven = c.Node();
  c.Vdd();
  c.Vss();
  c.Gate(kModelBuf, {undriven}, lonely, 1);
  c.Gate(kModelBuf, {1}, shared, 2);  // drives 1
  c.Gate(kModelBuf, {0}, shared, 4);  // drives 0, later in table order
  ASSERT_TRUE(c.Start());
  c.StepTo(3);
  // Only the first driver's line has a value at step 4.
  EXPECT_EQ(Watch(3, {lonely, shared, undriven}), "x1x x1x x0x ");
  c.StepTo(50);
  EXPECT_EQ(std::string() + c.Level(lonely) + c.Level(shared) + c.Level(undriven), "x0x");
}

// A one-step pulse on the input of buffers with lines of 4 and 5 cells.
TEST_P(EngineTest, GlitchFilterRemovesOneStepPulsesFromLinesOfFiveCells) {
  for (bool filtering : {true, false}) {
    SimCircuit k{GetParam()};
    k.ws.settings.GlitchFiltering = filtering;
    const int in = k.Node(), four = k.Node(), five = k.Node();
    const int b = k.Button(in);
    k.Gate(kModelBuf, {in}, four, 4);
    k.Gate(kModelBuf, {in}, five, 5);
    ASSERT_TRUE(k.Start());
    k.StepTo(20);
    k.Press(b, true);
    k.Step();
    k.Press(b, false);
    std::string seenFour, seenFive;
    for (int i = 0; i < 10; ++i) {
      k.Step();
      seenFour += k.Level(four);
      seenFive += k.Level(five);
    }
    EXPECT_EQ(seenFour, "0010000000") << filtering;
    EXPECT_EQ(seenFive, filtering ? "0000000000" : "0001000000");
  }
}

// Lines of one cell and of no cell belong to their pins: they never show a neighbour's values.
TEST_P(EngineTest, ShortLinesAndElectricalElementsKeepToThemselves) {
  const int in = c.Node(), slow = c.Node(), zero = c.Node(), one = c.Node(), res = c.Node();
  const int b = c.Button(in);
  c.Gate(kModelNot, {in}, slow, 6);
  c.Gate(kModelBuf, {in}, zero, 0);
  c.Gate(kModelBuf, {in}, one, 1);
  c.Symbol(903, {in, in, res}, {{3, 2}});  // a resistor: never computed, never drives
  ASSERT_TRUE(c.Start());
  std::string seen;
  for (int step = 3; step <= 20; ++step) {
    c.Press(b, step >= 10 && step < 14);
    c.Step();
    seen += std::string(1, c.Level(in)) + c.Level(zero) + c.Level(one) + c.Level(res) + " ";
  }
  EXPECT_EQ(seen,
            "0xxx 000x 000x 000x 000x 000x 000x 100x 111x 111x 111x 011x 000x 000x 000x 000x 000x 000x ");
  EXPECT_EQ(PinLineCells(c.ws, 3, 2).size(), 1u);
}

TEST_P(EngineTest, MuxHoldsItsOutputWhileSelectIsX) {
  // select = notif1(data vdd, enable en): 0 while enabled, x (undriven) while not.
  const int d0 = c.Node(), en = c.Node(), sel = c.Node(), out = c.Node();
  c.Vdd();
  const int bd = c.Button(d0), be = c.Button(en);
  c.Gate(kModelNotif1, {1, en}, sel, 1);
  c.Symbol(kModelMux, {d0, 1, sel, out}, {{4, 1}});
  ASSERT_TRUE(c.Start());
  c.Press(be, true);
  c.Press(bd, true);
  c.StepTo(8);
  EXPECT_EQ(c.Level(sel), '0');
  EXPECT_EQ(c.Level(out), '1');
  c.Press(be, false);
  c.StepTo(12);
  EXPECT_EQ(c.Level(sel), 'x');
  c.Press(bd, false);
  c.StepTo(20);
  EXPECT_EQ(c.Level(out), '1');  // held through select x
  c.Press(be, true);
  c.StepTo(24);
  EXPECT_EQ(c.Level(out), '0');
}

TEST_P(EngineTest, TwoTristateInvertersShareANode) {
  const int data = c.Node(), en = c.Node(), nen = c.Node(), bus = c.Node();
  const int bd = c.Button(data), be = c.Button(en), bn = c.Button(nen);
  c.Vdd();
  c.Gate(kModelNotif1, {data, en}, bus, 1);
  c.Gate(kModelNotif1, {1, nen}, bus, 1);  // drives 0 when enabled
  ASSERT_TRUE(c.Start());
  c.Press(bd, false);
  // not(0) from the first, the second alone, neither.
  std::string seen;
  for (auto [first, second] : {std::pair{true, false}, {false, true}, {false, false}}) {
    c.Press(be, first);
    c.Press(bn, second);
    c.StepTo(c.ws.engine.StepCount + 4);
    seen += c.Level(bus);
  }
  EXPECT_EQ(seen, "10x");
}

TEST_P(EngineTest, DelaysBeyondTheArrayRefuseToStart) {
  const int a = c.Node(), b = c.Node();
  for (int i = 0; i < 9; ++i) c.Gate(kModelBuf, {a}, b, 10000);
  c.Gate(kModelBuf, {a}, b, 9999);
  ASSERT_TRUE(c.Start());  // the cursor stands at the last cell
  SimCircuit big{GetParam()};
  for (int i = 0; i < 10; ++i) big.Gate(kModelBuf, {a}, b, 10000);
  big.ws.engine.Running = true;
  EXPECT_FALSE(InitSimulation(big.ws));
  EXPECT_FALSE(big.ws.engine.Running);
  ASSERT_EQ(big.host.errors.size(), 1u);
  EXPECT_EQ(big.host.errors[0], "Too many delay. Please decrease the timing unit in simulation option.");
  EXPECT_FALSE(RunUntil(big.ws, 10));
}

TEST_P(EngineTest, AllocationNumbersLinesAndDevicePinsOwnNone) {
  const int a = c.Node(), b = c.Node();
  const int button = c.Button(a);
  const int g1 = c.Gate(kModelBuf, {a}, b, 3);
  const int g2 = c.Gate(kModelBuf, {b}, a, 0);
  ASSERT_TRUE(c.Start());
  const auto line = [&](int s, int k) {
    const TPin& p = c.ws.circuit.Symbols[s].Pin(k);
    return std::to_string(p.LineStart) + ".." + std::to_string(p.LineEnd);
  };
  // An input without delay has no cell.
  EXPECT_EQ(line(button, 1) + " " + line(g1, 1) + " " + line(g1, 2) + " " + line(g2, 2),
            "0..0 1..0 1..3 4..3");
  EXPECT_EQ(c.ws.circuit.Symbols[button].Pin(1).Value, kLogic0);
  EXPECT_EQ(c.ws.engine.Cursor, 4);
}

TEST_P(EngineTest, TheLoopTakesOneEventTurnPerStepAndSleepsBySpeed) {
  StoppingHost host(c.ws, 30);
  c.ws.engine.Speed = 3;
  c.Node();
  StartSimulation(c.ws);
  EXPECT_FALSE(c.ws.engine.Running);
  EXPECT_EQ(c.ws.engine.StepCount, 2 + 30);  // the step after the stop still runs
  EXPECT_EQ(host.eventTurns, 30);            // one per step
  ASSERT_EQ(host.sleeps.size(), 30u);
  EXPECT_EQ(host.sleeps[0], 4);
  EXPECT_EQ(host.refreshedAt, (std::vector<int>{12, 24}));
  EXPECT_EQ(host.LastStatus(), "Simulation stopped, absolute time=32.000ns");
}

TEST_P(EngineTest, ALightPausesOnItsRisingEdgeUntilResumed) {
  StoppingHost host(c.ws, 40);
  host.resumeAt = 20;
  const int in = c.Node(), out = c.Node();
  const int button = c.Button(in);
  c.Gate(kModelBuf, {in}, out, 2);
  const int light = c.Symbol(49, {out});
  c.ws.circuit.Symbols[light].Vis = 16 | 1;
  c.ws.circuit.Symbols[light].Pin(1).Name = "L";
  host.onTurn = [&](int turn) {
    if (turn == 5) c.Press(button, true);  // the button's node is 1 from step 7
  };
  StartSimulation(c.ws);
  EXPECT_TRUE(host.ShowedStatus("Pause simulation at a rise edge of L at time 8ns")) << host.LastStatus();
  // Paused after step 8 until the 20th turn, then on to the stop at the 40th.
  EXPECT_EQ(c.ws.engine.StepCount, 8 + 40 - 20);
  EXPECT_EQ(c.ws.chrono.TraceCount(), 2);  // the button and the light
}

TEST_P(EngineTest, AClickedEdgePausesOnceNotAgainAtTheNextScan) {
  const int in = c.Node();
  const int button = c.Button(in);
  const int light = c.Symbol(49, {in});
  c.ws.circuit.Symbols[light].Vis = 16;
  c.ws.circuit.Symbols[button].Rec = Rect{0, 0, 20, 20};
  c.ws.circuit.Symbols[button].BBox = Rect{0, 0, 20, 20};
  ASSERT_TRUE(c.Start());
  c.StepTo(10);
  EXPECT_TRUE(DeviceClick(c.ws, 10, 10, c.ws.engine.StepCount));
  c.Step();  // the scan sees the node's change; the click has already reported the edge
  EXPECT_FALSE(c.ws.engine.Paused);
  c.Press(button, false);
  c.StepTo(14);
  c.Press(button, true);
  c.StepTo(16);
  EXPECT_TRUE(c.ws.engine.Paused);  // a later rise found by the scan still pauses
}

INSTANTIATE_TEST_SUITE_P(BothEngines, EngineTest, ::testing::Values(EngineKind::Reference, EngineKind::Fast),
                         [](const auto& info) {
                           return info.param == EngineKind::Reference ? std::string("Reference")
                                                                      : std::string("Fast");
                         });

}  // namespace
}  // namespace qiro::test
