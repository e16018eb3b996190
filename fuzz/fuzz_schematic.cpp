// Schematic and symbol files: the first byte picks the reader's mode (open, place at a
// cursor, insert beside what an open left) and the engine, the rest is the file. Whatever
// loads is then extracted, simulated briefly, written as Verilog text and drawn on a null canvas.
#include "editor/canvas.h"
#include "editor/renderer.h"
#include "fuzz_support.h"
#include "model/schematic_file.h"
#include "verilog/verilog_writer.h"

using namespace qiro;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const int mode = data[0] % 3;
  const auto path = fuzz::ScratchFile(data + 1, size - 1, ".sch");
  fuzz::QuietHost host;
  Workspace ws(&host);
  ws.SetHomeDir(QIRO_SOURCE_ROOT);
  if (mode == kLoadInsert) SchematicLoad(ws, path, kLoadOpen);
  SchematicLoad(ws, path, mode, 103 + data[0], 52 - data[0]);

  fuzz::ExtractAndSimulate(ws, 50, (data[0] & 4) ? EngineKind::Reference : EngineKind::Fast);
  ws.verilog.ModuleName = "fuzz";
  ws.verilog.AppendSimulationInfo = true;
  UpdateVerilog(ws, "now");

  ws.view.Resize(640, 480, 0);
  FitViewToSchematic(ws);
  NullCanvas canvas;
  RedrawAll(ws, canvas);
  DrawPinValues(ws, canvas);
  DrawWireStates(ws, canvas);
  return 0;
}
