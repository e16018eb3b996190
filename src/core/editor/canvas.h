// The abstract drawing surface the renderer paints on. The desktop program adapts it to
// its window toolkit, the tests record the calls, the benchmark discards them.
// Pen, brush and font are plain state held here; only the drawing calls are virtual.
#pragma once

#include <cstdint>
#include <string>

namespace qiro {

struct Colour {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Colour&) const = default;
};

// The program's palette.
namespace palette {
inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kWhite{255, 255, 255};
inline constexpr Colour kCyan{0, 255, 255};
inline constexpr Colour kLime{0, 255, 0};
inline constexpr Colour kGreen{0, 128, 0};
inline constexpr Colour kYellow{255, 255, 0};
inline constexpr Colour kRed{255, 0, 0};
inline constexpr Colour kMagenta{255, 0, 255};
inline constexpr Colour kPurple{128, 0, 128};
inline constexpr Colour kSilver{192, 192, 192};
inline constexpr Colour kGrey{128, 128, 128};
inline constexpr Colour kBlue{0, 0, 255};
}  // namespace palette

enum class PenStyle : std::uint8_t { Solid, Dotted };

// How pen strokes combine with what is already drawn. Xor and NotXor undo themselves when
// drawn twice (rubber bands); MaskNotPen (destination AND NOT pen) removes a line from black.
enum class RasterOp : std::uint8_t { Copy, Xor, NotXor, MaskNotPen };

struct Pen {
  Colour colour = palette::kWhite;
  PenStyle style = PenStyle::Solid;
  RasterOp op = RasterOp::Copy;
  int width = 1;
  bool operator==(const Pen&) const = default;
};

struct Brush {
  Colour colour = palette::kBlack;
  bool transparent = false;
  bool operator==(const Brush&) const = default;
};

struct Font {
  Colour colour = palette::kWhite;
  int size = 10;  // points
  std::string name = "Arial";
  bool operator==(const Font&) const = default;
};

// A pixel rectangle given by its corners, both included: (0, 0, 4, 4) covers 5 x 5 pixels.
struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const PixelRect&) const = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  const Pen& pen() const { return pen_; }
  const Brush& brush() const { return brush_; }
  const Font& font() const { return font_; }
  Pen& pen() { return pen_; }
  Brush& brush() { return brush_; }
  Font& font() { return font_; }
  void SetPen(const Pen& p) { pen_ = p; }
  void SetBrush(const Brush& b) { brush_ = b; }
  void SetFont(const Font& f) { font_ = f; }

  // Fills the whole surface with a colour.
  virtual void Clear(Colour background) = 0;
  virtual void SetPixel(int x, int y, Colour c) = 0;
  // A line from (x1, y1) to (x2, y2) with the pen.
  virtual void Segment(int x1, int y1, int x2, int y2) = 0;
  // An ellipse inside the rectangle: outline with the pen, inside with the brush.
  virtual void Ellipse(const PixelRect& r) = 0;
  // A rectangle: outline with the pen, inside with the brush (nothing when transparent).
  virtual void Rectangle(const PixelRect& r) = 0;
  // Fills the rectangle with one colour, without outline.
  virtual void FillRect(const PixelRect& r, Colour c) = 0;
  // Text in the font's colour with its top-left corner at (x, y), on the brush colour
  // unless the brush is transparent.
  virtual void Text(int x, int y, const std::string& text) = 0;

 private:
  Pen pen_;
  Brush brush_;
  Font font_;
};

// Swallows every call; for measuring the renderer alone.
class NullCanvas : public Canvas {
 public:
  void Clear(Colour) override {}
  void SetPixel(int, int, Colour) override {}
  void Segment(int, int, int, int) override {}
  void Ellipse(const PixelRect&) override {}
  void Rectangle(const PixelRect&) override {}
  void FillRect(const PixelRect&, Colour) override {}
  void Text(int, int, const std::string&) override {}
};

}  // namespace qiro
