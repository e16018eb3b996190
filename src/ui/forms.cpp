#include "forms.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qiro {

TFormConfirm::TFormConfirm(const QString& line1, const QString& line2, QWidget* parent, bool withCancel)
    : QDialog(parent), withCancel_(withCancel) {
  setObjectName("TFormConfirm");
  setWindowTitle("Qiro2");
  auto* layout = new QVBoxLayout(this);
  auto* first = new QLabel(line1, this);
  first->setObjectName("line1");
  line2_ = new QLabel(line2, this);
  line2_->setObjectName("line2");
  layout->addWidget(first);
  layout->addWidget(line2_);
  auto* buttons = new QHBoxLayout;
  auto* yes = new QPushButton("&Yes", this);
  auto* no = new QPushButton("&No", this);
  yes->setDefault(true);
  yes->setObjectName("btnYes");
  no->setObjectName("btnNo");
  buttons->addWidget(yes);
  buttons->addWidget(no);
  connect(yes, &QPushButton::clicked, this, &QDialog::accept);
  connect(no, &QPushButton::clicked, this, [this] { done(kNo); });
  if (withCancel) {
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("btnCancel");
    buttons->addWidget(cancel);
    connect(cancel, &QPushButton::clicked, this, [this] { done(kCancel); });
  }
  layout->addLayout(buttons);
  Blink();
  connect(&timer_, &QTimer::timeout, this, &TFormConfirm::Blink);
  timer_.start(kConfirmBlinkMs);
}

void TFormConfirm::reject() {
  done(withCancel_ ? kCancel : kNo);
}

void TFormConfirm::Blink() {
  grey_ = !grey_;
  line2_->setStyleSheet(grey_ ? "color: grey" : "color: black");
}

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent) {
  setObjectName("TFormAbout");
  setWindowTitle("About Qiro");
  auto* layout = new QVBoxLayout(this);
  auto* name = new QLabel(QString("<h2>QIRO %1</h2>"
                                  "<p>Qiro2: schematic editor and gate-level logic simulator</p>"
                                  "<p>Version %1</p>")
                              .arg(kProgramVersion),
                          this);
  name->setObjectName("aboutText");
  name->setAlignment(Qt::AlignCenter);
  layout->addWidget(name);
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("btnOk");
  ok->setDefault(true);
  layout->addWidget(ok, 0, Qt::AlignCenter);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace qiro
