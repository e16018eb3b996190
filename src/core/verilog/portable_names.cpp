// Name legaliser and per-module name space of the portable netlist.
// The keyword table holds the reserved words of Verilog (1364-2005) and SystemVerilog
// (1800-2017): a netlist read by a SystemVerilog tool must not use them as plain names either.
#include "verilog/portable_names.h"

#include <algorithm>
#include <array>

namespace qiro {

namespace {

// clang-format off
constexpr std::array<std::string_view, 248> kKeywords{
    "accept_on", "alias", "always", "always_comb", "always_ff", "always_latch", "and", "assert", "assign",
    "assume", "automatic", "before", "begin", "bind", "bins", "binsof", "bit", "break", "buf", "bufif0",
    "bufif1", "byte", "case", "casex", "casez", "cell", "chandle", "checker", "class", "clocking", "cmos",
    "config", "const", "constraint", "context", "continue", "cover", "covergroup", "coverpoint", "cross",
    "deassign", "default", "defparam", "design", "disable", "dist", "do", "edge", "else", "end", "endcase",
    "endchecker", "endclass", "endclocking", "endconfig", "endfunction", "endgenerate", "endgroup",
    "endinterface", "endmodule", "endpackage", "endprimitive", "endprogram", "endproperty", "endsequence",
    "endspecify", "endtable", "endtask", "enum", "event", "eventually", "expect", "export", "extends",
    "extern", "final", "first_match", "for", "force", "foreach", "forever", "fork", "forkjoin", "function",
    "generate", "genvar", "global", "highz0", "highz1", "if", "iff", "ifnone", "ignore_bins", "illegal_bins",
    "implements", "implies", "import", "incdir", "include", "initial", "inout", "input", "inside", "instance",
    "int", "integer", "interconnect", "interface", "intersect", "join", "join_any", "join_none", "large",
    "let", "liblist", "library", "local", "localparam", "logic", "longint", "macromodule", "matches",
    "medium", "modport", "module", "nand", "negedge", "nettype", "new", "nexttime", "nmos", "nor",
    "noshowcancelled", "not", "notif0", "notif1", "null", "or", "output", "package", "packed", "parameter",
    "pmos", "posedge", "primitive", "priority", "program", "property", "protected", "pull0", "pull1",
    "pulldown", "pullup", "pulsestyle_ondetect", "pulsestyle_onevent", "pure", "rand", "randc", "randcase",
    "randsequence", "rcmos", "real", "realtime", "ref", "reg", "reject_on", "release", "repeat", "restrict",
    "return", "rnmos", "rpmos", "rtran", "rtranif0", "rtranif1", "s_always", "s_eventually", "s_nexttime",
    "s_until", "s_until_with", "scalared", "sequence", "shortint", "shortreal", "showcancelled", "signed",
    "small", "soft", "solve", "specify", "specparam", "static", "string", "strong", "strong0", "strong1",
    "struct", "super", "supply0", "supply1", "sync_accept_on", "sync_reject_on", "table", "tagged", "task",
    "this", "throughout", "time", "timeprecision", "timeunit", "tran", "tranif0", "tranif1", "tri", "tri0",
    "tri1", "triand", "trior", "trireg", "type", "typedef", "union", "unique", "unique0", "unsigned", "until",
    "until_with", "untyped", "use", "uwire", "var", "vectored", "virtual", "void", "wait", "wait_order",
    "wand", "weak", "weak0", "weak1", "while", "wildcard", "wire", "with", "within", "wor", "xnor", "xor",
};
// clang-format on

bool IsPlain(std::string_view text) {
  if (text.empty() || (text[0] >= '0' && text[0] <= '9')) return false;
  return std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
  });
}

}  // namespace

bool IsVerilogKeyword(std::string_view word) {
  return std::find(kKeywords.begin(), kKeywords.end(), word) != kKeywords.end();
}

std::string VerilogText(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == ' ') {
      out += '_';
    } else if (c < 0x21 || c > 0x7E) {
      out += 'x';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += ch;
    }
  }
  return out;
}

std::string VerilogName(std::string_view text) {
  if (IsPlain(text) && !IsVerilogKeyword(text)) return std::string(text);
  return "\\" + std::string(text) + " ";
}

std::string VerilogNameSpace::Take(const std::string& text) {
  taken_.insert(text);
  return VerilogName(text);
}

std::string VerilogNameSpace::Reserve(std::string_view name) {
  std::string text = VerilogText(name);
  // A leading backslash would read as an escape of its own.
  if (!text.empty() && text[0] == '\\') text[0] = '_';
  if (text.empty()) return Generate("n");
  if (!Taken(text)) return Take(text);
  return Generate(text + "_");
}

std::string VerilogNameSpace::Generate(std::string_view base, int first) {
  std::string text;
  for (int n = std::max(first, 0);; ++n) {
    text = std::string(base) + std::to_string(n);
    if (!Taken(text)) break;
  }
  return Take(text);
}

}  // namespace qiro
