// The symbol library palette: a small tool window, always on top, with one button per library
// primitive. Pressing a button remembers its kind and measures its symbol file; dragging it
// onto the drawing places the primitive at the drop point.
#pragma once

#include <QPixmap>
#include <QPoint>
#include <QWidget>
#include <filesystem>
#include <functional>

#include "symbols/palette.h"

class QAbstractButton;
class QTabWidget;

namespace qiro {

class Workspace;

// Mime type of a palette drag; the data is the model code as decimal text.
inline constexpr const char* kPaletteMime = "application/x-qiro-palette";

// A small picture of a symbol file drawn by the schematic renderer, black on white; a blank
// picture when the file cannot be read.
QPixmap SymbolPicture(const std::filesystem::path& file, int size);

class TFormLoglib : public QWidget {
  Q_OBJECT
 public:
  // onClosed runs when the user closes the palette.
  TFormLoglib(Workspace& ws, QWidget* mainWindow, std::function<void()> onClosed);
  QAbstractButton* button(const QString& name) const;
  QTabWidget* pages() const { return pages_; }
  // The last pressed button, read by the drawing when the button is dropped on it.
  PaletteState& state() { return state_; }
  // The press handler shared by every button.
  void sbButtonMouseDown(QAbstractButton* button);
  // Redraws the button pictures when the symbol directory changed since they were drawn.
  void RefreshPictures();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  void StartDrag(QAbstractButton* button);

  Workspace& ws_;
  PaletteState state_;
  std::function<void()> onClosed_;
  QTabWidget* pages_;
  std::vector<QAbstractButton*> buttons_;
  std::filesystem::path picturesDir_;
  QPoint pressPos_;
  bool pressed_ = false;
};

}  // namespace qiro
