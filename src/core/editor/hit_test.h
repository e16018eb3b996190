// What lies under the pointer (labels, symbols, wires and their parts, pins) and the searches
// that show where an electrical net runs: View Electrical Net, Search Node and Search Pin.
// Where several entries lie under a point, the highest index wins. Hit tests work in
// schematic units, except LabelAt, which works in pixels because a label's extent is its text.
#pragma once

#include <string>
#include <string_view>

#include "model/symbol_hits.h"

namespace qiro {

class Workspace;

// Parts of a wire a point can be on.
enum WirePart {
  kWireNone = 0,
  kWireEnd1 = 1,
  kWireEnd2 = 2,
  kWireVertical = 3,
  kWireHorizontal = 4,
  kWireSloped = 5
};

struct WireHit {
  int wire = 0;  // 0 when none
  int part = kWireNone;
};

// A live label whose text box contains the pixel (px, py), or 0.
int LabelAt(const Workspace& ws, int px, int py);
// A live drawn symbol whose box, less 2 units on every side, contains the point, or 0.
int SymbolAt(const Workspace& ws, int x, int y);
// A live symbol (generated ones included) whose box grown by 2 contains the point, or 0.
int NearSymbol(const Workspace& ws, int x, int y);
// The wire under the point, with the grid step as tolerance.
WireHit WireAt(const Workspace& ws, int x, int y);
// The part of one wire within 3 units of the point (2 across a sloping wire), or kWireNone.
int WireNear(const Workspace& ws, int wire, int x, int y);
// The pin within 1 unit of the point on a symbol whose box grown by 1 holds it.
PinHit PinAt(const Workspace& ws, int x, int y);
// How a wire meets a pin: its first or second end on the pin (also recorded in the wire's
// EndFlags), a vertical or horizontal wire passing through it, a sloping one passing within
// 2 units (kWireSloped); kWireNone otherwise.
int WireOnPin(Workspace& ws, int symbol, int pin, int wire);

// View Electrical Net: highlights the net of the wires inside the band, of a wire near its
// lower-right corner, or of a pin there.
void ShowNetAt(Workspace& ws, int x1, int y1, int x2, int y2);
// Highlights every pin, wire and contact of node n and names it in the status bar.
void HighlightNode(Workspace& ws, int n);
// Search Node: extracts the circuit and highlights node n.
void ShowNode(Workspace& ws, int n);
// Search Node with the text typed in its input box (empty: cancelled).
void SearchNode(Workspace& ws, std::string_view typed);
// Search Pin: highlights every pin whose name matches, ignoring case and surrounding spaces.
void FindPin(Workspace& ws, std::string_view name);

}  // namespace qiro
