// The "Symbol properties" dialog: name, display flags and pins of one symbol, and one page
// for its kind (clock, sources, elements, links, look-up table, devices, 8051, Verilog).
// All values live in a SymbolProps; the widgets are filled from it and read back into it.
#pragma once

#include <QDialog>
#include <array>
#include <map>
#include <vector>

#include "field_messages.h"
#include "props/props_check.h"
#include "props/symbol_props.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace qiro {

class Workspace;

class TFormSymProps : public QDialog {
  Q_OBJECT
 public:
  TFormSymProps(Workspace& ws, QWidget* parent = nullptr);

  // Fills the dialog for a symbol and shows only its page.
  void UpdateOptions(int symbol);
  // Writes the dialog back to the symbol it was filled for.
  void ApplyProperties();
  // OK: checks every field; closes only when all are acceptable, otherwise says what is
  // wrong next to each field and stays open.
  void OKBtnClick();
  const FieldMessages& messages() const { return messages_; }

  int symbol() const { return symbol_; }
  const SymbolProps& props() const { return props_; }
  // The caption of the one page showing.
  QString currentPage() const;

  // Page handlers.
  void sbLoadClick();
  void sbAppendClick();
  void sbClearClick();
  void SBTimeScaleClick();
  void StringLutDblClick(int row);
  void ListLutClick(int index);
  void sbClearMatrixClick();
  void sbAsmClick();

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  QWidget* BuildCommon();
  void BuildPages();
  QWidget* BuildClockPage();
  QWidget* BuildValuePage(PropsPage page);
  QWidget* BuildPwlPage();
  QWidget* BuildPipPage();
  QWidget* BuildMatrixPage();
  QWidget* BuildLutPage();
  QWidget* BuildSelectPage();
  QWidget* BuildMcuPage();
  QWidget* BuildVerilogPage();
  QWidget* BuildStandardPage();
  void AddPage(PropsPage page, QWidget* widget);

  // Widgets from props_ and back.
  void Fill();
  void FillPins();
  void FillPwl();
  void FillLut();
  void FillMcuResults();
  void Collect();
  void CollectPwl();
  void CollectLut();

  // The widget that shows a checked field.
  QWidget* FieldWidget(PropsField field, int index) const;

  Workspace& ws_;
  SymbolProps props_;
  FieldMessages messages_;
  int symbol_ = 0;

  QLineEdit* editName_ = nullptr;
  QLabel* labelTitle_ = nullptr;
  QTableWidget* pinData_ = nullptr;
  QCheckBox* visiblePin_ = nullptr;
  QCheckBox* visibleTitle_ = nullptr;
  QCheckBox* visibleProp_ = nullptr;
  QCheckBox* pauseFall_ = nullptr;
  QCheckBox* pauseRise_ = nullptr;
  QTabWidget* pages_ = nullptr;
  std::map<PropsPage, int> pageIndex_;

  QLineEdit* editClock0_ = nullptr;
  QLineEdit* editClock1_ = nullptr;
  QLineEdit* editNameClock_ = nullptr;
  std::map<PropsPage, std::vector<QLineEdit*>> valueFields_;
  QTableWidget* gridPwl_ = nullptr;
  QLineEdit* editSequence_ = nullptr;
  QLineEdit* editStep_ = nullptr;
  QPushButton* sbPip_ = nullptr;
  std::array<QPushButton*, kMatrixLinks> sbMtx_{};
  QTableWidget* gridLut_ = nullptr;
  QListWidget* listLut_ = nullptr;
  QButtonGroup* radioLight_ = nullptr;
  QButtonGroup* radioFormat_ = nullptr;
  QGroupBox* formatBox_ = nullptr;
  QLineEdit* editPinName_ = nullptr;
  QTabWidget* mcuPages_ = nullptr;
  QPlainTextEdit* memoProgram_ = nullptr;
  QPlainTextEdit* memoAsm_ = nullptr;
  QPlainTextEdit* memoSymbols_ = nullptr;
  QPlainTextEdit* memoVerilog_ = nullptr;
};

}  // namespace qiro
