// The main window while a simulation runs: the start and stop commands, pointer presses that
// go to the devices, the engine's host calls (event turns, sleeps, device redraws, the
// indicator, the periodic overlay) and the redraws after a single step and after a stop.
// Device faces are collected as they change and painted together at most every
// kSimFrameInterval, so the engine's speed does not depend on the drawing.
#include "sim_run.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMenuBar>
#include <QTimer>

#include "chronos.h"
#include "drawing_area.h"
#include "editor/hit_test.h"
#include "editor/renderer.h"
#include "editor/sim_view.h"
#include "editor/view.h"
#include "main_window.h"
#include "qt_canvas.h"
#include "sim/devices.h"
#include "sim/engine.h"
#include "simu_ctrl.h"
#include "workspace.h"

namespace qiro {

SimRunState& Tmdiframe::SimState() {
  if (!simState_) simState_ = new SimRunState(this);
  return *simState_;
}

TFormSimuCtrl* Tmdiframe::simuCtrl() {
  if (!simuCtrl_) simuCtrl_ = new TFormSimuCtrl(ws_, *this);
  return simuCtrl_;
}

bool Tmdiframe::SimulationRunning() const {
  return ws_.engine.Running;
}

void Tmdiframe::SimulationPress(QPoint p) {
  if (DeviceClick(ws_, WorldX(p), WorldY(p), ws_.engine.StepCount) && !ws_.engine.Paused) {
    ws_.engine.Paused = true;
    SimulationStateChanged();
  }
  FlushSimulationView();
}

void Tmdiframe::SimulationDoubleClick(QPoint p) {
  const int sym = SymbolAt(ws_, WorldX(p), WorldY(p));
  if (sym <= 0) return;
  const int model = ws_.circuit.Symbols[sym].Model;
  if (model == kModelDisplay || model == kModelDigit) OpenSymbolProperties(sym);
}

// The symbol library palette, when it was ever opened.
static QWidget* Palette(QObject& frame) {
  return frame.findChild<QWidget*>("TFormLoglib");
}

void Tmdiframe::StartLifeCommand() {
  ExtractCircuit(ws_);
  TFormSimuCtrl* ctrl = simuCtrl();
  ctrl->show();
  ctrl->raise();
  ctrl->SBSTARTClick();
}

void Tmdiframe::StopLifeCommand() {
  if (simuCtrl_) simuCtrl_->DoClose();
}

void Tmdiframe::ShowChronograms() {
  ResetTools();
  qiro::SetStatus(ws_, 0, "Show Chronogram");
  if (!ws_.engine.Running) HideLibrary();
  if (!chronos_) chronos_ = new TFormChronos(ws_, dialogs_, this);
  chronos_->show();
  chronos_->raise();
  chronos_->FormActivate();
}

void Tmdiframe::ProcessEvents() {
  const bool waiting = ws_.engine.Running && ws_.engine.Paused;
  SimRunState& state = SimState();
  const auto now = std::chrono::steady_clock::now();
  if (!waiting && ws_.engine.Running && now - state.lastEvents < kSimEventInterval) return;
  state.lastEvents = now;
  if (waiting || now - state.lastFrame >= kSimFrameInterval) FlushSimulationView();
  // While paused nothing happens until the user acts, so wait for an event instead of spinning.
  QCoreApplication::processEvents(waiting ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
}

void Tmdiframe::SleepMs(int ms) {
  // Events keep being handled while the run is slowed down.
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

void Tmdiframe::DeviceChanged(int symbol) {
  SimState().MarkDevice(symbol);
}

void Tmdiframe::SimulationIndicator(int red, int green, int blue) {
  SimRunState& s = SimState();
  s.red = red, s.green = green, s.blue = blue;
  s.indicatorDue = true;
}

void Tmdiframe::RefreshSimulationView() {
  SimState().overlayDue = true;
}

void Tmdiframe::SimulationStateChanged() {
  const bool running = ws_.engine.Running;
  SimRunState& state = SimState();
  // The palette steps aside during a run and comes back after it.
  if (QWidget* palette = Palette(*this)) {
    if (running && palette->isVisible()) {
      state.paletteHidden = true;
      palette->hide();
    } else if (!running && state.paletteHidden) {
      state.paletteHidden = false;
      palette->show();
    }
  }
  // While a run goes on the drawing cannot be edited or reloaded; viewing stays possible.
  static const char* const kLockedActions[] = {
      "mnunew",          "mnuread",        "mnuwrite",      "mnusave",      "mnuRule",
      "mnuToVerilog",    "mnuToSymbol",    "mnuProps",      "mnuMonochrom", "mnuprn",
      "mnuUndo",         "mnuCut",         "mnuPaste",      "mnuCopy",      "mnuMove",
      "mnuRotateLeft",   "mnuRotateRight", "mnuFlip",       "mnuLine",      "mnuConnect",
      "mnuText",         "mnuHideProps",   "mnuSearchNode", "mnuSearchPin", "mnuUnselect",
      "mnuInsertSymbol", "mnuInsertFile",  "mnuLastSymbol", "mnuZoomIn",    "mnuViewInterconnect",
      "mnuViewLibrary",  "mnuExtract",     "mnuCheckFloat", "mnuStartLife"};
  for (const char* name : kLockedActions)
    if (QAction* a = action(name)) a->setEnabled(!running);
  UpdateUndoActions();  // enabled after a run only when there is something to undo or redo
  for (const auto& [name, button] : tools_) {
    const bool keep = name == "sbsch" || name == "sbshow" || name == "sbzoomout";
    if (!keep) button->setEnabled(!running);
  }
  if (simuCtrl_) simuCtrl_->UpdateButtons();
  if (ws_.engine.Paused) FlushSimulationView();
}

void Tmdiframe::FlushSimulationView() {
  SimRunState& s = SimState();
  s.lastFrame = std::chrono::steady_clock::now();
  if (s.indicatorDue && simuCtrl_) simuCtrl_->SetIndicator(s.red, s.green, s.blue);
  s.indicatorDue = false;
  if (!drawing_) return;
  if (drawing_->EnsureSize()) {
    s.TakeDevices();
    s.overlayDue = false;
    RedrawAll();  // draws every face and the overlay
    return;
  }
  const std::vector<int> devices = s.TakeDevices();
  const bool overlay = s.overlayDue;
  s.overlayDue = false;
  if (devices.empty() && !overlay) return;
  {
    QtCanvas canvas(drawing_->base());
    for (int d : devices) DrawDeviceState(ws_, canvas, d);
    if (overlay) DrawSimulatedState(ws_, canvas, simuCtrl_ ? simuCtrl_->viewOptions() : SimViewOptions{});
  }
  if (overlay && simuCtrl_) simuCtrl_->RefreshRegisters();
  drawing_->ResetShown();
  drawing_->update();
}

void Tmdiframe::DrawSimulationValues(Canvas& canvas) {
  if (!RunValuesShown(ws_)) return;
  DrawAllDeviceStates(ws_, canvas);
  DrawSimulatedState(ws_, canvas, simuCtrl_ ? simuCtrl_->viewOptions() : SimViewOptions{});
}

void Tmdiframe::ShowSingleStep() {
  FitViewToSchematic(ws_);
  SyncScrollBars();
  const std::vector<std::uint8_t> cells = DelayCellImage(ws_);
  ws_.view.singleStep = true;
  ws_.view.delayCells = cells;
  RedrawAll();
  ws_.view.singleStep = false;
  ws_.view.delayCells = {};
  SimState().TakeDevices();
  SimState().overlayDue = false;
}

void Tmdiframe::ShowStoppedState() {
  FitView();
}

void Tmdiframe::SimulationFinished() {
  // The loop ran one more step after the stop: show where it ended.
  SimState().TakeDevices();
  SimState().overlayDue = false;
  RedrawAll();
  if (simuCtrl_) simuCtrl_->RefreshRegisters();
  SimulationStateChanged();
}

}  // namespace qiro
