// The chronogram store: up to 32 traces sampled at up to 5000 time points, filled while a
// simulation runs and read by the timing-diagram window. Also the window's persistent view
// state (left edge, span, cursor), which survives between openings of the window.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chrono/trace_choice.h"

namespace qiro {

inline constexpr int kMaxTraces = 32;
inline constexpr int kMaxTimePoints = 5000;
inline constexpr std::uint8_t kSampleX = 255;  // sample of an unknown single-bit value

struct ChronoTrace {
  std::string name = "?";
  bool isBus = false;
  std::vector<std::uint8_t> samples = std::vector<std::uint8_t>(kMaxTimePoints + 1);  // 1..5000
};

class ChronoStore {
 public:
  ChronoStore();

  // At every simulation start: every slot named "?", single-bit, first sample 0; no time point.
  void ResetChronograms();
  // Forgets the registered traces (the caller does this before registering a run's traces).
  void ClearTraces() {
    traceCount_ = 0;
    nodeTrace_.clear();
  }
  // Registers a trace and returns its number; a 33rd registration replaces the 32nd trace.
  int AddChronoTrace(std::string_view name, bool isBus);
  // Stores a sample of trace at the time point of step, opening a new time point when the step
  // changed. A trace number outside 1..32 records nothing but may still open the time point.
  void RecordChronoSample(int step, int trace, std::uint8_t value);

  int TraceCount() const { return traceCount_; }
  int SampleCount() const { return sampleCount_; }
  // Step of time point k (1..SampleCount()); 0 outside.
  int SampleTime(int k) const;
  // Sample of trace j at time point k; 0 outside the tables.
  std::uint8_t Sample(int trace, int k) const;
  // Trace j (1..32); a blank trace outside.
  const ChronoTrace& Trace(int trace) const;

  // The trace recording a node the user added (0: none).
  void SetNodeTrace(int node, int trace);
  int NodeTrace(int node) const {
    return node >= 0 && static_cast<std::size_t>(node) < nodeTrace_.size()
               ? nodeTrace_[static_cast<std::size_t>(node)]
               : 0;
  }

  TraceChoice choice;  // what the user chose to record and show; kept across runs

  // View state of the timing-diagram window.
  int viewStart = 0;    // step at the left edge
  double span = 100.0;  // ns shown across the trace area
  int cursorX = 100;
  int cursorY = 0;

 private:
  int traceCount_ = 0;
  int sampleCount_ = 0;
  std::vector<int> sampleTime_ = std::vector<int>(kMaxTimePoints + 1);          // 1..5000
  std::vector<ChronoTrace> traces_ = std::vector<ChronoTrace>(kMaxTraces + 1);  // 1..32
  std::vector<int> nodeTrace_;                                                  // by node
};

// The byte recorded for a single-bit trace from a node value code: 1, 0 or 255.
std::uint8_t SampleOfValue(std::uint8_t valueCode);

}  // namespace qiro
