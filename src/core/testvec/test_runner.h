// Running test vectors against an extracted circuit. The input devices named in the header
// (buttons, pads, pwl sources and clocks by their pin's name, keyboards by their own name) are
// driven by the rows instead of their own stimulus; every other device runs as drawn. Each row
// applies its inputs for its settle time (a clock pulse "C" takes three: 0, 1, 0) and the
// outputs are compared after its last step. An output also fails when it changed during the
// last quarter of the row's settle time: the circuit had not settled.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sim/engine.h"
#include "testvec/test_vectors.h"

namespace qiro {

class Workspace;

inline constexpr long long kDefaultStepLimit = 1000000;

// The default settle time: the longest delay path from any input device to any output device,
// in steps, plus half of it and 4 more steps. A path adds, for every gate it passes, the steps
// between a change of the gate's input and the change of its output; a feedback loop is
// followed once. The circuit must be extracted.
int LongestDelayPath(Workspace& ws);
int DefaultSettleSteps(int longestPath);

// What the header's names stand for in one circuit.
struct TestColumn {
  enum Kind { Bit, Key, Digit, Display } kind = Bit;
  std::vector<int> symbols;  // inputs: the devices driven; Digit/Display: the device shown
  int node = -1;             // Bit outputs: the node compared
};

struct TestBinding {
  std::vector<TestColumn> inputs, outputs;
  std::string error;  // a name the circuit lacks, or a value that does not fit its column
};

// Finds every header name in the extracted circuit and checks every row's values against them.
TestBinding BindTestVectors(const Workspace& ws, const TestVectors& v);

struct RowResult {
  int row = 0;   // from 1, in the order run
  int line = 0;  // line of the file
  int step = 0;  // the step after which the outputs were compared
  std::vector<std::string> got;
  std::vector<char> wrong;      // per output: its value differs from the expected one
  std::vector<char> unsettled;  // per output: it changed during the last quarter of the row
  bool passed = true;
};

struct TestReport {
  std::string error;  // the run could not be made; rows then holds what ran
  int longestPath = 0, settle = 0;
  std::vector<RowResult> rows;
  int passed = 0, failed = 0;
};

// Drives the bound inputs row after row; the engine calls it at every step of a run. After the
// last row the inputs keep the last row's levels. A pause step, when set, pauses the run
// after that step (the desktop program's "show me this row").
class TestStimulus : public InputScript {
 public:
  TestStimulus(const TestVectors& v, int defaultSettle);
  // The step after which row r (0-based) is compared, and the first step of row r.
  int EndStep(std::size_t r) const { return ends_[r]; }
  int StartStep(std::size_t r) const { return r == 0 ? kFirstStep : ends_[r - 1] + 1; }
  long long TotalSteps() const { return ends_.empty() ? 0 : ends_.back(); }
  void PauseAfter(int step) { pauseStep_ = step; }

  void Bind(Workspace& ws) override;
  void Drive(Workspace& ws, int step) override;

  static constexpr int kFirstStep = 3;

 private:
  void Apply(Workspace& ws, int step, const TestColumn& c, int level);

  const TestVectors& v_;
  std::vector<int> ends_, phase_;  // per row: last step, steps per phase
  std::vector<TestColumn> inputs_;
  std::size_t row_ = 0;
  int pauseStep_ = 0;
};

// Runs the vectors on ws, which must hold an extracted circuit that no run is using (a copy of
// the drawing in the desktop program). A run that would take more than stepLimit steps is not
// started.
TestReport RunTestVectors(Workspace& ws, const TestVectors& v, long long stepLimit = kDefaultStepLimit);

// The same on a copy of ws's drawing, extracted apart: the drawing, its nodes and any run of it
// stay as they are.
TestReport RunTestVectorsOnCopy(const Workspace& ws, const TestVectors& v,
                                long long stepLimit = kDefaultStepLimit);

// One report line per row: "row 3 (line 7) step 25: a=1 b=0 | expected s=1 c=0 | got s=1 c=0 ok".
std::string FormatRowResult(const TestVectors& v, const RowResult& r);
// "N passed, M failed"
std::string FormatTally(const TestReport& report);

}  // namespace qiro
