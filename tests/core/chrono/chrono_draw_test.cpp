// The timing diagram painted through recording canvases: what lands on which image, in which
// pen, and where the labels and summary sit.
#include "chrono/chrono_draw.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/editor/recording_canvas.h"

namespace qiro::test {
namespace {

class ChronoDrawTest : public ::testing::Test {
 protected:
  ChronoPicture Paint(int stepCount = 40) {
    return DrawChronogramImages(ChronoFrame(store, current, geo, 500, 1.0, stepCount, 2.5), trace, ruler);
  }
  // The segments on the trace image in a colour (and style), as "x1,y1-x2,y2 ...".
  std::string Segments(Colour colour, PenStyle style = PenStyle::Solid) {
    std::string out;
    for (const DrawOp& op : trace.Of(OpKind::Segment))
      if (op.pen.colour == colour && op.pen.style == style)
        out += std::to_string(op.r.left) + "," + std::to_string(op.r.top) + "-" + std::to_string(op.r.right) +
               "," + std::to_string(op.r.bottom) + " ";
    return out;
  }
  std::string At(const std::string& text, const RecordingCanvas& c) {
    const DrawOp* op = c.FindText(text);
    return op ? std::to_string(op->r.left) + "," + std::to_string(op->r.top) : "missing";
  }

  ChronoStore store;
  CurrentStore current;
  ChronoGeometry geo{100, 600, 500};  // 500 px for 100 ns: 5 px per ns
  RecordingCanvas trace, ruler;
};

TEST_F(ChronoDrawTest, TracesGuidesAndRulerInTheirPens) {
  const int a = store.AddChronoTrace("a (l1)", false), b = store.AddChronoTrace("b (l2)", false);
  store.RecordChronoSample(0, a, 1);
  store.RecordChronoSample(0, b, 0);
  store.RecordChronoSample(10, b, 1);
  store.RecordChronoSample(20, a, 0);
  Paint();
  // Names at x 20 in rows 65 and 90, in black. Trace 1 high (y 65) from 0 to 20 ns, trace 2 low
  // (y 110) then high (y 90) up to step 40, its edge in black.
  EXPECT_EQ(At("b (l2)", trace), "20,90");
  EXPECT_EQ(trace.FindText("b (l2)")->font.colour, palette::kBlack);
  EXPECT_EQ(Segments(palette::kRed), "100,65-200,65 150,90-300,90 ");
  EXPECT_EQ(Segments(palette::kBlue), "100,50-100,500 200,85-300,85 100,110-150,110 ");
  EXPECT_NE(Segments(palette::kBlack).find("150,90-150,110"), std::string::npos);
  for (const DrawOp& op : ruler.Of(OpKind::Segment)) EXPECT_EQ(op.pen.colour, palette::kBlack);
  // Ten horizontal dotted guides (two traces + 8) and one vertical guide per labelled tick, 0..100 ns.
  const std::string dotted = Segments(palette::kBlack, PenStyle::Dotted);
  EXPECT_EQ(std::count(dotted.begin(), dotted.end(), ' '), 10 + 11);
  const auto fills = ruler.Of(OpKind::Fill);
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills.back().colour, palette::kSilver);
  EXPECT_EQ(At("10", ruler), "50,5");
}

TEST_F(ChronoDrawTest, BusValueWrittenAtEachChangeOnly) {
  const int bus = store.AddChronoTrace("kbd(a b c d )", true);
  for (auto [step, value] : {std::pair{0, 0x05}, {10, 0x05}, {20, 0x0A}, {30, 0x0A}})
    store.RecordChronoSample(step, bus, value);
  Paint();
  std::string texts;
  for (const DrawOp& op : trace.Of(OpKind::Text))
    if (op.text.size() == 2) texts += op.text + " ";
  EXPECT_EQ(texts, "05 0A ");
  for (const DrawOp& op : trace.Of(OpKind::Segment))
    EXPECT_TRUE(op.pen.colour != palette::kGreen ||
                (std::min(op.r.top, op.r.bottom) >= 65 && std::max(op.r.top, op.r.bottom) <= 85));
}

TEST_F(ChronoDrawTest, CurrentLabelsSummaryBoxAndCursorValues) {
  const int a = store.AddChronoTrace("a", false);
  store.AddChronoTrace("b", false);
  store.RecordChronoSample(10, a, 1);
  store.RecordChronoSample(20, a, 0);
  Paint(0);
  // Three traces' worth of rows: the graph starts at row 3; scale 1 mA, 0.2 mA per division.
  EXPECT_EQ(At("Idd (mA)", trace), "100," + std::to_string(25 * 3 + 40));
  EXPECT_NE(trace.FindText("    0.80"), nullptr);
  EXPECT_EQ(trace.FindText("    0.00")->r.top, 25 * 8 + 40);
  // The box: white with a black border at W - 180, holding the three summary lines.
  const auto boxes = trace.Of(OpKind::Rectangle);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].r, (PixelRect{420, 125, 560, 185}));
  EXPECT_EQ(boxes[0].pen.colour, palette::kBlack);
  EXPECT_EQ(boxes[0].brush.colour, palette::kWhite);
  EXPECT_EQ(At("Avg. current  0 mA", trace), "422,147");
  // The cursor's values cover the previous readout.
  PaintCursorValues(ReadCursor(ChronoFrame(store, current, geo, 500, 1.0, 20, 2.5), 16, 10), trace);
  EXPECT_EQ(At(" 1", trace), "85," + std::to_string(trace.FindText(" 1")->r.top));
  EXPECT_FALSE(trace.FindText(" 1")->brush.transparent);
  EXPECT_EQ(trace.FindText(" 1")->brush.colour, palette::kWhite);
}

}  // namespace
}  // namespace qiro::test
