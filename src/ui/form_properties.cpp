#include "form_properties.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "editor/options_values.h"
#include "main_window.h"
#include "ui_dialogs.h"
#include "workspace.h"

namespace qiro {

TFormProperties::TFormProperties(Workspace& ws, UiDialogs& dialogs, QWidget* parent)
    : QDialog(parent), ws_(ws), dialogs_(dialogs) {
  setObjectName("TFormProperties");
  setWindowTitle("Properties");
  auto* layout = new QVBoxLayout(this);
  auto* tabs = new QTabWidget(this);
  layout->addWidget(tabs);

  auto* base = new QWidget;
  auto* baseLayout = new QVBoxLayout(base);
  auto* editing = new QGroupBox("Editing file", base);
  auto* editingLayout = new QVBoxLayout(editing);
  editingFile_ = new QLabel(editing);
  editingFile_->setObjectName("EditingFile");
  editingLayout->addWidget(editingFile_);
  baseLayout->addWidget(editing);
  auto* structure = new QGroupBox("Structure", base);
  auto* grid = new QGridLayout(structure);
  const char* const rows[] = {"Symbols", "Nodes", "Lines"};
  for (int r = 0; r < 3; ++r) {
    const auto i = static_cast<std::size_t>(r);
    counts_[i] = new QLabel(structure);
    fills_[i] = new QLabel(structure);
    bars_[i] = new QProgressBar(structure);
    bars_[i]->setRange(0, 100);
    bars_[i]->setTextVisible(false);
    counts_[i]->setObjectName(QString(rows[r]) + "Count");
    fills_[i]->setObjectName(QString(rows[r]) + "Fill");
    bars_[i]->setObjectName(QString(rows[r]) + "Bar");
    grid->addWidget(new QLabel(QString(rows[r]) + ":", structure), r, 0);
    grid->addWidget(counts_[i], r, 1);
    grid->addWidget(fills_[i], r, 2);
    grid->addWidget(bars_[i], r, 3);
  }
  baseLayout->addWidget(structure);
  auto* home = new QGroupBox("Home directory", base);
  auto* homeLayout = new QHBoxLayout(home);
  editHome_ = new QLineEdit(home);
  editHome_->setObjectName("EditHome");
  editHome_->setMaxLength(128);
  auto* browse = new QPushButton("Browse", home);
  browse->setObjectName("btnBrowse");
  homeLayout->addWidget(editHome_, 1);
  homeLayout->addWidget(browse);
  baseLayout->addWidget(home);
  baseLayout->addStretch(1);
  tabs->addTab(base, "Data Base");
  connect(browse, &QPushButton::clicked, this, &TFormProperties::btnBrowseClick);

  auto* techPage = new QWidget;
  auto* techLayout = new QFormLayout(techPage);
  const char* const techRows[] = {"TimeUnit (ns):", "VDD (V):", "Typical Delay (ns):", "Wire Delay (ns):"};
  const char* const techNames[] = {"EditTimeUnit", "EditVdd", "EditDelay", "EditWireDelay"};
  for (int r = 0; r < 4; ++r) {
    auto* edit = new QLineEdit(techPage);
    edit->setObjectName(techNames[r]);
    // Shown only: a technology comes from its file.
    edit->setReadOnly(true);
    tech_[static_cast<std::size_t>(r)] = edit;
    techLayout->addRow(techRows[r], edit);
  }
  tabs->addTab(techPage, "Technology");

  auto* misc = new QWidget;
  auto* miscLayout = new QVBoxLayout(misc);
  auto* editOptions = new QGroupBox("Edit options", misc);
  auto* editOptionsLayout = new QVBoxLayout(editOptions);
  checkAnyAngle_ = new QCheckBox("Allow any angle for interconnects", editOptions);
  checkAnyAngle_->setObjectName("CheckAnyAngle");
  checkSmartEdit_ = new QCheckBox("Smart line editing", editOptions);
  checkSmartEdit_->setObjectName("CheckSmartEdit");
  editOptionsLayout->addWidget(checkAnyAngle_);
  editOptionsLayout->addWidget(checkSmartEdit_);
  auto* keepWires = new QCheckBox("Keep wires connected when moving", editOptions);
  keepWires->setObjectName("CheckKeepWires");
  editOptionsLayout->addWidget(keepWires);
  connect(keepWires, &QCheckBox::toggled, this, [this](bool on) { ws_.settings.KeepWiresConnected = on; });
  miscLayout->addWidget(editOptions);
  miscLayout->addStretch(1);
  tabs->addTab(misc, "Misc.");
  // The editor reads both switches whenever it draws or edits a line.
  connect(checkAnyAngle_, &QCheckBox::toggled, this, [this](bool on) { ws_.settings.AnyAngleLines = on; });
  connect(checkSmartEdit_, &QCheckBox::toggled, this,
          [this](bool on) { ws_.settings.SmartLineEditing = on; });

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("btnOK");
  ok->setDefault(true);
  layout->addWidget(ok, 0, Qt::AlignRight);
  connect(ok, &QPushButton::clicked, this, &TFormProperties::btnOKClick);
}

void TFormProperties::UpdateOptions() {
  const QString file = QString::fromStdString(ws_.circuit.FileName);
  setWindowTitle("Properties of " + file);
  editingFile_->setText(QString::fromStdString(EditingFileText(ws_.circuit.FileName)));
  const std::array<TableFill, 3> fills = {FillOf(ws_.circuit.Symbols.Count(), kMaxSymbols),
                                          FillOf(ws_.nodes.Count(), kMaxNodes),
                                          FillOf(ws_.circuit.Wires.Count(), kMaxWires)};
  for (std::size_t i = 0; i < fills.size(); ++i) {
    counts_[i]->setText(QString::fromStdString(fills[i].Count));
    fills_[i]->setText(QString::fromStdString(fills[i].Percent));
    bars_[i]->setValue(fills[i].Bar);
  }
  editHome_->setText(QString::fromStdString(ws_.settings.HomeDir.string()));
  const std::array<double, 4> tech = {ws_.tech.TimeUnit, ws_.tech.SupplyVoltage, ws_.tech.UnitGateDelay,
                                      ws_.tech.WireDelayUnit};
  for (std::size_t i = 0; i < tech.size(); ++i)
    tech_[i]->setText(QString::fromStdString(FormatTechValue(tech[i])));
  checkAnyAngle_->setChecked(ws_.settings.AnyAngleLines);
  checkSmartEdit_->setChecked(ws_.settings.SmartLineEditing);
  findChild<QCheckBox*>("CheckKeepWires")->setChecked(ws_.settings.KeepWiresConnected);
}

void TFormProperties::btnBrowseClick() {
  const auto chosen = dialogs_.OpenFile(this, editHome_->text(), "Symbols (*.SYM)|*.SYM|All files |*.*");
  if (!chosen || chosen->isEmpty()) return;
  const QString home = QString::fromStdString(HomeOfChosenSymbol(chosen->toStdString()));
  editHome_->setText(home);
  ApplyHomeDirectory(ws_, home.toStdString());
}

void TFormProperties::btnOKClick() {
  ApplyHomeDirectory(ws_, editHome_->text().toStdString());
  accept();
}

void Tmdiframe::PropertiesCommand() {
  auto* form = findChild<TFormProperties*>();
  if (!form) form = new TFormProperties(ws_, dialogs_, this);
  form->UpdateOptions();
  form->exec();
}

}  // namespace qiro
