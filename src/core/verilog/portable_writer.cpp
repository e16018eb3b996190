// Portable Verilog netlist writer.
// 1. Ports: the input and output devices' pins, in table order, named first in the module's
//    name space. Each node gets one net: the last driving input port on it, else its first
//    output port, else a supply or its node name; other output ports on it get an assign.
// 2. Every symbol is written by the model Qiro evaluates, not by its name: gates as primitives
//    (a 1-input gate as buf or not, an xnor of an odd input count as xor, which is what Qiro's
//    fold computes), mux, registers and lut as helper modules, Verilog-described symbols
//    through the gates their text generated, anything Qiro does not evaluate not at all.
// 3. A gate output at x does not drive its node in Qiro. Where a node has several drivers the
//    outputs are written so that x becomes z (qiro_drive) and the other drivers decide.
// 4. With delays each output goes through "r <= #D value": a transport delay that keeps
//    pulses, like Qiro's delay lines; D is the line's delay, in ns.
#include "verilog/portable_writer.h"

#include <algorithm>
#include <map>

#include "extract/extract.h"
#include "sim/devices.h"
#include "sim/primitives.h"
#include "sim/step_engine.h"
#include "verilog/portable_names.h"
#include "verilog/portable_parts.h"
#include "verilog/verilog_writer.h"
#include "workspace.h"

namespace qiro {

namespace {

constexpr int kModelVerilogSymbol = 6000;

bool DrivesItsNode(int model) {
  return model == kModelButton || model == kModelClock || model == kModelPwl || model == kModelKbd;
}

int InputPinCount(int model) {
  switch (model) {
    case kModelButton:
    case kModelPadIn:
    case kModelPwl:
    case kModelClock:
      return 1;
    case kModelKbd:
      return 4;
    default:
      return 0;
  }
}

int OutputPinCount(int model) {
  switch (model) {
    case kModelLight:
    case kModelPadOut:
      return 1;
    case kModelDigit:
      return 4;
    case kModelDisplay:
      return 8;
    default:
      return 0;
  }
}

std::string Join(const std::vector<std::string>& items, const std::string& sep) {
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) out += (i ? sep : "") + items[i];
  return out;
}

// What one symbol becomes.
enum class Kind { None, Gate, Not, Buf, Notif1, Nmos, Pmos, Mux, Dreg, Jk, Lut, Mcu };

Kind KindOf(int model) {
  if (GateShapeOf(model).family != GateFamily::None) return Kind::Gate;
  switch (model) {
    case kModelNot:
      return Kind::Not;
    case kModelBuf:
      return Kind::Buf;
    case kModelNotif1:
      return Kind::Notif1;
    case kModelNmosSwitch:
      return Kind::Nmos;
    case kModelPmosSwitch:
      return Kind::Pmos;
    case kModelMux:
      return Kind::Mux;
    case kModelDreg:
      return Kind::Dreg;
    case kModelJk:
      return Kind::Jk;
    case kModelLut:
      return Kind::Lut;
    case kModelMcu:
      return Kind::Mcu;
    default:
      return Kind::None;
  }
}

// Output pins of a kind (pin numbers), given the symbol.
std::vector<int> OutputPins(Kind k, const TSymbol& s) {
  switch (k) {
    case Kind::Gate: {
      const GateShape g = GateShapeOf(s.Model);
      return {g.inputs + 1};
    }
    case Kind::Not:
    case Kind::Buf:
      return {2};
    case Kind::Notif1:
    case Kind::Nmos:
    case Kind::Pmos:
      return {3};
    case Kind::Mux:
      return {4};
    case Kind::Dreg:
      return {4, 5};
    case Kind::Jk:
      return {6, 7};
    case Kind::Lut:
      return {5};
    default:
      return {};
  }
}

class Writer {
 public:
  Writer(Workspace& ws, const PortableOptions& o) : ws_(ws), opt_(o), symbols_(ws.circuit.Symbols) {}

  std::vector<std::string> Run(const std::string& dateTime);

 private:
  void CollectPorts();
  void CountDrivers();
  void NameNets();
  std::string Net(int node);
  std::string PinNet(int symbol, int pin);
  double DelayNs(int symbol, int pin);
  bool EnableSeenWhenDriving(int symbol);
  bool Shared(int node) const {
    auto it = drivers_.find(node);
    return it != drivers_.end() && it->second > 1;
  }
  void WriteSymbol(int i);
  void WriteGateLike(int i, Kind k);
  void WriteHelper(int i, Kind k);
  void Out(const std::string& line) { body_.push_back(line); }
  std::string Drive(int node, const std::string& value) {
    return Shared(node) ? Function() + "(" + value + ")" : value;
  }
  const std::string& Function() {
    if (driveFunction_.empty()) driveFunction_ = names_.Reserve("qiro_drive");
    return driveFunction_;
  }

