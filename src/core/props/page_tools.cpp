#include "props/page_tools.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "model/parse_decimal.h"
#include "model/text.h"

namespace qiro {

namespace {

constexpr double kPwlTimeStep = 100;
constexpr double kMaxPwlStep = 1e9;

bool Filled(const PwlRow& r) {
  return !r.Time.empty() || !r.Value.empty();
}

// Whole times as integers ("300"), others with two decimals.
std::string TimeText(double t) {
  if (t == std::floor(t) && std::fabs(t) < 1e15) return FormatFixed(t, 0);
  return FormatFixed(t, 2);
}

// Fills rows from `row` on with the 0/1 characters of the sequence, times from `time` on.
void FillSequence(SymbolProps& props, int row, double time) {
  for (const char c : props.PwlSequence) {
    if (c != '0' && c != '1') continue;
    if (row >= static_cast<int>(props.Pwl.size())) return;
    props.Pwl[row] = {TimeText(time), std::string(1, c)};
    ++row;
    time += kPwlTimeStep;
  }
}

// Inputs F0..F3 are bits 0..3 of the row number.
using LutFunction = std::function<bool(int)>;

bool Bit(int row, int i) {
  return (row >> i) & 1;
}

bool AllOf(int row, int n) {
  for (int i = 0; i < n; ++i)
    if (!Bit(row, i)) return false;
  return true;
}

bool AnyOf(int row, int n) {
  for (int i = 0; i < n; ++i)
    if (Bit(row, i)) return true;
  return false;
}

bool Parity(int row, int n) {
  bool p = false;
  for (int i = 0; i < n; ++i) p ^= Bit(row, i);
  return p;
}

struct NamedFunction {
  std::string text;
  LutFunction f;
};

const std::vector<NamedFunction>& Functions() {
  static const std::vector<NamedFunction> list = {
      {"Fout = 0", [](int) { return false; }},
      {"Fout = 1", [](int) { return true; }},
      {"Fout = /(F0)   ; inverter F0", [](int r) { return !Bit(r, 0); }},
      {"Fout = /(F1)   ; inverter F1", [](int r) { return !Bit(r, 1); }},
      {"Fout = F0 and F1  ; AND 2 inputs", [](int r) { return AllOf(r, 2); }},
      {"Fout = F0 and F1 and F2 ; AND 3 inputs", [](int r) { return AllOf(r, 3); }},
      {"Fout = F0 and F1 and F2 and F3 ; AND 4 inputs", [](int r) { return AllOf(r, 4); }},
      {"Fout = /(F0 and F1)  ; NAND 2 inputs", [](int r) { return !AllOf(r, 2); }},
      {"Fout = /(F0 and F1 and F2) ; NAND 3 inputs", [](int r) { return !AllOf(r, 3); }},
      {"Fout = /(F0 and F1 and F2 and F3); NAND 4 inputs", [](int r) { return !AllOf(r, 4); }},
      {"Fout = F0 or F1 ; OR 2 inputs", [](int r) { return AnyOf(r, 2); }},
      {"Fout = F0 or F1 or F2 ; OR 3 inputs", [](int r) { return AnyOf(r, 3); }},
      {"Fout = F0 or F1 or F2 or F3; OR 4 inputs", [](int r) { return AnyOf(r, 4); }},
      {"Fout = /(F0 or F1) ; NOR 2 inputs", [](int r) { return !AnyOf(r, 2); }},
      {"Fout = /(F0 or F1 or F2); NOR 3 inputs", [](int r) { return !AnyOf(r, 3); }},
      {"Fout = /(F0 or F1 or F2 or F3); NOR 4 inputs", [](int r) { return !AnyOf(r, 4); }},
      {"Fout = F0 xor F1 ; XOR 2 inputs", [](int r) { return Parity(r, 2); }},
      {"Fout = F0 xor F1 xor F2; XOR 3 inputs", [](int r) { return Parity(r, 3); }},
      {"Fout = F0 xor F1 xor F2 xor F3; XOR 4 inputs", [](int r) { return Parity(r, 4); }},
      {"", [](int) { return false; }},
  };
  return list;
}

}  // namespace

void PwlLoad(SymbolProps& props) {
  // Load replaces the sequence: rows left over from a longer one would otherwise trail it.
  for (PwlRow& r : props.Pwl) r = {};
  FillSequence(props, 0, 0);
}

void PwlAppend(SymbolProps& props) {
  int row = 0;
  while (row < static_cast<int>(props.Pwl.size()) && !props.Pwl[row].Time.empty()) ++row;
  const double time =
      row == 0 ? 0 : ParseDecimal(props.Pwl[row - 1].Time, 0, kMaxPwlStep, 0).value + kPwlTimeStep;
  FillSequence(props, row, time);
}

void PwlClearFrom(SymbolProps& props, int row) {
  for (int r = std::max(row, 0); r < static_cast<int>(props.Pwl.size()); ++r) props.Pwl[r] = {};
}

void PwlApplyStep(SymbolProps& props) {
  const DecimalResult step = ParseDecimal(props.PwlStep, 1, kMaxPwlStep, 0);
  if (!step.ok) {
    props.PwlStep = "1";
    return;
  }
  int k = 0;
  for (PwlRow& r : props.Pwl)
    if (Filled(r)) r.Time = FormatFixed(++k * step.value, 2);
}

const std::vector<std::string>& LutFunctions() {
  static const std::vector<std::string> texts = [] {
    std::vector<std::string> t;
    for (const NamedFunction& f : Functions()) t.push_back(f.text);
    return t;
  }();
  return texts;
}

void LutApplyFunction(SymbolProps& props, int index) {
  const auto& list = Functions();
  if (index < 0 || index >= static_cast<int>(list.size())) return;
  for (int row = 0; row < kLutRows; ++row) props.Lut[row] = list[index].f(row) ? "1" : "0";
}

void LutToggle(SymbolProps& props, int row) {
  if (row < 0 || row >= kLutRows) return;
  props.Lut[row] = props.Lut[row] == "1" ? "0" : "1";
}

void MatrixAllOff(SymbolProps& props) {
  props.MatrixOpen.fill(true);
}

}  // namespace qiro
