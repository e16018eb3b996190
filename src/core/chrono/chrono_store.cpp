// Recording keeps one row of samples per time point. A new time point starts as a copy of the
// previous one, so a trace that is not recorded at a step keeps its level. When all 5000 time
// points are used, the older half is dropped and recording goes on from point 2501.
#include "chrono/chrono_store.h"

#include <algorithm>

#include "model/records.h"

namespace qiro {

ChronoStore::ChronoStore() {
  ResetChronograms();
}

void ChronoStore::ResetChronograms() {
  for (int j = 1; j <= kMaxTraces; ++j) {
    ChronoTrace& t = traces_[static_cast<std::size_t>(j)];
    t.name.assign(1, '?');
    t.isBus = false;
    t.samples[1] = 0;
  }
  sampleTime_[1] = 0;
  sampleCount_ = 0;
}

int ChronoStore::AddChronoTrace(std::string_view name, bool isBus) {
  traceCount_ = std::min(traceCount_ + 1, kMaxTraces);
  ChronoTrace& t = traces_[static_cast<std::size_t>(traceCount_)];
  t.name = std::string(name.substr(0, 128));
  t.isBus = isBus;
  std::fill(t.samples.begin(), t.samples.end(), std::uint8_t{0});
  return traceCount_;
}

void ChronoStore::RecordChronoSample(int step, int trace, std::uint8_t value) {
  // Index 0 stands for "no point yet": its time is taken as 0 like the reset first point.
  const int lastTime =
      sampleCount_ >= 1 ? sampleTime_[static_cast<std::size_t>(sampleCount_)] : sampleTime_[1];
  if (sampleCount_ == 0 || lastTime != step) {
    if (sampleCount_ >= kMaxTimePoints) {
      const int half = kMaxTimePoints / 2;
      std::copy(sampleTime_.begin() + half + 1, sampleTime_.begin() + kMaxTimePoints + 1,
                sampleTime_.begin() + 1);
      for (int j = 1; j <= traceCount_; ++j) {
        auto& s = traces_[static_cast<std::size_t>(j)].samples;
        std::copy(s.begin() + half + 1, s.begin() + kMaxTimePoints + 1, s.begin() + 1);
      }
      sampleCount_ = half + 1;
      viewStart = step;
    } else {
      ++sampleCount_;
    }
    const auto k = static_cast<std::size_t>(sampleCount_);
    for (int j = 1; j <= traceCount_; ++j) {
      auto& s = traces_[static_cast<std::size_t>(j)].samples;
      s[k] = k >= 2 ? s[k - 1] : s[1];
    }
    sampleTime_[k] = step;
  }
  if (trace >= 1 && trace <= kMaxTraces && sampleCount_ >= 1)
    traces_[static_cast<std::size_t>(trace)].samples[static_cast<std::size_t>(sampleCount_)] = value;
}

void ChronoStore::SetNodeTrace(int node, int trace) {
  if (node < 0) return;
  if (static_cast<std::size_t>(node) >= nodeTrace_.size())
    nodeTrace_.resize(static_cast<std::size_t>(node) + 1, 0);
  nodeTrace_[static_cast<std::size_t>(node)] = trace;
}

int ChronoStore::SampleTime(int k) const {
  return (k >= 1 && k <= sampleCount_) ? sampleTime_[static_cast<std::size_t>(k)] : 0;
}

std::uint8_t ChronoStore::Sample(int trace, int k) const {
  if (trace < 1 || trace > kMaxTraces || k < 1 || k > sampleCount_) return 0;
  return traces_[static_cast<std::size_t>(trace)].samples[static_cast<std::size_t>(k)];
}

const ChronoTrace& ChronoStore::Trace(int trace) const {
  static const ChronoTrace blank{};
  return (trace >= 1 && trace <= kMaxTraces) ? traces_[static_cast<std::size_t>(trace)] : blank;
}

std::uint8_t SampleOfValue(std::uint8_t valueCode) {
  if (valueCode == kLogic1) return 1;
  if (valueCode == kLogic0) return 0;
  return kSampleX;
}

}  // namespace qiro
