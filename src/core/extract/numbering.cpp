// Node numbering. Each supply pin, then each pin still without a node, starts a flood: every
// wire the pin lies on is propagated (depth first, in table order) to the wires it connects
// to, the pins on those wires take the node, and pins of other symbols standing on the pin
// take it too. The connection tests also mark wire ends that meet something.
//
// The literal way tests every pin and wire against every other one. The indexed way asks a
// grid of 64-unit cells for the entries whose rectangle can pass a test, and runs the same
// tests on them in table order; the order matters (a pair of wires is only tested while the
// second is unnumbered), so results are identical to the literal way.
#include "extract/numbering.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "extract/connectivity.h"
#include "workspace.h"

namespace qiro {

namespace {

enum : int { kModelVss = 0, kModelVdd = 1 };

bool NamesItsNode(int model) {
  switch (model) {
    case 49:
    case 59:
    case 61:
    case 62:
    case 68:
    case 69:
    case 70:
    case 81:
    case 85:
    case 89:
      return true;
    default:
      return false;
  }
}

struct Box {
  int x1, y1, x2, y2;
  bool Contains(int x, int y) const { return x >= x1 && x <= x2 && y >= y1 && y <= y2; }
  bool Meets(const Box& o) const { return x1 <= o.x2 && o.x1 <= x2 && y1 <= o.y2 && o.y1 <= y2; }
};

Box BoxOf(const TLine& w) {
  return {std::min(w.X1, w.X2), std::min(w.Y1, w.Y2), std::max(w.X1, w.X2), std::max(w.Y1, w.Y2)};
}

using PinRef = std::pair<int, int>;  // symbol, pin

// Whole-table scans.
class LiteralScan {
 public:
  explicit LiteralScan(Circuit& c) : c_(c) {}

  template <class F>
  void ForWiresAt(int, int, F f) {
    for (int w = 1; w <= c_.Wires.Count(); ++w) f(w);
  }
  template <class F>
  void ForWiresMeeting(int, F f) {
    for (int w = 1; w <= c_.Wires.Count(); ++w) f(w);
  }
  template <class F>
  void ForPinsOn(int, F f) {
    for (int s = 1; s <= c_.Symbols.Count(); ++s)
      for (int k = 1; k <= c_.Symbols[s].PinCount; ++k) f(s, k);
  }
  template <class F>
  void ForSymbolsWithPinAt(int, int, F f) {
    for (int s = 1; s <= c_.Symbols.Count(); ++s) f(s);
  }
  bool Connected(int w1, int w2, int* contact) { return WiresConnected(c_, w1, w2, contact); }

 private:
  Circuit& c_;
};

// Grid of 64-unit cells. Entries spanning too many cells are kept in a list that every query
// includes; queries spanning too many cells fall back to a scan with a rectangle test.
class GridScan {
 public:
  explicit GridScan(Circuit& c) : c_(c) {
    const int wires = c.Wires.Count();
    boxes_.resize(static_cast<std::size_t>(wires) + 1);
    contactEnds_.assign(static_cast<std::size_t>(wires) + 1, 0);
    for (int w = 1; w <= wires; ++w) {
      const Box b = BoxOf(c.Wires[w]);
      boxes_[w] = b;
      if (CellCount(b) > kMaxCells) {
        wideWires_.push_back(w);
        continue;
      }
      ForCells(b, [&](std::uint64_t key) { wireCells_[key].push_back(w); });
    }
    for (int s = 1; s <= c.Symbols.Count(); ++s) {
      const TSymbol& sym = c.Symbols[s];
      for (int k = 1; k <= sym.PinCount; ++k) {
        const TPin& p = sym.Pin(k);
        pinCells_[CellKey(p.X, p.Y)].push_back({s, k});
        std::vector<int>& at = pinPoints_[PointKey(p.X, p.Y)];
        if (at.empty() || at.back() != s) at.push_back(s);
      }
    }
    // Dots: the last live one at each point, and the wire ends each dot lies on.
    std::unordered_map<std::uint64_t, bool> anyContact;
    for (int i = 1; i <= c.Contacts.Count(); ++i) {
      const TContact& k = c.Contacts[i];
      anyContact[PointKey(k.X, k.Y)] = true;
      if (k.State != kDeleted) liveContact_[PointKey(k.X, k.Y)] = i;
    }
    for (int w = 1; w <= wires; ++w) {
      const TLine& l = c.Wires[w];
      contactEnds_[w] =
          (anyContact.count(PointKey(l.X1, l.Y1)) ? 1 : 0) | (anyContact.count(PointKey(l.X2, l.Y2)) ? 2 : 0);
    }
  }

