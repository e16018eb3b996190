// View arithmetic. Scale per axis is pixels over schematic units (10 when the view is 5 units
// or less across), the vertical scale is the smaller of the two after the aspect factor, and
// the offsets put the view's top-left corner on the area's. Screen coordinates are clamped to
// +-32000 before rounding so far-away items still give drawable numbers.
#include "editor/view.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "workspace.h"

namespace qiro {

namespace {

int ToScreen(int v, double scale, double offset) {
  double p = static_cast<double>(v) * scale + offset;
  if (!(p <= kScreenLimit)) p = kScreenLimit;  // also catches NaN
  if (p < -kScreenLimit) p = -kScreenLimit;
  return static_cast<int>(std::lround(p));
}

int ToWorld(int p, double scale, double offset) {
  if (!(std::fabs(scale) > 1e-12)) return 0;
  double v = (static_cast<double>(p) - offset) / scale;
  v = std::clamp(v, -1e9, 1e9);
  return static_cast<int>(std::lround(v));
}

}  // namespace

void View::FitView() {
  const double pw = area.right - area.left;
  const double ph = area.bottom - area.top;
  const int ww = world.x2 - world.x1;
  const int wh = world.y2 - world.y1;
  const double sx0 = std::abs(ww) > 5 ? pw / ww : 10.0;
  const double sy0 = std::abs(wh) > 5 ? ph / wh : 10.0;
  const double a = aspect > 0 ? aspect : 1.0;
  scaleY = std::min(sy0, sx0 / a);
  // A window with no width or height must not give a zero scale: every later conversion
  // back to schematic units divides by it.
  if (!(scaleY > 1e-6)) scaleY = 1e-6;
  scaleX = scaleY * a;
  offsetX = area.left - world.x1 * scaleX;
  offsetY = area.top - world.y1 * scaleY;
}

Rect View::Shown() const {
  const int x1 = ScreenToWorldX(area.left), x2 = ScreenToWorldX(area.right);
  const int y1 = ScreenToWorldY(area.top), y2 = ScreenToWorldY(area.bottom);
  return Rect{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

int View::WorldToScreenX(int x) const {
  return ToScreen(x, scaleX, offsetX);
}
int View::WorldToScreenY(int y) const {
  return ToScreen(y, scaleY, offsetY);
}
int View::ScreenToWorldX(int px) const {
  return ToWorld(px, scaleX, offsetX);
}
int View::ScreenToWorldY(int py) const {
  return ToWorld(py, scaleY, offsetY);
}

void View::ZoomIn() {
  const int dx = (world.x2 - world.x1) / 7;
  const int dy = (world.y2 - world.y1) / 7;
  world = Rect{world.x1 + dx, world.y1 + dy, world.x2 - dx, world.y2 - dy};
  FitView();
}

void View::ZoomOut() {
  const int dx = (world.x2 - world.x1) / 7;
  const int dy = (world.y2 - world.y1) / 7;
  // Stay far inside int range however often the user zooms out.
  constexpr int kLimit = 100000000;
  world = Rect{std::max(world.x1 - dx, -kLimit), std::max(world.y1 - dy, -kLimit),
               std::min(world.x2 + dx, kLimit), std::min(world.y2 + dy, kLimit)};
  FitView();
}

void View::ZoomToBand(int x1, int y1, int x2, int y2) {
  if (std::abs(x2 - x1) > 10 && std::abs(y2 - y1) > 10)
    world = Rect{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  else
    world = Rect{x1 - 30, y1 - 30, x1 + 30, y1 + 30};
  FitView();
}

void View::FitToBox(const Rect& box) {
  hScroll = vScroll = kScrollRange / 2;
  world = Rect{box.x1 - 7, box.y1 - 7, box.x2 + 15, box.y2 + 15};
  FitView();
}

ScrollBarLayout View::Resize(int clientWidth, int clientHeight, int top) {
  const int right = std::max(0, clientWidth - kScrollBarSize);
  const int bottom = std::max(top, clientHeight - kScrollBarSize);
  area = PixelRect{0, top, right, bottom};
  FitView();
  return ScrollBarLayout{PixelRect{0, bottom, right, std::max(bottom, clientHeight)},
                         PixelRect{right, top, std::max(right, clientWidth), bottom}};
}

void View::ScrollHorizontalTo(int position) {
  position = std::clamp(position, 0, kScrollRange);
  const int step = std::max(1, (world.x2 - world.x1) / kScrollDivisions);
  const int shift = (position - hScroll) * step;
  hScroll = position;
  world.x1 += shift;
  world.x2 += shift;
  FitView();
}

void View::ScrollVerticalTo(int position) {
  position = std::clamp(position, 0, kScrollRange);
  const int step = std::max(1, (world.y2 - world.y1) / kScrollDivisions);
  const int shift = (position - vScroll) * step;
  vScroll = position;
  world.y1 += shift;
  world.y2 += shift;
  FitView();
}

void View::ArrowKey(ViewKey key) {
  switch (key) {
    case ViewKey::Left:
      ScrollHorizontalTo(hScroll - 1);
      break;
    case ViewKey::Right:
      ScrollHorizontalTo(hScroll + 1);
      break;
    case ViewKey::Up:
      ScrollVerticalTo(vScroll - 1);
      break;
    case ViewKey::Down:
      ScrollVerticalTo(vScroll + 1);
      break;
  }
}

void View::WheelScroll(int notchesX, int notchesY) {
  constexpr int kPositionsPerNotch = 3;
  if (notchesX != 0) ScrollHorizontalTo(hScroll + notchesX * kPositionsPerNotch);
  if (notchesY != 0) ScrollVerticalTo(vScroll + notchesY * kPositionsPerNotch);
}

void View::ZoomAt(int px, int py, bool in) {
  const int w = world.x2 - world.x1, h = world.y2 - world.y1;
  // The same limits as the zoom steps: no step below 7 units, none past the far limit.
  if (in && (w < 7 || h < 7)) return;
  constexpr double kLimit = 100000000;
  if (!in && (std::max(std::abs(world.x1), std::abs(world.x2)) > kLimit / 2 ||
              std::max(std::abs(world.y1), std::abs(world.y2)) > kLimit / 2))
    return;
  const double f = in ? 5.0 / 7.0 : 7.0 / 5.0;
  const double wx = (px - offsetX) / scaleX, wy = (py - offsetY) / scaleY;
  const auto at = [f](double centre, int edge) {
    return static_cast<int>(std::lround(centre + (edge - centre) * f));
  };
  world = Rect{at(wx, world.x1), at(wy, world.y1), at(wx, world.x2), at(wy, world.y2)};
  FitView();
}

bool WithinClick(const View& view, int x1, int y1, int x2, int y2) {
  const int step = std::max(1, view.gridStep);
  return std::abs(x2 - x1) < step && std::abs(y2 - y1) < step;
}

int SnapToGrid(int v) {
  return Snap(v);
}

Rect ExtentWithTitles(const Circuit& c) {
  Rect box = DrawingExtent(c);
  // A title's text hangs below its anchor, the property and name lines 15 and 30 below it.
  constexpr int kTextHeight = 10;
  for (const TSymbol& s : c.Symbols) {
    if (s.State == kDeleted || s.Internal != 0 || s.BBox.IsEmpty()) continue;
    if (s.Vis & 4) box.Add(Rect{s.TitleX, s.TitleY, s.TitleX, s.TitleY + kTextHeight});
    if (s.Vis & 2) box.Add(Rect{s.TitleX, s.TitleY, s.TitleX, s.TitleY + 30 + kTextHeight});
  }
  return box;
}

void FitViewToSchematic(Workspace& ws) {
  ws.circuit.BBox = DrawingExtent(ws.circuit);
  ws.view.FitToBox(ExtentWithTitles(ws.circuit));
}

void EscapePressed(Workspace& ws) {
  ResetHighlight(ws);
}

}  // namespace qiro
