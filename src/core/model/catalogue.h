// The catalogue of model codes: library file names, recognition of Verilog gate
// primitives and of input/output devices by name, and the numbering of placed devices.
#pragma once

#include <string>
#include <string_view>

#include "model/records.h"

namespace qiro {

class Circuit;
class Workspace;

inline constexpr int kGateNone = 13;  // gate code of a name that is no gate primitive

// Library file stem of a model code ("and2", "button", ...), or "?" when it has none.
std::string LibraryNameOfModel(int model);

// Gate code 0..14 of a Verilog primitive name, recognised by prefix. On a match the
// canonical primitive name is stored in canonical; on no match (13) it is left alone.
int GateCodeOfName(std::string_view name, std::string& canonical);
int GateCodeOfName(std::string_view name);

// Input device class 0..6 (button, clock, kbd, vdd, vss, pwl, padin) or 7 for anything else.
int InputDeviceClass(std::string_view name);
// Output device class 0..3 (digit, light, pad out, display) or 4 for anything else.
int OutputDeviceClass(std::string_view name);

// Model code of a primitive instance with the given number of inputs; 0 when unknown.
int ModelOfPrimitive(std::string_view name, int inputs);

// Numbers a freshly read device: advances its kind's placement counter and appends the
// new count to the bare library names of the symbol, its title or its pins.
void NameNewSymbol(Workspace& ws, int symbol);
// The name that tells a numbered device from the others of its kind (a D register's title,
// another device's name); empty for a symbol that is not numbered.
std::string DeviceName(const TSymbol& s);
// Whether a live symbol other than `self` (0 for none) is a device already called `name`.
bool DeviceNameTaken(const Circuit& c, int self, const std::string& name);
// Names a pasted device like a new one from the palette: its names go back to the bare
// library names, then the placement counter numbers them.
void RenumberDevice(Workspace& ws, int symbol);

}  // namespace qiro
