// The fast engine against the reference engine on random circuits of every primitive and the
// stimulus and display devices: node values, traces, current samples and line contents must be
// the same after every step.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "sim/devices.h"
#include "sim/primitives.h"
#include "sim_circuit.h"

namespace qiro::test {
namespace {

constexpr int kModels[] = {101, 111, 121, 143, 200, 202, 203, 204, 302, 303, 402,
                           403, 412, 502, 503, 602, 603, 612, 613, 150, 702, 710,
                           724, 830, 860, 901, 902, 903, 906, 121, 860, 830, 143};

int PinCountOf(int model) {
  const GateShape g = GateShapeOf(model);
  if (g.family != GateFamily::None) return g.inputs + 1;
  switch (model) {
    case 101:
    case 111:
    case 150:
      return 2;
    case 143:
    case 702:
      return 4;
    case 724:
    case 860:
      return 5;
    case 830:
      return 7;
    default:
      return 3;
  }
}

struct Random {
  explicit Random(unsigned seed) : rng(seed) {}
  int Below(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }
  std::mt19937 rng;
};

// The same random circuit, built into c. Returns the buttons and keyboards.
std::vector<int> Generate(SimCircuit& c, unsigned seed) {
  Random r(seed);
  const int nodeCount = 2 + r.Below(24);
  for (int i = 0; i < nodeCount; ++i) c.Node();
  auto anyNode = [&] {
    const int k = r.Below(100);
    if (k < 4) return k < 2 ? 0 : 1;
    if (k < 6) return -1;  // an unconnected pin
    return 2 + r.Below(nodeCount);
  };
  if (r.Chance(70)) c.Vdd();
  if (r.Chance(70)) c.Vss();
  std::vector<int> buttons;
  for (int i = r.Below(4); i > 0; --i) buttons.push_back(c.Button(2 + r.Below(nodeCount)));
  for (int i = r.Below(3); i > 0; --i) {
    const int clock = c.Symbol(kModelClock, {2 + r.Below(nodeCount)});
    c.ws.circuit.Symbols[clock].PropWords[1] = std::to_string(r.Below(6));
    c.ws.circuit.Symbols[clock].PropWords[2] = std::to_string(1 + r.Below(6));
    c.ws.circuit.Symbols[clock].Vis = r.Chance(50) ? 1 : 0;
  }
  if (r.Chance(25)) buttons.push_back(c.Symbol(kModelKbd, {anyNode(), anyNode(), anyNode(), anyNode()}));
  if (r.Chance(25)) {
    auto& words = c.ws.circuit.Symbols[c.Symbol(kModelPwl, {2 + r.Below(nodeCount)})].PropWords;
    for (int w = 1, t = 0; w <= 9; w += 2)
      words[w] = std::to_string(t += r.Below(60)), words[w + 1] = "01"[r.Below(2)];
  }
  if (r.Chance(15)) {
    std::vector<int> nodes;
    for (int k = 0; k < 8; ++k) nodes.push_back(2 + r.Below(nodeCount));
    auto& words = c.ws.circuit.Symbols[c.Symbol(kModelSinus, nodes, {})].PropWords;
    words[1] = std::to_string(r.Below(200)), words[2] = std::to_string(r.Below(40)), words[3] = "100";
  }
  const int symbols = 3 + r.Below(40);
  for (int i = 0; i < symbols; ++i) {
    const int model = kModels[r.Below(static_cast<int>(std::size(kModels)))];
    const int pins = PinCountOf(model);
    const DriveList d = DrivenPins(model);
    std::vector<int> nodes;
    std::vector<std::pair<int, int>> outputs;
    for (int p = 1; p <= pins; ++p) {
      nodes.push_back(anyNode());
      for (int k = 0; k < d.count; ++k)
        if (d.pins[k] == p) outputs.push_back({p, r.Below(9)});
    }
    const int s = c.Symbol(model, nodes, outputs);
    TSymbol& sym = c.ws.circuit.Symbols[s];
    for (int p = 1; p <= sym.PinCount; ++p) sym.Pin(p).LoadFactor = r.Chance(10) ? -2.0 : 0.5 + r.Below(4);
    if (model == kModelLut)
      for (int k = 1; k <= 16; ++k) sym.PropWords[k] = std::string(1, "01x"[r.Below(3)]);
  }
  for (int i = r.Below(4); i > 0; --i) {
    const int light = c.Symbol(kModelLight, {anyNode()});
    c.ws.circuit.Symbols[light].Vis =
        (r.Chance(70) ? 1 : 0) | (r.Chance(30) ? 16 : 0) | (r.Chance(30) ? 32 : 0);
  }
  for (const int model : {kModelDigit, kModelDisplay, kModelSevenSeg, kModelPadIn, kModelPadOut}) {
    if (!r.Chance(20)) continue;
    std::vector<int> nodes;
    for (int k = model == kModelDigit ? 5 : model == kModelPadIn || model == kModelPadOut ? 1 : 8; k > 0; --k)
      nodes.push_back(anyNode());
    c.ws.circuit.Symbols[c.Symbol(model, nodes, {})].Vis = r.Chance(70) ? 1 : 0;
  }
  c.ws.settings.GlitchFiltering = r.Chance(70);
  // A chain of cells reading one node each (inverters, buffers, gates with tied inputs), each
  // the only reader of its input and the only driver of its output.
  if (r.Chance(40)) {
    int from = 2 + r.Below(nodeCount);
    for (int i = 1 + r.Below(12); i > 0; --i) {
      const int to = c.Node();
      const int model = std::array{101, 111, 202, 303, 612}[static_cast<std::size_t>(r.Below(5))];
      if (model < 200)
        c.Gate(model, {from}, to, r.Below(9));
      else
        c.Gate(model, {from, from}, to, r.Below(9));
      if (r.Chance(20)) c.Symbol(kModelLight, {to});
      from = to;
    }
  }
  return buttons;
}

void ExpectSameStores(const Workspace& a, const Workspace& b, const std::string& where) {
  ASSERT_EQ(a.chrono.TraceCount(), b.chrono.TraceCount()) << where;
  ASSERT_EQ(a.chrono.SampleCount(), b.chrono.SampleCount()) << where;
  for (int k = 1; k <= a.chrono.SampleCount(); ++k) {
    ASSERT_EQ(a.chrono.SampleTime(k), b.chrono.SampleTime(k)) << where;
    for (int j = 1; j <= a.chrono.TraceCount(); ++j)
      ASSERT_EQ(a.chrono.Sample(j, k), b.chrono.Sample(j, k)) << where << " trace " << j << " point " << k;
  }
  ASSERT_EQ(a.current.CurIndex(), b.current.CurIndex()) << where;
  ASSERT_EQ(a.current.SumCurrent(), b.current.SumCurrent()) << where;
  ASSERT_EQ(a.current.MaxCurrent(), b.current.MaxCurrent()) << where;
  for (int k = 1; k <= a.current.CurIndex() + 20; ++k) {
    ASSERT_EQ(a.current.CurTime(k), b.current.CurTime(k)) << where << " entry " << k;
    ASSERT_EQ(a.current.CurValue(k), b.current.CurValue(k)) << where << " entry " << k;
  }
}

TEST(FastEngine, MatchesTheReferenceOnRandomCircuits) {
  int pulses = 0, samples = 0, changes = 0;
  for (unsigned seed = 1; seed <= 1000; ++seed) {
    SimCircuit ref(EngineKind::Reference), fast(EngineKind::Fast);
    const std::vector<int> buttons = Generate(ref, seed);
    Generate(fast, seed);
    ASSERT_TRUE(ref.Start());
    ASSERT_TRUE(fast.Start());
    Random stimulus(seed * 7919u);
    for (int step = 3; step <= 200; ++step) {
      for (int b : buttons) {
        if (!stimulus.Chance(8)) continue;
        const bool high = stimulus.Chance(50);
        ref.Press(b, high);
        fast.Press(b, high);
        if (ref.ws.circuit.Symbols[b].Model == kModelKbd) {
          // A key: the levels of the other pins change too; the nodes follow at the next step.
          const int key = stimulus.Below(16);
          for (SimCircuit* c : {&ref, &fast})
            for (int k = 1; k <= 4; ++k)
              c->ws.circuit.Symbols[b].Pin(k).Value = (key >> (k - 1)) & 1 ? kLogic1 : kLogic0;
          continue;
        }
        if (stimulus.Chance(50)) {
          // A click between steps: the node follows at once and its lights update.
          for (SimCircuit* c : {&ref, &fast}) {
            const int n = c->ws.circuit.Symbols[b].Pin(1).Node;
            c->ws.nodes[n].Value = high ? kLogic1 : kLogic0;
            UpdateLights(c->ws, n, c->ws.engine.StepCount);
          }
        }
      }
      ref.Step();
      fast.Step();
      const std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step);
      for (int n = 0; n <= ref.ws.nodes.Count(); ++n) {
        ASSERT_EQ(ref.ws.nodes[n].Value, fast.ws.nodes[n].Value) << where << " node " << n;
        ASSERT_EQ(ref.ws.nodes[n].PrevValue, fast.ws.nodes[n].PrevValue) << where << " node " << n;
        changes += ref.ws.nodes[n].Value != kLogicX;
      }
      ASSERT_EQ(ref.ws.engine.Paused, fast.ws.engine.Paused) << where;
      ASSERT_EQ(ref.ws.current.CurIndex(), fast.ws.current.CurIndex()) << where;
      ref.ws.engine.Paused = fast.ws.engine.Paused = false;
      if (step % 50 == 0) {
        ExpectSameStores(ref.ws, fast.ws, where);
        for (int s = 1; s <= ref.ws.circuit.Symbols.Count(); ++s)
          for (int p = 0; p <= ref.ws.circuit.Symbols[s].PinCount + 1; ++p)  // and a pin either side
            ASSERT_EQ(PinLineCells(ref.ws, s, p), PinLineCells(fast.ws, s, p)) << where << " symbol " << s;
      }
    }
    ExpectSameStores(ref.ws, fast.ws, "seed " + std::to_string(seed));
    pulses += ref.ws.current.CurIndex() > 1;
    samples += ref.ws.chrono.SampleCount();
  }
  // The circuits must exercise what is compared.
  EXPECT_GT(pulses, 300);
  EXPECT_GT(samples, 30000);
  EXPECT_GT(changes, 200000);
}

}  // namespace
}  // namespace qiro::test
