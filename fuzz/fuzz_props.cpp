// The symbol properties dialog: the first byte picks a library symbol (one per page of the
// dialog, and a symbol carrying Verilog text), which is placed beside a light and filled into
// the dialog. The input's lines then overwrite the dialog's fields in a fixed order, the
// dialog is checked and applied whatever the check says, and the circuit is extracted and
// simulated briefly.
#include <algorithm>
#include <iterator>
#include <utility>

#include "fuzz_support.h"
#include "model/schematic_file.h"
#include "props/props_check.h"
#include "props/symbol_props.h"

using namespace qiro;

namespace {

// Hands out the input's lines one by one; once they run out, the fields keep what the dialog
// filled in.
class Fields {
 public:
  explicit Fields(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  void Next(std::string& field) {
    if (next_ < lines_.size()) field = lines_[next_++];
  }
  void Next(bool& field) {
    if (next_ < lines_.size()) field = !lines_[next_++].empty();
  }

 private:
  std::vector<std::string> lines_;
  std::size_t next_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  static const char* const kSymbols[] = {"clock", "sinus",   "pwl",     "nmos",   "capa", "self",
                                         "res",   "vsource", "isource", "mutual", "pip",  "matrix",
                                         "lut",   "light",   "digit",   "i8051",  "and2"};
  constexpr int kCount = static_cast<int>(std::size(kSymbols));
  static const auto root = std::filesystem::path(QIRO_SOURCE_ROOT);
  fuzz::QuietHost host;
  Workspace ws(&host);
  ws.SetHomeDir(QIRO_SOURCE_ROOT);
  const int pick = data[0] % (kCount + 1);
  if (pick == kCount)
    SchematicLoad(ws, root / "examples" / "full_adder.sym", kLoadSymbol, 200, 200);
  else
    SchematicLoad(ws, root / "IEEE" / (std::string(kSymbols[pick]) + ".SYM"), kLoadSymbol, 200, 200);
  SchematicLoad(ws, root / "IEEE" / "light.SYM", kLoadSymbol, 400, 200);
  if (ws.circuit.Symbols.Count() < 1) return 0;

  const int symbol = ExtractKeepingSymbol(ws, 1);
  if (symbol == 0) return 0;
  SymbolProps props;
  ReadProperties(ws, symbol, props);
  std::vector<std::string> lines = fuzz::Lines(data + 1, size - 1);
  if (lines.size() > 2000) lines.resize(2000);
  for (std::string& line : lines) line.resize(std::min<std::size_t>(line.size(), 300));
  Fields in(std::move(lines));
  in.Next(props.Name);
  in.Next(props.VisiblePin);
  in.Next(props.VisibleProp);
  in.Next(props.VisibleTitle);
  in.Next(props.PauseRise);
  in.Next(props.PauseFall);
  for (PinGridRow& row : props.Pins) {
    in.Next(row.Name);
    in.Next(row.Gate);
    in.Next(row.Fanout);
    in.Next(row.Wire);
  }
  in.Next(props.ClockLow);
  in.Next(props.ClockHigh);
  in.Next(props.ClockPinName);
  for (std::string& v : props.Values) in.Next(v);
  for (int k = 0; k < 8; ++k) {
    in.Next(props.Pwl[k].Time);
    in.Next(props.Pwl[k].Value);
  }
  in.Next(props.PwlSequence);
  in.Next(props.PwlStep);
  in.Next(props.PipOpen);
  for (bool& open : props.MatrixOpen) in.Next(open);
  for (std::string& row : props.Lut) in.Next(row);
  std::string number;
  in.Next(number);
  if (!number.empty()) props.Colour = static_cast<unsigned char>(number[0]) % 7 - 1;
  number.clear();
  in.Next(number);
  if (!number.empty()) props.Format = static_cast<unsigned char>(number[0]) % 6 - 1;
  in.Next(props.SelectPinName);
  for (std::string& line : props.VerilogMemo) in.Next(line);
  for (int k = 0; k < 4; ++k) {
    std::string line;
    in.Next(line);
    props.Program.push_back(line);
  }

  CheckProperties(ws, symbol, props);
  if (props.Page == PropsPage::Mcu) AssembleProps(ws, props);
  ApplyProperties(ws, symbol, props);
  SymbolProps again;
  ReadProperties(ws, symbol, again);
  fuzz::ExtractAndSimulate(ws, 40);
  return 0;
}
