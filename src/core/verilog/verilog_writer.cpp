// Verilog netlist writer.
// The module header lists inputs then outputs, breaking the line after every eighth name
// that took a comma; declarations break after every eighth name. Each symbol whose name
// starts with a primitive keyword becomes one instance named keyword + table index, its
// output node first (a dreg's two outputs first). Pins without a node are written "vss".
#include "verilog/verilog_writer.h"

#include <array>
#include <ctime>
#include <utility>

#include "extract/extract.h"
#include "model/errors.h"
#include "model/safe_write.h"
#include "model/text.h"
#include "verilog/portable_writer.h"
#include "workspace.h"

namespace qiro {

namespace {

constexpr int kModelButton = 59;
constexpr int kModelPwl = 68;
constexpr int kModelClock = 69;
constexpr int kMaxPwlEntries = 200;

// Prefix and keyword, tested in this order so that the longer prefixes win.
constexpr std::array<std::pair<std::string_view, std::string_view>, 15> kKeywords{{
    {"bufif1", "bufif1"},
    {"notif1", "notif1"},
    {"xnor", "xnor"},
    {"nand", "nand"},
    {"nmos", "nmos"},
    {"pmos", "pmos"},
    {"dreg", "dreg"},
    {"inv", "not"},
    {"not", "not"},
    {"and", "and"},
    {"nor", "nor"},
    {"buf", "buf"},
    {"xor", "xor"},
    {"mux", "mux"},
    {"or", "or"},
}};

void Emit(std::vector<std::string>& lines, const std::string& line) {
  if (static_cast<int>(lines.size()) < kMaxModuleLines) lines.push_back(Counted(line));
}

// " input a,b,...;" with a new line after every eighth name.
void WriteDeclaration(std::vector<std::string>& lines, const std::string& keyword,
                      const std::vector<std::string>& names) {
  if (names.empty()) return;
  const std::string start = " " + keyword + " ";
  std::string line = start;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const bool last = i + 1 == names.size();
    line += names[i];
    if (last) break;
    if ((i + 1) % 8 == 0) {
      Emit(lines, line + ";");
      line = start;
    } else {
      line += ",";
    }
  }
  Emit(lines, line + ";");
}

std::string InstanceLine(const Workspace& ws, const TSymbol& s, int index, std::string_view keyword) {
  std::vector<int> order;
  const int n = s.PinCount;
  if (keyword == "dreg" && n >= 2) {
    order = {n - 1, n};
    for (int k = 1; k <= n - 2; ++k) order.push_back(k);
  } else if (n >= 1) {
    order = {n};
    for (int k = 1; k <= n - 1; ++k) order.push_back(k);
  }
  std::string line = " " + std::string(keyword) + " " + std::string(keyword) + std::to_string(index) + "(";
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (i > 0) line += ",";
    line += ws.nodes.NodeName(s.Pin(order[i]).Node);
  }
  // The statement needs its ";" to be Verilog at all.
  return line + ");";
}

// The keyword of a gate generated from a symbol's Verilog text, by its model: its name
// carries the instance name, which need not start with the primitive's.
std::string_view KeywordOfModel(int model) {
  switch (model / 100) {
    case 2:
      return "nand";
    case 3:
      return "nor";
    case 4:
      return "and";
    case 5:
      return "or";
    case 6:
      return model % 100 >= 10 ? "xnor" : "xor";
    default:
      break;
  }
  switch (model) {
    case 101:
      return "not";
    case 111:
      return "buf";
    case 121:
      return "notif1";
    case 143:
      return "mux";
    case 860:
      return "dreg";
    case 901:
      return "nmos";
    case 902:
      return "pmos";
    default:
      return {};
  }
}

bool IsBlank(const std::string& word) {
  return word.find_first_not_of(' ') == std::string::npos;
}

}  // namespace

std::string_view PrimitiveKeyword(std::string_view symbolName) {
  for (const auto& [prefix, keyword] : kKeywords)
    if (StartsWith(symbolName, prefix)) return keyword;
  return {};
}

std::string ModuleNameOfFile(std::string_view fileName) {
  const std::size_t slash = fileName.find_last_of(":\\/");
  std::string_view base = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
  const std::size_t dot = base.rfind('.');
  if (dot != std::string_view::npos) base = base.substr(0, dot);
  return Counted(base);
}

std::string DateTimeText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buf[64];
  std::strftime(buf, sizeof buf, "%d/%m/%Y %H:%M:%S", &local);
  return buf;
}

std::vector<std::string> VerilogTitle(const Workspace& ws, const std::string& dateTime) {
  return {"// QIRO 2.3c", Counted("// " + dateTime), Counted("// " + ws.circuit.FileName), ""};
}

