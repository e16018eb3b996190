// Schematic-to-symbol generator.
// Pins are ranked by name within inputs and within outputs; the layout then sizes the box
// from the largest position on each side (10 units per position, 10 more for each occupied
// opposite side) and places every pin on its side. The file is the user symbol format.
#include "symbols/sch_to_sym.h"

#include <algorithm>
#include <cctype>

#include "extract/extract.h"
#include "model/errors.h"
#include "model/field_check.h"
#include "model/file_read.h"
#include "model/safe_write.h"
#include "model/text.h"
#include "verilog/verilog_writer.h"
#include "workspace.h"

namespace qiro {

namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Ranks rows [from, to) by name: each pair shifts one place up and one down.
void RankRange(std::vector<PinRow>& rows, int from, int to, bool decreasing) {
  std::vector<int> pos;
  std::vector<std::string> names;
  for (int i = from; i < to; ++i) {
    pos.push_back(i - from + 1);
    names.push_back(Upper(rows[i].Name));
  }
  for (std::size_t i = 0; i < names.size(); ++i)
    for (std::size_t j = i + 1; j < names.size(); ++j) {
      const bool swap = decreasing ? names[i] < names[j] : names[i] > names[j];
      if (swap) {
        ++pos[i];
        --pos[j];
      }
    }
  for (int i = from; i < to; ++i) rows[i].Position = std::to_string(pos[i - from]);
}

bool ParseInt(const std::string& text, int& value) {
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) return false;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  long long v = 0;
  std::size_t digits = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++digits) {
    v = v * 10 + (text[i] - '0');
    if (v > 100000) return false;
  }
  if (digits == 0 || text.find_first_not_of(' ', i) != std::string::npos) return false;
  value = static_cast<int>(negative ? -v : v);
  return true;
}

enum class Side { Left, Right, Top, Bottom, Other };

Side SideOf(const std::string& text) {
  const char c = text.empty() ? ' ' : static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  switch (c) {
    case 'L':
      return Side::Left;
    case 'R':
      return Side::Right;
    case 'T':
    case 'U':
      return Side::Top;
    case 'B':
    case 'D':
      return Side::Bottom;
    default:
      return Side::Other;
  }
}

std::string Lig(int xa, int ya, int xb, int yb) {
  return "LIG(" + std::to_string(xa) + "," + std::to_string(ya) + "," + std::to_string(xb) + "," +
         std::to_string(yb) + ")";
}

}  // namespace

std::string BadPositionText(int row, const std::string& text) {
  return "Row " + std::to_string(row) + ": the position \"" + text + "\" is not a whole number.";
}

std::filesystem::path GeneratedSymbolFolder(const Workspace& ws) {
  if (!ws.settings.GeneratedSymbolDir.empty()) return ws.settings.GeneratedSymbolDir;
  // Generated symbols are user files: never written into an installed home.
  if (!ws.settings.UserDir.empty()) return ws.settings.UserDir;
  std::error_code ec;
  return std::filesystem::current_path(ec);
}

void SchToSym::UpdateOptions(const Workspace& ws) {
  Name = ws.extraction.DesignName.empty() ? ws.verilog.ModuleName : ws.extraction.DesignName;
  Title = Name;
  Directory = GeneratedSymbolFolder(ws).string();
  Rows.clear();
  const auto& inputs = ws.extraction.InputNames;
  const auto& outputs = ws.extraction.OutputNames;
  for (std::size_t i = 0; i < inputs.size() && Rows.size() < kMaxSymbolRows; ++i)
    Rows.push_back({inputs[i], std::to_string(i + 1), "L"});
  InputCount = static_cast<int>(Rows.size());
  for (std::size_t j = 0; j < outputs.size() && Rows.size() < kMaxSymbolRows; ++j)
    Rows.push_back({outputs[j], std::to_string(j + 1), "R"});
  ModuleText = ws.verilog.Lines;
  RankPositions();
}

void SchToSym::RankPositions() {
  const int n = std::clamp(InputCount, 0, static_cast<int>(Rows.size()));
  RankRange(Rows, 0, n, Decreasing);
  RankRange(Rows, n, static_cast<int>(Rows.size()), Decreasing);
}

