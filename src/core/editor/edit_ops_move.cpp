// Moving one symbol by dragging it. Wire ends standing on its pins go with it. With "Keep
// wires connected when moving" off, an end follows only while its wire stays straight. With
// it on, every end follows: a wire that can no longer stay straight becomes an L (the new part
// keeps the pin's side of the wire in its old direction), dots appear where the wires now meet
// others as when a wire is drawn, a dot on a pin follows the pin, and a pin that touched
// another symbol's pin gets a wire back to it. The nets of all pins are numbered before and
// after; if a pin would lose a connection the move is taken back and the status says so.
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "editor/edit_ops.h"
#include "editor/wire_cleanup.h"
#include "editor/wire_route.h"
#include "extract/numbering.h"
#include "model/errors.h"
#include "workspace.h"

namespace qiro {

namespace {

struct Point {
  int x, y;
  bool operator==(const Point&) const = default;
};

// Which way a wire that must bend turns: the part at the pin keeps the wire's old direction,
// or the part at the far end does.
enum class Bend { PinSide, FarSide };

// Numbers the nets of a copy of the drawing and gives each pin its net, in symbol and pin
// order. The copy keeps the symbols between two numberings; only the moved symbol, the wires
// and the dots are brought up to date.
class NetCheck {
 public:
  explicit NetCheck(const Workspace& ws) : scratch_(std::make_unique<Workspace>()) {
    scratch_->tech = ws.tech;
    scratch_->circuit.Symbols = ws.circuit.Symbols;
  }

  // Empty when the nets could not be numbered (too many nodes): nothing can be told then.
  std::vector<int> PinNets(const Circuit& live, int moved) {
    Circuit& c = scratch_->circuit;
    c.Symbols[moved] = live.Symbols[moved];
    c.Wires = live.Wires;
    c.Contacts = live.Contacts;
    for (TLine& w : c.Wires) w.Node = -1, w.EndFlags = 0;
    for (TContact& k : c.Contacts) k.Node = -1;
    for (TSymbol& s : c.Symbols)
      for (TPin& p : s.Pins) p.Node = -1;
    scratch_->nodes.Reset();
    scratch_->extraction.NumberingError = 0;
    NumberNodes(*scratch_, NumberingScan::Indexed);
    std::vector<int> nets;
    if (scratch_->extraction.NumberingError != 0) return nets;
    for (const TSymbol& s : c.Symbols)
      for (int k = 1; k <= s.PinCount; ++k) nets.push_back(s.State == kDeleted ? -1 : s.Pin(k).Node);
    return nets;
  }

