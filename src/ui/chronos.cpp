#include "chronos.h"

#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <cctype>
#include <chrono>
#include <filesystem>

#include "chrono/chrono_draw.h"
#include "chrono/csv_writer.h"
#include "chrono/vcd_writer.h"
#include "qt_canvas.h"
#include "qt_canvas_text_cache.h"
#include "ui_dialogs.h"
#include "workspace.h"

namespace qiro {

void ImagePanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.drawImage(0, 0, image);
}

void ImagePanel::mousePressEvent(QMouseEvent* e) {
  if (pressed) pressed(e);
}

void ImagePanel::mouseMoveEvent(QMouseEvent* e) {
  if (moved) moved(e);
}

void ImagePanel::mouseReleaseEvent(QMouseEvent* e) {
  if (released) released(e);
}

void ImagePanel::wheelEvent(QWheelEvent* e) {
  if (wheeled) wheeled(e);
  e->accept();
}

namespace {

// Magnifier and arrow glyphs of the four buttons.
QIcon ChronoIcon(const QString& name) {
  QPixmap pm(20, 20);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1.5));
  if (name == "btnSmaller" || name == "btnLarger") {
    p.drawEllipse(2, 2, 11, 11);
    p.drawLine(12, 12, 18, 18);
    p.drawLine(5, 7, 10, 7);
    if (name == "btnLarger") p.drawLine(7, 5, 7, 10);
  } else {
    const bool left = name == "btnLeft";
    p.setBrush(Qt::black);
    p.drawPolygon(left ? QPolygon({QPoint(3, 10), QPoint(15, 3), QPoint(15, 17)})
                       : QPolygon({QPoint(17, 10), QPoint(5, 3), QPoint(5, 17)}));
  }
  return QIcon(pm);
}

}  // namespace

TFormChronos::TFormChronos(Workspace& ws, UiDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent, Qt::Window), ws_(ws), dialogs_(dialogs) {
  setObjectName("FormChronos");
  setWindowTitle("Timing Diagram");
  client_ = new QWidget(this);
  setCentralWidget(client_);
  trace_ = new ImagePanel(client_);
  trace_->setObjectName("ImageChrono");

  panelIcon_ = new QFrame(client_);
  panelIcon_->setObjectName("PanelIcon");
  panelIcon_->setFrameShape(QFrame::Panel);
  panelIcon_->setAutoFillBackground(true);
  panelIcon_->setGeometry(0, 0, kPanelIconWidth, kRulerHeight);
  struct Button {
    const char* name;
    const char* hint;
    void (TFormChronos::*handler)();
  };
  static const Button kButtons[] = {{"btnSmaller", "Zoom out", &TFormChronos::btnSmallerClick},
                                    {"btnLarger", "Zoom in", &TFormChronos::btnLargerClick},
                                    {"btnLeft", "Earlier by half a window", &TFormChronos::btnLeftClick},
                                    {"btnRight", "Later by half a window", &TFormChronos::btnRightClick}};
  int x = 4;
  for (const Button& b : kButtons) {
    auto* button = new QToolButton(panelIcon_);
    button->setObjectName(b.name);
    button->setToolTip(b.hint);
    button->setIcon(ChronoIcon(b.name));
    button->setGeometry(x, 12, 26, 26);
    connect(button, &QToolButton::clicked, this, b.handler);
    x += 28;
  }
  showDiv_ = new QPushButton(panelIcon_);
  showDiv_->setObjectName("BtnShowDiv");
  showDiv_->setFlat(true);
  showDiv_->setGeometry(x + 2, 12, kPanelIconWidth - x - 6, 26);

  ruler_ = new ImagePanel(client_);
  ruler_->setObjectName("PanelRuler");
  // Both images take the same gestures; the ruler's x is turned into the trace image's.
  for (ImagePanel* panel : {trace_, ruler_}) {
    auto offset = [this, panel] { return panel == ruler_ ? ruler_->x() : 0; };
    panel->pressed = [this, offset](QMouseEvent* e) { PointerPressed(e, offset()); };
    panel->moved = [this, offset](QMouseEvent* e) { PointerMoved(e, offset()); };
    panel->released = [this, offset](QMouseEvent* e) { PointerReleased(e, offset()); };
    panel->wheeled = [this, offset](QWheelEvent* e) {
      const int delta = e->angleDelta().y() != 0 ? e->angleDelta().y() : e->angleDelta().x();
      WheelAt(static_cast<int>(e->position().x()) + offset(), delta,
              (e->modifiers() & Qt::ControlModifier) != 0);
    };
  }

  auto makeBar = [this](const char* name, QColor colour) {
    auto* bar = new QFrame(client_);
    bar->setObjectName(name);
    bar->setAutoFillBackground(true);
    QPalette pal = bar->palette();
    pal.setColor(QPalette::Window, colour);
    bar->setPalette(pal);
    bar->setAttribute(Qt::WA_TransparentForMouseEvents);
    return bar;
  };
  bar_ = makeBar("sbBar", QColor(0, 128, 128));
  bar2_ = makeBar("sbBar2", QColor(160, 0, 160));
  bar2_->hide();

  QMenuBar* menu = menuBar();
  auto add = [&](const char* name, const QString& caption, auto handler) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, handler);
    return a;
  };
  add("mnuViewAll", "View All", [this] { mnuViewAllClick(); });
  follow_ = add("mnuFollow", "Follow", [this](bool on) { SetFollow(on); });
  follow_->setCheckable(true);
  follow_->setToolTip("Keep the newest data in view while the simulation runs");
  add("mnuTraces", "Traces...", [this] { mnuTracesClick(); });
  add("mnuExportCsv", "Export CSV...", [this] { ExportCsv(); });
  add("mnuExportVcd", "Export VCD...", [this] { ExportVcd(); });
  add("mnuSaveImage", "Save Image...", [this] { SaveImage(); });
  add("mnuQuit", "Quit", [this] { mnuQuitClick(); });
  add("mnuHelp", "Help", [this] {
    status_[0]->setText(
        "Wheel or drag: move in time; Ctrl+wheel: zoom at the pointer; left and right click: the two "
        "cursors");
  });
  for (int i = 0; i < 4; ++i) {
    status_[static_cast<std::size_t>(i)] = new QLabel(this);
    status_[static_cast<std::size_t>(i)]->setObjectName(QString("ChronoStatus%1").arg(i));
    statusBar()->addWidget(status_[static_cast<std::size_t>(i)], i == 0 ? 2 : 1);
  }
  refresh_ = new QTimer(this);
  refresh_->setInterval(kChronoRefreshMs);
  connect(refresh_, &QTimer::timeout, this, [this] { RefreshIfChanged(); });
  resize(900, 560);
  Layout();
  // Beside the main window, where the run can be watched and controlled at the same time:
  // to its right when the screen has room, else below it.
  if (parent && parent->screen()) {
    const QRect screen = parent->screen()->availableGeometry();
    const QRect main = parent->frameGeometry();
    QPoint at(main.right() + 1, main.top());
    if (at.x() + width() > screen.right()) at = QPoint(main.left(), main.bottom() + 1);
    at.setY(std::max(screen.top(), std::min(at.y(), screen.bottom() - height())));
    move(at);
  }
}

