// The symbol properties dialog: its common part, filling and reading the widgets, and the
// main window's entry point. The kind-specific pages are built in form_symprops_pages.cpp.
#include "form_symprops.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "main_window.h"
#include "workspace.h"

namespace qiro {

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

std::string S(const QString& s) {
  return s.toStdString();
}

enum PinColumn { kColNumber, kColKind, kColName, kColGate, kColFanout, kColWire };

QString Lines(const std::vector<std::string>& lines) {
  QStringList out;
  for (const std::string& l : lines) out << Q(l);
  return out.join('\n');
}

std::vector<std::string> Lines(const QPlainTextEdit* memo) {
  std::vector<std::string> out;
  for (const QString& l : memo->toPlainText().split('\n')) out.push_back(S(l));
  // The editor's text has no line after a final newline.
  while (!out.empty() && out.back().empty()) out.pop_back();
  return out;
}

QString CellText(const QTableWidget* grid, int row, int col) {
  const QTableWidgetItem* item = grid->item(row, col);
  return item ? item->text() : QString();
}

void SetCell(QTableWidget* grid, int row, int col, const QString& text, bool editable) {
  auto* item = new QTableWidgetItem(text);
  if (!editable) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  grid->setItem(row, col, item);
}

}  // namespace

TFormSymProps::TFormSymProps(Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
  setObjectName("TFormSymProps");
  setWindowTitle("Symbol properties");
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildCommon());
  pages_ = new QTabWidget(this);
  pages_->setObjectName("PageControl");
  layout->addWidget(pages_, 1);
  BuildPages();

  auto* buttons = new QHBoxLayout;
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OKBtn");
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("CancelBtn");
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &TFormSymProps::OKBtnClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  resize(560, 600);
}

QWidget* TFormSymProps::BuildCommon() {
  auto* box = new QGroupBox("Symbol parameters", this);
  auto* grid = new QGridLayout(box);
  grid->addWidget(new QLabel("Name:", box), 0, 0);
  editName_ = new QLineEdit(box);
  editName_->setObjectName("editName");
  grid->addWidget(editName_, 0, 1);
  labelTitle_ = new QLabel(box);
  labelTitle_->setObjectName("LabelTitle");
  grid->addWidget(labelTitle_, 0, 2);

  pinData_ = new QTableWidget(0, 6, box);
  pinData_->setObjectName("PinData");
  pinData_->setHorizontalHeaderLabels({"Pin n°", "In/Out", "Name", "Gate(ns)", "Fanout", "Wire(ns)"});
  pinData_->verticalHeader()->hide();
  pinData_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  pinData_->setMinimumHeight(120);
  grid->addWidget(pinData_, 1, 0, 1, 3);

  visiblePin_ = new QCheckBox("Show Pin Names", box);
  visiblePin_->setObjectName("visiblePin");
  visibleTitle_ = new QCheckBox("Show symbol title", box);
  visibleTitle_->setObjectName("visibleTitle");
  visibleProp_ = new QCheckBox("Show symbol name and properties", box);
  visibleProp_->setObjectName("visibleProp");
  pauseFall_ = new QCheckBox("Pause simulation on fall edge", box);
  pauseFall_->setObjectName("pauseFall");
  pauseRise_ = new QCheckBox("Pause simulation on rise edge", box);
  pauseRise_->setObjectName("pauseRise");
  grid->addWidget(visiblePin_, 2, 0);
  grid->addWidget(visibleTitle_, 2, 1);
  grid->addWidget(visibleProp_, 2, 2);
  grid->addWidget(pauseFall_, 3, 0, 1, 2);
  grid->addWidget(pauseRise_, 3, 2);
  return box;
}

void TFormSymProps::AddPage(PropsPage page, QWidget* widget) {
  const std::string_view caption = PageCaption(page);
  pageIndex_[page] = pages_->addTab(widget, QString::fromUtf8(caption.data(), caption.size()));
}

QString TFormSymProps::currentPage() const {
  for (int i = 0; i < pages_->count(); ++i)
    if (pages_->isTabVisible(i)) return pages_->tabText(i);
  return {};
}

void TFormSymProps::keyPressEvent(QKeyEvent* e) {
  // Enter anywhere (the pin grid included) presses OK; the text editors keep their own Enter.
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    OKBtnClick();
    return;
  }
  QDialog::keyPressEvent(e);
}