 private:
  std::unique_ptr<Workspace> scratch_;
};

// True when every two pins on one net before are on one net after; `joins` tells whether
// pins of different nets came together.
bool KeepsConnections(const std::vector<int>& before, const std::vector<int>& after, bool& joins) {
  std::unordered_map<int, int> forward, backward;
  joins = false;
  for (std::size_t k = 0; k < before.size() && k < after.size(); ++k) {
    if (before[k] < 0 || after[k] < 0) continue;
    if (forward.try_emplace(before[k], after[k]).first->second != after[k]) return false;
    if (backward.try_emplace(after[k], before[k]).first->second != before[k]) joins = true;
  }
  return true;
}

// The wire from `from` to `to`: straight when they line up, else an L that leaves `to` in the
// direction of `alongX` (horizontally when true). Adds the wires and lists them.
void AddPath(Circuit& c, Point from, Point to, bool alongX, std::vector<int>& added) {
  const auto add = [&](Point a, Point b) {
    if (const int n = c.AddWire(a.x, a.y, b.x, b.y)) added.push_back(n);
  };
  if (from.x == to.x || from.y == to.y) {
    add(from, to);
    return;
  }
  const Point corner = alongX ? Point{from.x, to.y} : Point{to.x, from.y};
  add(from, corner);
  add(corner, to);
}

// Moves the symbol and makes the wires on its pins follow, bending where they must.
void MoveWithWires(Workspace& ws, int i, int dx, int dy, Bend bend) {
  Circuit& c = ws.circuit;
  TSymbol& s = c.Symbols[i];
  std::vector<Point> pins;
  for (int k = 1; k <= s.PinCount; ++k) pins.push_back({s.Pin(k).X, s.Pin(k).Y});
  const auto onPin = [&pins](int x, int y) {
    for (const Point& p : pins)
      if (p.x == x && p.y == y) return true;
    return false;
  };
  // Pins touching a pin of another symbol keep that connection through a new wire.
  std::vector<Point> touching;
  for (int j = 1; j <= c.Symbols.Count(); ++j) {
    const TSymbol& other = c.Symbols[j];
    if (j == i || other.State == kDeleted || other.Internal != 0) continue;
    for (int k = 1; k <= other.PinCount; ++k)
      if (onPin(other.Pin(k).X, other.Pin(k).Y)) touching.push_back({other.Pin(k).X, other.Pin(k).Y});
  }

  std::vector<int> changed;
  const int wires = c.Wires.Count();
  for (int n = 1; n <= wires; ++n) {
    TLine& w = c.Wires[n];
    if (w.State == kDeleted) continue;
    const bool end1 = onPin(w.X1, w.Y1), end2 = onPin(w.X2, w.Y2);
    if (!end1 && !end2) continue;
    changed.push_back(n);
    if (end1 && end2) {
      w.X1 += dx, w.Y1 += dy, w.X2 += dx, w.Y2 += dy;
      continue;
    }
    int& ex = end1 ? w.X1 : w.X2;
    int& ey = end1 ? w.Y1 : w.Y2;
    const Point far = end1 ? Point{w.X2, w.Y2} : Point{w.X1, w.Y1};
    const bool wasHorizontal = ey == far.y, wasVertical = ex == far.x;
    const Point moved{ex + dx, ey + dy};
    if (moved == far) {
      w.State = kDeleted;  // the pin now stands on the far end itself
    } else if (moved.x == far.x || moved.y == far.y || (!wasHorizontal && !wasVertical)) {
      ex = moved.x, ey = moved.y;  // still straight, or slanted from the start
    } else {
      // The part at the far end keeps the wire's slot; the part at the pin is new.
      const bool pinPartAlongX = (bend == Bend::PinSide) == wasHorizontal;
      const Point corner = pinPartAlongX ? Point{far.x, moved.y} : Point{moved.x, far.y};
      ex = corner.x, ey = corner.y;
      if (const int added = c.AddWire(corner.x, corner.y, moved.x, moved.y)) changed.push_back(added);
    }
  }
  for (TContact& k : c.Contacts)
    if (k.State != kDeleted && onPin(k.X, k.Y)) k.X += dx, k.Y += dy;
  ShiftSymbol(s, dx, dy);
  for (const Point& p : touching) AddPath(c, p, {p.x + dx, p.y + dy}, bend == Bend::PinSide, changed);

  for (int n : changed)
    if (c.Wires[n].State != kDeleted) AutoContacts(ws, n);
  CleanWires(ws);
  SmartLinePass(ws);
}

// The old way: ends follow only while their wire stays straight.
void MoveStraightWiresOnly(Circuit& c, int i, int dx, int dy) {
  TSymbol& s = c.Symbols[i];
  const auto onPin = [&s](int x, int y) {
    for (int k = 1; k <= s.PinCount; ++k)
      if (s.Pin(k).X == x && s.Pin(k).Y == y) return true;
    return false;
  };
  // Wire ends are matched against the pins where they stood before the move.
  for (TLine& w : c.Wires) {
    if (w.State != kNormal) continue;
    const bool end1 = onPin(w.X1, w.Y1), end2 = onPin(w.X2, w.Y2);
    if (end1 && end2) {
      w.X1 += dx, w.Y1 += dy, w.X2 += dx, w.Y2 += dy;
    } else if (end1 && (w.X1 + dx == w.X2 || w.Y1 + dy == w.Y2)) {
      w.X1 += dx, w.Y1 += dy;
    } else if (end2 && (w.X2 + dx == w.X1 || w.Y2 + dy == w.Y1)) {
      w.X2 += dx, w.Y2 += dy;
    }
  }
  ShiftSymbol(s, dx, dy);
}

// Tries each way of bending; takes the first that keeps every connection and makes no new one,
// else the first that keeps every connection. False, with the tables as before, when none does
// or when a full wire table leaves no room for a bend (the error code then says so).
bool MoveKeepingConnections(Workspace& ws, int i, int dx, int dy) {
  Circuit& c = ws.circuit;
  const auto wires = c.Wires;
  const auto contacts = c.Contacts;
  const TSymbol symbol = c.Symbols[i];
  const auto restore = [&] {
    c.Wires = wires;
    c.Contacts = contacts;
    c.Symbols[i] = symbol;
  };
  NetCheck check(ws);
  const std::vector<int> before = check.PinNets(c, i);
  std::optional<Bend> fallback;
  for (Bend bend : {Bend::PinSide, Bend::FarSide}) {
    if (bend != Bend::PinSide) restore();
    MoveWithWires(ws, i, dx, dy, bend);
    if (c.ErrorCode != 0) break;
    const std::vector<int> after = before.empty() ? before : check.PinNets(c, i);
    bool joins = false;
    if (!KeepsConnections(before, after, joins)) continue;
    if (!joins) return true;
    if (!fallback) fallback = bend;
  }
  restore();
  if (!fallback) return false;
  MoveWithWires(ws, i, dx, dy, *fallback);
  return true;
}

}  // namespace

void MoveSymbol(Workspace& ws, int i, int fromX, int fromY, int toX, int toY) {
  Circuit& c = ws.circuit;
  const int dx = Snap(toX) - Snap(fromX), dy = Snap(toY) - Snap(fromY);
  if (!c.Symbols.Valid(i) || (dx == 0 && dy == 0)) {
    ws.host().RedrawAll();
    return;
  }
  if (!ws.settings.KeepWiresConnected) {
    MoveStraightWiresOnly(c, i, dx, dy);
  } else if (!MoveKeepingConnections(ws, i, dx, dy)) {
    SetStatus(ws, 0, "Move cancelled: the wires of " + c.Symbols[i].Name + " could not stay connected.");
    if (c.ErrorCode != 0) ReportError(ws, c.ErrorCode);
    c.ErrorCode = 0;
    ws.host().RedrawAll();
    return;
  }
  ws.host().RedrawAll();
  FinishEdit(ws);
}

}  // namespace qiro
