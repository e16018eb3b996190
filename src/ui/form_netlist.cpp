// The Verilog, hierarchy and netlist window. The texts, the tree and the grid rows come from
// the core writer and netlist view; this file only shows them.
#include "form_netlist.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "extract/extract.h"
#include "main_window.h"
#include "model/field_check.h"
#include "model/schematic_file.h"
#include "ui_dialogs.h"
#include "verilog/netlist_view.h"
#include "verilog/verilog_writer.h"
#include "workspace.h"

namespace qiro {

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

void AddTreeItems(QTreeWidgetItem* parent, const std::vector<TreeItem>& items) {
  for (const TreeItem& item : items) {
    auto* node = new QTreeWidgetItem(parent, QStringList{Q(item.Text)});
    AddTreeItems(node, item.Children);
  }
}

}  // namespace

TFormNetlist::TFormNetlist(Workspace& ws, QWidget* parent, UiDialogs* dialogs)
    : QDialog(parent), ws_(ws), dialogs_(dialogs) {
  setObjectName("TFormNetlist");
  setWindowTitle("Verilog, Hierarchy and Netlist");
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  setModal(false);
  resize(640, 480);

  auto* layout = new QVBoxLayout(this);
  pages_ = new QTabWidget(this);
  pages_->setObjectName("PageVerilog");
  pages_->addTab(BuildVerilogPage(), "Verilog");

  tree_ = new QTreeWidget(this);
  tree_->setObjectName("TreeHierarchy");
  tree_->setHeaderHidden(true);
  pages_->addTab(tree_, "Hierarchy");

  grid_ = new QTableWidget(0, static_cast<int>(kNetlistTitles.size()), this);
  grid_->setObjectName("StringGridNetlist");
  QStringList titles;
  for (const std::string_view t : kNetlistTitles) titles << QString::fromUtf8(t.data(), t.size());
  grid_->setHorizontalHeaderLabels(titles);
  grid_->verticalHeader()->hide();
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->horizontalHeader()->setStretchLastSection(true);
  pages_->addTab(grid_, "Netlist");
  layout->addWidget(pages_);

  auto* bottom = new QHBoxLayout;
  labelSymbols_ = new QLabel(this);
  labelSymbols_->setObjectName("LabelSymbols");
  labelNodes_ = new QLabel(this);
  labelNodes_->setObjectName("LabelNodes");
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("sbOk");
  bottom->addWidget(labelSymbols_);
  bottom->addWidget(labelNodes_);
  bottom->addStretch();
  bottom->addWidget(ok);
  layout->addLayout(bottom);

  connect(ok, &QPushButton::clicked, this, &QDialog::close);
  connect(pages_, &QTabWidget::currentChanged, this, &TFormNetlist::PageVerilogChange);
}

QWidget* TFormNetlist::BuildVerilogPage() {
  auto* page = new QWidget(this);
  auto* v = new QVBoxLayout(page);
  auto* top = new QHBoxLayout;
  auto* label = new QLabel("Module name  (8 char. max)", page);
  editModuleName_ = new QLineEdit(page);
  editModuleName_->setObjectName("EditModuleName");
  // Room for the whole name: the row's check boxes would squeeze the field to a few letters.
  editModuleName_->setMinimumWidth(editModuleName_->fontMetrics().horizontalAdvance(QString(12, 'M')));
  checkSimuInfo_ = new QCheckBox("Append simulation infomations", page);
  checkSimuInfo_->setObjectName("CheckBoxSimuInfo");
  checkSimuInfo_->setChecked(ws_.verilog.AppendSimulationInfo);
  // The portable form: text a Verilog simulator runs as is, optionally with gate delays.
  checkPortable_ = new QCheckBox("Portable Verilog", page);
  checkPortable_->setObjectName("CheckBoxPortable");
  checkPortable_->setChecked(ws_.verilog.Portable);
  checkDelays_ = new QCheckBox("Gate delays", page);
  checkDelays_->setObjectName("CheckBoxDelays");
  checkDelays_->setChecked(ws_.verilog.GateDelays);
  checkDelays_->setEnabled(ws_.verilog.Portable);
  auto* save = new QPushButton("Save", page);
  save->setObjectName("sbSave");
  top->addWidget(label);
  top->addWidget(editModuleName_);
  top->addWidget(checkSimuInfo_);
  top->addWidget(checkPortable_);
  top->addWidget(checkDelays_);
  top->addStretch();
  top->addWidget(save);
  v->addLayout(top);

  memo_ = new QPlainTextEdit(page);
  memo_->setObjectName("MemoVerilog");
  memo_->setReadOnly(true);
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont mono("Courier");
  mono.setStyleHint(QFont::Monospace);
  memo_->setFont(mono);
  v->addWidget(memo_);
  labelLines_ = new QLabel(page);
  labelLines_->setObjectName("LabelLines");
  v->addWidget(labelLines_);

  connect(editModuleName_, &QLineEdit::editingFinished, this, &TFormNetlist::UpdateVerilog);
  connect(checkSimuInfo_, &QCheckBox::toggled, this, [this](bool on) {
    ws_.verilog.AppendSimulationInfo = on;
    UpdateVerilog();
  });
  connect(checkPortable_, &QCheckBox::toggled, this, [this](bool on) {
    checkDelays_->setEnabled(on);
    UpdateVerilog();
  });
  connect(checkDelays_, &QCheckBox::toggled, this, &TFormNetlist::UpdateVerilog);
  connect(save, &QPushButton::clicked, this, [this] { SaveVerilogFile(true); });
  return page;
}

