// The simulation options dialog: step length, drawing refresh interval, glitch filtering.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace qiro {

class Workspace;

class TFormOptions : public QDialog {
  Q_OBJECT
 public:
  TFormOptions(Workspace& ws, QWidget* parent = nullptr);
  QComboBox* ComboTimeUnit() const { return comboTimeUnit_; }
  QLineEdit* EditStep() const { return editStep_; }
  QCheckBox* CheckFilter() const { return checkFilter_; }
  QLabel* refusal() const { return refusal_; }
  // Shows the current values.
  void FormShow();
  // Takes the step length and refresh interval over and closes; a refused interval keeps the
  // dialog open with the reason shown.
  void sbOkClick();

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  Workspace& ws_;
  QComboBox* comboTimeUnit_;
  QLineEdit* editStep_;
  QCheckBox* checkFilter_;
  QLabel* refusal_;
};

}  // namespace qiro
