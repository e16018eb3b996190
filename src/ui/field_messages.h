// Says what is wrong with a dialog field right beside it: a red line of text placed under
// the field in its layout, the field (or grid cell) marked red. Clear() removes every mark,
// so a dialog clears, checks and shows again at each OK.
#pragma once

#include <QString>
#include <map>
#include <vector>

class QLabel;
class QTableWidget;
class QWidget;

namespace qiro {

class FieldMessages {
 public:
  // Adds a message to the field's line (several messages for one field stack up).
  void Show(QWidget* field, const QString& text);
  // Marks one cell of a grid and adds the message under the grid.
  void ShowCell(QTableWidget* grid, int row, int column, const QString& text);
  void Clear();
  int count() const { return shown_; }
  // The messages under a field as shown, for tests.
  QString TextOf(QWidget* field) const;

 private:
  struct Cell {
    QTableWidget* grid;
    int row, column;
  };
  std::map<QWidget*, QLabel*> labels_;
  std::map<QWidget*, QString> styles_;
  std::vector<Cell> cells_;
  int shown_ = 0;
};

}  // namespace qiro
