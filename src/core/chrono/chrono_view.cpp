// Timing-diagram arithmetic. Time runs left to right from viewStart (a step) across `span`
// nanoseconds of trace area; the trace of row r sits in a 25-pixel row, its logic-1 level at
// 25r + 40 and its logic-0 level 20 pixels lower. Navigation keeps the view on the data that is
// still stored: the store drops its older half when full, so the first time point moves on,
// and every view is clamped to it and to the newest time. Drawing visits only the time points
// in view (found by binary search), so a redraw costs the same early or late in a long run.
#include "chrono/chrono_view.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace qiro {

namespace {

constexpr std::size_t kMaxTicks = 5000;  // bounds the ruler whatever the geometry
constexpr int kLabelGap = 12;            // pixels between two ruler labels at least
constexpr int kMinTickPx = 4;            // minor ticks closer than this are left out
constexpr double kWheelFraction = 0.1;
constexpr int kPxPerOpeningEdge = 12;  // the first view of a long recording: edges this far apart

int Round(double v) {
  if (!(v > -1e9)) return -1000000000;
  if (!(v < 1e9)) return 1000000000;
  return static_cast<int>(std::lround(v));
}

int RowTop(int row) {
  return 25 * row + 40;
}

std::string Hex2(int v) {
  char buf[3];
  std::snprintf(buf, sizeof buf, "%02X", v & 0xFF);
  return buf;
}

double Unit(double timeUnit) {
  return timeUnit > 0 ? timeUnit : 1.0;
}

double SpanSteps(const ChronoStore& store, double timeUnit) {
  return store.span / Unit(timeUnit);
}

// Decimals that tell apart the multiples of a step given in the label's unit.
int DecimalsFor(double step) {
  if (!(step > 0) || step >= 1) return 0;
  return std::min(6, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
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

int StepX(const ChronoStore& store, const ChronoGeometry& geo, double timeUnit, double step) {
  return geo.M + Round((step - store.viewStart) * timeUnit * PxPerNs(store, geo));
}

int TimePointX(const ChronoStore& store, const ChronoGeometry& geo, double timeUnit, int k) {
  return StepX(store, geo, timeUnit, store.SampleTime(k));
}

double TimeAtX(const ChronoStore& store, const ChronoGeometry& geo, double timeUnit, int x) {
  const double pxPerNs = PxPerNs(store, geo);
  return (pxPerNs > 0 ? (x - geo.M) / pxPerNs : 0.0) + store.viewStart * timeUnit;
}

int TimePointAt(const ChronoStore& store, double step) {
  int lo = 0, hi = store.SampleCount();  // answer in lo..hi
  while (lo < hi) {
    const int mid = (lo + hi + 1) / 2;
    if (store.SampleTime(mid) <= step)
      lo = mid;
    else
      hi = mid - 1;
  }
  return lo;
}

// ---- Navigation ----

DataRange RecordedRange(const ChronoStore& store, int stepCount) {
  const int n = store.SampleCount();
  if (n == 0) return {};
  return {store.SampleTime(1), std::max(store.SampleTime(n), stepCount), false};
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

void ClampView(ChronoStore& store, double timeUnit, const DataRange& range) {
  if (range.empty) {
    store.viewStart = 0;
    return;
  }
  const int latest = std::max(range.first, range.last - Round(SpanSteps(store, timeUnit)));
  store.viewStart = std::clamp(store.viewStart, range.first, latest);
}

void FitToData(ChronoStore& store, double timeUnit, const DataRange& range) {
  if (range.empty) {
    store.viewStart = 0;
    return;
  }
  store.viewStart = range.first;
  store.span = std::max(kMinSpanNs, (range.last - range.first) * Unit(timeUnit));
}

void OpeningView(ChronoStore& store, const ChronoGeometry& geo, double timeUnit, const DataRange& range) {
  // Back from the newest point until one trace would change more often than every
  // kPxPerOpeningEdge pixels: a trace sampled at every step does not count, only its edges.
  const int n = store.SampleCount();
  const int maxEdges = std::max(2, (geo.W - geo.M) / kPxPerOpeningEdge);
  std::vector<int> edges(static_cast<std::size_t>(store.TraceCount()) + 1, 0);
  int start = 1;  // the first time point in view
  for (int k = n; k >= 2 && start == 1; --k)
    for (int j = 1; j <= store.TraceCount(); ++j)
      if (store.Sample(j, k) != store.Sample(j, k - 1) && ++edges[static_cast<std::size_t>(j)] > maxEdges) {
        start = k;
        break;
      }
  if (range.empty || start == 1) {
    FitToData(store, timeUnit, range);
    return;
  }
  FitToData(store, timeUnit, {store.SampleTime(start), range.last, false});
}

void FollowNewest(ChronoStore& store, double timeUnit, const DataRange& range) {
  store.viewStart = range.last - Round(SpanSteps(store, timeUnit));
  ClampView(store, timeUnit, range);
}

bool ShowsNewest(const ChronoStore& store, double timeUnit, const DataRange& range) {
  return range.empty || store.viewStart + SpanSteps(store, timeUnit) >= range.last - 0.5;
}

void ScrollBySpan(ChronoStore& store, double timeUnit, const DataRange& range, double fraction) {
  int amount = Round(fraction * SpanSteps(store, timeUnit));
  if (amount == 0 && fraction != 0) amount = fraction > 0 ? 1 : -1;
  store.viewStart = Round(static_cast<double>(store.viewStart) + amount);
  ClampView(store, timeUnit, range);
}

void ZoomAround(ChronoStore& store, const ChronoGeometry& geo, double timeUnit, const DataRange& range,
                double newSpan, int x) {
  if (!(newSpan > 0)) return;
  const int width = std::max(1, geo.W - geo.M);
  const double fraction = std::clamp(static_cast<double>(x - geo.M) / width, 0.0, 1.0);
  const double t = TimeAtX(store, geo, timeUnit, std::clamp(x, geo.M, geo.W));
  store.span = newSpan;
  store.viewStart = Round((t - fraction * newSpan) / Unit(timeUnit));
  ClampView(store, timeUnit, range);
}

double WheelZoomSpan(double span, int delta, double timeUnit, const DataRange& range) {
  const double longest = std::max(20000.0, range.empty ? 0.0 : (range.last - range.first) * Unit(timeUnit));
  return std::clamp(span * std::pow(2.0, -delta / 240.0), kMinSpanNs, longest);
}

void DragView(ChronoStore& store, const ChronoGeometry& geo, double timeUnit, const DataRange& range,
              int startStep, int dx) {
  const double pxPerNs = PxPerNs(store, geo);
  if (!(pxPerNs > 0)) return;
  store.viewStart = Round(startStep - dx / pxPerNs / Unit(timeUnit));
  ClampView(store, timeUnit, range);
}

int WheelScroll::Take(int delta, double spanSteps) {
  // Turning the wheel away from the user (positive) goes back in time.
  pending_ -= delta / 120.0 * kWheelFraction * spanSteps;
  const double whole = std::trunc(pending_);
  pending_ -= whole;
  return Round(whole);
}

// ---- Ruler ----

int EstimatedTextWidth(const std::string& text) {
  return 6 * static_cast<int>(text.size());
}

Ruler ComputeRuler(double span, double startNs, int width, const TextWidth& textWidth) {
  Ruler r;
  r.micro = span > 50000;
  const double unit = r.micro ? 1000.0 : 1.0;
  const char* unitText = r.micro ? "\u00B5s" : "ns";
  if (!(span > 0) || width <= 0) {
    r.caption = FormatReal(r.tickNs / unit, 4, 1) + unitText + "/div";
    return r;
  }
  const double pxPerNs = width / span;
  auto label = [&](double t, double division) {
    return FormatReal(t / unit, 0, DecimalsFor(division / unit));
  };
  // 1, 2, 5 times powers of ten from well below a thousandth of the span up.
  static constexpr double kMantissa[] = {1, 2, 5};
  double decade = std::pow(10.0, std::floor(std::log10(span / 1000)));
  double division = decade;
  for (int i = 0; i < 40; ++i) {
    division = kMantissa[i % 3] * decade;
    if (i % 3 == 2) decade *= 10;
    const double first = std::ceil(startNs / division) * division;
    const int widest =
        std::max(textWidth(label(first, division)), textWidth(label(startNs + span, division)));
    if (division * pxPerNs >= widest + kLabelGap) break;
  }
  r.divisionNs = division;
  int parts = 1;
  for (int m : {10, 5, 2}) {
    if (division / m * pxPerNs >= kMinTickPx) {
      parts = m;
      break;
    }
  }
  r.tickNs = division / parts;
  r.caption = FormatReal(r.tickNs / unit, 4, std::max(1, DecimalsFor(r.tickNs / unit))) + unitText + "/div";
  for (long long i = static_cast<long long>(std::ceil(startNs / r.tickNs - 1e-9)); r.ticks.size() < kMaxTicks;
       ++i) {
    const double t = static_cast<double>(i) * r.tickNs;
    const int x = Round((t - startNs) * pxPerNs);
    if (x > width) break;
    RulerTick tick{x, i % parts == 0, ""};
    if (tick.major) tick.label = label(t, division);
    r.ticks.push_back(std::move(tick));
  }
  return r;
}

// ---- Pictures ----

std::vector<int> RowTraces(const ChronoFrame& f) {
  if (f.rows) return *f.rows;
  std::vector<int> rows;
  for (int j = 1; j <= f.store.TraceCount(); ++j) rows.push_back(j);
  return rows;
}

ChronoPicture InitChronograms(const ChronoFrame& f) {
  ChronoPicture p;
  p.rectangles.push_back({ChronoImage::Trace, 0, 0, f.geo.W, f.geo.H, ChronoColour::White});
  p.rectangles.push_back({ChronoImage::Ruler, 0, 0, f.rulerWidth, kRulerHeight, ChronoColour::White});
  const std::vector<int> rows = RowTraces(f);
  for (std::size_t r = 0; r < rows.size(); ++r)
    p.texts.push_back({ChronoImage::Trace, 20, RowTop(static_cast<int>(r) + 1), f.store.Trace(rows[r]).name});
  const int graphRow = static_cast<int>(rows.size()) + 1;
  for (int i = 0; i <= 5; ++i) {
    const std::string text =
        i == 0 ? "Idd (mA)" : FormatReal(f.current.CurrentScale() - i * f.current.CurrentDiv(), 8, 2);
    p.texts.push_back({ChronoImage::Trace, 100, 25 * (graphRow + i) + 40, text});
  }
  return p;
}

namespace {

// One row's waveform from the time point at the left edge to the newest time or the right
// edge. Levels are drawn from one change to the next, so a trace sampled at every step costs a
// line per change, not per point; a bus value is written where its stretch has room for it.
void DrawRow(ChronoPicture& p, const ChronoFrame& f, int j, int y, int firstK, int endX) {
  const ChronoStore& s = f.store;
  const ChronoGeometry& g = f.geo;
  const int n = s.SampleCount();
  const bool bus = s.Trace(j).isBus;
  auto x = [&](int k) { return TimePointX(s, g, f.timeUnit, k); };
  auto crossing = [&](int at) {
    p.lines.push_back({ChronoImage::Trace, at + 5, y, at, y + 20, ChronoColour::Green});
    p.lines.push_back({ChronoImage::Trace, at + 5, y + 20, at, y, ChronoColour::Green});
  };
  auto level = [&](int x1, int x2, int v) {
    if (bus) {
      p.lines.push_back({ChronoImage::Trace, x1, y, x2, y, ChronoColour::Green});
      p.lines.push_back({ChronoImage::Trace, x1, y + 20, x2, y + 20, ChronoColour::Green});
      const std::string text = Hex2(v);
      if (x2 - x1 - 10 >= f.textWidth(text)) p.texts.push_back({ChronoImage::Trace, x1 + 10, y, text});
    } else if (x2 > x1) {
      if (v == 1) p.lines.push_back({ChronoImage::Trace, x1, y, x2, y, ChronoColour::Red});
      if (v == 0) p.lines.push_back({ChronoImage::Trace, x1, y + 20, x2, y + 20, ChronoColour::Blue});
      if (v == kSampleX) {
        p.lines.push_back({ChronoImage::Trace, x1, y, x2, y, ChronoColour::Grey});
        p.lines.push_back({ChronoImage::Trace, x1, y + 20, x2, y + 20, ChronoColour::Grey});
      }
    }
  };
  int runX = std::max(g.M, x(firstK)), runV = s.Sample(j, firstK), right = runX, lastEdge = -1;
  if (bus && firstK == 1 && runX > g.M) crossing(runX);
  for (int k = firstK; k <= n; ++k) {
    const int x1 = std::max(g.M, x(k));
    if (x1 >= g.W) break;
    const int v = s.Sample(j, k);
    if (v != runV) {
      level(runX, x1, runV);
      if (bus) crossing(x1);
      runX = x1;
      runV = v;
    }
    right = std::clamp(k < n ? x(k + 1) : endX, g.M, g.W);
    if (!bus && k < n && s.Sample(j, k + 1) != v && right < g.W && right != lastEdge) {
      p.lines.push_back({ChronoImage::Trace, right, y, right, y + 20, ChronoColour::Black});
      lastEdge = right;
    }
  }
  level(runX, right, runV);
}

void DrawTraces(ChronoPicture& p, const ChronoFrame& f, const std::vector<int>& rows) {
  const ChronoStore& s = f.store;
  const int n = s.SampleCount();
  if (n == 0) return;
  const int endX = StepX(s, f.geo, f.timeUnit, std::max(s.SampleTime(n), f.stepCount));
  const int firstK = std::max(1, TimePointAt(s, s.viewStart));
  for (std::size_t r = 0; r < rows.size(); ++r)
    DrawRow(p, f, rows[r], RowTop(static_cast<int>(r) + 1), firstK, endX);
}

// Entries of the current store in use: they fill the table from the first one on.
int UsedCurrentEntries(const CurrentStore& c) {
  int lo = 0, hi = kMaxCurrentEntries;
  while (lo < hi) {
    const int mid = (lo + hi + 1) / 2;
    if (c.CurTime(mid) != 0)
      lo = mid;
    else
      hi = mid - 1;
  }
  return lo;
}

// The first entry at or after step (used + 1 when none).
int FirstCurrentEntry(const CurrentStore& c, int used, double step) {
  int lo = 1, hi = used + 1;
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (c.CurTime(mid) < step)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

// The supply-current curve below the traces, from the entry before the left edge on.
void DrawCurrent(ChronoPicture& p, const ChronoFrame& f, int graphRow) {
  const CurrentStore& c = f.current;
  const double div = c.CurrentDiv();
  if (div <= 0) return;
  const int base = 25 * graphRow;
  const int used = UsedCurrentEntries(c);
  int lastX = 0, lastY = 0;
  bool started = false;
  for (int k = std::max(1, FirstCurrentEntry(c, used, f.store.viewStart) - 1); k <= used; ++k) {
    const int rawX = StepX(f.store, f.geo, f.timeUnit, c.CurTime(k));
    const int x = std::clamp(rawX, f.geo.M, f.geo.W);
    const int y = base + Round((c.CurrentScale() - c.CurValue(k)) * 25 / div) + 46;
    if (started) p.lines.push_back({ChronoImage::Trace, lastX, lastY, x, y, ChronoColour::Red});
    started = true;
    lastX = x;
    lastY = y;
    if (rawX >= f.geo.W) break;
  }
}

}  // namespace

double CurrentAtStep(const CurrentStore& current, int step) {
  const int used = UsedCurrentEntries(current);
  const int k = FirstCurrentEntry(current, used, step);
  return k <= used && current.CurTime(k) == step ? current.CurValue(k) : 0.0;
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

ChronoPicture DrawChronograms(const ChronoFrame& f) {
  const ChronoGeometry& g = f.geo;
  ChronoPicture p;
  p.rectangles.push_back({ChronoImage::Trace, g.M, 0, g.W, g.H, ChronoColour::White});
  p.rectangles.push_back({ChronoImage::Ruler, 0, 0, f.rulerWidth, kRulerHeight, ChronoColour::Silver});
  p.lines.push_back({ChronoImage::Trace, g.M, 50, g.M, g.H, ChronoColour::Blue});

  const Ruler ruler = ComputeRuler(f.store.span, f.store.viewStart * f.timeUnit, g.W - g.M, f.textWidth);
  p.caption = ruler.caption;
  for (const RulerTick& t : ruler.ticks) {
    p.lines.push_back({ChronoImage::Ruler, t.x, t.major ? 20 : 25, t.x, 35, ChronoColour::Black});
    if (!t.major) continue;
    p.texts.push_back({ChronoImage::Ruler, t.x, 5, t.label});
    p.lines.push_back({ChronoImage::Trace, t.x + g.M, 55, t.x + g.M, g.H, ChronoColour::Black, true});
  }
  const std::vector<int> rows = RowTraces(f);
  const int graphRow = static_cast<int>(rows.size()) + 1;
  for (int i = 1; i <= graphRow + 7; ++i)
    p.lines.push_back({ChronoImage::Trace, g.M, 25 * i - 2, g.W, 25 * i - 2, ChronoColour::Black, true});

  DrawTraces(p, f, rows);
  DrawCurrent(p, f, graphRow);

  const CurrentSummary sum = SummariseCurrent(f.current, f.stepCount, f.supplyVoltage);
  const int x0 = g.W - 180;
  const int y0 = std::min(25 * graphRow + 50, g.H - 70);
  p.status = {"", sum.supply, sum.maxCurrent, sum.power};
  p.rectangles.push_back({ChronoImage::Trace, x0, y0, x0 + 140, y0 + 60, ChronoColour::White, true});
  p.texts.push_back({ChronoImage::Trace, x0 + 2, y0 + 2, sum.maxCurrent});
  p.texts.push_back({ChronoImage::Trace, x0 + 2, y0 + 22, sum.average});
  p.texts.push_back({ChronoImage::Trace, x0 + 2, y0 + 42, sum.power});
  return p;
}

CursorReadout ReadCursor(const ChronoFrame& f, double timeNs, int y) {
  CursorReadout r;
  const double step = timeNs / Unit(f.timeUnit);
  r.timeNs = timeNs;
  r.x = StepX(f.store, f.geo, f.timeUnit, step);
  r.timeText = CursorTimesText(timeNs, -1);
  const std::vector<int> rows = RowTraces(f);
  const int graphRow = static_cast<int>(rows.size()) + 1;
  if (y >= 25 * graphRow + 40) {
    const double value = f.current.CurrentScale() - ((y - 46) / 25.0 - graphRow) * f.current.CurrentDiv();
    r.currentText = "Current " + FormatReal(value, 4, 1) + "mA";
  }
  r.timePoint = TimePointAt(f.store, step + 1e-6);
  if (r.timePoint == 0) return r;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int v = f.store.Sample(rows[i], r.timePoint);
    std::string text = f.store.Trace(rows[i]).isBus ? Hex2(v)
                       : v == kSampleX              ? std::string(" x")
                                                    : FormatReal(v, 2, 0);
    r.values.push_back({ChronoImage::Trace, f.geo.M - 15, RowTop(static_cast<int>(i) + 1), std::move(text)});
  }
  return r;
}

std::string CursorTimesText(double timeA, double timeB) {
  std::string text = "Cursor at time " + FormatReal(timeA, 4, 1) + "ns ";
  if (timeB < 0) return text;
  const double dt = timeB - timeA;
  text += "| second at " + FormatReal(timeB, 4, 1) + "ns | difference " + FormatReal(dt, 0, 1) + "ns";
  if (std::abs(dt) > 0) text += " (" + FormatReal(1000.0 / std::abs(dt), 0, 3) + " MHz)";
  return text;
}

}  // namespace qiro
