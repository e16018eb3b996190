#include "print_schema.h"

#include <QFont>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include "editor/renderer.h"
#include "editor/view.h"
#include "qt_canvas.h"
#include "workspace.h"

namespace qiro {

namespace {

constexpr double kScreenDpi = 96.0;  // the page is drawn as on a screen of this resolution
constexpr int kFooterHeight = 24;    // logical pixels below the drawing
// Room around the drawing's extent in schematic units; titles stand above their symbols.
constexpr int kSideMargin = 10, kTopMargin = 25;

}  // namespace

void ChooseOrientation(const Workspace& ws, QPrinter& printer) {
  const Rect box = DrawingExtent(ws.circuit);
  const bool wide = static_cast<long long>(box.x2) - box.x1 > static_cast<long long>(box.y2) - box.y1;
  printer.setPageOrientation(wide ? QPageLayout::Landscape : QPageLayout::Portrait);
}

QString PrintFooter(const Workspace& ws, const QDateTime& when) {
  return QString::fromStdString(ws.circuit.FileName) + "    " + when.toString("yyyy-MM-dd hh:mm");
}

bool PrintSchematic(Workspace& ws, QPrinter& printer, const QString& footer) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  const double k = printer.resolution() / kScreenDpi;
  painter.scale(k, k);
  const QSize logical(static_cast<int>(page.width() / k), static_cast<int>(page.height() / k));

  // The page gets a view of its own, black on white; the window's view is put back after.
  const View screen = ws.view;
  View& v = ws.view;
  v.printing = true;
  v.netView = v.singleStep = false;
  v.delayCells = {};
  v.aspect = 1.0;
  v.area = PixelRect{0, 0, logical.width() - 1, logical.height() - kFooterHeight};
  const Rect box = DrawingExtent(ws.circuit);
  v.world = Rect{box.x1 - kSideMargin, box.y1 - kTopMargin, box.x2 + kSideMargin, box.y2 + kSideMargin};
  v.FitView();
  v.offsetX += (v.area.right - (v.world.x2 - v.world.x1) * v.scaleX) / 2;  // centred across
  {
    QtCanvas canvas(painter, logical);
    RedrawAll(ws, canvas);
  }
  ws.view = screen;

  QFont font("Arial");
  font.setPixelSize(11);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawLine(0, logical.height() - kFooterHeight + 4, logical.width(),
                   logical.height() - kFooterHeight + 4);
  painter.drawText(QRect(0, logical.height() - kFooterHeight + 6, logical.width(), kFooterHeight - 6),
                   Qt::AlignLeft | Qt::AlignVCenter, footer);
  return painter.end();
}

}  // namespace qiro
