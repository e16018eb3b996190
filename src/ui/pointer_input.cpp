// Pointer input on the drawing: what a press, a move and a release do in each editing mode.
#include "drawing_area.h"
#include "editor/hit_test.h"
#include "editor/renderer.h"
#include "editor/view.h"
#include "main_window.h"
#include "model/schematic_file.h"
#include "qt_canvas.h"
#include "workspace.h"

namespace qiro {

int Tmdiframe::WorldX(QPoint p) const {
  return ws_.view.ScreenToWorldX(p.x());
}
int Tmdiframe::WorldY(QPoint p) const {
  return ws_.view.ScreenToWorldY(p.y());
}

void Tmdiframe::PointerPress(QPoint p, bool rightButton) {
  if (SimulationRunning()) {
    SimulationPress(p);
    return;
  }
  qiro::SetStatus(ws_, 0, "Click at " + std::to_string(WorldX(p)) + "," + std::to_string(WorldY(p)));
  pressPoint_ = p;
  if (rightButton) {
    SetMode(kModeLine, "Draw line");
  }
  if (mode_ == kModePrint) {
    LeavePrintView();
    return;
  }
  if (mode_ == kModeText || mode_ == kModePaste || mode_ == kModeCopyPaste) {
    // Labels and pasting are editing operations this window does not perform yet.
    ResetTools();
    return;
  }
  bandActive_ = true;
  lineBand_ = mode_ == kModeLine;
  DrawOverlay(p);
}

void Tmdiframe::DrawOverlay(QPoint cursor) {
  drawing_->ResetShown();
  QtCanvas canvas(drawing_->shownForDrawing());
  if (mode_ == kModePlaceSymbol && !placePath_.isEmpty()) {
    // The outline's lower-right corner follows the cursor, as the symbol will be placed.
    const int w = ws_.view.WorldToScreenX(placeBox_.x2) - ws_.view.WorldToScreenX(placeBox_.x1);
    const int h = ws_.view.WorldToScreenY(placeBox_.y2) - ws_.view.WorldToScreenY(placeBox_.y1);
    XorRectangle(canvas, cursor.x() - w, cursor.y() - h, cursor.x(), cursor.y());
  } else if (bandActive_) {
    if (lineBand_)
      XorLine(canvas, pressPoint_.x(), pressPoint_.y(), cursor.x(), cursor.y());
    else
      XorRectangle(canvas, pressPoint_.x(), pressPoint_.y(), cursor.x(), cursor.y());
  }
  drawing_->update();
}

void Tmdiframe::PointerMove(QPoint p) {
  if (bandActive_ || mode_ == kModePlaceSymbol) DrawOverlay(p);
}

void Tmdiframe::PointerRelease(QPoint p) {
  if (!bandActive_ && mode_ != kModePlaceSymbol) return;
  bandActive_ = false;
  const int x1 = WorldX(pressPoint_), y1 = WorldY(pressPoint_), x2 = WorldX(p), y2 = WorldY(p);
  switch (mode_) {
    case kModeZoom:
      ws_.view.ZoomToBand(x1, y1, x2, y2);
      ResetTools();
      break;
    case kModePlaceSymbol:
      if (!placePath_.isEmpty()) SchematicLoad(ws_, placePath_.toStdString(), kLoadSymbol, x2, y2);
      ResetTools();
      break;
    case kModeNet:
      ShowNetAt(ws_, std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
      break;
    default:
      break;
  }
  RedrawAll();
}

void Tmdiframe::PointerDoubleClick(QPoint p) {
  if (SimulationRunning()) {
    SimulationDoubleClick(p);
    return;
  }
  ResetTools();
  const int sym = SymbolAt(ws_, WorldX(p), WorldY(p));
  if (sym > 0) OpenSymbolProperties(sym);
}

}  // namespace qiro
