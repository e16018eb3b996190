// The instruction-set core. The model is small: an accumulator, eight registers, a return
// stack and four ports that are the symbol's pins; there is no internal RAM and there are
// no flags. A direct or bit address selects a port by its high four bits (8 P0, 9 P1,
// A P2, anything else P3); a bit address's low three bits pick the pin. Instructions
// outside the implemented set only move pc by their length entry, so one whose entry is
// 0 (LJMP, SJMP, ...) repeats at every clock edge.
#include "mcu/mcu_core.h"

#include <algorithm>
#include <cstdio>

#include "model/records.h"

namespace qiro {

// Row = high hexadecimal digit; columns 0..7, then 8..F share one value.
const std::array<std::uint8_t, 256> kMcuLengthTable = [] {
  static const std::uint8_t rows[16][9] = {
      {1, 0, 0, 1, 1, 2, 1, 1, 1}, {0, 0, 3, 1, 1, 2, 1, 1, 1}, {0, 0, 0, 1, 2, 2, 1, 1, 1},
      {0, 0, 1, 1, 2, 2, 1, 1, 1}, {0, 0, 2, 3, 2, 2, 1, 1, 1}, {0, 0, 2, 3, 2, 2, 1, 1, 1},
      {0, 0, 2, 3, 2, 2, 1, 1, 1}, {0, 0, 2, 0, 2, 3, 2, 2, 2}, {0, 0, 2, 1, 1, 3, 2, 2, 2},
      {3, 0, 2, 1, 2, 2, 1, 1, 1}, {2, 0, 2, 1, 1, 1, 2, 2, 2}, {2, 0, 2, 1, 0, 0, 0, 0, 0},
      {2, 0, 2, 1, 1, 2, 1, 1, 1}, {2, 0, 2, 1, 1, 3, 1, 1, 0}, {1, 0, 1, 1, 1, 2, 1, 1, 1},
      {1, 0, 1, 1, 1, 2, 1, 1, 1}};
  std::array<std::uint8_t, 256> table{};
  for (int op = 0; op < 256; ++op) table[op] = rows[op >> 4][std::min(op & 15, 8)];
  return table;
}();

namespace {

// The pins that reach the circuit: P1 and P3.
template <class F>
void ForEachDrivenPin(F f) {
  for (int p = kMcuP1Pin; p < kMcuP1Pin + 8; ++p) f(p);
  for (int p = kMcuP3Pin; p < kMcuP3Pin + 8; ++p) f(p);
}

int PortFirstPin(std::uint8_t address) {
  switch (address >> 4) {
    case 0x8:
      return kMcuP0Pin;
    case 0x9:
      return kMcuP1Pin;
    case 0xA:
      return kMcuP2Pin;
    default:
      return kMcuP3Pin;
  }
}

int BitPin(std::uint8_t bitAddress) {
  return PortFirstPin(bitAddress) + 7 - (bitAddress & 7);
}

void WritePort(McuPins& pins, std::uint8_t address, std::uint8_t value) {
  int first = PortFirstPin(address);
  for (int i = 0; i < 8; ++i) pins.WritePin(first + i, (value >> (7 - i)) & 1 ? kLogic1 : kLogic0);
}

std::uint8_t ReadPort(McuPins& pins, std::uint8_t address) {
  int first = PortFirstPin(address);
  std::uint8_t value = 0;
  for (int i = 0; i < 8; ++i)
    if (pins.ReadPin(first + i) == kLogic1) value |= static_cast<std::uint8_t>(0x80 >> i);
  return value;
}

std::uint8_t Fetch(const Mcu& mcu, unsigned address) {
  return mcu.Program[std::min(address, static_cast<unsigned>(kProgramSize - 1))];
}

}  // namespace

void McuDriveOutputs(McuPins& pins) {
  ForEachDrivenPin([&](int p) { pins.OutputPin(p); });
}

void McuStep(Mcu& mcu, McuPins& pins) {
  const std::uint8_t reset = pins.ReadPin(kMcuResetPin);
  if (reset == kLogic0) {
    mcu.Acc = 0;
    mcu.Pc = 0;
    mcu.Depth = 0;
    mcu.PcStep = 0;
    ForEachDrivenPin([&](int p) { pins.WritePin(p, kLogicX); });
    return;
  }
  ForEachDrivenPin([&](int p) { pins.HoldPin(p); });
  if (reset == kLogic1 && pins.RisingEdge(kMcuClockPin)) McuExecute(mcu, pins);
}

void McuExecute(Mcu& mcu, McuPins& pins) {
  const unsigned pc = mcu.Pc;
  const std::uint8_t op = Fetch(mcu, pc);
  const std::uint8_t b1 = Fetch(mcu, pc + 1);
  const std::uint8_t b2 = Fetch(mcu, pc + 2);
  mcu.Opcode = op;
  mcu.PcStep = kMcuLengthTable[op];
  auto setPc = [&](unsigned value) { mcu.Pc = static_cast<std::uint16_t>(value); };
  // Relative jump whose offset byte is at pc + k.
  auto jump = [&](int k, std::uint8_t rel) { setPc(pc + k + 1 + static_cast<std::int8_t>(rel)); };
  std::uint8_t& acc = mcu.Acc;
  std::uint8_t& rn = mcu.Reg[op & 7];

  switch (op) {
    case 0x01:  // AJMP: the page bits of the opcode are not used
      setPc(b1);
      break;
    case 0x03:  // RR A
      acc = static_cast<std::uint8_t>((acc >> 1) | (acc << 7));
      break;
    case 0x04:
      ++acc;
      break;
    case 0x11:  // ACALL; with a full return stack the call acts as a jump
      if (mcu.Depth < kReturnStackSize) mcu.RetStack[mcu.Depth++] = static_cast<std::uint16_t>(pc + 2);
      setPc(b1);
      break;
    case 0x14:
      --acc;
      break;
    case 0x20:  // JB
      if (pins.ReadPin(BitPin(b1)) == kLogic1)
        jump(2, b2);
      else
        setPc(pc + 3);
      break;
    case 0x22:  // RET; with an empty stack execution goes on with the next instruction
      if (mcu.Depth > 0)
        setPc(mcu.RetStack[--mcu.Depth]);
      else
        setPc(pc + 1);
      break;
    case 0x23:  // RL A
      acc = static_cast<std::uint8_t>((acc << 1) | (acc >> 7));
      break;
    case 0x24:
      acc = static_cast<std::uint8_t>(acc + b1);
      break;
    case 0x30:  // JNB
      if (pins.ReadPin(BitPin(b1)) == kLogic0)
        jump(2, b2);
      else
        setPc(pc + 3);
      break;
    case 0x44:
      acc |= b1;
      break;
    case 0x54:
      acc &= b1;
      break;
    case 0x60:  // JZ
      if (acc == 0)
        jump(1, b1);
      else
        setPc(pc + 2);
      break;
    case 0x64:
      acc ^= b1;
      break;
    case 0x70:  // JNZ
      if (acc != 0)
        jump(1, b1);
      else
        setPc(pc + 2);
      break;
    case 0x74:
      acc = b1;
      break;
    case 0x75:  // MOV dir,#d
      WritePort(pins, b1, b2);
      break;
    case 0xB2: {  // CPL bit
      int pin = BitPin(b1);
      pins.WritePin(pin, pins.ReadPin(pin) == kLogic1 ? kLogic0 : kLogic1);
      break;
    }
    case 0xB4:  // CJNE A,#d,rel
      if (acc == b1)
        setPc(pc + 3);
      else
        jump(2, b2);
      break;
    case 0xC2:
      pins.WritePin(BitPin(b1), kLogic0);
      break;
    case 0xD2:
      pins.WritePin(BitPin(b1), kLogic1);
      break;
    case 0xE4:
      acc = 0;
      break;
    case 0xE5:
      acc = ReadPort(pins, b1);
      break;
    case 0xF4:
      acc ^= 0xFF;
      break;
    case 0xF5:
      WritePort(pins, b1, acc);
      break;
    default:
      switch (op & 0xF8) {
        case 0x08:
          ++rn;
          break;
        case 0x18:
          --rn;
          break;
        case 0x28:
          acc = static_cast<std::uint8_t>(acc + rn);
          break;
        case 0x48:
          acc |= rn;
          break;
        case 0x58:
          acc &= rn;
          break;
        case 0x68:
          acc ^= rn;
          break;
        case 0x78:
          rn = b1;
          break;
        case 0xB8:  // CJNE Rn,#d,rel
          if (rn == b1)
            setPc(pc + 3);
          else
            jump(2, b2);
          break;
        case 0xE8:
          acc = rn;
          break;
        case 0xF8:
          rn = acc;
          break;
        default:
          break;
      }
  }
  mcu.Pc = static_cast<std::uint16_t>(mcu.Pc + mcu.PcStep);
}

std::array<std::string, 3> McuStateLines(const Mcu& mcu) {
  char a[16], adr[16], opc[16];
  std::snprintf(a, sizeof a, "A=%02X", mcu.Acc);
  std::snprintf(adr, sizeof adr, "adr=%04X", mcu.Pc);
  std::snprintf(opc, sizeof opc, "opCode=%02X", mcu.Opcode);
  return {a, adr, opc};
}

}  // namespace qiro
