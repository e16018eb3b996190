#include "form_schtosym.h"

#include <QButtonGroup>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTime>
#include <QToolButton>
#include <QVBoxLayout>

#include "main_window.h"
#include "qt_canvas.h"
#include "symbols/symbol_preview.h"
#include "ui_dialogs.h"
#include "workspace.h"

namespace qiro {

namespace {

constexpr int kPreviewWidth = 280, kPreviewHeight = 240;

QString Cell(const QTableWidget* grid, int row, int column) {
  const QTableWidgetItem* item = grid->item(row, column);
  return item ? item->text() : QString();
}

QToolButton* PreviewButton(QWidget* parent, const char* name, const QString& text, const QString& hint) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setText(text);
  b->setToolTip(hint);
  return b;
}

}  // namespace

TFormSchToSym::TFormSchToSym(Workspace& ws, std::function<void()> onHelp, QWidget* parent, UiDialogs* dialogs)
    : QDialog(parent), ws_(ws), dialogs_(dialogs), onHelp_(std::move(onHelp)) {
  setObjectName("TFormSchToSym");
  setWindowTitle("Schema to Symbol");
  auto* layout = new QHBoxLayout(this);

  // Left: the pin table and the Verilog text.
  auto* left = new QVBoxLayout;
  pages_ = new QTabWidget(this);
  auto* ios = new QWidget;
  auto* iosLayout = new QVBoxLayout(ios);
  grid_ = new QTableWidget(kMaxSymbolRows, 3, ios);
  grid_->setObjectName("StringGrid1");
  grid_->setHorizontalHeaderLabels({"Pin Name", "Position", "Side"});
  // The names take the room left by the two short columns, so they show whole.
  grid_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  grid_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  grid_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
  grid_->setMinimumWidth(260);
  grid_->verticalHeader()->setDefaultSectionSize(20);
  iosLayout->addWidget(grid_);
  auto* order = new QGroupBox("Sort by", ios);
  order->setObjectName("RadioOrder");
  auto* orderLayout = new QHBoxLayout(order);
  increasing_ = new QRadioButton("Increasing order", order);
  decreasing_ = new QRadioButton("Decreasing order", order);
  orderLayout->addWidget(increasing_);
  orderLayout->addWidget(decreasing_);
  decreasing_->setChecked(true);
  iosLayout->addWidget(order);
  pages_->addTab(ios, "I/Os");
  richEdit_ = new QPlainTextEdit;
  richEdit_->setObjectName("richEdit");
  richEdit_->setReadOnly(true);
  richEdit_->setLineWrapMode(QPlainTextEdit::NoWrap);
  pages_->addTab(richEdit_, "Verilog");
  left->addWidget(pages_);
  layout->addLayout(left, 3);
  for (QRadioButton* r : {increasing_, decreasing_})
    connect(r, &QRadioButton::clicked, this, &TFormSchToSym::RadioOrderClick);

  // Right: preview, symbol fields, buttons.
  auto* right = new QVBoxLayout;
  auto* previewGroup = new QGroupBox("Symbol preview", this);
  auto* previewLayout = new QVBoxLayout(previewGroup);
  imagePreview_ = new QLabel(previewGroup);
  imagePreview_->setObjectName("imagePreview");
  imagePreview_->setFixedSize(kPreviewWidth, kPreviewHeight);
  imagePreview_->installEventFilter(this);
  preview_ = QImage(kPreviewWidth, kPreviewHeight, QImage::Format_RGB32);
  preview_.fill(Qt::white);
  previewLayout->addWidget(imagePreview_);
  auto* previewButtons = new QHBoxLayout;
  auto* refresh = PreviewButton(previewGroup, "sbRefresh", "Refresh", "Refresh");
  auto* fat = PreviewButton(previewGroup, "sbFat", "Fatter", "Wider box");
  auto* thin = PreviewButton(previewGroup, "sbThin", "Thinner", "Narrower box");
  previewButtons->addWidget(refresh);
  previewButtons->addWidget(fat);
  previewButtons->addWidget(thin);
  previewButtons->addStretch(1);
  previewLayout->addLayout(previewButtons);
  right->addWidget(previewGroup);
  connect(refresh, &QToolButton::clicked, this, [this] { Generate(0); });
  connect(fat, &QToolButton::clicked, this, &TFormSchToSym::sbFatClick);
  connect(thin, &QToolButton::clicked, this, &TFormSchToSym::sbThinClick);

  auto* props = new QGroupBox("Symbol Properties", this);
  auto* propsLayout = new QGridLayout(props);
  editName_ = new QLineEdit(props);
  editName_->setObjectName("EditName");
  editTitle_ = new QLineEdit(props);
  editTitle_->setObjectName("EditTitle");
  editDirectory_ = new QLineEdit(props);
  editDirectory_->setObjectName("EditDirectory");
  propsLayout->addWidget(new QLabel("Name :", props), 0, 0);
  propsLayout->addWidget(editName_, 0, 1);
  propsLayout->addWidget(new QLabel("Title :", props), 1, 0);
  propsLayout->addWidget(editTitle_, 1, 1);
  propsLayout->addWidget(new QLabel("Save in :", props), 2, 0);
  propsLayout->addWidget(editDirectory_, 2, 1);
  right->addWidget(props);
  right->addStretch(1);

  auto* buttons = new QHBoxLayout;
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("btnOk");
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("btnCancel");
  auto* help = new QPushButton("Help", this);
  help->setObjectName("btnHelp");
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(help);
  right->addLayout(buttons);
  layout->addLayout(right, 2);
  connect(ok, &QPushButton::clicked, this, [this] { Generate(1); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] {
    if (onHelp_) onHelp_();
  });
}

