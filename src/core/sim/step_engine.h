// The part of the simulation that differs between the reference engine and the fast engine:
// how delay lines are stored and which symbols and nodes a step touches. The step sequence,
// the allocation of lines, the devices and the status texts are shared (engine.cpp).
#pragma once

#include <cstdint>
#include <vector>

namespace qiro {

class Workspace;

// Delay steps of every pin as the allocation found them; -1 for the pins of stimulus devices,
// which own no line.
class LineLayout {
 public:
  void Clear() {
    first_.assign(1, 0);
    steps_.clear();
  }
  // Appends the next symbol's pins (symbols are added in table order from 1).
  void AddSymbol(int pinCount) {
    if (first_.empty()) first_.assign(1, 0);
    first_.push_back(static_cast<int>(steps_.size()));
    steps_.resize(steps_.size() + static_cast<std::size_t>(pinCount > 0 ? pinCount : 0), -1);
  }
  void SetSteps(int symbol, int pin, int steps) {
    if (const int i = Index(symbol, pin); i >= 0) steps_[static_cast<std::size_t>(i)] = steps;
  }
  int Steps(int symbol, int pin) const {
    const int i = Index(symbol, pin);
    return i >= 0 ? steps_[static_cast<std::size_t>(i)] : -1;
  }
  int SymbolCount() const { return static_cast<int>(first_.size()) - 1; }
  int PinCount(int symbol) const {
    if (symbol < 1 || symbol > SymbolCount()) return 0;
    const int end = symbol < SymbolCount() ? first_[static_cast<std::size_t>(symbol) + 1]
                                           : static_cast<int>(steps_.size());
    return end - first_[static_cast<std::size_t>(symbol)];
  }

 private:
  int Index(int symbol, int pin) const {
    if (pin < 1 || pin > PinCount(symbol)) return -1;
    return first_[static_cast<std::size_t>(symbol)] + pin - 1;
  }
  std::vector<int> first_ = std::vector<int>(1, 0);
  std::vector<int> steps_;
};

// Cells a line of d steps of delay occupies: its own cells, at least one. A value written at
// step t leaves the line at step t + LineDelay(d).
inline int LineCells(int steps) {
  return steps > 1 ? steps : 1;
}
inline int LineDelay(int steps) {
  return steps > 2 ? steps - 1 : 1;
}
// Lines this long or longer pass through the glitch filter.
inline constexpr int kGlitchFilterCells = 5;

class StepEngine {
 public:
  virtual ~StepEngine() = default;
  // Prepares the lines and tables of a run; nodes are already at their initial values.
  virtual void Build(Workspace& ws, const LineLayout& layout) = 0;
  // Moves every line on by one step and sets every circuit-driven node back to x.
  virtual void Advance(Workspace& ws) = 0;
  // Removes one-step pulses (010, 101) about to leave lines of kGlitchFilterCells or more.
  virtual void GlitchFilter(Workspace& ws) = 0;
  // Drive pass in table order, then compute pass in reverse table order.
  virtual void Evaluate(Workspace& ws) = 0;
  // Runs the device updates of every node whose value changed; true when a light pauses the run.
  virtual bool Scan(Workspace& ws) = 0;
  // The cells of a pin's line, newest first; empty for a pin without a line.
  virtual std::vector<std::uint8_t> Cells(int symbol, int pin) const = 0;
};

}  // namespace qiro
