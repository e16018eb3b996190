// Pulses are summed entry by entry: the entries at steps >= the current step always form a run
// of consecutive steps starting at curIndex (every pulse starts at the current step), so a new
// pulse adds onto the existing entries and appends the steps beyond them. When the table would
// overflow, the older half of the entries is dropped, as the chronogram store does with its
// time points; the running sum and the maximum are kept.
//
// Since entry curIndex + k of a pulse is always at step + k, a pulse adds the same values
// wherever it lands, so they are computed once per kind of pulse (PulseShape). Several equal
// pulses of one step are added in one go: in the order of the single calls, or, when every
// value and every partial sum is a multiple of one power of two small enough to be held
// exactly, all at once from whole-number sums (exact additions give the same doubles in any
// order).
#include "chrono/current_store.h"

#include <algorithm>
#include <bit>
#include <cmath>

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

namespace {

constexpr double kExactLimit = 9007199254740992.0;  // 2^53: whole numbers below it are exact
// Pulses whose values need a finer grain are added one by one: their sums soon pass 2^53 units.
constexpr int kFinestGrain = 24;

// Smallest g for which v * 2^g is a whole number below 2^53, or -1 (also when g > kFinestGrain).
int GrainOf(double v) {
  if (!(v >= 0 && v < kExactLimit)) return -1;
  if (v == 0) return 0;
  // v = m * 2^(e - 53) with a whole m of 53 bits; its trailing zero bits need no grain.
  int e = 0;
  const auto m = static_cast<std::uint64_t>(std::ldexp(std::frexp(v, &e), 53));
  const int g = std::max(0, 53 - e - std::countr_zero(m));
  return g <= kFinestGrain ? g : -1;
}

// The values of one pulse: the entry's step minus the pulse's start is k, and
// step + rise + fall - t is rise + fall - k, both exactly, as doubles.
std::vector<double> PulseValues(int riseSteps, int fallSteps, double peak) {
  if (riseSteps <= 0 || fallSteps <= 0) return {};
  // A pulse longer than the whole table is cut.
  const long long length =
      std::min<long long>(static_cast<long long>(riseSteps) + fallSteps + 1, kMaxCurrentEntries);
  std::vector<double> values(static_cast<std::size_t>(length));
  for (long long k = 0; k < length; ++k) {
    double v = static_cast<double>(k) / riseSteps * peak;
    if (v >= peak) v = std::max(0.0, peak / fallSteps * static_cast<double>(riseSteps + fallSteps - k));
    values[static_cast<std::size_t>(k)] = v;
  }
  return values;
}

}  // namespace

PulseShape PulseShape::Of(int riseSteps, int fallSteps, double peak) {
  PulseShape shape;
  shape.values = PulseValues(riseSteps, fallSteps, peak);
  shape.grain = 0;
  for (double v : shape.values) {
    const int g = GrainOf(v);
    shape.grain = g < 0 || shape.grain < 0 ? -1 : std::max(shape.grain, g);
  }
  if (shape.grain >= 0)
    for (double v : shape.values)
      shape.units.push_back(static_cast<std::int64_t>(std::ldexp(v, shape.grain)));
  return shape;
}

void CurrentStore::AddCurrentPulse(int step, int riseSteps, int fallSteps, double peak) {
  PulseShape single;  // no grain: a single pulse is added as it comes
  single.values = PulseValues(riseSteps, fallSteps, peak);
  AddCurrentPulses(step, single, 1);
}

void CurrentStore::AddCurrentPulses(int step, const PulseShape& shape, int count) {
  const int length = static_cast<int>(shape.values.size());
  if (length == 0 || count <= 0) return;
  // Move past the entries of earlier steps; an entry at this very step is where the pulse starts.
  auto skipEarlier = [&] {
    while (curIndex_ <= kMaxCurrentEntries && curTime_[static_cast<std::size_t>(curIndex_)] != 0 &&
           curTime_[static_cast<std::size_t>(curIndex_)] < step)
      ++curIndex_;
  };
  skipEarlier();
  if (curIndex_ + length - 1 > kMaxCurrentEntries) {
    MakeRoom(length);
    skipEarlier();
  }
  const int n = std::min(length, kMaxCurrentEntries + 1 - curIndex_);
  int* time = curTime_.data() + curIndex_;
  for (int k = 0; k < n; ++k)
    if (time[k] == 0) time[k] = step + k;
  if (count > 1 && AddExactly(shape, n, count)) return;
  double* value = curValue_.data() + curIndex_;
  const double* add = shape.values.data();
  double sum = sumCurrent_, max = maxCurrent_;
  for (int j = 0; j < count; ++j) {
    for (int k = 0; k < n; ++k) {
      const double v = value[k] + add[k];
      value[k] = v;
      sum += v;
      if (v > max) max = v;
    }
  }
  sumCurrent_ = sum;
  maxCurrent_ = max;
}

bool CurrentStore::AddExactly(const PulseShape& shape, int n, int count) {
  if (shape.grain < 0) return false;
  __extension__ typedef __int128 Wide;
  // Scaling by a power of two is exact.
  const double scale = std::ldexp(1.0, shape.grain), unit = std::ldexp(1.0, -shape.grain);
  auto units = [scale](double x, Wide& u) {
    const double scaled = x * scale;
    if (!(scaled >= 0 && scaled < kExactLimit) || scaled != std::floor(scaled)) return false;
    u = static_cast<Wide>(scaled);
    return true;
  };
  double* value = curValue_.data() + curIndex_;
  // Pulse j (1..count) adds the entries' totals c + j * v to the sum.
  Wide sum = 0, entries = 0, adds = 0;
  if (!units(sumCurrent_, sum)) return false;
  for (int k = 0; k < n; ++k) {
    Wide c = 0;
    if (!units(value[k], c)) return false;
    entries += c;
    adds += shape.units[static_cast<std::size_t>(k)];
  }
  const Wide m = count;
  sum += m * entries + m * (m + 1) / 2 * adds;
  // Every entry and partial sum on the way is at most the final sum, so all of them are exact.
  if (sum >= static_cast<Wide>(kExactLimit)) return false;
  for (int k = 0; k < n; ++k) {
    Wide c = 0;
    units(value[k], c);
    const double v = static_cast<double>(c + m * shape.units[static_cast<std::size_t>(k)]) * unit;
    value[k] = v;
    if (v > maxCurrent_) maxCurrent_ = v;
  }
  sumCurrent_ = static_cast<double>(sum) * unit;
  return true;
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
