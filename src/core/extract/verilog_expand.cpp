// Expansion of Verilog-described symbols.
// Each gate instance line of a model 6000 symbol becomes a hidden (Internal) primitive
// symbol: inputs first, then the output (a dreg's two outputs), as the evaluation expects.
// A port whose name is one of the symbol's pins joins that pin's node; any other port gets
// the module's marker -(module number) and is given a node of its own afterwards, shared
// by every port of the same name (case-insensitive) inside the same module.
#include "extract/verilog_expand.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "extract/numbering.h"
#include "model/catalogue.h"
#include "model/text.h"
#include "model/verilog_text.h"
#include "workspace.h"

namespace qiro {

namespace {

constexpr int kModelVerilog = 6000;
constexpr int kModelDreg = 860;
constexpr int kColumnStep = 50;

std::string Trimmed(const std::string& s) {
  const std::size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

bool SameWireName(const std::string& a, const std::string& b) {
  const std::string x = Trimmed(a), y = Trimmed(b);
  return x.size() == y.size() && std::equal(x.begin(), x.end(), y.begin(), [](char c1, char c2) {
           return std::tolower(static_cast<unsigned char>(c1)) ==
                  std::tolower(static_cast<unsigned char>(c2));
         });
}

struct Port {
  std::string name;
  int node;
};

// Instance name and port list of a gate line. A "#(...)" delay group comes before the
// instance name; the ports are then in the parenthesis that follows the group.
void SplitInstance(const std::string& line, std::string& instance, std::vector<std::string>& ports) {
  const std::size_t hash = line.find('#');
  if (hash == std::string::npos) {
    instance = VerilogWord(line, 2);
    ports = ParsePortList(line);
    return;
  }
  const std::size_t close = line.find(')', hash);
  const std::string rest = close == std::string::npos ? std::string() : line.substr(close + 1);
  instance = VerilogWord(rest, 1);
  ports = ParsePortList(rest);
}

void ExpandSymbol(Workspace& ws, int v) {
  Circuit& c = ws.circuit;
  ExtractState& ex = ws.extraction;
  const int marker = -(++ex.ModuleNumber);
  // Copies: adding symbols may move the table's records.
  const TSymbol source = c.Symbols[v];
  const int last = std::min(source.VerilogLineCount, kMaxVerilogLines);

  for (int l = std::max(source.VerilogStart, 1); l <= last; ++l) {
    const std::string& line = source.VerilogLine(l);
    const std::string primitive = VerilogWord(line, 1);
    if (GateCodeOfName(primitive) == kGateNone) continue;
    std::string instance;
    std::vector<std::string> ports;
    SplitInstance(line, instance, ports);
    // A blank before a comma or ")" reads as an empty name; it names no port.
    std::erase(ports, std::string());
    // A header continuation line can begin like a gate name; an instance always has ports.
    if (ports.empty()) continue;

    const int s = c.AddSymbol(primitive);
    if (s == 0) return;  // symbol table full: error 3 is set
    const int k = ++ex.InstanceCount;
    TSymbol& g = c.Symbols[s];
    g.Internal = 1;
    g.State = kNormal;
    g.Model = ModelOfPrimitive(primitive, static_cast<int>(ports.size()) - 1);
    g.Name = Counted(instance + "_" + source.Title + "_" + std::to_string(k));
    g.Title = "internal_" + std::to_string(k);
    const int y = (k - 1) * kColumnStep;
    g.Rec = Rect{0, y, 40, y + 40};
    g.TitleX = 0;
    g.TitleY = y;

    const int outputs = std::min<int>(g.Model == kModelDreg ? 2 : 1, static_cast<int>(ports.size()));
    std::vector<std::string> order(ports.begin() + outputs, ports.end());
    order.insert(order.end(), ports.begin(), ports.begin() + outputs);
    const int inputs = static_cast<int>(order.size()) - outputs;
    const int count = std::min(static_cast<int>(order.size()), kMaxPins - 1);
    g.Pins.assign(static_cast<std::size_t>(count) + 1, TPin{});
    g.PinCount = count;
    for (int p = 1; p <= count; ++p) {
      TPin& pin = g.Pins[p];
      pin.Name = Counted(order[p - 1]);
      const bool output = p > inputs;
      pin.Kind = output ? 'O' : 'I';
      pin.DelayFactor = pin.LoadFactor = output ? 1.0 : 0.0;
      if (output) {
        pin.GateDelay = ws.tech.UnitGateDelay;
        pin.WireDelay = ws.tech.WireDelayUnit;
      }
      pin.Node = marker;
      for (int q = 1; q <= source.PinCount; ++q)
        if (source.Pin(q).Name == pin.Name) pin.Node = source.Pin(q).Node;
    }
  }
}

}  // namespace

void ExpandVerilogSymbols(Workspace& ws) {
  ws.extraction.ModuleNumber = 1;
  ws.extraction.InstanceCount = 0;
  const int count = ws.circuit.Symbols.Count();  // generated gates are never expanded again
  for (int v = 1; v <= count; ++v) {
    const TSymbol& s = ws.circuit.Symbols[v];
    if (s.Model == kModelVerilog && s.State != kDeleted && !s.Internal) ExpandSymbol(ws, v);
  }
}

void NumberInternalWires(Workspace& ws) {
  Circuit& c = ws.circuit;
  ExtractState& ex = ws.extraction;
  const std::set<std::string> taken = DeviceNodeNames(c);
  for (int s = 1; s <= c.Symbols.Count(); ++s) {
    if (!c.Symbols[s].Internal) continue;
    for (int p = 1; p <= c.Symbols[s].PinCount && ex.NumberingError == 0; ++p) {
      TPin& pin = c.Symbols[s].Pins[p];
      const int marker = pin.Node;
      if (marker > -2) continue;
      if (pin.Name == "vdd") {
        pin.Node = 1;
        continue;
      }
      if (pin.Name == "vss") {
        pin.Node = 0;
        continue;
      }
      const std::string name = NextGeneratedName(ex.NameCounter, taken);
      const int node = ws.nodes.AddNode(name, ex.NumberingError);
      if (node == 0) break;
      if (static_cast<int>(ex.InternalWires.size()) < kMaxInternalWires) ex.InternalWires.push_back(name);
      pin.Node = node;
      const std::string wire = pin.Name;
      for (int s2 = 1; s2 <= c.Symbols.Count(); ++s2) {
        TSymbol& other = c.Symbols[s2];
        if (!other.Internal) continue;
        for (int p2 = 1; p2 <= other.PinCount; ++p2) {
          TPin& o = other.Pins[p2];
          if (o.Node == marker && SameWireName(o.Name, wire)) {
            o.Node = node;
            ++ws.nodes[node].Drivers;
          }
        }
      }
    }
  }
}

}  // namespace qiro
