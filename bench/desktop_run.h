// Steps per second of a run in the desktop program against the headless engine that
// `qiro-cli simulate` drives, on the chains of chain_circuit.h with the control window's
// defaults (speed 0, wire state on). Shared by the desktop benchmark and the UI test.
#pragma once

#include <QCheckBox>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <functional>

#include "chain_circuit.h"
#include "main_window.h"
#include "sim/engine.h"
#include "simu_ctrl.h"
#include "ui_dialogs.h"
#include "workspace.h"

namespace qiro::bench {

struct RunSpeed {
  double stepsPerSecond = 0;
  bool defaults = true;  // the desktop run had speed 0 and wire state on
};

inline double SecondsSince(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

inline RunSpeed HeadlessSpeed(int steps) {
  Workspace ws;
  BuildChains(ws, Shape{});
  const auto t0 = std::chrono::steady_clock::now();
  RunUntil(ws, steps);
  return {(ws.engine.StepCount - 2) / SecondsSince(t0), true};
}

// `args`: the files the program opens (none: the benchmark chains). `onFirstStep` runs once the
// run has begun, `onEnd` after it with the run's length in seconds.
inline RunSpeed DesktopSpeed(int steps, const std::filesystem::path& home, const QStringList& args = {},
                             const std::function<void(Tmdiframe&)>& onFirstStep = {},
                             const std::function<void(Tmdiframe&, double)>& onEnd = {}) {
  Workspace ws;
  QtDialogs dialogs;
  Tmdiframe frame(ws, dialogs);
  frame.resize(800, 600);
  frame.Startup(home, args);
  frame.show();
  if (args.empty()) {
    BuildChains(ws, Shape{});
    ws.circuit.Extracted = true;  // the nodes are numbered by hand
  }
  bool begun = false;
  QTimer stopper;
  QObject::connect(&stopper, &QTimer::timeout, [&] {
    if (!begun && ws.engine.StepCount > 0) {
      begun = true;
      if (onFirstStep) onFirstStep(frame);
    }
    if (ws.engine.StepCount >= steps) frame.StopLifeCommand();
  });
  stopper.start(5);
  const auto t0 = std::chrono::steady_clock::now();
  frame.StartLifeCommand();
  const double seconds = SecondsSince(t0);
  if (onEnd) onEnd(frame, seconds);
  return {(ws.engine.StepCount - 2) / seconds,
          ws.engine.Speed == 0 && frame.simuCtrl()->lineState()->isChecked()};
}

}  // namespace qiro::bench
