#include "tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>
#include <cmath>

namespace qiro {

namespace {

// A circular arrow: an open circle whose end carries a filled head, turning counter-clockwise
// (left) or, mirrored, clockwise (right).
void Arrow(QPainter& p, bool left) {
  p.save();
  if (!left) p.setTransform(QTransform(-1, 0, 0, 1, 24, 0));
  constexpr double kCx = 12, kCy = 13, kR = 7, kEnd = 100;  // degrees, counter-clockwise
  QPainterPath arc;
  arc.arcMoveTo(kCx - kR, kCy - kR, 2 * kR, 2 * kR, kEnd - 290);
  arc.arcTo(kCx - kR, kCy - kR, 2 * kR, 2 * kR, kEnd - 290, 290);
  p.drawPath(arc);
  const double a = qDegreesToRadians(kEnd);
  const QPointF tip(kCx + kR * std::cos(a), kCy - kR * std::sin(a));
  const QPointF along(-std::sin(a), -std::cos(a)), across(std::cos(a), -std::sin(a));
  p.setBrush(p.pen().color());
  p.drawPolygon(QPolygonF({tip + 4 * along, tip + 3 * across, tip - 3 * across}));
  p.restore();
}

void Magnifier(QPainter& p, bool plus) {
  p.drawEllipse(3, 3, 12, 12);
  p.drawLine(14, 14, 21, 21);
  p.drawLine(6, 9, 12, 9);
  if (plus) p.drawLine(9, 6, 9, 12);
}

}  // namespace

QIcon ToolIcon(const QString& c) {
  QPixmap pm(24, 24);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1.5));
  if (c == "sbfileopen") {
    p.drawRect(3, 8, 16, 12);
    p.drawLine(3, 8, 6, 5), p.drawLine(6, 5, 11, 5), p.drawLine(11, 5, 13, 8);
  } else if (c == "sbfilesave") {
    p.drawRect(4, 4, 16, 16);
    p.fillRect(8, 4, 8, 6, Qt::black);
    p.drawRect(7, 13, 10, 7);
  } else if (c == "sbselect") {
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygon({QPoint(6, 3), QPoint(6, 19), QPoint(10, 15), QPoint(14, 21), QPoint(16, 20),
                            QPoint(12, 14), QPoint(17, 14)}));
  } else if (c == "sbclear") {
    p.drawEllipse(3, 14, 6, 6), p.drawEllipse(15, 14, 6, 6);
    p.drawLine(8, 15, 17, 3), p.drawLine(16, 15, 7, 3);
  } else if (c == "sbcopy") {
    p.drawRect(3, 3, 11, 13), p.drawRect(9, 8, 11, 13);
  } else if (c == "sbMove") {
    p.drawLine(12, 2, 12, 22), p.drawLine(2, 12, 22, 12);
    p.drawLine(12, 2, 9, 5), p.drawLine(12, 2, 15, 5), p.drawLine(12, 22, 9, 19), p.drawLine(12, 22, 15, 19);
    p.drawLine(2, 12, 5, 9), p.drawLine(2, 12, 5, 15), p.drawLine(22, 12, 19, 9), p.drawLine(22, 12, 19, 15);
  } else if (c == "sbgleft") {
    Arrow(p, true);
  } else if (c == "sbgright") {
    Arrow(p, false);
  } else if (c == "sbFlip") {
    p.drawLine(12, 2, 12, 22);
    p.drawPolygon(QPolygon({QPoint(10, 6), QPoint(3, 18), QPoint(10, 18)}));
    p.drawPolygon(QPolygon({QPoint(14, 6), QPoint(21, 18), QPoint(14, 18)}));
  } else if (c == "sbline") {
    p.setPen(QPen(Qt::darkCyan, 2));
    p.drawLine(3, 20, 12, 20), p.drawLine(12, 20, 12, 4), p.drawLine(12, 4, 21, 4);
  } else if (c == "sbconnect") {
    p.drawLine(2, 12, 22, 12), p.drawLine(12, 12, 12, 22);
    p.setBrush(Qt::black);
    p.drawEllipse(9, 9, 6, 6);
  } else if (c == "sbword") {
    QFont f("Serif", 14, QFont::Bold);
    p.setFont(f);
    p.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, "A");
  } else if (c == "sbshow") {
    p.drawRect(3, 3, 18, 18);
    p.drawLine(3, 3, 8, 8), p.drawLine(21, 21, 16, 16), p.drawLine(21, 3, 16, 8), p.drawLine(3, 21, 8, 16);
  } else if (c == "sbzoomin") {
    Magnifier(p, true);
  } else if (c == "sbzoomout") {
    Magnifier(p, false);
  } else if (c == "sbViewNode") {
    p.setPen(QPen(Qt::red, 2));
    p.drawLine(2, 6, 12, 6), p.drawLine(12, 6, 12, 18), p.drawLine(12, 18, 22, 18);
    p.drawLine(12, 12, 22, 12);
  } else if (c == "sbSymbol") {
    p.drawRect(7, 4, 10, 16);
    p.drawLine(2, 8, 7, 8), p.drawLine(2, 16, 7, 16), p.drawLine(17, 12, 22, 12);
  } else if (c == "sbloglib") {
    p.drawRect(3, 3, 8, 8), p.drawRect(13, 3, 8, 8), p.drawRect(3, 13, 8, 8), p.drawRect(13, 13, 8, 8);
  } else if (c == "sbsch") {
    p.setPen(QPen(Qt::darkGreen, 1.5));
    p.drawPolyline(QPolygon({QPoint(2, 10), QPoint(6, 10), QPoint(6, 4), QPoint(12, 4), QPoint(12, 10),
                             QPoint(18, 10), QPoint(18, 4), QPoint(22, 4)}));
    p.drawPolyline(QPolygon({QPoint(2, 20), QPoint(9, 20), QPoint(9, 14), QPoint(22, 14)}));
  } else if (c == "SBSTART") {
    p.setBrush(Qt::darkGreen);
    p.drawPolygon(QPolygon({QPoint(6, 3), QPoint(20, 12), QPoint(6, 21)}));
  } else {
    p.drawRect(4, 4, 16, 16);
  }
  return QIcon(pm);
}

}  // namespace qiro
