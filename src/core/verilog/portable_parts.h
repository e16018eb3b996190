// Pieces the portable netlist writer shares between its files: the module ports it found,
// the texts of the helper modules and the testbench.
#pragma once

#include <string>
#include <vector>

namespace qiro {

class Workspace;

// A port of the netlist: one device pin.
struct PortablePort {
  std::string written;  // the legal name in the module
  std::string original;
  int symbol = 0;
  int model = 0;
  int node = -1;
  bool input = false;
};

// Helper modules for the models that are not Verilog primitives.
enum class HelperModule { Mux, Dreg, Jk, Lut, Count };

// The base name and the text of a helper module, written under the given (unique) name.
const char* HelperModuleBase(HelperModule m);
std::vector<std::string> HelperModuleText(HelperModule m, const std::string& name);

// The testbench module: drives the inputs with the stimuli of their devices step by step (one
// step = the technology's time unit) from Qiro's first simulated step, and dumps the
// netlist's top-level nets to module + ".vcd".
std::vector<std::string> TestbenchText(Workspace& ws, const std::string& tbName, const std::string& module,
                                       const std::vector<PortablePort>& ports);

// A delay in ns as Verilog writes it ("2", "0.25").
std::string DelayText(double ns);

}  // namespace qiro
