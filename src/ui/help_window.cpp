#include "help_window.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ui_dialogs.h"

namespace qiro {

THelpWindow::THelpWindow(UiDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs) {
  setObjectName("THelpWindow");
  setWindowTitle("Qiro2 Help");
  resize(720, 600);
  auto* layout = new QVBoxLayout(this);
  auto* bar = new QHBoxLayout;
  auto* back = new QPushButton("Back", this);
  auto* home = new QPushButton("Home", this);
  search_ = new QLineEdit(this);
  search_->setObjectName("helpSearch");
  search_->setPlaceholderText("Search");
  search_->setClearButtonEnabled(true);
  auto* find = new QPushButton("Find", this);
  result_ = new QLabel(this);
  auto* external = new QPushButton("Open in browser", this);
  external->setObjectName("helpExternal");
  for (QWidget* w : std::initializer_list<QWidget*>{back, home, search_, find, result_, external})
    bar->addWidget(w);
  layout->addLayout(bar);
  browser_ = new QTextBrowser(this);
  browser_->setObjectName("helpBrowser");
  browser_->setOpenExternalLinks(true);  // web links go to the system browser; the page's own stay here
  layout->addWidget(browser_);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(home, &QPushButton::clicked, browser_, &QTextBrowser::home);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  back->setEnabled(false);
  const auto findTyped = [this] { FindText(search_->text()); };
  connect(search_, &QLineEdit::returnPressed, this, findTyped);
  connect(find, &QPushButton::clicked, this, findTyped);
  connect(external, &QPushButton::clicked, this, &THelpWindow::OpenInBrowser);
}

bool THelpWindow::ShowPage(const QString& path) {
  if (!QFileInfo(path).isReadable()) return false;
  page_ = path;
  browser_->setSearchPaths({QFileInfo(path).absolutePath()});
  browser_->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
  return !browser_->toPlainText().isEmpty();
}

bool THelpWindow::FindText(const QString& text) {
  if (text.isEmpty()) {
    result_->clear();
    return false;
  }
  bool found = browser_->find(text);
  if (!found) {  // past the last one: from the top again
    browser_->moveCursor(QTextCursor::Start);
    found = browser_->find(text);
  }
  result_->setText(found ? QString() : "Not found");
  return found;
}

void THelpWindow::OpenInBrowser() {
  if (!page_.isEmpty()) dialogs_.OpenDocument(page_);
}

}  // namespace qiro