QString TFormChronos::divisionCaption() const {
  return showDiv_->text();
}

QString TFormChronos::statusText(int panel) const {
  return panel >= 0 && panel < 4 ? status_[static_cast<std::size_t>(panel)]->text() : QString();
}

void TFormChronos::Layout() {
  const int w = std::max(1, client_->width()), h = std::max(1, client_->height());
  trace_->setGeometry(0, 0, w, h);
  panelIcon_->move(0, 0);
  const int rulerLeft = panelIcon_->geometry().right() + 20;
  ruler_->setGeometry(rulerLeft, 0, std::max(1, w - panelIcon_->width()), panelIcon_->height());
  panelIcon_->raise();
  ruler_->raise();
  geo_.M = TraceAreaLeft(rulerLeft);
  geo_.W = w;
  geo_.H = h;
  for (QFrame* bar : {bar_, bar2_}) {
    bar->resize(bar == bar_ ? 5 : 3, std::max(1, h - 50));
    bar->raise();
  }
  if (trace_->image.size() != QSize(w, h)) trace_->image = QImage(w, h, QImage::Format_RGB32);
  if (ruler_->image.size() != ruler_->size()) ruler_->image = QImage(ruler_->size(), QImage::Format_RGB32);
}

void TFormChronos::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  FormResize();
}

void TFormChronos::FormResize() {
  Layout();
  Redraw();
}

DataRange TFormChronos::Range() const {
  return RecordedRange(ws_.chrono, ws_.engine.StepCount);
}

ChronoFrame TFormChronos::Frame() const {
  // The diagram's text font, measured once: ruler and bus labels are thinned by their widths.
  static const QtFontInfo font = MakeQtFont(Font{palette::kBlack, 8, "Arial"}, trace_->image.dotsPerMeterX(),
                                            trace_->image.dotsPerMeterY());
  ChronoFrame frame(ws_.chrono, ws_.current, geo_, ruler_->width(), ws_.tech.TimeUnit, ws_.engine.StepCount,
                    ws_.tech.SupplyVoltage);
  frame.textWidth = [metrics = font.metrics](const std::string& text) {
    return metrics.horizontalAdvance(QString::fromStdString(text));
  };
  frame.rows = Rows();
  return frame;
}

TFormChronos::Drawn TFormChronos::Current() const {
  const ChronoStore& c = ws_.chrono;
  return {c.SampleCount(), c.SampleTime(c.SampleCount()), ws_.engine.StepCount, c.TraceCount()};
}

