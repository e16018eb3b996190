// The portable Verilog netlist: the extracted circuit as text that a Verilog simulator (Icarus
// Verilog in particular) runs on its own and that computes what Qiro simulates. Names are
// legalised, supplies declared, every non-primitive model gets a module of its own, ports on
// one node are joined by assign, and gates are written by the model Qiro evaluates. With
// delays each output carries the transport delay of its delay line; an optional testbench
// drives the inputs with the drawing's stimuli and dumps a VCD.
#pragma once

#include <string>
#include <vector>

namespace qiro {

class Workspace;

struct PortableOptions {
  bool Delays = false;     // each output with its delay in ns and a timescale
  bool Testbench = false;  // a testbench module after the netlist
};

// The whole text (header comments, netlist, helper modules, stimuli comments when
// ws.verilog.AppendSimulationInfo, testbench) for ws.verilog.ModuleName. Works on the last
// extraction.
std::vector<std::string> PortableVerilog(Workspace& ws, const PortableOptions& options,
                                         const std::string& dateTime);

// Steps the testbench runs by default: ten periods of the slowest clock or button, and at
// least past the last pwl time and 100 steps.
int DefaultTestbenchSteps(const Workspace& ws);

}  // namespace qiro
