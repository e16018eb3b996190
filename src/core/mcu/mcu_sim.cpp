#include "mcu/mcu_sim.h"

#include "mcu/assembler.h"
#include "workspace.h"

namespace qiro {

void McuEvaluate(Workspace& ws, int symbol, McuPins& pins, bool drivePass) {
  if (drivePass) {
    if (ws.engine.StepCount == kMcuFirstStep) {
      AsmResult unused;
      AssembleLines(ShowSource(ws), ws.mcu.Program, unused);
    }
    McuDriveOutputs(pins);
    return;
  }
  McuStep(ws.mcu, pins);
  McuShowState(ws, symbol);
}

void McuShowState(Workspace& ws, int symbol) {
  ws.host().DeviceChanged(symbol);
}

}  // namespace qiro
