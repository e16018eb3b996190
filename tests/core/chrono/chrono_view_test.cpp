#include "chrono/chrono_view.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qiro {
namespace {

TEST(ChronoView, ZoomTablesAndLimits) {
  EXPECT_EQ(ZoomInSpan(5), 5);
  EXPECT_EQ(ZoomInSpan(100), 50);
  EXPECT_EQ(ZoomInSpan(101), 100);
  EXPECT_EQ(ZoomInSpan(30000), 20000);
  EXPECT_EQ(ZoomOutSpan(15000), 15000);
  EXPECT_EQ(ZoomOutSpan(100), 200);
  EXPECT_EQ(ZoomOutSpan(10000), 20000);
  EXPECT_EQ(ZoomOutSpan(3), 20);
}

TEST(ChronoView, DivisionAndCaption) {
  const Division d = ComputeDivision(100);
  EXPECT_EQ(d.divisionNs, 10);
  EXPECT_EQ(d.tickNs, 1);
  EXPECT_EQ(d.caption, " 1.0ns/div");
  EXPECT_EQ(ComputeDivision(0).caption, " 0.1ns/div");
  EXPECT_EQ(ComputeDivision(49).divisionNs, 1);
  EXPECT_EQ(ComputeDivision(1e6).caption, " 0.5\u00B5s/div");
  EXPECT_EQ(FormatReal(12.345, 8, 2), "   12.35");
  EXPECT_EQ(FormatReal(-0.04, 4, 1), "-0.0");
}

TEST(ChronoView, ScrollAndViewAll) {
  ChronoStore store;
  const int a = store.AddChronoTrace("a", false);
  for (int k = 1; k <= 5; ++k) store.RecordChronoSample(10 * k, a, k % 2);
  ScrollRight(store, 1.0);
  EXPECT_EQ(store.viewStart, 0);  // five points: nothing to scroll to
  store.RecordChronoSample(60, a, 0);
  store.RecordChronoSample(70, a, 1);
  ScrollRight(store, 1.0);  // 30 steps, limited to the time of point count - 5
  EXPECT_EQ(store.viewStart, 20);
  ScrollLeft(store, 1.0);
  EXPECT_EQ(store.viewStart, 0);

  store.viewStart = 42;
  ViewAll(store, 2.0);  // 70 steps of 2 ns plus a third of 100
  EXPECT_EQ(store.viewStart, 0);
  EXPECT_DOUBLE_EQ(store.span, 140 + 100.0 / 3);
}

TEST(ChronoView, RulerTicksAndWaveforms) {
  ChronoStore store;
  const int bit = store.AddChronoTrace("bit", false);
  const int bus = store.AddChronoTrace("bus", true);
  store.RecordChronoSample(0, bus, 0x3C);
  store.RecordChronoSample(10, bit, 1);
  store.RecordChronoSample(20, bit, 255);
  store.RecordChronoSample(30, bit, 0);
  store.span = 100;
  const ChronoGeometry geo{100, 600, 400};  // 5 px per ns
  CurrentStore current;
  const ChronoPicture p = DrawChronograms(store, current, geo, 500, 1.0, 30, 2.5);

  auto count = [&](auto pred) { return std::count_if(p.lines.begin(), p.lines.end(), pred); };
  // Ticks every ns (5 px) until one at or beyond W - 50 = 550: x = 0..550, majors every 10.
  EXPECT_EQ(count([](const ChronoLine& l) { return l.image == ChronoImage::Ruler; }), 111);
  EXPECT_EQ(
      count([](const ChronoLine& l) { return l.image == ChronoImage::Trace && l.dotted && l.x1 == l.x2; }),
      12);
  // The bus value is written once, at its first time point.
  EXPECT_EQ(std::count_if(p.texts.begin(), p.texts.end(), [](const ChronoText& t) { return t.text == "3C"; }),
            1);
  // Bit trace: red from point 2 to 3 (x 150..200) at y 65, grey at both levels after, edges in black.
  auto has = [&](ChronoLine want) {
    return count([&](const ChronoLine& l) {
             return l.x1 == want.x1 && l.y1 == want.y1 && l.x2 == want.x2 && l.y2 == want.y2 &&
                    l.colour == want.colour;
           }) > 0;
  };
  EXPECT_TRUE(has({ChronoImage::Trace, 150, 65, 200, 65, ChronoColour::Red}));
  EXPECT_TRUE(has({ChronoImage::Trace, 200, 85, 250, 85, ChronoColour::Grey}));
  EXPECT_TRUE(has({ChronoImage::Trace, 200, 65, 200, 85, ChronoColour::Black}));
  EXPECT_EQ(p.status[2], "Max. current 0.000mA");
}

TEST(ChronoView, CurrentLabelsCurveAndSummary) {
  ChronoStore store;
  store.AddChronoTrace("a", false);
  CurrentStore current;
  current.AddCurrentPulse(10, 2, 2, 1.0);
  current.ChooseCurrentScale();
  const ChronoGeometry geo{100, 600, 400};
  const ChronoPicture labels = InitChronograms(store, current, geo, 500);
  ASSERT_GE(labels.texts.size(), 7u);
  EXPECT_EQ(labels.texts[1].text, "Idd (mA)");
  EXPECT_EQ(labels.texts[1].y, 25 * 2 + 40);
  EXPECT_EQ(labels.texts[2].text, "    4.00");  // a 1 mA peak gives a 5 mA scale
  EXPECT_EQ(labels.texts[6].text, "    0.00");

  const ChronoPicture p = DrawChronograms(store, current, geo, 500, 1.0, 20, 2.5);
  // Entries 2..5 joined: 1 mA lies four 25-pixel divisions below the 5 mA top at 50 + 46.
  std::vector<ChronoLine> red;
  for (const auto& l : p.lines)
    if (l.colour == ChronoColour::Red && l.y1 >= 50) red.push_back(l);
  ASSERT_EQ(red.size(), 3u);
  EXPECT_EQ(red[0].x1, 155);
  EXPECT_EQ(red[0].y2, 50 + 100 + 46);
  EXPECT_EQ(red[2].y2, 50 + 125 + 46);
  EXPECT_EQ(p.status[3], "Power dissip. 0.250mW");

  const CurrentSummary idle = SummariseCurrent(CurrentStore{}, 0, 2.5);
  EXPECT_EQ(idle.average, "Avg. current  0 mA");
  EXPECT_EQ(idle.power, "Power dissip. 0.0mW");
  EXPECT_EQ(idle.supply, "Supply 2.500V");
}

TEST(ChronoView, CursorReadout) {
  ChronoStore store;
  const int a = store.AddChronoTrace("a", false);
  store.RecordChronoSample(10, a, 1);
  store.RecordChronoSample(20, a, 0);
  CurrentStore current;
  const ChronoGeometry geo{100, 600, 400};
  CursorReadout r = SetCursor(store, current, geo, 1.0, 180, 10);
  EXPECT_EQ(r.timeText, "Cursor at time 16.0ns ");
  EXPECT_EQ(r.timePoint, 1);
  ASSERT_EQ(r.values.size(), 1u);
  EXPECT_EQ(r.values[0].text, " 1");
  EXPECT_TRUE(r.currentText.empty());
  r = SetCursor(store, current, geo, 1.0, 20, 25 * 2 + 46 + 25);  // one division below the top
  EXPECT_EQ(store.cursorX, 100);
  EXPECT_EQ(r.currentText, "Current  0.8mA");
  EXPECT_EQ(r.timePoint, 0);
}

}  // namespace
}  // namespace qiro
