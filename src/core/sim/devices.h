// Stimulus and display devices: preparing them at simulation start, driving the sources every
// step, clicks on buttons and keyboards, and the updates the engine runs for every node whose
// value changed (lights with their pause on edge, digit and 8-bit displays, MOS switches).
// The step number is passed in by the engine; a pause on edge is returned to it.
#pragma once

#include <cstdint>
#include <string>

#include "model/geometry.h"
#include "sim/display_format.h"

namespace qiro {

class Workspace;

// Model codes of the devices and of the symbols they look at.
enum DeviceModel : int {
  kModelVss = 0,
  kModelVdd = 1,
  kModelLight = 49,
  kModelButton = 59,
  kModelPadIn = 61,
  kModelPadOut = 62,
  kModelPwl = 68,
  kModelClock = 69,
  kModelSinus = 70,
  kModelDisplay = 81,
  kModelKbd = 85,
  kModelSevenSeg = 88,
  kModelDigit = 89,
  kModelNmos = 901,
  kModelPmos = 902,
};

// At simulation start, after the delay lines are allocated: registers the traces of devices
// whose chronogram flag (Vis bit 0) is set, names and marks their nodes, sets the clock and sine
// parameters and the drive kinds of sources and supplies.
void PrepareDevices(Workspace& ws);

// Once per step: every source and supply drives its node(s) for the given step.
void DriveSources(Workspace& ws, int step);

// A click at schematic point (x, y) while simulating: toggles a button, picks a key of a
// keyboard, or tells the level of the pin clicked. Returns true when a light asked to pause.
bool DeviceClick(Workspace& ws, int x, int y, int step);

// Updates run for a node whose value changed. UpdateLights returns true when a light's
// pause-on-edge fired (the status text is already shown); UpdateDisplays returns true when a
// display has a pin on the node.
bool UpdateLights(Workspace& ws, int node, int step);
bool UpdateDisplays(Workspace& ws, int node, int step);
void UpdateSwitches(Workspace& ws, int node);
// All of the above plus the node-change log, as the engine's scan of changed nodes calls them.
// Returns true when the run should pause.
bool NodeChanged(Workspace& ws, int node, int step);

// The key (0..15) a click at (x, y) picks on a keyboard whose rectangle is rec.
int KeyAt(const Rect& rec, int x, int y);
// A point where a click lands on the symbol (on a keyboard: on the given key), for scripted
// clicks. False when no point of the symbol reaches it (hidden under another symbol).
bool ClickPointOf(const Workspace& ws, int symbol, int key, int& x, int& y);

// What the output devices show now.
std::uint8_t LightLevel(const Workspace& ws, int symbol);   // value code of the light's node
int DigitShown(const Workspace& ws, int symbol);            // 0..15, or kBlankDigit
int DisplayValue(const Workspace& ws, int symbol);          // pins 1..8 (digit: 1..4), pin 1 high
DisplayFace DisplayShown(const Workspace& ws, int symbol);  // an 8-bit display in its format
int SevenSegLit(const Workspace& ws, int symbol);           // segments a..g as bits 0..6; 0 when off
int KeyboardKey(const Workspace& ws, int symbol);           // last key clicked (pin 1 = bit 0)

// The character '1', '0' or 'x' of a value code.
char LevelChar(std::uint8_t valueCode);

// A device property word read as a decimal number: empty or unreadable words give def, values
// outside lo..hi the nearer bound. ok is false when the word gave the default.
double DeviceParameter(const std::string& word, double lo, double hi, double def, bool* ok = nullptr);

}  // namespace qiro
