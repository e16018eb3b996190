#include "chronos.h"

#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <cctype>
#include <filesystem>

#include "chrono/chrono_draw.h"
#include "chrono/vcd_writer.h"
#include "qt_canvas.h"
#include "ui_dialogs.h"
#include "workspace.h"

namespace qiro {

void ImagePanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.drawImage(0, 0, image);
}

void ImagePanel::mouseReleaseEvent(QMouseEvent* e) {
  if (released) released(e->position().toPoint());
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
  trace_->released = [this](QPoint p) { ImageChronoMouseUp(p.x(), p.y()); };

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
                                    {"btnLeft", "Earlier", &TFormChronos::btnLeftClick},
                                    {"btnRight", "Later", &TFormChronos::btnRightClick}};
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

  bar_ = new QFrame(client_);
  bar_->setObjectName("sbBar");
  bar_->setAutoFillBackground(true);
  QPalette pal = bar_->palette();
  pal.setColor(QPalette::Window, QColor(0, 128, 128));
  bar_->setPalette(pal);

  QMenuBar* menu = menuBar();
  auto add = [&](const char* name, const QString& caption, auto handler) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, handler);
  };
  add("mnuViewAll", "View All", [this] { mnuViewAllClick(); });
  add("mnuExportVcd", "Export VCD...", [this] { ExportVcd(); });
  add("mnuSaveImage", "Save Image...", [this] { SaveImage(); });
  add("mnuQuit", "Quit", [this] { mnuQuitClick(); });
  add("mnuHelp", "Help", [this] {
    status_[0]->setText("Magnifiers zoom, arrows scroll in time, a click sets the cursor and reads values");
  });
  for (int i = 0; i < 4; ++i) {
    status_[static_cast<std::size_t>(i)] = new QLabel(this);
    status_[static_cast<std::size_t>(i)]->setObjectName(QString("ChronoStatus%1").arg(i));
    statusBar()->addWidget(status_[static_cast<std::size_t>(i)], i == 0 ? 2 : 1);
  }
  resize(900, 560);
  Layout();
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
  bar_->resize(5, std::max(1, h - 50));
  bar_->raise();
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

void TFormChronos::Redraw() {
  ChronoPicture picture;
  {
    QtCanvas trace(trace_->image);
    QtCanvas ruler(ruler_->image);
    const ChronoFrame frame{
        ws_.chrono,           ws_.current,           geo_, ruler_->width(), ws_.tech.TimeUnit,
        ws_.engine.StepCount, ws_.tech.SupplyVoltage};
    picture = DrawChronogramImages(frame, trace, ruler);
  }
  showDiv_->setText(QString::fromStdString(ComputeDivision(ws_.chrono.span).caption));
  for (std::size_t i = 1; i < picture.status.size() && i < status_.size(); ++i)
    status_[i]->setText(QString::fromStdString(picture.status[i]));
  ShowCursor(ws_.chrono.cursorX, ws_.chrono.cursorY);
  trace_->update();
  ruler_->update();
}

void TFormChronos::ShowCursor(int x, int y) {
  const CursorReadout r = SetCursor(ws_.chrono, ws_.current, geo_, ws_.tech.TimeUnit, x, y);
  status_[0]->setText(QString::fromStdString(r.timeText));
  if (!r.currentText.empty()) status_[1]->setText(QString::fromStdString(r.currentText));
  {
    QtCanvas trace(trace_->image);
    PaintCursorValues(r, trace);
  }
  bar_->move(r.x, 50);
  trace_->update();
}

void TFormChronos::FormActivate() {
  setWindowTitle("Timing diagrams of " + QString::fromStdString(ws_.circuit.FileName));
  Layout();
  ViewAll(ws_.chrono, ws_.tech.TimeUnit);
  ws_.current.ChooseCurrentScale();
  ws_.chrono.cursorX = 0;
  ws_.chrono.cursorY = 0;
  Redraw();
}

void TFormChronos::btnSmallerClick() {
  ws_.chrono.span = ZoomOutSpan(ws_.chrono.span);
  Redraw();
}

void TFormChronos::btnLargerClick() {
  ws_.chrono.span = ZoomInSpan(ws_.chrono.span);
  Redraw();
}

void TFormChronos::btnLeftClick() {
  ScrollLeft(ws_.chrono, ws_.tech.TimeUnit);
  Redraw();
}

void TFormChronos::btnRightClick() {
  ScrollRight(ws_.chrono, ws_.tech.TimeUnit);
  Redraw();
}

void TFormChronos::mnuViewAllClick() {
  ViewAll(ws_.chrono, ws_.tech.TimeUnit);
  Redraw();
}

void TFormChronos::mnuQuitClick() {
  close();
  if (QWidget* palette = parentWidget() ? parentWidget()->findChild<QWidget*>("TFormLoglib") : nullptr)
    palette->show();
}

void TFormChronos::ImageChronoMouseUp(int x, int y) {
  ShowCursor(x, y);
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
