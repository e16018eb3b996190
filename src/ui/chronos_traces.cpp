// The "Traces" window of the timing diagram: the diagram's rows, which a drag reorders and
// "Remove" leaves out, and a searchable list of the circuit's node names to add.
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "chrono/trace_choice.h"
#include "chronos.h"
#include "workspace.h"

namespace qiro {

std::vector<int> TFormChronos::Rows() const {
  return ChosenRows(ws_.chrono, ws_.chrono.choice);
}

void TFormChronos::AddNodeTrace(const std::string& name) {
  const std::vector<std::string> nodes = NodeNames(ws_.nodes);
  ws_.chrono.choice.Add(name, std::binary_search(nodes.begin(), nodes.end(), name));
  if (tracesNote_) tracesNote_->setText(QString::fromStdString(name) + " is recorded from the next run on");
  FillTraceLists();
  Redraw();
}

void TFormChronos::RemoveRow(int row) {
  const std::vector<int> rows = Rows();
  if (row < 0 || row >= static_cast<int>(rows.size())) return;
  const std::string name = ws_.chrono.Trace(rows[static_cast<std::size_t>(row)]).name;
  ws_.chrono.choice.Remove(name);
  if (tracesNote_) tracesNote_->setText(QString::fromStdString(name) + " is left out from now on");
  FillTraceLists();
  Redraw();
}

void TFormChronos::MoveRowTo(int from, int to) {
  MoveRow(ws_.chrono.choice, ws_.chrono, from, to);
  FillTraceLists();
  Redraw();
}

void TFormChronos::FillTraceLists() {
  if (!traces_) return;
  const QSignalBlocker block(rowList_->model());
  rowList_->clear();
  for (int j : Rows()) rowList_->addItem(QString::fromStdString(ws_.chrono.Trace(j).name));
  nodeList_->clear();
  // The node names, and the traces left out, which can be added back.
  std::vector<std::string> names = NodeNames(ws_.nodes);
  names.insert(names.end(), ws_.chrono.choice.removed.begin(), ws_.chrono.choice.removed.end());
  for (const std::string& name : FilterNames(names, nodeFilter_->text().toStdString()))
    nodeList_->addItem(QString::fromStdString(name));
}

void TFormChronos::mnuTracesClick() {
  if (!traces_) {
    traces_ = new QDialog(this);
    traces_->setObjectName("FormTraces");
    traces_->setWindowTitle("Traces");
    auto* layout = new QHBoxLayout(traces_);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel("Rows (drag to reorder)"));
    rowList_ = new QListWidget(traces_);
    rowList_->setObjectName("ListTraces");
    rowList_->setDragDropMode(QAbstractItemView::InternalMove);
    left->addWidget(rowList_);
    auto* remove = new QPushButton("Remove", traces_);
    remove->setObjectName("btnRemoveTrace");
    left->addWidget(remove);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel("Nodes"));
    nodeFilter_ = new QLineEdit(traces_);
    nodeFilter_->setObjectName("EditNodeFilter");
    nodeFilter_->setPlaceholderText("Search");
    right->addWidget(nodeFilter_);
    nodeList_ = new QListWidget(traces_);
    nodeList_->setObjectName("ListNodes");
    right->addWidget(nodeList_);
    auto* add = new QPushButton("Add", traces_);
    add->setObjectName("btnAddTrace");
    right->addWidget(add);
    layout->addLayout(left);
    layout->addLayout(right);
    tracesNote_ = new QLabel(traces_);
    tracesNote_->setWordWrap(true);
    left->addWidget(tracesNote_);

    connect(remove, &QPushButton::clicked, this, [this] { RemoveRow(rowList_->currentRow()); });
    auto addCurrent = [this] {
      if (QListWidgetItem* item = nodeList_->currentItem()) AddNodeTrace(item->text().toStdString());
    };
    connect(add, &QPushButton::clicked, this, addCurrent);
    connect(nodeList_, &QListWidget::itemDoubleClicked, this, addCurrent);
    connect(nodeFilter_, &QLineEdit::textChanged, this, [this] { FillTraceLists(); });
    // A drop inside the list moves one row: the model reports where it came from and went to.
    // The lists are filled again once the drop is over.
    connect(
        rowList_->model(), &QAbstractItemModel::rowsMoved, this,
        [this](const QModelIndex&, int from, int, const QModelIndex&, int before) {
          MoveRowTo(from, before > from ? before - 1 : before);
        },
        Qt::QueuedConnection);
    traces_->resize(480, 320);
  }
  FillTraceLists();
  traces_->show();
  traces_->raise();
}

}  // namespace qiro
