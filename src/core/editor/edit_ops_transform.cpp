// Rotating and flipping an area. The centre is the band's middle snapped to the grid, so
// points on the grid stay on it. Wires and dots inside the band turn; a symbol turns when
// its box lies inside the band or strictly holds the band (a band drawn inside one symbol
// turns that symbol alone). Labels keep their place.
#include <algorithm>
#include <functional>

#include "editor/edit_ops.h"
#include "workspace.h"

namespace qiro {

namespace {

using PointMap = std::function<void(int& x, int& y)>;

void TransformArea(Workspace& ws, int x1, int y1, int x2, int y2,
                   const std::function<PointMap(int cx, int cy)>& makeMap) {
  Circuit& c = ws.circuit;
  const Rect band{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  const PointMap f = makeMap(Snap((band.x1 + band.x2) / 2), Snap((band.y1 + band.y2) / 2));
  const auto inside = [&band](int x, int y) {
    return x >= band.x1 && x <= band.x2 && y >= band.y1 && y <= band.y2;
  };
  for (TLine& w : c.Wires) {
    if (w.State == kDeleted || !inside(w.X1, w.Y1) || !inside(w.X2, w.Y2)) continue;
    f(w.X1, w.Y1);
    f(w.X2, w.Y2);
  }
  for (TContact& k : c.Contacts)
    if (k.State != kDeleted && inside(k.X, k.Y)) f(k.X, k.Y);
  for (TSymbol& s : c.Symbols) {
    if (s.State == kDeleted || s.Internal != 0 || s.BBox.IsEmpty()) continue;
    const Rect& b = s.BBox;
    const bool within = inside(b.x1, b.y1) && inside(b.x2, b.y2);
    const bool holds = b.x1 < band.x1 && b.x2 > band.x2 && b.y1 < band.y1 && b.y2 > band.y2;
    if (within || holds) MapSymbol(s, f);
  }
  ws.host().RedrawAll();
  FinishEdit(ws);
}

}  // namespace

void RotateRight(Workspace& ws, int x1, int y1, int x2, int y2) {
  TransformArea(ws, x1, y1, x2, y2, [](int cx, int cy) -> PointMap {
    return [cx, cy](int& x, int& y) {
      const int nx = cx - (y - cy), ny = cy + (x - cx);
      x = nx;
      y = ny;
    };
  });
}

void RotateLeft(Workspace& ws, int x1, int y1, int x2, int y2) {
  TransformArea(ws, x1, y1, x2, y2, [](int cx, int cy) -> PointMap {
    return [cx, cy](int& x, int& y) {
      const int nx = cx + (y - cy), ny = cy - (x - cx);
      x = nx;
      y = ny;
    };
  });
}

void FlipArea(Workspace& ws, int x1, int y1, int x2, int y2) {
  TransformArea(ws, x1, y1, x2, y2,
                [](int cx, int) -> PointMap { return [cx](int& x, int&) { x = 2 * cx - x; }; });
}

}  // namespace qiro
