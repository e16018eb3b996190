// The kind-specific pages of the symbol properties dialog and their buttons.
#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "form_symprops.h"
#include "props/page_tools.h"

namespace qiro {

namespace {

QLineEdit* AddField(QFormLayout* form, QWidget* parent, const QString& label, const QString& name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  form->addRow(label, edit);
  return edit;
}

QTableWidget* MakeGrid(QWidget* parent, const QString& name, int rows, const QStringList& titles) {
  auto* grid = new QTableWidget(rows, static_cast<int>(titles.size()), parent);
  grid->setObjectName(name);
  grid->setHorizontalHeaderLabels(titles);
  grid->verticalHeader()->hide();
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  return grid;
}

QPlainTextEdit* MakeMemo(QWidget* parent, const QString& name, bool readOnly) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setObjectName(name);
  memo->setReadOnly(readOnly);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont mono("Courier");
  mono.setStyleHint(QFont::Monospace);
  memo->setFont(mono);
  return memo;
}

QPushButton* MakeButton(QWidget* parent, const QString& caption, const QString& name) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

}  // namespace

void TFormSymProps::BuildPages() {
  AddPage(PropsPage::Clock, BuildClockPage());
  for (PropsPage p : {PropsPage::Sinus, PropsPage::Mos, PropsPage::Capa, PropsPage::Inductor,
                      PropsPage::Resistor, PropsPage::Vsource, PropsPage::ISource, PropsPage::Coupling})
    AddPage(p, BuildValuePage(p));
  AddPage(PropsPage::Pwl, BuildPwlPage());
  AddPage(PropsPage::Pip, BuildPipPage());
  AddPage(PropsPage::Matrix, BuildMatrixPage());
  AddPage(PropsPage::Lut, BuildLutPage());
  AddPage(PropsPage::Select, BuildSelectPage());
  AddPage(PropsPage::Mcu, BuildMcuPage());
  AddPage(PropsPage::VerilogCall, BuildVerilogPage());
  AddPage(PropsPage::Standard, BuildStandardPage());
}

QWidget* TFormSymProps::BuildClockPage() {
  auto* page = new QWidget(this);
  auto* form = new QFormLayout(page);
  editClock0_ = AddField(form, page, "Stay at 0 (ns):", "EditClock0");
  editClock1_ = AddField(form, page, "Stay at 1 (ns):", "EditClock1");
  editNameClock_ = AddField(form, page, "Pin name:", "EditNameClock");
  return page;
}

QWidget* TFormSymProps::BuildValuePage(PropsPage kind) {
  auto* page = new QWidget(this);
  auto* form = new QFormLayout(page);
  const std::string_view caption = PageCaption(kind);
  const QString base = "Edit" + QString::fromUtf8(caption.data(), caption.size()).remove(' ');
  int k = 0;
  for (const std::string_view label : ValueFieldLabels(kind))
    valueFields_[kind].push_back(
        AddField(form, page, QString::fromUtf8(label.data(), label.size()), base + QString::number(++k)));
  return page;
}

QWidget* TFormSymProps::BuildPwlPage() {
  auto* page = new QWidget(this);
  auto* h = new QHBoxLayout(page);
  gridPwl_ = MakeGrid(page, "StrGridPwl", kPwlRows, {"Time (ns)", "Value (v)"});
  h->addWidget(gridPwl_, 1);
  auto* side = new QFormLayout;
  editSequence_ = AddField(side, page, "Sequence:", "EditSequence");
  auto* load = MakeButton(page, "Load", "sbLoad");
  auto* append = MakeButton(page, "Append", "sbAppend");
  auto* clear = MakeButton(page, "Clear after Cursor", "sbClear");
  side->addRow(load);
  side->addRow(append);
  side->addRow(clear);
  editStep_ = AddField(side, page, "Step (ns):", "EditStep");
  auto* apply = MakeButton(page, "Apply", "SBTimeScale");
  side->addRow(apply);
  h->addLayout(side);
  connect(load, &QPushButton::clicked, this, &TFormSymProps::sbLoadClick);
  connect(append, &QPushButton::clicked, this, &TFormSymProps::sbAppendClick);
  connect(clear, &QPushButton::clicked, this, &TFormSymProps::sbClearClick);
  connect(apply, &QPushButton::clicked, this, &TFormSymProps::SBTimeScaleClick);
  return page;
}

QWidget* TFormSymProps::BuildPipPage() {
  auto* page = new QWidget(this);
  auto* v = new QVBoxLayout(page);
  v->addWidget(new QLabel("Pressed: link open. Released: link connected.", page));
  sbPip_ = MakeButton(page, "Link", "sbPip");
  sbPip_->setCheckable(true);
  v->addWidget(sbPip_);
  v->addStretch();
  return page;
}

QWidget* TFormSymProps::BuildMatrixPage() {
  auto* page = new QWidget(this);
  auto* v = new QVBoxLayout(page);
  v->addWidget(new QLabel("Pressed: link open. Released: link connected.", page));
  auto* row = new QHBoxLayout;
  for (int k = 0; k < kMatrixLinks; ++k) {
    sbMtx_[k] = MakeButton(page, QString("Link %1").arg(k + 1), QString("sbMtx%1").arg(k + 1));
    sbMtx_[k]->setCheckable(true);
    row->addWidget(sbMtx_[k]);
  }
  v->addLayout(row);
  auto* allOff = MakeButton(page, "All Off", "sbClearMatrix");
  v->addWidget(allOff);
  v->addStretch();
  connect(allOff, &QPushButton::clicked, this, &TFormSymProps::sbClearMatrixClick);
  return page;
}

