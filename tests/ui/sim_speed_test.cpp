// Steps per second of a run in the desktop program against the headless engine, on the
// benchmark circuit with the control window's defaults. Both figures are printed; the desktop
// must keep at least half (the benchmark shows the real ratio; CI machines are loaded).
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

#include "../../bench/desktop_run.h"
#include "core/test_support.h"

namespace qiro {
namespace {

constexpr int kSteps = 20000;

TEST(SimSpeed, DesktopRunKeepsAtLeastHalfTheHeadlessSpeed) {
  // Best of two: the machine may be shared.
  const double headless =
      std::max(bench::HeadlessSpeed(kSteps).stepsPerSecond, bench::HeadlessSpeed(kSteps).stepsPerSecond);
  const bench::RunSpeed first = bench::DesktopSpeed(kSteps, test::SourceRoot());
  const bench::RunSpeed second = bench::DesktopSpeed(kSteps, test::SourceRoot());
  EXPECT_TRUE(first.defaults && second.defaults);
  const double desktop = std::max(first.stepsPerSecond, second.stepsPerSecond);
  std::cout << "headless engine: " << static_cast<long>(headless) << " steps/s\n"
            << "desktop run:     " << static_cast<long>(desktop) << " steps/s ("
            << static_cast<int>(100 * desktop / headless) << " %)\n";
  EXPECT_GE(desktop, 0.5 * headless);
}

}  // namespace
}  // namespace qiro
