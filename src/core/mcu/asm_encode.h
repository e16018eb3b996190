// The instruction table of the assembler: from a parsed line to its code bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mcu/asm_line.h"

namespace qiro {

// The bytes of one line placed at address `at`. Lines the table does not know, and
// operand forms it does not list, give no bytes. The number of bytes depends only on the
// line's text, never on symbol values, so both passes agree on every size.
// `problems`, when given, hears why a line gave no code or was cut: an unknown mnemonic,
// register or symbol, operands the table does not list, a value or jump out of range.
std::vector<std::uint8_t> EncodeAsmLine(const AsmLine& line, std::uint16_t at, const AsmSymbolTable& symbols,
                                        std::vector<std::string>* problems = nullptr);

}  // namespace qiro
