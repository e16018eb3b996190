#include "sim/mcu_hook.h"

#include "mcu/mcu_sim.h"
#include "sim/pin_access.h"

namespace qiro {

namespace {

// The engine's pin operations as the 8051 core sees them.
class McuSymbolPins : public McuPins {
 public:
  explicit McuSymbolPins(SymbolPins& pins) : pins_(pins) {}
  std::uint8_t ReadPin(int pin) override { return pins_.ReadPin(pin); }
  bool RisingEdge(int pin) override { return pins_.RisingEdge(pin); }
  void WritePin(int pin, std::uint8_t value) override { pins_.WritePin(pin, value); }
  void HoldPin(int pin) override { pins_.HoldPin(pin); }
  void OutputPin(int pin) override { pins_.OutputPin(pin); }

 private:
  SymbolPins& pins_;
};

}  // namespace

void EvaluateMicrocontroller(Workspace& ws, SymbolPins& pins, EvalPass pass) {
  McuSymbolPins mcuPins(pins);
  McuEvaluate(ws, pins.Symbol(), mcuPins, pass == EvalPass::Drive);
}

}  // namespace qiro