void TFormNetlist::UpdateOptions() {
  // A running simulation owns the extracted tables; extraction would reorder them under it.
  if (!ws_.engine.Running) ExtractCircuit(ws_);
  ws_.verilog.ModuleName = ModuleNameOfFile(ws_.circuit.FileName);
  {
    const QSignalBlocker block(editModuleName_);
    editModuleName_->setText(Q(ws_.verilog.ModuleName));
  }
  UpdateVerilog();
  ViewNetlist();
  ShowLines();
  SaveVerilogFile(false);
  labelSymbols_->setText(Q(SymbolCountText(ws_)));
  labelNodes_->setText(Q(NodeCountText(ws_)));
}

void TFormNetlist::UpdateVerilog() {
  // A name Verilog cannot take is refused beside the field; the text keeps the last good name.
  messages_.Clear();
  const std::string typed = editModuleName_->text().toStdString();
  if (const std::string problem = CheckNameField(typed); !problem.empty())
    messages_.Show(editModuleName_, Q(problem));
  else
    ws_.verilog.ModuleName = typed;
  ws_.verilog.AppendSimulationInfo = checkSimuInfo_->isChecked();
  ws_.verilog.Portable = checkPortable_->isChecked();
  ws_.verilog.GateDelays = checkDelays_->isChecked();
  qiro::UpdateVerilog(ws_, DateTimeText());
  QStringList lines;
  for (const std::string& l : ws_.verilog.Shown) lines << Q(l);
  memo_->setPlainText(lines.join('\n'));
  ShowLines();
}

void TFormNetlist::ShowLines() {
  labelLines_->setText(Q(VerilogLineCountText(ws_)));
}

void TFormNetlist::SaveVerilogFile(bool asked) {
  const std::filesystem::path path = VerilogFilePath(ws_);
  const std::string key = path.string();
  if (!written_.count(key)) {
    const bool keep =
        SaveAsNeedsOverwriteQuestion(path) &&
        ((!asked && kept_.count(key)) || (dialogs_ && !AskBeforeReplacing(*dialogs_, this, path)));
    if (keep) {
      kept_.insert(key);
      SetStatus(ws_, 0, "Verilog description not written: \"" + key + "\" kept as it was.");
      return;
    }
  }
  if (qiro::SaveVerilogFile(ws_, path)) {
    written_.insert(key);
    kept_.erase(key);
  }
}

void TFormNetlist::ViewNetlist() {
  const std::vector<NetlistRow> rows = qiro::ViewNetlist(ws_, ws_.engine.Running);
  grid_->clearContents();
  grid_->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r)
    for (int c = 0; c < static_cast<int>(rows[r].size()); ++c)
      grid_->setItem(r, c, new QTableWidgetItem(Q(rows[r][c])));
}

void TFormNetlist::BuildTree() {
  tree_->clear();
  for (const TreeItem& root : BuildHierarchy(ws_)) {
    auto* item = new QTreeWidgetItem(tree_, QStringList{Q(root.Text)});
    AddTreeItems(item, root.Children);
    item->setExpanded(true);
  }
}

void TFormNetlist::PageVerilogChange(int page) {
  if (page == kHierarchy)
    BuildTree();
  else
    ViewNetlist();
}

void TFormNetlist::ShowPage(int page) {
  if (pages_->currentIndex() == page)
    PageVerilogChange(page);
  else
    pages_->setCurrentIndex(page);
}

void Tmdiframe::ShowNetlistWindow(int page) {
  if (!netlistForm_) netlistForm_ = new TFormNetlist(ws_, this, &dialogs_);
  netlistForm_->UpdateOptions();
  netlistForm_->ShowPage(page);
  netlistForm_->show();
  netlistForm_->raise();
  if (page == kPageVerilog) ResetHighlight(ws_);
}

void Tmdiframe::RefreshNetlistWindow() {
  if (netlistForm_ && netlistForm_->isVisible()) netlistForm_->ViewNetlist();
}

}  // namespace qiro