QWidget* TFormSymProps::BuildLutPage() {
  auto* page = new QWidget(this);
  auto* h = new QHBoxLayout(page);
  gridLut_ = MakeGrid(page, "StringLut", kLutRows, {"N°", "Value"});
  // A double click toggles the value instead of opening the editor.
  gridLut_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
  h->addWidget(gridLut_, 1);
  auto* side = new QVBoxLayout;
  side->addWidget(new QLabel("Predefined funtions :", page));
  listLut_ = new QListWidget(page);
  listLut_->setObjectName("ListLut");
  for (const std::string& f : LutFunctions()) listLut_->addItem(QString::fromStdString(f));
  side->addWidget(listLut_);
  h->addLayout(side, 2);
  connect(gridLut_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { StringLutDblClick(row); });
  connect(listLut_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { ListLutClick(listLut_->row(item)); });
  return page;
}

QWidget* TFormSymProps::BuildSelectPage() {
  auto* page = new QWidget(this);
  auto* v = new QVBoxLayout(page);
  auto* colours = new QGroupBox("Select Color", page);
  colours->setObjectName("RadioLight");
  auto* cv = new QVBoxLayout(colours);
  radioLight_ = new QButtonGroup(this);
  int id = 0;
  for (const char* c : {"Red", "Yellow", "Blue", "Green", "Purple"}) {
    auto* b = new QRadioButton(c, colours);
    radioLight_->addButton(b, id++);
    cv->addWidget(b);
  }
  formatBox_ = new QGroupBox("Select format", page);
  formatBox_->setObjectName("RadioFormat");
  auto* fv = new QVBoxLayout(formatBox_);
  radioFormat_ = new QButtonGroup(this);
  id = 0;
  for (const char* f : {"Hexadecimal", "Unsigned Integer", "integer", "Fixed point"}) {
    auto* b = new QRadioButton(f, formatBox_);
    radioFormat_->addButton(b, id++);
    fv->addWidget(b);
  }
  auto* boxes = new QHBoxLayout;
  boxes->addWidget(colours);
  boxes->addWidget(formatBox_);
  v->addLayout(boxes);
  auto* form = new QFormLayout;
  editPinName_ = AddField(form, page, "Pin name:", "EditPinName");
  v->addLayout(form);
  v->addStretch();
  return page;
}

QWidget* TFormSymProps::BuildMcuPage() {
  mcuPages_ = new QTabWidget(this);
  auto* program = new QWidget(mcuPages_);
  auto* v = new QVBoxLayout(program);
  memoProgram_ = MakeMemo(program, "MemoProgram", false);
  v->addWidget(memoProgram_);
  auto* assemble = MakeButton(program, "Assemble", "sbAsm");
  v->addWidget(assemble);
  mcuPages_->addTab(program, "Program");
  memoAsm_ = MakeMemo(mcuPages_, "MemoAsm", true);
  mcuPages_->addTab(memoAsm_, "Assembly");
  memoSymbols_ = MakeMemo(mcuPages_, "MemoSymbols", true);
  mcuPages_->addTab(memoSymbols_, "Symbols");
  connect(assemble, &QPushButton::clicked, this, &TFormSymProps::sbAsmClick);
  return mcuPages_;
}

QWidget* TFormSymProps::BuildVerilogPage() {
  // The text is shown only: the dialog does not write it back, so it is not editable here.
  memoVerilog_ = MakeMemo(this, "MemoVerilog", true);
  return memoVerilog_;
}

QWidget* TFormSymProps::BuildStandardPage() {
  auto* page = new QWidget(this);
  auto* v = new QVBoxLayout(page);
  auto* none = new QLabel("(None)", page);
  none->setObjectName("LabelNone");
  v->addWidget(none);
  v->addStretch();
  return page;
}

void TFormSymProps::sbLoadClick() {
  Collect();
  PwlLoad(props_);
  FillPwl();
}

void TFormSymProps::sbAppendClick() {
  Collect();
  PwlAppend(props_);
  FillPwl();
}

void TFormSymProps::sbClearClick() {
  Collect();
  if (gridPwl_->currentRow() < 0) return;  // no cursor, nothing to clear
  PwlClearFrom(props_, gridPwl_->currentRow());
  FillPwl();
}

void TFormSymProps::SBTimeScaleClick() {
  Collect();
  PwlApplyStep(props_);
  FillPwl();
  editStep_->setText(QString::fromStdString(props_.PwlStep));
}

void TFormSymProps::StringLutDblClick(int row) {
  CollectLut();
  LutToggle(props_, row);
  FillLut();
}

void TFormSymProps::ListLutClick(int index) {
  if (index < 0) return;
  LutApplyFunction(props_, index);
  FillLut();
}

void TFormSymProps::sbClearMatrixClick() {
  for (QPushButton* b : sbMtx_) b->setChecked(true);
}

void TFormSymProps::sbAsmClick() {
  Collect();
  AssembleProps(ws_, props_);
  FillMcuResults();
  mcuPages_->setCurrentIndex(1);
}

}  // namespace qiro