void TFormChronos::Redraw() {
  ++redraws_;
  drawn_ = Current();
  viewStart_ = ws_.chrono.viewStart;
  const ChronoFrame frame = Frame();
  ChronoPicture picture;
  {
    QtCanvas trace(trace_->image);
    QtCanvas ruler(ruler_->image);
    picture = DrawChronogramImages(frame, trace, ruler);
  }
  showDiv_->setText(QString::fromStdString(picture.caption));
  for (std::size_t i = 1; i < picture.status.size() && i < status_.size(); ++i)
    status_[i]->setText(QString::fromStdString(picture.status[i]));
  ShowCursors(cursorY_);
  trace_->update();
  ruler_->update();
}

void TFormChronos::ShowCursors(int y) {
  const ChronoFrame frame = Frame();
  const CursorReadout r = ReadCursor(frame, cursorA_, y);
  status_[0]->setText(QString::fromStdString(CursorTimesText(cursorA_, cursorB_)));
  if (!r.currentText.empty()) status_[1]->setText(QString::fromStdString(r.currentText));
  {
    QtCanvas trace(trace_->image);
    PaintCursorValues(r, trace);
  }
  auto place = [this](QFrame* bar, int x, bool set) {
    bar->setVisible(set && x >= geo_.M && x <= geo_.W);
    bar->move(x - bar->width() / 2, 50);
  };
  place(bar_, r.x, true);
  place(bar2_, StepX(ws_.chrono, geo_, ws_.tech.TimeUnit, cursorB_ / ws_.tech.TimeUnit), cursorB_ >= 0);
  trace_->update();
}

void TFormChronos::FormActivate() {
  setWindowTitle("Timing diagrams of " + QString::fromStdString(ws_.circuit.FileName));
  Layout();
  OpeningView(ws_.chrono, geo_, ws_.tech.TimeUnit, Range());
  ws_.current.ChooseCurrentScale();
  cursorA_ = ws_.chrono.viewStart * ws_.tech.TimeUnit;
  cursorB_ = -1;
  cursorY_ = 0;
  follow_->setChecked(ws_.engine.Running);
  Redraw();
  refresh_->start();
}

bool TFormChronos::following() const {
  return follow_->isChecked();
}

void TFormChronos::SetFollow(bool on) {
  follow_->setChecked(on);
  if (!on) return;
  FollowNewest(ws_.chrono, ws_.tech.TimeUnit, Range());
  Redraw();
}

void TFormChronos::RefreshIfChanged() {
  if (!isVisible() || Current() == drawn_) return;
  if (following()) {
    FollowNewest(ws_.chrono, ws_.tech.TimeUnit, Range());
  } else {
    ws_.chrono.viewStart = viewStart_;
    ClampView(ws_.chrono, ws_.tech.TimeUnit, Range());
  }
  const auto start = std::chrono::steady_clock::now();
  Redraw();
  // A slow machine or a crowded diagram redraws less often, so that drawing never takes more
  // than a twentieth of the run's time.
  const auto took =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  refresh_->setInterval(std::max(kChronoRefreshMs, static_cast<int>(20 * took.count())));
}

void TFormChronos::UserMoved() {
  follow_->setChecked(ws_.engine.Running && ShowsNewest(ws_.chrono, ws_.tech.TimeUnit, Range()));
  Redraw();
}

void TFormChronos::btnSmallerClick() {
  ZoomAround(ws_.chrono, geo_, ws_.tech.TimeUnit, Range(), ZoomOutSpan(ws_.chrono.span),
             (geo_.M + geo_.W) / 2);
  if (following()) FollowNewest(ws_.chrono, ws_.tech.TimeUnit, Range());
  Redraw();
}

void TFormChronos::btnLargerClick() {
  ZoomAround(ws_.chrono, geo_, ws_.tech.TimeUnit, Range(), ZoomInSpan(ws_.chrono.span),
             (geo_.M + geo_.W) / 2);
  if (following()) FollowNewest(ws_.chrono, ws_.tech.TimeUnit, Range());
  Redraw();
}

void TFormChronos::btnLeftClick() {
  ScrollBySpan(ws_.chrono, ws_.tech.TimeUnit, Range(), -0.5);
  UserMoved();
}

void TFormChronos::btnRightClick() {
  ScrollBySpan(ws_.chrono, ws_.tech.TimeUnit, Range(), 0.5);
  UserMoved();
}

void TFormChronos::mnuViewAllClick() {
  FitToData(ws_.chrono, ws_.tech.TimeUnit, Range());
  follow_->setChecked(ws_.engine.Running);
  Redraw();
}