bool SchToSym::Generate(Workspace& ws) {
  Symbol = GeneratedSymbol{};
  Rect& ext = Symbol.Extent;
  Rect& box = Symbol.Box;

  std::vector<int> positions(Rows.size());
  std::vector<Side> sides(Rows.size());
  int maxLeft = 0, maxRight = 0, maxTop = 0, maxBottom = 0;
  bool anyLeft = false, anyRight = false, anyTop = false, anyBottom = false;
  for (std::size_t r = 0; r < Rows.size(); ++r) {
    if (!ParseInt(Rows[r].Position, positions[r])) {
      SetStatus(ws, 0, BadPositionText(static_cast<int>(r) + 1, Rows[r].Position));
      return false;
    }
    sides[r] = SideOf(Rows[r].Side);
    const int p = positions[r];
    switch (sides[r]) {
      case Side::Left:
        anyLeft = true, maxLeft = std::max(maxLeft, p);
        break;
      case Side::Right:
        anyRight = true, maxRight = std::max(maxRight, p);
        break;
      case Side::Top:
        anyTop = true, maxTop = std::max(maxTop, p);
        break;
      case Side::Bottom:
        anyBottom = true, maxBottom = std::max(maxBottom, p);
        break;
      case Side::Other:
        break;
    }
  }

  ext.x2 = BoxWidth;
  ext.y2 = 30;
  if (anyTop || anyBottom) {
    ext.x2 = std::max(10 * std::max(maxTop, maxBottom) + 10, BoxWidth);
    if (anyLeft) ext.x2 += 10;
    if (anyRight) ext.x2 += 10;
  }
  if (anyLeft || anyRight) {
    ext.y2 = 10 * std::max(maxLeft, maxRight) + 10;
    if (anyTop) ext.y2 += 10;
    if (anyBottom) ext.y2 += 10;
  }
  box = Rect{ext.x1 + 5, ext.y1 + 5, ext.x2 - 5, ext.y2 - 5};
  if (box.x1 == box.x2) box.x2 += 10;
  if (box.y1 == box.y2) box.y2 += 10;

  for (std::size_t r = 0; r < Rows.size(); ++r) {
    GeneratedPin pin;
    pin.Name = Counted(Rows[r].Name);
    pin.Delay = static_cast<int>(r) < InputCount ? 0.0 : ws.settings.DefaultDelay;
    const int p = positions[r];
    switch (sides[r]) {
      case Side::Left:
        pin.X = ext.x1, pin.Y = 10 * p;
        break;
      case Side::Right:
        pin.X = ext.x2, pin.Y = 10 * p;
        break;
      case Side::Top:
        pin.X = box.x1 + 10 * p, pin.Y = ext.y1;
        break;
      case Side::Bottom:
        pin.X = box.x1 + 10 * p, pin.Y = ext.y2;
        break;
      case Side::Other:
        break;
    }
    Symbol.Pins.push_back(pin);
  }
  return true;
}

void PrepareSchToSym(Workspace& ws, SchToSym& generator) {
  ExtractCircuit(ws);
  ws.verilog.ModuleName = ModuleNameOfFile(ws.circuit.FileName);
  WriteVerilogModule(ws);
  generator.UpdateOptions(ws);
}

std::string SymbolFileText(const GeneratedSymbol& s, const std::string& name, const std::string& title,
                           const std::vector<std::string>& moduleText, const std::string& dateTime) {
  std::vector<std::string> lines;
  const Rect& e = s.Extent;
  const Rect& b = s.Box;
  lines.push_back("USER SYMBOL by QIRO 2.3c");
  lines.push_back("DATE " + OneLine(dateTime));
  lines.push_back(Counted("SYM  #" + OneLine(name)));
  lines.push_back("BB(" + std::to_string(e.x1) + "," + std::to_string(e.y1) + "," + std::to_string(e.x2) +
                  "," + std::to_string(e.y2) + ")");
  lines.push_back(
      Counted("TITLE " + std::to_string(s.TitleX) + " " + std::to_string(s.TitleY) + "  #" + OneLine(title)));
  lines.push_back("MODEL " + std::to_string(s.Model));
  lines.push_back("REC(" + std::to_string(b.x1) + "," + std::to_string(b.y1) + "," +
                  std::to_string(b.x2 - b.x1) + "," + std::to_string(b.y2 - b.y1) + ")");
  for (const GeneratedPin& p : s.Pins)
    lines.push_back(Counted("PIN(" + std::to_string(p.X) + "," + std::to_string(p.Y) + "," +
                            FormatFixed(p.Delay, 3, 5) + "," + std::to_string(p.Fanout) + ")" +
                            OneLine(p.Name)));
  for (const GeneratedPin& p : s.Pins) {
    if (p.X < b.x1) {
      lines.push_back(Lig(p.X, p.Y, b.x1, p.Y));
    } else if (p.X > b.x2) {
      lines.push_back(Lig(b.x2, p.Y, p.X, p.Y));
    } else if (p.Y > b.y2) {
      lines.push_back(Lig(p.X, b.y2, p.X, p.Y));
    } else if (p.Y < b.y1) {
      lines.push_back(Lig(p.X, p.Y, p.X, b.y1));
    }
  }
  lines.push_back(Lig(b.x1, b.y1, b.x1, b.y2));
  lines.push_back(Lig(b.x1, b.y1, b.x2, b.y1));
  lines.push_back(Lig(b.x2, b.y1, b.x2, b.y2));
  lines.push_back(Lig(b.x2, b.y2, b.x1, b.y2));
  for (const std::string& v : moduleText) lines.push_back(Counted("VLG " + OneLine(v), kTextCapacity + 4));
  lines.push_back("FSYM");

  std::string text;
  for (const std::string& l : lines) text += l + "\r\n";
  return text;
}

