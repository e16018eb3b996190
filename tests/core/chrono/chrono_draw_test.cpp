// The timing diagram painted through recording canvases: what lands on which image, in which
// pen, and where the traces, labels and summary sit.
#include "chrono/chrono_draw.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/editor/recording_canvas.h"

namespace qiro::test {
namespace {

class ChronoDrawTest : public ::testing::Test {
 protected:
  ChronoPicture Paint(int stepCount = 40) {
    const ChronoFrame frame(store, current, geo, 500, 1.0, stepCount, 2.5);
    return DrawChronogramImages(frame, trace, ruler);
  }
  // Segments of a colour on a canvas.
  static std::vector<DrawOp> Segments(const RecordingCanvas& c, Colour colour) {
    std::vector<DrawOp> out;
    for (const DrawOp& op : c.Of(OpKind::Segment))
      if (op.pen.colour == colour) out.push_back(op);
    return out;
  }

  ChronoStore store;
  CurrentStore current;
  ChronoGeometry geo{100, 600, 500};  // 500 px for 100 ns: 5 px per ns
  RecordingCanvas trace, ruler;
};

TEST_F(ChronoDrawTest, TracesSitInTheirRowsInTheirColours) {
  const int a = store.AddChronoTrace("a (l1)", false);
  const int b = store.AddChronoTrace("b (l2)", false);
  store.RecordChronoSample(0, a, 1);
  store.RecordChronoSample(0, b, 0);
  store.RecordChronoSample(10, b, 1);
  store.RecordChronoSample(20, a, 0);
  Paint();

  // Names at x 20 in rows 65 and 90, in black.
  const DrawOp* name = trace.FindText("b (l2)");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->r.left, 20);
  EXPECT_EQ(name->r.top, 90);
  EXPECT_EQ(name->font.colour, palette::kBlack);
  // Trace 1 high (y 65) from 0 to 20 ns, trace 2 low (y 110) then high (y 90) up to step 40.
  auto has = [](const std::vector<DrawOp>& ops, PixelRect r) {
    return std::any_of(ops.begin(), ops.end(), [&](const DrawOp& op) { return op.r == r; });
  };
  const auto red = Segments(trace, palette::kRed), blue = Segments(trace, palette::kBlue);
  EXPECT_TRUE(has(red, {100, 65, 200, 65}));
  EXPECT_TRUE(has(blue, {100, 110, 150, 110}));
  EXPECT_TRUE(has(red, {150, 90, 300, 90}));
  EXPECT_TRUE(has(Segments(trace, palette::kBlack), {150, 90, 150, 110}));  // trace 2's edge
  for (const DrawOp& op : red) EXPECT_EQ(op.pen.style, PenStyle::Solid);
  for (const DrawOp& op : ruler.Of(OpKind::Segment)) EXPECT_EQ(op.pen.colour, palette::kBlack);
}

TEST_F(ChronoDrawTest, GuidesAreDottedAndTheRulerIsSilverWithTimes) {
  store.AddChronoTrace("a", false);
  Paint();
  const auto guides = Segments(trace, palette::kBlack);
  const auto dotted = std::count_if(guides.begin(), guides.end(),
                                    [](const DrawOp& op) { return op.pen.style == PenStyle::Dotted; });
  // Nine horizontal guides (one trace + 8) and one vertical guide per labelled tick, 0..100 ns.
  EXPECT_EQ(dotted, 9 + 11);
  const auto fills = ruler.Of(OpKind::Fill);
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills.back().colour, palette::kSilver);
  ASSERT_NE(ruler.FindText("10"), nullptr);
  EXPECT_EQ(ruler.FindText("10")->r.left, 50);
  EXPECT_EQ(ruler.FindText("10")->r.top, 5);
}

TEST_F(ChronoDrawTest, BusValueWrittenAtEachChangeOnly) {
  const int bus = store.AddChronoTrace("kbd(a b c d )", true);
  store.RecordChronoSample(0, bus, 0x05);
  store.RecordChronoSample(10, bus, 0x05);
  store.RecordChronoSample(20, bus, 0x0A);
  store.RecordChronoSample(30, bus, 0x0A);
  Paint();
  auto texts = [&](const std::string& t) {
    const auto all = trace.Of(OpKind::Text);
    return std::count_if(all.begin(), all.end(), [&](const DrawOp& op) { return op.text == t; });
  };
  EXPECT_EQ(texts("05"), 1);
  EXPECT_EQ(texts("0A"), 1);
  for (const DrawOp& op : Segments(trace, palette::kGreen)) {
    EXPECT_GE(std::min(op.r.top, op.r.bottom), 65);
    EXPECT_LE(std::max(op.r.top, op.r.bottom), 85);
  }
}

TEST_F(ChronoDrawTest, CurrentLabelsAndSummaryBoxBelowTheTraces) {
  store.AddChronoTrace("a", false);
  store.AddChronoTrace("b", false);
  Paint(0);
  // Three traces' worth of rows: the graph starts at row 3.
  const DrawOp* idd = trace.FindText("Idd (mA)");
  ASSERT_NE(idd, nullptr);
  EXPECT_EQ(idd->r.left, 100);
  EXPECT_EQ(idd->r.top, 25 * 3 + 40);
  ASSERT_NE(trace.FindText("    0.80"), nullptr);  // scale 1 mA, 0.2 mA per division
  EXPECT_EQ(trace.FindText("    0.00")->r.top, 25 * 8 + 40);
  // The box: white with a black border at W - 180, holding the three summary lines.
  const auto boxes = trace.Of(OpKind::Rectangle);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].r, (PixelRect{420, 125, 560, 185}));
  EXPECT_EQ(boxes[0].pen.colour, palette::kBlack);
  EXPECT_EQ(boxes[0].brush.colour, palette::kWhite);
  const DrawOp* avg = trace.FindText("Avg. current  0 mA");
  ASSERT_NE(avg, nullptr);
  EXPECT_EQ(avg->r.left, 422);
  EXPECT_EQ(avg->r.top, 147);
}

TEST_F(ChronoDrawTest, CursorValuesCoverThePreviousReadout) {
  const int a = store.AddChronoTrace("a", false);
  store.RecordChronoSample(10, a, 1);
  store.RecordChronoSample(20, a, 0);
  const CursorReadout r = ReadCursor(ChronoFrame(store, current, geo, 500, 1.0, 20, 2.5), 16, 10);
  PaintCursorValues(r, trace);
  const DrawOp* v = trace.FindText(" 1");
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->r.left, 85);
  EXPECT_FALSE(v->brush.transparent);
  EXPECT_EQ(v->brush.colour, palette::kWhite);
}

}  // namespace
}  // namespace qiro::test
