// The two-pass 8051 assembler: source lines in, program memory, listing and symbol list out.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "mcu/asm_line.h"
#include "mcu/mcu.h"

namespace qiro {

class Workspace;

// A source line that gave no code or was cut, and why.
struct AsmProblem {
  int Line = 0;  // 1-based source line
  std::string Text;
};

struct AsmResult {
  // One line per source line, each followed by its problems; a count closes a listing
  // that has any.
  std::vector<std::string> Listing;
  std::vector<std::string> Symbols;  // "List of symbols", then one line per symbol
  std::vector<AsmProblem> Problems;
};

// The listing line of a problem: "**** line 3: unknown mnemonic FOO".
std::string AsmProblemText(const AsmProblem& problem);

// Assembles `source` into `program` (cleared first). Bytes that fall at address 1024 or
// above are dropped. Never fails: what it does not understand gives no code and is listed
// as a problem.
// `progress` hears "Pass 1..." and "Pass 2...".
void AssembleLines(const std::vector<std::string>& source, std::array<std::uint8_t, kProgramSize>& program,
                   AsmResult& result, const std::function<void(const std::string&)>& progress = {});

// The listing line of a source line placed at `at` with its code bytes.
std::string AsmListingLine(std::uint16_t at, const std::vector<std::uint8_t>& bytes,
                           const std::string& source);

// Assembles the schematic's assembly text into the session's program memory, showing
// the pass in the status bar; appends the listing and the symbol list to the caller's lists.
// Returns the number of problems listed.
int AssembleProgram(Workspace& ws, std::vector<std::string>& listing, std::vector<std::string>& symbolList);

// The schematic's assembly text, one entry per line (for the program editor).
std::vector<std::string> ShowSource(const Workspace& ws);

// Power-on: the core takes its start values and the assembly text is emptied.
void McuPowerOn(Workspace& ws);

}  // namespace qiro
