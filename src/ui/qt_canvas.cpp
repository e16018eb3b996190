#include "qt_canvas.h"

#include <QString>

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

QRect ToQRect(const PixelRect& r) {
  return QRect(QPoint(std::min(r.left, r.right), std::min(r.top, r.bottom)),
               QPoint(std::max(r.left, r.right), std::max(r.top, r.bottom)));
}

}  // namespace

QtCanvas::QtCanvas(QImage& image) : image_(image) {
  if (!image_.isNull()) painter_.begin(&image_);
}

QtCanvas::~QtCanvas() {
  if (painter_.isActive()) painter_.end();
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

void QtCanvas::Clear(Colour background) {
  if (!painter_.isActive()) return;
  painter_.setCompositionMode(QPainter::CompositionMode_Source);
  painter_.fillRect(image_.rect(), ToQColor(background));
  penApplied_ = false;
}

void QtCanvas::SetPixel(int x, int y, Colour c) {
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
  image_.setPixel(x, y, ToQColor(c).rgb());
}

void QtCanvas::Segment(int x1, int y1, int x2, int y2) {
  if (!painter_.isActive()) return;
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
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  penApplied_ = false;
  painter_.fillRect(ToQRect(r), ToQColor(c));
}

void QtCanvas::Text(int x, int y, const std::string& text) {
  if (!painter_.isActive() || text.empty()) return;
  if (!fontApplied_ || !(appliedFont_ == font())) {
    appliedFont_ = font();
    fontApplied_ = true;
    QFont f(QString::fromStdString(font().name));
    f.setPointSize(std::max(1, font().size));
    painter_.setFont(f);
    const QFontMetrics fm = painter_.fontMetrics();
    ascent_ = fm.ascent();
    lineHeight_ = fm.height();
  }
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

}  // namespace qiro
