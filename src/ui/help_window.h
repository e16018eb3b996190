// The help window: the help page shown in a rich text browser of the program's own, so help
// works without a system browser. Links inside the page are followed in place, Back and Home
// return, a search field finds text (again from the top once the end is reached), and a button
// still hands the page to the system browser for those who prefer it.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTextBrowser;

namespace qiro {

class UiDialogs;

class THelpWindow : public QWidget {
  Q_OBJECT
 public:
  THelpWindow(UiDialogs& dialogs, QWidget* parent = nullptr);

  // Shows the page; false when it cannot be read.
  bool ShowPage(const QString& path);
  // Selects the next place where the text occurs, from the top again after the last one.
  bool FindText(const QString& text);
  // Hands the page to the system's browser.
  void OpenInBrowser();

  QTextBrowser* browser() const { return browser_; }
  QLineEdit* searchField() const { return search_; }
  QLabel* searchResult() const { return result_; }

 private:
  UiDialogs& dialogs_;
  QString page_;
  QTextBrowser* browser_ = nullptr;
  QLineEdit* search_ = nullptr;
  QLabel* result_ = nullptr;
};

}  // namespace qiro
