#include "chrono/chrono_draw.h"

namespace qiro {

Colour ChronoColourOf(ChronoColour c) {
  switch (c) {
    case ChronoColour::Black:
      return palette::kBlack;
    case ChronoColour::Red:
      return palette::kRed;
    case ChronoColour::Blue:
      return palette::kBlue;
    case ChronoColour::Grey:
      return palette::kGrey;
    case ChronoColour::Green:
      return palette::kGreen;
    case ChronoColour::White:
      return palette::kWhite;
    case ChronoColour::Silver:
      return palette::kSilver;
  }
  return palette::kBlack;
}

namespace {

// Black text on whatever lies below: names, ruler times and bus values never hide a line.
void SetTextStyle(Canvas& c) {
  c.font() = Font{palette::kBlack, 8, "Arial"};
  c.brush() = Brush{palette::kWhite, true};
}

}  // namespace

void PaintChronoPicture(const ChronoPicture& picture, Canvas& trace, Canvas& ruler) {
  auto on = [&](ChronoImage image) -> Canvas& { return image == ChronoImage::Trace ? trace : ruler; };
  for (const ChronoRectangle& r : picture.rectangles) {
    Canvas& c = on(r.image);
    const PixelRect box{r.x1, r.y1, r.x2, r.y2};
    if (r.border) {
      c.SetPen(Pen{palette::kBlack, PenStyle::Solid, RasterOp::Copy, 1});
      c.SetBrush(Brush{ChronoColourOf(r.fill), false});
      c.Rectangle(box);
    } else {
      c.FillRect(box, ChronoColourOf(r.fill));
    }
  }
  for (const ChronoLine& l : picture.lines) {
    Canvas& c = on(l.image);
    c.SetPen(Pen{ChronoColourOf(l.colour), l.dotted ? PenStyle::Dotted : PenStyle::Solid, RasterOp::Copy, 1});
    c.Segment(l.x1, l.y1, l.x2, l.y2);
  }
  SetTextStyle(trace);
  SetTextStyle(ruler);
  for (const ChronoText& t : picture.texts) on(t.image).Text(t.x, t.y, t.text);
}

void PaintCursorValues(const CursorReadout& readout, Canvas& trace) {
  SetTextStyle(trace);
  trace.brush().transparent = false;
  for (const ChronoText& t : readout.values) trace.Text(t.x, t.y, t.text);
}

ChronoPicture DrawChronogramImages(const ChronoFrame& f, Canvas& trace, Canvas& ruler) {
  PaintChronoPicture(InitChronograms(f), trace, ruler);
  ChronoPicture diagram = DrawChronograms(f);
  PaintChronoPicture(diagram, trace, ruler);
  return diagram;
}

}  // namespace qiro
