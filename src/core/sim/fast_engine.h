// The fast engine: the same steps as the reference engine, giving the same node values,
// device updates and current pulses step by step, but doing work only where something changed.
//
// - A delay line is a queue of changes (written step, value): what leaves the line at step s is
//   what was written at step s - delay. A write equal to the newest value queues nothing, so a
//   line that holds costs nothing. Each queued change is also put on a timing wheel at the step
//   it leaves the line; the glitch filter looks only at long lines with a change leaving next step.
// - A node is recomputed (reset to x when circuit-driven, driven by its drivers in table order)
//   only when one of its drivers' outputs changed, when a source drives it, or when it carries a
//   tristate output or enable whose neighbour is recomputed, or when a driver of 1 loses it to
//   a later driver of 0 (it draws a current pulse at every step). Any other node would get the
//   very value it already has. A node with one driver and no tristate or source on it (a direct
//   line's node) takes the value leaving its line as it leaves; the drive pass only adds its
//   current pulse, in order.
// - A symbol is computed only when a node it reads changed in this step; otherwise it would
//   write what it wrote last time, or hold. A computation touches only the symbol's own lines,
//   so symbols compute in the order they were woken, and a cell reading one node, that node's
//   only reader, computes as the node changes.
// - Node values live in dense byte arrays while a step runs and go back to the node table in
//   the scan; lines, cell records and tables are laid out so that a change touches few cache
//   lines. Gates, inverters, buffers, multiplexers, tristate inverters and D registers are
//   table look-ups.
// Nodes and drivers are kept in bit sets and walked in index order, so the order of drives,
// device updates and current pulses is the reference engine's.
#pragma once

#include <cstdint>
#include <vector>

#include "chrono/current_store.h"
#include "extract/node_table.h"
#include "sim/pin_access.h"
#include "sim/primitives.h"
#include "sim/step_engine.h"

namespace qiro {

class FastEngine final : public StepEngine {
 public:
  void Build(Workspace& ws, const LineLayout& layout) override;
  void Advance(Workspace& ws) override;
  void GlitchFilter(Workspace& ws) override;
  void Evaluate(Workspace& ws) override;
  bool Scan(Workspace& ws) override;
  std::vector<std::uint8_t> Cells(int symbol, int pin) const override;

 private:
  friend class FastPins;

  struct Change {
    int step = 0;  // when it was written
    std::uint8_t value = 0;
  };
  // A line holds its own change queue when the queue has room for kRing changes or fewer
  // (delays up to 3), so that a short line is one cache line.
  static constexpr int kRing = 4;
  static constexpr std::size_t kLookAhead = 8;  // how far ahead the compute pass prefetches records
  struct alignas(64) Line {
    int delay = 1;  // steps from write to output
    int node = -1;  // node it drives, or -1
    int queue = 0;  // first slot of its change queue in queue_, for a longer line
    int mask = 0;   // the queue's size is a power of two, more than the delay
    int head = 0, size = 0;
    // A direct line's readers: the symbol when one reads the node, else the first of them in
    // wakeOfNode_ (kManyReaders: look them up by node); for an eager line, its reader's output line.
    int wake = 0;
    std::uint8_t readers = 0;
    std::uint8_t out = kLogicX;  // value leaving the line now
    // An eager line: its reader's output for each value of the node, two bits per value code.
    std::uint8_t eagerOut = 0;
    bool filtered : 1 = false;  // long enough for the glitch filter
    // The sole driver of its node (no tristate or source there): a change leaving the line
    // sets the node as it leaves, and wakes the node's readers, without the dirty list.
    bool direct : 1 = false;
    bool pulse : 1 = false;       // as the node's driver, draws a current pulse when the node rises
    bool resettable : 1 = false;  // its node goes back to x when the line leaves x
    bool eager : 1 = false;       // its node's one reader computes as it changes (see Eager)
    Change ring[kRing];
  };
  static constexpr std::uint8_t kManyReaders = 255;
  static_assert(sizeof(Line) == 64);
  struct Driver {
    int line = -1;
    int symbol = 0;
    int node = 0;
    // Drives only while this node is 1: a tristate's enable, the constant 1 slot for any other.
    int enable = -1;
    bool pulse = false;
    int shape = 0;  // its current pulse in shapes_
  };
  // Gates of up to four inputs, inverters, buffers, multiplexers, tristate inverters and D
  // registers are computed by one table look-up (Table), doing what ComputeSymbol does for them
  // without the general pin interface. A gate of fewer inputs reads a constant that leaves its
  // result alone in place of each missing one (1 for and, 0 for or and xor, 1 for xnor); a
  // register reads its clock's previous value as a fourth input, its table gives a hold code where
  // it writes nothing, and its second line takes the complement of the first.
  enum class Cell : std::uint8_t { General, Table };
  static constexpr std::uint16_t kNoLine = 0xffff;
  struct alignas(16) CellRecord {
    Cell cell = Cell::General;
    std::uint8_t table = 0;  // a table cell's table
    bool holds = false;      // a multiplexer: its line's newest value is the table's fourth input
    bool register_ = false;  // a D register: writes its second line too
    // Value slots of its first pins (a register's fourth: its clock's previous value).
    std::uint16_t in[4] = {};
    std::uint16_t outLine = kNoLine;  // the output line (a register's Q)
    std::uint16_t qbar = kNoLine;     // a register's second output line
  };
  static_assert(sizeof(CellRecord) == 16 && 2 * (kMaxNodes + 4) < kNoLine);
  struct Symbol {
    int model = -1;   // -1 when it computes nothing
    int pinBase = 0;  // its pins in pinNode_ / pinLine_
    int pinCount = 0;
  };

