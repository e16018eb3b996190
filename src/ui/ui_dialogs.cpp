#include "ui_dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintPreviewDialog>
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

UiDialogs::SaveChoice QtDialogs::AskSave(QWidget* parent, const QString& line1, const QString& line2) {
  TFormConfirm form(line1, line2, parent, true);
  const int answer = form.exec();
  return answer == TFormConfirm::kYes  ? SaveChoice::Save
         : answer == TFormConfirm::kNo ? SaveChoice::Discard
                                       : SaveChoice::Cancel;
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

bool QtDialogs::Print(QWidget* parent, QPrinter& printer, const std::function<void(QPrinter*)>& paint) {
  QPrintPreviewDialog preview(&printer, parent);
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                   [&paint](QPrinter* p) { paint(p); });
  return preview.exec() == QDialog::Accepted;
}

bool QtDialogs::OpenDocument(const QString& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace qiro
