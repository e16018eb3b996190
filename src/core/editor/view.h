// The visible window of the schematic and its mapping onto the drawing area's pixels:
// scales and offsets per axis, zoom steps, zoom to a band, fitting, scroll bars and resize.
// Pure state and arithmetic; the window only forwards its events here.
#pragma once

#include <cstdint>
#include <span>

#include "editor/canvas.h"
#include "model/geometry.h"

namespace qiro {

class Circuit;
class Workspace;

inline constexpr int kScreenLimit = 32000;   // pixel coordinates are clamped to +-this
inline constexpr int kScrollBarSize = 17;    // width of the vertical bar, height of the horizontal one
inline constexpr int kScrollRange = 100;     // scroll bar positions 0..kScrollRange
inline constexpr int kScrollDivisions = 20;  // one scroll position moves the view by 1/20 of its extent

enum class ViewKey { Left, Right, Up, Down };

struct ScrollBarLayout {
  PixelRect horizontal;  // along the bottom of the client area
  PixelRect vertical;    // down the right edge, below the tool panels
};

class View {
 public:
  View() { FitView(); }

  // World rectangle shown (schematic units) and the pixel area it is drawn into.
  Rect world{0, 0, 600, 440};
  PixelRect area{0, 0, 623, 463};
  double aspect = 1.0;  // horizontal scale over vertical scale
  double scaleX = 1.0, scaleY = 1.0, offsetX = 0.0, offsetY = 0.0;
  int gridStep = 5;  // set by every grid drawing; pin marks and the wire hit test read it

  // Drawing modes of the main window that change what the renderer shows.
  bool printing = false;    // drawing for the printer: black on white, no grid
  bool netView = false;     // pins show node numbers
  bool singleStep = false;  // redraw after one simulation step: pins show their delay lines
  // The engine's delay cells (value codes) that a single-step redraw shows; set with singleStep.
  std::span<const std::uint8_t> delayCells;

  // Scroll bar positions, 0..kScrollRange; fitting puts both in the middle.
  int hScroll = kScrollRange / 2;
  int vScroll = kScrollRange / 2;

  // Recomputes scales and offsets from the world rectangle, the area and the aspect factor.
  void FitView();

  // The schematic rectangle the whole drawing area shows. It reaches past `world` along the
  // axis whose scale did not decide the fit.
  Rect Shown() const;

  int WorldToScreenX(int x) const;
  int WorldToScreenY(int y) const;
  int ScreenToWorldX(int px) const;
  int ScreenToWorldY(int py) const;

  // One zoom step in or out about the middle of the view (a seventh of each extent per side).
  void ZoomIn();
  void ZoomOut();
  // Zoom to a band in schematic units; a band of 10 units or less in either direction shows
  // the 60 x 60 square around its first corner.
  void ZoomToBand(int x1, int y1, int x2, int y2);
  // Shows a box with a margin of 7 units left and top and 15 right and bottom, bars centred.
  void FitToBox(const Rect& box);

  // New client size; the drawing area starts below the tool panels (top) and leaves room for
  // the two scroll bars. Returns where the bars go.
  ScrollBarLayout Resize(int clientWidth, int clientHeight, int top = 0);
  // A scroll bar moved to a new position: shift the view by the change.
  void ScrollHorizontalTo(int position);
  void ScrollVerticalTo(int position);
  // An arrow key moves the matching scroll bar by one position.
  void ArrowKey(ViewKey key);
  // Mouse wheel notches: each scrolls by three scroll positions (down and right positive).
  void WheelScroll(int notchesX, int notchesY);
  // One zoom step (as ZoomIn or ZoomOut) that keeps the schematic point under the pixel
  // (px, py) where it is.
  void ZoomAt(int px, int py, bool in);
};

// Whether a press at (x1, y1) released at (x2, y2) (schematic units) moved less than the grid
// step shown in both directions, and so is a click rather than a drag.
bool WithinClick(const View& view, int x1, int y1, int x2, int y2);

// Rounds to the nearest multiple of the 5-unit grid.
int SnapToGrid(int v);

// The drawing extent with the symbol titles and texts, which stand above and below the boxes.
Rect ExtentWithTitles(const Circuit& circuit);

// Recomputes the schematic bounding box and fits the view to it and the symbols' texts.
void FitViewToSchematic(Workspace& ws);

// Escape: brings every highlighted entry back to normal.
void EscapePressed(Workspace& ws);

}  // namespace qiro