void TFormChronos::WheelAt(int x, int delta, bool zoom) {
  if (delta == 0) return;
  const DataRange range = Range();
  if (zoom) {
    ZoomAround(ws_.chrono, geo_, ws_.tech.TimeUnit, range,
               WheelZoomSpan(ws_.chrono.span, delta, ws_.tech.TimeUnit, range), x);
    if (following()) FollowNewest(ws_.chrono, ws_.tech.TimeUnit, range);
    Redraw();
    return;
  }
  const int steps = wheel_.Take(delta, ws_.chrono.span / ws_.tech.TimeUnit);
  if (steps == 0) return;
  ws_.chrono.viewStart += steps;
  ClampView(ws_.chrono, ws_.tech.TimeUnit, range);
  UserMoved();
}

void TFormChronos::DragBy(int startStep, int dx) {
  DragView(ws_.chrono, geo_, ws_.tech.TimeUnit, Range(), startStep, dx);
  UserMoved();
}

void TFormChronos::PointerPressed(QMouseEvent* e, int offsetX) {
  if (e->button() != Qt::LeftButton) return;
  pressed_ = true;
  dragging_ = false;
  pressX_ = static_cast<int>(e->position().x()) + offsetX;
  pressStart_ = ws_.chrono.viewStart;
}

void TFormChronos::PointerMoved(QMouseEvent* e, int offsetX) {
  if (!pressed_ || !(e->buttons() & Qt::LeftButton)) return;
  const int dx = static_cast<int>(e->position().x()) + offsetX - pressX_;
  if (!dragging_ && std::abs(dx) < 4) return;  // a click that wobbles is still a click
  dragging_ = true;
  DragBy(pressStart_, dx);
}

void TFormChronos::PointerReleased(QMouseEvent* e, int offsetX) {
  const int x = static_cast<int>(e->position().x()) + offsetX;
  const int y = static_cast<int>(e->position().y());
  if (e->button() == Qt::RightButton) {
    SetSecondCursor(x);
  } else if (e->button() == Qt::LeftButton) {
    if (!dragging_) ImageChronoMouseUp(x, y);
    pressed_ = dragging_ = false;
  }
}

void TFormChronos::mnuQuitClick() {
  close();
  if (QWidget* palette = parentWidget() ? parentWidget()->findChild<QWidget*>("TFormLoglib") : nullptr)
    if (!ws_.engine.Running) palette->show();
}

void TFormChronos::ImageChronoMouseUp(int x, int y) {
  cursorA_ = TimeAtX(ws_.chrono, geo_, ws_.tech.TimeUnit, std::max(geo_.M, x));
  cursorY_ = y;
  ws_.chrono.cursorX = std::max(geo_.M, x);
  ws_.chrono.cursorY = y;
  ShowCursors(y);
}

void TFormChronos::SetSecondCursor(int x) {
  cursorB_ = std::max(0.0, TimeAtX(ws_.chrono, geo_, ws_.tech.TimeUnit, std::max(geo_.M, x)));
  ShowCursors(cursorY_);
}

QString TFormChronos::ProposedName(const char* ext) const {
  std::filesystem::path p(ws_.circuit.FileName.empty() ? std::string("example") : ws_.circuit.FileName);
  p.replace_extension(ext);
  return QString::fromStdString(p.string());
}

// "Written PATH", or the writer's message of what failed as a sentence ("Cannot write PATH: why").
static QString WriteStatus(bool ok, const QString& path, std::string why) {
  if (ok) return "Written " + path;
  if (!why.empty()) why[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(why[0])));
  return QString::fromStdString(why);
}

bool TFormChronos::ExportCsv() {
  const auto chosen = dialogs_.SaveFile(this, ProposedName(".csv"), kCsvFilter);
  if (!chosen) return false;
  std::string why;
  const bool ok =
      WriteChronoCsvFile(chosen->toStdString(), ws_.chrono, ws_.current, ws_.tech.TimeUnit, Rows(), &why);
  status_[0]->setText(WriteStatus(ok, *chosen, why));
  return ok;
}

bool TFormChronos::ExportVcd() {
  const auto chosen = dialogs_.SaveFile(this, ProposedName(".vcd"), kVcdFilter);
  if (!chosen) return false;
  std::string why;
  const bool ok = WriteChronoVcdFile(chosen->toStdString(), ws_.chrono, ws_.tech.TimeUnit, &why);
  status_[0]->setText(WriteStatus(ok, *chosen, why));
  return ok;
}

bool TFormChronos::SaveImage() {
  const auto chosen = dialogs_.SaveFile(this, ProposedName(".png"), kPngFilter);
  if (!chosen) return false;
  // Through the program's output writer: a failed write leaves an older image intact.
  std::string why;
  const bool ok = SavePng(client_->grab().toImage(), chosen->toStdString(), &why);
  status_[0]->setText(WriteStatus(ok, *chosen, why));
  return ok;
}

}  // namespace qiro
