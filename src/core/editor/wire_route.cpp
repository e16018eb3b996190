// A drag becomes wires on the grid. Horizontal and vertical drags, and short 45-degree ones,
// give one wire as drawn; unless any angle is allowed, a slanted drag gives one straight
// wire along its longer direction, or, between two symbols, three wires that turn at the
// middle x. Dots are added where the new wire ends on another wire's middle, where another
// wire ends on the new wire's middle, and where three wire ends meet.
#include "editor/wire_route.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

#include "editor/edit_ops.h"
#include "editor/hit_test.h"
#include "model/wire_cleanup.h"
#include "workspace.h"

namespace qiro {

namespace {

bool StrictlyBetween(int v, int a, int b) {
  return v > std::min(a, b) && v < std::max(a, b);
}

void AddDotOnce(Circuit& c, int x, int y) {
  // An existing dot already marks the junction; another would only fill the table.
  for (const TContact& k : c.Contacts)
    if (k.State != kDeleted && k.X == x && k.Y == y) return;
  c.AddContact(x, y);
}

// Whether an end of w lies on the straight wire n, strictly inside it.
bool EndInside(const TLine& n, int x, int y) {
  if (n.X1 == n.X2) return x == n.X1 && StrictlyBetween(y, n.Y1, n.Y2);
  if (n.Y1 == n.Y2) return y == n.Y1 && StrictlyBetween(x, n.X1, n.X2);
  return false;
}

}  // namespace

void AutoContacts(Workspace& ws, int n) {
  Circuit& c = ws.circuit;
  if (ws.view.gridStep < 2 || c.ErrorCode != 0 || !c.Wires.Valid(n)) return;
  const TLine wire = c.Wires[n];
  if (wire.State == kDeleted) return;
  int meetEnd1 = 0, meetEnd2 = 0;
  for (int i = 1; i <= c.Wires.Count(); ++i) {
    const TLine w = c.Wires[i];
    if (i == n || w.State == kDeleted) continue;
    // The new wire ends inside w.
    for (const auto& [x, y] : {std::pair{wire.X1, wire.Y1}, std::pair{wire.X2, wire.Y2}})
      if (EndInside(w, x, y)) AddDotOnce(c, x, y);
    // w ends inside the new wire.
    for (const auto& [x, y] : {std::pair{w.X1, w.Y1}, std::pair{w.X2, w.Y2}})
      if (EndInside(wire, x, y)) AddDotOnce(c, x, y);
    // Three wire ends meeting at one of the new wire's ends.
    const auto endsAt = [&w](int x, int y) { return (w.X1 == x && w.Y1 == y) || (w.X2 == x && w.Y2 == y); };
    if (endsAt(wire.X1, wire.Y1) && ++meetEnd1 == 2) AddDotOnce(c, wire.X1, wire.Y1);
    if (endsAt(wire.X2, wire.Y2) && ++meetEnd2 == 2) AddDotOnce(c, wire.X2, wire.Y2);
  }
}

void AddWireFromDrag(Workspace& ws, int px, int py, int qx, int qy) {
  Circuit& c = ws.circuit;
  for (TLine& w : c.Wires)
    if (w.State == kHighlight) w.State = kNormal;
  const bool anyAngle = ws.settings.AnyAngleLines;
  if (!anyAngle) {
    px = Snap(px);
    py = Snap(py);
    qx = Snap(qx);
    qy = Snap(qy);
  }
  if (px == qx && py == qy) {
    SetStatus(ws, 0, "Cursor at location " + std::to_string(px) + "," + std::to_string(py));
    ws.host().RedrawAll();
    return;
  }
  const int dx = qx - px, dy = qy - py;
  int added = 0;
  bool dots = true;
  if (dx == 0 || dy == 0 || (std::abs(dx) == std::abs(dy) && std::abs(dx) < 11) || anyAngle) {
    added = c.AddWire(px, py, qx, qy);
  } else if (NearSymbol(ws, px, py) && NearSymbol(ws, qx, qy)) {
    const int xm = Snap((px + qx) / 2);
    c.AddWire(px, py, xm, py);
    if (c.ErrorCode == 0) c.AddWire(xm, py, xm, qy);
    if (c.ErrorCode == 0) c.AddWire(xm, qy, qx, qy);
    dots = false;
  } else if (std::abs(dx) >= std::abs(dy)) {
    added = c.AddWire(px, py, qx, py);
  } else {
    added = c.AddWire(px, py, px, qy);
  }
  if (dots && added > 0) AutoContacts(ws, added);
  CleanWires(ws);
  SmartLinePass(ws);
  ws.editor.lastX = qx;
  ws.editor.lastY = qy;
  FinishEdit(ws);
}

}  // namespace qiro
