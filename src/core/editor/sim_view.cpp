#include "editor/sim_view.h"

#include <algorithm>

#include "editor/device_faces.h"
#include "editor/renderer.h"
#include "sim/devices.h"
#include "sim/engine.h"
#include "sim/primitives.h"
#include "workspace.h"

namespace qiro {

void DrawWireLevels(Workspace& ws, Canvas& canvas, bool wireState) {
  const Pen previous = canvas.pen();
  const View& v = ws.view;
  for (const TLine& w : ws.circuit.Wires) {
    if (w.State == kDeleted) continue;
    Colour colour = palette::kCyan;
    if (wireState && ws.nodes.Valid(w.Node)) {
      const std::uint8_t value = ws.nodes[w.Node].Value;
      colour = value == kLogic1 ? palette::kRed : value == kLogic0 ? palette::kBlue : palette::kGrey;
    }
    canvas.SetPen(Pen{colour, PenStyle::Solid, RasterOp::Copy, previous.width});
    canvas.Segment(v.WorldToScreenX(w.X1), v.WorldToScreenY(w.Y1), v.WorldToScreenX(w.X2),
                   v.WorldToScreenY(w.Y2));
  }
  canvas.SetPen(previous);
}

void DrawSimulatedState(Workspace& ws, Canvas& canvas, const SimViewOptions& options) {
  DrawWireLevels(ws, canvas, options.wireState);
  if (options.wireState) DrawWireStates(ws, canvas);
  if (options.pinValues) DrawPinValues(ws, canvas);
}

void DrawDeviceState(Workspace& ws, Canvas& canvas, int symbol) {
  if (!ws.circuit.Symbols.Valid(symbol)) return;
  if (DrawDeviceFace(ws, canvas, symbol)) return;
  if (ws.circuit.Symbols[symbol].Model == kModelMcu)
    DrawMcuState(ws, canvas, symbol);
  else
    DrawSymbol(ws, canvas, symbol);
}

void DrawAllDeviceStates(Workspace& ws, Canvas& canvas) {
  for (int i = 1; i <= ws.circuit.Symbols.Count(); ++i) {
    if (!DrawDeviceFace(ws, canvas, i) && ws.circuit.Symbols[i].Model == kModelMcu)
      DrawMcuState(ws, canvas, i);
  }
}

std::vector<std::uint8_t> DelayCellImage(const Workspace& ws) {
  std::vector<std::uint8_t> cells(
      static_cast<std::size_t>(std::clamp(ws.engine.Cursor, 1, kMaxDelayCells)) + 1, kLogicX);
  for (int i = 1; i <= ws.circuit.Symbols.Count(); ++i) {
    const TSymbol& s = ws.circuit.Symbols[i];
    if (s.State == kDeleted) continue;
    for (int p = 1; p <= s.PinCount; ++p) {
      const TPin& pin = s.Pin(p);
      if (pin.LineStart < 1 || pin.LineEnd < pin.LineStart) continue;
      const std::vector<std::uint8_t> line = PinLineCells(ws, i, p);
      for (std::size_t k = 0; k < line.size(); ++k) {
        const std::size_t at = static_cast<std::size_t>(pin.LineStart) + k;
        if (at > static_cast<std::size_t>(pin.LineEnd) || at >= cells.size()) break;
        cells[at] = line[k];
      }
    }
  }
  return cells;
}

std::vector<RegisterRow> RegisterRows(const Workspace& ws, int maxRows) {
  std::vector<RegisterRow> rows;
  for (int i = 1; i <= ws.circuit.Symbols.Count() && static_cast<int>(rows.size()) < maxRows; ++i) {
    const TSymbol& s = ws.circuit.Symbols[i];
    if (s.State == kDeleted || s.Model != kModelDreg) continue;
    RegisterRow row{s.Title, {}};
    for (int k = 0; k < 5; ++k)
      row.levels[static_cast<std::size_t>(k)] = LevelChar(ws.nodes[s.Pin(k + 1).Node].Value);
    rows.push_back(row);
  }
  return rows;
}

}  // namespace qiro
