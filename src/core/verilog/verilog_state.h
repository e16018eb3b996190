// What the netlist window shows: the module text written from the extracted circuit,
// the module name it carries and the whole shown text (header, module, stimuli).
#pragma once

#include <string>
#include <vector>

namespace qiro {

inline constexpr int kMaxModuleLines = 5000;

struct VerilogState {
  std::string ModuleName;            // filled from the file name by every refresh
  std::vector<std::string> Lines;    // the module text, at most 5000 lines
  std::vector<std::string> Shown;    // header + module + simulation parameters
  bool AppendSimulationInfo = true;  // "Append simulation infomations"
  bool Portable = false;             // "Portable Verilog": the text a Verilog simulator runs as is
  bool GateDelays = false;           // "Gate delays", in the portable text
  bool Testbench = false;            // a testbench after the portable text
};

}  // namespace qiro
