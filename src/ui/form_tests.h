// Simulate > Run Tests...: runs a test-vector file against a copy of the drawing and shows the
// rows in a table coloured by result. A double click on a failed row starts the simulation of
// the drawing with the rows driving its inputs, paused after that row, so its timing diagram
// can be looked at.
#pragma once

#include <QDialog>
#include <memory>

#include "testvec/test_runner.h"

class QLabel;
class QTableWidget;

namespace qiro {

class Tmdiframe;
class UiDialogs;
class Workspace;

class TFormTests : public QDialog {
  Q_OBJECT
 public:
  TFormTests(Workspace& ws, Tmdiframe& frame, UiDialogs& dialogs);
  ~TFormTests() override;

  // Asks for the vectors file (the .tst of the schematic's name is offered first) and runs it.
  void RunTests();
  // Reads and runs a vectors file; false when it could not be run (the reason is shown).
  bool RunFile(const QString& path);
  // Starts the simulation of the drawing paused after row (0-based) of the last run.
  void ShowRow(int row);

  QTableWidget* table() const { return table_; }
  QLabel* summary() const { return summary_; }
  const TestReport& report() const { return report_; }

 private:
  void FillTable();

  Workspace& ws_;
  Tmdiframe& frame_;
  UiDialogs& dialogs_;
  QLabel* summary_;
  QTableWidget* table_;
  QString path_;
  TestVectors vectors_;
  TestReport report_;
  std::unique_ptr<TestStimulus> replay_;
};

// The menu command: the one test window of the main window, created on first use.
void RunTestsCommand(Workspace& ws, Tmdiframe& frame, UiDialogs& dialogs);

}  // namespace qiro
