#include "simu_ctrl.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QToolButton>
#include <algorithm>

#include "extract/extract.h"
#include "main_window.h"
#include "sim/engine.h"
#include "workspace.h"

namespace qiro {

namespace {

constexpr int kWidth = 270;
constexpr int kButton = 26;
constexpr int kGridTop = 96;

// Play, pause, single step and stop glyphs.
QIcon ControlIcon(const QString& name) {
  QPixmap pm(20, 20);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  const QColor ink(0, 0, 0);
  p.setBrush(name == "SBSTART" ? QColor(0, 128, 0) : name == "sbStop" ? QColor(192, 0, 0) : ink);
  if (name == "SBSTART") {
    p.drawPolygon(QPolygon({QPoint(5, 3), QPoint(16, 10), QPoint(5, 17)}));
  } else if (name == "SBPAUSE") {
    p.drawRect(5, 4, 3, 12);
    p.drawRect(12, 4, 3, 12);
  } else if (name == "sbStep") {
    p.drawPolygon(QPolygon({QPoint(4, 4), QPoint(12, 10), QPoint(4, 16)}));
    p.drawRect(13, 4, 3, 12);
  } else {
    p.drawRect(5, 5, 10, 10);
  }
  return QIcon(pm);
}

}  // namespace

TFormSimuCtrl::TFormSimuCtrl(Workspace& ws, Tmdiframe& frame)
    : QWidget(&frame, Qt::Tool | Qt::WindowStaysOnTopHint), ws_(ws), frame_(frame) {
  setObjectName("FormSimuCtrl");
  setWindowTitle("Simulation Control");
  start_ = AddButton("SBSTART", "Start Simu", 4);
  pause_ = AddButton("SBPAUSE", "Pause Simulation", 4 + kButton + 2);
  pause_->setCheckable(true);
  step_ = AddButton("sbStep", "One Step", 4 + 2 * (kButton + 2));
  stop_ = AddButton("sbStop", "Stop Simu", 4 + 3 * (kButton + 2));
  connect(start_, &QToolButton::clicked, this, &TFormSimuCtrl::SBSTARTClick);
  connect(pause_, &QToolButton::clicked, this, &TFormSimuCtrl::SBPAUSEClick);
  connect(step_, &QToolButton::clicked, this, &TFormSimuCtrl::sbStepClick);
  connect(stop_, &QToolButton::clicked, this, &TFormSimuCtrl::sbStopClick);

  light_ = new QFrame(this);
  light_->setObjectName("light1");
  light_->setGeometry(128, 9, 16, 16);
  light_->setFrameShape(QFrame::Box);
  light_->setAutoFillBackground(true);
  light_->hide();

  debug_ = new QPushButton("Debug", this);
  debug_->setObjectName("sbDebug");
  debug_->setToolTip("Display symbol I/Os");
  debug_->setGeometry(170, 4, 90, kButton);
  connect(debug_, &QPushButton::clicked, this, &TFormSimuCtrl::sbDebugClick);

  auto* fast = new QLabel("Fast", this);
  fast->setGeometry(4, 38, 30, 20);
  speed_ = new QSlider(Qt::Horizontal, this);
  speed_->setObjectName("SpeedBar");
  speed_->setRange(0, 10);
  speed_->setValue(0);
  speed_->setTickPosition(QSlider::TicksBelow);
  speed_->setGeometry(36, 36, 190, 24);
  connect(speed_, &QSlider::valueChanged, this, [this](int v) { ws_.engine.Speed = v; });
  auto* slow = new QLabel("Slow", this);
  slow->setGeometry(230, 38, 36, 20);

  lineState_ = new QCheckBox("Wire state", this);
  lineState_->setObjectName("ChkLineState");
  lineState_->setChecked(true);
  lineState_->setGeometry(4, 66, 88, 22);
  pinState_ = new QCheckBox("Pin value", this);
  pinState_->setObjectName("ChkPinState");
  pinState_->setGeometry(94, 66, 84, 22);
  connect(pinState_, &QCheckBox::clicked, this, &TFormSimuCtrl::ChkPinStateClick);
  checkReg_ = new QCheckBox("DRegs", this);
  checkReg_->setObjectName("CheckReg");
  checkReg_->setGeometry(182, 66, 80, 22);
  connect(checkReg_, &QCheckBox::clicked, this, &TFormSimuCtrl::CheckRegClick);

  regs_ = new QTableWidget(kRegisterRows, 6, this);
  regs_->setObjectName("StringRegs");
  regs_->horizontalHeader()->hide();
  regs_->verticalHeader()->hide();
  regs_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  regs_->setGeometry(4, kGridTop, kWidth - 8, kSimuCtrlRegsHeight - kGridTop - 4);
  regs_->setColumnWidth(0, 70);
  for (int c = 1; c < 6; ++c) regs_->setColumnWidth(c, 36);
  for (int r = 0; r < kRegisterRows; ++r) {
    regs_->setRowHeight(r, 18);
    for (int c = 0; c < 6; ++c) regs_->setItem(r, c, new QTableWidgetItem());
  }
  FormCreate();
  UpdateButtons();
}

QToolButton* TFormSimuCtrl::AddButton(const QString& name, const QString& hint, int x) {
  auto* b = new QToolButton(this);
  b->setObjectName(name);
  b->setToolTip(hint);
  b->setIcon(ControlIcon(name));
  b->setGeometry(x, 4, kButton, kButton);
  return b;
}

void TFormSimuCtrl::FormCreate() {
  regs_->hide();
  resize(kWidth, kSimuCtrlCreatedHeight);
  // Near the main window's lower right corner.
  const QRect main = frame_.frameGeometry();
  move(std::max(0, main.right() - 300), std::max(0, main.bottom() - 150));
  static const char* const kTitles[] = {"Name", "D", "Rst", "H", "Q", "nQ"};
  for (int c = 0; c < 6; ++c) {
    regs_->item(0, c)->setText(kTitles[c]);
    regs_->item(0, c)->setBackground(palette().button());
  }
}

void TFormSimuCtrl::FormShow() {
  registerView_ = checkReg_->isChecked();
  regs_->setVisible(registerView_);
  resize(kWidth, registerView_ ? kSimuCtrlRegsHeight : kSimuCtrlHeight);
}

void TFormSimuCtrl::showEvent(QShowEvent* e) {
  FormShow();
  QWidget::showEvent(e);
}

void TFormSimuCtrl::CheckRegClick() {
  FormShow();
  for (int r = 1; r < kRegisterRows; ++r) {
    regs_->item(r, 0)->setText("\\\\\\");
    for (int c = 1; c < 6; ++c) regs_->item(r, c)->setText("");
  }
}

void TFormSimuCtrl::RefreshRegisters() {
  if (!registerView_) return;
  const auto rows = RegisterRows(ws_, kRegisterRows - 1);
  // Rows past this schematic's registers are emptied: they may hold another schematic's.
  for (int r = 0; r + 1 < kRegisterRows; ++r) {
    const bool used = r < static_cast<int>(rows.size());
    const RegisterRow* row = used ? &rows[static_cast<std::size_t>(r)] : nullptr;
    regs_->item(r + 1, 0)->setText(row ? QString::fromStdString(row->title) : QString());
    for (int c = 0; c < 5; ++c)
      regs_->item(r + 1, c + 1)
          ->setText(row ? QString(QChar(row->levels[static_cast<std::size_t>(c)])) : QString());
  }
}

SimViewOptions TFormSimuCtrl::viewOptions() const {
  return SimViewOptions{lineState_->isChecked(), pinState_->isChecked()};
}

void TFormSimuCtrl::SBSTARTClick() {
  frame_.ResetTools();
  RefreshRegisters();
  if (ws_.engine.Running) return;  // paused: a second run never starts
  // The drawing may have changed since the last extraction; a stale numbering would simulate
  // a circuit that is no longer there.
  ExtractCircuit(ws_);
  if (ws_.extraction.ResultCode != 0) {
    close();
    return;
  }
  userPause_ = false;
  StartSimulation(ws_);  // returns when the run stops
  frame_.SimulationFinished();
}

void TFormSimuCtrl::SBPAUSEClick() {
  if (!ws_.engine.Running) {
    pause_->setChecked(false);
    return;
  }
  ws_.engine.Paused = !ws_.engine.Paused;
  userPause_ = ws_.engine.Paused;
  if (ws_.engine.Paused) SetStatus(ws_, 0, "Pause simulation...");
  UpdateButtons();
  frame_.FlushSimulationView();
}

void TFormSimuCtrl::sbStepClick() {
  if (!ws_.engine.Running) return;
  SimulateOneStep(ws_);
  frame_.ShowSingleStep();
}

void TFormSimuCtrl::sbStopClick() {
  DoClose();
  close();
}

void TFormSimuCtrl::closeEvent(QCloseEvent* e) {
  DoClose();
  QWidget::closeEvent(e);
}

void TFormSimuCtrl::DoClose() {
  ws_.engine.Paused = false;
  const bool wasRunning = ws_.engine.Running;
  ws_.engine.Running = false;
  userPause_ = false;
  frame_.ResetTools();
  if (wasRunning) frame_.ShowStoppedState();
  frame_.SimulationStateChanged();
}

void TFormSimuCtrl::ChkPinStateClick() {
  if (ws_.engine.Running) frame_.RedrawAll();
}

void TFormSimuCtrl::sbDebugClick() {
  frame_.ShowNetlistWindow(Tmdiframe::kPageNetlist);
}

void TFormSimuCtrl::UpdateButtons() {
  const Engine& e = ws_.engine;
  if (!e.Paused) userPause_ = false;
  const bool byButton = e.Running && e.Paused && userPause_;
  start_->setEnabled(!e.Running || byButton);
  pause_->setEnabled(e.Running);
  pause_->setChecked(e.Running && e.Paused);
  step_->setEnabled(byButton);
  stop_->setEnabled(e.Running);
  light_->setVisible(e.Running);
}

void TFormSimuCtrl::SetIndicator(int red, int green, int blue) {
  QPalette p = light_->palette();
  p.setColor(QPalette::Window, QColor(red, green, blue));
  light_->setPalette(p);
}

}  // namespace qiro
