#include "form_tests.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "main_window.h"
#include "ui_dialogs.h"
#include "workspace.h"

namespace qiro {

namespace {

const QColor kPassed(200, 240, 200);
const QColor kFailed(250, 190, 190);

QString Cells(const std::vector<std::string>& names, const std::vector<std::string>& values,
              std::size_t first) {
  QStringList parts;
  for (std::size_t c = 0; c < names.size() && first + c < values.size(); ++c)
    parts << QString::fromStdString(names[c] + "=" + values[first + c]);
  return parts.join(' ');
}

}  // namespace

TFormTests::TFormTests(Workspace& ws, Tmdiframe& frame, UiDialogs& dialogs)
    : QDialog(&frame), ws_(ws), frame_(frame), dialogs_(dialogs) {
  setObjectName("TFormTests");
  setWindowTitle("Run Tests");
  resize(760, 420);
  auto* layout = new QVBoxLayout(this);
  summary_ = new QLabel(this);
  summary_->setObjectName("summary");
  summary_->setWordWrap(true);
  layout->addWidget(summary_);
  table_ = new QTableWidget(0, 7, this);
  table_->setObjectName("rows");
  table_->setHorizontalHeaderLabels({"Row", "Line", "Step", "Inputs", "Expected", "Got", "Result"});
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setToolTip("Double click a failed row to simulate the drawing up to it");
  layout->addWidget(table_);
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { ShowRow(row); });

  auto* buttons = new QHBoxLayout;
  auto* open = new QPushButton("Open...", this);
  open->setObjectName("sbOpen");
  auto* again = new QPushButton("Run Again", this);
  again->setObjectName("sbAgain");
  auto* close = new QPushButton("Close", this);
  close->setObjectName("sbClose");
  buttons->addWidget(open);
  buttons->addWidget(again);
  buttons->addStretch();
  buttons->addWidget(close);
  layout->addLayout(buttons);
  connect(open, &QPushButton::clicked, this, &TFormTests::RunTests);
  connect(again, &QPushButton::clicked, this, [this] {
    if (!path_.isEmpty()) RunFile(path_);
  });
  connect(close, &QPushButton::clicked, this, &QDialog::hide);
}

TFormTests::~TFormTests() {
  if (ws_.engine.Script == replay_.get()) ws_.engine.Script = nullptr;
}

void TFormTests::RunTests() {
  namespace fs = std::filesystem;
  fs::path offered = fs::path(ws_.circuit.FileName).replace_extension(".tst");
  std::error_code ec;
  if (!fs::is_regular_file(offered, ec)) offered = offered.parent_path();
  const auto chosen = dialogs_.OpenFile(this, QString::fromStdString(offered.string()),
                                        "Test vectors (*.tst)|*.tst|All files |*.*");
  if (!chosen) return;
  RunFile(*chosen);
}

bool TFormTests::RunFile(const QString& path) {
  path_ = path;
  show();
  raise();
  report_ = TestReport{};
  std::ifstream in(path.toStdString(), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  TestVectorsResult read = ReadTestVectors(text.str());
  if (!in) read.error = "cannot read the file";
  const QString name = QFileInfo(path).fileName();
  if (!read.ok()) {
    vectors_ = TestVectors{};
    FillTable();
    summary_->setText(name + ": " + QString::fromStdString(read.error));
    return false;
  }
  vectors_ = std::move(read.vectors);
  report_ = RunTestVectorsOnCopy(ws_, vectors_);
  FillTable();
  if (!report_.error.empty()) {
    summary_->setText(name + ": " + QString::fromStdString(report_.error));
    return false;
  }
  summary_->setText(QString("%1: %2 (settle time %3 steps, longest delay path %4 steps)")
                        .arg(name, QString::fromStdString(FormatTally(report_)))
                        .arg(report_.settle)
                        .arg(report_.longestPath));
  SetStatus(ws_, 0, name.toStdString() + ": " + FormatTally(report_));
  return true;
}

void TFormTests::FillTable() {
  table_->setRowCount(static_cast<int>(report_.rows.size()));
  for (int i = 0; i < table_->rowCount(); ++i) {
    const RowResult& r = report_.rows[static_cast<std::size_t>(i)];
    const TestRow& row = vectors_.rows[static_cast<std::size_t>(r.row - 1)];
    std::string result = r.passed ? "ok" : "FAILED";
    for (std::size_t o = 0; o < r.unsettled.size(); ++o)
      if (r.unsettled[o]) result = "FAILED (not settled)";
    const QString cells[] = {QString::number(r.row),
                             QString::number(r.line),
                             QString::number(r.step),
                             Cells(vectors_.inputs, row.cells, 0),
                             Cells(vectors_.outputs, row.cells, vectors_.inputs.size()),
                             Cells(vectors_.outputs, r.got, 0),
                             QString::fromStdString(result)};
    for (int c = 0; c < 7; ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      item->setBackground(r.passed ? kPassed : kFailed);
      table_->setItem(i, c, item);
    }
  }
  table_->resizeColumnsToContents();
}

void TFormTests::ShowRow(int row) {
  if (row < 0 || row >= static_cast<int>(report_.rows.size()) ||
      report_.rows[static_cast<std::size_t>(row)].passed)
    return;
  if (ws_.engine.Running) {
    SetStatus(ws_, 0, "Stop the simulation before showing a test row");
    return;
  }
  // The rows drive the drawing's inputs from the first step; the run pauses after this row.
  replay_ = std::make_unique<TestStimulus>(vectors_, report_.settle);
  replay_->PauseAfter(report_.rows[static_cast<std::size_t>(row)].step);
  ws_.engine.Script = replay_.get();
  frame_.StartLifeCommand();  // returns when the run is stopped
  if (ws_.engine.Script == replay_.get()) ws_.engine.Script = nullptr;
}

void RunTestsCommand(Workspace& ws, Tmdiframe& frame, UiDialogs& dialogs) {
  auto* form = frame.findChild<TFormTests*>("TFormTests");
  if (!form) form = new TFormTests(ws, frame, dialogs);
  form->RunTests();
}

}  // namespace qiro
