// The arithmetic of the timing-diagram window, as plain data the window only has to paint:
// view-all, zoom, scroll, the time division and ruler, the waveforms, the cursor readout and
// the supply-current graph with its labels, status texts and summary box.
#pragma once

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
// x of time point k.
int TimePointX(const ChronoStore& store, const ChronoGeometry& geo, double timeUnit, int k);

// Span after one press of the zoom-out (smaller) and zoom-in (larger) buttons.
double ZoomOutSpan(double span);
double ZoomInSpan(double span);
// View-all: from step 0, and a span covering the recording plus a third of the old span.
void ViewAll(ChronoStore& store, double timeUnit);
void ScrollLeft(ChronoStore& store, double timeUnit);
void ScrollRight(ChronoStore& store, double timeUnit);

struct Division {
  double divisionNs = 10;  // one division of the ruler (ten ticks)
  double tickNs = 1;       // tick spacing
  bool micro = false;      // the ruler counts in microseconds
  std::string caption;     // e.g. " 1.0ns/div"
};
Division ComputeDivision(double span);

// A real number right-aligned in a field, with a fixed number of decimals, whatever the locale.
std::string FormatReal(double value, int width, int decimals);

// Drawing primitives. Target: the trace image or the ruler image.
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
};

// The labels: trace names and the current axis labels.
ChronoPicture InitChronograms(const ChronoStore& store, const CurrentStore& current,
                              const ChronoGeometry& geo, int rulerWidth);
// The diagram: ruler, grid, waveforms, current curve, status texts and summary box.
// stepCount and supplyVoltage feed the average current and power.
ChronoPicture DrawChronograms(const ChronoStore& store, const CurrentStore& current,
                              const ChronoGeometry& geo, int rulerWidth, double timeUnit, int stepCount,
                              double supplyVoltage);

struct CursorReadout {
  int x = 0;                       // where the cursor bar goes
  std::string timeText;            // status panel 0
  std::string currentText;         // status panel 1 when the cursor is in the current graph, else empty
  int timePoint = 0;               // the time point under the cursor (0 when none)
  std::vector<ChronoText> values;  // each trace's value there, left of the trace area
};
// Stores the cursor position and tells what lies under it.
CursorReadout SetCursor(ChronoStore& store, const CurrentStore& current, const ChronoGeometry& geo,
                        double timeUnit, int x, int y);

// Texts of the current estimate: "Max. current ...", "Avg. current ...", "Power dissip. ...".
struct CurrentSummary {
  std::string supply, maxCurrent, average, power;
};
CurrentSummary SummariseCurrent(const CurrentStore& current, int stepCount, double supplyVoltage);

}  // namespace qiro
