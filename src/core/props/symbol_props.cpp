// Reading a symbol into the properties dialog and writing the dialog back.
// Property words are stored space-separated in the schematic file, so a word typed with
// blanks would split into two and shift every later word; blanks are dropped from stored
// words, and a field left empty keeps the word it had.
#include "props/symbol_props.h"

#include <algorithm>

#include "extract/extract.h"
#include "mcu/assembler.h"
#include "model/catalogue.h"
#include "model/parse_decimal.h"
#include "model/text.h"
#include "props/pin_rename.h"
#include "props/props_check.h"
#include "sim/devices.h"
#include "symbols/sch_to_sym.h"
#include "verilog/verilog_page.h"
#include "workspace.h"

namespace qiro {

namespace {

// Model codes of the kinds only this dialog tells apart; devices.h has the devices'.
enum Model : int {
  kPip = 702,
  kMatrix = 710,
  kLut = 724,
  kCapa = 900,
  kResistor = 920,
  kSelf = 930,
  kIsource = 960,
  kVsource = 965,
  kMutual = 970,
  kMcu = 2051,
};

constexpr double kMaxDelay = 100000;
constexpr double kDefaultPhase = 50;

// Vis bits of the five check boxes.
constexpr int kVisPin = 1, kVisProp = 2, kVisTitle = 4, kVisRise = 16, kVisFall = 32;

std::string WithoutBlanks(std::string_view text) {
  std::string out;
  for (const char c : text)
    if (c != ' ' && c != '\t') out += c;
  return Counted(out);
}

// Stores a typed field in a property word; an empty field keeps the word.
void StoreWord(TSymbol& s, int k, std::string_view field) {
  const std::string word = WithoutBlanks(field);
  if (!word.empty() && k >= 1 && k <= kMaxPropWords) s.PropWords[k] = word;
}

// A typed pin name as an identifier; the old name when nothing usable is left.
std::string PinName(std::string_view typed, const std::string& old) {
  if (typed.find_first_not_of(" \t") == std::string_view::npos) return old;
  const std::string name = Counted(MakeIdentifier(typed));
  return name.empty() ? old : name;
}

void SetPinName(TSymbol& s, SymbolProps& props, int k, const std::string& name) {
  if (k < 1 || k > s.PinCount) return;
  s.Pin(k).Name = Counted(name);
  if (k <= static_cast<int>(props.Pins.size())) props.Pins[k - 1].Name = s.Pin(k).Name;
}

void ReadPage(const Workspace& ws, const TSymbol& s, SymbolProps& props) {
  const int fields = static_cast<int>(ValueFieldLabels(props.Page).size());
  for (int k = 1; k <= fields; ++k) {
    // The sine page keeps its defaults where the symbol has no word.
    if (props.Page != PropsPage::Sinus || !s.Prop(k).empty()) props.Values[k - 1] = s.Prop(k);
  }
  switch (props.Page) {
    case PropsPage::Clock:
      props.ClockLow = s.Prop(1);
      props.ClockHigh = s.Prop(2);
      props.ClockPinName = s.Pin(1).Name;
      break;
    case PropsPage::Pwl:
      for (int row = 0; row < kPwlRows && 2 * row + 1 <= kMaxPropWords; ++row) {
        const std::string& time = s.Prop(2 * row + 1);
        if (time.empty()) break;
        props.Pwl[row].Time = time;
        const std::string& value = s.Prop(2 * row + 2);
        props.Pwl[row].Value = value;
        if (value.empty()) break;
      }
      break;
    case PropsPage::Pip:
      props.PipOpen = s.Prop(1) == "0";
      break;
    case PropsPage::Matrix:
      for (int k = 0; k < kMatrixLinks && k < static_cast<int>(s.Prop(1).size()); ++k) {
        if (s.Prop(1)[k] == '0') props.MatrixOpen[k] = true;
        if (s.Prop(1)[k] == '1') props.MatrixOpen[k] = false;
      }
      break;
    case PropsPage::Lut:
      for (int k = 1; k <= kLutRows; ++k) props.Lut[k - 1] = s.Prop(k);
      break;
    case PropsPage::Select: {
      props.FormatVisible = s.Model == kModelDigit || s.Model == kModelDisplay;
      const auto* letter = std::find(kColourLetters.begin(), kColourLetters.end(), s.RecColour);
      if (letter != kColourLetters.end()) props.Colour = static_cast<int>(letter - kColourLetters.begin());
      props.Format = (s.Vis >> 6) & 3;
      props.SelectPinName = props.FormatVisible ? "<auto>" : s.Pin(1).Name;
      break;
    }
    case PropsPage::Mcu:
      props.Program = ShowSource(ws);
      break;
    default:
      break;
  }
}

void ApplyPage(Workspace& ws, TSymbol& s, SymbolProps& props) {
  const int fields = static_cast<int>(ValueFieldLabels(props.Page).size());
  for (int k = 1; k <= fields; ++k) StoreWord(s, k, props.Values[k - 1]);
  switch (props.Page) {
    case PropsPage::Mcu: {
      ws.circuit.AsmLines.Clear();
      for (const std::string& line : props.Program) ws.circuit.AddAsmLine(line);
      break;
    }
    case PropsPage::Pwl: {
      int k = 0;
      for (const PwlRow& row : props.Pwl) {
        for (const std::string* cell : {&row.Time, &row.Value}) {
          const std::string word = WithoutBlanks(*cell);
          if (!word.empty() && k < kMaxPropWords) s.PropWords[++k] = word;
        }
      }
      // A shorter sequence must not keep the tail of the old one.
      for (int w = k + 1; w <= kMaxPropWords; ++w) s.PropWords[w].clear();
      break;
    }
    case PropsPage::Clock: {
      const DecimalResult low = ParseDecimal(props.ClockLow, kDefaultPhase, kMaxDelay, 0);
      const DecimalResult high = ParseDecimal(props.ClockHigh, kDefaultPhase, kMaxDelay, 0);
      if (low.ok && high.ok) {
        s.PropWords[1] = FormatFixed(low.value, 3, 5);
        s.PropWords[2] = FormatFixed(high.value, 3, 5);
      }
      SetPinName(s, props, 1, PinName(props.ClockPinName, s.Pin(1).Name));
      props.ClockPinName = s.Pin(1).Name;
      break;
    }
    case PropsPage::Select:
      s.RecColour = props.Colour >= 0 && props.Colour < static_cast<int>(kColourLetters.size())
                        ? kColourLetters[props.Colour]
                        : 'r';
      SetPinName(s, props, 1, PinName(props.SelectPinName, s.Pin(1).Name));
      s.Vis = (s.Vis & 63) + 64 * std::clamp(props.Format, 0, 3);
      break;
    case PropsPage::Pip:
      s.PropWords[1] = props.PipOpen ? "0" : "1";
      break;
    case PropsPage::Matrix:
      s.PropWords[1] = std::string(kMatrixLinks, '0');
      for (int k = 0; k < kMatrixLinks; ++k)
        if (!props.MatrixOpen[k]) s.PropWords[1][k] = '1';
      break;
    case PropsPage::Lut:
      for (int k = 1; k <= kLutRows; ++k) {
        const std::string word = WithoutBlanks(props.Lut[k - 1]);
        s.PropWords[k] = word.empty() ? "0" : word;
      }
      break;
    default:
      break;
  }
}

// Digits, displays and keyboards name their pins after the symbol.
void NameDevicePins(TSymbol& s, SymbolProps& props, const std::string& name) {
  switch (s.Model) {
    case kModelKbd:
      for (int k = 1; k <= 4; ++k) SetPinName(s, props, k, name + std::to_string(k - 1));
      break;
    case kModelDigit:
      for (int k = 1; k <= 5; ++k) SetPinName(s, props, k, name + std::to_string(5 - k));
      break;
    case kModelDisplay:
      for (int k = 1; k <= 8; ++k) SetPinName(s, props, k, name + std::to_string(8 - k));
      break;
    default:
      break;
  }
}

int StoredVerilogLines(const TSymbol& s) {
  return std::min({s.VerilogLineCount, kMaxVerilogLines, static_cast<int>(s.VerilogLines.size()) - 1});
}

void RenamePin(TSymbol& s, int k, const std::string& name) {
  const std::string old = s.Pin(k).Name;
  s.Pin(k).Name = name;
  for (int l = std::max(s.VerilogStart, 1); l <= StoredVerilogLines(s); ++l)
    s.VerilogLines[l] = Counted(RenamePortInLine(s.VerilogLines[l], old, name));
}

}  // namespace

std::string_view PageCaption(PropsPage page) {
  switch (page) {
    case PropsPage::Clock:
      return "Clock";
    case PropsPage::Sinus:
      return "Sinus";
    case PropsPage::Pwl:
      return "Pwl";
    case PropsPage::Mos:
      return "Mos";
    case PropsPage::Capa:
      return "Capa";
    case PropsPage::Inductor:
      return "Inductor";
    case PropsPage::Resistor:
      return "Resistor";
    case PropsPage::Vsource:
      return "Vsource";
    case PropsPage::ISource:
      return "ISource";
    case PropsPage::Coupling:
      return "Inductor Coupling";
    case PropsPage::Pip:
      return "Pip";
    case PropsPage::Matrix:
      return "Switching Matrix";
    case PropsPage::Lut:
      return "Look Up Table";
    case PropsPage::Select:
      return "Select";
    case PropsPage::Mcu:
      return "8051 µc";
    case PropsPage::VerilogCall:
      return "Verilog Call";
    case PropsPage::Standard:
      return "Standard";
  }
  return "Standard";
}

PropsPage PageOfSymbol(const TSymbol& s) {
  switch (s.Model) {
    case kModelClock:
      return PropsPage::Clock;
    case kModelSinus:
      return PropsPage::Sinus;
    case kModelPwl:
      return PropsPage::Pwl;
    case kModelNmos:
    case kModelPmos:
      return PropsPage::Mos;
    case kCapa:
      return PropsPage::Capa;
    case kSelf:
      return PropsPage::Inductor;
    case kResistor:
      return PropsPage::Resistor;
    case kVsource:
      return PropsPage::Vsource;
    case kIsource:
      return PropsPage::ISource;
    case kMutual:
      return PropsPage::Coupling;
    case kPip:
      return PropsPage::Pip;
    case kMatrix:
      return PropsPage::Matrix;
    case kLut:
      return PropsPage::Lut;
    case kModelLight:
    case kModelButton:
    case kModelDigit:
    case kModelDisplay:
      return PropsPage::Select;
    case kMcu:
      return PropsPage::Mcu;
    default:
      return s.VerilogLineCount > 0 ? PropsPage::VerilogCall : PropsPage::Standard;
  }
}

std::vector<std::string_view> ValueFieldLabels(PropsPage page) {
  switch (page) {
    case PropsPage::Sinus:
      return {"Amplitude (0..255):", "Period (x clock):", "Offset (0..255):"};
    case PropsPage::Mos:
      return {"Width (µm):", "Length (µm):"};
    case PropsPage::Capa:
      return {"Value (F):"};
    case PropsPage::Inductor:
      return {"Value (Henry):"};
    case PropsPage::Resistor:
      return {"Value (Ohm):"};
    case PropsPage::Vsource:
      return {"DC value (V):", "AC amplitude (V):", "Phase (degree):"};
    case PropsPage::ISource:
      return {"DC value (A):", "AC amplitude (A):", "Phase (degree):"};
    case PropsPage::Coupling:
      return {"L1 (H):", "L2 (H):", "M12 (H):"};
    default:
      return {};
  }
}

int ExtractKeepingSymbol(Workspace& ws, int symbol) {
  auto& symbols = ws.circuit.Symbols;
  if (!symbols.Valid(symbol) || symbols[symbol].State == kDeleted) return 0;
  const TSymbol& before = symbols[symbol];
  const std::string name = before.Name;
  const Rect rec = before.Rec;
  const int model = before.Model, pins = before.PinCount;
  ExtractCircuit(ws);
  const auto same = [&](const TSymbol& s) {
    return !s.Internal && s.Name == name && s.Rec == rec && s.Model == model && s.PinCount == pins;
  };
  if (symbols.Valid(symbol) && same(symbols[symbol])) return symbol;
  for (int i = 1; i <= symbols.Count(); ++i)
    if (same(symbols[i])) return i;
  return 0;
}

void ReadProperties(Workspace& ws, int symbol, SymbolProps& props) {
  if (!ws.circuit.Symbols.Valid(symbol)) return;
  // The sequence and step fields are the dialog's own and survive from one symbol to the next.
  SymbolProps fresh;
  fresh.PwlSequence = props.PwlSequence;
  fresh.PwlStep = props.PwlStep;
  props = std::move(fresh);

  const TSymbol& s = ws.circuit.Symbols[symbol];
  props.VisiblePin = s.Vis & kVisPin;
  props.VisibleProp = s.Vis & kVisProp;
  props.VisibleTitle = s.Vis & kVisTitle;
  props.PauseRise = s.Vis & kVisRise;
  props.PauseFall = s.Vis & kVisFall;
  props.PauseEnabled = s.Model == kModelLight;
  for (int k = 1; k <= s.PinCount; ++k) {
    const TPin& p = s.Pin(k);
    props.Pins.push_back({std::to_string(k), std::string(1, p.Kind), p.Name,
                          FormatFixed(ShownGateDelay(p, ws.tech), 3, 5), std::to_string(p.Fanout),
                          FormatFixed(p.WireDelay, 3, 5)});
  }
  props.Name = s.Name;
  props.Title = "Title: " + s.Title;
  props.Caption = "Symbol " + s.Name + " properties (" + std::to_string(s.Model) + ")";

  VerilogPage page = ShowVerilogPage(ws, symbol);
  props.VerilogMemo = std::move(page.Memo);
  props.Name = page.NameField;

  props.Page = PageOfSymbol(ws.circuit.Symbols[symbol]);
  ReadPage(ws, ws.circuit.Symbols[symbol], props);
}

void ApplyProperties(Workspace& ws, int symbol, SymbolProps& props) {
  if (!ws.circuit.Symbols.Valid(symbol)) return;
  TSymbol& s = ws.circuit.Symbols[symbol];
  for (int k = 1; k <= static_cast<int>(props.Pins.size()); ++k)
    props.Pins[k - 1].Name = PinName(props.Pins[k - 1].Name, s.Pin(k).Name);

  ApplyPage(ws, s, props);

  // An emptied name field keeps the name: devices are recognised by their names.
  const std::string name = props.Name.empty() ? s.Name : Counted(props.Name);
  NameDevicePins(s, props, name);

  const int flags = kVisPin | kVisProp | kVisTitle | kVisRise | kVisFall;
  s.Vis = (s.Vis & ~flags) | (props.VisiblePin ? kVisPin : 0) | (props.VisibleProp ? kVisProp : 0) |
          (props.VisibleTitle ? kVisTitle : 0) | (props.PauseRise ? kVisRise : 0) |
          (props.PauseFall ? kVisFall : 0);

  if (GateCodeOfName(s.Name) != kGateNone && name != s.Name && StoredVerilogLines(s) >= 1)
    s.VerilogLines[1] = Counted(RenameGateInstance(s.VerilogLines[1], name));

  const int rows = std::min(s.PinCount, static_cast<int>(props.Pins.size()));
  for (int k = 1; k <= rows; ++k) {
    const PinGridRow& row = props.Pins[k - 1];
    // The delay is stored as the factor the simulation and the file use; a value the factor
    // cannot carry is refused rather than accepted and lost at the next run or load.
    if (!GateCellUnchanged(s.Pin(k), ws.tech, row.Gate)) {
      const DecimalResult delay = ParseDecimal(row.Gate, ws.settings.DefaultDelay, kMaxDelay, 0);
      if (delay.ok && CheckPinDelay(s.Pin(k), delay.value, ws.tech).empty()) {
        s.Pin(k).DelayFactor = delay.value / ws.tech.UnitGateDelay;
        s.Pin(k).GateDelay = delay.value;
      } else {
        SetStatus(ws, 0, "Fail to change the pin delay!");
      }
    }
    if (row.Name != s.Pin(k).Name) RenamePin(s, k, row.Name);
  }
  s.Name = name;
  ws.circuit.Touch();
}

void AssembleProps(Workspace& ws, SymbolProps& props) {
  AsmResult result;
  AssembleLines(props.Program, ws.mcu.Program, result,
                [&ws](const std::string& text) { SetStatus(ws, 0, text); });
  props.Listing = std::move(result.Listing);
  props.SymbolList = std::move(result.Symbols);
}

}  // namespace qiro