void TFormSymProps::UpdateOptions(int symbol) {
  symbol_ = symbol;
  messages_.Clear();
  Collect();  // the sequence and step fields carry over
  ReadProperties(ws_, symbol, props_);
  setWindowTitle(Q(props_.Caption));
  Fill();
}

void TFormSymProps::OKBtnClick() {
  Collect();
  messages_.Clear();
  for (const FieldProblem& p : CheckProperties(ws_, symbol_, props_)) {
    const QString text = Q(p.Message);
    switch (p.Field) {
      case PropsField::PinName:
        messages_.ShowCell(pinData_, p.Index, kColName, text);
        break;
      case PropsField::PinGate:
        messages_.ShowCell(pinData_, p.Index, kColGate, text);
        break;
      case PropsField::PwlTime:
      case PropsField::PwlValue:
        messages_.ShowCell(gridPwl_, p.Index, p.Field == PropsField::PwlTime ? 0 : 1, text);
        break;
      case PropsField::Lut:
        messages_.ShowCell(gridLut_, p.Index, 1, text);
        break;
      default:
        if (QWidget* w = FieldWidget(p.Field, p.Index)) messages_.Show(w, text);
        break;
    }
  }
  if (messages_.count() == 0) accept();
}

QWidget* TFormSymProps::FieldWidget(PropsField field, int index) const {
  switch (field) {
    case PropsField::Name:
      return editName_;
    case PropsField::ClockLow:
      return editClock0_;
    case PropsField::ClockHigh:
      return editClock1_;
    case PropsField::ClockPinName:
      return editNameClock_;
    case PropsField::SelectPinName:
      return editPinName_;
    case PropsField::Value:
      if (auto it = valueFields_.find(props_.Page);
          it != valueFields_.end() && index >= 0 && index < static_cast<int>(it->second.size()))
        return it->second[static_cast<std::size_t>(index)];
      return nullptr;
    default:
      return nullptr;
  }
}

void TFormSymProps::ApplyProperties() {
  Collect();
  qiro::ApplyProperties(ws_, symbol_, props_);
  Fill();
}

void TFormSymProps::Fill() {
  editName_->setText(Q(props_.Name));
  labelTitle_->setText(Q(props_.Title));
  visiblePin_->setChecked(props_.VisiblePin);
  visibleTitle_->setChecked(props_.VisibleTitle);
  visibleProp_->setChecked(props_.VisibleProp);
  pauseRise_->setChecked(props_.PauseRise);
  pauseFall_->setChecked(props_.PauseFall);
  pauseRise_->setEnabled(props_.PauseEnabled);
  pauseFall_->setEnabled(props_.PauseEnabled);
  FillPins();

  for (const auto& [page, index] : pageIndex_) pages_->setTabVisible(index, page == props_.Page);
  pages_->setCurrentIndex(pageIndex_[props_.Page]);

  editClock0_->setText(Q(props_.ClockLow));
  editClock1_->setText(Q(props_.ClockHigh));
  editNameClock_->setText(Q(props_.ClockPinName));
  for (const auto& [page, fields] : valueFields_)
    for (std::size_t k = 0; k < fields.size(); ++k) fields[k]->setText(Q(props_.Values[k]));
  FillPwl();
  editSequence_->setText(Q(props_.PwlSequence));
  editStep_->setText(Q(props_.PwlStep));
  sbPip_->setChecked(props_.PipOpen);
  for (int k = 0; k < kMatrixLinks; ++k) sbMtx_[k]->setChecked(props_.MatrixOpen[k]);
  FillLut();
  if (QAbstractButton* b = radioLight_->button(props_.Colour)) b->setChecked(true);
  if (QAbstractButton* b = radioFormat_->button(props_.Format)) b->setChecked(true);
  formatBox_->setVisible(props_.FormatVisible);
  editPinName_->setText(Q(props_.SelectPinName));
  memoProgram_->setPlainText(Lines(props_.Program));
  FillMcuResults();
  memoVerilog_->setPlainText(Lines(props_.VerilogMemo));
}

