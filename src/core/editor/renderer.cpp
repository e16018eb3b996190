// Schematic drawing. Every item is first tested against the view so that a zoomed-in redraw
// stays cheap; colours follow the item's display state (normal, highlight 2, highlight 4) and
// turn black on white for printing and monochrome. Symbols draw their outline lines (a
// zero-length line is an inverting bubble, drawn as a circle), then title, property text and
// pins; the pin marks and label offsets follow the grid step of the last grid drawing.
#include "editor/renderer.h"

#include <algorithm>
#include <string>
#include <vector>

#include "sim/primitives.h"
#include "workspace.h"

namespace qiro {

namespace {

using namespace palette;

constexpr int kModelPip = 702;
constexpr int kModelMatrix = 710;

// Restores the canvas's pen, brush and font when a drawing function returns.
class CanvasState {
 public:
  explicit CanvasState(Canvas& c) : canvas_(c), pen_(c.pen()), brush_(c.brush()), font_(c.font()) {}
  ~CanvasState() {
    canvas_.SetPen(pen_);
    canvas_.SetBrush(brush_);
    canvas_.SetFont(font_);
  }
  CanvasState(const CanvasState&) = delete;
  CanvasState& operator=(const CanvasState&) = delete;

 private:
  Canvas& canvas_;
  Pen pen_;
  Brush brush_;
  Font font_;
};

// Texts: white on black, black on white for printing.
void SetTextColours(const Workspace& ws, Canvas& canvas) {
  const bool mono = IsMonochrome(ws);
  canvas.font().colour = mono ? kBlack : kWhite;
  canvas.brush() = Brush{mono ? kWhite : kBlack, false};
}

// Culling tests use the whole drawing area, which may show more than the view's window.
bool InsideView(const View& v, int x, int y) {
  const Rect shown = v.Shown();
  return x >= shown.x1 && x <= shown.x2 && y >= shown.y1 && y <= shown.y2;
}

Colour ItemColour(std::uint8_t state, Colour normal) {
  if (state == kHighlight) return kWhite;
  if (state == kHighlight2) return kRed;
  return normal;
}

Colour WireColour(const Workspace& ws, const TLine& w) {
  return IsMonochrome(ws) ? kBlack : ItemColour(w.State, kCyan);
}

bool WireVisible(const View& v, const TLine& w) {
  const Rect shown = v.Shown();
  return std::min(w.X1, w.X2) < shown.x2 && std::min(w.Y1, w.Y2) < shown.y2 &&
         std::max(w.X1, w.X2) > shown.x1 && std::max(w.Y1, w.Y2) > shown.y1;
}

// Point size of symbol texts from the pixel length of 5 units.
int SymbolFontSize(const View& v) {
  const int q = v.WorldToScreenX(5) - v.WorldToScreenX(0);
  if (q < 7) return 6;
  if (q < 10) return 8;
  if (q < 30) return 10;
  return 12;
}

// Whether outline line k of a symbol is drawn dotted: the open links of programmable switches.
bool DottedOutline(const TSymbol& s, int k) {
  const std::string& links = s.Prop(1);
  if (s.Model == kModelPip) return k == s.InnerLineCount && !links.empty() && links[0] == '0';
  if (s.Model == kModelMatrix && k <= 6)
    return !(static_cast<int>(links.size()) >= k && links[static_cast<std::size_t>(k - 1)] == '1');
  return false;
}

// A symbol may be skipped when nothing of it can reach the drawing area: its box and title
// anchor in pixels, widened for texts that run right of and below their anchors.
bool SymbolMayShow(const View& v, const TSymbol& s) {
  Rect box = s.BBox;
  if (box.IsEmpty()) return true;
  box.Add(s.TitleX, s.TitleY);
  const PixelRect p{v.WorldToScreenX(box.x1) - 40, v.WorldToScreenY(box.y1) - 40,
                    v.WorldToScreenX(box.x2) + 400, v.WorldToScreenY(box.y2) + 60};
  return p.right >= v.area.left && p.left <= v.area.right && p.bottom >= v.area.top && p.top <= v.area.bottom;
}

char CellChar(std::uint8_t code) {
  if (code == kLogic1) return '1';
  if (code == kLogic0) return '0';
  return 'x';
}

std::string DelayLineText(const Workspace& ws, const TSymbol& s, const TPin& p) {
  const View& v = ws.view;
  std::string text;
  // Sources and displays drive or read their nodes directly, without a delay line of their own.
  if (IsSourceModel(s.Model) || IsDisplayModel(s.Model))
    return std::string(1, CellChar(ws.nodes[p.Node].Value));
  if (p.LineStart < 0 || p.LineEnd < p.LineStart) return text;
  for (int c = p.LineStart; c <= p.LineEnd && c < static_cast<int>(v.delayCells.size()); ++c)
    text += CellChar(v.delayCells[static_cast<std::size_t>(c)]);
  return text;
}

void DrawPin(Workspace& ws, Canvas& canvas, const TSymbol& s, const TPin& p) {
  const View& v = ws.view;
  const bool mono = IsMonochrome(ws);
  const bool rise = (s.Vis & 16) != 0, fall = (s.Vis & 32) != 0;
  Colour colour;
  if (rise && fall)
    colour = kSilver;
  else if (rise)
    colour = kRed;
  else if (fall)
    colour = kPurple;
  else if (p.State == kHighlight)
    colour = kWhite;
  else if (p.State == kHighlight2)
    colour = kMagenta;
  else
    colour = kYellow;
  if (mono) colour = kBlack;
  canvas.pen().colour = colour;
  canvas.pen().op = RasterOp::Copy;
  canvas.font().colour = mono ? kBlack : kWhite;
  canvas.brush() = Brush{mono ? kWhite : kBlack, false};

  const int x = v.WorldToScreenX(p.X), y = v.WorldToScreenY(p.Y);
  const int d = v.gridStep < 10 ? 3 : 2;
  if (v.netView)
    canvas.Text(x + 2, y - d + 5, std::to_string(p.Node));
  else if (s.Vis & 1)
    canvas.Text(x + 2, v.gridStep < 10 ? y - d + 5 : y - d - 1, p.Name);

  PixelRect mark{x - d, y - d, x + d, y + d};
  if (!ClipToDrawingArea(v, mark)) return;
  canvas.FillRect(mark, colour);
  if (v.singleStep) canvas.Text(mark.left, mark.top + 20, DelayLineText(ws, s, p));
}

}  // namespace

bool IsMonochrome(const Workspace& ws) {
  return ws.view.printing || ws.settings.Monochrome;
}

Colour BackgroundColour(const Workspace& ws) {
  return IsMonochrome(ws) ? kWhite : kBlack;
}

Colour LightColour(char letter) {
  switch (letter) {
    case 'Y':
    case 'y':
      return kYellow;
    case 'G':
    case 'g':
      return kGreen;
    case 'B':
    case 'b':
      return kBlue;
    // The properties dialog stores purple as 'p'; 'v' is the older letter for it.
    case 'V':
    case 'v':
    case 'P':
    case 'p':
      return kPurple;
    default:
      return kRed;
  }
}

bool ClipToDrawingArea(const View& view, PixelRect& r) {
  const PixelRect& a = view.area;
  if (r.right < a.left || r.left > a.right || r.bottom < a.top || r.top > a.bottom) return false;
  r.left = std::max(r.left, a.left);
  r.top = std::max(r.top, a.top);
  r.right = std::min(r.right, a.right);
  r.bottom = std::min(r.bottom, a.bottom);
  return true;
}

void DrawGrid(Workspace& ws, Canvas& canvas) {
  View& v = ws.view;
  const int p = v.WorldToScreenX(10) - v.WorldToScreenX(0);
  v.gridStep = p <= 7 ? 25 : (p <= 15 ? 10 : 5);
  if (v.printing) return;  // the grid helps drawing; paper gets only the schematic
  const int step = v.gridStep;
  const int major = 10 * step;

  const int ox = v.WorldToScreenX(0), oy = v.WorldToScreenY(0);
  canvas.FillRect(PixelRect{ox - 2, oy - 2, ox + 2, oy + 2}, kBlue);

  // Distinct pixel columns and rows of the grid lines strictly inside the area, each marked
  // when it carries the crosses. Far zoomed out many grid lines share one pixel.
  struct Mark {
    int pixel;
    bool major;
  };
  auto collect = [step, major](int lo, int hi, auto toScreen, int areaLo, int areaHi) {
    std::vector<Mark> marks;
    int w = lo - ((lo % step) + step) % step;
    for (; w <= hi; w += step) {
      const int px = toScreen(w);
      if (px <= areaLo || px >= areaHi) continue;
      const bool isMajor = w % major == 0;
      if (!marks.empty() && marks.back().pixel == px)
        marks.back().major = marks.back().major || isMajor;
      else
        marks.push_back(Mark{px, isMajor});
    }
    return marks;
  };
  const int wx1 = std::min(v.ScreenToWorldX(v.area.left), v.ScreenToWorldX(v.area.right)) - step;
  const int wx2 = std::max(v.ScreenToWorldX(v.area.left), v.ScreenToWorldX(v.area.right)) + step;
  const int wy1 = std::min(v.ScreenToWorldY(v.area.top), v.ScreenToWorldY(v.area.bottom)) - step;
  const int wy2 = std::max(v.ScreenToWorldY(v.area.top), v.ScreenToWorldY(v.area.bottom)) + step;
  const auto cols = collect(
      wx1, wx2, [&v](int x) { return v.WorldToScreenX(x); }, v.area.left, v.area.right);
  const auto rows = collect(
      wy1, wy2, [&v](int y) { return v.WorldToScreenY(y); }, v.area.top, v.area.bottom);

  const Colour colour = ws.settings.Monochrome ? kBlack : kBlue;
  for (const Mark& r : rows)
    for (const Mark& c : cols) {
      canvas.SetPixel(c.pixel, r.pixel, colour);
      if (c.major && r.major) {
        canvas.SetPixel(c.pixel - 1, r.pixel, colour);
        canvas.SetPixel(c.pixel + 1, r.pixel, colour);
        canvas.SetPixel(c.pixel, r.pixel - 1, colour);
        canvas.SetPixel(c.pixel, r.pixel + 1, colour);
      }
    }
}

void DrawText(Workspace& ws, Canvas& canvas, int label) {
  if (ws.circuit.Labels.Valid(label)) DrawText(ws, canvas, ws.circuit.Labels[label]);
}

void DrawText(Workspace& ws, Canvas& canvas, const TTextLabel& l) {
  if (l.State == kDeleted) return;
  const Colour previous = canvas.font().colour;
  SetTextColours(ws, canvas);
  canvas.Text(ws.view.WorldToScreenX(l.X), ws.view.WorldToScreenY(l.Y), l.Text);
  canvas.font().colour = previous;
}

void DrawContact(Workspace& ws, Canvas& canvas, int contact) {
  if (ws.circuit.Contacts.Valid(contact)) DrawContact(ws, canvas, ws.circuit.Contacts[contact]);
}

void DrawContact(Workspace& ws, Canvas& canvas, const TContact& k) {
  if (k.State == kDeleted || !InsideView(ws.view, k.X, k.Y)) return;
  const Colour colour = IsMonochrome(ws) ? kBlack : ItemColour(k.State, kLime);
  canvas.pen().op = RasterOp::Copy;
  const int x = ws.view.WorldToScreenX(k.X), y = ws.view.WorldToScreenY(k.Y);
  canvas.FillRect(PixelRect{x - 2, y - 2, x + 2, y + 2}, colour);
}

void DrawLine(Workspace& ws, Canvas& canvas, int wire) {
  if (ws.circuit.Wires.Valid(wire)) DrawLine(ws, canvas, ws.circuit.Wires[wire]);
}

void DrawLine(Workspace& ws, Canvas& canvas, const TLine& w) {
  if (w.State == kDeleted || !WireVisible(ws.view, w)) return;
  const Pen previous = canvas.pen();
  canvas.pen().colour = WireColour(ws, w);
  canvas.pen().op = RasterOp::Copy;
  canvas.pen().style = PenStyle::Solid;
  const View& v = ws.view;
  canvas.Segment(v.WorldToScreenX(w.X1), v.WorldToScreenY(w.Y1), v.WorldToScreenX(w.X2),
                 v.WorldToScreenY(w.Y2));
  canvas.SetPen(previous);
}

void EraseLine(Workspace& ws, Canvas& canvas, int wire) {
  if (ws.circuit.Wires.Valid(wire)) {
    const TLine& w = ws.circuit.Wires[wire];
    if (w.State != kDeleted && WireVisible(ws.view, w)) {
      const Pen previous = canvas.pen();
      canvas.SetPen(Pen{WireColour(ws, w), PenStyle::Solid, RasterOp::MaskNotPen, previous.width});
      const View& v = ws.view;
      canvas.Segment(v.WorldToScreenX(w.X1), v.WorldToScreenY(w.Y1), v.WorldToScreenX(w.X2),
                     v.WorldToScreenY(w.Y2));
      canvas.SetPen(previous);
    }
  }
  SetStatus(ws, 0, "Line Erased");
}

void DrawSymbol(Workspace& ws, Canvas& canvas, int symbol) {
  if (ws.circuit.Symbols.Valid(symbol)) DrawSymbol(ws, canvas, ws.circuit.Symbols[symbol]);
}

void DrawSymbol(Workspace& ws, Canvas& canvas, const TSymbol& s) {
  if (s.State == kDeleted || s.Internal != 0) return;
  const View& v = ws.view;
  if (!SymbolMayShow(v, s)) return;
  const bool mono = IsMonochrome(ws);
  const Colour background = BackgroundColour(ws);

  canvas.SetPen(Pen{kWhite, PenStyle::Solid, RasterOp::Copy, canvas.pen().width});
  canvas.brush() = Brush{kBlack, false};
  canvas.font().colour = kWhite;
  canvas.font().size = SymbolFontSize(v);

  const Colour outline = mono ? kBlack : (s.State == kHighlight2 ? kYellow : kLime);
  const int lines = std::min(s.InnerLineCount, static_cast<int>(s.InnerLines.size()) - 1);
  for (int k = 1; k <= lines; ++k) {
    const TInnerLine& l = s.InnerLines[static_cast<std::size_t>(k)];
    if (DottedOutline(s, k)) {
      canvas.pen().colour = kGrey;
      canvas.pen().style = PenStyle::Dotted;
    } else {
      canvas.pen().colour = outline;
    }
    const int x1 = v.WorldToScreenX(l.x1), y1 = v.WorldToScreenY(l.y1);
    if (l.x1 == l.x2 && l.y1 == l.y2) {
      const int r = v.WorldToScreenX(l.x1 + 2) - x1;
      const Brush previous = canvas.brush();
      canvas.brush() = Brush{background, false};
      canvas.Ellipse(PixelRect{x1 - r, y1 - r, x1 + r, y1 + r});
      canvas.brush() = previous;
    } else {
      canvas.Segment(x1, y1, v.WorldToScreenX(l.x2), v.WorldToScreenY(l.y2));
    }
    canvas.pen().style = PenStyle::Solid;
  }

  if (s.Vis & 4) {
    SetTextColours(ws, canvas);
    canvas.Text(v.WorldToScreenX(s.TitleX), v.WorldToScreenY(s.TitleY), s.Title);
  }
  if (s.Vis & 2) DrawPropertyText(ws, canvas, s);

  const int pins = std::min(s.PinCount, static_cast<int>(s.Pins.size()) - 1);
  for (int k = 1; k <= pins; ++k) DrawPin(ws, canvas, s, s.Pins[static_cast<std::size_t>(k)]);
}

void DrawPropertyText(Workspace& ws, Canvas& canvas, int symbol) {
  if (ws.circuit.Symbols.Valid(symbol)) DrawPropertyText(ws, canvas, ws.circuit.Symbols[symbol]);
}

void DrawPropertyText(Workspace& ws, Canvas& canvas, const TSymbol& s) {
  const View& v = ws.view;
  SetTextColours(ws, canvas);
  canvas.pen().colour = IsMonochrome(ws) ? kBlack : kWhite;
  const int x = v.WorldToScreenX(s.TitleX), y = v.WorldToScreenY(s.TitleY);

  static const char* const kFormatNames[] = {"(Hexa)", "(Unsigned)", "(Int)", "(Fixed)"};
  const int format = (s.Vis >> 6) & 3;
  std::string text;
  bool shown = true;
  switch (s.Model) {
    case 901:
    case 902:
      text = "W=" + s.Prop(1) + " L=" + s.Prop(2);
      break;
    case 900:
    case 920:
    case 930:
    case 960:
    case 965:
      text = s.Prop(1);
      break;
    case 81:
      text = kFormatNames[format];
      break;
    case 89:
      if (format != 0)
        text = kFormatNames[format];
      else
        shown = false;
      break;
    default:
      shown = false;
  }
  if (shown) canvas.Text(x, y + 15, text);
  canvas.Text(x, y + 30, s.Name);
}

void RedrawAll(Workspace& ws, Canvas& canvas) {
  canvas.Clear(BackgroundColour(ws));
  DrawGrid(ws, canvas);
  const Circuit& c = ws.circuit;
  for (int i = 1; i <= c.Labels.Count(); ++i) DrawText(ws, canvas, i);
  for (int i = 1; i <= c.Contacts.Count(); ++i) DrawContact(ws, canvas, i);
  for (int i = 1; i <= c.Symbols.Count(); ++i) DrawSymbol(ws, canvas, i);
  for (int i = 1; i <= c.Wires.Count(); ++i) DrawLine(ws, canvas, i);
}

void XorRectangle(Canvas& canvas, int x1, int y1, int x2, int y2) {
  CanvasState keep(canvas);
  canvas.SetPen(Pen{kWhite, PenStyle::Dotted, RasterOp::Xor, 1});
  canvas.SetBrush(Brush{kBlack, true});
  canvas.Rectangle(PixelRect{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)});
}

