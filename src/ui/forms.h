// Small dialogs of the main window: the Yes/No confirm window with its blinking second line,
// and the About box.
#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;

namespace qiro {

inline constexpr int kConfirmBlinkMs = 600;
inline constexpr const char* kProgramVersion = "2.3c";

class TFormConfirm : public QDialog {
  Q_OBJECT
 public:
  // With withCancel a Cancel button is added, and Escape or closing the window mean Cancel.
  TFormConfirm(const QString& line1, const QString& line2, QWidget* parent = nullptr,
               bool withCancel = false);
  enum Answer { kNo = QDialog::Rejected, kYes = QDialog::Accepted, kCancel = 2 };
  void reject() override;
  QLabel* secondLine() const { return line2_; }
  bool secondLineGrey() const { return grey_; }
  // One blink: grey to black or back.
  void Blink();

 private:
  QLabel* line2_;
  QTimer timer_;
  bool grey_ = false;
  bool withCancel_ = false;
};

class TFormAbout : public QDialog {
  Q_OBJECT
 public:
  explicit TFormAbout(QWidget* parent = nullptr);
};

}  // namespace qiro
