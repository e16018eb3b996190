#include "field_messages.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QTableWidget>

namespace qiro {

namespace {

// The layout that holds `w` directly, searched from the layout of its parent down.
QLayout* LayoutHolding(QLayout* layout, QWidget* w) {
  if (!layout) return nullptr;
  if (layout->indexOf(w) >= 0) return layout;
  for (int i = 0; i < layout->count(); ++i)
    if (QLayout* found = LayoutHolding(layout->itemAt(i)->layout(), w)) return found;
  return nullptr;
}

// Puts the message label just under the field.
void PlaceUnder(QWidget* field, QLabel* label) {
  QWidget* parent = field->parentWidget();
  QLayout* layout = parent ? LayoutHolding(parent->layout(), field) : nullptr;
  if (auto* form = qobject_cast<QFormLayout*>(layout)) {
    int row = 0;
    QFormLayout::ItemRole role;
    form->getWidgetPosition(field, &row, &role);
    form->insertRow(row + 1, label);
  } else if (auto* box = qobject_cast<QBoxLayout*>(layout)) {
    box->insertWidget(box->indexOf(field) + 1, label);
  } else if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
    // The row under the field is usually taken; the message gets a row of its own at the end.
    grid->addWidget(label, grid->rowCount(), 0, 1, grid->columnCount());
  }
}

}  // namespace

void FieldMessages::Show(QWidget* field, const QString& text) {
  QLabel*& label = labels_[field];
  if (!label) {
    label = new QLabel(field->parentWidget());
    label->setObjectName(field->objectName() + "Problem");
    label->setStyleSheet("color: #c00000");
    label->setWordWrap(true);
    PlaceUnder(field, label);
    styles_[field] = field->styleSheet();
  }
  const QString shown = label->text();
  label->setText(shown.isEmpty() ? text : shown + "\n" + text);
  label->show();
  if (!qobject_cast<QTableWidget*>(field)) field->setStyleSheet("border: 1px solid #c00000");
  field->setToolTip(label->text());
  if (shown_++ == 0) field->setFocus();
}

void FieldMessages::ShowCell(QTableWidget* grid, int row, int column, const QString& text) {
  if (QTableWidgetItem* item = grid->item(row, column)) {
    cells_.push_back({grid, row, column});
    item->setBackground(QColor(255, 200, 200));
  }
  const bool first = shown_ == 0;
  Show(grid, text);
  if (first) grid->setCurrentCell(row, column);
}

void FieldMessages::Clear() {
  for (auto& [field, label] : labels_) {
    label->clear();
    label->hide();
    field->setStyleSheet(styles_[field]);
    field->setToolTip(QString());
  }
  for (const Cell& c : cells_)
    if (QTableWidgetItem* item = c.grid->item(c.row, c.column)) item->setBackground(QBrush());
  cells_.clear();
  shown_ = 0;
}

QString FieldMessages::TextOf(QWidget* field) const {
  const auto it = labels_.find(field);
  return it == labels_.end() ? QString() : it->second->text();
}

}  // namespace qiro
