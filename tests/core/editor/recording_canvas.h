// A canvas that records every drawing call with the pen, brush and font in force.
#pragma once

#include <string>
#include <vector>

#include "editor/canvas.h"

namespace qiro::test {

enum class OpKind { Clear, Pixel, Segment, Ellipse, Rectangle, Fill, Text };

struct DrawOp {
  OpKind kind;
  PixelRect r;    // rectangle, segment ends (left,top)-(right,bottom), or the point in left/top
  Colour colour;  // of a clear, pixel or fill
  Pen pen;
  Brush brush;
  Font font;
  std::string text;
};

class RecordingCanvas : public Canvas {
 public:
  void Clear(Colour c) override { Add(OpKind::Clear, {}, c); }
  void SetPixel(int x, int y, Colour c) override { Add(OpKind::Pixel, {x, y, x, y}, c); }
  void Segment(int x1, int y1, int x2, int y2) override { Add(OpKind::Segment, {x1, y1, x2, y2}, {}); }
  void Ellipse(const PixelRect& r) override { Add(OpKind::Ellipse, r, {}); }
  void Rectangle(const PixelRect& r) override { Add(OpKind::Rectangle, r, {}); }
  void FillRect(const PixelRect& r, Colour c) override { Add(OpKind::Fill, r, c); }
  void Text(int x, int y, const std::string& t) override {
    Add(OpKind::Text, {x, y, x, y}, {});
    ops.back().text = t;
  }

  std::vector<DrawOp> Of(OpKind kind) const {
    std::vector<DrawOp> out;
    for (const auto& op : ops)
      if (op.kind == kind) out.push_back(op);
    return out;
  }
  // The colour of each op of a kind: its own for clears, pixels and fills, the font's for
  // texts, the pen's otherwise.
  std::vector<Colour> Colours(OpKind kind) const {
    std::vector<Colour> out;
    for (const auto& op : ops)
      if (op.kind == kind)
        out.push_back(kind == OpKind::Text ? op.font.colour
                      : (kind == OpKind::Segment || kind == OpKind::Ellipse || kind == OpKind::Rectangle)
                          ? op.pen.colour
                          : op.colour);
    return out;
  }
  // The first text op with this text, or nullptr.
  const DrawOp* FindText(const std::string& t) const {
    for (const auto& op : ops)
      if (op.kind == OpKind::Text && op.text == t) return &op;
    return nullptr;
  }
  void Reset() { ops.clear(); }

  std::vector<DrawOp> ops;

 private:
  void Add(OpKind kind, PixelRect r, Colour c) {
    ops.push_back(DrawOp{kind, r, c, pen(), brush(), font(), {}});
  }
};

}  // namespace qiro::test
