// Pointer input on the drawing: what a press, a move and a release do in each editing mode.
// A press either grabs something (a label in select mode, a symbol, a wire end in select
// mode), acts at once (label text, paste, leaving the print view) or starts a rubber band.
// Moves redraw the band, the grabbed item's outline or the clipboard over the last full
// redraw; the release performs the mode's action on the band and drops what was grabbed.
#include <cstdlib>

#include "drawing_area.h"
#include "editor/clipboard.h"
#include "editor/edit_ops.h"
#include "editor/hit_test.h"
#include "editor/renderer.h"
#include "editor/view.h"
#include "editor/wire_route.h"
#include "extract/extract.h"
#include "main_window.h"
#include "model/schematic_file.h"
#include "model/text.h"
#include "qt_canvas.h"
#include "workspace.h"

namespace qiro {

namespace {

// Modes in which a press on a symbol grabs it; in the area modes the band decides.
bool GrabsSymbols(int mode) {
  return mode == kModeSelect || mode == kModeText || mode == kModeLine || mode == kModeConnect;
}

}  // namespace

int Tmdiframe::WorldX(QPoint p) const {
  return ws_.view.ScreenToWorldX(p.x());
}
int Tmdiframe::WorldY(QPoint p) const {
  return ws_.view.ScreenToWorldY(p.y());
}

void Tmdiframe::StartBand(QPoint p) {
  bandActive_ = true;
  lineBand_ = mode_ == kModeLine;
  DrawOverlay(p);
}

void Tmdiframe::PointerPress(QPoint p, bool rightButton) {
  if (SimulationRunning()) {
    SimulationPress(p);
    return;
  }
  const int x = WorldX(p), y = WorldY(p);
  qiro::SetStatus(ws_, 0, "Click at " + std::to_string(x) + "," + std::to_string(y));
  pressPoint_ = lastPoint_ = p;
  if (rightButton) {
    SetMode(kModeLine, "Draw line");
    StartBand(p);
    return;
  }
  if (mode_ == kModeSelect) {
    if (const int label = LabelAt(ws_, p.x(), p.y())) {
      dragLabel_ = label;
      DrawOverlay(p);
      return;
    }
  }
  if (GrabsSymbols(mode_)) {
    if (const int symbol = SymbolAt(ws_, x, y)) {
      dragSymbol_ = symbol;
      DrawOverlay(p);
      return;
    }
  }
  if (mode_ == kModeSelect) {
    if (const WireHit hit = WireAt(ws_, x, y); hit.wire > 0) {
      dragWire_ = hit.wire;
      dragWirePart_ = hit.part;
      DrawOverlay(p);
      return;
    }
  }
  switch (mode_) {
    case kModeText: {
      const auto text = dialogs_.InputText(this, "Enter label", "Text:", "");
      if (text && !text->isEmpty()) AddOrEditLabel(ws_, p.x(), p.y(), text->toStdString());
      Record("Label");
      ResetTools();
      RedrawAll();
      return;
    }
    case kModePaste:
    case kModeCopyPaste:
      MoveClipboard(ws_, x, y);
      PasteClipboard(ws_);
      Record("Paste");
      ResetTools();
      RedrawAll();
      return;
    case kModePrint:
      LeavePrintView();
      return;
    default:
      StartBand(p);
  }
}

bool Tmdiframe::IsClick(QPoint p) const {
  return WithinClick(ws_.view, WorldX(pressPoint_), WorldY(pressPoint_), WorldX(p), WorldY(p));
}

void Tmdiframe::DrawOverlay(QPoint cursor) {
  drawing_->ResetShown();
  QtCanvas canvas(drawing_->shownForDrawing());
  const View& v = ws_.view;
  // Grabbed items move by whole grid steps, as they will when dropped; not at all yet
  // while the press is still a click.
  const bool still = IsClick(cursor);
  const int dx = still ? 0 : Snap(WorldX(cursor)) - Snap(WorldX(pressPoint_));
  const int dy = still ? 0 : Snap(WorldY(cursor)) - Snap(WorldY(pressPoint_));
  if (mode_ == kModePlaceSymbol && !placePath_.isEmpty()) {
    // The outline's lower-right corner follows the cursor, as the symbol will be placed.
    const int w = v.WorldToScreenX(placeBox_.x2) - v.WorldToScreenX(placeBox_.x1);
    const int h = v.WorldToScreenY(placeBox_.y2) - v.WorldToScreenY(placeBox_.y1);
    XorRectangle(canvas, cursor.x() - w, cursor.y() - h, cursor.x(), cursor.y());
  } else if ((mode_ == kModePaste || mode_ == kModeCopyPaste) && !bandActive_) {
    DrawClipboard(ws_, canvas);
  } else if (bandActive_) {
    if (lineBand_)
      XorLine(canvas, pressPoint_.x(), pressPoint_.y(), cursor.x(), cursor.y());
    else
      XorRectangle(canvas, pressPoint_.x(), pressPoint_.y(), cursor.x(), cursor.y());
  } else if (dragSymbol_) {
    XorSymbolOutline(ws_, canvas, dragSymbol_, dx, dy);
  } else if (dragLabel_) {
    const TTextLabel& l = ws_.circuit.Labels[dragLabel_];
    const int x = v.WorldToScreenX(l.X) + cursor.x() - pressPoint_.x();
    const int y = v.WorldToScreenY(l.Y) + cursor.y() - pressPoint_.y();
    XorRectangle(canvas, x, y, x + (static_cast<int>(l.Text.size()) + 1) * 8, y + 8);
  } else if (dragWire_) {
    const TLine& w = ws_.circuit.Wires[dragWire_];
    if (dragWirePart_ == kWireEnd1)
      XorLine(canvas, v.WorldToScreenX(w.X2), v.WorldToScreenY(w.Y2), cursor.x(), cursor.y());
    else if (dragWirePart_ == kWireEnd2)
      XorLine(canvas, v.WorldToScreenX(w.X1), v.WorldToScreenY(w.Y1), cursor.x(), cursor.y());
    else
      XorWireOutline(ws_, canvas, dragWire_, dx, dy);
  }
  drawing_->update();
}

void Tmdiframe::PointerMove(QPoint p, bool buttonHeld) {
  lastPoint_ = p;
  if (!buttonHeld && (bandActive_ || dragSymbol_ || dragLabel_ || dragWire_)) {
    // The release went elsewhere (a dialog opened during the drag): the drag is over.
    CancelPointerAction(false);
    return;
  }
  if ((mode_ == kModePaste || mode_ == kModeCopyPaste) && !bandActive_) {
    // Shifting the clipboard redraws it whole, so only every fifth move does it.
    if (++clipboardMoves_ % 5 != 0) return;
    MoveClipboard(ws_, WorldX(p), WorldY(p));
    DrawOverlay(p);
    return;
  }
  if (bandActive_ || dragSymbol_ || dragLabel_ || dragWire_ || mode_ == kModePlaceSymbol) DrawOverlay(p);
}

void Tmdiframe::BandAction(int x1, int y1, int x2, int y2) {
  // Most actions end in select mode; a move goes on to pasting, a copy to placing the copy.
  int next = kModeSelect;
  QString status;
  switch (mode_) {
    case kModeLine:
      AddWireFromDrag(ws_, x1, y1, x2, y2);
      break;
    case kModeCut:
      if (moveFlag_) {
        if (CutAreaForMove(ws_, x1, y1, x2, y2) > 0) {
          next = kModePaste, status = "paste beginning...";
          history_.Hold("Move");  // the paste ends it: one action
        }
      } else {
        CutArea(ws_, x1, y1, x2, y2);
      }
      moveFlag_ = false;
      break;
    case kModeConnect:
      AddContactAt(ws_, x2, y2);
      break;
    case kModeRotateRight:
      RotateRight(ws_, x1, y1, x2, y2);
      break;
    case kModeRotateLeft:
      RotateLeft(ws_, x1, y1, x2, y2);
      break;
    case kModeFlip:
      FlipArea(ws_, x1, y1, x2, y2);
      break;
    case kModeCopy:
      if (CopyArea(ws_, x1, y1, x2, y2) > 0) next = kModeCopyPaste, status = "Copy beginning...";
      break;
    case kModeZoom:
      ws_.view.ZoomToBand(x1, y1, x2, y2);
      break;
    case kModePlaceSymbol:
      if (!placePath_.isEmpty()) SchematicLoad(ws_, placePath_.toStdString(), kLoadSymbol, x2, y2);
      break;
    case kModeNet:
      ShowNetAt(ws_, x1, y1, x2, y2);
      return;
    case kModeHideProps:
      if (!HideSymbolTexts(ws_, x2, y2)) {
        qiro::SetStatus(ws_, 0, "No symbol in this location, try again.");
        return;
      }
      break;
    default:
      return;
  }
  if (next == kModeSelect)
    ResetTools();
  else
    SetMode(next, status);
}

void Tmdiframe::PointerRelease(QPoint p) {
  const bool band = bandActive_;
  const int symbol = dragSymbol_, label = dragLabel_, wire = dragWire_, part = dragWirePart_;
  const QString done = band     ? BandActionName(mode_)
                       : symbol ? "Move"
                       : label  ? "Move Label"
                       : wire   ? "Move Wire"
                                : "";
  bandActive_ = false;
  dragSymbol_ = dragLabel_ = dragWire_ = dragWirePart_ = 0;
  if (SimulationRunning()) return;
  // A press that moved less than a grid step is a click where it began.
  const bool click = IsClick(p);
  const int x1 = WorldX(pressPoint_), y1 = WorldY(pressPoint_);
  const int x2 = click ? x1 : WorldX(p), y2 = click ? y1 : WorldY(p);
  if (band) BandAction(x1, y1, x2, y2);
  if (symbol || label) {
    ResetTools();
    if (!click) {
      if (symbol) MoveSymbol(ws_, symbol, x1, y1, x2, y2);
      if (label) MoveLabel(ws_, label, x1, y1, x2, y2);
    }
  }
  if (wire) MoveWireEnd(ws_, wire, part, x1, y1, x2, y2);
  if (band || symbol || label || wire) RedrawAll();
  Record(done);
}

void Tmdiframe::PointerDoubleClick(QPoint p) {
  if (SimulationRunning()) {
    SimulationDoubleClick(p);
    return;
  }
  ResetTools();
  if (const int label = LabelAt(ws_, p.x(), p.y())) {
    TTextLabel& l = ws_.circuit.Labels[label];
    const auto text = dialogs_.InputText(this, "Enter label", "Text:", QString::fromStdString(l.Text));
    if (text && !text->isEmpty()) {
      ws_.circuit.Labels[label].Text = Counted(text->toStdString());
      FinishEdit(ws_);
      Record("Label");
      RedrawAll();
    }
    return;
  }
  const int x = WorldX(p), y = WorldY(p);
  if (SymbolAt(ws_, x, y) == 0) return;
  // Extraction compacts the tables, so the symbol is looked up again afterwards.
  ExtractCircuit(ws_);
  if (const int symbol = SymbolAt(ws_, x, y)) OpenSymbolProperties(symbol);
  Record("Properties");
}

void Tmdiframe::CancelPointerAction(bool pending) {
  bandActive_ = false;
  dragSymbol_ = dragLabel_ = dragWire_ = dragWirePart_ = 0;
  if (pending && (mode_ == kModePaste || mode_ == kModeCopyPaste)) {
    CancelMove(ws_);
    history_.Release();
    ResetTools();
    RedrawAll();
    return;
  }
  drawing_->ResetShown();
  drawing_->update();
}

void Tmdiframe::PointerWheel(QPoint p, QPoint angleDelta, bool control, bool shift) {
  // A drag keeps the view it started in: its press point is a pixel of that view.
  if (bandActive_ || dragSymbol_ || dragLabel_ || dragWire_) return;
  // Whole notches only (120 units each); finer wheels add up until they make one.
  wheelRest_ += angleDelta;
  const int notchesX = wheelRest_.x() / 120, notchesY = wheelRest_.y() / 120;
  wheelRest_ -= QPoint(notchesX * 120, notchesY * 120);
  if (notchesX == 0 && notchesY == 0) return;
  // Some systems turn a shifted wheel into a horizontal one; either way it is one turn.
  const int notches = notchesY != 0 ? notchesY : notchesX;
  if (control) {
    for (int k = 0; k < std::abs(notches); ++k) ws_.view.ZoomAt(p.x(), p.y(), notches > 0);
  } else if (shift) {
    ws_.view.WheelScroll(-notches, 0);
  } else {
    ws_.view.WheelScroll(-notchesX, -notchesY);
  }
  SyncScrollBars();
  RedrawAll();
}

}  // namespace qiro
