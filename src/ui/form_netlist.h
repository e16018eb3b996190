// The "Verilog, Hierarchy and Netlist" window: the Verilog text of the extracted circuit
// (saved beside the schematic at every refresh), the design tree and the table of symbols.
#pragma once

#include <QDialog>
#include <set>
#include <string>

#include "field_messages.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class QTableWidget;
class QTreeWidget;

namespace qiro {

class UiDialogs;
class Workspace;

class TFormNetlist : public QDialog {
  Q_OBJECT
 public:
  enum Page { kVerilog = 0, kHierarchy = 1, kNetlist = 2 };

  // `dialogs` asks before an existing file is replaced (none: files are written unasked).
  TFormNetlist(Workspace& ws, QWidget* parent = nullptr, UiDialogs* dialogs = nullptr);

  // The full refresh: module name from the file name, text, grid, line count, save, counts.
  void UpdateOptions();
  // The text again for the module name typed in EditModuleName.
  void UpdateVerilog();
  // Saves the shown text as the schematic's name with ".txt"; the status bar says where.
  // A file that exists and that this window has not written yet is replaced only when the
  // user agrees; a refusal holds for the refreshes that follow (`asked` false) but not for
  // the Save button (`asked` true), which asks again.
  void SaveVerilogFile(bool asked = true);
  // The netlist grid (values while a simulation runs) and the design tree.
  void ViewNetlist();
  void BuildTree();
  void PageVerilogChange(int page);
  void ShowPage(int page);

  QTabWidget* pages() const { return pages_; }
  QLineEdit* moduleName() const { return editModuleName_; }
  const FieldMessages& messages() const { return messages_; }
  QCheckBox* simuInfo() const { return checkSimuInfo_; }
  QCheckBox* portable() const { return checkPortable_; }
  QCheckBox* gateDelays() const { return checkDelays_; }
  QPlainTextEdit* memo() const { return memo_; }
  QTreeWidget* tree() const { return tree_; }
  QTableWidget* grid() const { return grid_; }
  QLabel* linesLabel() const { return labelLines_; }
  QLabel* symbolsLabel() const { return labelSymbols_; }
  QLabel* nodesLabel() const { return labelNodes_; }

 private:
  void ShowLines();
  QWidget* BuildVerilogPage();

  Workspace& ws_;
  UiDialogs* dialogs_;
  std::set<std::string> written_, kept_;  // files this window may refresh, files the user kept
  QTabWidget* pages_ = nullptr;
  QLineEdit* editModuleName_ = nullptr;
  FieldMessages messages_;
  QCheckBox* checkSimuInfo_ = nullptr;
  QCheckBox* checkPortable_ = nullptr;
  QCheckBox* checkDelays_ = nullptr;
  QPlainTextEdit* memo_ = nullptr;
  QLabel* labelLines_ = nullptr;
  QTreeWidget* tree_ = nullptr;
  QTableWidget* grid_ = nullptr;
  QLabel* labelSymbols_ = nullptr;
  QLabel* labelNodes_ = nullptr;
};

}  // namespace qiro
