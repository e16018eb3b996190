// The pin operations through which a symbol is evaluated: reading the nodes of its pins,
// writing the first cell of its delay lines, and driving a node from a line's last cell.
// The built-in models use the engines' concrete classes; the microcontroller core uses this
// interface, so it runs unchanged on either engine.
#pragma once

#include <cstdint>
#include <string>

namespace qiro {

class Workspace;

class SymbolPins {
 public:
  virtual ~SymbolPins() = default;

  virtual int Symbol() const = 0;
  // Value of pin p's node (x for a pin without a valid node).
  virtual std::uint8_t ReadPin(int p) const = 0;
  // The pin's node went 0 -> 1 (or 1 -> 0) in this step.
  virtual bool RisingEdge(int p) const = 0;
  virtual bool FallingEdge(int p) const = 0;
  // Compute pass: the value entering pin p's line in this step.
  virtual void WritePin(int p, std::uint8_t v) = 0;
  // Compute pass: the line keeps the value written in the previous step.
  virtual void HoldPin(int p) = 0;
  // Drive pass: puts the value leaving pin p's line on its node unless it is x.
  virtual void OutputPin(int p) = 0;
  virtual const std::string& Prop(int k) const = 0;
};

// The supply-current pulse a rising output draws (see AddCurrentPulse).
struct CurrentPulse {
  int riseSteps = 1;
  int fallSteps = 1;
  double peak = 0;
};
CurrentPulse PulseOfPin(const Workspace& ws, int symbol, int pin);

}  // namespace qiro
