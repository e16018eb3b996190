// Undo and redo at table capacity: 2048 library gates, 2500 wires. Prints the time of undo and
// redo of single edits (a symbol moved with its wires, a paste, a flip of the whole drawing)
// and the memory the history holds after 100 moves, each against its target. Times are the
// worst of five rounds, in processor time.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

#include "editor/clipboard.h"
#include "editor/edit_ops.h"
#include "editor/history.h"
#include "model/symbol_library.h"
#include "workspace.h"

namespace qiro {
namespace {

constexpr int kColumns = 64;
constexpr double kTargetMs = 20.0;
constexpr double kTargetMb = 64.0;

// and2 gates on a grid, each output with a wire going right and the first inputs of the first
// rows with a wire going left, up to the wire table's capacity.
void BuildAtCapacity(Workspace& ws) {
  ws.SetHomeDir(QIRO_SOURCE_ROOT);
  Circuit& c = ws.circuit;
  for (int k = 0; c.Symbols.Count() < kMaxSymbols; ++k)
    PlaceLibrarySymbol(ws, 402, (k % kColumns) * 80 + 50, (k / kColumns) * 40 + 20);
  for (int s = 1; s <= c.Symbols.Count() && !c.Wires.Full(); ++s) {
    const TPin& y = c.Symbols[s].Pin(3);
    c.AddWire(y.X, y.Y, y.X + 15, y.Y);
  }
  for (int s = 1; s <= c.Symbols.Count() && !c.Wires.Full(); ++s) {
    const TPin& a = c.Symbols[s].Pin(1);
    c.AddWire(a.X - 10, a.Y, a.X, a.Y);
  }
}

// Processor time of this thread: the machine the benchmark runs on may be shared.
double ThreadMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double Ms(const std::function<void()>& f) {
  const double t0 = ThreadMs();
  f();
  return ThreadMs() - t0;
}

// Worst of a few undo and redo rounds of the last recorded edit.
void Measure(const char* what, Workspace& ws, History& h) {
  double undo = 0, redo = 0;
  for (int round = 0; round < 5; ++round) {
    undo = std::max(undo, Ms([&] { h.Undo(ws.circuit); }));
    redo = std::max(redo, Ms([&] { h.Redo(ws.circuit); }));
  }
  std::printf("%-40s undo %6.2f ms, redo %6.2f ms (target <= %.0f ms each) %s\n", what, undo, redo, kTargetMs,
              undo <= kTargetMs && redo <= kTargetMs ? "ok" : "MISSED");
}

void Run() {
  Workspace ws;
  BuildAtCapacity(ws);
  std::printf("tables: %d symbols, %d wires\n", ws.circuit.Symbols.Count(), ws.circuit.Wires.Count());
  History h;
  h.Reset(ws.circuit);

  // The wire table is full, so the wires stretch instead of bending.
  const TSymbol& g = ws.circuit.Symbols[1000];
  MoveSymbol(ws, 1000, g.BBox.x1, g.BBox.y1, g.BBox.x1 + 5, g.BBox.y1);
  h.Commit(ws.circuit, "Move");
  Measure("move of one gate with its wires", ws, h);

  CutArea(ws, 0, 0, 800, 200);
  MoveClipboard(ws, 0, 2000);
  PasteClipboard(ws);
  h.Commit(ws.circuit, "Paste");
  Measure("cut and paste of 60 gates", ws, h);

  FlipArea(ws, -100, -100, 6000, 3000);
  h.Commit(ws.circuit, "Flip");
  Measure("flip of the whole drawing", ws, h);

  History levels;
  levels.Reset(ws.circuit);
  for (int k = 0; k < History::kMaxLevels; ++k) {
    const TSymbol& s = ws.circuit.Symbols[1 + 17 * k];
    MoveSymbol(ws, 1 + 17 * k, s.BBox.x1, s.BBox.y1, s.BBox.x1 + 5, s.BBox.y1);
    levels.Commit(ws.circuit, "Move");
  }
  const double mb = static_cast<double>(levels.Bytes()) / (1024.0 * 1024.0);
  std::printf("%-40s %6.1f MB for %d levels (target <= %.0f MB) %s\n", "history after 100 moves", mb,
              levels.Levels(), kTargetMb, mb <= kTargetMb ? "ok" : "MISSED");
}

}  // namespace
}  // namespace qiro

int main() {
  qiro::Run();
  return 0;
}