  // Node values as the engine reads them, one byte per node in dense arrays: val_ is
  // TNode::Value and prev_ TNode::PrevValue. Slot nodeCount_ + 1 stands in for a missing node:
  // always x; the two after it hold 1 and 0 for the gates. The engine sets only dirty nodes
  // and writes them back to the node table in the scan (SetValue); sources and scripts write
  // the table, and Evaluate copies their nodes first.
  void SetValue(int n, std::uint8_t v) { val_[static_cast<std::size_t>(n)] = v; }
  void ResetValue(int n) {  // before the sources, which may leave the node as it is
    nodes_[n].Value = kLogicX;
    val_[static_cast<std::size_t>(n)] = kLogicX;
  }
  bool Rose(int n) const {
    return prev_[static_cast<std::size_t>(n)] == kLogic0 && val_[static_cast<std::size_t>(n)] == kLogic1;
  }
  bool Fell(int n) const {
    return prev_[static_cast<std::size_t>(n)] == kLogic1 && val_[static_cast<std::size_t>(n)] == kLogic0;
  }
  // Whether node n holds the value it had at the end of the previous step (its readers then
  // have nothing new to compute).
  bool Unchanged(int n) const {
    const auto k = static_cast<std::size_t>(n);
    return (val_[k] == final_[k]) & (val_[k] == prev_[k]);
  }
  Change* Queue(Line& l) { return l.mask < kRing ? l.ring : queue_.data() + l.queue; }
  const Change* Queue(const Line& l) const { return l.mask < kRing ? l.ring : queue_.data() + l.queue; }
  bool Eager(int symbol) const;
  // An eager cell's output for each value of its node (two bits per value code).
  std::uint8_t EagerOut(int symbol) const;
  // What a table cell writes; last is its line's newest value (read only by a multiplexer).
  [[gnu::always_inline]] std::uint8_t TableValue(const CellRecord& c, std::uint8_t last) const;
  // A new value for a line, not yet written.
  struct NewValue {
    int line;
    std::uint8_t value;
  };
  // The compute pass of a short-path cell: puts the values it writes that differ from its lines'
  // newest ones in out (without a branch on whether they differ) and returns their count, or -1
  // for any other symbol.
  [[gnu::always_inline]] int ComputeCell(const CellRecord& c, NewValue* out) const;
  // A change leaving a direct line: what the first loop of Evaluate does for a sole driver.
  [[gnu::always_inline]] void SetDirect(const Line& l);
  // Puts a symbol on the compute list once (without a branch: woken symbols come in no order).
  void Wake(int s) {
    const auto k = static_cast<std::size_t>(s);
    computeOrder_[computeCount_] = s;
    computeCount_ += woken_[k] ^ 1u;
    woken_[k] = 1;
  }
  void WakeReaders(int n) {
    const auto k = static_cast<std::size_t>(n);
    for (int i = wakeFirst_[k]; i < wakeFirst_[k + 1]; ++i) Wake(wakeOfNode_[static_cast<std::size_t>(i)]);
  }
  void MarkDirty(int n) {
    const std::uint64_t bit = std::uint64_t{1} << (n & 63);
    std::uint64_t& word = dirtyBits_[static_cast<std::size_t>(n) >> 6];
    if (word & bit) return;
    word |= bit;
    dirtyList_.push_back(n);
  }
  // Equal pulses in a row are handed to the current store together.
  void AddPulse(Workspace& ws, int shape);
  void FlushPulses(Workspace& ws);
  [[gnu::always_inline]] void Write(int line, std::uint8_t v);
  // Takes the changes that leave the line at the current step; true when its output changed.
  bool Emerge(Line& l);
  void FilterLine(Line& l);
  std::uint8_t WrittenAt(const Line& l, int step) const;
  int LineOf(int symbol, int pin) const;

