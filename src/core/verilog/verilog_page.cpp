#include "verilog/verilog_page.h"

#include <algorithm>

#include "model/catalogue.h"
#include "model/text.h"
#include "workspace.h"

namespace qiro {

namespace {

int StoredLines(const TSymbol& s) {
  return std::clamp(std::min(s.VerilogLineCount, kMaxVerilogLines), 0,
                    static_cast<int>(s.VerilogLines.size()) - 1);
}

void TidyInto(TSymbol& s, std::vector<std::string>& memo) {
  memo.clear();
  for (int l = 1; l <= StoredLines(s); ++l) {
    s.VerilogLines[l] = Counted(TidyVerilogLine(s.VerilogLines[l]));
    memo.push_back(s.VerilogLines[l]);
  }
}

}  // namespace

std::string TidyVerilogLine(std::string_view line) {
  const std::size_t p = std::min(line.find_first_not_of(' '), line.size());  // 0-based
  const std::string_view rest = line.substr(p);
  if (StartsWith(rest, "//")) return " ";
  std::string prefix;
  if (line.find("module") != std::string_view::npos || p == 0) {
    prefix = "";
  } else if (p >= 3) {
    prefix = "  ";
  } else {
    prefix = " ";
  }
  return prefix + std::string(rest);
}

void RenameModule(Workspace& ws, int symbol, const std::string& editName) {
  if (!ws.circuit.Symbols.Valid(symbol)) return;
  TSymbol& s = ws.circuit.Symbols[symbol];
  s.Name = Counted(editName);
  const int last = StoredLines(s);
  if (last == 0) return;

  int end = last;
  while (end >= 1 && s.VerilogLines[end].find("endmodule") == std::string::npos) --end;
  int found = 0;
  for (int l = end - 1; l >= 1 && found == 0; --l)
    if (s.VerilogLines[l].find("module") != std::string::npos) found = l;
  if (end < 1 || found == 0) {
    SetStatus(ws, 0, "Error : module not found !");
    return;
  }

  const std::string& old = s.VerilogLines[found];
  const std::size_t m = old.find("module");
  const std::size_t q = old.find(' ', m + 6);
  std::string line = q == std::string::npos ? old.substr(0, m + 6) + " " : old.substr(0, q + 1);
  line += s.Name;
  const std::size_t paren = old.find('(', q == std::string::npos ? m : q);
  if (paren != std::string::npos) line += old.substr(paren);
  s.VerilogLines[found] = Counted(line);
}

VerilogPage ShowVerilogPage(Workspace& ws, int symbol) {
  VerilogPage page;
  if (!ws.circuit.Symbols.Valid(symbol)) return page;
  TidyInto(ws.circuit.Symbols[symbol], page.Memo);
  const std::string name = ws.circuit.Symbols[symbol].Name;
  if (GateCodeOfName(name) == kGateNone) {
    RenameModule(ws, symbol, name);
    TidyInto(ws.circuit.Symbols[symbol], page.Memo);
  } else {
    const TSymbol& s = ws.circuit.Symbols[symbol];
    std::string inputs;
    for (int k = 1; k <= s.PinCount - 1; ++k) inputs += (k > 1 ? "," : "") + s.Pin(k).Name;
    page.Memo.push_back("// Verilog Primitive \"" + name + "\"");
    page.Memo.push_back("// " + inputs + ": input");
    page.Memo.push_back("// " + s.Pin(s.PinCount).Name + ": output");
  }
  page.NameField = ws.circuit.Symbols[symbol].Name;
  return page;
}

}  // namespace qiro
