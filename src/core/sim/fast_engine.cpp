#include "sim/fast_engine.h"

#include <algorithm>
#include <bit>

#include "sim/devices.h"
#include "sim/mcu_hook.h"
#include "sim/primitives.h"
#include "workspace.h"

namespace qiro {

namespace {

void SetBit(std::vector<std::uint64_t>& bits, int i) {
  bits[static_cast<std::size_t>(i) >> 6] |= std::uint64_t{1} << (i & 63);
}

// Turns per-item lists into one flat array with offsets (first has size + 1 entries).
void Flatten(const std::vector<std::vector<int>>& lists, std::vector<int>& first, std::vector<int>& items) {
  first.assign(lists.size() + 1, 0);
  items.clear();
  for (std::size_t i = 0; i < lists.size(); ++i) {
    first[i] = static_cast<int>(items.size());
    items.insert(items.end(), lists[i].begin(), lists[i].end());
  }
  first[lists.size()] = static_cast<int>(items.size());
}

// Cells computed by one look-up: out = table[(a << 6) | (b << 4) | (c << 2) | d] for the values
// a..d of four inputs. Each table is made by the compute pass itself (FoldGate, ComputeSymbol)
// run on every combination of input values.
constexpr int kMuxTable = 7;       // inputs 1, 2, select, and the value the output line holds
constexpr int kNotifTable = 8;     // data, enable
constexpr int kDregTable = 9;      // data, reset, clock, the clock's previous value
constexpr std::uint8_t kHold = 3;  // a register's table: it writes nothing
// Input k (1..4) of a table index; codes above x read as x.
std::uint8_t Field(int i, int k) {
  return static_cast<std::uint8_t>(std::min((i >> (8 - 2 * k)) & 3, 2));
}
// What ComputeSymbol writes to the output pin for inputs i, or unwritten. Pin 3 falls when
// input 3 is 0 and input 4 (its previous value) 1.
std::uint8_t TableOutput(int model, int output, int i, std::uint8_t unwritten) {
  struct Pins {
    int i, output;
    std::uint8_t written;
    std::string none;
    std::uint8_t ReadPin(int p) const { return Field(i, p); }
    void WritePin(int p, std::uint8_t v) {
      if (p == output) written = v;
    }
    void HoldPin(int) {}
    bool RisingEdge(int) const { return false; }
    bool FallingEdge(int p) const { return p == 3 && Field(i, 3) == kLogic0 && Field(i, 4) == kLogic1; }
    const std::string& Prop(int) const { return none; }
  } pins{i, output, unwritten, {}};
  ComputeSymbol(model, pins);
  return pins.written;
}
struct CellTables {
  std::uint8_t table[10][256];
  CellTables() {
    for (int i = 0; i < 256; ++i) {
      for (int f = 0; f < 7; ++f)
        table[f][i] = FoldGate({static_cast<GateFamily>(f), 4}, [i](int k) { return Field(i, k); });
      table[kMuxTable][i] = TableOutput(kModelMux, 4, i, Field(i, 4));  // holding keeps the line's value
      table[kNotifTable][i] = TableOutput(kModelNotif1, 3, i, Field(i, 4));
      table[kDregTable][i] = TableOutput(kModelDreg, 4, i, kHold);
    }
  }
};
const CellTables kCellTables;

}  // namespace

class FastPins final : public SymbolPins {
 public:
  FastPins(FastEngine& e, Workspace& ws, int symbol)
      : e_(e), ws_(ws), symbol_(symbol), sym_(e.symbols_[static_cast<std::size_t>(symbol)]) {}

  int Symbol() const override { return symbol_; }
  std::uint8_t ReadPin(int p) const override { return e_.val_[static_cast<std::size_t>(Node(p))]; }
  bool RisingEdge(int p) const override { return e_.Rose(Node(p)); }
  bool FallingEdge(int p) const override { return e_.Fell(Node(p)); }
  void WritePin(int p, std::uint8_t v) override {
    if (const int line = Line(p); line >= 0) e_.Write(line, v);
  }
  void HoldPin(int p) override { (void)p; }  // an unwritten line keeps its newest value
  void OutputPin(int p) override {
    const int line = Line(p);
    if (line < 0) return;
    const int n = Node(p);
    const std::uint8_t v = e_.lines_[static_cast<std::size_t>(line)].out;
    if (v != kLogicX && n != e_.noneSlot_) e_.SetValue(n, v);
  }
  const std::string& Prop(int k) const override { return ws_.circuit.Symbols[symbol_].Prop(k); }