  Workspace& ws_;
  PortableOptions opt_;
  const Table<TSymbol, kMaxSymbols>& symbols_;
  VerilogNameSpace names_;
  std::vector<PortablePort> ports_;
  std::map<int, int> drivers_;             // node -> drivers counted
  std::map<int, std::string> nets_;        // node -> its net
  std::vector<std::string> declaredNets_;  // internal nets in order of first use
  std::vector<std::string> body_;
  std::vector<std::string> notes_;
  std::string driveFunction_;
  std::string vdd_, vss_;
  bool helperUsed_[static_cast<int>(HelperModule::Count)] = {};
  std::string helperName_[static_cast<int>(HelperModule::Count)];
};

void Writer::CollectPorts() {
  for (int pass = 0; pass < 2; ++pass) {
    const bool input = pass == 0;
    for (int i = 1; i <= symbols_.Count(); ++i) {
      const TSymbol& s = symbols_[i];
      if (s.State == kDeleted || s.Internal) continue;
      const int n = input ? InputPinCount(s.Model) : OutputPinCount(s.Model);
      for (int k = 1; k <= n && k <= s.PinCount; ++k)
        ports_.push_back({names_.Reserve(s.Pin(k).Name), s.Pin(k).Name, i, s.Model, s.Pin(k).Node, input});
    }
  }
}

void Writer::CountDrivers() {
  for (const PortablePort& p : ports_)
    if (p.input && DrivesItsNode(p.model)) ++drivers_[p.node];
  ++drivers_[0];
  ++drivers_[1];
  for (int i = 1; i <= symbols_.Count(); ++i) {
    const TSymbol& s = symbols_[i];
    if (s.State == kDeleted) continue;
    for (int p : OutputPins(KindOf(s.Model), s))
      if (p <= s.PinCount) ++drivers_[s.Pin(p).Node];
  }
}

void Writer::NameNets() {
  // The node's net: the last driving input port (Qiro's later source wins), else the first
  // input or output port on it.
  for (const PortablePort& p : ports_) {
    if (!ws_.nodes.Valid(p.node) || p.node <= 1) continue;
    auto it = nets_.find(p.node);
    if (it == nets_.end())
      nets_[p.node] = p.written;
    else if (p.input && DrivesItsNode(p.model))
      it->second = p.written;
  }
}

std::string Writer::Net(int node) {
  if (!ws_.nodes.Valid(node)) {
    const std::string nc = names_.Generate("nc");  // a pin without a node reads x
    declaredNets_.push_back(nc);
    return nc;
  }
  if (node == 0 || node == 1) {
    std::string& supply = node == 0 ? vss_ : vdd_;
    if (supply.empty()) supply = names_.Reserve(node == 0 ? "vss" : "vdd");
    return supply;
  }
  auto it = nets_.find(node);
  if (it != nets_.end()) return it->second;
  const std::string name = names_.Reserve(ws_.nodes.NodeName(node));
  declaredNets_.push_back(name);
  return nets_[node] = name;
}

std::string Writer::PinNet(int symbol, int pin) {
  const TSymbol& s = symbols_[symbol];
  if (pin < 1 || pin > s.PinCount) return "1'bx";
  return Net(s.Pin(pin).Node);
}

double Writer::DelayNs(int symbol, int pin) {
  const int steps = PinDelaySteps(ws_, symbol, pin);
  return LineDelay(steps > 0 ? steps : 0) * ws_.tech.TimeUnit;
}

// A tri-state inverter drives only while its enable reads 1 at the moment it drives, when the
// enable's own drivers later in the table have not driven yet in that step.
bool Writer::EnableSeenWhenDriving(int symbol) {
  const TSymbol& s = symbols_[symbol];
  if (s.PinCount < 2) return false;
  const int node = s.Pin(2).Node;
  if (node == 0 || node == 1) return true;
  for (const PortablePort& p : ports_)
    if (p.node == node && p.input && DrivesItsNode(p.model)) return true;
  bool later = false;
  for (int i = 1; i <= symbols_.Count(); ++i) {
    const TSymbol& o = symbols_[i];
    if (o.State == kDeleted) continue;
    for (int p : OutputPins(KindOf(o.Model), o)) {
      if (p > o.PinCount || o.Pin(p).Node != node) continue;
      if (i < symbol) return true;
      later = true;
    }
  }
  return !later;
}

void Writer::WriteSymbol(int i) {
  const TSymbol& s = symbols_[i];
  if (s.State == kDeleted || s.Model == kModelVerilogSymbol) return;
  if (s.Model == kModelSinus && !s.Internal) {
    notes_.push_back("// Not written: the sine source " + s.Name +
                     "; the nodes it drives are undriven here.");
    return;
  }
  const Kind k = KindOf(s.Model);
  if (k == Kind::None) return;
  if (k == Kind::Mcu) {
    notes_.push_back("// Not written: the 8051 " + s.Name + "; the nodes it drives are undriven here.");
    return;
  }
  for (int p : OutputPins(k, s))
    if (p > s.PinCount) return;  // Qiro writes into no line: the symbol never drives
  if (k == Kind::Mux || k == Kind::Dreg || k == Kind::Jk || k == Kind::Lut)
    WriteHelper(i, k);
  else
    WriteGateLike(i, k);
}

const char* FamilyName(Kind k, int model) {
  switch (k) {
    case Kind::Gate: {
      static constexpr const char* kFamilies[] = {"", "and", "nand", "or", "nor", "xor", "xnor"};
      return kFamilies[static_cast<int>(GateShapeOf(model).family)];
    }
    case Kind::Not:
      return "not";
    case Kind::Buf:
      return "buf";
    case Kind::Notif1:
      return "notif1";
    case Kind::Nmos:
      return "nmos";
    case Kind::Pmos:
      return "pmos";
    case Kind::Mux:
      return "mux";
    case Kind::Dreg:
      return "dreg";
    case Kind::Jk:
      return "jk";
    case Kind::Lut:
      return "lut";
    default:
      return "";
  }
}

void Writer::WriteGateLike(int i, Kind k) {
  const TSymbol& s = symbols_[i];
  const int outPin = OutputPins(k, s)[0];
  const int outNode = s.Pin(outPin).Node;
  std::vector<std::string> in;
  std::string keyword, value;
  if (k == Kind::Gate) {
    const GateShape g = GateShapeOf(s.Model);
    if (g.inputs < 1) return;  // folds to x: never drives
    for (int p = 1; p <= g.inputs; ++p) in.push_back(PinNet(i, p));
    const bool andLike = g.family == GateFamily::And || g.family == GateFamily::Nand;
    const bool orLike = g.family == GateFamily::Or || g.family == GateFamily::Nor;
    // Qiro folds xnor as "invert on each further 0": for an odd input count that is xor.
    const bool inverted = g.family == GateFamily::Nand || g.family == GateFamily::Nor ||
                          (g.family == GateFamily::Xnor && g.inputs % 2 == 0);
    const std::string base = andLike ? "and" : orLike ? "or" : "xor";
    keyword = g.inputs == 1 ? (inverted ? "not" : "buf")
                            : (!inverted       ? base
                               : base == "xor" ? "xnor"
                                               : "n" + base);
    const std::string joined = Join(in, andLike ? " & " : orLike ? " | " : " ^ ");
    value = inverted ? "~(" + joined + ")" : joined;
    if (g.inputs == 1) value = inverted ? "~" + in[0] : in[0];
  } else {
    for (int p = 1; p < outPin; ++p) in.push_back(PinNet(i, p));
    keyword = FamilyName(k, s.Model);
    if (k == Kind::Not) value = "~" + in[0];
    if (k == Kind::Buf) value = in[0];
    if (k == Kind::Notif1) value = "(" + in[1] + " === 1'b1) ? ~" + in[0] + " : 1'bx";
    if (k == Kind::Nmos) value = "(" + in[1] + " === 1'b1) ? " + in[0] + " : 1'bx";
    if (k == Kind::Pmos) value = "(" + in[1] + " === 1'b0) ? " + in[0] + " : 1'bx";
  }
  const std::string out = PinNet(i, outPin);
  const std::string inst = names_.Reserve(FamilyName(k, s.Model) + std::to_string(i));
  if (k == Kind::Notif1 && !EnableSeenWhenDriving(i)) {
    Out(" // " + inst + " never drives: in Qiro its enable is driven later in the same step.");
    return;
  }
  // A tri-state inverter drives only while its enable is 1 now, whatever its line carries.
  const std::string enable = k == Kind::Notif1 ? "(" + in[1] + " === 1'b1) ? " : "";
  const std::string disabled = k == Kind::Notif1 ? " : 1'bz" : "";
  if (opt_.Delays) {
    const std::string reg = names_.Reserve(VerilogText(inst) + "_r");
    Out(" reg " + reg + ";");
    Out(" always @* " + reg + " <= #" + DelayText(DelayNs(i, outPin)) + " " + value + ";");
    Out(" assign " + out + " = " + enable + Drive(outNode, reg) + disabled + ";");
  } else if (Shared(outNode)) {
    const std::string computed = k == Kind::Notif1 ? "~" + in[0] : value;
    Out(" assign " + out + " = " + enable + Drive(outNode, computed) + disabled + ";");
  } else {
    Out(" " + keyword + " " + inst + "(" + out + ", " + Join(in, ", ") + ");");
  }
}

void Writer::WriteHelper(int i, Kind k) {
  const TSymbol& s = symbols_[i];
  static const std::map<Kind, std::pair<HelperModule, std::vector<int>>> kPins = {
      {Kind::Mux, {HelperModule::Mux, {4, 1, 2, 3}}},
      {Kind::Dreg, {HelperModule::Dreg, {4, 5, 1, 2, 3}}},
      {Kind::Jk, {HelperModule::Jk, {6, 7, 1, 2, 3, 4, 5}}},
      {Kind::Lut, {HelperModule::Lut, {5, 1, 2, 3, 4}}}};
  const auto& [module, order] = kPins.at(k);
  const int m = static_cast<int>(module);
  helperUsed_[m] = true;
  const std::vector<int> outs = OutputPins(k, s);
  const std::string inst = names_.Reserve(FamilyName(k, s.Model) + std::to_string(i));

  std::vector<std::string> params;
  if (opt_.Delays) {
    if (outs.size() == 1) {
      params.push_back(".D(" + DelayText(DelayNs(i, outs[0])) + ")");
    } else {
      params.push_back(".DQ(" + DelayText(DelayNs(i, outs[0])) + ")");
      params.push_back(".DNQ(" + DelayText(DelayNs(i, outs[1])) + ")");
    }
  }
  if (k == Kind::Lut) {
    std::string table = "16'b";
    for (int n = 15; n >= 0; --n) {
      const std::string& word = s.Prop(n + 1);
      const char c = word.empty() ? ' ' : word[0];
      table += c == '0' || c == '1' ? c : 'x';
    }
    params.push_back(".T(" + table + ")");
  }
  std::vector<std::string> nets;
  std::vector<std::string> assigns;
  for (int p : order) {
    std::string net = PinNet(i, p);
    const bool output = std::find(outs.begin(), outs.end(), p) != outs.end();
    if (output && Shared(s.Pin(p).Node)) {
      // Several drivers: the register's x must not drive, so it goes out through qiro_drive.
      const std::string own = names_.Reserve(VerilogText(inst) + "_" + VerilogText(s.Pin(p).Name));
      declaredNets_.push_back(own);
      assigns.push_back(" assign " + net + " = " + Drive(s.Pin(p).Node, own) + ";");
      net = own;
    }
    nets.push_back(net);
  }
  const std::string withParams = params.empty() ? "" : " #(" + Join(params, ", ") + ")";
  Out(" " + helperName_[m] + withParams + " " + inst + "(" + Join(nets, ", ") + ");");
  body_.insert(body_.end(), assigns.begin(), assigns.end());
}

// "input a, b, c;" with a new line after every eighth name.
void Declare(std::vector<std::string>& lines, const std::string& keyword,
             const std::vector<std::string>& names) {
  for (std::size_t i = 0; i < names.size(); i += 8) {
    const std::vector<std::string> part(names.begin() + static_cast<long>(i),
                                        names.begin() + static_cast<long>(std::min(names.size(), i + 8)));
    lines.push_back(" " + keyword + " " + Join(part, ", ") + ";");
  }
}

std::vector<std::string> Writer::Run(const std::string& dateTime) {
  VerilogNameSpace design;
  const std::string top = design.Reserve(ws_.verilog.ModuleName);
  for (int m = 0; m < static_cast<int>(HelperModule::Count); ++m)
    helperName_[m] = design.Reserve(HelperModuleBase(static_cast<HelperModule>(m)));

  CollectPorts();
  CountDrivers();
  NameNets();
  // Nets before instances: node names are kept whenever they are free.
  for (int i = 1; i <= symbols_.Count(); ++i) {
    const TSymbol& s = symbols_[i];
    const Kind k = KindOf(s.Model);
    if (s.State == kDeleted || k == Kind::None || k == Kind::Mcu) continue;
    for (int p = 1; p <= s.PinCount; ++p)
      if (ws_.nodes.Valid(s.Pin(p).Node)) Net(s.Pin(p).Node);
  }
  for (int i = 1; i <= symbols_.Count(); ++i) WriteSymbol(i);
  // Ports on a node whose net is another one (this may declare a supply).
  std::vector<std::string> portAssigns;
  for (const PortablePort& p : ports_) {
    if (!ws_.nodes.Valid(p.node)) continue;
    const std::string net = Net(p.node);
    if (net == p.written) continue;
    if (!p.input)
      portAssigns.push_back(" assign " + p.written + " = " + net + ";");
    else
      portAssigns.push_back(" // " + p.written + " is not used: its node is " + net +
                            ", which Qiro drives instead.");
  }

  std::vector<std::string> out = VerilogTitle(ws_, dateTime);
  out.pop_back();
  out.push_back(
      "// Portable netlist: complete on its own for a Verilog simulator (checked with Icarus Verilog).");
  out.push_back("// A gate output at x does not drive in Qiro; on nodes with several drivers such outputs");
  out.push_back("// drive z here (qiro_drive). Two drivers at opposite levels on one node give x here,");
  out.push_back("// where Qiro keeps the later one in its symbol table.");
  if (opt_.Delays) {
    out.push_back("// Delays: each output carries the delay of its Qiro delay line in ns (one step is " +
                  DelayText(ws_.tech.TimeUnit) + " ns) as a transport delay: pulses of any width pass.");
    out.push_back(
        "// Qiro's glitch filter (option, on by default) removes one-step pulses (010, 101) before they");
    out.push_back(
        "// leave a line of 5 steps or more (a delay of 4 steps or more); this netlist keeps them.");
    out.push_back(
        "// Qiro computes nothing before its first step (step 3): outputs decided by supplies alone");
    out.push_back("// settle here from time 0.");
  }
  for (const PortablePort& p : ports_) {
    std::string written = p.written;
    if (written[0] == '\\') written = written.substr(1, written.size() - 2);
    if (written != p.original) out.push_back("// Name: \"" + p.original + "\" is written " + p.written);
  }
  out.insert(out.end(), notes_.begin(), notes_.end());
  out.push_back("");
  if (opt_.Delays || opt_.Testbench) out.push_back("`timescale 1ns / 1ps");

  std::vector<std::string> portNames, inputs, outputs;
  for (const PortablePort& p : ports_) {
    portNames.push_back(p.written);
    (p.input ? inputs : outputs).push_back(p.written);
  }
  out.push_back("module " + top + "(" + Join(portNames, ", ") + ");");
  Declare(out, "input", inputs);
  Declare(out, "output", outputs);
  if (!vss_.empty()) out.push_back(" supply0 " + vss_ + ";");
  if (!vdd_.empty()) out.push_back(" supply1 " + vdd_ + ";");
  Declare(out, "wire", declaredNets_);
  if (!driveFunction_.empty()) {
    out.push_back(" function " + driveFunction_ + "(input v);  // x does not drive: other drivers decide");
    out.push_back("  " + driveFunction_ + " = (v === 1'b0 || v === 1'b1) ? v : 1'bz;");
    out.push_back(" endfunction");
  }
  out.insert(out.end(), portAssigns.begin(), portAssigns.end());
  out.insert(out.end(), body_.begin(), body_.end());
  out.push_back("endmodule");
  for (int m = 0; m < static_cast<int>(HelperModule::Count); ++m) {
    if (!helperUsed_[m]) continue;
    out.push_back("");
    const auto text = HelperModuleText(static_cast<HelperModule>(m), helperName_[m]);
    out.insert(out.end(), text.begin(), text.end());
  }
  if (ws_.verilog.AppendSimulationInfo) {
    const auto params = SimulationParameters(ws_);
    out.insert(out.end(), params.begin(), params.end());
  }
  if (opt_.Testbench) {
    out.push_back("");
    const auto bench =
        TestbenchText(ws_, design.Reserve(VerilogText(ws_.verilog.ModuleName) + "_tb"), top, ports_);
    out.insert(out.end(), bench.begin(), bench.end());
  }
  return out;
}

}  // namespace

std::vector<std::string> PortableVerilog(Workspace& ws, const PortableOptions& options,
                                         const std::string& dateTime) {
  return Writer(ws, options).Run(dateTime);
}

}  // namespace qiro
