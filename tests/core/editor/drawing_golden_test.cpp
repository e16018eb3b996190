// Every bundled example drawn through the renderer against a recorded drawing
// (tests/golden/drawings/NAME.txt): fitted to 800 x 600, again black on white with node numbers,
// then after 300 steps of a run with the wire levels, pin values and device faces; one line per
// drawing call with its pen, brush and font (single pixels, the grid, only counted). Then the
// run's timing diagram fitted to its data. After an intended change of the drawing,
// QIRO_UPDATE_GOLDEN=1 records them again.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "chrono/chrono_view.h"
#include "core/editor/recording_canvas.h"
#include "core/test_support.h"
#include "editor/renderer.h"
#include "editor/sim_view.h"
#include "editor/view.h"
#include "extract/extract.h"
#include "model/schematic_file.h"
#include "workspace.h"

namespace qiro::test {
namespace {

std::string Listing(const RecordingCanvas& canvas) {
  std::ostringstream out;
  int pixels = 0;
  const auto rgb = [](Colour c) {
    return std::to_string(c.r) + ',' + std::to_string(c.g) + ',' + std::to_string(c.b);
  };
  for (const DrawOp& op : canvas.ops) {
    if (op.kind == OpKind::Pixel && ++pixels) continue;
    out << "CPSERFT"[static_cast<int>(op.kind)] << ' ' << op.r.left << ' ' << op.r.top << ' ' << op.r.right
        << ' ' << op.r.bottom << ' ' << rgb(op.colour) << " pen " << rgb(op.pen.colour) << ' '
        << +static_cast<int>(op.pen.style) << +static_cast<int>(op.pen.op) << ' ' << op.pen.width << " brush "
        << rgb(op.brush.colour) << ' ' << op.brush.transparent << " font " << rgb(op.font.colour) << ' '
        << op.font.size << ' ' << op.font.name << " '" << op.text << "'\n";
  }
  out << pixels << " pixels\n";
  return out.str();
}

std::string Listing(const ChronoPicture& p) {
  std::ostringstream out;
  for (const auto& r : p.rectangles)
    out << "R " << +static_cast<int>(r.image) << ' ' << r.x1 << ' ' << r.y1 << ' ' << r.x2 << ' ' << r.y2
        << ' ' << +static_cast<int>(r.fill) << r.border << '\n';
  for (const auto& l : p.lines)
    out << "L " << +static_cast<int>(l.image) << ' ' << l.x1 << ' ' << l.y1 << ' ' << l.x2 << ' ' << l.y2
        << ' ' << +static_cast<int>(l.colour) << l.dotted << '\n';
  for (const auto& t : p.texts)
    out << "T " << +static_cast<int>(t.image) << ' ' << t.x << ' ' << t.y << " '" << t.text << "'\n";
  for (const auto& t : p.status) out << "S '" << t << "'\n";
  out << "caption '" << p.caption << "'\n";
  return out.str();
}

TEST(DrawingGolden, ExamplesBeforeAndDuringARun) {
  const bool update = std::getenv("QIRO_UPDATE_GOLDEN") != nullptr;
  for (const char* name :
       {"counter", "keyboard_digit", "sine_display", "mcu_counter", "jk_toggle", "adder_2bit"}) {
    Workspace ws;
    ws.SetHomeDir(SourceRoot());
    ASSERT_TRUE(SchematicLoad(ws, SourceRoot() / "examples" / (std::string(name) + ".sch"), kLoadOpen));
    ws.view.Resize(800 + kScrollBarSize, 600 + kScrollBarSize, 0);
    FitViewToSchematic(ws);
    RecordingCanvas canvas;
    RedrawAll(ws, canvas);
    ws.settings.Monochrome = ws.view.netView = true;  // black on white, node numbers for pin names
    RedrawAll(ws, canvas);
    ws.settings.Monochrome = ws.view.netView = false;
    ExtractCircuit(ws);
    RunUntil(ws, 300);
    DrawSimulatedState(ws, canvas, {true, true});
    DrawAllDeviceStates(ws, canvas);
    StopSimulation(ws);
    FitToData(ws.chrono, ws.tech.TimeUnit, RecordedRange(ws.chrono, ws.engine.StepCount));
    const ChronoFrame frame(ws.chrono, ws.current, {100, 700, 500}, 600, ws.tech.TimeUnit,
                            ws.engine.StepCount, ws.tech.SupplyVoltage);
    const std::string listing =
        Listing(canvas) + Listing(InitChronograms(frame)) + Listing(DrawChronograms(frame));
    const auto golden = SourceRoot() / "tests" / "golden" / "drawings" / (std::string(name) + ".txt");
    if (update) WriteFile(golden, listing);
    EXPECT_EQ(listing, ReadFile(golden)) << name;
  }
}

}  // namespace
}  // namespace qiro::test