  template <class F>
  void ForWiresAt(int x, int y, F f) {
    std::vector<int> found;
    if (auto it = wireCells_.find(CellKey(x, y)); it != wireCells_.end())
      for (int w : it->second)
        if (boxes_[w].Contains(x, y)) found.push_back(w);
    for (int w : wideWires_)
      if (boxes_[w].Contains(x, y)) found.push_back(w);
    CallInOrder(found, f);
  }

  template <class F>
  void ForWiresMeeting(int wire, F f) {
    const Box b = boxes_[wire];
    std::vector<int> found;
    if (CellCount(b) > kMaxCells) {
      for (int w = 1; w < static_cast<int>(boxes_.size()); ++w)
        if (boxes_[w].Meets(b)) found.push_back(w);
    } else {
      ForCells(b, [&](std::uint64_t key) {
        if (auto it = wireCells_.find(key); it != wireCells_.end())
          for (int w : it->second)
            if (boxes_[w].Meets(b)) found.push_back(w);
      });
      for (int w : wideWires_)
        if (boxes_[w].Meets(b)) found.push_back(w);
    }
    CallInOrder(found, f);
  }

  template <class F>
  void ForPinsOn(int wire, F f) {
    const Box b = boxes_[wire];
    std::vector<PinRef> found;
    if (CellCount(b) > kMaxCells) {
      for (int s = 1; s <= c_.Symbols.Count(); ++s)
        for (int k = 1; k <= c_.Symbols[s].PinCount; ++k)
          if (b.Contains(c_.Symbols[s].Pin(k).X, c_.Symbols[s].Pin(k).Y)) found.push_back({s, k});
    } else {
      ForCells(b, [&](std::uint64_t key) {
        if (auto it = pinCells_.find(key); it != pinCells_.end())
          for (const PinRef& r : it->second) {
            const TPin& p = c_.Symbols[r.first].Pin(r.second);
            if (b.Contains(p.X, p.Y)) found.push_back(r);
          }
      });
      std::sort(found.begin(), found.end());
    }
    for (const PinRef& r : found) f(r.first, r.second);
  }

  template <class F>
  void ForSymbolsWithPinAt(int x, int y, F f) {
    auto it = pinPoints_.find(PointKey(x, y));
    if (it == pinPoints_.end()) return;
    const std::vector<int> symbols = it->second;  // ascending: pins were added in table order
    for (int s : symbols) f(s);
  }

  // Same outcome and side effects as WiresConnected, with the dots looked up instead of scanned.
  bool Connected(int w1, int w2, int* contact) {
    *contact = 0;
    TLine& a = c_.Wires[w1];
    TLine& b = c_.Wires[w2];
    if (a.State == kDeleted || b.State == kDeleted) return false;
    int x = 0, y = 0;
    if (connect::SinglePointOverlap(a, b, x, y)) {
      a.EndFlags |= contactEnds_[w1];
      b.EndFlags |= contactEnds_[w2];
      if (auto it = liveContact_.find(PointKey(x, y)); it != liveContact_.end()) {
        *contact = it->second;
        return true;
      }
    }
    return connect::JoinSharedEnds(a, b);
  }

 private:
  static constexpr int kShift = 6;  // 64-unit cells
  static constexpr std::int64_t kMaxCells = 64;

  static std::uint64_t PointKey(int x, int y) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(x)) << 32) | static_cast<std::uint32_t>(y);
  }
  static std::uint64_t CellKey(int x, int y) { return PointKey(x >> kShift, y >> kShift); }
  static std::int64_t CellCount(const Box& b) {
    return (static_cast<std::int64_t>(b.x2 >> kShift) - (b.x1 >> kShift) + 1) *
           (static_cast<std::int64_t>(b.y2 >> kShift) - (b.y1 >> kShift) + 1);
  }
  template <class F>
  static void ForCells(const Box& b, F f) {
    for (int cx = b.x1 >> kShift; cx <= (b.x2 >> kShift); ++cx)
      for (int cy = b.y1 >> kShift; cy <= (b.y2 >> kShift); ++cy) f(PointKey(cx, cy));
  }
  template <class F>
  static void CallInOrder(std::vector<int>& found, F f) {
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    for (int w : found) f(w);
  }

  Circuit& c_;
  std::vector<Box> boxes_;
  std::vector<int> wideWires_;
  std::vector<int> contactEnds_;
  std::unordered_map<std::uint64_t, std::vector<int>> wireCells_;
  std::unordered_map<std::uint64_t, std::vector<PinRef>> pinCells_;
  std::unordered_map<std::uint64_t, std::vector<int>> pinPoints_;
  std::unordered_map<std::uint64_t, int> liveContact_;
};

