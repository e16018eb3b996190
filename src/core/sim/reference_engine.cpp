#include "sim/reference_engine.h"

#include "sim/devices.h"
#include "sim/mcu_hook.h"
#include "sim/pin_access.h"
#include "sim/primitives.h"
#include "workspace.h"

namespace qiro {

namespace {

class ReferencePins final : public SymbolPins {
 public:
  ReferencePins(Workspace& ws, ReferenceEngine& engine, int symbol)
      : ws_(ws), engine_(engine), symbol_(symbol), s_(ws.circuit.Symbols[symbol]) {}

  int Symbol() const override { return symbol_; }
  std::uint8_t ReadPin(int p) const override { return Node(p).Value; }
  bool RisingEdge(int p) const override { return RoseThisStep(Node(p)); }
  bool FallingEdge(int p) const override { return FellThisStep(Node(p)); }
  void WritePin(int p, std::uint8_t v) override {
    if (const int line = engine_.LineOf(symbol_, p); line >= 0) engine_.WriteFirstCell(line, v);
  }
  // The first cell already holds the previous step's value after the shift.
  void HoldPin(int p) override { (void)p; }
  void OutputPin(int p) override {
    const int line = engine_.LineOf(symbol_, p);
    if (line < 0) return;
    const std::uint8_t v = engine_.LastCell(line);
    const int n = s_.Pin(p).Node;
    if (v != kLogicX && ws_.nodes.Valid(n)) ws_.nodes[n].Value = v;
  }
  const std::string& Prop(int k) const override { return s_.Prop(k); }

  // The value leaving pin p's line this step (x without a line).
  std::uint8_t Delayed(int p) const {
    const int line = engine_.LineOf(symbol_, p);
    return line >= 0 ? engine_.LastCell(line) : kValueX;
  }

 private:
  const TNode& Node(int p) const {
    static const TNode none{};
    if (p < 1 || p > s_.PinCount) return none;
    const int n = s_.Pin(p).Node;
    return ws_.nodes.Valid(n) ? ws_.nodes[n] : none;
  }

