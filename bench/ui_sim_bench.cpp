// Desktop runs: the desktop run against the headless engine on the chains (desktop_run.h), and
// the counter example run with and without the timing diagram following it. Steps per second,
// best of three, and their ratios with the targets.
#include <QAction>
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "chronos.h"
#include "desktop_run.h"

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  constexpr int kSteps = 50000;
  double headless = 0, desktop = 0;
  bool defaults = true;
  for (int k = 0; k < 3; ++k) {
    headless = std::max(headless, qiro::bench::HeadlessSpeed(kSteps).stepsPerSecond);
    const qiro::bench::RunSpeed run = qiro::bench::DesktopSpeed(kSteps, QIRO_SOURCE_ROOT);
    desktop = std::max(desktop, run.stepsPerSecond);
    defaults = defaults && run.defaults;
  }
  std::printf("== desktop run on the chains (%d steps, speed 0, wire state %s)\n", kSteps,
              defaults ? "on" : "OFF");
  std::printf("headless engine: %.0f steps/s\ndesktop run:     %.0f steps/s\n", headless, desktop);
  std::printf("ratio desktop / headless: %.2f (target at least 0.8)\n", desktop / headless);

  // Long runs, so that the diagram's refresh interval matters and not its opening paint.
  const QStringList counter = {QString(QIRO_SOURCE_ROOT) + "/examples/counter.sch"};
  const auto open = [](qiro::Tmdiframe& frame) { frame.action("mnuChronogram")->trigger(); };
  constexpr int kCounterSteps = 1500000;
  double without = 0, with = 0;
  for (int k = 0; k < 3; ++k) {  // interleaved: the machine may be shared
    without =
        std::max(without, qiro::bench::DesktopSpeed(kCounterSteps, QIRO_SOURCE_ROOT, counter).stepsPerSecond);
    with = std::max(with,
                    qiro::bench::DesktopSpeed(kCounterSteps, QIRO_SOURCE_ROOT, counter, open).stepsPerSecond);
  }
  std::printf("== counter example (%d steps) with the timing diagram open during the run\n", kCounterSteps);
  std::printf("without the diagram: %.0f steps/s\nwith the diagram:    %.0f steps/s\n", without, with);
  std::printf("ratio with / without: %.2f (target at least 0.8)\n", with / without);
  return 0;
}
