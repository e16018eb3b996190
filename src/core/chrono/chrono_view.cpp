// Timing-diagram arithmetic. Time runs left to right from viewStart (a step) across `span`
// nanoseconds of trace area; trace j sits in a 25-pixel row, its logic-1 level at 25j + 40 and
// its logic-0 level 20 pixels lower. The ruler's ticks are a tenth of a division, the division
// being the round value just above a tenth of the span.
#include "chrono/chrono_view.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace qiro {

namespace {

constexpr int kMaxTicks = 5000;  // bounds the ruler whatever the geometry

int Round(double v) {
  if (!(v > -1e9)) return -1000000000;
  if (!(v < 1e9)) return 1000000000;
  return static_cast<int>(std::lround(v));
}

int TraceTop(int j) {
  return 25 * j + 40;
}

std::string Hex2(int v) {
  char buf[3];
  std::snprintf(buf, sizeof buf, "%02X", v & 0xFF);
  return buf;
}

}  // namespace

std::string FormatReal(double value, int width, int decimals) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  std::string text = ec == std::errc() ? std::string(buf, end) : std::string("0");
  if (static_cast<int>(text.size()) < width)
    text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
  return text;
}

int TraceAreaLeft(int rulerLeft) {
  return (rulerLeft + 1) / 5 * 5;
}

double PxPerNs(const ChronoStore& store, const ChronoGeometry& geo) {
  return store.span > 0 ? (geo.W - geo.M) / store.span : 0.0;
}

int TimePointX(const ChronoStore& store, const ChronoGeometry& geo, double timeUnit, int k) {
  return geo.M + Round((store.SampleTime(k) - store.viewStart) * timeUnit * PxPerNs(store, geo));
}

double ZoomOutSpan(double span) {
  static constexpr double kUpTo[] = {10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000};
  static constexpr double kGives[] = {20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000};
  for (int i = 0; i < 10; ++i)
    if (span <= kUpTo[i]) return kGives[i];
  return span;
}

double ZoomInSpan(double span) {
  static constexpr double kUpTo[] = {10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000};
  static constexpr double kGives[] = {5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000};
  for (int i = 0; i < 11; ++i)
    if (span <= kUpTo[i]) return kGives[i];
  return 20000;
}

void ViewAll(ChronoStore& store, double timeUnit) {
  store.viewStart = 0;
  if (store.SampleCount() > 1) store.span = store.SampleTime(store.SampleCount()) * timeUnit + store.span / 3;
}

static int ScrollAmount(const ChronoStore& store, double timeUnit) {
  return timeUnit > 0 ? Round(0.3 * store.span / timeUnit) : 0;
}

void ScrollLeft(ChronoStore& store, double timeUnit) {
  store.viewStart = std::max(0, store.viewStart - ScrollAmount(store, timeUnit));
}

void ScrollRight(ChronoStore& store, double timeUnit) {
  if (store.SampleCount() <= 5) return;
  store.viewStart =
      std::min(store.viewStart + ScrollAmount(store, timeUnit), store.SampleTime(store.SampleCount() - 5));
}

Division ComputeDivision(double span) {
  Division div;
  div.micro = span > 50000;
  const double d = std::max(span / 10, 0.1);
  static constexpr double kBelow[] = {5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000};
  static constexpr double kValue[] = {1, 5, 10, 20, 50, 100, 200, 500, 1000, 2000};
  div.divisionNs = 5000;
  for (int i = 0; i < 10; ++i) {
    if (d < kBelow[i]) {
      div.divisionNs = kValue[i];
      break;
    }
  }
  div.tickNs = div.divisionNs / 10;
  div.caption = div.micro ? FormatReal(div.tickNs / 1000, 4, 1) + "\u00B5s/div"
                          : FormatReal(div.tickNs, 4, 1) + "ns/div";
  return div;
}