void XorLine(Canvas& canvas, int x1, int y1, int x2, int y2) {
  CanvasState keep(canvas);
  // Not-xor with black inverts what lies under the line, so any background shows it.
  canvas.SetPen(Pen{kBlack, PenStyle::Dotted, RasterOp::NotXor, 1});
  canvas.Segment(x1, y1, x2, y2);
}

void XorSymbolOutline(Workspace& ws, Canvas& canvas, int symbol, int dx, int dy) {
  if (!ws.circuit.Symbols.Valid(symbol)) return;
  const Rect& b = ws.circuit.Symbols[symbol].BBox;
  if (b.IsEmpty()) return;
  const View& v = ws.view;
  XorRectangle(canvas, v.WorldToScreenX(b.x1 + dx), v.WorldToScreenY(b.y1 + dy), v.WorldToScreenX(b.x2 + dx),
               v.WorldToScreenY(b.y2 + dy));
}

void XorWireOutline(Workspace& ws, Canvas& canvas, int wire, int dx, int dy) {
  if (!ws.circuit.Wires.Valid(wire)) return;
  const TLine& w = ws.circuit.Wires[wire];
  const View& v = ws.view;
  XorLine(canvas, v.WorldToScreenX(w.X1 + dx), v.WorldToScreenY(w.Y1 + dy), v.WorldToScreenX(w.X2 + dx),
          v.WorldToScreenY(w.Y2 + dy));
}

