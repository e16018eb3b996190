// The second simulation benchmark's circuit: random logic at table capacity. One description
// (cells with their inputs and outputs, clocks, pwl sources) builds both the Qiro circuit,
// with nodes numbered by hand, and the same netlist as Verilog for vvp, with each output's
// delay in steps as Qiro computes it.
//
// Cells are and, nand, or, nor, xor and xnor gates of 2 to 4 inputs, tri-state inverters,
// multiplexers and D registers. Each input is taken from the sources or from one of the
// outputs made shortly before, so the logic has depth and no combinational loop.
#pragma once

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "extract/extract.h"
#include "sim/primitives.h"
#include "workspace.h"

namespace qiro::bench {

struct LogicCell {
  int model = 0;
  std::vector<int> in;   // signals read, in pin order
  std::vector<int> out;  // signals driven, in pin order
};

struct LogicSource {
  bool clock = true;
  int low = 5, high = 5;     // clock: steps at 0, then at 1
  std::vector<int> changes;  // pwl: the steps up to which it holds 1, 0, 1, 0, ...
};

struct RandomLogic {
  std::vector<LogicSource> sources;  // signals 0 .. sources - 1
  std::vector<LogicCell> cells;      // their outputs are the next signals, in order
  int signals = 0;
  int steps = 100000;
};

inline RandomLogic MakeRandomLogic(int cells = 1840, unsigned seed = 1) {
  RandomLogic d;
  std::mt19937 rng(seed);
  auto below = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  for (int c = 0; c < 8; ++c) d.sources.push_back({true, 3 + below(20), 3 + below(20), {}});
  for (int p = 0; p < 4; ++p) {
    LogicSource s{false, 0, 0, {}};
    for (int t = 0, k = 0; k < 20; ++k) s.changes.push_back(t += 5 + below(9000));
    d.sources.push_back(s);
  }
  d.signals = static_cast<int>(d.sources.size());
  auto input = [&] {
    if (below(10) == 0) return below(static_cast<int>(d.sources.size()));
    return std::max(0, d.signals - 1 - below(48));
  };
  static constexpr int kGates[] = {400, 200, 500, 300, 600, 610};
  for (int i = 0; i < cells; ++i) {
    LogicCell c;
    const int kind = below(10);
    if (kind < 7) {
      const int inputs = 2 + below(3);
      c.model = kGates[below(6)] + inputs;
      for (int k = 0; k < inputs; ++k) c.in.push_back(input());
      c.out = {d.signals++};
    } else if (kind == 7) {
      c.model = kModelNotif1;
      c.in = {input(), input()};
      c.out = {d.signals++};
    } else if (kind == 8) {
      c.model = kModelMux;
      c.in = {input(), input(), input()};
      c.out = {d.signals++};
    } else {
      c.model = kModelDreg;
      c.in = {input(), input(), below(8)};  // clocked by one of the clocks
      c.out = {d.signals, d.signals + 1};
      d.signals += 2;
    }
    d.cells.push_back(c);
  }
  return d;
}

// Builds the circuit into ws: signal k is node k + 2. Each output's delay is 1 ns plus 1 ns per
// input it drives.
inline void BuildRandomLogic(Workspace& ws, const RandomLogic& d) {
  int error = 0;
  for (int k = 0; k < d.signals; ++k) ws.nodes.AddNode("s" + std::to_string(k), error);
  std::vector<int> fanout(static_cast<std::size_t>(d.signals), 0);
  for (const LogicCell& c : d.cells)
    for (int in : c.in) ++fanout[static_cast<std::size_t>(in)];
  for (std::size_t k = 0; k < d.sources.size(); ++k) {
    const LogicSource& src = d.sources[k];
    const int s = ws.circuit.AddSymbol(src.clock ? "clock" : "pwl");
    TSymbol& sym = ws.circuit.Symbols[s];
    sym.Model = src.clock ? 69 : 68;
    if (src.clock) {
      sym.PropWords[1] = std::to_string(src.low);
      sym.PropWords[2] = std::to_string(src.high);
    }
    for (std::size_t i = 0; i < src.changes.size(); ++i) {
      sym.PropWords[static_cast<int>(2 * i + 1)] = std::to_string(src.changes[i]);
      sym.PropWords[static_cast<int>(2 * i + 2)] = i % 2 == 0 ? "1" : "0";
    }
    ws.circuit.AddPin(s, 0, 0, 'O', "o", 0, 0, ws.tech);
    sym.Pin(1).Node = static_cast<int>(k) + 2;
  }
  for (const LogicCell& c : d.cells) {
    const int s = ws.circuit.AddSymbol("cell");
    TSymbol& sym = ws.circuit.Symbols[s];
    sym.Model = c.model;
    for (int in : c.in) {
      ws.circuit.AddPin(s, 0, 0, 'I', "i", 0, 0, ws.tech);
      sym.Pin(sym.PinCount).Node = in + 2;
    }
    for (int out : c.out) {
      ws.circuit.AddPin(s, 0, 0, 'O', "o", 1, 1, ws.tech);
      TPin& pin = sym.Pin(sym.PinCount);
      pin.Node = out + 2;
      pin.Fanout = fanout[static_cast<std::size_t>(out)];
      pin.WireDelay = pin.Fanout * ws.tech.WireDelayUnit;
    }
  }
}

// The same netlist as Verilog, with each output's delay taken from the Qiro circuit in ws.
inline void WriteRandomLogicVerilog(std::ostream& v, Workspace& ws, const RandomLogic& d) {
  auto name = [](int signal) { return "s" + std::to_string(signal); };
  v << "`timescale 1ns/1ns\nmodule random_logic;\n";
  for (std::size_t k = 0; k < d.sources.size(); ++k) {
    const LogicSource& s = d.sources[k];
    const std::string n = name(static_cast<int>(k));
    v << "  reg " << n << " = 0;\n";
    if (s.clock) {
      v << "  always begin #" << s.low << " " << n << " = 1; #" << s.high << " " << n << " = 0; end\n";
    } else {
      v << "  initial begin " << n << " = 1;";
      for (std::size_t i = 0, last = 0; i < s.changes.size(); last = static_cast<std::size_t>(s.changes[i++]))
        v << " #" << s.changes[i] - static_cast<int>(last) << " " << n << " = " << (i % 2 == 0 ? 0 : 1)
          << ";";
      v << " end\n";
    }
  }
  for (int k = static_cast<int>(d.sources.size()); k < d.signals; ++k) v << "  wire " << name(k) << ";\n";
  int symbol = static_cast<int>(d.sources.size());
  for (const LogicCell& c : d.cells) {
    ++symbol;
    const int pin = static_cast<int>(c.in.size()) + 1;
    const int delay = PinDelaySteps(ws, symbol, pin);
    auto ins = [&] {
      std::string s;
      for (int in : c.in) s += ", " + name(in);
      return s;
    };
    const GateShape g = GateShapeOf(c.model);
    if (g.family != GateFamily::None) {
      static const char* const kNames[] = {"", "and", "nand", "or", "nor", "xor", "xnor"};
      v << "  " << kNames[static_cast<int>(g.family)] << " #" << delay << " (" << name(c.out[0]) << ins()
        << ");\n";
    } else if (c.model == kModelNotif1) {
      v << "  notif1 #" << delay << " (" << name(c.out[0]) << ins() << ");\n";
    } else if (c.model == kModelMux) {
      v << "  assign #" << delay << " " << name(c.out[0]) << " = " << name(c.in[2]) << " ? " << name(c.in[1])
        << " : " << name(c.in[0]) << ";\n";
    } else {
      const std::string q = "q" + std::to_string(symbol);
      v << "  reg " << q << " = 1'bx;\n  always @(negedge " << name(c.in[2]) << " or posedge "
        << name(c.in[1]) << ") " << q << " <= #" << delay << " " << name(c.in[1])
        << " === 1'b1 ? 1'b0 : " << name(c.in[0]) << ";\n  assign " << name(c.out[0]) << " = " << q
        << ";\n  assign " << name(c.out[1]) << " = ~" << q << ";\n";
    }
  }
  v << "  initial #" << d.steps << " $finish;\nendmodule\n";
}

}  // namespace qiro::bench
