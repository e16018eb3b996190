// Steps per second of a run in the desktop program against the headless engine that
// `qiro-cli simulate` drives, on the benchmark circuit with the control window's defaults
// (speed 0, wire state on). Both figures are printed; the desktop must keep at least half.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <iostream>

#include "../../bench/chain_circuit.h"
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

}  // namespace
}  // namespace qiro
