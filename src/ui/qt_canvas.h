// The drawing surface of the desktop program: paints the renderer's calls into a QImage
// that the drawing widget blits. Raster operations of the pen map onto QPainter's
// composition modes, so exclusive-or rubber bands vanish when drawn twice.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>

#include "editor/canvas.h"

namespace qiro {

class QtCanvas : public Canvas {
 public:
  // The image must stay alive as long as the canvas; it is painted in place.
  explicit QtCanvas(QImage& image);
  ~QtCanvas() override;

  void Clear(Colour background) override;
  void SetPixel(int x, int y, Colour c) override;
  void Segment(int x1, int y1, int x2, int y2) override;
  void Ellipse(const PixelRect& r) override;
  void Rectangle(const PixelRect& r) override;
  void FillRect(const PixelRect& r, Colour c) override;
  void Text(int x, int y, const std::string& text) override;

 private:
  void ApplyPen();
  void ApplyBrush();

  QImage& image_;
  QPainter painter_;
  Pen appliedPen_;
  bool penApplied_ = false;
  Brush appliedBrush_;
  bool brushApplied_ = false;
  Font appliedFont_;
  bool fontApplied_ = false;
  int ascent_ = 0, lineHeight_ = 0;
};

inline QColor ToQColor(Colour c) {
  return QColor(c.r, c.g, c.b);
}

}  // namespace qiro