  Workspace& ws_;
  ReferenceEngine& engine_;
  int symbol_;
  const TSymbol& s_;
};

}  // namespace

void ReferenceEngine::Build(Workspace& ws, const LineLayout& layout) {
  (void)ws;
  cells_.clear();
  lineStart_.clear();
  lineLength_.clear();
  symbolFirst_.assign(1, 0);
  pinLine_.clear();
  for (int i = 1; i <= layout.SymbolCount(); ++i) {
    symbolFirst_.push_back(static_cast<int>(pinLine_.size()));
    for (int p = 1; p <= layout.PinCount(i); ++p) {
      const int steps = layout.Steps(i, p);
      if (steps < 0) {
        pinLine_.push_back(-1);
        continue;
      }
      pinLine_.push_back(static_cast<int>(lineStart_.size()));
      lineStart_.push_back(static_cast<int>(cells_.size()));
      lineLength_.push_back(LineCells(steps));
      cells_.resize(cells_.size() + static_cast<std::size_t>(LineCells(steps)), kLogicX);
    }
  }
  symbolFirst_.push_back(static_cast<int>(pinLine_.size()));
}

int ReferenceEngine::LineOf(int symbol, int pin) const {
  if (symbol < 1 || symbol + 1 >= static_cast<int>(symbolFirst_.size()) || pin < 1) return -1;
  const int i = symbolFirst_[static_cast<std::size_t>(symbol)] + pin - 1;
  if (i >= symbolFirst_[static_cast<std::size_t>(symbol) + 1]) return -1;
  return pinLine_[static_cast<std::size_t>(i)];
}

std::uint8_t ReferenceEngine::LastCell(int line) const {
  const auto l = static_cast<std::size_t>(line);
  return cells_[static_cast<std::size_t>(lineStart_[l] + lineLength_[l] - 1)];
}

void ReferenceEngine::WriteFirstCell(int line, std::uint8_t v) {
  cells_[static_cast<std::size_t>(lineStart_[static_cast<std::size_t>(line)])] = v;
}

void ReferenceEngine::Advance(Workspace& ws) {
  for (std::size_t l = 0; l < lineStart_.size(); ++l) {
    std::uint8_t* c = cells_.data() + lineStart_[l];
    for (int k = lineLength_[l] - 1; k >= 1; --k) c[k] = c[k - 1];
  }
  auto& symbols = ws.circuit.Symbols;
  for (int i = 1; i <= symbols.Count(); ++i) {
    const TSymbol& s = symbols[i];
    if (s.State == kDeleted || IsSourceModel(s.Model)) continue;
    for (int p = 1; p <= s.PinCount; ++p) {
      const int n = s.Pin(p).Node;
      if (ws.nodes.Valid(n) && ws.nodes[n].DriveKind >= kDriveCircuit) ws.nodes[n].Value = kLogicX;
    }
  }
}

void ReferenceEngine::GlitchFilter(Workspace& ws) {
  (void)ws;
  for (std::size_t l = 0; l < lineStart_.size(); ++l) {
    if (lineLength_[l] < kGlitchFilterCells) continue;
    std::uint8_t* end = cells_.data() + lineStart_[l] + lineLength_[l] - 1;
    if (end[0] == kLogic0 && end[-1] == kLogic1 && end[-2] == kLogic0) end[-1] = kLogic0;
    if (end[0] == kLogic1 && end[-1] == kLogic0 && end[-2] == kLogic1) end[-1] = kLogic1;
  }
}

void ReferenceEngine::Evaluate(Workspace& ws) {
  auto& symbols = ws.circuit.Symbols;
  const int count = std::min(symbols.Count(), static_cast<int>(symbolFirst_.size()) - 2);
  const int step = ws.engine.StepCount;
  for (int i = 1; i <= count; ++i) {
    const TSymbol& s = symbols[i];
    if (s.State == kDeleted) continue;
    const DriveList d = DrivenPins(s.Model);
    ReferencePins pins(ws, *this, i);
    if (d.mcu) EvaluateMicrocontroller(ws, pins, EvalPass::Drive);
    for (int k = 0; k < d.count; ++k) {
      const int p = d.pins[k];
      if (d.tristate && pins.ReadPin(2) != kLogic1) continue;
      pins.OutputPin(p);
      if (p != d.pulsePin || pins.Delayed(p) != kLogic1) continue;
      const TNode& n = ws.nodes[s.Pin(p).Node];
      if (RoseThisStep(n) && ws.nodes.Valid(s.Pin(p).Node)) {
        const CurrentPulse c = PulseOfPin(ws, i, p);
        ws.current.AddCurrentPulse(step, c.riseSteps, c.fallSteps, c.peak);
      }
    }
  }
  for (int i = count; i >= 1; --i) {
    const TSymbol& s = symbols[i];
    if (s.State == kDeleted) continue;
    ReferencePins pins(ws, *this, i);
    if (s.Model == kModelMcu)
      EvaluateMicrocontroller(ws, pins, EvalPass::Compute);
    else
      ComputeSymbol(s.Model, pins);
  }
}

bool ReferenceEngine::Scan(Workspace& ws) {
  bool pause = false;
  const int step = ws.engine.StepCount;
  for (int n = 1; n <= ws.nodes.Count(); ++n) {
    if (ws.nodes[n].Value != ws.nodes[n].PrevValue && NodeChanged(ws, n, step)) pause = true;
    ws.nodes[n].PrevValue = ws.nodes[n].Value;
  }
  return pause;
}

std::vector<std::uint8_t> ReferenceEngine::Cells(int symbol, int pin) const {
  const int line = LineOf(symbol, pin);
  if (line < 0) return {};
  const auto l = static_cast<std::size_t>(line);
  const auto first = cells_.begin() + lineStart_[l];
  return {first, first + lineLength_[l]};
}

}  // namespace qiro
