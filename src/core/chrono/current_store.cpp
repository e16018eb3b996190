// Pulses are summed entry by entry: the entries at steps >= the current step always form a run
// of consecutive steps starting at curIndex (every pulse starts at the current step), so a new
// pulse adds onto the existing entries and appends the steps beyond them. When the table would
// overflow, the older half of the entries is dropped, as the chronogram store does with its
// time points; the running sum and the maximum are kept.
#include "chrono/current_store.h"

#include <algorithm>

namespace qiro {

CurrentStore::CurrentStore() {
  ResetSupplyCurrent();
}

void CurrentStore::ResetSupplyCurrent() {
  std::fill(curTime_.begin(), curTime_.end(), 0);
  std::fill(curValue_.begin(), curValue_.end(), 0.0);
  curIndex_ = 1;
  sumCurrent_ = 0;
  maxCurrent_ = 0;
}

void CurrentStore::MakeRoom(int length) {
  const int needed = curIndex_ + length - 1;
  if (needed <= kMaxCurrentEntries) return;
  // Never drop the entries from curIndex on: they are still being summed into.
  const int drop = std::min(curIndex_ - 1, std::max(kMaxCurrentEntries / 2, needed - kMaxCurrentEntries));
  if (drop <= 0) return;
  std::copy(curTime_.begin() + drop + 1, curTime_.end(), curTime_.begin() + 1);
  std::copy(curValue_.begin() + drop + 1, curValue_.end(), curValue_.begin() + 1);
  std::fill(curTime_.end() - drop, curTime_.end(), 0);
  std::fill(curValue_.end() - drop, curValue_.end(), 0.0);
  curIndex_ -= drop;
}

void CurrentStore::AddCurrentPulse(int step, int riseSteps, int fallSteps, double peak) {
  if (riseSteps <= 0 || fallSteps <= 0) return;
  // Move past the entries of earlier steps; an entry at this very step is where the pulse starts.
  auto skipEarlier = [&] {
    while (curIndex_ <= kMaxCurrentEntries && curTime_[static_cast<std::size_t>(curIndex_)] != 0 &&
           curTime_[static_cast<std::size_t>(curIndex_)] < step)
      ++curIndex_;
  };
  skipEarlier();
  const long long length = static_cast<long long>(riseSteps) + fallSteps + 1;
  MakeRoom(static_cast<int>(std::min<long long>(length, kMaxCurrentEntries)));
  skipEarlier();
  for (long long k = 0; k < length; ++k) {
    const long long e = curIndex_ + k;
    if (e > kMaxCurrentEntries) break;  // a pulse longer than the whole table is cut
    const auto i = static_cast<std::size_t>(e);
    if (curTime_[i] == 0) curTime_[i] = step + static_cast<int>(k);
    const double t = curTime_[i];
    double v = (t - step) / riseSteps * peak;
    if (v >= peak)
      v = std::max(0.0, peak / fallSteps * (static_cast<double>(step) + riseSteps + fallSteps - t));
    curValue_[i] += v;
    sumCurrent_ += curValue_[i];
    if (curValue_[i] > maxCurrent_) maxCurrent_ = curValue_[i];
  }
}

void CurrentStore::ChooseCurrentScale() {
  static constexpr struct {
    double upTo, scale;
  } kScales[] = {{0.8, 1}, {4, 5}, {8, 10}, {40, 50}, {80, 100}, {400, 500}, {800, 1000}};
  for (const auto& s : kScales) {
    if (maxCurrent_ <= s.upTo) {
      currentScale_ = s.scale;
      return;
    }
  }
}

int CurrentStore::CurTime(int k) const {
  return (k >= 1 && k <= kMaxCurrentEntries) ? curTime_[static_cast<std::size_t>(k)] : 0;
}

double CurrentStore::CurValue(int k) const {
  return (k >= 1 && k <= kMaxCurrentEntries) ? curValue_[static_cast<std::size_t>(k)] : 0.0;
}

}  // namespace qiro
