// The timing-diagram window: the recorded traces against a time ruler with zoom and scroll,
// a cursor that reads time, values and current, the supply-current graph with its summary,
// and exports of the traces as a VCD file and of the diagram as a PNG image.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <array>
#include <functional>

#include "chrono/chrono_view.h"

#include <QFrame>
class QLabel;
class QPushButton;
class QToolButton;

namespace qiro {

class UiDialogs;
class Workspace;

// A widget that shows an image and reports where the pointer was released.
class ImagePanel : public QWidget {
  Q_OBJECT
 public:
  explicit ImagePanel(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }
  QImage image;
  std::function<void(QPoint)> released;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
};

inline constexpr int kPanelIconWidth = 200;
inline constexpr const char* kVcdFilter = "VCD file (*.vcd)|*.vcd|ALL FILE (*.*)|*.*";
inline constexpr const char* kPngFilter = "PNG image (*.png)|*.png|ALL FILE (*.*)|*.*";

class TFormChronos : public QMainWindow {
  Q_OBJECT
 public:
  TFormChronos(Workspace& ws, UiDialogs& dialogs, QWidget* parent);

  // Opening: caption, layout, view-all, current scale, drawing, cursor at the left edge.
  void FormActivate();
  void FormResize();
  void btnSmallerClick();
  void btnLargerClick();
  void btnLeftClick();
  void btnRightClick();
  void mnuViewAllClick();
  void mnuQuitClick();
  void ImageChronoMouseUp(int x, int y);
  // Writes the recorded traces as a VCD file chosen by the user; false when nothing was written.
  bool ExportVcd();
  // Writes the window's diagram as a PNG image; false when nothing was written.
  bool SaveImage();

  const ChronoGeometry& geometry() const { return geo_; }
  const QImage& traceImage() const { return trace_->image; }
  const QImage& rulerImage() const { return ruler_->image; }
  QString divisionCaption() const;
  QString statusText(int panel) const;
  QFrame* cursorBar() const { return bar_; }
  QWidget* panelIcon() const { return panelIcon_; }
  QWidget* panelRuler() const { return ruler_; }

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  void Layout();
  // Labels and diagram into both images, then the cursor readout at its stored place.
  void Redraw();
  void ShowCursor(int x, int y);
  QString ProposedName(const char* ext) const;

  Workspace& ws_;
  UiDialogs& dialogs_;
  ChronoGeometry geo_;
  QWidget* client_ = nullptr;
  ImagePanel* trace_ = nullptr;
  ImagePanel* ruler_ = nullptr;
  QFrame* panelIcon_ = nullptr;
  QPushButton* showDiv_ = nullptr;
  QFrame* bar_ = nullptr;
  std::array<QLabel*, 4> status_{};
};

}  // namespace qiro