void DrawPinValues(Workspace& ws, Canvas& canvas) {
  CanvasState keep(canvas);
  const View& v = ws.view;
  const Colour background = BackgroundColour(ws), ink = IsMonochrome(ws) ? kBlack : kWhite;
  for (const TSymbol& s : ws.circuit.Symbols) {
    if (s.State == kDeleted || s.Internal != 0) continue;
    const int pins = std::min(s.PinCount, static_cast<int>(s.Pins.size()) - 1);
    for (int k = 1; k <= pins; ++k) {
      const TPin& p = s.Pins[static_cast<std::size_t>(k)];
      const int x = v.WorldToScreenX(p.X) + 2;
      const int y = v.WorldToScreenY(p.Y) + (v.gridStep >= 10 ? -3 : 2);
      // The pin name in the background colour wipes the previous value, whatever its width.
      canvas.brush() = Brush{background, false};
      canvas.font().colour = background;
      canvas.Text(x, y, p.Name);
      canvas.font().colour = ink;
      canvas.Text(x, y, std::string(1, CellChar(ws.nodes[p.Node].Value)));
    }
  }
}

void DrawWireStates(Workspace& ws, Canvas& canvas) {
  const View& v = ws.view;
  for (const TSymbol& s : ws.circuit.Symbols) {
    if (s.State == kDeleted || s.Internal != 0) continue;
    const int pins = std::min(s.PinCount, static_cast<int>(s.Pins.size()) - 1);
    for (int k = 1; k <= pins; ++k) {
      const TPin& p = s.Pins[static_cast<std::size_t>(k)];
      const std::uint8_t value = ws.nodes[p.Node].Value;
      const Colour colour = value == kLogic1 ? kRed : (value == kLogic0 ? kGreen : kGrey);
      const int x = v.WorldToScreenX(p.X), y = v.WorldToScreenY(p.Y);
      canvas.FillRect(PixelRect{x - 2, y - 2, x + 2, y + 2}, colour);
    }
  }
}

}  // namespace qiro
