// The timing diagram: zoom, scroll and the opening view, the current graph as lines and texts,
// and the picture painted through recording canvases (the ruler and waveforms of whole runs are
// checked with the recorded drawings of the examples).
#include "chrono/chrono_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "chrono/chrono_draw.h"
#include "core/editor/recording_canvas.h"

namespace qiro::test {
namespace {

// The view as "left edge+span".
std::string View(const ChronoStore& s) {
  std::ostringstream out;
  out << s.viewStart << "+" << s.span;
  return out.str();
}

TEST(ChronoView, ZoomTablesAndLimits) {
  for (auto [span, in] : {std::pair{5, 5}, {100, 50}, {101, 100}, {30000, 20000}})
    EXPECT_EQ(ZoomInSpan(span), in);
  for (auto [span, out] : {std::pair{15000, 15000}, {100, 200}, {10000, 20000}, {3, 20}})
    EXPECT_EQ(ZoomOutSpan(span), out);
}

// A store whose older half was dropped: points every 10 steps, the first one left at 25010.
ChronoStore DroppedStore() {
  ChronoStore store;
  const int a = store.AddChronoTrace("a", false);
  for (int k = 1; k <= 6000; ++k) store.RecordChronoSample(10 * k, a, k % 2);
  return store;
}

TEST(ChronoView, FitOpeningViewAndClampFollowTheStoredData) {
  ChronoStore store = DroppedStore();
  ASSERT_EQ(store.SampleTime(1), 25010);
  const DataRange range = RecordedRange(store, 0);  // values hold until the current step
  EXPECT_EQ(std::tuple(range.first, range.last, RecordedRange(store, 60500).last),
            std::tuple(25010, 60000, 60500));
  FitToData(store, 2.0, range);  // one call, whatever the old span
  EXPECT_EQ(View(store), "25010+69980");

  // A long recording opens on its newest stretch with edges at least 12 pixels apart: the
  // last 50 edges of the trace in 600 px.
  const ChronoGeometry geo{100, 700, 400};
  OpeningView(store, geo, 1.0, range);
  EXPECT_EQ(View(store) + (ShowsNewest(store, 1.0, range) ? " newest" : ""), "59500+500 newest");
  for (auto [from, to] : {std::pair{0, 25010}, {1000000, 60000 - 500}, {40000, 40000}}) {
    store.viewStart = from;
    ClampView(store, 1.0, range);
    EXPECT_EQ(store.viewStart, to) << from;
  }
  store.viewStart = 30000;
  EXPECT_FALSE(ShowsNewest(store, 1.0, range));
  FollowNewest(store, 1.0, range);
  EXPECT_EQ(store.viewStart, 60000 - 500);

  // A trace recorded at every step without changing does not narrow the first view.
  ChronoStore steady;
  const int p = steady.AddChronoTrace("p", false), c = steady.AddChronoTrace("c", false);
  for (int step = 1; step <= 3000; ++step) {
    steady.RecordChronoSample(step, p, 1);
    steady.RecordChronoSample(step, c, (step / 100) % 2);
  }
  OpeningView(steady, geo, 1.0, RecordedRange(steady, 0));
  EXPECT_EQ(View(steady), "1+2999");

  ChronoStore few;  // a short run still fills the window; an empty one goes back to 0
  const int b = few.AddChronoTrace("b", false);
  for (int step : {10, 11}) few.RecordChronoSample(step, b, step == 10);
  OpeningView(few, geo, 1.0, RecordedRange(few, 0));
  EXPECT_EQ(View(few), "10+" + std::to_string(int(kMinSpanNs)));
  ChronoStore empty;
  empty.viewStart = 99;
  FitToData(empty, 1.0, RecordedRange(empty, 50));
  EXPECT_EQ(View(empty), "0+100");
}

TEST(ChronoView, ScrollZoomAndDragKeepToTheData) {
  ChronoStore store = DroppedStore();
  const DataRange range = RecordedRange(store, 0);
  const ChronoGeometry geo{100, 1100, 400};  // 1000 px for 1000 ns
  store.span = 1000;
  store.viewStart = 30000;
  std::string starts;
  for (double fraction : {0.5, -0.5, -0.5}) {
    ScrollBySpan(store, 1.0, range, fraction);
    starts += std::to_string(store.viewStart) + " ";
  }
  store.viewStart = 25100;
  ScrollBySpan(store, 1.0, range, -0.5);
  EXPECT_EQ(starts + std::to_string(store.viewStart), "30500 30000 29500 25010");

  // The time under the pointer stays under it.
  store.viewStart = 30000;
  const double before = TimeAtX(store, geo, 1.0, 350);
  ZoomAround(store, geo, 1.0, range, 500, 350);
  EXPECT_EQ(std::tuple(before, store.viewStart, TimeAtX(store, geo, 1.0, 350)),
            std::tuple(30250.0, 30125, 30250.0));
  // No further than the data.
  for (auto [span, delta, zoomed] : {std::tuple{1000.0, 240, 500.0},
                                     {1000.0, -240, 2000.0},
                                     {6.0, 1200, kMinSpanNs},
                                     {30000.0, -1200, 34990.0}})
    EXPECT_DOUBLE_EQ(WheelZoomSpan(span, delta, 1.0, range), zoomed) << span << " " << delta;

  store.span = 1000;
  DragView(store, geo, 1.0, range, 30000, 100);  // dragging right shows earlier times
  const int dragged = store.viewStart;
  DragView(store, geo, 1.0, range, 30000, -100000);
  EXPECT_EQ(std::pair(dragged, store.viewStart), std::pair(29900, 60000 - 1000));
}

TEST(ChronoView, WheelDeltasAddUpInsteadOfRounding) {
  for (double spanSteps : {1000.0, 10.0}) {
    WheelScroll fine, coarse;
    int moved = 0;
    for (int i = 0; i < 8; ++i) moved += fine.Take(15, spanSteps);
    EXPECT_EQ(std::pair(moved, coarse.Take(120, spanSteps)),
              std::pair(-int(spanSteps / 10), -int(spanSteps / 10)));
  }
}

TEST(ChronoView, CurrentLabelsCurveAndSummary) {
  ChronoStore store;
  store.AddChronoTrace("a", false);
  CurrentStore current;
  current.AddCurrentPulse(10, 2, 2, 1.0);
  current.ChooseCurrentScale();
  const ChronoFrame frame(store, current, {100, 600, 400}, 500, 1.0, 20, 2.5);
  const ChronoPicture labels = InitChronograms(frame);
  ASSERT_GE(labels.texts.size(), 7u);
  EXPECT_EQ(labels.texts[1].y, 25 * 2 + 40);
  // A 1 mA peak gives a 5 mA scale.
  EXPECT_EQ(labels.texts[1].text + labels.texts[2].text + labels.texts[6].text, "Idd (mA)    4.00    0.00");

  const ChronoPicture p = DrawChronograms(frame);
  // Entries of steps 10..14 joined: 1 mA lies four 25-pixel divisions below the 5 mA top at 50 + 46.
  std::vector<ChronoLine> red;
  for (const auto& l : p.lines)
    if (l.colour == ChronoColour::Red && l.y1 >= 50) red.push_back(l);
  ASSERT_EQ(red.size(), 4u);
  EXPECT_EQ(std::tuple(red[0].x1, red[1].y2, red[3].y2), std::tuple(150, 50 + 100 + 46, 50 + 125 + 46));
  EXPECT_EQ(p.status[3], "Power dissip. 0.250mW");
  for (auto [step, mA] : {std::pair{12, 1.0}, {11, 0.5}, {9, 0.0}, {15, 0.0}})
    EXPECT_DOUBLE_EQ(CurrentAtStep(current, step), mA) << step;
  const CurrentSummary idle = SummariseCurrent(CurrentStore{}, 0, 2.5);
  EXPECT_EQ(idle.average + "|" + idle.power + "|" + idle.supply,
            "Avg. current  0 mA|Power dissip. 0.0mW|Supply 2.500V");
}

TEST(ChronoView, CursorReadouts) {
  ChronoStore store;
  const int a = store.AddChronoTrace("a", false);
  const int bus = store.AddChronoTrace("k", true);
  for (auto [step, trace, value] : {std::tuple{10, a, 1}, {10, bus, 0xA5}, {20, a, int(kSampleX)}})
    store.RecordChronoSample(step, trace, static_cast<std::uint8_t>(value));
  CurrentStore current;
  const ChronoFrame frame(store, current, {100, 600, 400}, 500, 1.0, 20, 2.5);
  const auto read = [&](double t, int y) {
    const CursorReadout r = ReadCursor(frame, t, y);
    std::string s =
        std::to_string(r.x) + "|" + r.timeText + "|" + std::to_string(r.timePoint) + "|" + r.currentText;
    for (const ChronoText& v : r.values) s += "|" + v.text;
    return s;
  };
  EXPECT_EQ(read(16, 10), "180|Cursor at time 16.0ns |1|| 1|A5");
  // One division below the top of the graph.
  EXPECT_EQ(read(20, 25 * 3 + 46 + 25), "200|Cursor at time 20.0ns |2|Current  0.8mA| x|A5");
  EXPECT_EQ(ReadCursor(frame, 5, 0).timePoint, 0);
  EXPECT_EQ(CursorTimesText(10, 30),
            "Cursor at time 10.0ns | second at 30.0ns | difference 20.0ns (50.000 MHz)");
}

// The timing diagram painted through recording canvases: what lands on which image, in which
// pen, and where the labels and summary sit.
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
  for (int step : {10, 20}) store.RecordChronoSample(step, a, step == 10);
  Paint(0);
  // Three traces' worth of rows: the graph starts at row 3; scale 1 mA, 0.2 mA per division.
  EXPECT_EQ(At("Idd (mA)", trace), "100," + std::to_string(25 * 3 + 40));
  EXPECT_NE(trace.FindText("    0.80"), nullptr);
  EXPECT_EQ(trace.FindText("    0.00")->r.top, 25 * 8 + 40);
  // The box: white with a black border at W - 180, holding the three summary lines.
  const auto boxes = trace.Of(OpKind::Rectangle);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].r, (PixelRect{420, 125, 560, 185}));
  EXPECT_EQ(std::pair(boxes[0].pen.colour, boxes[0].brush.colour),
            std::pair(palette::kBlack, palette::kWhite));
  EXPECT_EQ(At("Avg. current  0 mA", trace), "422,147");
  // The cursor's values cover the previous readout.
  PaintCursorValues(ReadCursor(ChronoFrame(store, current, geo, 500, 1.0, 20, 2.5), 16, 10), trace);
  const DrawOp* one = trace.FindText(" 1");
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(std::tuple(one->r.left, one->brush.transparent, one->brush.colour),
            std::tuple(85, false, palette::kWhite));
}

}  // namespace
}  // namespace qiro::test
