// Field by field, with the limits the simulator reads the values with: clock phases and
// pwl times as ParseDecimal reads them, lut entries as the three levels, names as Verilog
// identifiers (names left as they were are not checked, whatever a file gave them).
#include "props/props_check.h"

#include <cmath>

#include "model/field_check.h"
#include "model/parse_decimal.h"
#include "model/text.h"
#include "symbols/sch_to_sym.h"
#include "workspace.h"

namespace qiro {

namespace {

constexpr double kMaxDelay = 100000;
constexpr double kMaxPwlTime = 200000;
constexpr double kMaxPwlValue = 100;

// A typed pin name is made an identifier first, as OK does.
std::string CheckPinName(const std::string& typed, const std::string& old) {
  if (TrimmedField(typed).empty() || typed == old) return {};
  return CheckNameField(MakeIdentifier(typed));
}

struct Checker {
  std::vector<FieldProblem> problems;
  void Add(PropsField field, int index, const std::string& message) {
    if (!message.empty()) problems.push_back({field, index, message});
  }
};

void CheckValues(Checker& c, const SymbolProps& props) {
  struct Range {
    double lo, hi;
  };
  constexpr double kAny = 1e300;
  std::vector<Range> ranges;
  switch (props.Page) {
    case PropsPage::Sinus:
      ranges = {{0, 255}, {0, kMaxDelay}, {0, 255}};
      break;
    case PropsPage::Mos:
    case PropsPage::Capa:
    case PropsPage::Inductor:
    case PropsPage::Resistor:
      ranges = {{0, kAny}, {0, kAny}};
      break;
    case PropsPage::Vsource:
    case PropsPage::ISource:
    case PropsPage::Coupling:
      ranges = {{-kAny, kAny}, {-kAny, kAny}, {-kAny, kAny}};
      break;
    default:
      return;
  }
  const std::size_t fields = std::min(ranges.size(), ValueFieldLabels(props.Page).size());
  for (std::size_t k = 0; k < fields; ++k) {
    // An empty field keeps the stored word.
    if (TrimmedField(props.Values[k]).empty()) continue;
    const bool sine = props.Page == PropsPage::Sinus;
    std::string why = sine ? CheckDecimalField(props.Values[k], ranges[k].lo, ranges[k].hi)
                           : CheckRealField(props.Values[k], ranges[k].lo, ranges[k].hi);
    if (why.empty() && sine && k == 1 && ParseDecimal(props.Values[k], 0, kMaxDelay, 0).value == 0)
      why = "The period must be above 0.";
    c.Add(PropsField::Value, static_cast<int>(k), why);
  }
}

void CheckPwl(Checker& c, const SymbolProps& props) {
  double previous = 0;
  for (int r = 0; r < static_cast<int>(props.Pwl.size()); ++r) {
    const std::string time = TrimmedField(props.Pwl[r].Time), value = TrimmedField(props.Pwl[r].Value);
    if (time.empty() && value.empty()) continue;
    // The words are stored in pairs: a lone cell would pair every later time with a value.
    if (time.empty()) {
      c.Add(PropsField::PwlTime, r, "Row " + std::to_string(r + 1) + ": a time is needed for this value.");
      continue;
    }
    if (value.empty()) {
      c.Add(PropsField::PwlValue, r, "Row " + std::to_string(r + 1) + ": a value is needed for this time.");
      continue;
    }
    std::string why = CheckDecimalField(time, 0, kMaxPwlTime);
    if (why.empty()) {
      const double t = ParseDecimal(time, 0, kMaxPwlTime, 0).value;
      if (t < previous)
        why = "The times must not decrease: " + time + " follows " + FormatFixed(previous, 2, 1) + ".";
      previous = t;
    }
    if (!why.empty()) c.Add(PropsField::PwlTime, r, "Row " + std::to_string(r + 1) + ": " + why);
    why = CheckDecimalField(value, 0, kMaxPwlValue);
    if (!why.empty()) c.Add(PropsField::PwlValue, r, "Row " + std::to_string(r + 1) + ": " + why);
  }
}

}  // namespace

double ShownGateDelay(const TPin& pin, const Technology& tech) {
  return tech.UnitGateDelay * pin.DelayFactor;
}

bool GateCellUnchanged(const TPin& pin, const Technology& tech, const std::string& cell) {
  return TrimmedField(cell) == TrimmedField(FormatFixed(ShownGateDelay(pin, tech), 3, 5));
}

std::string CheckPinDelay(const TPin& pin, double delay, const Technology& tech) {
  if (pin.Kind != 'O') return delay == 0 ? std::string() : "An input pin has no gate delay; enter 0.";
  if (!(tech.UnitGateDelay > 0)) return "The technology has no unit gate delay to scale this delay by.";
  const double factor = delay / tech.UnitGateDelay;
  if (factor > 0 && factor < 1)
    return "A gate delay must be 0 or at least the unit gate delay, " +
           FormatFixed(tech.UnitGateDelay, 3, 1) + " ns.";
  if (factor == 0 && pin.LoadFactor == 0) return "An output pin needs a gate delay above 0.";
  return {};
}

std::vector<FieldProblem> CheckProperties(const Workspace& ws, int symbol, const SymbolProps& props) {
  Checker c;
  if (!ws.circuit.Symbols.Valid(symbol)) return c.problems;
  const TSymbol& s = ws.circuit.Symbols[symbol];

  if (!TrimmedField(props.Name).empty() && props.Name != s.Name)
    c.Add(PropsField::Name, 0, CheckNameField(props.Name));

  for (int k = 1; k <= s.PinCount && k <= static_cast<int>(props.Pins.size()); ++k) {
    const PinGridRow& row = props.Pins[k - 1];
    c.Add(PropsField::PinName, k - 1, CheckPinName(row.Name, s.Pin(k).Name));
    if (GateCellUnchanged(s.Pin(k), ws.tech, row.Gate)) continue;
    std::string why = CheckDecimalField(row.Gate, 0, kMaxDelay);
    if (why.empty()) why = CheckPinDelay(s.Pin(k), ParseDecimal(row.Gate, 0, kMaxDelay, 0).value, ws.tech);
    if (!why.empty()) c.Add(PropsField::PinGate, k - 1, "Pin " + std::to_string(k) + ": " + why);
  }

  switch (props.Page) {
    case PropsPage::Clock:
      c.Add(PropsField::ClockLow, 0, CheckDecimalField(props.ClockLow, 0, kMaxDelay));
      c.Add(PropsField::ClockHigh, 0, CheckDecimalField(props.ClockHigh, 0, kMaxDelay));
      c.Add(PropsField::ClockPinName, 0, CheckPinName(props.ClockPinName, s.Pin(1).Name));
      break;
    case PropsPage::Pwl:
      CheckPwl(c, props);
      break;
    case PropsPage::Lut:
      for (int r = 0; r < kLutRows; ++r) {
        const std::string entry = TrimmedField(props.Lut[r]);
        if (!entry.empty() && entry != "0" && entry != "1" && entry != "x" && entry != "X")
          c.Add(
              PropsField::Lut, r,
              "Input " + std::to_string(r) + ": \"" + entry + "\" is not an output level: enter 0, 1 or x.");
      }
      break;
    case PropsPage::Select:
      if (!props.FormatVisible)
        c.Add(PropsField::SelectPinName, 0, CheckPinName(props.SelectPinName, s.Pin(1).Name));
      break;
    default:
      CheckValues(c, props);
      break;
  }
  return c.problems;
}

}  // namespace qiro
