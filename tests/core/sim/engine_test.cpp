// The built-in models on pins set directly, and the step loop and delay lines on both engines.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

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
  EXPECT_EQ(std::to_string(c.ws.engine.StepCount) + c.host.LastStatus(), "2Initialize logic simulator...");
  c.Step();  // buttons start at 0
  EXPECT_EQ(std::to_string(c.ws.engine.StepCount) + c.Level(a), "30");
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
  EXPECT_EQ(host.LastStatus() + "|" + host.LastStatus(1),
            "Simulation stopped, absolute time=1502.000ns|Circuit OK");
  std::string shown = RunValuesShown(c.ws) ? "1" : "0";
  c.ws.circuit.Touch();  // an edit: the drawing no longer matches the values
  shown += RunValuesShown(c.ws) ? "1" : "0";
  c.ws.nodes.Reset();  // the next extraction: a new node table, never the run's
  c.ws.circuit.Extracted = true;
  shown += RunValuesShown(c.ws) ? "1" : "0";
  StartSimulation(c.ws);  // stops at once: the host's turn has passed
  shown += RunValuesShown(c.ws) ? "1" : "0";
  ResetHighlight(c.ws);  // Escape, Unselect All, a search
  EXPECT_EQ(shown + (RunValuesShown(c.ws) ? "1" : "0"), "10010");
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
  std::string seen;
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
    for (int i = 0; i < 10; ++i) {
      k.Step();
      seen += std::string(1, k.Level(four)) + k.Level(five);
    }
    seen += " ";
  }
  // Per step the outputs of lines of 4 and 5 cells, filtering then not.
  EXPECT_EQ(seen, "00001000000000000000 00001001000000000000 ");
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
  std::string seen;  // select and output; the output holds through select x
  for (auto [enable, data, until] :
       {std::tuple{true, true, 8}, {false, true, 12}, {false, false, 20}, {true, false, 24}}) {
    c.Press(be, enable);
    c.Press(bd, data);
    c.StepTo(until);
    seen += std::string(1, c.Level(sel)) + c.Level(out) + " ";
  }
  EXPECT_EQ(seen, "01 x1 x1 00 ");
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
    return std::to_string(p.LineStart) + ".." + std::to_string(p.LineEnd) + " ";
  };
  // An input without delay has no cell; the button's held level starts at 0.
  EXPECT_EQ(line(button, 1) + line(g1, 1) + line(g1, 2) + line(g2, 2) + std::to_string(c.ws.engine.Cursor),
            "0..0 1..0 1..3 4..3 4");
  EXPECT_EQ(c.ws.circuit.Symbols[button].Pin(1).Value, kLogic0);
}

TEST_P(EngineTest, TheLoopTakesOneEventTurnPerStepAndSleepsBySpeed) {
  StoppingHost host(c.ws, 30);
  c.ws.engine.Speed = 3;
  c.Node();
  StartSimulation(c.ws);  // the step after the stop still runs; one event turn per step
  EXPECT_FALSE(c.ws.engine.Running);
  EXPECT_EQ(std::tuple(c.ws.engine.StepCount, host.eventTurns, host.sleeps.size()),
            std::tuple(2 + 30, 30, 30u));
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
  TSymbol& light = c.ws.circuit.Symbols[c.Symbol(49, {out})];
  light.Vis = 16 | 1;
  light.Pin(1).Name = "L";
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
  c.ws.circuit.Symbols[c.Symbol(49, {in})].Vis = 16;
  c.ws.circuit.Symbols[button].Rec = c.ws.circuit.Symbols[button].BBox = Rect{0, 0, 20, 20};
  ASSERT_TRUE(c.Start());
  c.StepTo(10);
  EXPECT_TRUE(DeviceClick(c.ws, 10, 10, c.ws.engine.StepCount));
  c.Step();  // the scan sees the node's change; the click has already reported the edge
  const bool pausedAgain = c.ws.engine.Paused;
  c.Press(button, false);
  c.StepTo(14);
  c.Press(button, true);
  c.StepTo(16);  // a later rise found by the scan still pauses
  EXPECT_EQ(std::pair(pausedAgain, c.ws.engine.Paused), std::pair(false, true));
}

INSTANTIATE_TEST_SUITE_P(BothEngines, EngineTest, ::testing::Values(EngineKind::Reference, EngineKind::Fast),
                         [](const auto& info) {
                           return info.param == EngineKind::Reference ? "Reference" : "Fast";
                         });

