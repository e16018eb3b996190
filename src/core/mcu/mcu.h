// The one 8051 of a session: the program memory filled by the assembler and the core
// state that the simulation advances. Fresh values are the power-on values.
#pragma once

#include <array>
#include <cstdint>

namespace qiro {

inline constexpr int kProgramSize = 1024;
inline constexpr int kReturnStackSize = 8;

struct Mcu {
  std::array<std::uint8_t, kProgramSize> Program{};

  std::uint16_t Pc = 0;
  std::uint8_t Acc = 0;
  std::array<std::uint8_t, 8> Reg{0, 1, 2, 0, 0, 0, 0, 0};
  std::uint8_t Opcode = 0;  // last fetched, shown on the symbol
  // Return addresses are kept whole, so a call from anywhere in the program returns to it.
  std::array<std::uint16_t, kReturnStackSize> RetStack{};
  int Depth = 0;
  int PcStep = 0;

  // Back to the power-on state; the program memory is kept.
  void ResetCore() {
    Pc = 0;
    Acc = 0;
    Reg = {0, 1, 2, 0, 0, 0, 0, 0};
    Opcode = 0;
    RetStack = {};
    Depth = 0;
    PcStep = 0;
  }
};

}  // namespace qiro