void TFormSymProps::FillPins() {
  pinData_->clearContents();
  pinData_->setRowCount(static_cast<int>(props_.Pins.size()));
  for (int r = 0; r < static_cast<int>(props_.Pins.size()); ++r) {
    const PinGridRow& p = props_.Pins[r];
    SetCell(pinData_, r, kColNumber, Q(p.Number), false);
    SetCell(pinData_, r, kColKind, Q(p.Kind), false);
    SetCell(pinData_, r, kColName, Q(p.Name), true);
    SetCell(pinData_, r, kColGate, Q(p.Gate), true);
    SetCell(pinData_, r, kColFanout, Q(p.Fanout), false);
    SetCell(pinData_, r, kColWire, Q(p.Wire), false);
  }
}

void TFormSymProps::FillPwl() {
  for (int r = 0; r < kPwlRows; ++r) {
    SetCell(gridPwl_, r, 0, Q(props_.Pwl[r].Time), true);
    SetCell(gridPwl_, r, 1, Q(props_.Pwl[r].Value), true);
  }
}

void TFormSymProps::FillLut() {
  for (int r = 0; r < kLutRows; ++r) {
    SetCell(gridLut_, r, 0, QString::number(r), false);
    SetCell(gridLut_, r, 1, Q(props_.Lut[r]), true);
  }
}

void TFormSymProps::FillMcuResults() {
  memoAsm_->setPlainText(Lines(props_.Listing));
  memoSymbols_->setPlainText(Lines(props_.SymbolList));
}

void TFormSymProps::Collect() {
  props_.Name = S(editName_->text());
  props_.VisiblePin = visiblePin_->isChecked();
  props_.VisibleTitle = visibleTitle_->isChecked();
  props_.VisibleProp = visibleProp_->isChecked();
  props_.PauseRise = pauseRise_->isChecked();
  props_.PauseFall = pauseFall_->isChecked();
  for (int r = 0; r < static_cast<int>(props_.Pins.size()) && r < pinData_->rowCount(); ++r) {
    props_.Pins[r].Name = S(CellText(pinData_, r, kColName));
    props_.Pins[r].Gate = S(CellText(pinData_, r, kColGate));
  }
  props_.ClockLow = S(editClock0_->text());
  props_.ClockHigh = S(editClock1_->text());
  props_.ClockPinName = S(editNameClock_->text());
  // Only the showing page's fields: the pages share the value slots.
  if (auto it = valueFields_.find(props_.Page); it != valueFields_.end())
    for (std::size_t k = 0; k < it->second.size(); ++k) props_.Values[k] = S(it->second[k]->text());
  CollectPwl();
  props_.PwlSequence = S(editSequence_->text());
  props_.PwlStep = S(editStep_->text());
  props_.PipOpen = sbPip_->isChecked();
  for (int k = 0; k < kMatrixLinks; ++k) props_.MatrixOpen[k] = sbMtx_[k]->isChecked();
  CollectLut();
  props_.Colour = radioLight_->checkedId() >= 0 ? radioLight_->checkedId() : -1;
  props_.Format = std::max(radioFormat_->checkedId(), 0);
  props_.SelectPinName = S(editPinName_->text());
  props_.Program = Lines(memoProgram_);
}

void TFormSymProps::CollectPwl() {
  for (int r = 0; r < kPwlRows; ++r) {
    props_.Pwl[r].Time = S(CellText(gridPwl_, r, 0).trimmed());
    props_.Pwl[r].Value = S(CellText(gridPwl_, r, 1).trimmed());
  }
}

void TFormSymProps::CollectLut() {
  for (int r = 0; r < kLutRows; ++r) props_.Lut[r] = S(CellText(gridLut_, r, 1));
}

void Tmdiframe::OpenSymbolProperties(int symbol) {
  if (!symPropsForm_) symPropsForm_ = new TFormSymProps(ws_, this);
  if (SimulationRunning()) {
    // A running simulation owns the extracted tables: no extraction, and a display's new
    // names or format must not mark them stale under the engine.
    const bool extracted = ws_.circuit.Extracted;
    symPropsForm_->UpdateOptions(symbol);
    if (symPropsForm_->exec() == QDialog::Accepted) {
      symPropsForm_->ApplyProperties();
      ws_.circuit.Extracted = extracted;
    }
    RedrawAll();
    return;
  }
  symbol = ExtractKeepingSymbol(ws_, symbol);
  if (symbol == 0) return;
  symPropsForm_->UpdateOptions(symbol);
  if (symPropsForm_->exec() != QDialog::Accepted) return;
  ws_.circuit.Modified = true;
  symPropsForm_->ApplyProperties();
  RedrawAll();
}

}  // namespace qiro