template <class Scan>
class Numberer {
 public:
  Numberer(Workspace& ws, Scan& scan) : ws_(ws), c_(ws.circuit), scan_(scan) {}

  void Run() {
    ExtractState& ext = ws_.extraction;
    ext.NumberingError = 0;
    const std::set<std::string> taken = DeviceNodeNames(c_);
    NumberSupplies(kModelVss, 0);
    NumberSupplies(kModelVdd, 1);
    for (int s = 1; s <= c_.Symbols.Count() && ext.NumberingError == 0; ++s) {
      for (int k = 1; k <= c_.Symbols[s].PinCount && ext.NumberingError == 0; ++k) {
        if (c_.Symbols[s].Pin(k).Node != -1) continue;
        ws_.nodes.AddNode(NextGeneratedName(ext.NameCounter, taken), ext.NumberingError);
        // On a full table the pin still takes the last node.
        const int node = ws_.nodes.Count();
        c_.Symbols[s].Pin(k).Node = node;
        Flood(s, k, node);
      }
    }
    NameDeviceNodes();
  }

 private:
  void NumberSupplies(int model, int node) {
    for (int s = 1; s <= c_.Symbols.Count(); ++s) {
      if (c_.Symbols[s].Model != model || c_.Symbols[s].PinCount < 1) continue;
      c_.Symbols[s].Pin(1).Node = node;
      Flood(s, 1, node);
    }
  }

  void Flood(int s, int k, int node) {
    const int x = c_.Symbols[s].Pin(k).X;
    const int y = c_.Symbols[s].Pin(k).Y;
    scan_.ForWiresAt(x, y, [&](int w) {
      if (PinOnWire(c_, s, k, w)) PropagateWire(w, node);
    });
    scan_.ForSymbolsWithPinAt(x, y, [&](int s2) {
      if (int k2 = PinOnPin(c_, s, k, s2)) AssignPinNode(ws_, s2, k2, node);
    });
  }

  void PropagateWire(int w, int node) {
    c_.Wires[w].Node = node;
    scan_.ForPinsOn(w, [&](int s, int k) {
      if (PinOnWire(c_, s, k, w)) AssignPinNode(ws_, s, k, node);
    });
    scan_.ForWiresMeeting(w, [&](int w2) {
      const TLine& other = c_.Wires[w2];
      if (other.Node != -1 || other.State == kDeleted) return;
      int contact = 0;
      if (!scan_.Connected(w, w2, &contact)) return;
      if (contact) c_.Contacts[contact].Node = node;
      PropagateWire(w2, node);
    });
  }

  // Device pins name their nodes; a later device on the same node wins.
  void NameDeviceNodes() {
    for (int s = 1; s <= c_.Symbols.Count(); ++s) {
      const TSymbol& sym = c_.Symbols[s];
      if (!NamesItsNode(sym.Model)) continue;
      for (int k = 1; k <= sym.PinCount; ++k) {
        const TPin& p = sym.Pin(k);
        if (p.Node > 1 && p.Node <= ws_.nodes.Count()) ws_.nodes[p.Node].Name = p.Name;
      }
    }
  }

  Workspace& ws_;
  Circuit& c_;
  Scan& scan_;
};

}  // namespace

std::set<std::string> DeviceNodeNames(const Circuit& c) {
  std::set<std::string> names;
  for (int i = 1; i <= c.Symbols.Count(); ++i)
    if (c.Symbols[i].State != kDeleted && NamesItsNode(c.Symbols[i].Model))
      for (int k = 1; k <= c.Symbols[i].PinCount; ++k) names.insert(c.Symbols[i].Pin(k).Name);
  return names;
}

std::string NextGeneratedName(int& counter, const std::set<std::string>& taken) {
  std::string name;
  do {
    name = "w" + std::to_string(++counter);
  } while (taken.count(name) != 0);
  return name;
}

void NumberNodes(Workspace& ws, NumberingScan scan) {
  if (scan == NumberingScan::Literal) {
    LiteralScan literal(ws.circuit);
    Numberer<LiteralScan>(ws, literal).Run();
  } else {
    GridScan grid(ws.circuit);
    Numberer<GridScan>(ws, grid).Run();
  }
}

}  // namespace qiro
