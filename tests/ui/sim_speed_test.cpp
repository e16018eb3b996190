// Steps per second of a run in the desktop program against the headless engine that
// `qiro-cli simulate` drives, on the benchmark circuit with the control window's defaults
// (speed 0, wire state on); and the cost of the timing diagram following a run. The figures
// are printed.
#include <algorithm>
#include <chrono>
#include <iostream>

#include "../../bench/chain_circuit.h"
#include "chronos.h"
#include "fake_dialogs.h"
#include "sim/engine.h"

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

// A desktop run of `steps` steps on the example named in `args`, or on the benchmark chains when
// there is none; the timing diagram opens at the first step when `diagram` is set.
double DesktopStepsPerSecond(const QStringList& args, int steps, bool diagram = false) {
  Workspace ws;
  QtDialogs dialogs;
  Tmdiframe frame(ws, dialogs);
  frame.resize(800, 600);
  frame.Startup(test::SourceRoot(), args);
  frame.show();
  if (args.empty()) {
    bench::BuildChains(ws, bench::Shape{});
    ws.circuit.Extracted = true;  // the nodes are numbered by hand
  }
  int openingRedraws = -1;
  QTimer driver;
  QObject::connect(&driver, &QTimer::timeout, [&] {
    if (diagram && openingRedraws < 0 && ws.engine.StepCount > 0) {
      frame.action("mnuChronogram")->trigger();
      openingRedraws = frame.chronos()->redrawCount();
    }
    if (ws.engine.StepCount >= steps) frame.StopLifeCommand();
  });
  driver.start(5);
  const auto t0 = std::chrono::steady_clock::now();
  frame.StartLifeCommand();
  const double seconds = Seconds(t0);
  EXPECT_EQ(ws.engine.Speed, 0);
  EXPECT_TRUE(frame.simuCtrl()->lineState()->isChecked());
  if (diagram) {
    EXPECT_TRUE(frame.chronos()->isVisible());
    EXPECT_GT(frame.chronos()->redrawCount(), openingRedraws);  // it followed the run
    EXPECT_LE(frame.chronos()->redrawCount(), seconds * 1000 / kChronoRefreshMs + 3);
  }
  return (ws.engine.StepCount - 2) / seconds;
}

TEST(SimSpeed, DesktopRunKeepsAtLeastHalfTheHeadlessSpeed) {
  // Best of two: the machine may be shared.
  const double headless = std::max(HeadlessStepsPerSecond(), HeadlessStepsPerSecond());
  const double desktop = std::max(DesktopStepsPerSecond({}, kSteps), DesktopStepsPerSecond({}, kSteps));
  std::cout << "headless engine: " << static_cast<long>(headless) << " steps/s\n"
            << "desktop run:     " << static_cast<long>(desktop) << " steps/s ("
            << static_cast<int>(100 * desktop / headless) << " %)\n";
  EXPECT_GE(desktop, 0.5 * headless);
}

TEST(SimSpeed, TimingDiagramOpenDuringARunCostsAtMostAFifth) {
  const QStringList counter = {test::Example("counter.sch")};
  double without = 0, with = 0;
  for (int i = 0; i < 3; ++i) {  // interleaved, best of three: the machine may be shared
    without = std::max(without, DesktopStepsPerSecond(counter, 4 * kSteps));
    with = std::max(with, DesktopStepsPerSecond(counter, 4 * kSteps, true));
  }
  std::cout << "counter without the diagram: " << static_cast<long>(without) << " steps/s\n"
            << "counter with the diagram:    " << static_cast<long>(with) << " steps/s ("
            << static_cast<int>(100 * with / without) << " %)\n";
  EXPECT_GE(with, 0.8 * without);
}

}  // namespace
}  // namespace qiro
