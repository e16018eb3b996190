// Fanout and pin delays. The fanout of an output pin counts every other pin on its node
// (Verilog-described symbols count through their generated gates); the wire delay follows
// from it. A pin's delay in simulation steps is its gate plus wire delay over the step length.
#include <cmath>
#include <unordered_map>

#include "extract/extract.h"
#include "model/rounding.h"
#include "workspace.h"

namespace qiro {

namespace {

constexpr int kModelVerilog = 6000;
constexpr double kMaxDelaySteps = 10000;

}  // namespace

void ComputeFanout(Workspace& ws) {
  SetStatus(ws, 0, "Extract Fanout...");
  Circuit& c = ws.circuit;
  // Pins per node value (unnumbered and marker values included, as a pin-by-pin count would).
  std::unordered_map<int, int> pinsOnNode;
  for (const TSymbol& s : c.Symbols) {
    if (s.Model == kModelVerilog) continue;
    for (int k = 1; k <= s.PinCount; ++k) ++pinsOnNode[s.Pin(k).Node];
  }
  for (TSymbol& s : c.Symbols) {
    for (int k = 1; k <= s.PinCount; ++k) {
      TPin& p = s.Pin(k);
      if (p.Kind == 'O') {
        const int self = s.Model == kModelVerilog ? 0 : 1;
        p.Fanout = pinsOnNode[p.Node] - self;
      }
      p.WireDelay = p.Fanout * ws.tech.WireDelayUnit;
    }
  }
  SetStatus(ws, 0, "End computing fanout...");
}

int PinDelaySteps(Workspace& ws, int symbol, int pin) {
  if (!ws.circuit.Symbols.Valid(symbol)) return 0;
  TPin& p = ws.circuit.Symbols[symbol].Pin(pin);
  const Technology& tech = ws.tech;
  p.GateDelay = tech.UnitGateDelay * p.DelayFactor;
  if (p.LoadFactor < 0) p.WireDelay = tech.WireDelayUnit / std::fabs(p.LoadFactor);
  const double total = p.GateDelay + p.WireDelay;
  if (total == 0) return 0;
  // The step length is kept positive by the technology reader; any other value gives the longest delay.
  double steps = tech.TimeUnit > 0 ? total / tech.TimeUnit : kMaxDelaySteps;
  if (std::isnan(steps)) return 1;
  if (steps > kMaxDelaySteps) steps = kMaxDelaySteps;
  const double rounded = RoundHalfEven(steps);
  return rounded < 1 ? 1 : static_cast<int>(rounded);
}

}  // namespace qiro
