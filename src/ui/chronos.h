// The timing-diagram window: the recorded traces against a time ruler, an ordinary window
// beside the main window that follows a run as it goes. Wheel, Ctrl+wheel and drag move and
// zoom in time; two cursors (left and right button) read values, time and their difference;
// the supply-current graph with its summary sits below. Exports the traces as CSV or VCD and
// the diagram as a PNG image.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <array>
#include <functional>

#include "chrono/chrono_view.h"

#include <QFrame>
class QAction;
class QDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;
class QToolButton;

namespace qiro {

class UiDialogs;
class Workspace;

// A widget that shows an image and hands its pointer events on.
class ImagePanel : public QWidget {
  Q_OBJECT
 public:
  explicit ImagePanel(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }
  QImage image;
  std::function<void(QMouseEvent*)> pressed, moved, released;
  std::function<void(QWheelEvent*)> wheeled;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
};

inline constexpr int kPanelIconWidth = 200;
inline constexpr int kChronoRefreshMs = 100;  // redraws during a run come at most this often
inline constexpr const char* kVcdFilter = "VCD file (*.vcd)|*.vcd|ALL FILE (*.*)|*.*";
inline constexpr const char* kCsvFilter = "CSV file (*.csv)|*.csv|ALL FILE (*.*)|*.*";
inline constexpr const char* kPngFilter = "PNG image (*.png)|*.png|ALL FILE (*.*)|*.*";

class TFormChronos : public QMainWindow {
  Q_OBJECT
 public:
  TFormChronos(Workspace& ws, UiDialogs& dialogs, QWidget* parent);

  // Opening: caption, layout, the data in view, current scale, drawing, first cursor at the left.
  void FormActivate();
  void FormResize();
  void btnSmallerClick();
  void btnLargerClick();
  void btnLeftClick();
  void btnRightClick();
  void mnuViewAllClick();
  void mnuQuitClick();
  // The first cursor at x (left button), the second (right button).
  void ImageChronoMouseUp(int x, int y);
  void SetSecondCursor(int x);
  // Pointer gestures in trace-image coordinates.
  void WheelAt(int x, int delta, bool zoom);
  void DragBy(int startStep, int dx);
  // Follows the newest data while a run goes on.
  void SetFollow(bool on);
  bool following() const;
  // Redraws when the recording changed since the last drawing; the timer calls it.
  void RefreshIfChanged();
  // Choosing traces (the "Traces..." window): the rows in order, a node added by name, a row
  // left out, a row moved. Added and left-out traces take effect in what is recorded from the
  // next run on; the rows change at once.
  std::vector<int> Rows() const;
  void mnuTracesClick();
  void AddNodeTrace(const std::string& name);
  void RemoveRow(int row);
  void MoveRowTo(int from, int to);
  QDialog* tracesDialog() const { return traces_; }
  // Writes the recorded traces as a CSV or VCD file chosen by the user; false when nothing was written.
  bool ExportCsv();
  bool ExportVcd();
  // Writes the window's diagram as a PNG image; false when nothing was written.
  bool SaveImage();

  const ChronoGeometry& geometry() const { return geo_; }
  const QImage& traceImage() const { return trace_->image; }
  const QImage& rulerImage() const { return ruler_->image; }
  QString divisionCaption() const;
  QString statusText(int panel) const;
  QFrame* cursorBar() const { return bar_; }
  QFrame* secondCursorBar() const { return bar2_; }
  QWidget* panelIcon() const { return panelIcon_; }
  QWidget* panelRuler() const { return ruler_; }
  int redrawCount() const { return redraws_; }

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  void Layout();
  ChronoFrame Frame() const;
  DataRange Range() const;
  // Labels and diagram into both images, then the cursors at their times.
  void Redraw();
  void ShowCursors(int y);
  // After the user moved the view: follow while the newest data stays in view.
  void UserMoved();
  void PointerPressed(QMouseEvent* e, int offsetX);
  void PointerMoved(QMouseEvent* e, int offsetX);
  void PointerReleased(QMouseEvent* e, int offsetX);
  QString ProposedName(const char* ext) const;
  void FillTraceLists();

  Workspace& ws_;
  UiDialogs& dialogs_;
  ChronoGeometry geo_;
  QWidget* client_ = nullptr;
  ImagePanel* trace_ = nullptr;
  ImagePanel* ruler_ = nullptr;
  QFrame* panelIcon_ = nullptr;
  QPushButton* showDiv_ = nullptr;
  QFrame* bar_ = nullptr;
  QFrame* bar2_ = nullptr;
  QAction* follow_ = nullptr;
  QTimer* refresh_ = nullptr;
  std::array<QLabel*, 4> status_{};
  QDialog* traces_ = nullptr;
  QListWidget* rowList_ = nullptr;
  QListWidget* nodeList_ = nullptr;
  QLineEdit* nodeFilter_ = nullptr;
  QLabel* tracesNote_ = nullptr;
  WheelScroll wheel_;
  double cursorA_ = 0, cursorB_ = -1;  // ns; the second cursor is unset while negative
  int cursorY_ = 0;
  int viewStart_ = 0;  // the view's left edge as the window left it (the store moves it when it drops points)
  // Drag state: where the left button went down and the view's left edge then.
  bool pressed_ = false, dragging_ = false;
  int pressX_ = 0, pressStart_ = 0;
  // What the last drawing showed, to skip redraws when nothing changed.
  struct Drawn {
    int samples = -1, lastTime = -1, step = -1, traces = -1;
    bool operator==(const Drawn&) const = default;
  } drawn_;
  Drawn Current() const;
  int redraws_ = 0;
};

}  // namespace qiro
