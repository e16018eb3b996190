// Device faces. The device's rectangle is mapped to pixels (X1, Y1)-(X2, Y2); lights and buttons
// fill it by level and redraw the symbol on top; the sine source shows its value as a bar from
// the bottom edge; the keyboard lights the cell of its key (key 0 bottom left); digits and
// displays clear a margin around the rectangle and draw seven-segment glyphs in the device's
// colour, a lit segment being a filled rectangle around its line widened by the margin.
#include "editor/device_faces.h"

#include <algorithm>
#include <cmath>

#include "editor/renderer.h"
#include "mcu/mcu_core.h"
#include "sim/devices.h"
#include "sim/display_format.h"
#include "workspace.h"

namespace qiro {

namespace {

PixelRect Around(int xa, int ya, int xb, int yb, int m) {
  return PixelRect{std::min(xa, xb) - m, std::min(ya, yb) - m, std::max(xa, xb) + m, std::max(ya, yb) + m};
}

// The value code shown for the level of a pin.
Colour LevelFill(std::uint8_t value, Colour on, Colour background) {
  if (value == kLogic1) return on;
  if (value == kLogic0) return background;
  return palette::kGrey;
}

void DrawDigitFace(const Workspace& ws, Canvas& canvas, int symbol, const PixelRect& r, int m, Colour c) {
  const TSymbol& s = ws.circuit.Symbols[symbol];
  const int format = DisplayFormatOf(s.Vis);
  if (format == kFormatFixedPoint) return;
  int digit = DigitShown(ws, symbol);
  bool minus = false;
  if (format == kFormatSigned && digit >= 8) {
    minus = true;
    digit = 16 - digit;
  }
  DrawSegments(canvas, r, SegmentsOfDigit(digit), m, minus, c);
}

void DrawDisplayFace(const Workspace& ws, Canvas& canvas, int symbol, const PixelRect& r, int m, Colour c) {
  const DisplayFace face = DisplayShown(ws, symbol);
  const int w = (r.right - r.left) / 4;
  const int boxWidth = static_cast<int>(std::lround(0.75 * w));
  for (int k = 0; k < 4; ++k) {
    const int x = r.left + k * w;
    const PixelRect box{x, r.top, x + boxWidth, r.bottom};
    const int digit = face.digits[static_cast<std::size_t>(k)];
    // The sign goes in the first position: as its middle bar when that position is blank,
    // otherwise left of its digit (a fixed-point -1.000).
    if (k == 0 && face.minus && digit == kBlankDigit)
      DrawSegments(canvas, box, kSegG, m, false, c);
    else
      DrawSegments(canvas, box, SegmentsOfDigit(digit), m, k == 0 && face.minus, c);
  }
}

}  // namespace

void DrawSegments(Canvas& canvas, const PixelRect& box, int segments, int m, bool minus, Colour colour) {
  const int left = box.left + (box.right - box.left) / 3;
  const int right = box.right;
  const int top = box.top, bottom = box.bottom;
  const int mid = (top + bottom) / 2;
  const PixelRect lines[7] = {
      Around(left, top, right, top, m),        // a
      Around(right, top, right, mid, m),       // b
      Around(right, mid, right, bottom, m),    // c
      Around(left, bottom, right, bottom, m),  // d
      Around(left, mid, left, bottom, m),      // e
      Around(left, top, left, mid, m),         // f
      Around(left, mid, right, mid, m),        // g
  };
  for (int k = 0; k < 7; ++k)
    if (segments & (1 << k)) canvas.FillRect(lines[k], colour);
  if (minus) {
    // In the free third left of the digit, clear of its left column.
    const int x2 = std::max(box.left, left - 3 * m - 1);
    canvas.FillRect(Around(box.left, mid, x2, mid, m), colour);
  }
}

bool DrawDeviceFace(Workspace& ws, Canvas& canvas, int symbol) {
  if (!ws.circuit.Symbols.Valid(symbol)) return false;
  const TSymbol& s = ws.circuit.Symbols[symbol];
  if (s.State == kDeleted || s.Internal != 0) return false;
  const int model = s.Model;
  if (model != kModelLight && model != kModelButton && model != kModelSinus && model != kModelKbd &&
      model != kModelDigit && model != kModelDisplay && model != kModelSevenSeg)
    return false;

  const View& v = ws.view;
  const int x1 = v.WorldToScreenX(s.Rec.x1), y1 = v.WorldToScreenY(s.Rec.y1);
  const int x2 = v.WorldToScreenX(s.Rec.x2), y2 = v.WorldToScreenY(s.Rec.y2);
  PixelRect visible = Around(x1, y1, x2, y2, 0);
  if (!ClipToDrawingArea(v, visible)) return false;

  const Colour background = ws.settings.Monochrome ? palette::kWhite : palette::kBlack;
  const Colour c = LightColour(s.RecColour);
  const Pen pen = canvas.pen();
  const Brush brush = canvas.brush();
  canvas.pen().op = RasterOp::Copy;

  switch (model) {
    case kModelLight:
    case kModelButton: {
      const std::uint8_t value = model == kModelLight ? LightLevel(ws, symbol) : s.Pin(1).Value;
      canvas.FillRect(PixelRect{x1 + 1, y1 + 1, x2, y2}, LevelFill(value, c, background));
      DrawSymbol(ws, canvas, symbol);
      break;
    }
    case kModelSinus: {
      int value = 0;
      for (int k = 1; k <= 8; ++k)
        if (s.Pin(k).Value == kLogic1) value |= 1 << (k - 1);
      canvas.FillRect(PixelRect{x1 + 1, y1 + 1, x2, y2}, background);
      const int h = static_cast<int>(std::lround((y2 - y1) * value / 255.0 + 1));
      canvas.FillRect(PixelRect{x1, y2 - h + 1, x2, y2}, c);
      canvas.SetPen(
          Pen{IsMonochrome(ws) ? palette::kBlack : palette::kLime, PenStyle::Solid, RasterOp::Copy, 1});
      canvas.SetBrush(Brush{background, true});
      canvas.Rectangle(PixelRect{x1, y1, x2, y2});
      break;
    }
    case kModelKbd: {
      canvas.FillRect(PixelRect{x1, y1, x2, y2}, background);
      const int key = KeyboardKey(ws, symbol);
      const int column = key % 4, row = key / 4;
      const int w = (x2 - x1) / 4, h = (y2 - y1) / 4;
      canvas.FillRect(
          Around(x1 + column * w, y2 - row * h, x1 + (column + 1) * w + 3, y2 - (row + 1) * h - 3, 0),
          palette::kBlue);
      DrawSymbol(ws, canvas, symbol);
      break;
    }
    default: {  // digit, display, seven segments
      const int m = (x2 - x1) / (model == kModelDisplay ? 50 : 8);
      canvas.FillRect(PixelRect{x1 - m, y1 - m, x2 + m, y2 + m}, background);
      const PixelRect r{x1, y1, x2, y2};
      if (model == kModelSevenSeg)
        DrawSegments(canvas, r, SevenSegLit(ws, symbol), m, false, c);
      else if (model == kModelDigit)
        DrawDigitFace(ws, canvas, symbol, r, m, c);
      else
        DrawDisplayFace(ws, canvas, symbol, r, m, c);
      break;
    }
  }
  canvas.SetPen(pen);
  canvas.SetBrush(brush);
  return true;
}

bool DrawMcuState(Workspace& ws, Canvas& canvas, int symbol) {
  if (!ws.circuit.Symbols.Valid(symbol)) return false;
  const TSymbol& s = ws.circuit.Symbols[symbol];
  if (s.State == kDeleted || s.BBox.IsEmpty()) return false;
  const View& v = ws.view;
  PixelRect visible{v.WorldToScreenX(s.BBox.x1), v.WorldToScreenY(s.BBox.y1), v.WorldToScreenX(s.BBox.x2),
                    v.WorldToScreenY(s.BBox.y2)};
  if (!ClipToDrawingArea(v, visible)) return false;

  // Room for the longest line, "opCode=00", and three lines 20 pixels apart.
  constexpr int kWidth = 80, kHeight = 60;
  const int x = v.WorldToScreenX(s.BBox.x1), y = v.WorldToScreenY(s.BBox.y1);
  const Colour background = BackgroundColour(ws);
  canvas.FillRect(PixelRect{x, y, x + kWidth, y + kHeight}, background);
  const Font font = canvas.font();
  const Brush brush = canvas.brush();
  canvas.font().colour = IsMonochrome(ws) ? palette::kBlack : palette::kWhite;
  canvas.brush() = Brush{background, false};
  const auto lines = McuStateLines(ws.mcu);
  for (int k = 0; k < 3; ++k) canvas.Text(x + 2, y + 2 + 20 * k, lines[static_cast<std::size_t>(k)]);
  canvas.SetFont(font);
  canvas.SetBrush(brush);
  return true;
}

}  // namespace qiro
