// The arithmetic of the timing-diagram window, as plain data the window only has to paint:
// navigation (fit, follow, scroll, zoom around a point, wheel and drag), the ruler, the
// waveforms, the cursor readouts and the supply-current graph with its labels, status texts
// and summary box.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "chrono/chrono_store.h"
#include "chrono/current_store.h"

namespace qiro {

// Where the diagram lies in the trace image, in pixels.
struct ChronoGeometry {
  int M = 100;  // left edge of the trace area
  int W = 800;  // right edge (image width)
  int H = 600;  // bottom (image height)
};

// M from the ruler panel's left edge: one pixel right of it, rounded down to a multiple of 5.
int TraceAreaLeft(int rulerLeft);

double PxPerNs(const ChronoStore& store, const ChronoGeometry& geo);
// x of a step, and of time point k.
int StepX(const ChronoStore& store, const ChronoGeometry& geo, double timeUnit, double step);
int TimePointX(const ChronoStore& store, const ChronoGeometry& geo, double timeUnit, int k);
// Time in ns under x.
double TimeAtX(const ChronoStore& store, const ChronoGeometry& geo, double timeUnit, int x);
// The last time point at or before step; 0 when none.
int TimePointAt(const ChronoStore& store, double step);

// ---- Navigation ----

// The steps the diagram can show: from the first time point still stored to the newest time,
// which is the last point or, when the run went on since, the current step (every trace holds
// its last value until then). Both 0 when nothing is recorded.
struct DataRange {
  int first = 0;
  int last = 0;
  bool empty = true;
};
DataRange RecordedRange(const ChronoStore& store, int stepCount);

inline constexpr double kMinSpanNs = 5;  // the shortest span, as the zoom-in table ends

// Span after one press of the zoom-out (smaller) and zoom-in (larger) buttons.
double ZoomOutSpan(double span);
double ZoomInSpan(double span);

// Keeps the view on the data: the left edge lies between the first point and the newest time
// less the span (the first point when the span is longer than the data).
void ClampView(ChronoStore& store, double timeUnit, const DataRange& range);
// The whole recorded range across the trace area, in one go.
void FitToData(ChronoStore& store, double timeUnit, const DataRange& range);
// The first view after opening: the whole range when no trace changes more often than every
// 12 pixels across it, else the newest stretch where none does.
void OpeningView(ChronoStore& store, const ChronoGeometry& geo, double timeUnit, const DataRange& range);
// The newest time at the right edge, same span.
void FollowNewest(ChronoStore& store, double timeUnit, const DataRange& range);
// Whether the newest time lies in the view (following stays on while it does).
bool ShowsNewest(const ChronoStore& store, double timeUnit, const DataRange& range);
// Moves the view by a fraction of its span (negative: earlier); at least one step.
void ScrollBySpan(ChronoStore& store, double timeUnit, const DataRange& range, double fraction);
// A new span with the time under x kept under x.
void ZoomAround(ChronoStore& store, const ChronoGeometry& geo, double timeUnit, const DataRange& range,
                double newSpan, int x);
// Span after a Ctrl+wheel turn (120 = one notch, positive zooms in), kept between kMinSpanNs and
// the longer of the recorded range and the zoom-out table's end.
double WheelZoomSpan(double span, int delta, double timeUnit, const DataRange& range);
// A drag by dx pixels from a press made when the view started at startStep.
void DragView(ChronoStore& store, const ChronoGeometry& geo, double timeUnit, const DataRange& range,
              int startStep, int dx);

// Wheel turns into steps of scroll: each notch (120) moves a tenth of the span; small deltas of
// fine wheels and touchpads add up instead of being lost to rounding.
class WheelScroll {
 public:
  int Take(int delta, double spanSteps);
  void Reset() { pending_ = 0; }

