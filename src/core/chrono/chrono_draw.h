// Paints the timing diagram onto two canvases: the trace image (names, waveforms, current
// graph, summary box) and the ruler image above it. The arithmetic lives in chrono_view; this
// only maps its drawable data onto pens, brushes and fonts.
#pragma once

#include "chrono/chrono_view.h"
#include "editor/canvas.h"

namespace qiro {

Colour ChronoColourOf(ChronoColour c);

// Rectangles first, then lines, then texts; each item goes to the canvas of its image.
void PaintChronoPicture(const ChronoPicture& picture, Canvas& trace, Canvas& ruler);

// The values under the cursor, left of the trace area, on a white background so that the
// previous readout is covered.
void PaintCursorValues(const CursorReadout& readout, Canvas& trace);

// Everything the window shows after opening or a zoom or scroll: the labels, then the diagram.
// Returns the diagram's picture, whose status texts and caption the window shows.
ChronoPicture DrawChronogramImages(const ChronoFrame& frame, Canvas& trace, Canvas& ruler);

}  // namespace qiro
