// What the schematic shows while a simulation runs: wires in the colour of their node's level,
// the pin overlays, the faces of devices, switches and the microcontroller, the delay cells
// of the single-step view and the rows of the register view.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "editor/canvas.h"

namespace qiro {

class Workspace;

struct SimViewOptions {
  bool wireState = true;   // wires and pin squares coloured by level
  bool pinValues = false;  // each pin's level as a character
};

// Wires in red (logic 1), blue (0), grey (x), or cyan without a valid node; all cyan when the
// wire state is off.
void DrawWireLevels(Workspace& ws, Canvas& canvas, bool wireState);
// The periodic redraw of a run: wire levels, then the pin overlays the options ask for.
void DrawSimulatedState(Workspace& ws, Canvas& canvas, const SimViewOptions& options);

// Redraws one symbol as a run shows it: a device's face, the microcontroller's state lines, or
// the symbol itself (MOS switches).
void DrawDeviceState(Workspace& ws, Canvas& canvas, int symbol);
// The faces of every device and microcontroller, after a full redraw.
void DrawAllDeviceStates(Workspace& ws, Canvas& canvas);

// The engine's delay cells laid out at each pin's LineStart..LineEnd, newest first, as the
// single-step view of the renderer reads them; x where no line lies.
std::vector<std::uint8_t> DelayCellImage(const Workspace& ws);

// One row of the register view: a D register's title and its pins D, Rst, H, Q, nQ.
struct RegisterRow {
  std::string title;
  std::array<char, 5> levels{};
};
// The D registers in table order, at most maxRows of them.
std::vector<RegisterRow> RegisterRows(const Workspace& ws, int maxRows);

}  // namespace qiro
