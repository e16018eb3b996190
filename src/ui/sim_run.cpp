// The main window while a simulation runs.
#include "main_window.h"

namespace qiro {

bool Tmdiframe::SimulationRunning() const {
  return false;
}

void Tmdiframe::SimulationPress(QPoint) {}

void Tmdiframe::SimulationDoubleClick(QPoint) {}

}  // namespace qiro
