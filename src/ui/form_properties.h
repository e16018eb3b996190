// The schematic properties dialog: how full the circuit tables are, the technology values,
// the home directory the symbol library lives under, and the two line editing switches.
#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;

namespace qiro {

class Workspace;
class UiDialogs;

class TFormProperties : public QDialog {
  Q_OBJECT
 public:
  TFormProperties(Workspace& ws, UiDialogs& dialogs, QWidget* parent = nullptr);

  // Fills every page from the workspace; called before the dialog is shown.
  void UpdateOptions();
  void btnBrowseClick();
  void btnOKClick();

  // Rows of the "Structure" group: 0 symbols, 1 nodes, 2 lines.
  QLabel* countLabel(int row) const { return counts_[static_cast<std::size_t>(row)]; }
  QLabel* fillLabel(int row) const { return fills_[static_cast<std::size_t>(row)]; }
  QProgressBar* fillBar(int row) const { return bars_[static_cast<std::size_t>(row)]; }
  QLineEdit* EditHome() const { return editHome_; }
  QLabel* editingFile() const { return editingFile_; }
  QLineEdit* techValue(int row) const { return tech_[static_cast<std::size_t>(row)]; }
  QCheckBox* CheckAnyAngle() const { return checkAnyAngle_; }
  QCheckBox* CheckSmartEdit() const { return checkSmartEdit_; }

 private:
  Workspace& ws_;
  UiDialogs& dialogs_;
  QLabel* editingFile_;
  std::array<QLabel*, 3> counts_{}, fills_{};
  std::array<QProgressBar*, 3> bars_{};
  QLineEdit* editHome_;
  std::array<QLineEdit*, 4> tech_{};
  QCheckBox* checkAnyAngle_;
  QCheckBox* checkSmartEdit_;
};

}  // namespace qiro
