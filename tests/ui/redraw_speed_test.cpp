// Full redraw speed: a schematic filled to table capacity drawn with its grid into a
// 1920 x 1080 image through the Qt canvas. The bound is loose for busy machines; the time is
// printed so a slowdown is visible.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <chrono>
#include <iostream>

#include "core/test_support.h"
#include "editor/renderer.h"
#include "model/schematic_file.h"
#include "qt_canvas.h"
#include "workspace.h"

namespace qiro {
namespace {
using namespace qiro::test;

TEST(RedrawSpeed, FullTablesRedrawQuickly) {
  Workspace ws;
  ws.SetHomeDir(SourceRoot());
  ClearSchematic(ws);
  const auto sch = SourceRoot() / "examples" / "counter.sch";
  for (int i = 0; i < 400 && ws.circuit.Symbols.Count() + 20 < kMaxSymbols; ++i)
    SchematicLoad(ws, sch, kLoadInsert);
  ASSERT_GT(ws.circuit.Symbols.Count(), kMaxSymbols / 2);
  ws.view.Resize(1920 + kScrollBarSize, 1080 + kScrollBarSize, 0);
  FitViewToSchematic(ws);
  QImage image(1920, 1080, QImage::Format_RGB32);
  double best = 1e9;
  for (int run = 0; run < 3; ++run) {
    const auto t0 = std::chrono::steady_clock::now();
    QtCanvas canvas(image);
    RedrawAll(ws, canvas);
    best = std::min(best,
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
  }
  double core = 1e9;
  for (int run = 0; run < 3; ++run) {
    const auto t0 = std::chrono::steady_clock::now();
    NullCanvas canvas;
    RedrawAll(ws, canvas);
    core = std::min(core,
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
  }
  std::cout << "renderer alone: " << core << " ms\n";
  std::cout << "full redraw of " << ws.circuit.Symbols.Count() << " symbols, " << ws.circuit.Wires.Count()
            << " wires: " << best << " ms\n";
  EXPECT_LT(best, 250.0);
}

}  // namespace
}  // namespace qiro
