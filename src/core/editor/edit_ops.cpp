// Single-item edits: dots, labels, dragging symbols, wire ends and labels, undo, hiding a
// symbol's texts. Dragged symbols and wire ends move by whole grid steps: both points are
// snapped before their difference is taken.
#include "editor/edit_ops.h"

#include <algorithm>

#include "editor/hit_test.h"
#include "editor/wire_route.h"
#include "model/errors.h"
#include "model/text.h"
#include "model/wire_cleanup.h"
#include "workspace.h"

namespace qiro {

namespace {

void MapRect(Rect& r, const std::function<void(int&, int&)>& f) {
  int x1 = r.x1, y1 = r.y1, x2 = r.x2, y2 = r.y2;
  f(x1, y1);
  f(x2, y2);
  r = Rect{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

}  // namespace

void MapSymbol(TSymbol& s, const std::function<void(int& x, int& y)>& f) {
  f(s.TitleX, s.TitleY);
  if (!s.BBox.IsEmpty()) MapRect(s.BBox, f);
  MapRect(s.Rec, f);
  const int pins = std::min(s.PinCount, static_cast<int>(s.Pins.size()) - 1);
  for (int k = 1; k <= pins; ++k) f(s.Pins[k].X, s.Pins[k].Y);
  const int lines = std::min(s.InnerLineCount, static_cast<int>(s.InnerLines.size()) - 1);
  for (int k = 1; k <= lines; ++k) {
    f(s.InnerLines[k].x1, s.InnerLines[k].y1);
    f(s.InnerLines[k].x2, s.InnerLines[k].y2);
  }
}

void ShiftSymbol(TSymbol& s, int dx, int dy) {
  MapSymbol(s, [dx, dy](int& x, int& y) {
    x += dx;
    y += dy;
  });
}

void FinishEdit(Workspace& ws) {
  Circuit& c = ws.circuit;
  c.Touch();
  if (c.ErrorCode != 0) ReportError(ws, c.ErrorCode);
  c.ErrorCode = 0;
}

void AddContactAt(Workspace& ws, int x, int y) {
  if (ws.view.gridStep >= 5) {
    x = Snap(x);
    y = Snap(y);
  }
  const int k = ws.circuit.AddContact(x, y);
  if (k > 0) ws.host().DrawContact(k);
  FinishEdit(ws);
}

void AddOrEditLabel(Workspace& ws, int px, int py, std::string_view text) {
  Circuit& c = ws.circuit;
  if (const int l = LabelAt(ws, px, py); l > 0) {
    c.Labels[l].Text = Counted(text);
  } else {
    c.AddText(ws.view.ScreenToWorldX(px), ws.view.ScreenToWorldY(py), text);
  }
  ws.host().RedrawAll();
  FinishEdit(ws);
}

void MoveWireEnd(Workspace& ws, int i, int part, int fromX, int fromY, int toX, int toY) {
  Circuit& c = ws.circuit;
  if (!c.Wires.Valid(i)) return;
  const int dx = Snap(toX) - Snap(fromX), dy = Snap(toY) - Snap(fromY);
  TLine& w = c.Wires[i];
  TLine moved = w;
  if (part != kWireEnd2) moved.X1 += dx, moved.Y1 += dy;
  if (part != kWireEnd1) moved.X2 += dx, moved.Y2 += dy;
  // An end dropped on the other end would leave a wire of no length: keep the wire as it was.
  const bool moves = (dx != 0 || dy != 0) && (moved.X1 != moved.X2 || moved.Y1 != moved.Y2);
  if (moves) w = moved;
  const int merges = CleanWires(ws);
  const int contacts = c.Contacts.Count();
  AutoContacts(ws, i);
  ws.host().RedrawAll();
  // A click without a move still changes the schematic when it tidies something.
  if (moves || merges > 0 || c.Contacts.Count() != contacts) FinishEdit(ws);
}

void MoveLabel(Workspace& ws, int i, int fromX, int fromY, int toX, int toY) {
  Circuit& c = ws.circuit;
  const int dx = toX - fromX, dy = toY - fromY;
  if (c.Labels.Valid(i) && (dx != 0 || dy != 0)) {
    c.Labels[i].X += dx;
    c.Labels[i].Y += dy;
    FinishEdit(ws);
  }
  ws.host().RedrawAll();
}

void UndoCut(Workspace& ws) {
  Circuit& c = ws.circuit;
  for (TContact& k : c.Contacts) k.State = kNormal;
  for (TLine& w : c.Wires) w.State = kNormal;
  // Labels come back too: a cut label would otherwise be lost at the next compaction.
  for (TTextLabel& l : c.Labels) l.State = kNormal;
  for (TSymbol& s : c.Symbols) {
    s.State = kNormal;
    for (TPin& p : s.Pins) p.State = kNormal;
  }
  ws.host().RedrawAll();
  FinishEdit(ws);
}

bool HideSymbolTexts(Workspace& ws, int x, int y) {
  const int i = SymbolAt(ws, x, y);
  if (i == 0) return false;
  ws.circuit.Symbols[i].Vis = 0;
  ws.host().RedrawAll();
  FinishEdit(ws);
  return true;
}

}  // namespace qiro
