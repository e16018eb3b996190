#include "chrono/current_store.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qiro
