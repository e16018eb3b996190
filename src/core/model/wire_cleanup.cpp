// CleanWires looks at every ordered pair of live wires lying on one horizontal or vertical
// line. Two wires sharing an end where no dot stands become one (the first is stretched over
// both, the second deleted); a horizontal wire that overlaps another is cut back to the part
// outside it. SplitAtJunctions does the opposite where wires meet in a T: the wire that is
// met in its middle is cut in two, so every junction lies on wire ends.
#include "model/wire_cleanup.h"

#include <algorithm>
#include <utility>

#include "workspace.h"

namespace qiro {

namespace {

bool Horizontal(const TLine& w) {
  return w.Y1 == w.Y2;
}
bool Vertical(const TLine& w) {
  return w.X1 == w.X2;
}

bool ContactAt(const Circuit& c, int x, int y) {
  for (const TContact& k : c.Contacts)
    if (k.State != kDeleted && k.X == x && k.Y == y) return true;
  return false;
}

bool ShareEnd(const TLine& a, const TLine& b, int& x, int& y) {
  for (const auto& [ax, ay] : {std::pair{a.X1, a.Y1}, std::pair{a.X2, a.Y2}})
    for (const auto& [bx, by] : {std::pair{b.X1, b.Y1}, std::pair{b.X2, b.Y2}})
      if (ax == bx && ay == by) {
        x = ax;
        y = ay;
        return true;
      }
  return false;
}

// The span of a wire along one axis, smaller end first.
struct Span {
  int lo, hi;
};
Span AlongX(const TLine& w) {
  return {std::min(w.X1, w.X2), std::max(w.X1, w.X2)};
}
Span AlongY(const TLine& w) {
  return {std::min(w.Y1, w.Y2), std::max(w.Y1, w.Y2)};
}

// Cuts b back to the part that lies outside a; a b lying wholly inside a is deleted. When b
// reaches past both ends of a nothing is cut here: the pair taken the other way round
// deletes a instead, so no stretch of wire is lost.
void TrimOverlap(TLine& b, Span a) {
  const Span s = AlongX(b);
  if (s.hi <= a.lo || s.lo >= a.hi) return;
  if (s.lo >= a.lo && s.hi <= a.hi) {
    b.State = kDeleted;
  } else if (s.lo >= a.lo) {
    b.X1 = a.hi;
    b.X2 = s.hi;
  } else if (s.hi <= a.hi) {
    b.X1 = s.lo;
    b.X2 = a.lo;
  }
}

// Cuts wire a at (x, y) when that point lies strictly inside it; true when cut.
bool CutAt(Circuit& c, int a, int x, int y) {
  TLine& w = c.Wires[a];
  const bool inside = (Vertical(w) && x == w.X1 && y > std::min(w.Y1, w.Y2) && y < std::max(w.Y1, w.Y2)) ||
                      (Horizontal(w) && y == w.Y1 && x > std::min(w.X1, w.X2) && x < std::max(w.X1, w.X2));
  // A full table would lose the second half, so the wire is left whole then.
  if (!inside || c.Wires.Full()) return false;
  const int oldX = w.X2, oldY = w.Y2;
  w.X2 = x;
  w.Y2 = y;
  c.AddWire(x, y, oldX, oldY);
  return true;
}

// Ends of wire `from` that lie inside wire `into` cut it.
int CutByEnds(Circuit& c, int into, int from) {
  const TLine b = c.Wires[from];
  int cuts = 0;
  if (CutAt(c, into, b.X1, b.Y1)) ++cuts;
  if (CutAt(c, into, b.X2, b.Y2)) ++cuts;
  return cuts;
}

}  // namespace

int CleanWires(Workspace& ws) {
  Circuit& c = ws.circuit;
  int merges = 0;
  for (int i = 1; i <= c.Wires.Count(); ++i) {
    for (int j = 1; j <= c.Wires.Count(); ++j) {
      TLine& a = c.Wires[i];
      TLine& b = c.Wires[j];
      if (i == j || a.State == kDeleted || b.State == kDeleted) continue;
      const bool horizontal = Horizontal(a) && Horizontal(b) && a.Y1 == b.Y1 && !Vertical(a) && !Vertical(b);
      const bool vertical = Vertical(a) && Vertical(b) && a.X1 == b.X1 && !Horizontal(a) && !Horizontal(b);
      if (!horizontal && !vertical) continue;
      int x = 0, y = 0;
      if (ShareEnd(a, b, x, y) && !ContactAt(c, x, y)) {
        if (horizontal) {
          const Span sa = AlongX(a), sb = AlongX(b);
          a.X1 = std::min(sa.lo, sb.lo);
          a.X2 = std::max(sa.hi, sb.hi);
        } else {
          const Span sa = AlongY(a), sb = AlongY(b);
          a.Y1 = std::min(sa.lo, sb.lo);
          a.Y2 = std::max(sa.hi, sb.hi);
        }
        b.State = kDeleted;
        ++merges;
      } else if (horizontal) {
        TrimOverlap(b, AlongX(a));
      }
    }
  }
  return merges;
}

int SplitAtJunctions(Workspace& ws) {
  Circuit& c = ws.circuit;
  int cuts = 0;
  // Wires added by a cut join the scan, so a wire met twice is cut twice.
  for (int a = 1; a <= c.Wires.Count(); ++a) {
    for (int b = a + 1; b <= c.Wires.Count(); ++b) {
      if (c.Wires[a].State == kDeleted || c.Wires[b].State == kDeleted) continue;
      cuts += CutByEnds(c, a, b);
      cuts += CutByEnds(c, b, a);
    }
  }
  if (cuts > 0) c.Touch();
  return cuts;
}

void SmartLinePass(Workspace& ws) {
  if (!ws.settings.SmartLineEditing) return;
  for (int pass = 0; pass < 9; ++pass)
    if (SplitAtJunctions(ws) == 0) break;
}

}  // namespace qiro
