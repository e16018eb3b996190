// The 8051 core as it runs inside the simulation: one instruction per rising clock edge,
// its ports mapped onto the symbol's pins.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "mcu/mcu.h"

namespace qiro {

// Symbol pins: 1 clock, 3 reset (active at logic 0), then the ports from P0.7 down to P3.0.
inline constexpr int kMcuClockPin = 1;
inline constexpr int kMcuResetPin = 3;
inline constexpr int kMcuP0Pin = 4, kMcuP1Pin = 12, kMcuP2Pin = 20, kMcuP3Pin = 28;
inline constexpr int kMcuPinCount = 35;

// What the core needs from the simulation, for pins of the microcontroller symbol.
// Values are the node value codes (kLogic1, kLogic0, kLogicX).
class McuPins {
 public:
  virtual ~McuPins() = default;
  virtual std::uint8_t ReadPin(int pin) = 0;               // the value of the pin's node
  virtual bool RisingEdge(int pin) = 0;                    // the node has just gone from 0 to 1
  virtual void WritePin(int pin, std::uint8_t value) = 0;  // the pin's newest output value
  virtual void HoldPin(int pin) = 0;                       // the output stays as in the previous step
  virtual void OutputPin(int pin) = 0;                     // drive the node with the delayed output
};

// The amount added to pc after each opcode; 0 for the instructions that set pc themselves.
extern const std::array<std::uint8_t, 256> kMcuLengthTable;

// Drive pass: the P1 and P3 pins put their delayed outputs on their nodes.
void McuDriveOutputs(McuPins& pins);

// Compute pass: reset while pin 3 is at 0; otherwise on a rising edge of pin 1 execute one
// instruction. A reset or clock pin at x (unconnected) runs nothing.
void McuStep(Mcu& mcu, McuPins& pins);

// Executes the instruction at pc (the caller has already advanced the output slots).
void McuExecute(Mcu& mcu, McuPins& pins);

// The three lines shown on the symbol: "A=..", "adr=....", "opCode=..".
std::array<std::string, 3> McuStateLines(const Mcu& mcu);

}  // namespace qiro