 private:
  int Node(int p) const {
    if (p < 1 || p > sym_.pinCount) return e_.noneSlot_;
    return e_.pinNode_[static_cast<std::size_t>(sym_.pinBase + p - 1)];
  }
  int Line(int p) const {
    if (p < 1 || p > sym_.pinCount) return -1;
    return e_.pinLine_[static_cast<std::size_t>(sym_.pinBase + p - 1)];
  }

  FastEngine& e_;
  Workspace& ws_;
  int symbol_;
  const FastEngine::Symbol& sym_;
};

// Whether a symbol computes as soon as a direct line changes its input, in the middle of moving
// the lines on: a gate or tristate inverter whose inputs are all on one node (an inverter, a
// buffer, a gate with tied inputs). Its input takes its last value of the step there, so the
// compute pass would write exactly the same. Cells reading several nodes wait for the compute
// pass, which computes each of them once.
bool FastEngine::Eager(int symbol) const {
  const CellRecord& c = cellRecords_[static_cast<std::size_t>(symbol)];
  if (c.cell != Cell::Table || c.holds || c.register_) return false;
  for (int k = 1; k < 4; ++k)  // the inputs a cell does not have read constants
    if (c.in[k] != c.in[0] && c.in[k] != oneSlot_ && c.in[k] != zeroSlot_) return false;
  return true;
}

std::uint8_t FastEngine::EagerOut(int symbol) const {
  const CellRecord& c = cellRecords_[static_cast<std::size_t>(symbol)];
  unsigned out = 0;
  for (unsigned v = 0; v <= kLogicX; ++v) {
    const auto field = [&](int k) -> unsigned {  // the gate's constants, else the node's value
      return c.in[k] == oneSlot_ ? unsigned{kLogic1} : c.in[k] == zeroSlot_ ? unsigned{kLogic0} : v;
    };
    out |=
        unsigned{kCellTables.table[c.table][(field(0) << 6) | (field(1) << 4) | (field(2) << 2) | field(3)]}
        << (2 * v);
  }
  return static_cast<std::uint8_t>(out);
}

void FastEngine::Build(Workspace& ws, const LineLayout& layout) {
  step_ = ws.engine.StepCount;
  first_ = true;
  nodeCount_ = ws.nodes.Count();
  nodes_ = &ws.nodes[0];
  noneSlot_ = nodeCount_ + 1;
  oneSlot_ = nodeCount_ + 2;
  zeroSlot_ = nodeCount_ + 3;
  prevSlot_ = nodeCount_ + 4;
  lines_.clear();
  shapes_.clear();
  pendingShape_ = -1;
  pendingPulses_ = 0;
  drivers_.clear();
  mcuDrivers_.clear();
  alwaysComputed_.clear();
  pinNode_.clear();
  pinLine_.clear();
  steps_.clear();

  const auto nodeSlots = static_cast<std::size_t>(nodeCount_) + 1;
  std::vector<std::vector<int>> driversByNode(nodeSlots), wakeByNode(nodeSlots), tristateByNode(nodeSlots);
  std::vector<std::uint8_t> alwaysDirty(nodeSlots, 0);
  resettable_.assign(nodeSlots, 0);
  alwaysDirty[0] = 1;  // the vss node's previous value is never updated, so it is looked at every step
  auto nodeOf = [&](int n) { return ws.nodes.Valid(n) ? n : noneSlot_; };
  int longest = 1;
  std::vector<CurrentPulse> pulseKinds;  // parallel to shapes_
  auto newLine = [&](int steps, int node) {
    Line l;
    l.delay = LineDelay(steps);
    l.node = node;
    l.filtered = LineCells(steps) >= kGlitchFilterCells;
    l.mask = static_cast<int>(std::bit_ceil(static_cast<unsigned>(l.delay) + 1)) - 1;
    longest = std::max(longest, l.delay);
    lines_.push_back(l);
    return static_cast<int>(lines_.size()) - 1;
  };

  const int symbolCount = std::min(layout.SymbolCount(), ws.circuit.Symbols.Count());
  symbols_.assign(static_cast<std::size_t>(symbolCount) + 1, Symbol{});
  cellRecords_.assign(static_cast<std::size_t>(symbolCount) + 1, CellRecord{});
  for (int i = 1; i <= symbolCount; ++i) {
    const TSymbol& s = ws.circuit.Symbols[i];
    Symbol& sym = symbols_[static_cast<std::size_t>(i)];
    sym.pinBase = static_cast<int>(pinNode_.size());
    sym.pinCount = std::min(s.PinCount, layout.PinCount(i));
    for (int p = 1; p <= sym.pinCount; ++p) {
      pinNode_.push_back(nodeOf(s.Pin(p).Node));
      pinLine_.push_back(-1);
      steps_.push_back(layout.Steps(i, p));
    }
    if (s.State == kDeleted) continue;
    auto slot = [&](int p) { return static_cast<std::size_t>(sym.pinBase + p - 1); };
    const bool source = IsSourceModel(s.Model);
    for (int p = 1; p <= sym.pinCount; ++p) {
      const int n = s.Pin(p).Node;
      if (!ws.nodes.Valid(n)) continue;
      if (source)
        alwaysDirty[static_cast<std::size_t>(n)] = 1;
      else if (ws.nodes[n].DriveKind >= kDriveCircuit)
        resettable_[static_cast<std::size_t>(n)] = 1;
    }

    const DriveList d = DrivenPins(s.Model);
    if (d.mcu) {
      sym.model = s.Model;
      for (int p = 1; p <= sym.pinCount; ++p) {
        const int n = s.Pin(p).Node;
        if (steps_[slot(p)] >= 0) pinLine_[slot(p)] = newLine(steps_[slot(p)], ws.nodes.Valid(n) ? n : -1);
        if (ws.nodes.Valid(n)) alwaysDirty[static_cast<std::size_t>(n)] = 1;
      }
      Driver dr;
      dr.symbol = i;
      mcuDrivers_.push_back(static_cast<int>(drivers_.size()));
      drivers_.push_back(dr);
      alwaysComputed_.push_back(i);
      continue;
    }
    for (int k = 0; k < d.count; ++k) {
      const int p = d.pins[k];
      if (p > sym.pinCount || steps_[slot(p)] < 0) continue;
      const int n = s.Pin(p).Node;
      const int line = newLine(steps_[slot(p)], ws.nodes.Valid(n) ? n : -1);
      pinLine_[slot(p)] = line;
      if (!ws.nodes.Valid(n)) continue;
      Driver dr;
      dr.line = line;
      dr.symbol = i;
      dr.node = n;
      dr.enable = oneSlot_;
      if (d.tristate) {
        const int e = p >= 1 && sym.pinCount >= 2 ? s.Pin(2).Node : -1;
        dr.enable = nodeOf(e);
        if (ws.nodes.Valid(e)) {
          tristateByNode[static_cast<std::size_t>(e)].push_back(n);
          tristateByNode[static_cast<std::size_t>(n)].push_back(e);
        }
      }
      dr.pulse = p == d.pulsePin;
      if (dr.pulse) {
        // Pins of one kind share their pulse's values.
        const CurrentPulse c = PulseOfPin(ws, i, p);
        const auto known = std::find_if(pulseKinds.begin(), pulseKinds.end(), [&c](const CurrentPulse& k) {
          return k.riseSteps == c.riseSteps && k.fallSteps == c.fallSteps &&
                 std::bit_cast<std::uint64_t>(k.peak) == std::bit_cast<std::uint64_t>(c.peak);
        });
        dr.shape = static_cast<int>(known - pulseKinds.begin());
        if (known == pulseKinds.end()) {
          pulseKinds.push_back(c);
          shapes_.push_back(PulseShape::Of(c.riseSteps, c.fallSteps, c.peak));
        }
      }
      driversByNode[static_cast<std::size_t>(n)].push_back(static_cast<int>(drivers_.size()));
      drivers_.push_back(dr);
    }
    const int reads = ReadPinCount(s.Model);
    if (reads < 0) continue;
    sym.model = s.Model;
    CellRecord& c = cellRecords_[static_cast<std::size_t>(i)];
    // An inverter computes as a one-input nand, a buffer as a one-input and.
    const GateShape gate = s.Model == kModelNot   ? GateShape{GateFamily::Nand, 1}
                           : s.Model == kModelBuf ? GateShape{GateFamily::And, 1}
                                                  : GateShapeOf(s.Model);
    // Too few pins (or a gate without inputs), or lines past a record's reach: the general path
    // copes.
    auto lineOf = [&](int p, std::uint16_t& to) {
      const int line = pinLine_[slot(p)];
      to = line >= 0 && line < kNoLine ? static_cast<std::uint16_t>(line) : kNoLine;
    };
    for (int p = 1; p <= 4; ++p)
      c.in[p - 1] = static_cast<std::uint16_t>(p <= sym.pinCount ? pinNode_[slot(p)] : noneSlot_);
    if (gate.family != GateFamily::None && gate.inputs >= 1 && gate.inputs <= 4 &&
        gate.inputs + 1 <= sym.pinCount) {
      c.cell = Cell::Table;
      c.table = static_cast<std::uint8_t>(gate.family);
      lineOf(gate.inputs + 1, c.outLine);
      const bool ones = gate.family == GateFamily::And || gate.family == GateFamily::Nand ||
                        gate.family == GateFamily::Xnor;
      for (int k = gate.inputs; k < 4; ++k) c.in[k] = static_cast<std::uint16_t>(ones ? oneSlot_ : zeroSlot_);
    } else if (s.Model == kModelMux && sym.pinCount >= 4) {
      c.cell = Cell::Table;
      c.table = kMuxTable;
      c.holds = true;
      lineOf(4, c.outLine);
    } else if (s.Model == kModelNotif1 && sym.pinCount >= 3) {
      c.cell = Cell::Table;
      c.table = kNotifTable;
      c.in[2] = c.in[3] = static_cast<std::uint16_t>(zeroSlot_);
      lineOf(3, c.outLine);
    } else if (s.Model == kModelDreg && sym.pinCount >= 5) {
      c.cell = Cell::Table;
      c.table = kDregTable;
      c.register_ = true;
      c.in[3] = static_cast<std::uint16_t>(prevSlot_ + c.in[2]);
      lineOf(4, c.outLine);
      lineOf(5, c.qbar);
    }
    // A table cell always has its output lines.
    if (c.cell == Cell::Table && (c.outLine == kNoLine || (c.register_ && c.qbar == kNoLine)))
      c.cell = Cell::General;
    const int last = reads == 0 ? sym.pinCount : std::min(reads, sym.pinCount);
    for (int p = 1; p <= last; ++p) {
      const int n = s.Pin(p).Node;
      if (!ws.nodes.Valid(n)) continue;
      // A register's data alone never makes it write anything new: it takes it only at a clock
      // edge, and while reset it writes the 0 it already wrote.
      if (c.register_ && p == 1) continue;
      auto& wake = wakeByNode[static_cast<std::size_t>(n)];
      if (wake.empty() || wake.back() != i) wake.push_back(i);
    }
  }
  shared_.assign(nodeSlots, 0);
  soleDriver_.assign(nodeSlots, -1);
  for (std::size_t n = 0; n < nodeSlots; ++n) {
    const auto& d = driversByNode[n];
    shared_[n] = d.size() > 1;
    if (d.size() == 1 && drivers_[static_cast<std::size_t>(d[0])].enable == oneSlot_ &&
        tristateByNode[n].empty() && !alwaysDirty[n])
      soleDriver_[n] = d[0];
  }
  resetEarly_.assign(nodeSlots, 0);
  for (std::size_t n = 0; n < nodeSlots; ++n) {
    resetEarly_[n] = resettable_[n] && soleDriver_[n] < 0;
    if (soleDriver_[n] < 0) continue;
    const Driver& dr = drivers_[static_cast<std::size_t>(soleDriver_[n])];
    Line& l = lines_[static_cast<std::size_t>(dr.line)];
    l.direct = true;
    l.pulse = dr.pulse;
    l.resettable = resettable_[n] != 0;
  }
  Flatten(driversByNode, driversFirst_, driversOfNode_);
  Flatten(wakeByNode, wakeFirst_, wakeOfNode_);
  for (Line& l : lines_) {
    if (!l.direct) continue;
    const auto& readers = wakeByNode[static_cast<std::size_t>(l.node)];
    const std::size_t count = readers.size();
    l.readers = static_cast<std::uint8_t>(std::min<std::size_t>(count, kManyReaders));
    l.wake = count == 1 ? readers[0] : wakeFirst_[static_cast<std::size_t>(l.node)];
    l.eager = count == 1 && Eager(readers[0]);
    if (l.eager) {
      l.wake = cellRecords_[static_cast<std::size_t>(readers[0])].outLine;
      l.eagerOut = EagerOut(readers[0]);
    }
  }
  Flatten(tristateByNode, tristateFirst_, tristateOfNode_);

  int slots = 0;
  for (Line& l : lines_) {
    for (Change& c : l.ring) c = {0, kLogicX};
    if (l.mask < kRing) continue;
    l.queue = slots;
    slots += l.mask + 1;
  }
  queue_.assign(static_cast<std::size_t>(slots), Change{0, kLogicX});
  last_.assign(lines_.size(), kLogicX);
  const int wheelSize = static_cast<int>(std::bit_ceil(static_cast<unsigned>(longest) + 2));
  wheel_.assign(static_cast<std::size_t>(wheelSize), {});
  filterWheel_.assign(static_cast<std::size_t>(wheelSize), {});
  wheelMask_ = wheelSize - 1;

  // The device updates of a changed node touch only the lights on it, the MOS switches gated by
  // it and every display; a node that none of these watches needs no update call.
  bool anyDisplay = false;
  watched_.assign(nodeSlots, 0);
  for (int i = 1; i <= symbolCount; ++i) {
    const TSymbol& s = ws.circuit.Symbols[i];
    if (s.State == kDeleted) continue;
    anyDisplay |= s.Model == kModelDigit || s.Model == kModelDisplay || s.Model == kModelSevenSeg;
    int pin = 0;
    if (s.Model == kModelLight) pin = 1;
    if ((s.Model == kModelNmos || s.Model == kModelPmos) && !s.Internal) pin = 2;
    if (pin > 0 && pin <= s.PinCount && ws.nodes.Valid(s.Pin(pin).Node))
      watched_[static_cast<std::size_t>(s.Pin(pin).Node)] = 1;
  }
  if (anyDisplay) watched_.assign(nodeSlots, 1);
  for (std::size_t n = 0; n < nodeSlots; ++n)
    if (ws.chrono.NodeTrace(static_cast<int>(n)) != 0) watched_[n] = 1;  // nodes added to the timing diagram
  anyWatched_ = std::find(watched_.begin(), watched_.end(), 1) != watched_.end();

  for (int n : ws.engine.ScriptNodes)
    if (ws.nodes.Valid(n)) alwaysDirty[static_cast<std::size_t>(n)] = 1;
  alwaysDirty_.clear();
  for (std::size_t n = 0; n < nodeSlots; ++n)
    if (alwaysDirty[n]) alwaysDirty_.push_back(static_cast<int>(n));
  final_.resize(nodeSlots);
  values_.assign(2 * static_cast<std::size_t>(prevSlot_), kLogicX);
  val_ = values_.data();
  prev_ = val_ + prevSlot_;
  val_[static_cast<std::size_t>(oneSlot_)] = kLogic1;
  val_[static_cast<std::size_t>(zeroSlot_)] = kLogic0;
  for (std::size_t n = 0; n < nodeSlots; ++n) {
    final_[n] = val_[n] = nodes_[n].Value;
    prev_[n] = nodes_[n].PrevValue;
  }
  dirtyList_.clear();
  pulsing_.clear();
  dirtyBits_.assign((nodeSlots + 63) / 64, 0);
  driverBits_.assign((drivers_.size() + 63) / 64, 0);
  pulseBits_.assign(driverBits_.size(), 0);
  pulseShape_.clear();
  for (const Driver& dr : drivers_) pulseShape_.push_back(dr.shape);
  woken_.assign(symbols_.size(), 0);
  // Symbol 0 computes nothing: the look-ahead past the list's end needs no test.
  computeOrder_.assign(symbols_.size() + kLookAhead, 0);
  computeCount_ = 0;
  newValues_.assign(2 * symbols_.size() + kLookAhead, NewValue{0, 0});
}

int FastEngine::LineOf(int symbol, int pin) const {
  if (symbol < 1 || symbol >= static_cast<int>(symbols_.size())) return -1;
  const Symbol& s = symbols_[static_cast<std::size_t>(symbol)];
  if (pin < 1 || pin > s.pinCount) return -1;
  return pinLine_[static_cast<std::size_t>(s.pinBase + pin - 1)];
}

void FastEngine::AddPulse(Workspace& ws, int shape) {
  if (shape != pendingShape_) {
    FlushPulses(ws);
    pendingShape_ = shape;
  }
  ++pendingPulses_;
}

void FastEngine::FlushPulses(Workspace& ws) {
  if (pendingPulses_ > 0)
    ws.current.AddCurrentPulses(step_, shapes_[static_cast<std::size_t>(pendingShape_)], pendingPulses_);
  pendingPulses_ = 0;
}

inline void FastEngine::Write(int line, std::uint8_t v) {
  std::uint8_t& last = last_[static_cast<std::size_t>(line)];
  if (v == last) return;
  Line& l = lines_[static_cast<std::size_t>(line)];
  Change* q = Queue(l);
  if (l.size > 0) {
    Change& newest = q[(l.head + l.size - 1) & l.mask];
    if (newest.step == step_) {
      // A second write in the same step replaces the first.
      const std::uint8_t before = l.size > 1 ? q[(l.head + l.size - 2) & l.mask].value : l.out;
      if (v == before)
        --l.size;
      else
        newest.value = v;
      last = v;
      return;
    }
  }
  if (l.size > l.mask) Emerge(l);  // cannot happen while every change leaves on time
  q[(l.head + l.size) & l.mask] = {step_, v};
  ++l.size;
  last = v;
  const auto at = static_cast<std::size_t>((step_ + l.delay) & wheelMask_);
  wheel_[at].push_back(line);
  if (l.filtered) filterWheel_[at].push_back(line);
}

inline bool FastEngine::Emerge(Line& l) {
  const std::uint8_t before = l.out;
  const Change* q = Queue(l);
  while (l.size > 0) {
    const Change& c = q[l.head];
    if (c.step + l.delay > step_ && l.size <= l.mask) break;
    l.out = c.value;
    l.head = (l.head + 1) & l.mask;
    --l.size;
  }
  return l.out != before;
}

inline void FastEngine::SetDirect(const Line& l) {
  const int n = l.node;
  const auto k = static_cast<std::size_t>(n);
  const std::uint8_t v = l.out;
  // x leaves the node as it is unless the node is resettable; a rise of a pulse-drawing driver is
  // marked for the drive pass (both without a branch, as values come in no order).
  const unsigned kept = l.resettable ? unsigned{kValueX} : val_[k];
  const unsigned takes = 0u - static_cast<unsigned>(v != kLogicX);
  val_[k] = static_cast<std::uint8_t>((v & takes) | (kept & ~takes));
  const int d = soleDriver_[k];
  const bool rose = l.pulse & (v == kLogic1) & (prev_[k] == kLogic0);
  pulseBits_[static_cast<std::size_t>(d) >> 6] |= std::uint64_t{rose} << (d & 63);
  SetBit(dirtyBits_, n);  // for the scan
  if (Unchanged(n)) return;
  if (l.eager) {
    // Its one reader computes now, for the last time in this step (see Eager).
    Write(l.wake, (l.eagerOut >> (2 * val_[k])) & 3u);
  } else if (l.readers == 1) {
    Wake(l.wake);
  } else if (l.readers != kManyReaders) {
    for (int i = l.wake; i < l.wake + l.readers; ++i) Wake(wakeOfNode_[static_cast<std::size_t>(i)]);
  } else {
    WakeReaders(n);
  }
}

void FastEngine::Advance(Workspace& ws) {
  step_ = ws.engine.StepCount;
  if (first_)
    for (int n = 0; n <= nodeCount_; ++n) MarkDirty(n);
  const auto now = static_cast<std::size_t>(step_ & wheelMask_);
  const std::vector<int>& leaving = wheel_[now];
  for (std::size_t j = 0; j < leaving.size(); ++j) {
    // The lines are scattered: ask for one a few places ahead while this one is handled.
    if (j + 8 < leaving.size()) __builtin_prefetch(&lines_[static_cast<std::size_t>(leaving[j + 8])]);
    // The change written delay steps ago leaves, if it is still there: every older one left at
    // its own step.
    Line& l = lines_[static_cast<std::size_t>(leaving[j])];
    const Change& c = Queue(l)[l.head];
    if (l.size == 0 || c.step + l.delay > step_) continue;
    const std::uint8_t before = l.out;
    l.out = c.value;
    l.head = (l.head + 1) & l.mask;
    --l.size;
    if (l.out == before || l.node < 0) continue;
    if (l.direct && !first_)
      SetDirect(l);
    else
      MarkDirty(l.node);
  }
  wheel_[now].clear();
  filterWheel_[now].clear();
  for (int n : alwaysDirty_) MarkDirty(n);
  for (int n : pulsing_) MarkDirty(n);
  pulsing_.clear();
  // A tristate output and its enable are recomputed together: whether it drives depends on
  // the enable's value at that moment of the drive pass.
  if (!tristateOfNode_.empty()) {
    for (std::size_t k = 0; k < dirtyList_.size(); ++k) {
      const auto n = static_cast<std::size_t>(dirtyList_[k]);
      for (int i = tristateFirst_[n]; i < tristateFirst_[n + 1]; ++i)
        MarkDirty(tristateOfNode_[static_cast<std::size_t>(i)]);
    }
  }
  for (int n : dirtyList_)
    if (resetEarly_[static_cast<std::size_t>(n)]) ResetValue(n);
}

std::uint8_t FastEngine::WrittenAt(const Line& l, int step) const {
  std::uint8_t v = l.out;
  const Change* q = Queue(l);
  for (int k = 0; k < l.size; ++k) {
    const Change& c = q[(l.head + k) & l.mask];
    if (c.step > step) break;
    v = c.value;
  }
  return v;
}

void FastEngine::FilterLine(Line& l) {
  // A one-step pulse about to leave: changes written at the two steps after the leaving value,
  // back to where it was. Dropping both changes makes the middle cell equal its neighbours.
  if (l.size < 2) return;
  const Change* q = Queue(l);
  const Change& c0 = q[l.head];
  const Change& c1 = q[(l.head + 1) & l.mask];
  if (c0.step != step_ - l.delay + 1 || c1.step != step_ - l.delay + 2) return;
  const std::uint8_t a = l.out, b = c0.value, c = c1.value;
  if (a == kLogicX || b == kLogicX || a != c) return;
  l.head = (l.head + 2) & l.mask;
  l.size -= 2;
}

void FastEngine::GlitchFilter(Workspace& ws) {
  (void)ws;
  for (int line : filterWheel_[static_cast<std::size_t>((step_ + 1) & wheelMask_)])
    FilterLine(lines_[static_cast<std::size_t>(line)]);
}

inline std::uint8_t FastEngine::TableValue(const CellRecord& c, std::uint8_t last) const {
  const std::uint8_t* val = val_;
  const auto v = [&c, val](int k) { return val[c.in[k]] & 3u; };  // pin k + 1's node value
  // A multiplexer reads the value its line holds in place of a fourth input.
  const unsigned held = last & 3u, fourth = v(3);
  const unsigned mask = 0u - static_cast<unsigned>(c.holds);
  const unsigned d = (held & mask) | (fourth & ~mask);
  return kCellTables.table[c.table][(v(0) << 6) | (v(1) << 4) | (v(2) << 2) | d];
}

inline int FastEngine::ComputeCell(const CellRecord& c, NewValue* out) const {
  if (c.cell != Cell::Table) return -1;
  const std::uint8_t last = last_[c.outLine];
  const std::uint8_t value = TableValue(c, last);
  const bool writes = value != kHold;
  out[0] = {c.outLine, value};
  int count = writes & (value != last);
  if (!c.register_) return count;
  const std::uint8_t inverse = NotValue(value);
  out[count] = {c.qbar, inverse};
  return count + (writes & (inverse != last_[c.qbar]));
}

void FastEngine::Evaluate(Workspace& ws) {
  // Sources and scripts have just written their nodes.
  for (int n : alwaysDirty_) val_[static_cast<std::size_t>(n)] = nodes_[n].Value;

  // A node with a sole driver takes the value leaving its line (after the first step this was
  // done as it left); only its current pulse waits, as all pulses are added after the drive
  // pass, in table order.
  driven_.clear();
  for (int n : dirtyList_) {
    const auto k = static_cast<std::size_t>(n);
    const int sole = soleDriver_[k];
    if (sole < 0) {
      for (int i = driversFirst_[k]; i < driversFirst_[k + 1]; ++i)
        SetBit(driverBits_, driversOfNode_[static_cast<std::size_t>(i)]);
      driven_.push_back(n);
      continue;
    }
    SetDirect(lines_[static_cast<std::size_t>(drivers_[static_cast<std::size_t>(sole)].line)]);
  }

  // Drive pass: the drivers of every other recomputed node, in table order. The drivers whose
  // node rose join the sole drivers in pulseBits_.
  for (int d : mcuDrivers_) SetBit(driverBits_, d);
  for (std::size_t w = 0; w < driverBits_.size(); ++w) {
    std::uint64_t bits = driverBits_[w], rises = 0;
    driverBits_[w] = 0;
    while (bits) {
      const int d = static_cast<int>(w * 64) + std::countr_zero(bits);
      bits &= bits - 1;
      const Driver& dr = drivers_[static_cast<std::size_t>(d)];
      if (dr.line < 0) {
        FastPins pins(*this, ws, dr.symbol);
        EvaluateMicrocontroller(ws, pins, EvalPass::Drive);
        continue;
      }
      // A driver that is disabled or drives x leaves the node as it is (chosen without a branch).
      const std::uint8_t v = lines_[static_cast<std::size_t>(dr.line)].out;
      const auto k = static_cast<std::size_t>(dr.node);
      const bool drives = (val_[static_cast<std::size_t>(dr.enable)] == kLogic1) & (v != kLogicX);
      const std::uint8_t before = val_[k];
      val_[k] = drives ? v : before;
      const bool rose = drives & dr.pulse & (v == kLogic1) & (prev_[k] == kLogic0);
      rises |= std::uint64_t{rose} << (d & 63);
    }
    pulseBits_[w] |= rises;
  }
  // Current pulses, in table order.
  for (std::size_t w = 0; w < pulseBits_.size(); ++w) {
    for (std::uint64_t bits = pulseBits_[w]; bits; bits &= bits - 1)
      AddPulse(ws, pulseShape_[w * 64 + static_cast<std::size_t>(std::countr_zero(bits))]);
    pulseBits_[w] = 0;
  }
  FlushPulses(ws);

  // The symbols reading a node that changed are woken for the compute pass.
  for (int n : driven_) {
    const auto k = static_cast<std::size_t>(n);
    if (shared_[k] && val_[k] == kLogic0) {  // shared nodes are few: test that first
      // A gate driving 1 onto a node that a later driver holds at 0 sees it rise at every step.
      for (int i = driversFirst_[k]; i < driversFirst_[k + 1]; ++i) {
        const Driver& dr = drivers_[static_cast<std::size_t>(driversOfNode_[static_cast<std::size_t>(i)])];
        if (dr.pulse && lines_[static_cast<std::size_t>(dr.line)].out == kLogic1) {
          pulsing_.push_back(n);
          break;
        }
      }
    }
    if (!Unchanged(n)) WakeReaders(n);
  }
  if (first_) {
    for (std::size_t i = 1; i < symbols_.size(); ++i)
      if (symbols_[i].model >= 0) Wake(static_cast<int>(i));
    first_ = false;
  }
  for (int i : alwaysComputed_) Wake(i);
  // Compute pass; records are asked for a few places ahead of their turn.
  const std::size_t count = computeCount_;
  computeCount_ = 0;
  const int* order = computeOrder_.data();
  NewValue* next = newValues_.data();
  for (std::size_t j = 0; j < count; ++j) {
    __builtin_prefetch(&cellRecords_[static_cast<std::size_t>(order[j + kLookAhead])]);
    woken_[static_cast<std::size_t>(order[j])] = 0;
    const int i = order[j];
    const CellRecord& c = cellRecords_[static_cast<std::size_t>(i)];
    const int written = ComputeCell(c, next);
    if (written >= 0) {
      next += written;
      continue;
    }
    FastPins pins(*this, ws, i);
    const int model = symbols_[static_cast<std::size_t>(i)].model;
    if (model == kModelMcu)
      EvaluateMicrocontroller(ws, pins, EvalPass::Compute);
    else
      ComputeSymbol(model, pins);
  }
  // Only about one computation in three changes a line: the lines are written after the pass,
  // so that the pass itself does not branch on it.
  for (NewValue* v = newValues_.data(); v < next; ++v) {
    __builtin_prefetch(lines_.data() + v[kLookAhead / 2].line);
    Write(v->line, v->value);
  }
}

bool FastEngine::Scan(Workspace& ws) {
  bool pause = false;
  const bool logged = ws.nodeLog.enabled;
  // The device updates read any node: the table gets every new value before the first of them.
  const bool early = anyWatched_ || logged;
  if (early) {
    for (std::size_t w = 0; w < dirtyBits_.size(); ++w) {
      for (std::uint64_t bits = dirtyBits_[w]; bits; bits &= bits - 1) {
        const int n = static_cast<int>(w * 64) + std::countr_zero(bits);
        nodes_[n].Value = val_[static_cast<std::size_t>(n)];
      }
    }
  }
  for (std::size_t w = 0; w < dirtyBits_.size(); ++w) {
    std::uint64_t bits = dirtyBits_[w];
    dirtyBits_[w] = 0;
    while (bits) {
      const int n = static_cast<int>(w * 64) + std::countr_zero(bits);
      bits &= bits - 1;
      const auto k = static_cast<std::size_t>(n);
      const std::uint8_t v = val_[k];
      TNode& node = nodes_[n];
      if (!early) node.Value = v;
      if (n >= 1) {  // the vss node keeps its previous value
        if ((watched_[k] | logged) && v != prev_[k] && NodeChanged(ws, n, step_)) pause = true;
        node.PrevValue = v;
        prev_[k] = v;
      }
      final_[k] = v;
    }
  }
  dirtyList_.clear();
  return pause;
}

std::vector<std::uint8_t> FastEngine::Cells(int symbol, int pin) const {
  if (symbol < 1 || symbol >= static_cast<int>(symbols_.size())) return {};
  const Symbol& s = symbols_[static_cast<std::size_t>(symbol)];
  if (pin < 1 || pin > s.pinCount) return {};
  const int steps = steps_[static_cast<std::size_t>(s.pinBase + pin - 1)];
  if (steps < 0) return {};
  const int line = LineOf(symbol, pin);
  std::vector<std::uint8_t> cells(static_cast<std::size_t>(LineCells(steps)), kLogicX);
  if (line < 0) return cells;
  const Line& l = lines_[static_cast<std::size_t>(line)];
  for (std::size_t k = 0; k < cells.size(); ++k) cells[k] = WrittenAt(l, step_ - static_cast<int>(k));
  return cells;
}

}  // namespace qiro
