// The widget the schematic is drawn on. It keeps two images: the base (the last full redraw)
// and the shown one (base plus the exclusive-or band or outline of the pointer action).
#pragma once

#include <QImage>
#include <QWidget>

namespace qiro {

class Tmdiframe;

class DrawingArea : public QWidget {
  Q_OBJECT
 public:
  DrawingArea(Tmdiframe* frame, QWidget* parent);
  QImage& base() { return base_; }
  const QImage& shown() const { return shown_; }
  // Makes the base image the widget's size; true when it was reallocated.
  bool EnsureSize();
  // Starts the shown image afresh from the base.
  void ResetShown() { shown_ = base_; }
  QImage& shownForDrawing() { return shown_; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void mouseDoubleClickEvent(QMouseEvent*) override;
  void wheelEvent(QWheelEvent*) override;
  // A dialog that takes the focus during a drag also takes its release.
  void focusOutEvent(QFocusEvent*) override;
  // A button dragged from the symbol library palette.
  void dragEnterEvent(QDragEnterEvent*) override;
  void dragMoveEvent(QDragMoveEvent*) override;
  void dragLeaveEvent(QDragLeaveEvent*) override;
  void dropEvent(QDropEvent*) override;

 private:
  Tmdiframe* frame_;
  QImage base_;
  QImage shown_;
};

}  // namespace qiro