 private:
  double pending_ = 0;
};

// ---- Ruler ----

using TextWidth = std::function<int(const std::string&)>;
// A stand-in for measured text: 6 pixels a character.
int EstimatedTextWidth(const std::string& text);

struct RulerTick {
  int x = 0;  // in the ruler image, from the trace area's left edge
  bool major = false;
  std::string label;  // major ticks only
};
struct Ruler {
  double divisionNs = 10;  // between labelled ticks: 1, 2 or 5 times a power of ten
  double tickNs = 1;       // between ticks
  bool micro = false;      // labels count in microseconds
  std::string caption;     // tick spacing, e.g. " 1.0ns/div"
  std::vector<RulerTick> ticks;
};
// The smallest division whose labels, measured, fit between major ticks with a gap, and the
// ticks from the left edge to `width` pixels on, aligned on whole multiples of the tick spacing.
Ruler ComputeRuler(double span, double startNs, int width, const TextWidth& textWidth);

// A real number right-aligned in a field, with a fixed number of decimals, whatever the locale.
std::string FormatReal(double value, int width, int decimals);

// ---- Pictures ----

enum class ChronoColour { Black, Red, Blue, Grey, Green, White, Silver };
enum class ChronoImage { Trace, Ruler };
struct ChronoLine {
  ChronoImage image;
  int x1, y1, x2, y2;
  ChronoColour colour;
  bool dotted = false;
};
struct ChronoText {
  ChronoImage image;
  int x, y;
  std::string text;
};
struct ChronoRectangle {  // filled, with an optional black border
  ChronoImage image;
  int x1, y1, x2, y2;
  ChronoColour fill;
  bool border = false;
};
inline constexpr int kRulerHeight = 50;

struct ChronoPicture {
  std::vector<ChronoRectangle> rectangles;  // painted first
  std::vector<ChronoLine> lines;
  std::vector<ChronoText> texts;    // painted last
  std::vector<std::string> status;  // status bar panels 0..3
  std::string caption;              // the division caption
};

// Everything one drawing of the window reads.
struct ChronoFrame {
  ChronoFrame(const ChronoStore& store, const CurrentStore& current, ChronoGeometry geo, int rulerWidth,
              double timeUnit, int stepCount, double supplyVoltage)
      : store(store),
        current(current),
        geo(geo),
        rulerWidth(rulerWidth),
        timeUnit(timeUnit),
        stepCount(stepCount),
        supplyVoltage(supplyVoltage) {}
  const ChronoStore& store;
  const CurrentStore& current;
  ChronoGeometry geo;
  int rulerWidth = 0;
  double timeUnit = 1.0;
  int stepCount = 0;
  double supplyVoltage = 2.5;
  TextWidth textWidth = EstimatedTextWidth;
  std::optional<std::vector<int>> rows;  // the trace shown in each row, top first; none: every trace
};
// The traces of the rows, in order.
std::vector<int> RowTraces(const ChronoFrame& frame);

// The labels: trace names and the current axis labels.
ChronoPicture InitChronograms(const ChronoFrame& frame);
// The diagram: ruler, grid, waveforms up to the newest time, current curve, status texts and
// summary box. Only the time points in view are visited.
ChronoPicture DrawChronograms(const ChronoFrame& frame);

struct CursorReadout {
  int x = 0;                       // where the cursor bar goes (may lie outside the view)
  double timeNs = 0;               // the time under it
  std::string timeText;            // status panel 0
  std::string currentText;         // status panel 1 when the cursor is in the current graph, else empty
  int timePoint = 0;               // the time point under the cursor (0 when none)
  std::vector<ChronoText> values;  // each row's value there (1, 0, x or two hex digits), left of the area
};
// What lies under a cursor at timeNs; y decides whether the current graph is read.
CursorReadout ReadCursor(const ChronoFrame& frame, double timeNs, int y);
// "Cursor at time ..." with the second cursor and the difference when one is set (timeB >= 0).
std::string CursorTimesText(double timeA, double timeB);

// Texts of the current estimate: "Max. current ...", "Avg. current ...", "Power dissip. ...".
struct CurrentSummary {
  std::string supply, maxCurrent, average, power;
};
CurrentSummary SummariseCurrent(const CurrentStore& current, int stepCount, double supplyVoltage);
// The supply current at a step (0 between pulses); entries are searched, not scanned.
double CurrentAtStep(const CurrentStore& current, int step);

}  // namespace qiro
