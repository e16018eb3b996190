// The shared part of both engines: start, delay-line allocation, initial values, the step
// loop with its host turns, speed sleep and pause, the status texts and the stop.
#include "sim/engine.h"

#include <ctime>
#include <string>

#include "extract/extract.h"
#include "model/errors.h"
#include "model/text.h"
#include "sim/devices.h"
#include "sim/fast_engine.h"
#include "sim/primitives.h"
#include "sim/reference_engine.h"
#include "workspace.h"

namespace qiro {

Engine::Engine() = default;
Engine::~Engine() = default;

namespace {

// Stimulus devices drive their nodes themselves and own no delay line.
bool OwnsNoLine(int model) {
  return model == kModelClock || model == kModelPwl || model == kModelButton || model == kModelKbd ||
         model == kModelDisplay;
}

long SecondOfDay() {
  const std::time_t now = std::time(nullptr);
  const std::tm* t = std::localtime(&now);
  return t ? t->tm_hour * 3600L + t->tm_min * 60L + t->tm_sec : 0;
}

// Gives every pin its line; false when the lines need more than kMaxDelayCells cells.
bool AllocateDelayLines(Workspace& ws) {
  Engine& e = ws.engine;
  e.layout.Clear();
  e.Cursor = 1;
  bool ok = true;
  auto& symbols = ws.circuit.Symbols;
  for (int i = 1; i <= symbols.Count(); ++i) {
    TSymbol& s = symbols[i];
    e.layout.AddSymbol(s.PinCount);
    if (s.State == kDeleted) continue;
    for (int p = 1; p <= s.PinCount; ++p) {
      TPin& pin = s.Pin(p);
      if (OwnsNoLine(s.Model)) {
        pin.LineStart = pin.LineEnd = 0;
        pin.Value = kLogic0;
        continue;
      }
      pin.LineStart = e.Cursor;
      pin.Value = kLogicX;
      const int d = PinDelaySteps(ws, i, p);
      e.layout.SetSteps(i, p, d > 0 ? d : 0);
      if (d > 0) {
        e.Cursor += d;
        SetStatus(ws, 0, s.Name + "," + pin.Name);
      }
      if (e.Cursor > kMaxDelayCells) {
        e.Cursor = kMaxDelayCells;
        ok = false;
      }
      pin.LineEnd = e.Cursor - 1;
    }
  }
  return ok;
}

}  // namespace

bool InitSimulation(Workspace& ws) {
  Engine& e = ws.engine;
  e.Paused = false;
  e.StepCount = 0;
  e.ClickedNode = -1;
  SetStatus(ws, 0, "Initialize logic simulator...");
  ws.chrono.ResetChronograms();
  ws.current.ResetSupplyCurrent();
  if (!AllocateDelayLines(ws)) {
    e.impl.reset();
    ReportError(ws, 5);
    StopSimulation(ws);
    return false;
  }
  PrepareDevices(ws);
  e.ScriptNodes.clear();
  if (e.Script) e.Script->Bind(ws);
  for (int n = 0; n <= ws.nodes.Count(); ++n) {
    TNode& node = ws.nodes[n];
    node.Value = node.DriveKind == kDriveHigh ? kLogic1 : node.DriveKind == kDriveLow ? kLogic0 : kLogicX;
    node.PrevValue = node.Value;
    node.Level = 0.0;
  }
  if (e.Kind == EngineKind::Fast)
    e.impl = std::make_unique<FastEngine>();
  else
    e.impl = std::make_unique<ReferenceEngine>();
  e.impl->Build(ws, e.layout);
  e.ShownNodes = ws.nodes.Generation();
  ws.host().RedrawAll();
  e.StepCount = 2;  // the first simulated step is step 3
  return true;
}

void StartSimulation(Workspace& ws) {
  if (ws.engine.Running) return;
  ws.engine.Running = true;
  ws.host().SimulationStateChanged();
  if (InitSimulation(ws)) RunSimulation(ws);
}

void RunSimulation(Workspace& ws) {
  Engine& e = ws.engine;
  SetStatus(ws, 0, "Logic simulation running...");
  e.StartSecond = SecondOfDay();
  while (e.Running) {
    ws.host().ProcessEvents();
    SimulateStep(ws);
    const int period = ws.settings.DisplayPeriod;
    if (e.Running && period > 0 && e.StepCount % period == 0) ws.host().RefreshSimulationView();
    if (e.Speed > 0) ws.host().SleepMs(1 << (std::min(e.Speed, 10) - 1));
    while (e.Paused && e.Running) ws.host().ProcessEvents();
  }
  SetStatus(ws, 0,
            "Simulation stopped, absolute time=" + FormatFixed(e.StepCount * ws.tech.TimeUnit, 3, 5) + "ns");
  // The last "Click in ..." answer belongs to the run; the verdict of the extraction comes back.
  SetStatus(ws, 1, ws.extraction.ResultCode == 0 ? "Circuit OK" : "Circuit contains error");
}

void AdvanceStep(Workspace& ws) {
  Engine& e = ws.engine;
  if (!e.impl) return;
  e.StepCount += 1;
  ws.host().SimulationIndicator(e.StepCount % 255, 255 - e.StepCount % 255, 0);
  e.impl->Advance(ws);
  if (ws.settings.GlitchFiltering) GlitchFilter(ws);
  if (e.StepCount % 1000 == 0) {
    long elapsed = SecondOfDay() - e.StartSecond;
    if (elapsed < 0) elapsed += 24 * 3600;  // the run went past midnight
    SetStatus(ws, 0,
              "Running, absolute time=" + FormatFixed(e.StepCount * ws.tech.TimeUnit, 3, 5) + "ns;" +
                  " CPU time= " + std::to_string(elapsed) + "s");
  }
}

void GlitchFilter(Workspace& ws) {
  if (ws.engine.impl) ws.engine.impl->GlitchFilter(ws);
}

void EvaluateSymbols(Workspace& ws) {
  if (ws.engine.impl) ws.engine.impl->Evaluate(ws);
}

void ScanChangedNodes(Workspace& ws) {
  if (!ws.engine.impl) return;
  const bool pause = ws.engine.impl->Scan(ws);
  ws.engine.ClickedNode = -1;
  if (pause && !ws.engine.Paused) {
    ws.engine.Paused = true;
    ws.host().SimulationStateChanged();
  }
}

void StopSimulation(Workspace& ws) {
  ws.host().ProcessEvents();
  ws.engine.Running = false;
  ws.host().SimulationStateChanged();
}

void SimulateStep(Workspace& ws) {
  AdvanceStep(ws);
  DriveSources(ws, ws.engine.StepCount);
  if (ws.engine.Script) ws.engine.Script->Drive(ws, ws.engine.StepCount);
  EvaluateSymbols(ws);
  ScanChangedNodes(ws);
}

void SimulateOneStep(Workspace& ws) {
  if (!ws.engine.Running) return;
  SetStatus(ws, 0, "Simulate one step...");
  SimulateStep(ws);
}

bool RunUntil(Workspace& ws, int lastStep) {
  Engine& e = ws.engine;
  if (!e.Running) {
    e.Running = true;
    if (!InitSimulation(ws)) return false;
    e.StartSecond = SecondOfDay();
  }
  while (e.Running && !e.Paused && e.StepCount < lastStep) SimulateStep(ws);
  return true;
}

bool RunValuesShown(const Workspace& ws) {
  const Engine& e = ws.engine;
  return e.impl && e.ShownNodes == ws.nodes.Generation() && (e.Running || ws.circuit.Extracted);
}

void PutAwayRunValues(Workspace& ws) {
  if (!ws.engine.Running) ws.engine.ShownNodes = -1;
}

std::vector<std::uint8_t> PinLineCells(const Workspace& ws, int symbol, int pin) {
  return ws.engine.impl ? ws.engine.impl->Cells(symbol, pin) : std::vector<std::uint8_t>{};
}

}  // namespace qiro
