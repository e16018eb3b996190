// The schematic-to-symbol window: the pin table, the sort order, the Verilog text, a preview
// of the box with its pins, and the name, title and directory of the symbol file to write.
#pragma once

#include <QDialog>
#include <QImage>
#include <functional>

#include "field_messages.h"
#include "symbols/sch_to_sym.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QTableWidget;
class QTabWidget;

namespace qiro {

class UiDialogs;
class Workspace;

class TFormSchToSym : public QDialog {
  Q_OBJECT
 public:
  // onHelp opens the help page; `dialogs` asks before an existing symbol file is replaced.
  TFormSchToSym(Workspace& ws, std::function<void()> onHelp, QWidget* parent = nullptr,
                UiDialogs* dialogs = nullptr);

  SchToSym& generator() { return gen_; }
  // Fills every field from the generator (after its ports were read).
  void UpdateOptions();
  // Mode 0 lays the symbol out and refreshes the preview; mode 1 checks every field, then
  // writes the file and closes, or says next to each field what is wrong and stays open.
  void Generate(int mode);
  const FieldMessages& messages() const { return messages_; }
  void sbFatClick();
  void sbThinClick();
  void RadioOrderClick();

  QTableWidget* StringGrid1() const { return grid_; }
  QLineEdit* EditName() const { return editName_; }
  QLineEdit* EditTitle() const { return editTitle_; }
  QLineEdit* EditDirectory() const { return editDirectory_; }
  QPlainTextEdit* richEdit() const { return richEdit_; }
  const QImage& preview() const { return preview_; }
  QRadioButton* increasing() const { return increasing_; }

 protected:
  void showEvent(QShowEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ReadFields();
  void ShowPreview();

  Workspace& ws_;
  UiDialogs* dialogs_;
  FieldMessages messages_;
  SchToSym gen_;
  std::function<void()> onHelp_;
  QTabWidget* pages_;
  QTableWidget* grid_;
  QRadioButton* increasing_;
  QRadioButton* decreasing_;
  QPlainTextEdit* richEdit_;
  QLabel* imagePreview_;
  QImage preview_;
  QLineEdit* editName_;
  QLineEdit* editTitle_;
  QLineEdit* editDirectory_;
};

}  // namespace qiro