  int step_ = 0;
  bool first_ = true;
  int nodeCount_ = 0;
  int noneSlot_ = 0, oneSlot_ = 0, zeroSlot_ = 0;
  TNode* nodes_ = nullptr;

  std::vector<Line> lines_;
  // Each line's newest value written, apart from the line: most computations write what their
  // line already holds and need nothing else of it.
  std::vector<std::uint8_t> last_;
  std::vector<Change> queue_;
  std::vector<std::vector<int>> wheel_;
  std::vector<std::vector<int>> filterWheel_;  // the same, only for lines the glitch filter looks at
  int wheelMask_ = 0;

  std::vector<PulseShape> shapes_;
  int pendingShape_ = -1, pendingPulses_ = 0;
  std::vector<Driver> drivers_;                      // in table order
  std::vector<int> mcuDrivers_;                      // driver ids of microcontrollers (no line of their own)
  std::vector<int> driversFirst_, driversOfNode_;    // per node, its drivers
  std::vector<int> wakeFirst_, wakeOfNode_;          // per node, the symbols reading it
  std::vector<int> tristateFirst_, tristateOfNode_;  // per node, nodes tied to it by a tristate

  std::vector<Symbol> symbols_;          // by symbol index
  std::vector<CellRecord> cellRecords_;  // by symbol index
  std::vector<int> pinNode_;             // node slot of every pin
  std::vector<int> pinLine_;
  std::vector<int> alwaysComputed_;  // microcontrollers
  std::vector<int> steps_;           // delay steps per pin slot, for Cells()

  // val_ and prev_ point into one array (prev_ at prevSlot_), so that a table cell can read a
  // previous value through its slot.
  std::vector<std::uint8_t> values_;
  std::uint8_t* val_ = nullptr;
  std::uint8_t* prev_ = nullptr;
  int prevSlot_ = 0;
  std::vector<std::uint8_t> resettable_;  // circuit-driven nodes with a non-source pin
  std::vector<std::uint8_t> resetEarly_;  // those reset to x before the drive pass (not the sole-driver ones)
  std::vector<std::uint8_t> shared_;      // nodes with more than one driver
  std::vector<int> soleDriver_;           // a node's only driver when no tristate or source is on it, or -1
  std::vector<std::uint8_t> watched_;     // nodes whose changes a device looks at
  bool anyWatched_ = false;
  std::vector<std::uint8_t> final_;  // node values at the end of the previous step
  std::vector<int> alwaysDirty_;
  std::vector<int> dirtyList_;
  std::vector<int> driven_;  // recomputed nodes that go through the drive pass
  // The symbols to compute in this step, each once, in the order they were woken (a computation
  // touches only the symbol's own lines, so any order gives the same result), and a mark per
  // symbol on that list.
  std::vector<int> computeOrder_;
  std::size_t computeCount_ = 0;
  std::vector<std::uint8_t> woken_;
  std::vector<NewValue> newValues_;  // the compute pass's writes, made after it
  std::vector<int> pulsing_;         // nodes whose drive pass draws a current pulse again next step
  std::vector<std::uint64_t> dirtyBits_, driverBits_;
  // Drivers whose node rose in this step (a sole driver as its line changes, any other in the
  // drive pass): their current pulses are added after the drive pass, in table order.
  std::vector<std::uint64_t> pulseBits_;
  std::vector<int> pulseShape_;  // each driver's shape, dense: those pulses need nothing else of it
};

}  // namespace qiro
