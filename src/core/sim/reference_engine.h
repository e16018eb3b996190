// The reference engine: the step algorithm taken literally, kept as the model that any faster
// engine must match step by step. Every step shifts every delay line by one cell, resets every
// circuit-driven node, drives every output in table order and computes every symbol in reverse
// table order.
//
// Each pin owns its cells: line k of c cells is cells[start..start+c-1], cell 0 the newest.
// A shift moves each line on by one cell within itself and leaves cell 0 as it was, so a line
// that nothing writes in a step carries the value written in the step before, and no line ever
// sees another line's cells. A pin whose delay rounds to 0 or 1 step has one cell: what is
// written at step t leaves it at step t + 1.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/step_engine.h"

namespace qiro {

class ReferenceEngine final : public StepEngine {
 public:
  void Build(Workspace& ws, const LineLayout& layout) override;
  void Advance(Workspace& ws) override;
  void GlitchFilter(Workspace& ws) override;
  void Evaluate(Workspace& ws) override;
  bool Scan(Workspace& ws) override;
  std::vector<std::uint8_t> Cells(int symbol, int pin) const override;

  // Line of a pin, or -1.
  int LineOf(int symbol, int pin) const;
  std::uint8_t LastCell(int line) const;
  void WriteFirstCell(int line, std::uint8_t v);

 private:
  std::vector<std::uint8_t> cells_;
  std::vector<int> lineStart_, lineLength_;
  std::vector<int> symbolFirst_;  // per symbol: index of its pin 1 in pinLine_
  std::vector<int> pinLine_;
};

}  // namespace qiro