// The built-in models on a symbol whose pin values are set directly.
// Pin values as text ('1', '0', 'x' from pin 1) now and before the step; the outputs written
// ('h' for held) in the order written, e.g. "6=1,7=0".
struct FakePins {
  static std::uint8_t Code(char c) { return c == '1' ? kLogic1 : c == '0' ? kLogic0 : kLogicX; }
  std::uint8_t ReadPin(int p) const { return p >= 1 && p <= int(now.size()) ? Code(now[p - 1]) : kValueX; }
  std::uint8_t Prev(int p) const {
    return p >= 1 && p <= int(before.size()) ? Code(before[p - 1]) : ReadPin(p);
  }
  bool RisingEdge(int p) const { return Prev(p) == kLogic0 && ReadPin(p) == kLogic1; }
  bool FallingEdge(int p) const { return Prev(p) == kLogic1 && ReadPin(p) == kLogic0; }
  void WritePin(int p, std::uint8_t v) { Out(p, v == kLogic1 ? '1' : v == kLogic0 ? '0' : 'x'); }
  void HoldPin(int p) { Out(p, 'h'); }
  void Out(int p, char c) { out += (out.empty() ? "" : ",") + std::to_string(p) + "=" + c; }
  const std::string& Prop(int k) const { return k == 6 ? word6 : empty; }
  std::string now, before, word6, empty, out;
};

std::string Eval(int model, const std::string& now, const std::string& before = "",
                 const std::string& word6 = "") {
  FakePins p{now, before, word6, "", ""};
  ComputeSymbol(model, p);
  return p.out;
}

TEST(Primitives, EveryModelOnItsPinLevels) {
  // Model, pin levels now and before the step ('-' for none), outputs written ('h' for held).
  // Gates fold with x: nand2, nor2, and3, or2, xor3, xnor2 (equivalence), xnor3, not, buf, a gate
  // without inputs, and12; tri-state buffer, nmos, pmos, a resistor (computes nothing); the mux
  // holds on select x; the D register (D, Rst, H) takes D on the falling clock and resets at once
  // (reset x is inactive); the JK register (J, clock, K, set, reset) acts on rising edges, and set
  // beats reset and the edge.
  std::istringstream table(R"(
    202 0x - 3=1  202 1x - 3=x  202 x0 - 3=1  202 11 - 3=0  302 1x - 3=0  302 0x - 3=x  403 110 - 4=0
    403 111 - 4=1  502 x1 - 3=1  502 00 - 3=0  603 111 - 4=1  603 110 - 4=0  603 1x1 - 4=x  612 00 - 3=1
    612 01 - 3=0  612 11 - 3=1  613 000 - 4=0  101 x - 2=x  101 1 - 2=0  111 0 - 2=0  200 - - 1=x
    412 111111111111 - 13=1
    121 01 - 3=1  121 x1 - 3=x  121 10 - 3=x  121 1x - 3=x  901 01 - 3=0  901 10 - 3=x  901 1x - 3=x
    902 10 - 3=1  902 11 - 3=x  903 111 - -  143 100 - 4=1  143 101 - 4=0  143 10x - 4=h
    860 101 100 4=h,5=h  860 100 101 4=1,5=0  860 x00 x01 4=x,5=x  860 110 111 4=0,5=1
    860 111 111 4=0,5=1  860 1x0 1x1 4=1,5=0  860 100 10x 4=h,5=h
    830 1110010 1010010 6=0,7=1  830 1110001 1010001 6=1,7=0  830 1010010 1110010 6=h,7=h
    830 1100001 1000001 6=1,7=0  830 0110010 0010010 6=0,7=1  830 0100010 0000010 6=h,7=h
    830 x100010 x000010 6=x,7=x  830 0001010 - 6=1,7=0  830 0000110 - 6=0,7=1  830 01011 00011 6=1,7=0
    830 000x0 - 6=x,7=x)");
  int model = 0, cases = 0;
  std::string now, before, written;
  auto text = [](const std::string& s) { return s == "-" ? "" : s; };
  for (; table >> model >> now >> before >> written; ++cases)
    EXPECT_EQ(Eval(model, text(now), text(before)), text(written)) << model << " " << now << " " << before;
  EXPECT_EQ(cases, 53);
  // The lut indexes its property words: pins 1 and 3 high give index 5, word 6.
  EXPECT_EQ(Eval(kModelLut, "1010", "", "1") + Eval(kModelLut, "1010", "", "0abc") +
                Eval(kModelLut, "1010", "", "") + Eval(kModelLut, "10x0", "", "1"),
            "5=15=05=x5=x");
}

}  // namespace
}  // namespace qiro::test
