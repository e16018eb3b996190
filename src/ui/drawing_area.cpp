#include "drawing_area.h"

#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "form_loglib.h"
#include "main_window.h"

namespace qiro {

DrawingArea::DrawingArea(Tmdiframe* frame, QWidget* parent) : QWidget(parent), frame_(frame) {
  setObjectName("drawing");
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setAcceptDrops(true);
}

bool DrawingArea::EnsureSize() {
  const QSize s(std::max(1, width()), std::max(1, height()));
  if (base_.size() == s) return false;
  base_ = QImage(s, QImage::Format_RGB32);
  base_.fill(Qt::black);
  shown_ = base_;
  return true;
}

void DrawingArea::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, shown_);
}

void DrawingArea::resizeEvent(QResizeEvent*) {
  frame_->DrawingResized(width(), height());
}

void DrawingArea::mousePressEvent(QMouseEvent* e) {
  frame_->PointerPress(e->position().toPoint(), e->button() == Qt::RightButton);
}

void DrawingArea::mouseMoveEvent(QMouseEvent* e) {
  frame_->PointerMove(e->position().toPoint(), e->buttons() != Qt::NoButton);
}

void DrawingArea::mouseReleaseEvent(QMouseEvent* e) {
  frame_->PointerRelease(e->position().toPoint());
}

void DrawingArea::mouseDoubleClickEvent(QMouseEvent* e) {
  frame_->PointerDoubleClick(e->position().toPoint());
}

void DrawingArea::wheelEvent(QWheelEvent* e) {
  e->accept();
  frame_->PointerWheel(e->position().toPoint(), e->angleDelta(), e->modifiers() & Qt::ControlModifier,
                       e->modifiers() & Qt::ShiftModifier);
}

void DrawingArea::focusOutEvent(QFocusEvent* e) {
  QWidget::focusOutEvent(e);
  frame_->CancelPointerAction(false);
}

void DrawingArea::dragEnterEvent(QDragEnterEvent* e) {
  if (!e->mimeData()->hasFormat(kPaletteMime)) return;
  e->acceptProposedAction();
  frame_->PaletteDragMove(e->position().toPoint());
}

void DrawingArea::dragMoveEvent(QDragMoveEvent* e) {
  if (!e->mimeData()->hasFormat(kPaletteMime)) return;
  e->acceptProposedAction();
  frame_->PaletteDragMove(e->position().toPoint());
}

void DrawingArea::dragLeaveEvent(QDragLeaveEvent*) {
  frame_->PaletteDragLeave();
}

void DrawingArea::dropEvent(QDropEvent* e) {
  if (!e->mimeData()->hasFormat(kPaletteMime)) return;
  bool ok = false;
  const int model = e->mimeData()->data(kPaletteMime).toInt(&ok);
  if (!ok) return;
  e->acceptProposedAction();
  frame_->PaletteDrop(e->position().toPoint(), model);
}

}  // namespace qiro