ChronoPicture InitChronograms(const ChronoStore& store, const CurrentStore& current,
                              const ChronoGeometry& geo, int rulerWidth) {
  ChronoPicture p;
  p.rectangles.push_back({ChronoImage::Trace, 0, 0, geo.W, geo.H, ChronoColour::White});
  p.rectangles.push_back({ChronoImage::Ruler, 0, 0, rulerWidth, kRulerHeight, ChronoColour::White});
  for (int j = 1; j <= store.TraceCount(); ++j)
    p.texts.push_back({ChronoImage::Trace, 20, TraceTop(j), store.Trace(j).name});
  const int rows = store.TraceCount() + 1;
  for (int i = 0; i <= 5; ++i) {
    const std::string text =
        i == 0 ? "Idd (mA)" : FormatReal(current.CurrentScale() - i * current.CurrentDiv(), 8, 2);
    p.texts.push_back({ChronoImage::Trace, 100, 25 * (rows + i) + 40, text});
  }
  return p;
}

// The waveforms of every trace between consecutive time points.
static void DrawTraces(ChronoPicture& p, const ChronoStore& store, const ChronoGeometry& geo,
                       double timeUnit) {
  int previousRight = geo.M;
  for (int k = 1; k <= store.SampleCount() - 1 && previousRight < geo.W; ++k) {
    const int x1 = std::max(geo.M, TimePointX(store, geo, timeUnit, k));
    const int x2 = std::clamp(TimePointX(store, geo, timeUnit, k + 1), geo.M, geo.W);
    previousRight = x2;
    for (int j = 1; j <= store.TraceCount(); ++j) {
      const int y = TraceTop(j);
      const int v = store.Sample(j, k);
      if (store.Trace(j).isBus) {
        if (k == 1 || v != store.Sample(j, k - 1)) {
          p.lines.push_back({ChronoImage::Trace, x1 + 5, y, x1, y + 20, ChronoColour::Green});
          p.lines.push_back({ChronoImage::Trace, x1 + 5, y + 20, x1, y, ChronoColour::Green});
          p.texts.push_back({ChronoImage::Trace, x1 + 10, y, Hex2(v)});
        }
        p.lines.push_back({ChronoImage::Trace, x1 - 5, y, x2, y, ChronoColour::Green});
        p.lines.push_back({ChronoImage::Trace, x1 - 5, y + 20, x2, y + 20, ChronoColour::Green});
        continue;
      }
      if (v == 1) p.lines.push_back({ChronoImage::Trace, x1, y, x2, y, ChronoColour::Red});
      if (v == 0) p.lines.push_back({ChronoImage::Trace, x1, y + 20, x2, y + 20, ChronoColour::Blue});
      if (v == kSampleX) {
        p.lines.push_back({ChronoImage::Trace, x1, y, x2, y, ChronoColour::Grey});
        p.lines.push_back({ChronoImage::Trace, x1, y + 20, x2, y + 20, ChronoColour::Grey});
      }
      if (store.Sample(j, k + 1) != v)
        p.lines.push_back({ChronoImage::Trace, x2, y, x2, y + 20, ChronoColour::Black});
    }
  }
}

// The supply-current curve below the traces. Every recorded entry is drawn, up to the last used one.
static void DrawCurrent(ChronoPicture& p, const ChronoStore& store, const CurrentStore& current,
                        const ChronoGeometry& geo, double timeUnit) {
  const int base = 25 * (store.TraceCount() + 1);
  const double pxPerNs = PxPerNs(store, geo);
  const double div = current.CurrentDiv();
  if (div <= 0) return;
  int lastX = 0, lastY = 0;
  for (int k = 1; k < kMaxCurrentEntries && current.CurTime(k + 1) != 0; ++k) {
    const int rawX = geo.M + Round((current.CurTime(k + 1) - store.viewStart) * timeUnit * pxPerNs);
    if (rawX >= geo.W) break;
    const int x = std::clamp(rawX, geo.M, geo.W);
    const int y = base + Round((current.CurrentScale() - current.CurValue(k + 1)) * 25 / div) + 46;
    if (k >= 2) p.lines.push_back({ChronoImage::Trace, lastX, lastY, x, y, ChronoColour::Red});
    lastX = x;
    lastY = y;
  }
}

CurrentSummary SummariseCurrent(const CurrentStore& current, int stepCount, double supplyVoltage) {
  CurrentSummary s;
  s.supply = "Supply " + FormatReal(supplyVoltage, 5, 3) + "V";
  s.maxCurrent = "Max. current " + FormatReal(current.MaxCurrent(), 5, 3) + "mA";
  if (stepCount == 0) {
    s.average = "Avg. current  0 mA";
    s.power = "Power dissip. 0.0mW";
  } else {
    const double average = current.SumCurrent() / stepCount;
    s.average = "Avg. current " + FormatReal(average, 5, 3) + "mA";
    s.power = "Power dissip. " + FormatReal(average * supplyVoltage, 5, 3) + "mW";
  }
  return s;
}

