#include "symbols/symbol_preview.h"

#include <algorithm>

#include "core/editor/recording_canvas.h"
#include "core/test_support.h"

namespace qiro {
namespace {

using namespace test;

// The generator laid out for inputs a, b and output s.
struct SymbolPreview : ::testing::Test {
  SymbolPreview() {
    ws.extraction.InputNames = {"a", "b"};
    ws.extraction.OutputNames = {"s"};
    g.UpdateOptions(ws);
  }
  Workspace ws;
  SchToSym g;
};

TEST_F(SymbolPreview, BoxPinsAndStubsScaledIntoTheImage) {
  g.Rows[0].Side = "B";  // a below the box
  ASSERT_TRUE(g.Generate(ws));
  const Rect e = g.Symbol.Extent, b = g.Symbol.Box;

  RecordingCanvas canvas;
  const int w = 200, h = 160;
  DrawSymbolPreview(canvas, g.Symbol, "half", w, h);
  ASSERT_FALSE(canvas.ops.empty());
  EXPECT_TRUE(canvas.ops.front().kind == OpKind::Clear && canvas.ops.front().colour == palette::kWhite);

  const double fx = std::min({4.0, w / double(e.x2 + 20), h / double(e.y2 + 20)}), fy = fx;
  auto px = [&](int x) { return int(x * fx) + 10; };
  auto py = [&](int y) { return int(y * fy) + 10; };
  const auto boxes = canvas.Of(OpKind::Rectangle);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].r, (PixelRect{px(b.x1), py(b.y1), px(b.x2), py(b.y2)}));
  EXPECT_TRUE(boxes[0].pen.colour == palette::kGreen && boxes[0].brush.colour == palette::kWhite);
  EXPECT_TRUE(px(e.x2) < w && py(e.y2) < h) << "the whole symbol lies inside the image";

  ASSERT_TRUE(canvas.Of(OpKind::Fill).size() == 3u && canvas.FindText("half"));
  EXPECT_EQ(canvas.FindText("half")->r.left, px(g.Symbol.TitleX + 5));

  // Each pin's stub runs from the pin to the box side it faces.
  const auto stubs = canvas.Of(OpKind::Segment);
  ASSERT_EQ(stubs.size(), 3u);
  const GeneratedPin &a = g.Symbol.Pins[0], &bp = g.Symbol.Pins[1], &s = g.Symbol.Pins[2];
  EXPECT_EQ(stubs[0].r, (PixelRect{px(a.X), py(a.Y), px(a.X), py(b.y2)}));     // below: up to y2
  EXPECT_EQ(stubs[1].r, (PixelRect{px(bp.X), py(bp.Y), px(b.x1), py(bp.Y)}));  // left: to x1
  EXPECT_EQ(stubs[2].r, (PixelRect{px(b.x2), py(s.Y), px(s.X), py(s.Y)}));     // right: from x2
}

}  // namespace
}  // namespace qiro