void TFormSchToSym::UpdateOptions() {
  pages_->setCurrentIndex(0);
  editName_->setText(QString::fromStdString(gen_.Name));
  editTitle_->setText(QString::fromStdString(gen_.Title));
  editDirectory_->setText(QString::fromStdString(gen_.Directory));
  grid_->clearContents();
  for (int r = 0; r < static_cast<int>(gen_.Rows.size()); ++r) {
    const PinRow& row = gen_.Rows[static_cast<std::size_t>(r)];
    grid_->setItem(r, 0, new QTableWidgetItem(QString::fromStdString(row.Name)));
    grid_->setItem(r, 1, new QTableWidgetItem(QString::fromStdString(row.Position)));
    grid_->setItem(r, 2, new QTableWidgetItem(QString::fromStdString(row.Side)));
  }
  (gen_.Decreasing ? decreasing_ : increasing_)->setChecked(true);
}

void TFormSchToSym::ReadFields() {
  gen_.Name = editName_->text().toStdString();
  gen_.Title = editTitle_->text().toStdString();
  gen_.Directory = editDirectory_->text().toStdString();
  for (int r = 0; r < static_cast<int>(gen_.Rows.size()); ++r) {
    PinRow& row = gen_.Rows[static_cast<std::size_t>(r)];
    row.Name = Cell(grid_, r, 0).toStdString();
    row.Position = Cell(grid_, r, 1).toStdString();
    row.Side = Cell(grid_, r, 2).toStdString();
  }
}

void TFormSchToSym::Generate(int mode) {
  ReadFields();
  messages_.Clear();
  if (mode == 1) {
    for (const SchToSymProblem& p : gen_.Check()) {
      const QString text = QString::fromStdString(p.Message);
      if (p.Row >= 0)
        messages_.ShowCell(grid_, p.Row, p.Column, text);
      else
        messages_.Show(p.Column == 0 ? editName_ : editDirectory_, text);
    }
    if (messages_.count() > 0) {
      if (!messages_.TextOf(grid_).isEmpty()) pages_->setCurrentIndex(0);
      return;
    }
    const QLocale locale = QLocale::system();
    const QString now = locale.toString(QDate::currentDate(), QLocale::ShortFormat) + " " +
                        QTime::currentTime().toString("hh:mm:ss");
    const auto mayReplace = [this](const std::filesystem::path& path) {
      return !dialogs_ || AskBeforeReplacing(*dialogs_, this, path);
    };
    if (!gen_.Save(ws_, now.toStdString(), mayReplace).empty()) accept();
    return;
  }
  if (!gen_.Generate(ws_)) return;
  ShowPreview();
  QStringList text;
  for (const std::string& line : gen_.ModuleText) text << QString::fromStdString(line);
  richEdit_->setPlainText(text.join('\n'));
}

void TFormSchToSym::ShowPreview() {
  {
    QtCanvas canvas(preview_);
    DrawSymbolPreview(canvas, gen_.Symbol, gen_.Title, preview_.width(), preview_.height());
  }
  imagePreview_->setPixmap(QPixmap::fromImage(preview_));
}

void TFormSchToSym::sbFatClick() {
  gen_.Fatter();
  Generate(0);
}

void TFormSchToSym::sbThinClick() {
  gen_.Thinner();
  Generate(0);
}

void TFormSchToSym::RadioOrderClick() {
  // The table is filled again from the ports: edits of names, positions and sides are lost.
  gen_.Decreasing = decreasing_->isChecked();
  gen_.UpdateOptions(ws_);
  UpdateOptions();
  Generate(0);
}

void TFormSchToSym::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  Generate(0);
}

bool TFormSchToSym::eventFilter(QObject* watched, QEvent* event) {
  if (watched == imagePreview_ && event->type() == QEvent::MouseButtonPress) {
    // Pixel coordinates where clicked, to help choose positions.
    const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
    {
      QPainter painter(&preview_);
      painter.setPen(Qt::black);
      painter.drawText(p, QString("(%1,%2)").arg(p.x()).arg(p.y()));
    }
    imagePreview_->setPixmap(QPixmap::fromImage(preview_));
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void Tmdiframe::ToSymbolCommand() {
  auto* form = findChild<TFormSchToSym*>();
  if (!form)
    form = new TFormSchToSym(
        ws_, [this] { Contents(); }, this, &dialogs_);
  PrepareSchToSym(ws_, form->generator());
  form->UpdateOptions();
  form->exec();
  ResetHighlight(ws_);
}

}  // namespace qiro
