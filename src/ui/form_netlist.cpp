// The Verilog, hierarchy and netlist window.
#include "main_window.h"

namespace qiro {

void Tmdiframe::ShowNetlistWindow(int) {
  WindowNotAvailable("Netlist");
}

}  // namespace qiro
