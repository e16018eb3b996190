#include "form_loglib.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QDrag>
#include <QGridLayout>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "drawing_area.h"
#include "editor/renderer.h"
#include "editor/view.h"
#include "main_window.h"
#include "model/catalogue.h"
#include "model/schematic_file.h"
#include "model/symbol_library.h"
#include "qt_canvas.h"
#include "symbols/palette.h"
#include "workspace.h"

namespace qiro {

namespace {

constexpr int kPictureSize = 36;
constexpr int kColumns = 3;

}  // namespace

QPixmap SymbolPicture(const std::filesystem::path& file, int size) {
  QImage image(size, size, QImage::Format_RGB32);
  image.fill(Qt::white);
  Workspace ws;
  const auto bb = MeasureSymbolFile(ws, file);
  if (bb && SchematicLoad(ws, file, kLoadSymbol, bb->x2, bb->y2) && ws.circuit.Symbols.Count() >= 1) {
    TSymbol& s = ws.circuit.Symbols[1];
    s.Vis = 0;  // no title or property texts: too small to read
    ws.view.printing = true;
    ws.view.area = PixelRect{1, 1, size - 2, size - 2};
    const Rect& b = s.BBox;
    // Square world window around the symbol so it keeps its proportions, centred.
    const int w = b.x2 - b.x1, h = b.y2 - b.y1, side = std::max(w, h) + 4;
    const int x1 = b.x1 - (side - w) / 2, y1 = b.y1 - (side - h) / 2;
    ws.view.world = Rect{x1, y1, x1 + side, y1 + side};
    ws.view.FitView();
    ws.view.gridStep = 25;  // the smallest pin marks
    QtCanvas canvas(image);
    DrawSymbol(ws, canvas, 1);
  }
  return QPixmap::fromImage(image);
}

TFormLoglib::TFormLoglib(Workspace& ws, QWidget* mainWindow, std::function<void()> onClosed)
    : QWidget(mainWindow, Qt::Tool | Qt::WindowStaysOnTopHint), ws_(ws), onClosed_(std::move(onClosed)) {
  setObjectName("TFormLoglib");
  setWindowTitle("Symbol library");
  setAcceptDrops(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  pages_ = new QTabWidget(this);
  pages_->setObjectName("PageCtlSym");
  layout->addWidget(pages_);
  auto* basic = new QWidget;
  basic->setObjectName("TabBasic");
  auto* other = new QWidget;
  other->setObjectName("TabOther");
  pages_->addTab(basic, "Basic");
  pages_->addTab(other, "Advanced");
  auto* basicGrid = new QGridLayout(basic);
  auto* otherGrid = new QGridLayout(other);
  for (QGridLayout* g : {basicGrid, otherGrid}) {
    g->setSpacing(1);
    g->setContentsMargins(2, 2, 2, 2);
  }

  int basicCell = 0, otherRow = 0, otherColumn = kColumns;
  std::string heading;
  for (const PaletteButton& pb : PaletteButtons()) {
    auto* b = new QToolButton;
    b->setObjectName(pb.Name);
    b->setToolTip(pb.Hint);
    b->setIconSize(QSize(kPictureSize, kPictureSize));
    b->setAutoRaise(true);
    b->installEventFilter(this);
    buttons_.push_back(b);
    if (pb.Page == 0) {
      basicGrid->addWidget(b, basicCell / kColumns, basicCell % kColumns);
      ++basicCell;
      continue;
    }
    if (heading != pb.Heading) {
      heading = pb.Heading;
      if (otherColumn != 0) ++otherRow;
      auto* label = new QLabel(QString::fromUtf8(pb.Heading));
      otherGrid->addWidget(label, otherRow++, 0, 1, kColumns);
      otherColumn = 0;
    }
    otherGrid->addWidget(b, otherRow, otherColumn);
    if (++otherColumn == kColumns) {
      otherColumn = 0;
      ++otherRow;
    }
  }
  basicGrid->setRowStretch(basicCell / kColumns + 1, 1);
  otherGrid->setRowStretch(otherRow + 1, 1);

  // Below the main window's tool panels, beside its right edge where the screen has room,
  // otherwise inside it but clear of the drawing's vertical scroll bar.
  const QRect main = mainWindow ? mainWindow->frameGeometry() : QRect();
  const QScreen* screen = mainWindow ? mainWindow->screen() : nullptr;
  const int width = sizeHint().width();
  int x = main.right() + 1;
  if (screen && x + width > screen->availableGeometry().right())
    x = std::max(main.left(), main.right() - kScrollBarSize - width - 8);
  move(x, main.top() + 95);
  state_.Dragging = false;
  pages_->setCurrentIndex(0);
}

QAbstractButton* TFormLoglib::button(const QString& name) const {
  for (QAbstractButton* b : buttons_)
    if (b->objectName() == name) return b;
  return nullptr;
}

void TFormLoglib::RefreshPictures() {
  if (picturesDir_ == ws_.settings.SymbolDir && !picturesDir_.empty()) return;
  picturesDir_ = ws_.settings.SymbolDir;
  for (QAbstractButton* b : buttons_) {
    const int model = ModelOfPaletteButton(b->objectName().toStdString());
    b->setIcon(QIcon(SymbolPicture(SymbolPath(ws_, LibraryNameOfModel(model)), kPictureSize)));
  }
}

void TFormLoglib::showEvent(QShowEvent* e) {
  RefreshPictures();
  QWidget::showEvent(e);
}

void TFormLoglib::sbButtonMouseDown(QAbstractButton* button) {
  const int model = ModelOfPaletteButton(button ? button->objectName().toStdString() : std::string());
  if (const auto warning = PrepareDrag(ws_, state_, model)) ws_.host().ShowWarning(*warning);
}

bool TFormLoglib::eventFilter(QObject* watched, QEvent* event) {
  auto* b = qobject_cast<QAbstractButton*>(watched);
  if (!b) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* m = static_cast<QMouseEvent*>(event);
      if (m->button() != Qt::LeftButton) break;
      pressPos_ = m->position().toPoint();
      pressed_ = true;
      sbButtonMouseDown(b);
      return true;
    }
    case QEvent::MouseMove: {
      auto* m = static_cast<QMouseEvent*>(event);
      if (!pressed_ || !(m->buttons() & Qt::LeftButton)) break;
      if ((m->position().toPoint() - pressPos_).manhattanLength() < QApplication::startDragDistance()) break;
      pressed_ = false;
      StartDrag(b);
      return true;
    }
    case QEvent::MouseButtonRelease:
      if (!pressed_) break;
      // A press released where it started places nothing.
      pressed_ = false;
      state_.Clear();
      return true;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

void TFormLoglib::StartDrag(QAbstractButton* button) {
  if (!state_.Dragging) {
    state_.Clear();
    return;
  }
  auto* drag = new QDrag(button);
  auto* mime = new QMimeData;
  mime->setData(kPaletteMime, QByteArray::number(state_.Model));
  drag->setMimeData(mime);
  drag->setPixmap(button->icon().pixmap(kPictureSize, kPictureSize));
  drag->exec(Qt::CopyAction);
  // Dropped or cancelled: either way the pressed kind is used up.
  state_.Clear();
}

void TFormLoglib::closeEvent(QCloseEvent* e) {
  hide();
  if (onClosed_) onClosed_();
  e->accept();
}

// Dropping back on the palette is allowed and does nothing.
void TFormLoglib::dragEnterEvent(QDragEnterEvent* e) {
  if (e->mimeData()->hasFormat(kPaletteMime)) e->acceptProposedAction();
}
void TFormLoglib::dragMoveEvent(QDragMoveEvent* e) {
  if (e->mimeData()->hasFormat(kPaletteMime)) e->acceptProposedAction();
}
void TFormLoglib::dropEvent(QDropEvent* e) {
  e->acceptProposedAction();
}

// The main window's side of the palette.

void Tmdiframe::ShowLibrary() {
  ResetTools();
  auto* palette = findChild<TFormLoglib*>();
  if (!palette) {
    palette = new TFormLoglib(ws_, this, [this] { tools_["sbloglib"]->setChecked(false); });
  }
  tools_["sbloglib"]->setCheckable(true);
  tools_["sbloglib"]->setChecked(true);
  show();
  palette->show();
  palette->raise();
  palette->activateWindow();
}

void Tmdiframe::HideLibrary() {
  if (auto* palette = findChild<TFormLoglib*>()) palette->hide();
}

void Tmdiframe::PaletteDragMove(QPoint p) {
  drawing_->ResetShown();
  auto* palette = findChild<TFormLoglib*>();
  const PaletteState* state = palette ? &palette->state() : nullptr;
  if (state && state->InsertPending && state->Dragging && !SimulationRunning()) {
    // The outline ends 2 pixels right of and below the cursor, where the symbol's corner goes.
    QtCanvas canvas(drawing_->shownForDrawing());
    const int x = p.x() + 2, y = p.y() + 2;
    XorRectangle(canvas, x - state->OutlineWidth, y - state->OutlineHeight, x, y);
  }
  drawing_->update();
}

void Tmdiframe::PaletteDragLeave() {
  drawing_->ResetShown();
  drawing_->update();
}

void Tmdiframe::PaletteDrop(QPoint p, int model) {
  auto* palette = findChild<TFormLoglib*>();
  if (!palette) return;
  PaletteState& state = palette->state();
  const bool place = state.InsertPending && state.Dragging && !SimulationRunning();
  state.Clear();
  if (place) PlaceLibrarySymbol(ws_, model, WorldX(p), WorldY(p));
  Record("Place Symbol");
  ResetTools();
  RedrawAll();
}

}  // namespace qiro
