// Testbench of the portable netlist. One loop walks Qiro's steps from the first simulated one
// (step 3) and sets every input as Qiro's sources drive their nodes in that step:
// - a clock is 0 for round(t0 / step) steps from each multiple of its period, then 1 (its level
//   only changes at those two points, so the first period can be cut short);
// - button k is written in the stimuli as a clock of 10 k ns at 0 and 10 k ns at 1, and is
//   driven that way here;
// - a pwl source is 1 up to and including the time of a pair whose value is not 0, ...;
// - a keyboard holds key 0; an input pad is left undriven, as in Qiro.
#include <algorithm>
#include <cmath>
#include <map>

#include "sim/devices.h"
#include "verilog/portable_names.h"
#include "verilog/portable_parts.h"
#include "verilog/portable_writer.h"
#include "workspace.h"

namespace qiro {

namespace {

int Steps(double ns, double timeUnit) {
  const double unit = timeUnit > 0 ? timeUnit : 1.0;
  return static_cast<int>(std::min(std::round(ns / unit), 1e9));
}

struct Period {
  int low, whole;  // steps at 0, steps of the whole period
};

// The clock of a clock symbol, or the one a button is described as (k-th button).
Period PeriodOf(const Workspace& ws, const TSymbol& s, int buttonRank) {
  const double t0 = s.Model == kModelClock ? DeviceParameter(s.Prop(1), 0, 100000, 50) : 10.0 * buttonRank;
  const double t1 = s.Model == kModelClock ? DeviceParameter(s.Prop(2), 0, 100000, 50) : 10.0 * buttonRank;
  const int low = std::max(1, Steps(t0, ws.tech.TimeUnit));
  return {low, std::max(low + 1, Steps(t0 + t1, ws.tech.TimeUnit))};
}

// The pwl's pairs as (step, level), up to the first unreadable time.
std::vector<std::pair<int, int>> PwlPairs(const Workspace& ws, const TSymbol& s) {
  std::vector<std::pair<int, int>> pairs;
  for (int w = 1; w <= 199; w += 2) {
    bool ok = false;
    const double t = DeviceParameter(s.Prop(w), 0, 200000, 0, &ok);
    if (!ok) break;
    pairs.push_back({Steps(t, ws.tech.TimeUnit), DeviceParameter(s.Prop(w + 1), 0, 100, 0) != 0 ? 1 : 0});
  }
  return pairs;
}

int PwlLevel(const std::vector<std::pair<int, int>>& pairs, int step) {
  for (const auto& [at, level] : pairs)
    if (at >= step) return level;
  return 0;
}

}  // namespace

int DefaultTestbenchSteps(const Workspace& ws) {
  int steps = 100, buttons = 0;
  for (const TSymbol& s : ws.circuit.Symbols) {
    if (s.State == kDeleted || s.Internal) continue;
    if (s.Model == kModelButton || s.Model == kModelClock) {
      const int rank = s.Model == kModelButton ? ++buttons : 0;
      steps = std::max(steps, static_cast<int>(std::min(10LL * PeriodOf(ws, s, rank).whole, 1000000LL)));
    } else if (s.Model == kModelPwl) {
      for (const auto& pair : PwlPairs(ws, s)) steps = std::max(steps, std::min(pair.first + 10, 1000000));
    }
  }
  return steps;
}

std::vector<std::string> TestbenchText(Workspace& ws, const std::string& tbName, const std::string& module,
                                       const std::vector<PortablePort>& ports) {
  const auto unescaped = [](const std::string& written) {
    return written[0] == '\\' ? written.substr(1, written.size() - 2) : written;
  };
  const auto join = [](const std::vector<std::string>& items) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + items[i];
    return out;
  };
  VerilogNameSpace names;
  std::vector<std::string> local;
  for (const PortablePort& p : ports) local.push_back(names.Reserve(unescaped(p.written)));
  const std::string dut = names.Reserve("dut");
  const std::string step = names.Reserve("step");

  std::map<int, int> buttonRank;
  int buttons = 0;
  for (int i = 1; i <= ws.circuit.Symbols.Count(); ++i) {
    const TSymbol& s = ws.circuit.Symbols[i];
    if (s.Model == kModelButton && !s.Internal && s.State != kDeleted) buttonRank[i] = ++buttons;
  }
  std::vector<std::string> regs, wires, connections, setup, loop;
  for (std::size_t k = 0; k < ports.size(); ++k) {
    const PortablePort& p = ports[k];
    const std::string& name = local[k];
    connections.push_back("." + p.written + "(" + name + ")");
    // Outputs are watched; an input pad drives nothing in Qiro and stays undriven here.
    if (!p.input || p.model == kModelPadIn) {
      wires.push_back(name);
      continue;
    }
    regs.push_back(name);
    const TSymbol& s = ws.circuit.Symbols[p.symbol];
    if (p.model == kModelKbd) {
      setup.push_back("    " + name + " = 1'b0;  // keyboard " + s.Name + ": key 0");
    } else if (p.model == kModelPwl) {
      // The level only changes right after a pair's time.
      const auto pairs = PwlPairs(ws, s);
      std::vector<int> points = {3};
      for (const auto& pair : pairs)
        if (pair.first + 1 > 3) points.push_back(pair.first + 1);
      std::sort(points.begin(), points.end());
      points.erase(std::unique(points.begin(), points.end()), points.end());
      std::string cases;
      int last = -1;
      for (int at : points) {
        const int level = PwlLevel(pairs, at);
        if (level == last) continue;
        cases += " " + std::to_string(at) + ": " + name + " = 1'b" + std::to_string(level) + ";";
        last = level;
      }
      loop.push_back("      case (" + step + ")" + cases + " endcase  // pwl " + s.Name);
    } else {
      const Period per = PeriodOf(ws, s, buttonRank[p.symbol]);
      const std::string phase = step + " % " + std::to_string(per.whole);
      setup.push_back("    " + name + " = 1'b0;");
      loop.push_back("      if (" + phase + " == 0) " + name + " = 1'b0; else if (" + phase +
                     " == " + std::to_string(per.low) + ") " + name + " = 1'b1;  // " +
                     (p.model == kModelButton ? "button " : "clock ") + s.Name);
    }
  }
  std::vector<std::string> out = {
      "// Testbench: the inputs follow the stimuli above from Qiro's first step (step 3) on; one step",
      "// is " + DelayText(ws.tech.TimeUnit) + " ns. Run: iverilog FILE && vvp a.out",
      "module " + tbName + ";", "  parameter STEPS = " + std::to_string(DefaultTestbenchSteps(ws)) + ";",
      "  localparam real TU = " + DelayText(ws.tech.TimeUnit) + ";"};
  if (!regs.empty()) out.push_back("  reg " + join(regs) + ";");
  if (!wires.empty()) out.push_back("  wire " + join(wires) + ";");
  out.push_back("  integer " + step + ";");
  out.push_back("  " + module + " " + dut + "(" + join(connections) + ");");
  out.push_back("  initial begin");
  out.push_back("    $dumpfile(\"" + unescaped(module) + ".vcd\");");
  out.push_back("    $dumpvars(1, " + dut + ");");
  out.push_back("    #(3 * TU);");
  out.insert(out.end(), setup.begin(), setup.end());
  out.push_back("    for (" + step + " = 3; " + step + " <= STEPS; " + step + " = " + step + " + 1) begin");
  out.insert(out.end(), loop.begin(), loop.end());
  out.push_back("      #(TU);");
  out.push_back("    end");
  out.push_back("    $finish;");
  out.push_back("  end");
  out.push_back("endmodule");
  return out;
}

}  // namespace qiro
