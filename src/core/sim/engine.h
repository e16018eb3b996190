// The simulation engine's state and its step loop. One step: AdvanceStep (step counter, lines
// moved on, circuit-driven nodes back to x, glitch filter), DriveSources (devices),
// EvaluateSymbols (drive pass, compute pass) and ScanChangedNodes (lights, displays, switches).
// Two interchangeable engines carry the lines and the evaluation: the reference engine follows
// the step algorithm literally, the fast one (the default) touches only what changed.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "sim/step_engine.h"

namespace qiro {

class Workspace;

inline constexpr int kMaxDelayCells = 100000;

enum class EngineKind { Reference, Fast };

// Stimulus that takes over some input devices for a run (test vectors). Bind runs at every
// start once the devices are prepared: it takes its devices out of Engine::SourceSymbols and
// lists the nodes it drives in Engine::ScriptNodes. Drive runs every step after the devices.
class InputScript {
 public:
  virtual ~InputScript() = default;
  virtual void Bind(Workspace& ws) = 0;
  virtual void Drive(Workspace& ws, int step) = 0;
};

// A pwl source's pairs as steps, read at the start of a run: the value up to each step (the
// list ends at the first time word that cannot be read), and the first pair not yet passed.
struct PwlPoint {
  int step = 0;
  bool high = false;
};
struct PwlPoints {
  std::vector<PwlPoint> points;
  std::size_t next = 0;
};

class Engine {
 public:
  Engine();
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  int StepCount = 0;
  bool Running = false;
  bool Paused = false;
  int Speed = 0;                       // 0 (fast) .. 10 (slow): sleep 2^(Speed-1) ms per step
  int Cursor = 1;                      // delay cells allocated + 1
  long StartSecond = 0;                // wall-clock second of the day when the loop started
  EngineKind Kind = EngineKind::Fast;  // which engine the next start builds
  // The node a button click changed since the last scan of changed nodes. The click already ran
  // the lights' update on it, so the scan does not pause a second time on the same edge.
  int ClickedNode = -1;
  // The node table (by generation) whose values the last run left on the drawing; -1 once they
  // were put away. A new extraction replaces the table, so its values are never shown as the run's.
  int ShownNodes = -1;

  std::vector<int> SourceSymbols;    // symbols that drive nodes each step, listed by PrepareDevices
  std::vector<PwlPoints> Pwl;        // by symbol index, for the pwl sources
  InputScript* Script = nullptr;     // drives the inputs it took over; not owned
  std::vector<int> ScriptNodes;      // the nodes the script drives, looked at every step
  LineLayout layout;                 // delay steps of every pin, from the last start
  std::unique_ptr<StepEngine> impl;  // the engine of the current (or last) run
};

// The start button: initialises and runs the loop until the run is stopped.
void StartSimulation(Workspace& ws);
// Allocates delay lines, prepares devices and sets the initial node values. On failure
// (error 5) the simulation is stopped and false is returned.
bool InitSimulation(Workspace& ws);
// The step loop: one host event turn per step; returns when Running is cleared.
void RunSimulation(Workspace& ws);
void AdvanceStep(Workspace& ws);
void GlitchFilter(Workspace& ws);
void EvaluateSymbols(Workspace& ws);
void ScanChangedNodes(Workspace& ws);
void StopSimulation(Workspace& ws);

// One whole step: AdvanceStep, DriveSources, EvaluateSymbols, ScanChangedNodes.
void SimulateStep(Workspace& ws);
// The step button: one step while a run is paused.
void SimulateOneStep(Workspace& ws);

// Headless run: starts a run when none is going (without host event turns), then steps until
// StepCount reaches lastStep, the run stops or it pauses. False when the start failed.
bool RunUntil(Workspace& ws, int lastStep);

// Whether the drawing shows a run's values: while it runs, and after it stopped until the
// drawing changes, is extracted again or the values are put away (highlight reset, net view).
bool RunValuesShown(const Workspace& ws);
void PutAwayRunValues(Workspace& ws);

// The cells of a pin's delay line, newest first (what the single-step view shows).
std::vector<std::uint8_t> PinLineCells(const Workspace& ws, int symbol, int pin);

}  // namespace qiro
