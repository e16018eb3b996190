// Test vectors on a circuit: names bound to devices and nodes, the default settle time from the
// longest delay path, the stimulus the engine calls every step, and the run that compares the
// outputs row by row. The run uses the ordinary engine (RunUntil), so what a test sees is what
// the desktop simulation shows.
#include "testvec/test_runner.h"

#include <algorithm>
#include <functional>
#include <memory>

#include "chrono/chrono_store.h"
#include "extract/extract.h"
#include "model/errors.h"
#include "sim/devices.h"
#include "sim/primitives.h"
#include "workspace.h"

namespace qiro {

namespace {

constexpr int kModelVerilogSymbol = 6000;

bool Live(const TSymbol& s) {
  return s.State != kDeleted && !s.Internal && s.PinCount >= 1;
}

// Input devices named by their first pin.
bool IsBitInput(int model) {
  return model == kModelButton || model == kModelPadIn || model == kModelPwl || model == kModelClock;
}

bool IsOutputDevice(int model) {
  return model == kModelLight || model == kModelPadOut || model == kModelDigit || model == kModelDisplay ||
         model == kModelSevenSeg;
}

void AddUnique(std::vector<std::string>& list, const std::string& name) {
  if (std::find(list.begin(), list.end(), name) == list.end()) list.push_back(name);
}

std::string Joined(const std::vector<std::string>& names) {
  std::string s;
  for (const std::string& n : names) s += (s.empty() ? "" : " ") + n;
  return s.empty() ? "none" : s;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

TestColumn FindInput(const Workspace& ws, const std::string& name) {
  TestColumn c;
  const auto& symbols = ws.circuit.Symbols;
  for (int i = 1; i <= symbols.Count(); ++i)
    if (Live(symbols[i]) && symbols[i].Model == kModelKbd && symbols[i].Name == name) c.symbols.push_back(i);
  if (!c.symbols.empty()) {
    c.kind = TestColumn::Key;
    return c;
  }
  for (int i = 1; i <= symbols.Count(); ++i)
    if (Live(symbols[i]) && IsBitInput(symbols[i].Model) && symbols[i].Pin(1).Name == name)
      c.symbols.push_back(i);
  return c;
}

bool FindOutput(const Workspace& ws, const std::string& name, TestColumn& c) {
  const auto& symbols = ws.circuit.Symbols;
  for (int i = 1; i <= symbols.Count(); ++i) {
    const TSymbol& s = symbols[i];
    if (Live(s) && (s.Model == kModelDigit || s.Model == kModelDisplay) && s.Name == name &&
        s.PinCount >= (s.Model == kModelDigit ? 4 : 8)) {
      c.kind = s.Model == kModelDigit ? TestColumn::Digit : TestColumn::Display;
      c.symbols = {i};
      return true;
    }
  }
  for (int n = 0; n <= ws.nodes.Count(); ++n) {
    if (ws.nodes[n].Name == name) {
      c.node = n;
      return true;
    }
  }
  return false;
}

void ListNames(const Workspace& ws, std::vector<std::string>& inputs, std::vector<std::string>& outputs) {
  for (const TSymbol& s : ws.circuit.Symbols) {
    if (!Live(s)) continue;
    if (s.Model == kModelKbd) AddUnique(inputs, s.Name);
    if (IsBitInput(s.Model)) AddUnique(inputs, s.Pin(1).Name);
    if (s.Model == kModelLight || s.Model == kModelPadOut) AddUnique(outputs, s.Pin(1).Name);
    if (s.Model == kModelDigit || s.Model == kModelDisplay) AddUnique(outputs, s.Name);
  }
}

// Why a cell does not fit its column, or "".
std::string CellProblem(const TestColumn& c, bool input, const std::string& cell) {
  const int v = HexValue(cell);
  if (input) {
    if (c.kind == TestColumn::Key) return v >= 0 && v <= 15 ? "" : "a key 0 to F";
    return cell == "0" || cell == "1" || IsClockPulse(cell) ? "" : "0, 1 or C";
  }
  if (IsDontCare(cell) || cell == "x" || cell == "X") return "";
  if (c.kind == TestColumn::Bit) return cell == "0" || cell == "1" ? "" : "0, 1, x or -";
  const int top = c.kind == TestColumn::Digit ? 15 : 255;
  return v >= 0 && v <= top            ? ""
         : c.kind == TestColumn::Digit ? "a hexadecimal digit, x or -"
                                       : "00 to FF, x or -";
}

// The value an output shows: '1', '0', 'x', or hexadecimal for digits and displays ("x" when one
// of their pins is undefined).
std::string OutputValue(const Workspace& ws, const TestColumn& c) {
  if (c.kind == TestColumn::Bit) return std::string(1, LevelChar(ws.nodes[c.node].Value));
  const TSymbol& s = ws.circuit.Symbols[c.symbols[0]];
  const int pins = c.kind == TestColumn::Digit ? 4 : 8;
  for (int k = 1; k <= pins; ++k)
    if (!ws.nodes.Valid(s.Pin(k).Node) || ws.nodes[s.Pin(k).Node].Value == kLogicX) return "x";
  const int v = DisplayValue(ws, c.symbols[0]);
  const char* hex = "0123456789ABCDEF";
  return pins == 4 ? std::string(1, hex[v & 15]) : std::string{hex[(v >> 4) & 15], hex[v & 15]};
}

bool Matches(const std::string& expected, const std::string& got) {
  if (IsDontCare(expected)) return true;
  if (expected == "x" || expected == "X" || got == "x") return Upper(expected) == Upper(got);
  return HexValue(expected) == HexValue(got);
}

// Longest path from node n to an output node; -1 when none is reached.
class PathFinder {
 public:
  explicit PathFinder(Workspace& ws) : ws_(ws) {
    const auto slots = static_cast<std::size_t>(ws.nodes.Count()) + 1;
    edges_.resize(slots);
    output_.assign(slots, 0);
    memo_.assign(slots, kUnknown);
    auto& symbols = ws.circuit.Symbols;
    for (int i = 1; i <= symbols.Count(); ++i) {
      TSymbol& s = symbols[i];
      if (s.State == kDeleted || s.Model == kModelVerilogSymbol || IsSourceModel(s.Model)) continue;
      if (IsOutputDevice(s.Model)) {
        for (int k = 1; k <= s.PinCount; ++k) Mark(output_, s.Pin(k).Node);
        continue;
      }
      for (int o = 1; o <= s.PinCount; ++o) {
        if (s.Pin(o).Kind != 'O' || !ws.nodes.Valid(s.Pin(o).Node)) continue;
        const int delay = LineDelay(PinDelaySteps(ws, i, o));
        for (int k = 1; k <= s.PinCount; ++k)
          if (s.Pin(k).Kind != 'O' && ws.nodes.Valid(s.Pin(k).Node))
            edges_[static_cast<std::size_t>(s.Pin(k).Node)].push_back({s.Pin(o).Node, delay});
      }
    }
  }

  int From(int n) {
    if (!ws_.nodes.Valid(n)) return -1;
    const auto k = static_cast<std::size_t>(n);
    if (memo_[k] == kOnPath) return -1;  // around a loop: followed once
    if (memo_[k] != kUnknown) return memo_[k];
    memo_[k] = kOnPath;
    int best = output_[k] ? 0 : -1;
    for (const auto& [to, delay] : edges_[k])
      if (const int rest = From(to); rest >= 0) best = std::max(best, rest + delay);
    memo_[k] = best;
    return best;
  }

 private:
  static constexpr int kUnknown = -2, kOnPath = -3;
  void Mark(std::vector<char>& v, int n) {
    if (ws_.nodes.Valid(n)) v[static_cast<std::size_t>(n)] = 1;
  }
  Workspace& ws_;
  std::vector<std::vector<std::pair<int, int>>> edges_;
  std::vector<char> output_;
  std::vector<int> memo_;
};

}  // namespace

int LongestDelayPath(Workspace& ws) {
  PathFinder paths(ws);
  int longest = 0;
  for (const TSymbol& s : ws.circuit.Symbols) {
    if (s.State == kDeleted || s.Internal) continue;
    if (IsBitInput(s.Model) || s.Model == kModelKbd || s.Model == kModelSinus)
      for (int k = 1; k <= s.PinCount; ++k) longest = std::max(longest, paths.From(s.Pin(k).Node));
  }
  return longest;
}

int DefaultSettleSteps(int longestPath) {
  return longestPath + longestPath / 2 + 4;
}

TestBinding BindTestVectors(const Workspace& ws, const TestVectors& v) {
  TestBinding b;
  std::vector<std::string> inputNames, outputNames;
  ListNames(ws, inputNames, outputNames);
  for (const std::string& name : v.inputs) {
    b.inputs.push_back(FindInput(ws, name));
    if (b.inputs.back().symbols.empty()) {
      b.error = "no input named '" + name + "' in the circuit (its inputs: " + Joined(inputNames) + ")";
      return b;
    }
  }
  for (const std::string& name : v.outputs) {
    b.outputs.emplace_back();
    if (!FindOutput(ws, name, b.outputs.back())) {
      b.error = "no output named '" + name + "' in the circuit (its outputs: " + Joined(outputNames) + ")";
      return b;
    }
  }
  bool compared = false;
  for (const TestRow& row : v.rows) {
    for (std::size_t c = 0; c < row.cells.size(); ++c) {
      const bool input = c < v.inputs.size();
      const TestColumn& col = input ? b.inputs[c] : b.outputs[c - v.inputs.size()];
      const std::string& name = input ? v.inputs[c] : v.outputs[c - v.inputs.size()];
      if (const std::string want = CellProblem(col, input, row.cells[c]); !want.empty()) {
        b.error = "line " + std::to_string(row.line) + ": '" + row.cells[c] + "' does not fit " + name +
                  " (" + want + ")";
        return b;
      }
      compared = compared || (!input && !IsDontCare(row.cells[c]));
    }
  }
  if (!compared) b.error = "nothing to compare: every expected value is '-'";
  return b;
}

TestStimulus::TestStimulus(const TestVectors& v, int defaultSettle) : v_(v) {
  long long step = kFirstStep - 1;
  for (const TestRow& row : v.rows) {
    const int settle = std::max(1, row.hold > 0 ? row.hold : defaultSettle);
    const bool pulse = std::any_of(row.cells.begin(), row.cells.begin() + static_cast<long>(v.inputs.size()),
                                   [](const std::string& c) { return IsClockPulse(c); });
    step = std::min<long long>(step + (pulse ? 3LL : 1LL) * settle, 1LL << 30);
    ends_.push_back(static_cast<int>(step));
    phase_.push_back(settle);
  }
}

void TestStimulus::Bind(Workspace& ws) {
  inputs_ = BindTestVectors(ws, v_).inputs;
  row_ = 0;
  auto& sources = ws.engine.SourceSymbols;
  for (const TestColumn& c : inputs_) {
    for (int i : c.symbols) {
      sources.erase(std::remove(sources.begin(), sources.end(), i), sources.end());
      const TSymbol& s = ws.circuit.Symbols[i];
      const int pins = c.kind == TestColumn::Key ? std::min(4, s.PinCount) : 1;
      for (int k = 1; k <= pins; ++k) ws.engine.ScriptNodes.push_back(s.Pin(k).Node);
    }
  }
}

void TestStimulus::Apply(Workspace& ws, int step, const TestColumn& c, int level) {
  for (int i : c.symbols) {
    TSymbol& s = ws.circuit.Symbols[i];
    const int pins = c.kind == TestColumn::Key ? std::min(4, s.PinCount) : 1;
    bool changed = false;
    for (int k = 1; k <= pins; ++k) {
      TPin& pin = s.Pin(k);
      const std::uint8_t v = ((level >> (k - 1)) & 1) ? kLogic1 : kLogic0;
      changed = changed || pin.Value != v;
      pin.Value = v;
      if (ws.nodes.Valid(pin.Node)) ws.nodes[pin.Node].Value = v;
    }
    if (!changed) continue;
    ws.host().DeviceChanged(i);
    if (s.TraceIndex > 0)
      ws.chrono.RecordChronoSample(
          step, s.TraceIndex,
          c.kind == TestColumn::Key ? static_cast<std::uint8_t>(level) : SampleOfValue(s.Pin(1).Value));
  }
}

void TestStimulus::Drive(Workspace& ws, int step) {
  if (ends_.empty() || inputs_.size() != v_.inputs.size()) return;
  if (row_ >= ends_.size() || step < StartStep(row_)) row_ = 0;
  while (row_ + 1 < ends_.size() && step > ends_[row_]) ++row_;
  const TestRow& row = v_.rows[row_];
  const int phase = step > ends_[row_] ? 2 : (step - StartStep(row_)) / phase_[row_];
  for (std::size_t c = 0; c < inputs_.size(); ++c) {
    const std::string& cell = row.cells[c];
    const int level =
        IsClockPulse(cell) && inputs_[c].kind == TestColumn::Bit ? (phase == 1 ? 1 : 0) : HexValue(cell);
    Apply(ws, step, inputs_[c], level);
  }
  if (step == pauseStep_) {
    ws.engine.Paused = true;
    SetStatus(ws, 0,
              "Test row " + std::to_string(row_ + 1) + " (line " + std::to_string(row.line) + ") at step " +
                  std::to_string(step));
    ws.host().SimulationStateChanged();
  }
}

TestReport RunTestVectors(Workspace& ws, const TestVectors& v, long long stepLimit) {
  TestReport report;
  const TestBinding binding = BindTestVectors(ws, v);
  if (!binding.error.empty()) {
    report.error = binding.error;
    return report;
  }
  report.longestPath = LongestDelayPath(ws);
  report.settle = DefaultSettleSteps(report.longestPath);
  TestStimulus stimulus(v, report.settle);
  if (stimulus.TotalSteps() > stepLimit) {
    report.error = "the rows need " + std::to_string(stimulus.TotalSteps()) +
                   " steps, more than the limit of " + std::to_string(stepLimit);
    return report;
  }
  ws.engine.Script = &stimulus;
  struct Detach {
    Engine& e;
    ~Detach() {
      e.Script = nullptr;
      e.Running = e.Paused = false;
    }
  } detach{ws.engine};
  ws.engine.Running = false;
  if (!RunUntil(ws, 0)) {
    report.error = "the simulation did not start: " + ws.status[0];
    return report;
  }
  const std::size_t outs = binding.outputs.size();
  auto values = [&] {
    std::vector<std::string> got(outs);
    for (std::size_t o = 0; o < outs; ++o) got[o] = OutputValue(ws, binding.outputs[o]);
    return got;
  };
  // A light's pause on an edge must not hold the test up.
  auto runTo = [&](int step) {
    while (ws.engine.Running && ws.engine.StepCount < step) {
      ws.engine.Paused = false;
      RunUntil(ws, step);
    }
  };
  for (std::size_t r = 0; r < v.rows.size(); ++r) {
    const TestRow& row = v.rows[r];
    RowResult res;
    res.row = static_cast<int>(r) + 1;
    res.line = row.line;
    res.step = stimulus.EndStep(r);
    res.unsettled.assign(outs, 0);
    const int window = (row.hold > 0 ? row.hold : report.settle) / 4;
    runTo(res.step - window);
    std::vector<std::string> before = values();
    for (int s = res.step - window + 1; s <= res.step; ++s) {
      runTo(s);
      const std::vector<std::string> now = values();
      for (std::size_t o = 0; o < outs; ++o)
        if (now[o] != before[o]) res.unsettled[o] = 1;
      before = now;
    }
    if (!ws.engine.Running) {
      report.error = "the simulation stopped at step " + std::to_string(ws.engine.StepCount);
      return report;
    }
    res.got = values();
    res.wrong.assign(outs, 0);
    for (std::size_t o = 0; o < outs; ++o) {
      const std::string& expected = row.cells[v.inputs.size() + o];
      if (IsDontCare(expected)) res.unsettled[o] = 0;
      res.wrong[o] = !Matches(expected, res.got[o]);
      if (res.wrong[o] || res.unsettled[o]) res.passed = false;
    }
    ++(res.passed ? report.passed : report.failed);
    report.rows.push_back(std::move(res));
  }
  return report;
}

TestReport RunTestVectorsOnCopy(const Workspace& ws, const TestVectors& v, long long stepLimit) {
  auto copy = std::make_unique<Workspace>();
  copy->circuit = ws.circuit;
  copy->tech = ws.tech;
  copy->settings = ws.settings;
  copy->mcu = ws.mcu;
  ExtractCircuit(*copy);
  if (copy->extraction.ResultCode != 0) {
    TestReport report;
    report.error = "Error during extraction";
    return report;
  }
  return RunTestVectors(*copy, v, stepLimit);
}

std::string FormatRowResult(const TestVectors& v, const RowResult& r) {
  std::string s = "row " + std::to_string(r.row) + " (line " + std::to_string(r.line) + ") step " +
                  std::to_string(r.step) + ":";
  const TestRow& row = v.rows[static_cast<std::size_t>(r.row - 1)];
  for (std::size_t c = 0; c < v.inputs.size(); ++c) s += " " + v.inputs[c] + "=" + row.cells[c];
  s += " | expected";
  for (std::size_t o = 0; o < v.outputs.size(); ++o)
    s += " " + v.outputs[o] + "=" + row.cells[v.inputs.size() + o];
  s += " | got";
  std::string bad;
  for (std::size_t o = 0; o < v.outputs.size() && o < r.got.size(); ++o) {
    s += " " + v.outputs[o] + "=" + r.got[o];
    if (r.wrong[o] || r.unsettled[o]) bad += " " + v.outputs[o] + (r.unsettled[o] ? " (not settled)" : "");
  }
  return s + (r.passed ? " ok" : " FAILED:" + bad);
}

std::string FormatTally(const TestReport& report) {
  return std::to_string(report.passed) + " passed, " + std::to_string(report.failed) + " failed";
}

}  // namespace qiro
