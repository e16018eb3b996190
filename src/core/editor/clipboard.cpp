// The clipboard holds copies of the records taken from a band, kept outside the tables so
// that compaction, extraction and saving never lose it. A cut marks the originals deleted
// (compacting first drops the previous cut for good); a copy leaves them alone. Moving the
// clipboard shifts its own records by whole grid steps, and a paste adds them to the tables
// as new live entries. A pasted device whose names are still in use (a copy, or a second
// paste) is named like a new device from the palette, so no two devices share a pin name.
#include "editor/clipboard.h"

#include <algorithm>
#include <string>
#include <type_traits>

#include "editor/edit_ops.h"
#include "editor/hit_test.h"
#include "editor/renderer.h"
#include "model/catalogue.h"
#include "model/errors.h"
#include "model/wire_cleanup.h"
#include "workspace.h"

namespace qiro {

namespace {

// Table indexes of what a band takes, and the box around it.
struct Selection {
  std::vector<int> wires, labels, contacts, symbols;
  Rect box = Rect::Empty();
  int Count() const {
    return static_cast<int>(wires.size() + labels.size() + contacts.size() + symbols.size());
  }
};

Selection SelectArea(Workspace& ws, const Rect& band) {
  Circuit& c = ws.circuit;
  const auto inside = [&band](int x, int y) {
    return x >= band.x1 && x <= band.x2 && y >= band.y1 && y <= band.y2;
  };
  Selection sel;
  for (int i = 1; i <= c.Wires.Count(); ++i) {
    const TLine& w = c.Wires[i];
    if (w.State != kDeleted && inside(w.X1, w.Y1) && inside(w.X2, w.Y2)) sel.wires.push_back(i);
  }
  if (sel.wires.empty()) {
    // A click on a wire takes that wire.
    for (int i = 1; i <= c.Wires.Count(); ++i)
      if (c.Wires[i].State != kDeleted && WireNear(ws, i, band.x2, band.y2) != kWireNone)
        sel.wires.push_back(i);
  }
  for (int i : sel.wires) {
    const TLine& w = c.Wires[i];
    sel.box.Add(w.X1, w.Y1);
    sel.box.Add(w.X2, w.Y2);
  }
  for (int i = 1; i <= c.Symbols.Count(); ++i) {
    const TSymbol& s = c.Symbols[i];
    if (s.State == kDeleted || s.Internal != 0 || s.BBox.IsEmpty()) continue;
    const Rect& b = s.BBox;
    const bool within = inside(b.x1, b.y1) && inside(b.x2, b.y2);
    const bool holds = b.x1 < band.x1 && b.x2 > band.x2 && b.y1 < band.y1 && b.y2 > band.y2;
    if (!within && !holds) continue;
    sel.symbols.push_back(i);
    sel.box.Add(b);
  }
  for (int i = 1; i <= c.Contacts.Count(); ++i) {
    const TContact& k = c.Contacts[i];
    if (k.State != kNormal || !inside(k.X, k.Y)) continue;
    sel.contacts.push_back(i);
    sel.box.Add(Rect{k.X - 1, k.Y - 1, k.X + 1, k.Y + 1});
  }
  const int labelHit = LabelAt(ws, ws.view.WorldToScreenX(band.x1), ws.view.WorldToScreenY(band.y1));
  for (int i = 1; i <= c.Labels.Count(); ++i) {
    const TTextLabel& l = c.Labels[i];
    if (l.State == kDeleted || (!inside(l.X, l.Y) && i != labelHit)) continue;
    sel.labels.push_back(i);
    sel.box.Add(Rect{l.X - 1, l.Y - 1, l.X + 1, l.Y + 1});
  }
  return sel;
}

// Live copies of the selected records, in table order.
template <class Record, class Table>
std::vector<Record> Take(const Table& table, const std::vector<int>& indexes) {
  std::vector<Record> out;
  for (int i : indexes) {
    Record r = table[i];
    r.State = kNormal;
    if constexpr (std::is_same_v<Record, TSymbol>)
      for (TPin& p : r.Pins) p.State = kNormal;
    out.push_back(std::move(r));
  }
  return out;
}

// Fills the clipboard from the band; with `cut` the originals are deleted from the drawing.
int TakeArea(Workspace& ws, int x1, int y1, int x2, int y2, bool cut) {
  Circuit& c = ws.circuit;
  const Rect band{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  if (cut) c.CompactTables();
  const Selection sel = SelectArea(ws, band);
  ws.editor.outlineWidth = ws.view.WorldToScreenX(band.x2) - ws.view.WorldToScreenX(band.x1);
  ws.editor.outlineHeight = ws.view.WorldToScreenY(band.y2) - ws.view.WorldToScreenY(band.y1);
  if (sel.Count() == 0) {
    SetStatus(ws, 0, "Error! Nothing include in this area.");
    ws.host().RedrawAll();
    return 0;
  }
  Clipboard& clip = ws.editor.clipboard;
  clip = Clipboard{};
  clip.wires = Take<TLine>(c.Wires, sel.wires);
  clip.labels = Take<TTextLabel>(c.Labels, sel.labels);
  clip.contacts = Take<TContact>(c.Contacts, sel.contacts);
  clip.symbols = Take<TSymbol>(c.Symbols, sel.symbols);
  clip.originX = ws.editor.refX = sel.box.x1;
  clip.originY = ws.editor.refY = sel.box.y1;
  if (cut) {
    for (int i : sel.wires) c.Wires[i].State = kDeleted;
    for (int i : sel.labels) c.Labels[i].State = kDeleted;
    for (int i : sel.contacts) c.Contacts[i].State = kDeleted;
    for (int i : sel.symbols) c.Symbols[i].State = kDeleted;
    CleanWires(ws);
    FinishEdit(ws);
  }
  ws.host().RedrawAll();
  return sel.Count();
}

// Shifts every clipboard record by (dx, dy).
void ShiftClipboard(Clipboard& clip, int dx, int dy) {
  for (TTextLabel& l : clip.labels) l.X += dx, l.Y += dy;
  for (TContact& k : clip.contacts) k.X += dx, k.Y += dy;
  for (TSymbol& s : clip.symbols) ShiftSymbol(s, dx, dy);
  for (TLine& w : clip.wires) w.X1 += dx, w.Y1 += dy, w.X2 += dx, w.Y2 += dy;
}

void PasteSymbol(Workspace& ws, const TSymbol& original) {
  Circuit& c = ws.circuit;
  const std::string device = DeviceName(original);
  const bool renumber = !device.empty() && DeviceNameTaken(c, 0, device);
  const int i = c.AddSymbol(original.Name);
  if (i == 0) return;
  c.Symbols[i] = original;
  if (renumber) RenumberDevice(ws, i);
}

}  // namespace

int CutArea(Workspace& ws, int x1, int y1, int x2, int y2) {
  return TakeArea(ws, x1, y1, x2, y2, true);
}

int CutAreaForMove(Workspace& ws, int x1, int y1, int x2, int y2) {
  const int count = CutArea(ws, x1, y1, x2, y2);
  if (count > 0) ws.editor.clipboard.movePending = true;
  return count;
}

int CopyArea(Workspace& ws, int x1, int y1, int x2, int y2) {
  return TakeArea(ws, x1, y1, x2, y2, false);
}

void MoveClipboard(Workspace& ws, int x, int y) {
  int dx = x - ws.editor.refX, dy = y - ws.editor.refY;
  if (ws.view.gridStep >= 2) {
    dx = Snap(dx);
    dy = Snap(dy);
  }
  if (dx == 0 && dy == 0) return;
  ws.editor.refX += dx;
  ws.editor.refY += dy;
  ShiftClipboard(ws.editor.clipboard, dx, dy);
}

void PasteClipboard(Workspace& ws) {
  Circuit& c = ws.circuit;
  Clipboard& clip = ws.editor.clipboard;
  c.ErrorCode = 0;
  if (clip.Empty()) {
    ReportError(ws, 10);
    return;
  }
  clip.movePending = false;
  for (const TLine& w : clip.wires) {
    if (c.ErrorCode != 0) break;
    c.AddWire(w.X1, w.Y1, w.X2, w.Y2);
  }
  for (const TTextLabel& l : clip.labels) {
    if (c.ErrorCode != 0) break;
    c.AddText(l.X, l.Y, l.Text);
  }
  for (const TContact& k : clip.contacts) {
    if (c.ErrorCode != 0) break;
    c.AddContact(k.X, k.Y);
  }
  for (const TSymbol& s : clip.symbols) {
    if (c.ErrorCode != 0) break;
    PasteSymbol(ws, s);
  }
  ws.host().RedrawAll();
  FinishEdit(ws);
}

bool CancelMove(Workspace& ws) {
  Clipboard& clip = ws.editor.clipboard;
  if (!clip.movePending) return false;
  ShiftClipboard(clip, clip.originX - ws.editor.refX, clip.originY - ws.editor.refY);
  ws.editor.refX = clip.originX;
  ws.editor.refY = clip.originY;
  PasteClipboard(ws);
  return true;
}

void DrawClipboard(Workspace& ws, Canvas& canvas) {
  const Clipboard& clip = ws.editor.clipboard;
  for (const TTextLabel& l : clip.labels) DrawText(ws, canvas, l);
  for (const TContact& k : clip.contacts) DrawContact(ws, canvas, k);
  for (const TSymbol& s : clip.symbols) DrawSymbol(ws, canvas, s);
  for (const TLine& w : clip.wires) DrawLine(ws, canvas, w);
}

}  // namespace qiro
