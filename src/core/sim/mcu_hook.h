// Where the 8051 core joins a simulation step. Both engines call this for every symbol of
// model 2051, once in the drive pass and once in the compute pass, with the symbol's pins.
#pragma once

namespace qiro {

class Workspace;
class SymbolPins;

enum class EvalPass { Drive, Compute };

void EvaluateMicrocontroller(Workspace& ws, SymbolPins& pins, EvalPass pass);

}  // namespace qiro
