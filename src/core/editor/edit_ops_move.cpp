// Moving one symbol by dragging it. Wire ends standing on its pins go with it. With "Keep
// wires connected when moving" off, an end follows only while its wire stays straight. With
// it on, every end follows: a wire that can no longer stay straight becomes an L (the new part
// keeps the pin's side of the wire in its old direction), dots appear where the wires now meet
// others as when a wire is drawn, a dot on a pin follows the pin, and a pin that touched
// another symbol's pin gets a wire back to it. The nets of all pins are numbered before and
// after; a bend that would join or split nets is tried the other way, and if no way keeps the
// nets as they were the move is taken back and the status says so.
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "editor/edit_ops.h"
#include "editor/wire_route.h"
#include "extract/numbering.h"
#include "model/errors.h"
#include "model/wire_cleanup.h"
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

// True when another live wire ends at p and runs the same way as p to q: a bend there would
// double back over it and leave a stub once the wires are merged.
bool RunsAlongAt(const Circuit& c, int self, Point p, Point q) {
  const bool vertical = p.x == q.x;
  for (int m = 1; m <= c.Wires.Count(); ++m) {
    const TLine& w = c.Wires[m];
    if (m == self || w.State == kDeleted) continue;
    const bool endsAt = (w.X1 == p.x && w.Y1 == p.y) || (w.X2 == p.x && w.Y2 == p.y);
    if (endsAt && (vertical ? w.X1 == w.X2 : w.Y1 == w.Y2)) return true;
  }
  return false;
}

// When the far end of a wire is the corner of a route (exactly one other wire ends there, at
// right angles, with no dot), that wire is stretched by the shift so this one keeps its
// direction: the route's jog moves instead of a new bend appearing.
bool SlideCorner(Circuit& c, int self, Point far, int shiftX, int shiftY) {
  int other = 0;
  for (int m = 1; m <= c.Wires.Count(); ++m) {
    const TLine& w = c.Wires[m];
    if (m == self || w.State == kDeleted) continue;
    if ((w.X1 == far.x && w.Y1 == far.y) || (w.X2 == far.x && w.Y2 == far.y)) {
      if (other != 0) return false;
      other = m;
    }
  }
  for (const TContact& k : c.Contacts)
    if (k.State != kDeleted && k.X == far.x && k.Y == far.y) return false;
  if (other == 0) return false;
  TLine& o = c.Wires[other];
  if (shiftX != 0 ? o.Y1 != o.Y2 : o.X1 != o.X2) return false;
  int& x = o.X1 == far.x && o.Y1 == far.y ? o.X1 : o.X2;
  int& y = o.X1 == far.x && o.Y1 == far.y ? o.Y1 : o.Y2;
  x += shiftX, y += shiftY;
  if (o.X1 == o.X2 && o.Y1 == o.Y2) o.State = kDeleted;
  return true;
}

// Moves the symbol and makes the wires on its pins follow, bending where they must; with
// avoidOverlap a bend that would double back over a wire at the far end turns the other way.
void MoveWithWires(Workspace& ws, int i, int dx, int dy, Bend bend, bool avoidOverlap, bool slide) {
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
    } else if (slide && SlideCorner(c, n, far, wasHorizontal ? 0 : dx, wasHorizontal ? dy : 0)) {
      TLine& slid = c.Wires[n];
      (end1 ? slid.X2 : slid.X1) += wasHorizontal ? 0 : dx;
      (end1 ? slid.Y2 : slid.Y1) += wasHorizontal ? dy : 0;
      ex = moved.x, ey = moved.y;
    } else {
      // The part at the far end keeps the wire's slot; the part at the pin is new.
      bool pinPartAlongX = (bend == Bend::PinSide) == wasHorizontal;
      if (avoidOverlap &&
          RunsAlongAt(c, n, far, pinPartAlongX ? Point{far.x, moved.y} : Point{moved.x, far.y}))
        pinPartAlongX = !pinPartAlongX;
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
    if (w.State == kDeleted) continue;  // highlighted wires are attached all the same
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

// Tries the ways of bending in turn and takes the first after which every pin is on the same
// net as before, no more and no less. False, with the tables as before, when none is, or when
// a full wire table leaves no room for a bend (the error code then says so).
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
  struct Try {
    Bend bend;
    bool avoidOverlap, slide;
  };
  const Try tries[] = {{Bend::PinSide, true, true},
                       {Bend::PinSide, true, false},
                       {Bend::FarSide, true, false},
                       {Bend::PinSide, false, false},
                       {Bend::FarSide, false, false}};
  for (const Try& t : tries) {
    MoveWithWires(ws, i, dx, dy, t.bend, t.avoidOverlap, t.slide);
    if (c.ErrorCode != 0) break;
    bool joins = false;
    if (before.empty() || (KeepsConnections(before, check.PinNets(c, i), joins) && !joins)) return true;
    restore();
  }
  restore();
  return false;
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
    SetStatus(ws, 0,
              "Move cancelled: the wires of " + c.Symbols[i].Name + " could not keep their connections.");
    if (c.ErrorCode != 0) ReportError(ws, c.ErrorCode);
    c.ErrorCode = 0;
    ws.host().RedrawAll();
    return;
  }
  ws.host().RedrawAll();
  FinishEdit(ws);
}

}  // namespace qiro
