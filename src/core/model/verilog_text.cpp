// Words and port lists are scanned by position, the way the file stores them: the last
// character of a line closes the statement (";" or ")") and is never part of a name.
#include "model/verilog_text.h"

#include "model/catalogue.h"
#include "model/parse_decimal.h"
#include "model/text.h"
#include "workspace.h"

namespace qiro {

std::pair<std::size_t, std::size_t> VerilogWordSpan(std::string_view line, int n) {
  if (line.empty() || n < 1) return {0, 0};
  const std::size_t last = line.size() - 1;  // never part of a word
  std::size_t p = 0;
  for (int k = 1; k <= n; ++k) {
    while (p < last && line[p] == ' ') ++p;
    const std::size_t start = p;
    while (p < last && line[p] != ' ') ++p;
    if (k == n) {
      const std::size_t cut = line.substr(start, p - start).find_first_of("(;");
      return {start, cut == std::string_view::npos ? p : start + cut};
    }
  }
  return {0, 0};
}

std::string VerilogWord(std::string_view line, int n) {
  const auto [start, end] = VerilogWordSpan(line, n);
  return std::string(line.substr(start, end - start));
}

std::vector<std::string> ParsePortList(std::string_view line) {
  std::vector<std::string> names;
  if (line.empty()) return names;
  const std::size_t last = line.size() - 1;

  std::size_t wordStart = 0;
  while (wordStart < last && line[wordStart] == ' ') ++wordStart;
  const std::string first = VerilogWord(line, 1);
  std::size_t p;
  if (first == "input" || first == "output" || first == "wire") {
    // The separator after the keyword; measured from the word so indented lines read alike.
    p = wordStart + first.size();
  } else {
    p = line.find('(');
    if (p == std::string_view::npos) return names;
  }

  while (p < last && line[p] != ')' && static_cast<int>(names.size()) < kMaxPortNames) {
    ++p;  // the separator: "(", "," or the space after the keyword
    while (p < last && line[p] == ' ') ++p;
    const std::size_t start = p;
    while (p < last && line[p] != ' ' && line[p] != ')' && line[p] != ',' && line[p] != ';') ++p;
    names.push_back(Counted(line.substr(start, p - start)));
  }
  return names;
}

void BeginVerilogSymbol(Workspace& ws) {
  ws.verilogRead = VerilogReadState{};
}

void ReadVerilogLine(Workspace& ws, int symbol, std::string_view line) {
  Circuit& c = ws.circuit;
  if (!c.Symbols.Valid(symbol)) return;
  TSymbol& s = c.Symbols[symbol];
  VerilogReadState& state = ws.verilogRead;

  const int index = ++s.VerilogLineCount;
  SetStatus(ws, 0, std::to_string(index));
  if (index <= kMaxVerilogLines) {
    if (static_cast<int>(s.VerilogLines.size()) <= index) s.VerilogLines.resize(index + 1);
    s.VerilogLines[index] = Counted(line);
  }

  const std::string word = VerilogWord(line, 1);
  if (word == "module") {
    s.VerilogStart = index;
    state.inputs = 0;
    state.outputs = 0;
  } else if (word == "input" || word == "output") {
    const bool input = word == "input";
    const std::vector<std::string> names = ParsePortList(line);
    const int first = input ? state.inputs : state.inputs + state.outputs;
    for (int k = 1; k <= static_cast<int>(names.size()); ++k) {
      const int pin = first + k;
      if (pin > s.PinCount) continue;  // only the pins the block declared can be named
      s.Pin(pin).Name = names[k - 1];
      s.Pin(pin).Kind = input ? 'I' : 'O';
    }
    (input ? state.inputs : state.outputs) += static_cast<int>(names.size());
  } else if (GateCodeOfName(word) != kGateNone) {
    s.VerilogStart = 1;
    if (line.find('#') == std::string_view::npos) {
      state.gateDelay = ws.settings.DefaultDelay;
    } else {
      const std::vector<std::string> names = ParsePortList(line);
      state.gateDelay = ParseDecimal(names.empty() ? std::string() : names[0], 50, 100000, 0).value;
    }
  }
}

}  // namespace qiro
