// Two ways to paint the same picture. The plain path turns every canvas call into a QPainter
// call. The fast path avoids what dominates a full redraw: text layout (texts are copied from
// pre-painted images), painter state changes and per-call overhead (fills, pixels and thin
// solid segments are written straight into the image's memory, which the painter does not
// cache, following QPainter's own pixel rules). Batching segments into one drawLines call
// would not do: QPainter's thin-line stroker carries state from one line of a call to the
// next and so covers other pixels. Items wholly outside the image are skipped.
#include "qt_canvas.h"

#include <QBuffer>
#include <QString>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "model/safe_write.h"
#include "qt_canvas_text_cache.h"

namespace qiro {

namespace {

QPainter::CompositionMode ModeOf(RasterOp op) {
  switch (op) {
    case RasterOp::Xor:
      return QPainter::RasterOp_SourceXorDestination;
    case RasterOp::NotXor:
      return QPainter::RasterOp_NotSourceXorDestination;
    case RasterOp::MaskNotPen:
      return QPainter::RasterOp_NotSourceAndDestination;
    case RasterOp::Copy:
      break;
  }
  return QPainter::CompositionMode_SourceOver;
}

// 16.16 fixed-point quotient, as QPainter's thin-line stroker computes its slopes.
int FixedDiv(int x, int y) {
  if (std::abs(x) > 0x7fff) return static_cast<int>(static_cast<long long>(x) * 65536 / y);
  return x * 65536 / y;
}

// The pixels QPainter covers with a thin solid line between two integer points: one per step
// along the longer axis from the smaller end up to, not including, the larger one; the
// other coordinate advances by a 16.16 slope that starts half a step in when it rises.
template <class Plot>
void ThinLine(int x1, int y1, int x2, int y2, Plot plot) {
  if (x1 == x2 && y1 == y2) {
    plot(x1, y1);
    return;
  }
  if (std::abs(x2 - x1) < std::abs(y2 - y1)) {
    if (y1 > y2) std::swap(x1, x2), std::swap(y1, y2);
    const int inc = FixedDiv((x2 - x1) * 64, (y2 - y1) * 64);
    int x = (x1 << 16) + ((inc > 0 ? 32 : 0) * inc >> 6);
    for (int y = y1; y < y2; ++y, x += inc) plot(x >> 16, y);
  } else {
    if (x1 > x2) std::swap(x1, x2), std::swap(y1, y2);
    const int inc = FixedDiv((y2 - y1) * 64, (x2 - x1) * 64);
    int y = (y1 << 16) + ((inc > 0 ? 32 : 0) * inc >> 6);
    for (int x = x1; x < x2; ++x, y += inc) plot(x, y >> 16);
  }
}

QRect ToQRect(const PixelRect& r) {
  return QRect(QPoint(std::min(r.left, r.right), std::min(r.top, r.bottom)),
               QPoint(std::max(r.left, r.right), std::max(r.top, r.bottom)));
}

}  // namespace

QtCanvas::QtCanvas(QImage& image, Path path) : image_(&image), size_(image.size()), painter_(ownPainter_) {
  if (image.isNull()) return;
  painter_.begin(&image);
  if (path == Path::Fast && image.format() == QImage::Format_RGB32) {
    bits_ = image.bits();  // after begin, which has made the pixels this image's own
    stride_ = image.bytesPerLine();
    width_ = image.width();
    height_ = image.height();
  }
}

QtCanvas::QtCanvas(QPainter& painter, QSize size) : size_(size), painter_(painter) {}

QtCanvas::~QtCanvas() {
  if (ownPainter_.isActive()) ownPainter_.end();
}

void QtCanvas::ApplyPen() {
  if (penApplied_ && appliedPen_ == pen()) return;
  appliedPen_ = pen();
  penApplied_ = true;
  QPen p(ToQColor(pen().colour));
  p.setWidth(std::max(1, pen().width));
  p.setStyle(pen().style == PenStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
  p.setCapStyle(Qt::FlatCap);
  painter_.setPen(p);
  painter_.setCompositionMode(ModeOf(pen().op));
}

void QtCanvas::ApplyBrush() {
  if (brushApplied_ && appliedBrush_ == brush()) return;
  appliedBrush_ = brush();
  brushApplied_ = true;
  painter_.setBrush(brush().transparent ? QBrush(Qt::NoBrush) : QBrush(ToQColor(brush().colour)));
}

void QtCanvas::ApplyFont() {
  if (fontApplied_ && appliedFont_ == font()) return;
  appliedFont_ = font();
  fontApplied_ = true;
  QFont f(QString::fromStdString(font().name));
  if (image_)
    f.setPointSize(std::max(1, font().size));
  else
    f.setPixelSize(std::max(1, (font().size * 96 + 36) / 72));  // points on a 96 dpi screen
  painter_.setFont(f);
  const QFontMetrics fm = painter_.fontMetrics();
  ascent_ = fm.ascent();
  lineHeight_ = fm.height();
}

void QtCanvas::FillDirect(const QRect& r, QRgb colour) {
  const QRect c = r.intersected(QRect(0, 0, width_, height_));
  for (int y = c.top(); y <= c.bottom(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(bits_ + y * stride_);
    std::fill(row + c.left(), row + c.left() + c.width(), colour);
  }
}

void QtCanvas::CopyDirect(int x, int y, const QImage& src) {
  const QRect c = QRect(x, y, src.width(), src.height()).intersected(QRect(0, 0, width_, height_));
  if (c.isEmpty()) return;
  const auto bytes = static_cast<std::size_t>(c.width()) * sizeof(QRgb);
  for (int row = c.top(); row <= c.bottom(); ++row)
    std::memcpy(bits_ + row * stride_ + c.left() * sizeof(QRgb),
                src.constScanLine(row - y) + (c.left() - x) * sizeof(QRgb), bytes);
}

void QtCanvas::Clear(Colour background) {
  if (!painter_.isActive()) return;
  if (Direct()) {
    FillDirect(image_->rect(), ToQColor(background).rgb());
    return;
  }
  painter_.setCompositionMode(QPainter::CompositionMode_Source);
  painter_.fillRect(Bounds(), ToQColor(background));
  penApplied_ = false;
}

void QtCanvas::SetPixel(int x, int y, Colour c) {
  if (Direct()) {
    if (!Inside(x, y)) return;
    reinterpret_cast<QRgb*>(bits_ + y * stride_)[x] = qRgb(c.r, c.g, c.b);
    return;
  }
  if (!Bounds().contains(x, y)) return;
  if (image_)
    image_->setPixel(x, y, ToQColor(c).rgb());
  else
    painter_.fillRect(x, y, 1, 1, ToQColor(c));
}

void QtCanvas::Segment(int x1, int y1, int x2, int y2) {
  if (!painter_.isActive()) return;
  if (Direct()) {
    const int m = std::max(1, pen().width) + 1;
    if (std::max(x1, x2) < -m || std::min(x1, x2) > width_ + m || std::max(y1, y2) < -m ||
        std::min(y1, y2) > height_ + m)
      return;
    if (pen().style == PenStyle::Solid && pen().op == RasterOp::Copy && pen().width <= 1) {
      const QRgb c = qRgb(pen().colour.r, pen().colour.g, pen().colour.b);
      if (x1 == x2 || y1 == y2) {  // a run of pixels, clipped like any fill
        const int right = std::max(x1, x2) - (x1 != x2 ? 1 : 0);
        const int bottom = std::max(y1, y2) - (y1 != y2 ? 1 : 0);
        FillDirect(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(right, bottom)), c);
        return;
      }
      // A slanted line crossing the edge is left to the painter, whose clipping moves its ends.
      if (Inside(x1, y1) && Inside(x2, y2)) {
        ThinLine(x1, y1, x2, y2,
                 [this, c](int x, int y) { reinterpret_cast<QRgb*>(bits_ + y * stride_)[x] = c; });
        return;
      }
    }
  }
  ApplyPen();
  painter_.drawLine(x1, y1, x2, y2);
}

void QtCanvas::Ellipse(const PixelRect& r) {
  if (!painter_.isActive()) return;
  ApplyPen();
  ApplyBrush();
  const QRect q = ToQRect(r);
  painter_.drawEllipse(q.adjusted(0, 0, -1, -1));
}

void QtCanvas::Rectangle(const PixelRect& r) {
  if (!painter_.isActive()) return;
  ApplyPen();
  ApplyBrush();
  const QRect q = ToQRect(r);
  painter_.drawRect(q.adjusted(0, 0, -1, -1));
}

void QtCanvas::FillRect(const PixelRect& r, Colour c) {
  if (!painter_.isActive()) return;
  if (Direct()) {
    FillDirect(ToQRect(r), ToQColor(c).rgb());
    return;
  }
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  penApplied_ = false;
  painter_.fillRect(ToQRect(r), ToQColor(c));
}

void QtCanvas::Text(int x, int y, const std::string& text) {
  if (!painter_.isActive() || text.empty()) return;
  if (Direct() && !brush().transparent) {
    if (x >= width_ || y >= height_) return;  // the box starts right of or below the image
    const TextImageCache::Entry& e = TextImageCache::Shared().Get(
        text, font(), brush().colour, image_->dotsPerMeterX(), image_->dotsPerMeterY());
    if (!e.spills) {
      CopyDirect(x, y, e.image);
      return;
    }
  }
  PaintText(x, y, text);
}

void QtCanvas::PaintText(int x, int y, const std::string& text) {
  ApplyFont();
  const QString s = QString::fromStdString(text);
  if (!brush().transparent) {
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    penApplied_ = false;
    painter_.fillRect(QRect(x, y, painter_.fontMetrics().horizontalAdvance(s), lineHeight_),
                      ToQColor(brush().colour));
  }
  // Text takes the font's colour; the pen is only changed when that differs.
  if (!penApplied_ || appliedPen_.colour != font().colour || appliedPen_.op != RasterOp::Copy) {
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.setPen(ToQColor(font().colour));
    penApplied_ = false;
  }
  painter_.drawText(x, y + ascent_, s);
}

bool SavePng(const QImage& image, const std::filesystem::path& path, std::string* error) {
  QByteArray png;
  QBuffer buffer(&png);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
    if (error) *error = "cannot encode the picture as PNG";
    return false;
  }
  return SafeWriteText(path, std::string_view(png.constData(), static_cast<std::size_t>(png.size())), error);
}

}  // namespace qiro
