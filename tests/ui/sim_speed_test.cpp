// Steps per second of a run in the desktop program against the headless engine that
// `qiro-cli simulate` drives, on the benchmark circuit with the control window's defaults
// (speed 0, wire state on). Both figures are printed; the desktop must keep at least half.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <iostream>

#include "../../bench/chain_circuit.h"
#include "chronos.h"
#include "core/test_support.h"
#include "main_window.h"
#include "sim/engine.h"
#include "simu_ctrl.h"
#include "ui_dialogs.h"
#include "workspace.h"

namespace qiro {
namespace {

constexpr int kSteps = 20000;

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double HeadlessStepsPerSecond() {
  Workspace ws;
  bench::BuildChains(ws, bench::Shape{});
  const auto t0 = std::chrono::steady_clock::now();
  RunUntil(ws, kSteps);
  return (ws.engine.StepCount - 2) / Seconds(t0);
}

double DesktopStepsPerSecond() {
  Workspace ws;
  QtDialogs dialogs;
  Tmdiframe frame(ws, dialogs);
  frame.resize(800, 600);
  frame.Startup(test::SourceRoot(), {});
  frame.show();
  bench::BuildChains(ws, bench::Shape{});
  ws.circuit.Extracted = true;  // the nodes are numbered by hand
  QTimer stopper;
  QObject::connect(&stopper, &QTimer::timeout, [&] {
    if (ws.engine.StepCount >= kSteps) frame.StopLifeCommand();
  });
  stopper.start(5);
  const auto t0 = std::chrono::steady_clock::now();
  frame.StartLifeCommand();
  const double seconds = Seconds(t0);
  EXPECT_EQ(ws.engine.Speed, 0);
  EXPECT_TRUE(frame.simuCtrl()->lineState()->isChecked());
  return (ws.engine.StepCount - 2) / seconds;
}

TEST(SimSpeed, DesktopRunKeepsAtLeastHalfTheHeadlessSpeed) {
  // Best of two: the machine may be shared.
  const double headless = std::max(HeadlessStepsPerSecond(), HeadlessStepsPerSecond());
  const double desktop = std::max(DesktopStepsPerSecond(), DesktopStepsPerSecond());
  std::cout << "headless engine: " << static_cast<long>(headless) << " steps/s\n"
            << "desktop run:     " << static_cast<long>(desktop) << " steps/s ("
            << static_cast<int>(100 * desktop / headless) << " %)\n";
  EXPECT_GE(desktop, 0.5 * headless);
}

// Steps per second of the counter example in the desktop program, with or without the timing
// diagram open and following the run.
double CounterStepsPerSecond(bool diagram) {
  Workspace ws;
  QtDialogs dialogs;
  Tmdiframe frame(ws, dialogs);
  frame.resize(800, 600);
  frame.Startup(test::SourceRoot(),
                {QString::fromStdString((test::SourceRoot() / "examples" / "counter.sch").string())});
  frame.show();
  QTimer driver;
  std::chrono::steady_clock::time_point t0;
  int startStep = 0, openingRedraws = 0;
  QObject::connect(&driver, &QTimer::timeout, [&] {
    if (startStep == 0 && ws.engine.StepCount > 0) {
      if (diagram) {
        frame.action("mnuChronogram")->trigger();
        openingRedraws = frame.chronos()->redrawCount();
      }
      startStep = ws.engine.StepCount;
      t0 = std::chrono::steady_clock::now();
    }
    if (startStep > 0 && ws.engine.StepCount >= startStep + 4 * kSteps) frame.StopLifeCommand();
  });
  driver.start(5);
  frame.StartLifeCommand();
  const double seconds = Seconds(t0);
  if (diagram) {
    EXPECT_TRUE(frame.chronos()->isVisible());
    EXPECT_GT(frame.chronos()->redrawCount(), openingRedraws);  // it followed the run
    EXPECT_LE(frame.chronos()->redrawCount(), seconds * 1000 / kChronoRefreshMs + 3);
  }
  return (ws.engine.StepCount - startStep) / seconds;
}

TEST(SimSpeed, TimingDiagramOpenDuringARunCostsAtMostAFifth) {
  double without = 0, with = 0;
  for (int i = 0; i < 3; ++i) {  // interleaved, best of three: the machine may be shared
    without = std::max(without, CounterStepsPerSecond(false));
    with = std::max(with, CounterStepsPerSecond(true));
  }
  std::cout << "counter without the diagram: " << static_cast<long>(without) << " steps/s\n"
            << "counter with the diagram:    " << static_cast<long>(with) << " steps/s ("
            << static_cast<int>(100 * with / without) << " %)\n";
  EXPECT_GE(with, 0.8 * without);
}

}  // namespace
}  // namespace qiro