ChronoPicture DrawChronograms(const ChronoStore& store, const CurrentStore& current,
                              const ChronoGeometry& geo, int rulerWidth, double timeUnit, int stepCount,
                              double supplyVoltage) {
  ChronoPicture p;
  p.rectangles.push_back({ChronoImage::Trace, geo.M, 0, geo.W, geo.H, ChronoColour::White});
  p.rectangles.push_back({ChronoImage::Ruler, 0, 0, rulerWidth, kRulerHeight, ChronoColour::Silver});
  const Division div = ComputeDivision(store.span);
  p.lines.push_back({ChronoImage::Trace, geo.M, 50, geo.M, geo.H, ChronoColour::Blue});

  const double pxPerNs = PxPerNs(store, geo);
  if (pxPerNs > 0) {
    const double t0 = store.viewStart * timeUnit;
    for (int n = 0; n < kMaxTicks; ++n) {
      const double t = t0 + n * div.tickNs;
      const int x = Round((t - t0) * pxPerNs);
      const bool major = n % 10 == 0;
      p.lines.push_back({ChronoImage::Ruler, x, major ? 20 : 25, x, 35, ChronoColour::Black});
      if (major) {
        p.texts.push_back(
            {ChronoImage::Ruler, x, 5, div.micro ? std::to_string(Round(t / 1000)) : FormatReal(t, 4, 1)});
        p.lines.push_back({ChronoImage::Trace, x + geo.M, 55, x + geo.M, geo.H, ChronoColour::Black, true});
      }
      if (x >= geo.W - 50) break;
    }
  }
  for (int i = 1; i <= store.TraceCount() + 8; ++i)
    p.lines.push_back({ChronoImage::Trace, geo.M, 25 * i - 2, geo.W, 25 * i - 2, ChronoColour::Black, true});

  DrawTraces(p, store, geo, timeUnit);
  DrawCurrent(p, store, current, geo, timeUnit);

  const CurrentSummary sum = SummariseCurrent(current, stepCount, supplyVoltage);
  const int rows = store.TraceCount() + 1;
  const int x0 = geo.W - 180;
  const int y0 = std::min(25 * rows + 50, geo.H - 70);
  p.status = {"", sum.supply, sum.maxCurrent, sum.power};
  p.rectangles.push_back({ChronoImage::Trace, x0, y0, x0 + 140, y0 + 60, ChronoColour::White, true});
  p.texts.push_back({ChronoImage::Trace, x0 + 2, y0 + 2, sum.maxCurrent});
  p.texts.push_back({ChronoImage::Trace, x0 + 2, y0 + 22, sum.average});
  p.texts.push_back({ChronoImage::Trace, x0 + 2, y0 + 42, sum.power});
  return p;
}

CursorReadout SetCursor(ChronoStore& store, const CurrentStore& current, const ChronoGeometry& geo,
                        double timeUnit, int x, int y) {
  CursorReadout r;
  x = std::max(geo.M, x);
  store.cursorX = x;
  store.cursorY = y;
  r.x = x;
  const double pxPerNs = PxPerNs(store, geo);
  const double t = (pxPerNs > 0 ? (x - geo.M) / pxPerNs : 0.0) + store.viewStart * timeUnit;
  r.timeText = "Cursor at time " + FormatReal(t, 4, 1) + "ns ";
  const int rows = store.TraceCount() + 1;
  if (y >= 25 * rows + 40) {
    const double value = current.CurrentScale() - ((y - 46) / 25.0 - rows) * current.CurrentDiv();
    r.currentText = "Current " + FormatReal(value, 4, 1) + "mA";
  }
  for (int k = 1; k <= store.SampleCount(); ++k)
    if (TimePointX(store, geo, timeUnit, k) < x) r.timePoint = k;
  if (r.timePoint > 0) {
    for (int j = 1; j <= store.TraceCount(); ++j) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "%2d", store.Sample(j, r.timePoint));
      r.values.push_back({ChronoImage::Trace, geo.M - 15, TraceTop(j), buf});
    }
  }
  return r;
}

}  // namespace qiro
