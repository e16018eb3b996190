// The drawing surface of the desktop program: paints the renderer's calls into a QImage
// that the drawing widget blits. Raster operations of the pen map onto QPainter's
// composition modes, so exclusive-or rubber bands vanish when drawn twice.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <string>

#include "editor/canvas.h"

namespace qiro {

class QtCanvas : public Canvas {
 public:
  // Fast: fills, pixels, thin straight segments and texts go straight into the image's
  // memory (texts copied from the shared text cache); what lies wholly outside the image is
  // skipped. Plain: every call is one QPainter call; it is the
  // reference the fast path must match pixel for pixel.
  enum class Path { Fast, Plain };

  // The image must stay alive as long as the canvas; it is painted in place.
  explicit QtCanvas(QImage& image, Path path = Path::Fast);
  // Paints through a painter the caller has begun (a printer's page), always on the plain path,
  // as if on a 96 dpi screen of the given size: fonts are sized in the painter's own units, so a
  // scaled painter scales the text with the drawing.
  QtCanvas(QPainter& painter, QSize size);
  ~QtCanvas() override;
  QtCanvas(const QtCanvas&) = delete;
  QtCanvas& operator=(const QtCanvas&) = delete;

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
  void ApplyFont();
  void FillDirect(const QRect& r, QRgb colour);
  void CopyDirect(int x, int y, const QImage& src);
  void PaintText(int x, int y, const std::string& text);
  bool Direct() const { return bits_ != nullptr; }
  QRect Bounds() const { return image_ ? image_->rect() : QRect(QPoint(0, 0), size_); }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  QImage* image_ = nullptr;  // null when painting through the caller's painter
  QSize size_;
  QPainter ownPainter_;
  QPainter& painter_;
  // The image's pixels for the fast path; null on the plain path.
  uchar* bits_ = nullptr;
  qsizetype stride_ = 0;
  int width_ = 0, height_ = 0;
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

// Writes an image as PNG through the program's output writer (same rules for links, FIFOs,
// "-" and read-only files as every other output). False with the message in `error`.
bool SavePng(const QImage& image, const std::filesystem::path& path, std::string* error);

}  // namespace qiro
