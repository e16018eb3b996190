// Full redraw of a schematic at table capacity, with its grid, into a 1920 x 1080 image
// through the Qt canvas: the fast path with its text cache warm (every redraw after the
// first), the fast path from a cold cache, and the plain path that paints call by call.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdlib>

#include "editor/renderer.h"
#include "editor/view.h"
#include "model/schematic_file.h"
#include "qt_canvas.h"
#include "qt_canvas_text_cache.h"
#include "workspace.h"

namespace qiro {
namespace {

// The counter example inserted again and again until the symbol table is nearly full.
void LoadCapacitySchematic(Workspace& ws) {
  ws.SetHomeDir(QIRO_SOURCE_ROOT);
  ClearSchematic(ws);
  const std::filesystem::path sch = std::filesystem::path(QIRO_SOURCE_ROOT) / "examples" / "counter.sch";
  for (int i = 0; i < 400 && ws.circuit.Symbols.Count() + 20 < kMaxSymbols; ++i)
    SchematicLoad(ws, sch, kLoadInsert);
  ws.view.Resize(1920 + kScrollBarSize, 1080 + kScrollBarSize, 0);
  FitViewToSchematic(ws);
}

void Redraw(benchmark::State& state, QtCanvas::Path path, bool coldCache) {
  Workspace ws;
  LoadCapacitySchematic(ws);
  QImage image(1920, 1080, QImage::Format_RGB32);
  for (auto _ : state) {
    if (coldCache) TextImageCache::Shared().Clear();
    QtCanvas canvas(image, path);
    RedrawAll(ws, canvas);
  }
  state.counters["symbols"] = ws.circuit.Symbols.Count();
  state.counters["wires"] = ws.circuit.Wires.Count();
}

void BM_QtRedrawFast(benchmark::State& state) {
  Redraw(state, QtCanvas::Path::Fast, false);
}
void BM_QtRedrawFastColdCache(benchmark::State& state) {
  Redraw(state, QtCanvas::Path::Fast, true);
}
void BM_QtRedrawPlain(benchmark::State& state) {
  Redraw(state, QtCanvas::Path::Plain, false);
}
BENCHMARK(BM_QtRedrawFast)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtRedrawFastColdCache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtRedrawPlain)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qiro

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
