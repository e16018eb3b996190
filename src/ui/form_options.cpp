#include "form_options.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/options_values.h"
#include "main_window.h"
#include "workspace.h"

namespace qiro {

TFormOptions::TFormOptions(Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
  setObjectName("TFormOptions");
  setWindowTitle("Simulate Option");
  auto* layout = new QVBoxLayout(this);

  auto* timing = new QGroupBox("Set Timing Unit:", this);
  auto* timingLayout = new QHBoxLayout(timing);
  comboTimeUnit_ = new QComboBox(timing);
  comboTimeUnit_->setObjectName("ComboTimeUnit");
  for (const char* caption : kTimeUnitCaptions) comboTimeUnit_->addItem(caption);
  timingLayout->addWidget(comboTimeUnit_);
  layout->addWidget(timing);

  auto* refresh = new QGroupBox("Refresh Drawing", this);
  auto* refreshColumn = new QVBoxLayout(refresh);
  auto* refreshLayout = new QHBoxLayout;
  editStep_ = new QLineEdit(refresh);
  editStep_->setObjectName("EditStep");
  editStep_->setMaximumWidth(100);
  refreshLayout->addWidget(new QLabel("Draw wires and reg states every", refresh));
  refreshLayout->addWidget(editStep_);
  refreshLayout->addWidget(new QLabel("steps", refresh));
  refreshColumn->addLayout(refreshLayout);
  // What is wrong with the interval shows right under it.
  refusal_ = new QLabel(refresh);
  refusal_->setObjectName("refusal");
  refusal_->setStyleSheet("color: red");
  refusal_->hide();
  refreshColumn->addWidget(refusal_);
  layout->addWidget(refresh);

  checkFilter_ = new QCheckBox("Logic glitch filtering (010 or 101)", this);
  checkFilter_->setObjectName("CheckFilter");
  layout->addWidget(checkFilter_);
  // The engine reads the switch at every step, so it acts at once.
  connect(checkFilter_, &QCheckBox::toggled, this, [this](bool on) { ws_.settings.GlitchFiltering = on; });

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("sbOk");
  ok->setDefault(true);
  layout->addWidget(ok, 0, Qt::AlignRight);
  connect(ok, &QPushButton::clicked, this, &TFormOptions::sbOkClick);
}

void TFormOptions::FormShow() {
  comboTimeUnit_->setCurrentIndex(TimeUnitChoice(ws_.tech.TimeUnit));
  editStep_->setText(QString::number(ws_.settings.DisplayPeriod));
  checkFilter_->setChecked(ws_.settings.GlitchFiltering);
  refusal_->hide();
}

void TFormOptions::showEvent(QShowEvent* e) {
  FormShow();
  QDialog::showEvent(e);
}

void TFormOptions::sbOkClick() {
  if (!ApplySimulationOptions(ws_, comboTimeUnit_->currentIndex(), editStep_->text().toStdString())) {
    refusal_->setText(QString::fromStdString(RefreshIntervalProblem(editStep_->text().toStdString())));
    refusal_->show();
    editStep_->setFocus();
    editStep_->selectAll();
    return;
  }
  accept();
}

void Tmdiframe::SimulateOptionsCommand() {
  auto* form = findChild<TFormOptions*>();
  if (!form) form = new TFormOptions(ws_, this);
  form->exec();
}

}  // namespace qiro
