#include "chrono/chrono_store.h"

#include <gtest/gtest.h>

namespace qiro {
namespace {

TEST(ChronoStore, SameStepSharesOneTimePointAndLaterValueWins) {
  ChronoStore store;
  const int a = store.AddChronoTrace("a (light1)", false);
  const int b = store.AddChronoTrace("b (light2)", false);
  store.RecordChronoSample(3, a, 1);
  store.RecordChronoSample(3, a, 0);
  store.RecordChronoSample(3, b, 1);
  EXPECT_EQ(store.SampleCount(), 1);
  EXPECT_EQ(store.Sample(a, 1), 0);
  // A trace not recorded at a later time keeps its level there.
  store.RecordChronoSample(7, a, 255);
  store.RecordChronoSample(9, a, 1);
  EXPECT_EQ(store.SampleCount(), 3);
  EXPECT_EQ(store.SampleTime(2), 7);
  EXPECT_EQ(store.Sample(b, 2), 1);
  EXPECT_EQ(store.Sample(b, 3), 1);
  EXPECT_EQ(store.Sample(a, 2), 255);
}

TEST(ChronoStore, TraceOutsideTheTableOnlyOpensTheTimePoint) {
  ChronoStore store;
  const int a = store.AddChronoTrace("a", false);
  store.RecordChronoSample(3, a, 1);
  store.RecordChronoSample(4, 40, 0);
  store.RecordChronoSample(5, 0, 0);
  EXPECT_EQ(store.SampleCount(), 3);
  EXPECT_EQ(store.Sample(a, 3), 1);
}

TEST(ChronoStore, ThirtyThirdTraceReplacesTheLast) {
  ChronoStore store;
  for (int i = 1; i <= 32; ++i) EXPECT_EQ(store.AddChronoTrace("t" + std::to_string(i), false), i);
  EXPECT_EQ(store.AddChronoTrace("late", true), 32);
  EXPECT_EQ(store.TraceCount(), 32);
  EXPECT_EQ(store.Trace(32).name, "late");
  EXPECT_TRUE(store.Trace(32).isBus);
  EXPECT_EQ(store.Trace(31).name, "t31");
}

TEST(ChronoStore, FullStoreDropsTheOlderHalf) {
  ChronoStore store;
  const int a = store.AddChronoTrace("a", false);
  const int bus = store.AddChronoTrace("bus", true);
  for (int k = 1; k <= kMaxTimePoints; ++k) store.RecordChronoSample(10 + k, a, k % 2);
  store.RecordChronoSample(kMaxTimePoints + 10, bus, 0x5A);
  ASSERT_EQ(store.SampleCount(), kMaxTimePoints);
  // The 5001st time point: points 2501..5000 move to 1..2500, the new one is 2501.
  store.RecordChronoSample(20000, -1, 0);
  EXPECT_EQ(store.SampleCount(), 2501);
  EXPECT_EQ(store.SampleTime(1), 10 + 2501);
  EXPECT_EQ(store.Sample(a, 1), 2501 % 2);
  EXPECT_EQ(store.SampleTime(2500), 10 + kMaxTimePoints);
  EXPECT_EQ(store.SampleTime(2501), 20000);
  EXPECT_EQ(store.Sample(a, 2501), kMaxTimePoints % 2);
  EXPECT_EQ(store.Sample(bus, 2501), 0x5A);
  EXPECT_EQ(store.viewStart, 20000);
}

}  // namespace
}  // namespace qiro
