// The simulation control window: start, pause, single step and stop of the engine, its speed,
// what the schematic shows while it runs (wire states, pin values), the D-register view and
// the step indicator. It stays on top of the main window.
#pragma once

#include <QWidget>

#include "editor/sim_view.h"

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QSlider;
class QTableWidget;
class QToolButton;

namespace qiro {

class Tmdiframe;
class Workspace;

inline constexpr int kRegisterRows = 50;
inline constexpr int kSimuCtrlCreatedHeight = 165;
inline constexpr int kSimuCtrlHeight = 100;
inline constexpr int kSimuCtrlRegsHeight = 240;

class TFormSimuCtrl : public QWidget {
  Q_OBJECT
 public:
  TFormSimuCtrl(Workspace& ws, Tmdiframe& frame);

  void FormCreate();
  void FormShow();
  void CheckRegClick();
  void SBSTARTClick();
  void SBPAUSEClick();
  void sbStepClick();
  void sbStopClick();
  // Stops the run (it ends after its current step) and shows the schematic with its last values.
  void DoClose();
  void ChkPinStateClick();
  void sbDebugClick();

  // Buttons and indicator as the engine's state says (idle, running, paused by the pause
  // button, paused by a light's edge).
  void UpdateButtons();
  void SetIndicator(int red, int green, int blue);
  // Writes the D registers into the grid when the register view is on.
  void RefreshRegisters();

  bool registerView() const { return registerView_; }
  SimViewOptions viewOptions() const;

  QToolButton* startButton() const { return start_; }
  QToolButton* pauseButton() const { return pause_; }
  QToolButton* stepButton() const { return step_; }
  QToolButton* stopButton() const { return stop_; }
  QSlider* speedBar() const { return speed_; }
  QCheckBox* lineState() const { return lineState_; }
  QCheckBox* pinState() const { return pinState_; }
  QCheckBox* checkReg() const { return checkReg_; }
  QPushButton* debugButton() const { return debug_; }
  QFrame* indicator() const { return light_; }
  QTableWidget* registers() const { return regs_; }

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  QToolButton* AddButton(const QString& name, const QString& hint, int x);

  Workspace& ws_;
  Tmdiframe& frame_;
  QToolButton* start_ = nullptr;
  QToolButton* pause_ = nullptr;
  QToolButton* step_ = nullptr;
  QToolButton* stop_ = nullptr;
  QSlider* speed_ = nullptr;
  QCheckBox* lineState_ = nullptr;
  QCheckBox* pinState_ = nullptr;
  QCheckBox* checkReg_ = nullptr;
  QPushButton* debug_ = nullptr;
  QFrame* light_ = nullptr;
  QTableWidget* regs_ = nullptr;
  bool registerView_ = false;
  bool userPause_ = false;  // the pause came from the pause button, not from a light's edge
};

}  // namespace qiro
