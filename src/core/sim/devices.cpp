// Devices at simulation start, every step, on clicks and on node changes.
// Held levels of buttons, keyboards, clocks and sine sources live in their pins' Value bytes;
// clock and sine parameters, in steps, live in their nodes' Param1/Param2. Times in property
// words are nanoseconds and are turned into steps with the technology's TimeUnit; a zero or
// negative period never divides: such a clock or sine holds a steady level.
#include "sim/devices.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <numbers>

#include "model/symbol_hits.h"
#include "workspace.h"

namespace qiro {

namespace {

constexpr std::uint8_t kLevelOf[2] = {kLogic0, kLogic1};  // value code of a level 0 / 1

bool IsLevel1(std::uint8_t v) {
  return v == kLogic1;
}

bool Traced(const TSymbol& s) {
  return (s.Vis & 1) != 0;
}

// A traced device whose trace the user left out of the timing diagram is not registered.
bool Registered(const Workspace& ws, const TSymbol& s, const std::string& traceName) {
  return Traced(s) && !ws.chrono.choice.IsRemoved(traceName);
}

// The nodes the user added to the timing diagram, after the devices. Each starts at the level
// the run gives it (x unless a supply) and is recorded on every change.
void RegisterNodeTraces(Workspace& ws) {
  for (const std::string& name : ws.chrono.choice.nodes) {
    // A full trace table would hand the node the last device's trace: the node waits.
    if (ws.chrono.TraceCount() >= kMaxTraces) return;
    for (int n = 0; n <= ws.nodes.Count(); ++n) {
      if (ws.nodes[n].Name != name || ws.chrono.NodeTrace(n) != 0) continue;
      const int trace = ws.chrono.AddChronoTrace(name, false);
      ws.chrono.SetNodeTrace(n, trace);
      const std::uint8_t kind = ws.nodes[n].DriveKind;
      ws.chrono.RecordChronoSample(0, trace, kind == kDriveHigh ? 1 : kind == kDriveLow ? 0 : kSampleX);
      break;
    }
  }
}

// Steps of a time in ns, rounded; a TimeUnit that is not positive counts as 1 ns.
int StepsOf(double ns, double timeUnit) {
  const double unit = timeUnit > 0 ? timeUnit : 1.0;
  const double steps = std::round(ns / unit);
  if (!(steps < INT_MAX / 2)) return INT_MAX / 2;
  if (!(steps > -(INT_MAX / 2))) return -(INT_MAX / 2);
  return static_cast<int>(steps);
}

void Record(Workspace& ws, int trace, int step, std::uint8_t value) {
  if (trace > 0) ws.chrono.RecordChronoSample(step, trace, value);
}

void Redraw(Workspace& ws, int symbol) {
  ws.host().DeviceChanged(symbol);
}

// Trace name of a single-bit device: pin name, blank, symbol name in parentheses.
std::string BitTraceName(const TSymbol& s, int pin) {
  return s.Pin(pin).Name + " (" + s.Name + ")";
}

// Trace name of a bus device: symbol name, then the pin names each followed by a blank, in parentheses.
std::string BusTraceName(const TSymbol& s, int pins) {
  std::string name = s.Name + "(";
  for (int k = 1; k <= pins; ++k) name += s.Pin(k).Name + " ";
  return name + ")";
}

// Gives a device pin's node the pin's name and marks it as named by a device.
void NameNode(Workspace& ws, const TSymbol& s, int pin) {
  const int n = s.Pin(pin).Node;
  if (!ws.nodes.Valid(n)) return;
  ws.nodes[n].Mark = 2;
  ws.nodes[n].Name = s.Pin(pin).Name;
}

int PinsOfDisplay(int model) {
  return model == kModelDigit ? 4 : 8;
}

// Pins 1..count read as a binary number, pin 1 most significant; only logic 1 counts.
int ReadBits(const Workspace& ws, const TSymbol& s, int count) {
  int v = 0;
  for (int k = 1; k <= count; ++k) v = v * 2 + (IsLevel1(ws.nodes[s.Pin(k).Node].Value) ? 1 : 0);
  return v;
}

void DriveClock(Workspace& ws, int i, int step) {
  TSymbol& s = ws.circuit.Symbols[i];
  TPin& out = s.Pin(1);
  TNode& node = ws.nodes[out.Node];
  const int period = node.Param2;
  const int r = period > 0 ? step % period : 0;
  if (r == 0) {
    out.Value = node.Value = kLogic0;
    Record(ws, s.TraceIndex, step, 0);
    Redraw(ws, i);
  } else if (r == node.Param1) {
    out.Value = node.Value = kLogic1;
    Record(ws, s.TraceIndex, step, 1);
    Redraw(ws, i);
  } else {
    node.Value = out.Value;
  }
}

void DriveSinus(Workspace& ws, int i, int step) {
  TSymbol& s = ws.circuit.Symbols[i];
  const TNode& first = ws.nodes[s.Pin(1).Node];
  const double amplitude = first.Param1;
  const double offset = ws.nodes[s.Pin(2).Node].Param1;
  const int period = first.Param2;
  // A period below one step would divide by zero: the source then holds its offset.
  double v = offset;
  if (period > 0) {
    v = std::round(std::sin(step * 2 * std::numbers::pi / period) * amplitude + offset);
  }
  int value = static_cast<int>(std::clamp(v, -128.0, 255.0));
  if (value < 0) value += 256;
  for (int k = 1; k <= 8; ++k) {
    TPin& pin = s.Pin(k);
    pin.Value = kLevelOf[(value >> (k - 1)) & 1];
    ws.nodes[pin.Node].Value = pin.Value;
  }
  Redraw(ws, i);
}

void DrivePwl(Workspace& ws, int i, int step) {
  TSymbol& s = ws.circuit.Symbols[i];
  auto& all = ws.engine.Pwl;
  PwlPoints* pwl = static_cast<std::size_t>(i) < all.size() ? &all[static_cast<std::size_t>(i)] : nullptr;
  bool high = false, found = false;
  if (pwl) {
    // Steps only go forward within a run, so the pairs already passed stay passed.
    auto& points = pwl->points;
    if (pwl->next > 0 && pwl->next <= points.size() && points[pwl->next - 1].step >= step) pwl->next = 0;
    while (pwl->next < points.size() && points[pwl->next].step < step) ++pwl->next;
    found = pwl->next < points.size();
    high = found && points[pwl->next].high;
  }
  ws.nodes[s.Pin(1).Node].Value = high ? kLogic1 : kLogic0;
  if (found) Redraw(ws, i);
  Record(ws, s.TraceIndex, step, high ? 1 : 0);
}

// Reads a pwl source's pairs, in steps.
PwlPoints ReadPwl(const Workspace& ws, const TSymbol& s) {
  PwlPoints pwl;
  for (int w = 1; w <= 199; w += 2) {
    bool ok = false;
    const double t = DeviceParameter(s.Prop(w), 0, 200000, 0, &ok);
    if (!ok) break;
    pwl.points.push_back({StepsOf(t, ws.tech.TimeUnit), DeviceParameter(s.Prop(w + 1), 0, 100, 0) != 0});
  }
  return pwl;
}

// Pause on an edge of light L (symbol index) on node n; shows why and returns true when it fires.
bool PauseOnEdge(Workspace& ws, const TSymbol& light, const TNode& n, int step) {
  const bool rise = RoseThisStep(n);
  const bool fall = n.PrevValue == kLogic1 && n.Value == kLogic0;
  const char* what = nullptr;
  if ((light.Vis & 16) && rise)
    what = "Pause simulation at a rise edge of ";
  else if ((light.Vis & 32) && fall)
    what = "Pause simulation at a fall edge of ";
  if (!what) return false;
  const long long ns = std::llround(step * ws.tech.TimeUnit);
  SetStatus(ws, 0, what + light.Pin(1).Name + " at time " + std::to_string(ns) + "ns");
  return true;
}

}  // namespace

double DeviceParameter(const std::string& word, double lo, double hi, double def, bool* ok) {
  if (ok) *ok = false;
  std::size_t b = word.find_first_not_of(' ');
  if (b == std::string::npos) return def;
  std::size_t e = word.find_last_not_of(' ') + 1;
  const char* first = word.data() + b;
  const char* last = word.data() + e;
  if (*first == '+') ++first;
  double v = 0;
  auto [end, ec] = std::from_chars(first, last, v, std::chars_format::fixed);
  if (ec != std::errc() || end != last || !std::isfinite(v)) return def;
  if (ok) *ok = true;
  return std::clamp(v, lo, hi);
}

char LevelChar(std::uint8_t valueCode) {
  if (valueCode == kLogic1) return '1';
  if (valueCode == kLogic0) return '0';
  return 'x';
}

void PrepareDevices(Workspace& ws) {
  ws.chrono.ClearTraces();
  ws.nodeLog.Clear();
  auto& symbols = ws.circuit.Symbols;
  // The sources, in table order, so that each step visits only them.
  ws.engine.SourceSymbols.clear();
  ws.engine.Pwl.assign(static_cast<std::size_t>(symbols.Count()) + 1, {});
  for (int i = 1; i <= symbols.Count(); ++i) {
    switch (symbols[i].Model) {
      case kModelButton:
      case kModelKbd:
      case kModelVdd:
      case kModelVss:
      case kModelClock:
      case kModelSinus:
      case kModelPwl:
        ws.engine.SourceSymbols.push_back(i);
        break;
      default:
        break;
    }
  }
  for (int i = 1; i <= symbols.Count(); ++i) {
    TSymbol& s = symbols[i];
    s.TraceIndex = 0;
    if (s.State == kDeleted) continue;
    if (s.Model == kModelPwl) ws.engine.Pwl[static_cast<std::size_t>(i)] = ReadPwl(ws, s);
    switch (s.Model) {
      case kModelLight:
      case kModelButton:
      case kModelPwl:
      case kModelClock:
      case kModelSinus: {
        const int n = s.Pin(1).Node;
        if (!ws.nodes.Valid(n)) break;
        if (Registered(ws, s, BitTraceName(s, 1))) {
          s.TraceIndex = ws.chrono.AddChronoTrace(BitTraceName(s, 1), false);
          NameNode(ws, s, 1);
        }
        TNode& node = ws.nodes[n];
        if (s.Model == kModelClock) {
          const double t0 = DeviceParameter(s.Prop(1), 0, 100000, 50);
          const double t1 = DeviceParameter(s.Prop(2), 0, 100000, 50);
          node.DriveKind = kDrivePeriodic;
          node.Param1 = std::max(1, StepsOf(t0, ws.tech.TimeUnit));
          node.Param2 = std::max(node.Param1 + 1, StepsOf(t0 + t1, ws.tech.TimeUnit));
        } else if (s.Model == kModelSinus) {
          for (int k = 1; k <= 8; ++k) ws.nodes[s.Pin(k).Node].DriveKind = kDrivePeriodic;
          node.Param1 = static_cast<int>(std::lround(DeviceParameter(s.Prop(1), 0, 255, 10)));
          node.Param2 = StepsOf(DeviceParameter(s.Prop(2), 0, 100000, 50), ws.tech.TimeUnit);
          ws.nodes[s.Pin(2).Node].Param1 =
              static_cast<int>(std::lround(DeviceParameter(s.Prop(3), 0, 255, 10)));
        } else if (s.Model == kModelPwl) {
          node.DriveKind = kDrivePwl;
        }
        break;
      }
      case kModelDigit:
      case kModelKbd:
      case kModelDisplay: {
        const int pins = s.Model == kModelDisplay ? 8 : 4;
        if (!Registered(ws, s, BusTraceName(s, pins))) break;
        // The 8-bit display records its whole value, so it gets a bus trace like the digit.
        s.TraceIndex = ws.chrono.AddChronoTrace(BusTraceName(s, pins), true);
        for (int k = 1; k <= pins; ++k) NameNode(ws, s, k);
        break;
      }
      case kModelSevenSeg:
        if (!Traced(s)) break;
        for (int k = 1; k <= 7; ++k) {
          s.TraceIndex = ws.chrono.AddChronoTrace(BitTraceName(s, k), false);
          NameNode(ws, s, k);
        }
        break;
      case kModelVdd:
        ws.nodes[s.Pin(1).Node].DriveKind = kDriveHigh;
        break;
      case kModelVss:
        ws.nodes[s.Pin(1).Node].DriveKind = kDriveLow;
        break;
      default:
        break;
    }
  }
  RegisterNodeTraces(ws);
}

void DriveSources(Workspace& ws, int step) {
  auto& symbols = ws.circuit.Symbols;
  for (const int i : ws.engine.SourceSymbols) {
    TSymbol& s = symbols[i];
    if (s.State == kDeleted) continue;
    switch (s.Model) {
      case kModelButton:
        ws.nodes[s.Pin(1).Node].Value = s.Pin(1).Value;
        break;
      case kModelKbd:
        for (int k = 1; k <= 4; ++k) ws.nodes[s.Pin(k).Node].Value = s.Pin(k).Value;
        break;
      case kModelVdd:
        ws.nodes[s.Pin(1).Node].Value = kLogic1;
        break;
      case kModelVss:
        ws.nodes[s.Pin(1).Node].Value = kLogic0;
        break;
      case kModelClock:
        DriveClock(ws, i, step);
        break;
      case kModelSinus:
        DriveSinus(ws, i, step);
        break;
      case kModelPwl:
        DrivePwl(ws, i, step);
        break;
      default:
        break;
    }
  }
}

int KeyAt(const Rect& rec, int x, int y) {
  const int w = std::abs(rec.x2 - rec.x1);
  const int h = std::abs(rec.y2 - rec.y1);
  if (w == 0 || h == 0) return 0;
  // A click on the far edge itself would give 4: keep it in the last column or row.
  const int column = std::clamp(static_cast<int>((static_cast<long long>(x) - rec.x1) * 4 / w), 0, 3);
  const int row = std::clamp(static_cast<int>(std::llabs(static_cast<long long>(rec.y2) - y) * 4 / h), 0, 3);
  return 4 * row + column;
}

bool ClickPointOf(const Workspace& ws, int symbol, int key, int& x, int& y) {
  const TSymbol& s = ws.circuit.Symbols[symbol];
  const bool kbd = s.Model == kModelKbd;
  auto lands = [&](int px, int py) {
    return SymbolAt(ws.circuit, px, py) == symbol && (!kbd || KeyAt(s.Rec, px, py) == key);
  };
  Rect area = s.BBox;
  if (kbd) {
    // The middle of the key's cell first.
    const int w = s.Rec.x2 - s.Rec.x1, h = s.Rec.y2 - s.Rec.y1;
    const int cx = s.Rec.x1 + (2 * (key % 4) + 1) * w / 8;
    const int cy = s.Rec.y2 - (2 * (key / 4) + 1) * h / 8;
    if (lands(cx, cy)) {
      x = cx, y = cy;
      return true;
    }
  } else if (lands((area.x1 + area.x2) / 2, (area.y1 + area.y2) / 2)) {
    x = (area.x1 + area.x2) / 2, y = (area.y1 + area.y2) / 2;
    return true;
  }
  if (area.IsEmpty() || static_cast<long long>(area.x2 - area.x1) * (area.y2 - area.y1) > 4'000'000)
    return false;
  for (int py = area.y1; py <= area.y2; ++py) {
    for (int px = area.x1; px <= area.x2; ++px) {
      if (lands(px, py)) {
        x = px, y = py;
        return true;
      }
    }
  }
  return false;
}

bool DeviceClick(Workspace& ws, int x, int y, int step) {
  // Pins stand on a symbol's box edge, outside the part of the box a click on the symbol
  // needs, so a click that finds no button or keyboard still asks for a pin there.
  const int i = SymbolAt(ws.circuit, x, y);
  const int model = i > 0 ? ws.circuit.Symbols[i].Model : -1;
  TSymbol& s = ws.circuit.Symbols[i];
  const std::string at = " at " + std::to_string(x) + "," + std::to_string(y);
  bool pause = false;
  if (model == kModelButton) {
    SetStatus(ws, 0, "Button " + s.Name + at);
    TPin& out = s.Pin(1);
    out.Value = out.Value == kLogic0 ? kLogic1 : kLogic0;
    const int n = out.Node;
    ws.nodes[n].Value = out.Value;
    ws.nodes[n].Level = out.Value == kLogic1 ? 1.0 : 0.0;
    Redraw(ws, i);
    Record(ws, s.TraceIndex, step, SampleOfValue(out.Value));
    if (ws.nodes.Valid(n)) pause = UpdateLights(ws, n, step);
    ws.engine.ClickedNode = n;
  } else if (model == kModelKbd) {
    SetStatus(ws, 0, "Keyboard " + s.Name + at);
    const int key = KeyAt(s.Rec, x, y);
    for (int k = 1; k <= 4; ++k) s.Pin(k).Value = kLevelOf[(key >> (k - 1)) & 1];
    Redraw(ws, i);
    Record(ws, s.TraceIndex, step, static_cast<std::uint8_t>(key));
    for (int k = 1; k <= 4; ++k)
      if (ws.nodes.Valid(s.Pin(k).Node)) pause = UpdateLights(ws, s.Pin(k).Node, step) || pause;
    for (int k = 1; k <= 4; ++k)
      if (ws.nodes.Valid(s.Pin(k).Node) && UpdateDisplays(ws, s.Pin(k).Node, step)) break;
  } else {
    if (const PinHit hit = PinAt(ws.circuit, x, y); hit.symbol != 0) {
      const TSymbol& owner = ws.circuit.Symbols[hit.symbol];
      const int pin = hit.pin;
      const int n = owner.Pin(pin).Node;
      if (ws.nodes.Valid(n)) {
        SetStatus(ws, 1,
                  "Click in " + owner.Name + "(" + owner.Title + "), pin " + std::to_string(pin) + ", \"" +
                      LevelChar(ws.nodes[n].Value) + "\"");
      }
    }
  }
  return pause;
}

bool UpdateLights(Workspace& ws, int node, int step) {
  bool pause = false;
  auto& symbols = ws.circuit.Symbols;
  const TNode& n = ws.nodes[node];
  for (int i = 1; i <= symbols.Count(); ++i) {
    const TSymbol& s = symbols[i];
    if (s.Model != kModelLight || s.State == kDeleted || s.PinCount < 1 || s.Pin(1).Node != node) continue;
    Record(ws, s.TraceIndex, step, SampleOfValue(n.Value));
    Redraw(ws, i);
    if (node != ws.engine.ClickedNode && PauseOnEdge(ws, s, n, step)) pause = true;
  }
  return pause;
}

bool UpdateDisplays(Workspace& ws, int node, int step) {
  bool found = false;
  auto& symbols = ws.circuit.Symbols;
  for (int i = 1; i <= symbols.Count(); ++i) {
    const TSymbol& s = symbols[i];
    if (s.State == kDeleted) continue;
    if (s.Model != kModelDigit && s.Model != kModelDisplay && s.Model != kModelSevenSeg) continue;
    if (s.Model == kModelSevenSeg) {
      // One single-bit trace per segment, registered in a row ending at TraceIndex. When the
      // trace table was full the row is broken and only the last segment has its trace.
      const bool row = s.TraceIndex >= 7 && (s.TraceIndex < kMaxTraces ||
                                             ws.chrono.Trace(s.TraceIndex - 6).name == BitTraceName(s, 1));
      for (int k = row ? 1 : 7; k <= 7 && s.TraceIndex > 0; ++k)
        Record(ws, s.TraceIndex - 7 + k, step, SampleOfValue(ws.nodes[s.Pin(k).Node].Value));
    } else {
      Record(ws, s.TraceIndex, step, static_cast<std::uint8_t>(ReadBits(ws, s, PinsOfDisplay(s.Model))));
    }
    const int watched = s.Model == kModelDigit ? 5 : 8;
    for (int k = 1; k <= watched && k <= s.PinCount; ++k) {
      if (s.Pin(k).Node == node) {
        Redraw(ws, i);
        found = true;
        break;
      }
    }
  }
  return found;
}

void UpdateSwitches(Workspace& ws, int node) {
  auto& symbols = ws.circuit.Symbols;
  for (int i = 1; i <= symbols.Count(); ++i) {
    const TSymbol& s = symbols[i];
    if ((s.Model == kModelNmos || s.Model == kModelPmos) && !s.Internal && s.State != kDeleted &&
        s.PinCount >= 2 && s.Pin(2).Node == node)
      Redraw(ws, i);
  }
}

bool NodeChanged(Workspace& ws, int node, int step) {
  ws.nodeLog.Record(step, node, ws.nodes[node].Value);
  if (const int trace = ws.chrono.NodeTrace(node))
    ws.chrono.RecordChronoSample(step, trace, SampleOfValue(ws.nodes[node].Value));
  const bool pause = UpdateLights(ws, node, step);
  UpdateDisplays(ws, node, step);
  UpdateSwitches(ws, node);
  return pause;
}

std::uint8_t LightLevel(const Workspace& ws, int symbol) {
  return ws.nodes[ws.circuit.Symbols[symbol].Pin(1).Node].Value;
}

int DigitShown(const Workspace& ws, int symbol) {
  const TSymbol& s = ws.circuit.Symbols[symbol];
  if (IsLevel1(ws.nodes[s.Pin(5).Node].Value)) return kBlankDigit;
  return ReadBits(ws, s, 4);
}

int DisplayValue(const Workspace& ws, int symbol) {
  const TSymbol& s = ws.circuit.Symbols[symbol];
  return ReadBits(ws, s, PinsOfDisplay(s.Model));
}

DisplayFace DisplayShown(const Workspace& ws, int symbol) {
  return FormatDisplay(DisplayValue(ws, symbol), DisplayFormatOf(ws.circuit.Symbols[symbol].Vis));
}

int SevenSegLit(const Workspace& ws, int symbol) {
  const TSymbol& s = ws.circuit.Symbols[symbol];
  if (ws.nodes[s.Pin(8).Node].Value != kLogic0) return 0;
  int lit = 0;
  for (int k = 1; k <= 7; ++k)
    if (IsLevel1(ws.nodes[s.Pin(k).Node].Value)) lit |= 1 << (k - 1);
  return lit;
}

int KeyboardKey(const Workspace& ws, int symbol) {
  const TSymbol& s = ws.circuit.Symbols[symbol];
  int key = 0;
  for (int k = 1; k <= 4; ++k)
    if (IsLevel1(s.Pin(k).Value)) key |= 1 << (k - 1);
  return key;
}

}  // namespace qiro
