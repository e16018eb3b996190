#include "chrono/current_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <random>
#include <vector>

namespace qiro {
namespace {

TEST(CurrentStore, TrianglePulse) {
  CurrentStore store;
  store.AddCurrentPulse(10, 2, 2, 1.0);
  const double expected[] = {0, 0.5, 1, 0.5, 0};
  for (int k = 1; k <= 5; ++k) {
    EXPECT_EQ(store.CurTime(k), 9 + k);
    EXPECT_DOUBLE_EQ(store.CurValue(k), expected[k - 1]);
  }
  EXPECT_EQ(store.CurTime(6), 0);
  EXPECT_DOUBLE_EQ(store.MaxCurrent(), 1);
  EXPECT_DOUBLE_EQ(store.SumCurrent(), 2);

  // The same pulse again doubles the entries; the sum adds the doubled values.
  store.AddCurrentPulse(10, 2, 2, 1.0);
  EXPECT_DOUBLE_EQ(store.CurValue(3), 2);
  EXPECT_DOUBLE_EQ(store.MaxCurrent(), 2);
  EXPECT_DOUBLE_EQ(store.SumCurrent(), 2 + 4);
}

TEST(CurrentStore, LaterOverlappingPulseAddsAtItsOwnSteps) {
  CurrentStore store;
  store.AddCurrentPulse(10, 2, 2, 1.0);  // steps 10..14
  store.AddCurrentPulse(12, 1, 1, 4.0);  // steps 12..14: 0, 4, 0
  for (int k = 1; k <= 5; ++k) EXPECT_EQ(store.CurTime(k), 9 + k);
  EXPECT_DOUBLE_EQ(store.CurValue(3), 1);
  EXPECT_DOUBLE_EQ(store.CurValue(4), 4.5);
  EXPECT_DOUBLE_EQ(store.CurValue(5), 0);
  store.AddCurrentPulse(13, 1, 2, 1.0);  // steps 13..16, two beyond the last entry
  EXPECT_EQ(store.CurTime(6), 15);
  EXPECT_EQ(store.CurTime(7), 16);
  EXPECT_DOUBLE_EQ(store.CurValue(5), 1);
}

TEST(CurrentStore, ScaleThresholds) {
  CurrentStore store;
  store.AddCurrentPulse(3, 1, 1, 0.8);
  store.ChooseCurrentScale();
  EXPECT_EQ(store.CurrentScale(), 1);
  store.ResetSupplyCurrent();
  store.AddCurrentPulse(3, 1, 1, 0.81);
  store.ChooseCurrentScale();
  EXPECT_EQ(store.CurrentScale(), 5);
  EXPECT_DOUBLE_EQ(store.CurrentDiv(), 1);
  store.ResetSupplyCurrent();
  store.AddCurrentPulse(3, 1, 1, 900);
  store.ChooseCurrentScale();
  EXPECT_EQ(store.CurrentScale(), 5);
}

TEST(CurrentStore, LongRunsDropOldEntriesInsteadOfOverflowing) {
  CurrentStore store;
  // Pulses of 5 entries every 10 steps: 100000 entries fill after 20000 pulses.
  for (int p = 0; p < 30000; ++p) store.AddCurrentPulse(10 * p + 3, 2, 2, 1.0);
  EXPECT_LE(store.CurIndex(), kMaxCurrentEntries);
  const int last = store.CurIndex();
  EXPECT_EQ(store.CurTime(last), 10 * 29999 + 3);
  EXPECT_DOUBLE_EQ(store.CurValue(last + 2), 1);
  for (int k = 2; k <= last + 4; ++k) EXPECT_LT(store.CurTime(k - 1), store.CurTime(k)) << k;
  EXPECT_DOUBLE_EQ(store.SumCurrent(), 30000 * 2);
  // A pulse longer than the whole table is cut, never written beyond it.
  store.AddCurrentPulse(400000, 90000, 90000, 1.0);
  EXPECT_DOUBLE_EQ(store.MaxCurrent(), 1);
}

// Pulses added one entry at a time with the values worked out from each entry's step: the
// store's first form, for tables that never fill.
struct LiteralStore {
  std::vector<int> time = std::vector<int>(kMaxCurrentEntries + 1);
  std::vector<double> value = std::vector<double>(kMaxCurrentEntries + 1);
  int index = 1;
  double sum = 0, max = 0;
  void Add(int step, int rise, int fall, double peak) {
    while (time[index] != 0 && time[index] < step) ++index;
    for (int k = 0; k <= rise + fall; ++k) {
      const auto i = static_cast<std::size_t>(index + k);
      if (time[i] == 0) time[i] = step + k;
      const double t = time[i];
      double v = (t - step) / rise * peak;
      if (v >= peak) v = std::max(0.0, peak / fall * (static_cast<double>(step) + rise + fall - t));
      value[i] += v;
      sum += value[i];
      if (value[i] > max) max = value[i];
    }
  }
};

void ExpectSame(double a, double b, const char* what, int at) {
  EXPECT_EQ(std::bit_cast<std::uint64_t>(a), std::bit_cast<std::uint64_t>(b)) << what << " at " << at;
}

// Equal pulses of one step go in together, added exactly or one by one; either way every entry,
// the sum and the maximum are the very doubles of single additions, also past 2^53 and with
// peaks that are not binary fractions.
TEST(CurrentStore, PulsesAddedTogetherGiveTheDoublesOfSingleAdditions) {
  const struct {
    int rise, fall;
    double peak;
  } kShapes[] = {{1, 2, 1.0},     {1, 1, 0.5},  {2, 3, 3.0}, {1, 2, 0.3},
                 {3, 1, 1.0 / 3}, {1, 1, 1e15}, {4, 4, 0}};
  std::mt19937 rng(7);
  for (int run = 0; run < 4; ++run) {
    CurrentStore store, single;
    LiteralStore literal;
    int step = 3;
    for (int group = 0; group < 3000; ++group) {
      step += static_cast<int>(rng() % 4);
      const auto& s = kShapes[rng() % (run < 2 ? 3 : std::size(kShapes))];
      const int count = 1 + static_cast<int>(rng() % 40);
      store.AddCurrentPulses(step, PulseShape::Of(s.rise, s.fall, s.peak), count);
      for (int j = 0; j < count; ++j) {
        single.AddCurrentPulse(step, s.rise, s.fall, s.peak);
        literal.Add(step, s.rise, s.fall, s.peak);
      }
    }
    ASSERT_EQ(store.CurIndex(), literal.index);
    ASSERT_EQ(single.CurIndex(), literal.index);
    for (int k = 1; k <= literal.index + 10; ++k) {
      ASSERT_EQ(store.CurTime(k), literal.time[static_cast<std::size_t>(k)]) << k;
      ExpectSame(store.CurValue(k), literal.value[static_cast<std::size_t>(k)], "entry", k);
      ExpectSame(single.CurValue(k), literal.value[static_cast<std::size_t>(k)], "entry", k);
    }
    ExpectSame(store.SumCurrent(), literal.sum, "sum", run);
    ExpectSame(store.MaxCurrent(), literal.max, "max", run);
  }
  // Past the table's end, where the oldest entries are dropped.
  CurrentStore store, single;
  const PulseShape shape = PulseShape::Of(2, 2, 0.5);
  for (int p = 0; p < 30000; ++p) {
    store.AddCurrentPulses(10 * p + 3, shape, 3);
    for (int j = 0; j < 3; ++j) single.AddCurrentPulse(10 * p + 3, 2, 2, 0.5);
  }
  ASSERT_EQ(store.CurIndex(), single.CurIndex());
  for (int k = 1; k <= kMaxCurrentEntries; k += 7)
    ExpectSame(store.CurValue(k), single.CurValue(k), "entry", k);
  ExpectSame(store.SumCurrent(), single.SumCurrent(), "sum", 0);
}

}  // namespace
}  // namespace qiro
