#include "ui_dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>
#include <QUrl>

#include "forms.h"
#include "model/schematic_file.h"

namespace qiro {

QString ToQtFilter(const QString& pipeFilter) {
  const QStringList parts = pipeFilter.split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    out << parts[i] + " (" + patterns + ")";
  }
  return out.join(";;");
}

bool AskBeforeReplacing(UiDialogs& dialogs, QWidget* parent, const std::filesystem::path& path,
                        bool nameTheFile) {
  if (!SaveAsNeedsOverwriteQuestion(path)) return true;
  const QString text = nameTheFile ? "The file \"" + QString::fromStdString(path.string()) +
                                         "\" already exists. Will you overwrite it?"
                                   : QString("This file already exist. Will you overwrite it?");
  return dialogs.Question(parent, "Warning", text);
}

std::optional<QString> QtDialogs::OpenFile(QWidget* parent, const QString& dir, const QString& filter) {
  const QString f = QFileDialog::getOpenFileName(parent, "Open", dir, ToQtFilter(filter));
  if (f.isEmpty()) return std::nullopt;
  return f;
}

std::optional<QString> QtDialogs::SaveFile(QWidget* parent, const QString& proposed, const QString& filter) {
  // The overwrite question is the window's own, so Qt's is switched off.
  const QString f = QFileDialog::getSaveFileName(parent, "Save As", proposed, ToQtFilter(filter), nullptr,
                                                 QFileDialog::DontConfirmOverwrite);
  if (f.isEmpty()) return std::nullopt;
  return f;
}

bool QtDialogs::Question(QWidget* parent, const QString& caption, const QString& text) {
  return QMessageBox::warning(parent, caption, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool QtDialogs::Confirm(QWidget* parent, const QString& line1, const QString& line2) {
  TFormConfirm form(line1, line2, parent);
  return form.exec() == QDialog::Accepted;
}

std::optional<QString> QtDialogs::InputText(QWidget* parent, const QString& title, const QString& label,
                                            const QString& initial) {
  bool ok = false;
  const QString s = QInputDialog::getText(parent, title, label, QLineEdit::Normal, initial, &ok);
  if (!ok) return std::nullopt;
  return s;
}

void QtDialogs::About(QWidget* parent) {
  TFormAbout about(parent);
  about.exec();
}

bool QtDialogs::Print(QWidget* parent, const QImage& page) {
  QPrinter printer;
  QPrintDialog dialog(&printer, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  QPainter p(&printer);
  const QRect target = p.viewport();
  const QSize size = page.size().scaled(target.size(), Qt::KeepAspectRatio);
  p.setViewport(target.x(), target.y(), size.width(), size.height());
  p.setWindow(page.rect());
  p.drawImage(0, 0, page);
  return true;
}

bool QtDialogs::OpenDocument(const QString& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace qiro
