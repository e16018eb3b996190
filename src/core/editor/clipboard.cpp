// The clipboard is not a copy: it is the set of entries marked deleted (state 0) since the
// last compaction. CutArea compacts first, which drops the previous clipboard for good, then
// marks what lies in the band. MoveClipboard shifts the marked entries themselves; paste adds
// live duplicates of them where they stand. The reference point is the clipboard's current
// upper-left corner; it moves by whole grid steps so entries on the grid stay on it.
#include "editor/clipboard.h"

#include <algorithm>
#include <string>

#include "editor/edit_ops.h"
#include "editor/hit_test.h"
#include "editor/renderer.h"
#include "editor/wire_cleanup.h"
#include "model/errors.h"
#include "model/text.h"
#include "workspace.h"

namespace qiro {

namespace {

// Devices whose copies are renamed, with how many of their first pins take the letter too.
struct RenamedDevice {
  int model;
  int pins;
};
constexpr RenamedDevice kRenamedDevices[] = {{59, 0}, {69, 0}, {68, 0}, {89, 4}, {85, 4}, {61, 0},
                                             {62, 0}, {49, 0}, {88, 0}, {81, 8}, {70, 8}};

// The pins renamed with a device's copy, or -1 when the symbol is not a renamed device.
int RenamedPins(int model) {
  for (const RenamedDevice& d : kRenamedDevices)
    if (d.model == model) return d.pins;
  return -1;
}

void PasteSymbol(Circuit& c, const TSymbol& original) {
  TSymbol copy = original;
  if (c.AddSymbol(copy.Name) == 0) return;
  copy.State = kNormal;
  for (TPin& p : copy.Pins) p.State = kNormal;
  if (const int pins = RenamedPins(copy.Model); pins >= 0) {
    copy.Name = Counted(copy.Name + "c");
    for (int k = 1; k <= std::min(pins, copy.PinCount); ++k)
      copy.Pin(k).Name = Counted(copy.Pin(k).Name + "c");
  }
  c.Symbols[c.Symbols.Count()] = std::move(copy);
}

}  // namespace

int CutArea(Workspace& ws, int x1, int y1, int x2, int y2) {
  Circuit& c = ws.circuit;
  const Rect band{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  const auto inside = [&band](int x, int y) {
    return x >= band.x1 && x <= band.x2 && y >= band.y1 && y <= band.y2;
  };
  Rect taken = Rect::Empty();
  int count = 0;
  c.CompactTables();

  for (TLine& w : c.Wires) {
    if (w.State == kDeleted || !inside(w.X1, w.Y1) || !inside(w.X2, w.Y2)) continue;
    w.State = kDeleted;
    taken.Add(w.X1, w.Y1);
    taken.Add(w.X2, w.Y2);
    ++count;
  }
  if (count == 0) {
    // A click on a wire cuts that wire.
    for (int i = 1; i <= c.Wires.Count(); ++i) {
      TLine& w = c.Wires[i];
      if (w.State == kDeleted || WireNear(ws, i, band.x2, band.y2) == kWireNone) continue;
      w.State = kDeleted;
      taken.Add(w.X1, w.Y1);
      taken.Add(w.X2, w.Y2);
      ++count;
    }
  }
  for (TSymbol& s : c.Symbols) {
    if (s.State == kDeleted || s.Internal != 0 || s.BBox.IsEmpty()) continue;
    const Rect& b = s.BBox;
    const bool within = inside(b.x1, b.y1) && inside(b.x2, b.y2);
    const bool holds = b.x1 < band.x1 && b.x2 > band.x2 && b.y1 < band.y1 && b.y2 > band.y2;
    if (!within && !holds) continue;
    s.State = kDeleted;
    taken.Add(b);
    ++count;
  }
  for (TContact& k : c.Contacts) {
    if (k.State != kNormal || !inside(k.X, k.Y)) continue;
    k.State = kDeleted;
    taken.Add(Rect{k.X - 1, k.Y - 1, k.X + 1, k.Y + 1});
    ++count;
  }
  const int cornerX = ws.view.WorldToScreenX(band.x1), cornerY = ws.view.WorldToScreenY(band.y1);
  const int labelHit = LabelAt(ws, cornerX, cornerY);
  for (int i = 1; i <= c.Labels.Count(); ++i) {
    TTextLabel& l = c.Labels[i];
    if (l.State == kDeleted || (!inside(l.X, l.Y) && i != labelHit)) continue;
    l.State = kDeleted;
    taken.Add(Rect{l.X - 1, l.Y - 1, l.X + 1, l.Y + 1});
    ++count;
  }

  if (count == 0) {
    SetStatus(ws, 0, "Error! Nothing include in this area.");
  } else {
    CleanWires(ws);
    ws.editor.refX = taken.x1;
    ws.editor.refY = taken.y1;
    FinishEdit(ws);
  }
  ws.editor.outlineWidth = ws.view.WorldToScreenX(band.x2) - cornerX;
  ws.editor.outlineHeight = ws.view.WorldToScreenY(band.y2) - cornerY;
  ws.host().RedrawAll();
  return count;
}

int CopyArea(Workspace& ws, int x1, int y1, int x2, int y2) {
  const int count = CutArea(ws, x1, y1, x2, y2);
  if (count > 0) PasteClipboard(ws);
  return count;
}

void MoveClipboard(Workspace& ws, int x, int y) {
  Circuit& c = ws.circuit;
  int dx = x - ws.editor.refX, dy = y - ws.editor.refY;
  if (ws.view.gridStep >= 2) {
    dx = Snap(dx);
    dy = Snap(dy);
  }
  if (dx == 0 && dy == 0) return;
  ws.editor.refX += dx;
  ws.editor.refY += dy;
  for (TTextLabel& l : c.Labels)
    if (l.State == kDeleted) l.X += dx, l.Y += dy;
  for (TContact& k : c.Contacts)
    if (k.State == kDeleted) k.X += dx, k.Y += dy;
  for (TSymbol& s : c.Symbols)
    if (s.State == kDeleted) ShiftSymbol(s, dx, dy);
  for (TLine& w : c.Wires)
    if (w.State == kDeleted) w.X1 += dx, w.Y1 += dy, w.X2 += dx, w.Y2 += dy;
}

void PasteClipboard(Workspace& ws) {
  Circuit& c = ws.circuit;
  c.ErrorCode = 0;
  const int wires = c.Wires.Count(), labels = c.Labels.Count(), contacts = c.Contacts.Count(),
            symbols = c.Symbols.Count();
  int pasted = 0;
  for (int i = 1; i <= wires && c.ErrorCode == 0; ++i) {
    const TLine w = c.Wires[i];
    if (w.State != kDeleted) continue;
    c.AddWire(w.X1, w.Y1, w.X2, w.Y2);
    ++pasted;
  }
  for (int i = 1; i <= labels && c.ErrorCode == 0; ++i) {
    const TTextLabel l = c.Labels[i];
    if (l.State != kDeleted) continue;
    c.AddText(l.X, l.Y, l.Text);
    ++pasted;
  }
  for (int i = 1; i <= contacts && c.ErrorCode == 0; ++i) {
    const TContact k = c.Contacts[i];
    if (k.State != kDeleted) continue;
    c.AddContact(k.X, k.Y);
    ++pasted;
  }
  for (int i = 1; i <= symbols && c.ErrorCode == 0; ++i) {
    if (c.Symbols[i].State != kDeleted) continue;
    PasteSymbol(c, c.Symbols[i]);
    ++pasted;
  }
  if (pasted == 0) {
    ReportError(ws, 10);
    return;
  }
  ws.host().RedrawAll();
  FinishEdit(ws);
}

void DrawClipboard(Workspace& ws, Canvas& canvas) {
  Circuit& c = ws.circuit;
  // Each entry is drawn as a live one for a moment, then marked deleted again.
  const auto drawLive = [](auto& entry, auto draw) {
    if (entry.State != kDeleted) return;
    entry.State = kNormal;
    draw();
    entry.State = kDeleted;
  };
  for (int i = 1; i <= c.Labels.Count(); ++i) drawLive(c.Labels[i], [&] { DrawText(ws, canvas, i); });
  for (int i = 1; i <= c.Contacts.Count(); ++i) drawLive(c.Contacts[i], [&] { DrawContact(ws, canvas, i); });
  for (int i = 1; i <= c.Symbols.Count(); ++i) drawLive(c.Symbols[i], [&] { DrawSymbol(ws, canvas, i); });
  for (int i = 1; i <= c.Wires.Count(); ++i) drawLive(c.Wires[i], [&] { DrawLine(ws, canvas, i); });
}

}  // namespace qiro
