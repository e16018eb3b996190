// Every question the main window asks the user goes through this interface, so the offscreen
// tests can answer them. QtDialogs shows the real windows.
#pragma once

#include <QImage>
#include <QString>
#include <filesystem>
#include <functional>
#include <optional>

class QPrinter;
class QWidget;

namespace qiro {

// "Desc|*.ext|Desc|*.ext" into Qt's "Desc (*.ext);;Desc (*.ext)"; descriptions kept as written.
QString ToQtFilter(const QString& pipeFilter);

class UiDialogs {
 public:
  virtual ~UiDialogs() = default;
  virtual std::optional<QString> OpenFile(QWidget* parent, const QString& dir, const QString& filter) = 0;
  virtual std::optional<QString> SaveFile(QWidget* parent, const QString& proposed,
                                          const QString& filter) = 0;
  // A Yes/No question box with a caption.
  virtual bool Question(QWidget* parent, const QString& caption, const QString& text) = 0;
  // The confirm window: two lines, Yes or No.
  virtual bool Confirm(QWidget* parent, const QString& line1, const QString& line2) = 0;
  // The confirm window with Yes, No and Cancel, for the question whether to save changes.
  enum class SaveChoice { Save, Discard, Cancel };
  virtual SaveChoice AskSave(QWidget* parent, const QString& line1, const QString& line2) {
    return Confirm(parent, line1, line2) ? SaveChoice::Save : SaveChoice::Discard;
  }
  virtual std::optional<QString> InputText(QWidget* parent, const QString& title, const QString& label,
                                           const QString& initial) = 0;
  virtual void About(QWidget* parent) = 0;
  // Print preview of the pages paint draws on the printer, from which the user prints;
  // false when it was closed without printing.
  virtual bool Print(QWidget* parent, QPrinter& printer, const std::function<void(QPrinter*)>& paint) = 0;
  // Opens a local document with the system's handler.
  virtual bool OpenDocument(const QString& path) = 0;
};

// Asks before a file that exists is replaced; true when `path` may be written (it does not
// exist, or the user agreed). With `nameTheFile` false the question is Save As's own, which follows
// the choice of that very file; otherwise it names the file.
bool AskBeforeReplacing(UiDialogs& dialogs, QWidget* parent, const std::filesystem::path& path,
                        bool nameTheFile = true);

class QtDialogs : public UiDialogs {
 public:
  std::optional<QString> OpenFile(QWidget* parent, const QString& dir, const QString& filter) override;
  std::optional<QString> SaveFile(QWidget* parent, const QString& proposed, const QString& filter) override;
  bool Question(QWidget* parent, const QString& caption, const QString& text) override;
  bool Confirm(QWidget* parent, const QString& line1, const QString& line2) override;
  SaveChoice AskSave(QWidget* parent, const QString& line1, const QString& line2) override;
  std::optional<QString> InputText(QWidget* parent, const QString& title, const QString& label,
                                   const QString& initial) override;
  void About(QWidget* parent) override;
  bool Print(QWidget* parent, QPrinter& printer, const std::function<void(QPrinter*)>& paint) override;
  bool OpenDocument(const QString& path) override;
};

}  // namespace qiro
