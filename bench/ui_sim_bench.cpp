// The desktop run against the headless engine on the chains (desktop_run.h): steps per second
// of each, best of three, and their ratio with its target.
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

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
  return 0;
}
