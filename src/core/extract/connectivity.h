// The connection tests of the node numbering: a pin on a wire, a pin on another symbol's pin,
// two wires joined at an end or through a connection dot. The tests also record, in each
// wire's EndFlags, which of its ends met something.
#pragma once

#include "model/circuit.h"

namespace qiro {

class Workspace;

inline constexpr int kSlantTolerance = 2;  // units a pin may lie off a slanted wire

// True when the pin lies on the live (not deleted) wire: at an end (setting that end's bit), along a
// vertical or horizontal wire, or within 2 units vertically of a slanted one.
bool PinOnWire(Circuit& c, int symbol, int pin, int wire);

// The last pin of otherSymbol standing exactly on the pin's position, or 0. Never the pin's own
// symbol, and only for live symbols (highlighted ones included).
int PinOnPin(const Circuit& c, int symbol, int pin, int otherSymbol);

// True when the two wires cross at a live contact (the overlap of their rectangles is one point
// and a contact stands there; its index goes to *contact) or share an end. A wire end meeting the
// middle of another wire connects only through a contact.
bool WiresConnected(Circuit& c, int w1, int w2, int* contact = nullptr);

// Gives a pin that has no node yet the node N, counts it as a driver when it has a gate delay,
// and names an unnamed node after it.
void AssignPinNode(Workspace& ws, int symbol, int pin, int node);

// Shared pieces of the tests, also used by the indexed numbering.
namespace connect {

// The single point where the two wires' rectangles overlap, if that overlap is one point.
bool SinglePointOverlap(const TLine& a, const TLine& b, int& x, int& y);
// Bits of a wire's ends (1 start, 2 end) that lie on the point.
inline int EndBitsAt(const TLine& w, int x, int y) {
  return (w.X1 == x && w.Y1 == y ? 1 : 0) | (w.X2 == x && w.Y2 == y ? 2 : 0);
}
// Marks the ends the two wires share; true when they share any.
bool JoinSharedEnds(TLine& a, TLine& b);

}  // namespace connect

}  // namespace qiro
