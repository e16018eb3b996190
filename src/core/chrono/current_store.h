// The supply-current store: a sparse, time-ordered list of (step, mA) entries built from the
// triangular current pulses of rising gate outputs, with the running sum, the maximum and the
// full scale of the current graph.
#pragma once

#include <cstdint>
#include <vector>

namespace qiro {

inline constexpr int kMaxCurrentEntries = 100000;

// The values one pulse adds to its entries 0..riseSteps + fallSteps (at most the whole table),
// computed once per kind of pulse. grain is the smallest g for which every value is a whole
// multiple of 2^-g (its multiples in `units`), or -1: such pulses add up exactly in any order.
struct PulseShape {
  std::vector<double> values;
  std::vector<std::int64_t> units;
  int grain = -1;

  static PulseShape Of(int riseSteps, int fallSteps, double peak);
};

class CurrentStore {
 public:
  CurrentStore();

  // At every simulation start: every entry unused and 0, sum and maximum 0.
  void ResetSupplyCurrent();
  // Adds a triangle starting at step: 0 at step, peak after riseSteps, 0 again fallSteps later.
  void AddCurrentPulse(int step, int riseSteps, int fallSteps, double peak);
  // The same as `count` calls of AddCurrentPulse with the shape's parameters.
  void AddCurrentPulses(int step, const PulseShape& shape, int count);
  // Picks the graph's full scale from the maximum so that the peak fills at most 80 %.
  void ChooseCurrentScale();

  // Entry k (1..100000): its step (0 = unused) and its current in mA; 0 outside.
  int CurTime(int k) const;
  double CurValue(int k) const;
  int CurIndex() const { return curIndex_; }
  double SumCurrent() const { return sumCurrent_; }
  double MaxCurrent() const { return maxCurrent_; }
  double CurrentScale() const { return currentScale_; }
  double CurrentDiv() const { return currentScale_ / 5; }
  void SetCurrentScale(double scale) { currentScale_ = scale; }

 private:
  // Drops the oldest entries so that a pulse of `length` entries fits from curIndex on.
  void MakeRoom(int length);
  // Adds count pulses to the n entries from curIndex at once when every sum on the way is exact,
  // so that any order of the additions gives the same doubles; false when it cannot tell.
  bool AddExactly(const PulseShape& shape, int n, int count);

  std::vector<int> curTime_ = std::vector<int>(kMaxCurrentEntries + 1);
  std::vector<double> curValue_ = std::vector<double>(kMaxCurrentEntries + 1);
  int curIndex_ = 1;
  double sumCurrent_ = 0;
  double maxCurrent_ = 0;
  double currentScale_ = 1.0;
};

}  // namespace qiro
