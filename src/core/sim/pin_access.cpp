#include "sim/pin_access.h"

#include <cmath>

#include "workspace.h"

namespace qiro {

namespace {

// Whole steps of a time in ns, at least 1; a step length that is not positive counts as 1 ns.
int StepsAtLeastOne(double ns, double timeUnit) {
  const double unit = timeUnit > 0 ? timeUnit : 1.0;
  const double steps = std::nearbyint(ns / unit);
  if (!(steps >= 1)) return 1;
  return steps > 1e6 ? 1000000 : static_cast<int>(steps);
}

}  // namespace

CurrentPulse PulseOfPin(const Workspace& ws, int symbol, int pin) {
  const TPin& p = ws.circuit.Symbols[symbol].Pin(pin);
  CurrentPulse c;
  c.riseSteps = StepsAtLeastOne(p.GateDelay * 0.5, ws.tech.TimeUnit);
  c.fallSteps = StepsAtLeastOne(p.WireDelay, ws.tech.TimeUnit);
  c.peak = std::fabs(p.LoadFactor) * ws.tech.TechCurrentFactor;
  return c;
}

}  // namespace qiro
