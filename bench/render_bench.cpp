// Full redraw (background, grid, labels, dots, symbols, wires) of a schematic at table capacity
// into a 1920 x 1080 drawing area, through a canvas that discards every call: the renderer's
// own cost, without any window system. A second case zooms in so most items are skipped.
#include <benchmark/benchmark.h>

#include <string>

#include "editor/canvas.h"
#include "editor/renderer.h"
#include "editor/view.h"
#include "workspace.h"

namespace qiro {
namespace {

// 2048 gates in 32 rows of 64, each with a five-line outline, an inverting bubble, three pins
// and a title; a wire from every output to the next gate's input, dots and labels on top.
void BuildCapacitySchematic(Workspace& ws) {
  Circuit& c = ws.circuit;
  ClearSchematic(ws);
  constexpr int kColumns = 64;
  for (int i = 0; i < kMaxSymbols; ++i) {
    const int x = (i % kColumns) * 60, y = (i / kColumns) * 50;
    const int s = c.AddSymbol("nand2");
    TSymbol& sym = c.Symbols[s];
    sym.Model = 302;
    sym.BBox = Rect{x, y, x + 40, y + 30};
    sym.Title = "U" + std::to_string(i);
    sym.TitleX = x;
    sym.TitleY = y - 5;
    sym.Vis = 1 | 2 | 4;
    c.AddInnerLine(s, x + 5, y + 5, x + 25, y + 5);
    c.AddInnerLine(s, x + 5, y + 25, x + 25, y + 25);
    c.AddInnerLine(s, x + 5, y + 5, x + 5, y + 25);
    c.AddInnerLine(s, x + 25, y + 5, x + 33, y + 15);
    c.AddInnerLine(s, x + 25, y + 25, x + 33, y + 15);
    c.AddInnerLine(s, x + 35, y + 15, x + 35, y + 15);
    c.AddPin(s, x, y + 10, 'I', "A", 1, 1, ws.tech);
    c.AddPin(s, x, y + 20, 'I', "B", 1, 1, ws.tech);
    c.AddPin(s, x + 40, y + 15, 'O', "Y", 1, 1, ws.tech);
  }
  for (int i = 1; i <= kMaxWires; ++i) {
    const TSymbol& from = c.Symbols[(i - 1) % kMaxSymbols + 1];
    const TPin& out = from.Pins[3];
    c.AddWire(out.X, out.Y, out.X + 20, out.Y + (i % 3) * 5 - 5);
  }
  for (int i = 1; i <= kMaxContacts; ++i) {
    const TLine& w = c.Wires[i * 4];
    c.AddContact(w.X1, w.Y1);
  }
  for (int i = 0; i < kMaxLabels; ++i) c.AddText(i * 60, -20, "label " + std::to_string(i));
}

void BM_RedrawAllFullView(benchmark::State& state) {
  Workspace ws;
  BuildCapacitySchematic(ws);
  ws.view.Resize(1920 + kScrollBarSize, 1080 + kScrollBarSize);
  FitViewToSchematic(ws);
  NullCanvas canvas;
  for (auto _ : state) RedrawAll(ws, canvas);
  state.counters["symbols"] = ws.circuit.Symbols.Count();
  state.counters["wires"] = ws.circuit.Wires.Count();
}
BENCHMARK(BM_RedrawAllFullView)->Unit(benchmark::kMillisecond);

void BM_RedrawAllZoomedIn(benchmark::State& state) {
  Workspace ws;
  BuildCapacitySchematic(ws);
  ws.view.Resize(1920 + kScrollBarSize, 1080 + kScrollBarSize);
  ws.view.ZoomToBand(600, 300, 1000, 525);
  NullCanvas canvas;
  for (auto _ : state) RedrawAll(ws, canvas);
}
BENCHMARK(BM_RedrawAllZoomedIn)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qiro

BENCHMARK_MAIN();
