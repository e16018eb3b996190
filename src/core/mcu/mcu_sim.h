// The microcontroller symbol inside a simulation step.
#pragma once

#include "mcu/mcu_core.h"

namespace qiro {

class Workspace;

// The first simulated step of a run; the program is assembled then.
inline constexpr int kMcuFirstStep = 3;

// One pass of a step for the microcontroller symbol `symbol`: the drive pass puts the
// P1 and P3 outputs on their nodes; the compute pass runs the core and shows its state.
// At the first step of a run the schematic's assembly text is assembled, so a run always
// executes the program stored with the schematic.
void McuEvaluate(Workspace& ws, int symbol, McuPins& pins, bool drivePass);

// The symbol's face changed: the renderer draws McuStateLines(ws.mcu) at its corner.
void McuShowState(Workspace& ws, int symbol);

}  // namespace qiro
