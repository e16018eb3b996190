#include "model/circuit.h"

#include <utility>

#include "model/text.h"

namespace qiro {

namespace {

// Front index moves up over live entries, back index down over dead ones; the live entry
// at the back fills the hole at the front. The order of what remains is observable
// (evaluation order, file order), so this mirrors the table's documented behaviour exactly.
template <class T, int C, class IsDead>
void CompactTable(Table<T, C>& table, IsDead isDead) {
  int front = 1;
  int back = table.Count();
  for (;;) {
    while (back >= 1 && isDead(table[back])) --back;
    while (front < back && !isDead(table[front])) ++front;
    if (front >= back) break;
    table[front] = std::move(table[back]);
    --back;
  }
  table.Truncate(back);
}

}  // namespace

int Circuit::AddSymbol(std::string_view name) {
  if (Symbols.Full()) {
    ErrorCode = 3;
    return 0;
  }
  TSymbol symbol;
  symbol.Name = Counted(name);
  CurrentSymbol = Symbols.Add(std::move(symbol));
  return CurrentSymbol;
}

void Circuit::AddPin(int symbol, int x, int y, char kind, std::string_view name, double delayFactor,
                     double loadFactor, const Technology& tech) {
  if (!Symbols.Valid(symbol)) return;
  TSymbol& s = Symbols[symbol];
  if (s.PinCount < kMaxPins) ++s.PinCount;
  if (static_cast<int>(s.Pins.size()) < s.PinCount + 1) s.Pins.resize(s.PinCount + 1);
  if (s.PinCount == kMaxPins) ErrorCode = 1;
  if (ErrorCode != 0) return;
  TPin& p = s.Pins[s.PinCount];
  p = TPin{};
  p.X = x;
  p.Y = y;
  p.Kind = kind;
  p.Name = Counted(name);
  p.DelayFactor = delayFactor;
  p.LoadFactor = loadFactor;
  if (delayFactor > 0) {
    p.GateDelay = tech.UnitGateDelay;
    p.WireDelay = tech.WireDelayUnit;
  }
}

void Circuit::AddInnerLine(int symbol, int x1, int y1, int x2, int y2) {
  if (!Symbols.Valid(symbol)) return;
  TSymbol& s = Symbols[symbol];
  if (s.InnerLineCount < kMaxInnerLines) ++s.InnerLineCount;
  if (static_cast<int>(s.InnerLines.size()) < s.InnerLineCount + 1) s.InnerLines.resize(s.InnerLineCount + 1);
  if (s.InnerLineCount == kMaxInnerLines) ErrorCode = 7;
  if (ErrorCode != 0) return;
  s.InnerLines[s.InnerLineCount] = TInnerLine{x1, y1, x2, y2};
}

int Circuit::AddWire(int x1, int y1, int x2, int y2) {
  if (x1 == x2 && y1 == y2) return 0;
  if (Wires.Full()) {
    ErrorCode = 2;
    return 0;
  }
  TLine w;
  w.X1 = x1;
  w.Y1 = y1;
  w.X2 = x2;
  w.Y2 = y2;
  return Wires.Add(w);
}

int Circuit::AddContact(int x, int y) {
  if (Contacts.Full()) {
    ErrorCode = 6;
    return 0;
  }
  TContact c;
  c.X = x;
  c.Y = y;
  return Contacts.Add(c);
}

int Circuit::AddText(int x, int y, std::string_view text) {
  ErrorCode = 0;
  if (text.empty()) return 0;
  for (const TTextLabel& l : Labels)
    if (l.State != kDeleted && l.X == x && l.Y == y) return 0;
  if (Labels.Full()) {
    ErrorCode = 54;
    return 0;
  }
  TTextLabel l;
  l.X = x;
  l.Y = y;
  l.Text = Counted(text);
  return Labels.Add(std::move(l));
}

void Circuit::AddAsmLine(std::string_view line) {
  AsmLines.Add(Counted(line));
}

void Circuit::CompactTables() {
  CompactTable(Wires, [](const TLine& w) { return w.State == kDeleted; });
  CompactTable(Symbols, [](const TSymbol& s) { return s.State == kDeleted; });
  CompactTable(Contacts, [](const TContact& c) { return c.State == kDeleted; });
  CompactTable(Labels, [](const TTextLabel& l) { return l.State == kDeleted; });
}

void Circuit::CompactInternalSymbols() {
  CompactTable(Symbols, [](const TSymbol& s) { return s.Internal != 0; });
}

void Circuit::Clear() {
  Symbols.Clear();
  Wires.Clear();
  Contacts.Clear();
  Labels.Clear();
  FileName = "example";
  Modified = false;
  Extracted = false;
  ResetCounters();
  CurrentSymbol = 0;
}

void Circuit::ResetHighlightStates() {
  // Deleted entries stay deleted: clearing a highlight must never bring back what was cut.
  for (TContact& c : Contacts)
    if (c.State != kDeleted) c.State = kNormal;
  for (TLine& w : Wires)
    if (w.State != kDeleted) w.State = kNormal;
  for (TSymbol& s : Symbols) {
    if (s.PinCount == 0 || s.State == kDeleted) continue;
    s.State = kNormal;
    for (int k = 1; k <= s.PinCount; ++k) s.Pin(k).State = kNormal;
  }
}

Rect DrawingExtent(const Circuit& c) {
  Rect box = Rect::Empty();
  for (const TSymbol& s : c.Symbols)
    if (s.State != kDeleted && s.Internal == 0 && !s.BBox.IsEmpty()) box.Add(s.BBox);
  for (const TLine& w : c.Wires) {
    if (w.State == kDeleted) continue;
    box.Add(w.X1, w.Y1);
    box.Add(w.X2, w.Y2);
  }
  for (const TContact& k : c.Contacts)
    if (k.State != kDeleted) box.Add(k.X, k.Y);
  for (const TTextLabel& l : c.Labels) {
    if (l.State == kDeleted) continue;
    box.Add(l.X, l.Y);
    box.Add(l.X + 40, l.Y + 10);
  }
  if (box.x1 - 20 > box.x2 || box.y1 - 20 > box.y2) box = Rect{-15, -15, 70, 70};
  return box;
}

}  // namespace qiro
