// Checks the symbol properties dialog before OK writes anything: every field that would be
// dropped, stored unusable or changed on the way to the file is named with what is wrong,
// so the dialog can say it next to the field and stay open.
#pragma once

#include <string>
#include <vector>

#include "props/symbol_props.h"

namespace qiro {

class Workspace;
struct TPin;
struct Technology;

enum class PropsField {
  Name,
  PinName,  // Index: pin grid row
  PinGate,  // Index: pin grid row
  ClockLow,
  ClockHigh,
  ClockPinName,
  Value,     // Index: value field of the page
  PwlTime,   // Index: pwl grid row
  PwlValue,  // Index: pwl grid row
  Lut,       // Index: table row
  SelectPinName,
};

struct FieldProblem {
  PropsField Field;
  int Index = 0;
  std::string Message;
};

// Empty when OK may apply the dialog to the symbol.
std::vector<FieldProblem> CheckProperties(const Workspace& ws, int symbol, const SymbolProps& props);

// Whether a gate delay typed for a pin survives: the delay is stored as a factor of the
// technology's unit gate delay, and the file reader takes a factor between 0 and 1 as 1 and
// a pin with both factors 0 as an input. Empty when the value can be stored.
std::string CheckPinDelay(const TPin& pin, double delay, const Technology& tech);

// The gate delay the dialog shows for a pin: the one the next run computes from the pin's
// factor (the pin's own GateDelay is only brought up to date at a run's start).
double ShownGateDelay(const TPin& pin, const Technology& tech);
// Whether the gate cell of a pin row still shows the pin's delay as it was filled.
bool GateCellUnchanged(const TPin& pin, const Technology& tech, const std::string& cell);

}  // namespace qiro
