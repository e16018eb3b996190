#include "sim/mcu_hook.h"

namespace qiro {

// The microcontroller core plugs in here; until it does, an 8051 symbol neither drives nor
// computes, and its lines stay x.
void EvaluateMicrocontroller(Workspace& ws, SymbolPins& pins, EvalPass pass) {
  (void)ws, (void)pins, (void)pass;
}

}  // namespace qiro
