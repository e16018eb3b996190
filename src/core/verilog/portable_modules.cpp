// Helper modules of the portable netlist: Qiro's multiplexer, D register, JK register and
// look-up table, with x handled as Qiro handles it (a z input reads as x).
// Each module computes the value Qiro writes into its output line and sends it out after the
// delay D (transport: every change arrives). "Hold" keeps the value written last. With D > 0
// the previous clock level and the held value are those of the previous time step, so that
// zero-width glitches within one time step cannot fake an edge; with D = 0 (no delays) they
// are those of the previous evaluation, which keeps feedback through a register stable.
#include "verilog/portable_parts.h"

#include <cmath>
#include <cstdio>

namespace qiro {

namespace {

const char* const kValueFunction =
    "  function v(input a);  // 0, 1 or x\n"
    "    v = (a === 1'b0 || a === 1'b1) ? a : 1'bx;\n"
    "  endfunction";

// The two registers send both outputs out alike.
const char* const kRegisterEnd =
    "    rq <= #DQ wq;\n"
    "    rn <= #DNQ wn;\n"
    "  end\n"
    "  assign q = rq;\n"
    "  assign nq = rn;\n"
    "endmodule";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = text.find('\n', start);
    out.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return out;
}

std::string Body(HelperModule m) {
  const std::string value = kValueFunction;
  switch (m) {
    case HelperModule::Mux:
      return "// Multiplexer: select 0 passes d0, 1 passes d1, x keeps the value written last.\n"
             "module @ #(parameter real D = 0) (output y, input d0, input d1, input s);\n"
             "  reg w = 1'bx, p = 1'bx, r = 1'bx;\n"
             "  time t = 0;\n" +
             value +
             "\n"
             "  always @(d0 or d1 or s) begin\n"
             "    if (D == 0 || $time != t) begin p = w; t = $time; end\n"
             "    w = s === 1'b0 ? v(d0) : s === 1'b1 ? v(d1) : p;\n"
             "    r <= #D w;\n"
             "  end\n"
             "  assign y = r;\n"
             "endmodule";
    case HelperModule::Dreg:
      return "// D register: rst 1 clears it (x counts as inactive); h falling from 1 to 0 stores d.\n"
             "module @ #(parameter real DQ = 0, parameter real DNQ = 0)\n"
             "  (output q, output nq, input d, input rst, input h);\n"
             "  reg wq = 1'bx, wn = 1'bx, pq = 1'bx, pn = 1'bx, hp = 1'bx, hn = 1'bx, rq = 1'bx, rn = 1'bx;\n"
             "  time t = 0;\n" +
             value +
             "\n"
             "  always @(d or rst or h) begin\n"
             "    if (DQ == 0 || $time != t) begin pq = wq; pn = wn; hp = hn; t = $time; end\n"
             "    hn = h;\n"
             "    if (rst === 1'b1) begin wq = 1'b0; wn = 1'b1; end\n"
             "    else if (hp === 1'b1 && h === 1'b0) begin wq = v(d); wn = ~v(d); end\n"
             "    else begin wq = pq; wn = pn; end\n" +
             kRegisterEnd;
    case HelperModule::Jk:
      return "// JK register: set or reset x gives x, set 1 sets, reset 1 clears; clk rising from 0 to 1:\n"
             "// j = k = 1 inverts the output nodes, j = 1 sets, k = 1 clears, j = k = 0 holds, x gives x.\n"
             "module @ #(parameter real DQ = 0, parameter real DNQ = 0)\n"
             "  (output q, output nq, input j, input clk, input k, input set, input reset);\n"
             "  reg wq = 1'bx, wn = 1'bx, pq = 1'bx, pn = 1'bx, cp = 1'bx, cn = 1'bx, rq = 1'bx, rn = 1'bx;\n"
             "  time t = 0;\n" +
             value +
             "\n"
             "  always @(j or clk or k or set or reset) begin\n"
             "    if (DQ == 0 || $time != t) begin pq = wq; pn = wn; cp = cn; t = $time; end\n"
             "    cn = clk;\n"
             "    wq = pq;\n"
             "    wn = pn;\n"
             "    if (v(set) === 1'bx || v(reset) === 1'bx) begin wq = 1'bx; wn = 1'bx; end\n"
             "    else if (set === 1'b1) begin wq = 1'b1; wn = 1'b0; end\n"
             "    else if (reset === 1'b1) begin wq = 1'b0; wn = 1'b1; end\n"
             "    else if (cp === 1'b0 && clk === 1'b1) begin\n"
             "      if (v(j) === 1'bx || v(k) === 1'bx) begin wq = 1'bx; wn = 1'bx; end\n"
             "      else if (j === 1'b1 && k === 1'b1) begin wq = ~v(q); wn = ~v(nq); end\n"
             "      else if (j === 1'b1) begin wq = 1'b1; wn = 1'b0; end\n"
             "      else if (k === 1'b1) begin wq = 1'b0; wn = 1'b1; end\n"
             "    end\n" +
             kRegisterEnd;
    case HelperModule::Lut:
      return "// Look-up table: bit n of T is the output for inputs i4 i3 i2 i1 = n; any x input gives x.\n"
             "module @ #(parameter real D = 0, parameter [15:0] T = 16'bx)\n"
             "  (output y, input i1, input i2, input i3, input i4);\n"
             "  reg r = 1'bx;\n"
             "  always @(i1 or i2 or i3 or i4) r <= #D (^{i4, i3, i2, i1} === 1'bx) ? 1'bx : T[{i4, i3, i2, "
             "i1}];\n"
             "  assign y = r;\n"
             "endmodule";
    case HelperModule::Count:
      break;
  }
  return {};
}

}  // namespace

const char* HelperModuleBase(HelperModule m) {
  static constexpr const char* kBases[] = {"qiro_mux", "qiro_dreg", "qiro_jk", "qiro_lut"};
  return m == HelperModule::Count ? "" : kBases[static_cast<int>(m)];
}

std::vector<std::string> HelperModuleText(HelperModule m, const std::string& name) {
  std::string text = Body(m);
  if (const std::size_t at = text.find('@'); at != std::string::npos) text.replace(at, 1, name);
  return Lines(text);
}

std::string DelayText(double ns) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f", std::round(ns * 1000) / 1000);
  std::string s = buf;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

}  // namespace qiro
