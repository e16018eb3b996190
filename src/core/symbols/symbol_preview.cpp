// One factor for both axes, image size / (extent + 20 units) for the tighter axis but never
// above 4 pixels a unit, and a point maps to (x * factor + 10, y * factor + 10) pixels: the
// symbol keeps a margin on every side and its proportions, and a small symbol keeps its
// size while its box is widened or narrowed, so Fatter and Thinner show at once.
#include "symbols/symbol_preview.h"

#include <algorithm>

namespace qiro {

namespace {

constexpr Colour kMaroon{128, 0, 0};

}  // namespace

void DrawSymbolPreview(Canvas& canvas, const GeneratedSymbol& s, const std::string& title, int width,
                       int height) {
  canvas.Clear(palette::kWhite);
  const Rect& e = s.Extent;
  constexpr double kMaxFactor = 4;
  const double f = std::min({kMaxFactor, width / static_cast<double>(e.x2 - e.x1 + 20),
                             height / static_cast<double>(e.y2 - e.y1 + 20)});
  const double fx = f, fy = f;
  auto px = [fx](int x) { return static_cast<int>(x * fx) + 10; };
  auto py = [fy](int y) { return static_cast<int>(y * fy) + 10; };

  const Rect& b = s.Box;
  canvas.SetPen(Pen{palette::kGreen, PenStyle::Solid, RasterOp::Copy, 1});
  canvas.SetBrush(Brush{palette::kWhite, false});
  canvas.Rectangle(PixelRect{px(b.x1), py(b.y1), px(b.x2), py(b.y2)});
  canvas.SetFont(Font{palette::kBlack, 8, "Arial"});
  canvas.brush().transparent = true;
  canvas.Text(px(s.TitleX + 5), py(s.TitleY), title);

  canvas.SetPen(Pen{palette::kBlack, PenStyle::Solid, RasterOp::Copy, 1});
  for (const GeneratedPin& p : s.Pins) {
    const int x = px(p.X), y = py(p.Y);
    canvas.FillRect(PixelRect{x - 2, y - 2, x + 2, y + 2}, kMaroon);
    if (p.X < b.x1) {
      canvas.Text(x + 10, y - 6, p.Name);
      canvas.Segment(x, y, px(b.x1), y);
    } else if (p.X > b.x2) {
      canvas.Text(x - 40, y - 6, p.Name);
      canvas.Segment(px(b.x2), y, x, y);
    } else if (p.Y > b.y2) {
      canvas.Text(x, y - 15, p.Name);
      canvas.Segment(x, y, x, py(b.y2));
    } else {
      canvas.Text(x + 2, y + 10, p.Name);
      canvas.Segment(x, y, x, py(b.y1));
    }
  }
}

}  // namespace qiro
