// Extraction: turns the drawing into numbered electrical nodes, expands Verilog-described
// symbols, computes fanout and delays. Results live in the pins, wires, contacts and nodes,
// and in the ExtractState below.
#pragma once

#include <string>
#include <vector>

#include "model/geometry.h"

namespace qiro {

class Workspace;

inline constexpr int kMaxIoNames = 128;
inline constexpr int kMaxInternalWires = 512;

struct ExtractState {
  std::vector<std::string> InputNames;     // at most 128
  std::vector<std::string> OutputNames;    // at most 128
  std::vector<std::string> InternalWires;  // at most 512 node names inside Verilog symbols
  int NameCounter = 0;                     // running number of generated "w" names
  int NumberingError = 0;                  // error code of the numbering (4: node table full)
  int ResultCode = 0;                      // 0 when the extraction succeeded
  std::string DesignName;
  int DesignCounter = 1;  // lives as long as the program
  int ModuleNumber = 1;   // Verilog expansion: one per model 6000 symbol
  int InstanceCount = 0;  // Verilog expansion: gates generated so far

  // Floating-line check: how many wires float, and the view around the last one found.
  int FloatingCount = 0;
  Rect FloatingView{};
  int FloatingX = 0, FloatingY = 0;  // that wire's midpoint
  int FloatingWire = 0;              // that wire, while its mark is shown; 0 once put away
};

// Runs the extraction when the circuit's Extracted flag is clear. ResultCode is 0 on success,
// otherwise the error code of the failing step (4: node table full).
void ExtractCircuit(Workspace& ws);
// The same extraction with whole-table scans instead of the spatial index: slower, and the
// reference the indexed extraction is checked against.
void ExtractCircuitReference(Workspace& ws);

// Fanout of every output pin and the wire delay of every pin (last step of the extraction).
void ComputeFanout(Workspace& ws);

// Steps of a pin's delay (0 for a pin without delay); also refreshes its GateDelay and,
// for a negative load factor, its WireDelay.
int PinDelaySteps(Workspace& ws, int symbol, int pin);

// Marks floating wires (state 2) and returns their count; errorCode becomes 13 when any, and
// the view is asked to show the last floating wire.
int CheckFloatingLines(Workspace& ws, int& errorCode);

// Where the "Floating line here" mark stands: the midpoint of the last floating wire found,
// while that wire is still highlighted there. Resetting the highlight, an edit that moves or
// removes the wire, a new extraction or another file take the mark away with the highlight.
bool FloatingMark(const Workspace& ws, int& x, int& y);
void PutAwayFloatingMark(Workspace& ws);

// The "Check Floating Line" command: extracts, checks, and returns the status text it shows.
std::string CheckFloatingLinesCommand(Workspace& ws);

}  // namespace qiro
