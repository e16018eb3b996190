// Floating-line check: a wire floats unless it has a node and both of its ends met a pin, a
// dot or another wire's end during extraction. Floating wires are highlighted and the view
// is moved to the last one.
#include <algorithm>
#include <cstdint>
#include <string>

#include "extract/extract.h"
#include "workspace.h"

namespace qiro {

namespace {

constexpr int kViewMargin = 30;

int Widen(int v, int by) {
  const std::int64_t r = static_cast<std::int64_t>(v) + by;
  return static_cast<int>(std::clamp<std::int64_t>(r, INT32_MIN, INT32_MAX));
}

void Midpoint(const TLine& w, int& x, int& y) {
  x = static_cast<int>((static_cast<std::int64_t>(w.X1) + w.X2) / 2);
  y = static_cast<int>((static_cast<std::int64_t>(w.Y1) + w.Y2) / 2);
}

}  // namespace

int CheckFloatingLines(Workspace& ws, int& errorCode) {
  Circuit& c = ws.circuit;
  ExtractState& ext = ws.extraction;
  int count = 0;
  int last = 0;
  for (int i = 1; i <= c.Wires.Count(); ++i) {
    TLine& w = c.Wires[i];
    if (w.Node != -1 && w.EndFlags == 3) continue;
    w.State = kHighlight;
    ws.host().DrawWire(i);
    ++count;
    last = i;
  }
  ext.FloatingCount = count;
  ext.FloatingWire = last;
  if (count == 0) return 0;
  errorCode = 13;
  const TLine& w = c.Wires[last];
  ext.FloatingView =
      Rect{Widen(std::min(w.X1, w.X2), -kViewMargin), Widen(std::min(w.Y1, w.Y2), -kViewMargin),
           Widen(std::max(w.X1, w.X2), kViewMargin), Widen(std::max(w.Y1, w.Y2), kViewMargin)};
  Midpoint(w, ext.FloatingX, ext.FloatingY);
  ws.host().ShowFloatingLine(ext.FloatingView, ext.FloatingX, ext.FloatingY);
  return count;
}

bool FloatingMark(const Workspace& ws, int& x, int& y) {
  const ExtractState& ext = ws.extraction;
  const auto& wires = ws.circuit.Wires;
  if (!wires.Valid(ext.FloatingWire)) return false;
  const TLine& w = wires[ext.FloatingWire];
  Midpoint(w, x, y);
  return w.State == kHighlight && x == ext.FloatingX && y == ext.FloatingY;
}

void PutAwayFloatingMark(Workspace& ws) {
  ws.extraction.FloatingWire = 0;
}

std::string CheckFloatingLinesCommand(Workspace& ws) {
  ExtractCircuit(ws);
  SetStatus(ws, 0, "Verify floating lines...");
  int errorCode = 0;  // 13 when something floats; the status text says it
  const int count = CheckFloatingLines(ws, errorCode);
  const std::string text = count > 0 ? std::to_string(count) + " line(s) floating. Keep smiling."
                                     : "No floating line in this design.";
  SetStatus(ws, 0, text);
  return text;
}

}  // namespace qiro
