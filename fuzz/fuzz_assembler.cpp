// 8051 assembly: the input's lines are assembled into program memory, which the core then
// executes for a few thousand clock edges with changing levels on its port pins.
#include <cstdlib>

#include "fuzz_support.h"
#include "mcu/assembler.h"
#include "mcu/mcu_core.h"

using namespace qiro;

namespace {

// Port inputs follow a counter; the core must only ever name pins 1..35.
class Pins : public McuPins {
 public:
  std::uint8_t ReadPin(int pin) override {
    Check(pin);
    if (pin == kMcuResetPin) return kLogic1;
    return ((tick_++ >> (pin & 7)) & 1) ? kLogic1 : kLogic0;
  }
  bool RisingEdge(int pin) override {
    Check(pin);
    return pin == kMcuClockPin;
  }
  void WritePin(int pin, std::uint8_t) override { Check(pin); }
  void HoldPin(int pin) override { Check(pin); }
  void OutputPin(int pin) override { Check(pin); }

 private:
  static void Check(int pin) {
    if (pin < 1 || pin > kMcuPinCount) std::abort();
  }
  unsigned tick_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> source =
      fuzz::AssemblySource(std::string(reinterpret_cast<const char*>(data), size));
  static Mcu mcu;
  AsmResult result;
  AssembleLines(source, mcu.Program, result);
  mcu.ResetCore();
  Pins pins;
  for (int edge = 0; edge < 3000; ++edge) {
    McuDriveOutputs(pins);
    McuStep(mcu, pins);
  }
  McuStateLines(mcu);
  return 0;
}
