// Expansion of Verilog-described symbols (model 6000) into generated primitive gates,
// run by the extraction after the drawn circuit has been numbered.
#pragma once

namespace qiro {

class Workspace;

// Generates one Internal symbol per gate instance line of every model 6000 symbol.
void ExpandVerilogSymbols(Workspace& ws);
// Gives the generated gates' internal wires their nodes.
void NumberInternalWires(Workspace& ws);

}  // namespace qiro