bool SchToSym::WriteSymbolFile(const std::filesystem::path& path, const std::string& dateTime,
                               std::string* reason) const {
  return SafeWriteText(path, SymbolFileText(Symbol, Name, Title, ModuleText, dateTime), nullptr, reason);
}

std::filesystem::path SchToSym::SymbolFilePath() const {
  return (std::filesystem::path(Directory) / MakeIdentifier(Name)).replace_extension(".sym");
}

std::optional<std::string> SchToSym::OtherSymbolInFile() const {
  std::error_code ec;
  const std::filesystem::path path = SymbolFilePath();
  // A FIFO or a device holds no symbol to compare with: it is written into, as asked.
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  // The name as the reader takes it from the SYM line: everything after the first "#".
  const std::string ours = Counted("SYM  #" + OneLine(Name)).substr(6);
  std::string text, held;
  ReadWholeFile(path, text);
  for (const std::string& line : SplitLines(text)) {
    if (line.compare(0, 2, "SY") != 0) continue;
    const std::size_t hash = line.find('#');
    if (hash != std::string::npos) held = line.substr(hash + 1);
    break;
  }
  if (held == ours) return std::nullopt;
  return held;
}

std::vector<SchToSymProblem> SchToSym::Check() const {
  std::vector<SchToSymProblem> out;
  const auto add = [&out](int row, int column, const std::string& message) {
    if (!message.empty()) out.push_back({row, column, message});
  };
  // The name becomes the file name and the module name of the symbol's Verilog text.
  add(-1, 0, CheckNameField(MakeIdentifier(Name)));
  std::error_code ec;
  if (!std::filesystem::is_directory(Directory, ec)) add(-1, 2, "\"" + Directory + "\" is not a folder.");
  for (std::size_t r = 0; r < Rows.size(); ++r) {
    const int row = static_cast<int>(r);
    const std::string at = "Row " + std::to_string(r + 1) + ": ";
    const std::string name = CheckNameField(MakeIdentifier(Rows[r].Name));
    if (!name.empty()) add(row, 0, at + name);
    const std::string position = CheckWholeNumberField(Rows[r].Position, 1, kMaxSymbolRows);
    if (!position.empty()) add(row, 1, at + position);
    if (SideOf(Rows[r].Side) == Side::Other)
      add(row, 2, at + "the side \"" + Rows[r].Side + "\" is none of L, R, T (or U) and B (or D).");
  }
  return out;
}

std::filesystem::path SchToSym::Save(Workspace& ws, const std::string& dateTime,
                                     const std::function<bool(const std::filesystem::path&)>& mayReplace) {
  SetStatus(ws, 0, "Save symbol \"" + Name + "\" in directory " + Directory);
  const std::string name = MakeIdentifier(Name);
  ws.extraction.DesignName = name;
  for (const TSymbol& s : ws.circuit.Symbols) {
    if (s.State != kDeleted && s.Name == name) {
      ws.circuit.MessageArg = name;
      ReportError(ws, 17);
      return {};
    }
  }
  if (!Generate(ws)) return {};
  const std::filesystem::path path = SymbolFilePath();
  std::error_code ec;
  if (mayReplace && std::filesystem::exists(path, ec) && !mayReplace(path)) {
    SetStatus(ws, 0, "Symbol not saved: \"" + path.string() + "\" kept as it was.");
    return {};
  }
  std::string reason;
  if (!WriteSymbolFile(path, dateTime, &reason)) {
    // A silent failure would let the user believe the symbol exists.
    ReportWriteError(ws, path.string(), reason);
    return {};
  }
  ws.settings.GeneratedSymbolDir = Directory;
  return path;
}

std::string MakeIdentifier(std::string_view raw) {
  // A line break or a control character has no place in a file name.
  const std::string line = OneLine(raw);
  const std::string_view text = line;
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    // è and é, as single 8-bit characters or as their UTF-8 pairs.
    if (c == 0xC3 && i + 1 < text.size() &&
        (static_cast<unsigned char>(text[i + 1]) == 0xA8 ||
         static_cast<unsigned char>(text[i + 1]) == 0xA9)) {
      out += 'e';
      ++i;
      continue;
    }
    switch (c) {
      case '/':
      case '\\':
        out += 'b';
        break;
      case '=':
      case 232:
      case 233:
        out += 'e';
        break;
      case '+':
      case '.':
        out += 'p';
        break;
      case '>':
        out += 's';
        break;
      case '<':
        out += 'i';
        break;
      case '-':
        out += '_';
        break;
      case ' ':
      case '(':
      case ')':
      case ',':
      case ';':
      case '[':
      case ']':
        break;
      default:
        out += static_cast<char>(c);
    }
  }
  return out.empty() ? "null" : out;
}

}  // namespace qiro
