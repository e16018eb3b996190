// Hit tests scan a whole table and keep the last match, so the entry added last (drawn on
// top) wins. The searches reset the highlight, then raise the state of the matching pins,
// wires and contacts to 4 and ask the window to redraw them.
#include "editor/hit_test.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "extract/extract.h"
#include "workspace.h"

namespace qiro {

namespace {

bool Within(int a, int b, int tolerance) {
  return std::abs(a - b) <= tolerance;
}

bool Between(int v, int a, int b) {
  return v >= std::min(a, b) && v <= std::max(a, b);
}

// The part of a wire under a point with a tolerance for ends and straight runs.
int WirePartAt(const TLine& w, int x, int y, int tolerance) {
  if (Within(x, w.X1, tolerance) && Within(y, w.Y1, tolerance)) return kWireEnd1;
  if (Within(x, w.X2, tolerance) && Within(y, w.Y2, tolerance)) return kWireEnd2;
  if (w.X1 == w.X2) return Within(x, w.X1, tolerance) && Between(y, w.Y1, w.Y2) ? kWireVertical : kWireNone;
  if (w.Y1 == w.Y2) return Within(y, w.Y1, tolerance) && Between(x, w.X1, w.X2) ? kWireHorizontal : kWireNone;
  const bool inside = x > std::min(w.X1, w.X2) && x < std::max(w.X1, w.X2) && y > std::min(w.Y1, w.Y2) &&
                      y < std::max(w.Y1, w.Y2);
  if (!inside) return kWireNone;
  const double t = static_cast<double>(x - w.X1) * (w.Y2 - w.Y1) / (w.X2 - w.X1);
  const int lineY = w.Y1 + static_cast<int>(std::lround(t));
  return Within(lineY, y, 2) ? kWireSloped : kWireNone;
}

std::string Trimmed(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return std::string(s);
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

int LabelAt(const Workspace& ws, int px, int py) {
  int found = 0;
  const auto& labels = ws.circuit.Labels;
  for (int i = 1; i <= labels.Count(); ++i) {
    const TTextLabel& l = labels[i];
    if (l.State == kDeleted) continue;
    const int sx = ws.view.WorldToScreenX(l.X), sy = ws.view.WorldToScreenY(l.Y);
    const int length = static_cast<int>(l.Text.size());
    if (px >= sx - 8 && px <= sx + (length + 1) * 8 && py >= sy - 4 && py <= sy + 12) found = i;
  }
  return found;
}

int SymbolAt(const Workspace& ws, int x, int y) {
  return SymbolAt(ws.circuit, x, y);
}

int NearSymbol(const Workspace& ws, int x, int y) {
  int found = 0;
  const auto& symbols = ws.circuit.Symbols;
  for (int i = 1; i <= symbols.Count(); ++i) {
    const TSymbol& s = symbols[i];
    if (s.State == kDeleted) continue;
    if (x >= s.BBox.x1 - 2 && x <= s.BBox.x2 + 2 && y >= s.BBox.y1 - 2 && y <= s.BBox.y2 + 2) found = i;
  }
  return found;
}

WireHit WireAt(const Workspace& ws, int x, int y) {
  WireHit hit;
  const auto& wires = ws.circuit.Wires;
  for (int i = 1; i <= wires.Count(); ++i) {
    if (wires[i].State == kDeleted) continue;
    const int part = WirePartAt(wires[i], x, y, ws.view.gridStep);
    if (part != kWireNone) hit = WireHit{i, part};
  }
  return hit;
}

int WireNear(const Workspace& ws, int wire, int x, int y) {
  if (!ws.circuit.Wires.Valid(wire)) return kWireNone;
  return WirePartAt(ws.circuit.Wires[wire], x, y, 3);
}

PinHit PinAt(const Workspace& ws, int x, int y) {
  return PinAt(ws.circuit, x, y);
}

int WireOnPin(Workspace& ws, int symbol, int pin, int wire) {
  if (!ws.circuit.Symbols.Valid(symbol) || !ws.circuit.Wires.Valid(wire)) return kWireNone;
  const TSymbol& s = ws.circuit.Symbols[symbol];
  if (pin < 1 || pin > s.PinCount) return kWireNone;
  const TPin& p = s.Pin(pin);
  TLine& w = ws.circuit.Wires[wire];
  if (w.X1 == p.X && w.Y1 == p.Y) {
    w.EndFlags |= 1;
    return kWireEnd1;
  }
  if (w.X2 == p.X && w.Y2 == p.Y) {
    w.EndFlags |= 2;
    return kWireEnd2;
  }
  if (w.X1 == w.X2) return w.X1 == p.X && Between(p.Y, w.Y1, w.Y2) ? kWireVertical : kWireNone;
  if (w.Y1 == w.Y2) return w.Y1 == p.Y && Between(p.X, w.X1, w.X2) ? kWireHorizontal : kWireNone;
  return WirePartAt(w, p.X, p.Y, 0) == kWireSloped ? kWireSloped : kWireNone;
}

void ShowNetAt(Workspace& ws, int x1, int y1, int x2, int y2) {
  const int left = std::min(x1, x2), right = std::max(x1, x2);
  const int top = std::min(y1, y2), bottom = std::max(y1, y2);
  // Node numbers of a stale drawing would highlight another net.
  ExtractCircuit(ws);
  ResetHighlight(ws);

  const auto& wires = ws.circuit.Wires;
  int node = 1;
  bool found = false;
  for (int i = 1; i <= wires.Count(); ++i) {
    const TLine& w = wires[i];
    if (w.State == kDeleted) continue;
    if (std::min(w.X1, w.X2) >= left && std::max(w.X1, w.X2) <= right && std::min(w.Y1, w.Y2) >= top &&
        std::max(w.Y1, w.Y2) <= bottom) {
      node = w.Node;
      found = true;
    }
  }
  for (int i = 1; i <= wires.Count(); ++i) {
    if (wires[i].State == kDeleted || WireNear(ws, i, right, bottom) == kWireNone) continue;
    node = wires[i].Node;
    found = true;
  }
  if (!found) {
    const PinHit pin = PinAt(ws, right, bottom);
    if (pin.symbol == 0) {
      SetStatus(ws, 0, "Error, no line at this location ...");
      ResetHighlight(ws);
      return;
    }
    node = pin.node;
  }
  HighlightNode(ws, node);
}

void HighlightNode(Workspace& ws, int n) {
  const int count = ws.nodes.Count();
  if (n < 1 || n > count) {
    SetStatus(ws, 0, "Node " + std::to_string(n) + " invalid (" + std::to_string(count) + ")");
    return;
  }
  SetStatus(ws, 0, "Node: " + std::to_string(n) + ", name \"" + ws.nodes.NodeName(n) + "\"");
  Circuit& c = ws.circuit;
  Host& host = ws.host();
  for (int i = 1; i <= c.Symbols.Count(); ++i) {
    TSymbol& s = c.Symbols[i];
    bool any = false;
    for (int k = 1; k <= s.PinCount; ++k)
      if (s.Pin(k).Node == n) {
        s.Pin(k).State = kHighlight2;
        any = true;
      }
    if (any) host.DrawSymbol(i);
  }
  for (int i = 1; i <= c.Wires.Count(); ++i)
    if (c.Wires[i].Node == n) {
      c.Wires[i].State = kHighlight2;
      host.DrawWire(i);
    }
  for (int i = 1; i <= c.Contacts.Count(); ++i)
    if (c.Contacts[i].Node == n) {
      c.Contacts[i].State = kHighlight2;
      host.DrawContact(i);
    }
}

void ShowNode(Workspace& ws, int n) {
  ResetHighlight(ws);
  ExtractCircuit(ws);
  ws.host().RedrawAll();
  HighlightNode(ws, n);
}

void SearchNode(Workspace& ws, std::string_view typed) {
  const std::string text = Trimmed(typed);
  if (text.empty()) return;
  int n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size()) {
    // Not a number: answer as for a number out of range instead of failing.
    ResetHighlight(ws);
    ExtractCircuit(ws);
    SetStatus(ws, 0, "Node " + text + " invalid (" + std::to_string(ws.nodes.Count()) + ")");
    return;
  }
  ShowNode(ws, n);
}

void FindPin(Workspace& ws, std::string_view name) {
  ResetHighlight(ws);
  // Extraction compacts the tables, so it runs before the scan rather than at the first match:
  // the indexes walked below and the node numbers reported stay valid.
  ExtractCircuit(ws);
  const std::string query = Upper(Trimmed(name));
  Circuit& c = ws.circuit;
  std::string status;
  for (int i = 1; i <= c.Symbols.Count(); ++i) {
    TSymbol& s = c.Symbols[i];
    if (s.State == kDeleted || s.Internal != 0) continue;  // generated gates are never shown
    for (int k = 1; k <= s.PinCount; ++k) {
      TPin& p = s.Pin(k);
      if (Upper(Trimmed(p.Name)) != query) continue;
      s.State = kHighlight2;
      p.State = kHighlight2;
      ws.host().DrawSymbol(i);
      status = "Name \"" + p.Name + "\" at node " + std::to_string(p.Node) + " in symbol " + s.Name + " (" +
               std::to_string(s.BBox.x1) + "," + std::to_string(s.BBox.y1) + ")";
    }
  }
  SetStatus(ws, 0, status.empty() ? std::string(name) + " not found" : status);
}

}  // namespace qiro
