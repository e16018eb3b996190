#include "extract/connectivity.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "model/rounding.h"
#include "workspace.h"

namespace qiro {

namespace {

bool Between(int v, int a, int b) {
  return v >= std::min(a, b) && v <= std::max(a, b);
}
bool StrictlyBetween(int v, int a, int b) {
  return v > std::min(a, b) && v < std::max(a, b);
}

}  // namespace

namespace connect {

bool SinglePointOverlap(const TLine& a, const TLine& b, int& x, int& y) {
  const int x1 = std::max(std::min(a.X1, a.X2), std::min(b.X1, b.X2));
  const int x2 = std::min(std::max(a.X1, a.X2), std::max(b.X1, b.X2));
  const int y1 = std::max(std::min(a.Y1, a.Y2), std::min(b.Y1, b.Y2));
  const int y2 = std::min(std::max(a.Y1, a.Y2), std::max(b.Y1, b.Y2));
  x = x1;
  y = y1;
  return x1 == x2 && y1 == y2;
}

bool JoinSharedEnds(TLine& a, TLine& b) {
  bool joined = false;
  const int aStart = connect::EndBitsAt(b, a.X1, a.Y1);  // which ends of b meet a's start
  const int aEnd = connect::EndBitsAt(b, a.X2, a.Y2);
  if (aStart) a.EndFlags |= 1, joined = true;
  if (aEnd) a.EndFlags |= 2, joined = true;
  if ((aStart | aEnd) & 1) b.EndFlags |= 1;
  if ((aStart | aEnd) & 2) b.EndFlags |= 2;
  return joined;
}

}  // namespace connect

bool PinOnWire(Circuit& c, int symbol, int pin, int wire) {
  if (!c.Wires.Valid(wire)) return false;
  TLine& w = c.Wires[wire];
  // A highlighted wire (net view, search, floating check) is still part of the drawing.
  if (w.State == kDeleted) return false;
  const TPin& p = c.Symbols[symbol].Pin(pin);
  const int px = p.X, py = p.Y;
  const int ends = connect::EndBitsAt(w, px, py);
  if (ends) {
    w.EndFlags |= ends;
    return true;
  }
  if (w.X1 == w.X2) return w.X1 == px && Between(py, w.Y1, w.Y2);
  if (w.Y1 == w.Y2) return w.Y1 == py && Between(px, w.X1, w.X2);
  if (!StrictlyBetween(px, w.X1, w.X2) || !StrictlyBetween(py, w.Y1, w.Y2)) return false;
  // The wire's height at the pin's x; 64-bit products keep far-away coordinates exact.
  const double rise = static_cast<double>(static_cast<std::int64_t>(px) - w.X1) *
                      static_cast<double>(static_cast<std::int64_t>(w.Y2) - w.Y1) /
                      static_cast<double>(static_cast<std::int64_t>(w.X2) - w.X1);
  const double offset = static_cast<double>(w.Y1) + RoundHalfEven(rise) - py;
  return std::fabs(offset) <= kSlantTolerance;
}

int PinOnPin(const Circuit& c, int symbol, int pin, int otherSymbol) {
  if (otherSymbol == symbol || !c.Symbols.Valid(otherSymbol)) return 0;
  const TSymbol& s2 = c.Symbols[otherSymbol];
  if (s2.State == kDeleted) return 0;
  const TPin& p = c.Symbols[symbol].Pin(pin);
  int found = 0;
  for (int k = 1; k <= s2.PinCount; ++k)
    if (s2.Pin(k).X == p.X && s2.Pin(k).Y == p.Y) found = k;
  return found;
}

bool WiresConnected(Circuit& c, int w1, int w2, int* contact) {
  if (contact) *contact = 0;
  if (!c.Wires.Valid(w1) || !c.Wires.Valid(w2)) return false;
  TLine& a = c.Wires[w1];
  TLine& b = c.Wires[w2];
  if (a.State == kDeleted || b.State == kDeleted) return false;
  int x = 0, y = 0;
  if (connect::SinglePointOverlap(a, b, x, y)) {
    // Every dot on either wire's ends marks that end while the crossing dot is looked for.
    int found = 0;
    for (int i = 1; i <= c.Contacts.Count(); ++i) {
      const TContact& k = c.Contacts[i];
      a.EndFlags |= connect::EndBitsAt(a, k.X, k.Y);
      b.EndFlags |= connect::EndBitsAt(b, k.X, k.Y);
      if (k.State != kDeleted && k.X == x && k.Y == y) found = i;
    }
    if (found) {
      if (contact) *contact = found;
      return true;
    }
  }
  return connect::JoinSharedEnds(a, b);
}

void AssignPinNode(Workspace& ws, int symbol, int pin, int node) {
  if (!ws.circuit.Symbols.Valid(symbol)) return;
  TSymbol& s = ws.circuit.Symbols[symbol];
  if (pin < 1 || pin > s.PinCount) return;
  TPin& p = s.Pin(pin);
  if (p.Node != -1) return;
  p.Node = node;
  TNode& n = ws.nodes[node];
  if (p.GateDelay != 0) ++n.Drivers;
  if (n.Name.empty() && !p.Name.empty() && p.Name != ".") n.Name = p.Name;
}

}  // namespace qiro