void WriteVerilogModule(Workspace& ws) {
  std::vector<std::string>& lines = ws.verilog.Lines;
  lines.clear();
  const auto& inputs = ws.extraction.InputNames;
  const auto& outputs = ws.extraction.OutputNames;

  // Header: inputs then outputs; after every eighth name that took a comma the line breaks.
  std::string line = "module " + ws.verilog.ModuleName + "( ";
  int withComma = 0;
  const auto add = [&](const std::string& name, bool comma) {
    line += name;
    if (!comma) return;
    line += ",";
    if (++withComma % 8 == 0) {
      Emit(lines, line);
      line = " ";
    }
  };
  for (std::size_t i = 0; i < inputs.size(); ++i)
    add(inputs[i], !(i + 1 == inputs.size() && outputs.empty()));
  for (std::size_t i = 0; i < outputs.size(); ++i) add(outputs[i], i + 1 != outputs.size());
  Emit(lines, line + ");");

  WriteDeclaration(lines, "input", inputs);
  WriteDeclaration(lines, "output", outputs);
  WriteDeclaration(lines, "wire", ws.extraction.InternalWires);

  const auto& symbols = ws.circuit.Symbols;
  for (int i = 1; i <= symbols.Count(); ++i) {
    const TSymbol& s = symbols[i];
    if (s.State == kDeleted) continue;
    std::string_view keyword = PrimitiveKeyword(s.Name);
    if (keyword.empty() && s.Internal) keyword = KeywordOfModel(s.Model);
    if (!keyword.empty()) Emit(lines, InstanceLine(ws, s, i, keyword));
  }
  Emit(lines, "endmodule");
}

std::vector<std::string> SimulationParameters(const Workspace& ws) {
  std::vector<std::string> out = {"", "// Simulation parameters"};
  int buttons = 0;
  for (const TSymbol& s : ws.circuit.Symbols) {
    if (s.State == kDeleted) continue;
    const std::string label = "// " + s.Pin(1).Name + " ";
    if (s.Model == kModelButton) {
      // A button is described as a clock whose phases grow with its rank.
      const std::string t = std::to_string(10 * ++buttons);
      out.push_back(Counted(label + "CLK " + t + " " + t));
    } else if (s.Model == kModelClock) {
      out.push_back(Counted(label + "CLK " + s.Prop(1) + " " + s.Prop(2)));
    } else if (s.Model == kModelPwl) {
      std::string line = label + "PWL ";
      bool pending = true;
      // A word of blanks is what a written property line leaves after its last entry.
      for (int k = 1; k <= kMaxPwlEntries && !IsBlank(s.Prop(k)); ++k) {
        line += s.Prop(k);
        pending = true;
        if (k % 8 == 0) {
          out.push_back(Counted(line));
          line = "//+" + std::string(9, ' ');
          pending = false;
        } else {
          line += " ";
        }
      }
      if (pending) out.push_back(Counted(line));
    }
  }
  return out;
}

void UpdateVerilog(Workspace& ws, const std::string& dateTime) {
  if (ws.verilog.Portable) {
    ws.verilog.Lines.clear();
    ws.verilog.Shown =
        PortableVerilog(ws, PortableOptions{ws.verilog.GateDelays, ws.verilog.Testbench}, dateTime);
    return;
  }
  WriteVerilogModule(ws);
  std::vector<std::string>& shown = ws.verilog.Shown;
  shown = VerilogTitle(ws, dateTime);
  shown.insert(shown.end(), ws.verilog.Lines.begin(), ws.verilog.Lines.end());
  if (ws.verilog.AppendSimulationInfo) {
    const auto params = SimulationParameters(ws);
    shown.insert(shown.end(), params.begin(), params.end());
  }
}

void RefreshVerilog(Workspace& ws, const std::string& dateTime) {
  ExtractCircuit(ws);
  ws.verilog.ModuleName = ModuleNameOfFile(ws.circuit.FileName);
  UpdateVerilog(ws, dateTime);
  SaveVerilogFile(ws);
}

std::string VerilogLineCountText(const Workspace& ws) {
  return "The Verilog file has " + std::to_string(ws.verilog.Shown.size()) + " lines";
}

std::filesystem::path VerilogFilePath(const Workspace& ws) {
  std::filesystem::path p(ws.circuit.FileName);
  return p.replace_extension(".txt");
}

bool SaveVerilogFile(Workspace& ws, const std::filesystem::path& path) {
  std::string text;
  for (const std::string& line : ws.verilog.Shown) text += OneLine(line) + "\r\n";
  std::string reason;
  if (!SafeWriteText(path, text, nullptr, &reason)) {
    // Saying the text was written when it was not would mislead; report the failure instead.
    ReportWriteError(ws, path.string(), reason);
    return false;
  }
  SetStatus(ws, 0, "Verilog description written in \"" + path.string() + "\"");
  return true;
}

bool SaveVerilogFile(Workspace& ws) {
  return SaveVerilogFile(ws, VerilogFilePath(ws));
}

}  // namespace qiro
