// Two passes over the source lines. Pass 1 gives every label the location counter (or,
// on an EQU line, the value of its operand) and advances the counter by each line's size;
// pass 2 encodes every line at its address into program memory and writes its listing
// line. Sizes come from the same encoder in both passes, so the addresses agree.
#include "mcu/assembler.h"

#include <cstdio>
#include <functional>

#include "mcu/asm_encode.h"
#include "workspace.h"

namespace qiro {

namespace {

std::string Hex(unsigned value, int digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*X", digits, value);
  return buf;
}

}  // namespace

std::string AsmListingLine(std::uint16_t at, const std::vector<std::uint8_t>& bytes,
                           const std::string& source) {
  std::string line = Hex(at, 4) + "  ";
  for (std::uint8_t b : bytes) line += " " + Hex(b, 2);
  for (std::size_t i = bytes.size(); i < 4; ++i) line += "   ";
  return line + " >" + source;
}

void AssembleLines(const std::vector<std::string>& source, std::array<std::uint8_t, kProgramSize>& program,
                   AsmResult& result, const std::function<void(const std::string&)>& progress) {
  AsmSymbolTable symbols;
  symbols.Reset();
  program.fill(0);

  std::vector<AsmLine> lines;
  lines.reserve(source.size());
  for (const std::string& text : source) lines.push_back(ParseAsmLine(text));

  if (progress) progress("Pass 1...");
  std::uint16_t lc = 0;
  for (const AsmLine& line : lines) {
    if (line.Comment) continue;
    if (!line.Label.empty()) {
      bool equ = line.Mnemonic == "EQU";
      symbols.Define(line.Label,
                     equ ? static_cast<std::uint16_t>(AsmOperandValue(line.Operands[0], symbols)) : lc);
    }
    if (line.Mnemonic == "ORG") {
      lc = static_cast<std::uint16_t>(AsmOperandValue(line.Operands[0], symbols));
      continue;
    }
    lc = static_cast<std::uint16_t>(lc + EncodeAsmLine(line, lc, symbols).size());
  }

  if (progress) progress("Pass 2...");
  lc = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const AsmLine& line = lines[i];
    std::vector<std::uint8_t> bytes;
    std::vector<std::string> problems;
    if (line.Mnemonic == "ORG" || line.Mnemonic == "EQU") {
      const std::uint32_t value = AsmOperandValue(line.Operands[0], symbols);
      if (value > 0xFFFF) problems.push_back("value " + line.Operands[0] + " is out of range (0 to 65535)");
      if (line.Mnemonic == "ORG") lc = static_cast<std::uint16_t>(value);
    } else {
      bytes = EncodeAsmLine(line, lc, symbols, &problems);
    }
    for (std::size_t k = 0; k < bytes.size(); ++k) {
      unsigned address = lc + static_cast<unsigned>(k);
      if (address < kProgramSize) program[address] = bytes[k];
    }
    if (!bytes.empty() && lc + bytes.size() > kProgramSize)
      problems.push_back("code beyond address " + std::to_string(kProgramSize - 1) + " is dropped");
    result.Listing.push_back(AsmListingLine(lc, bytes, source[i]));
    for (const std::string& why : problems) {
      result.Problems.push_back({static_cast<int>(i) + 1, why});
      result.Listing.push_back(AsmProblemText(result.Problems.back()));
    }
    lc = static_cast<std::uint16_t>(lc + bytes.size());
  }
  if (!result.Problems.empty())
    result.Listing.push_back(std::to_string(result.Problems.size()) + " problem(s) found.");

  result.Symbols.push_back("List of symbols");
  for (const AsmSymbol& s : symbols.Entries()) result.Symbols.push_back("." + s.Name + " " + Hex(s.Value, 4));
}

std::string AsmProblemText(const AsmProblem& problem) {
  return "**** line " + std::to_string(problem.Line) + ": " + problem.Text;
}

int AssembleProgram(Workspace& ws, std::vector<std::string>& listing, std::vector<std::string>& symbolList) {
  AsmResult result;
  AssembleLines(ShowSource(ws), ws.mcu.Program, result,
                [&ws](const std::string& text) { SetStatus(ws, 0, text); });
  listing.insert(listing.end(), result.Listing.begin(), result.Listing.end());
  symbolList.insert(symbolList.end(), result.Symbols.begin(), result.Symbols.end());
  return static_cast<int>(result.Problems.size());
}

std::vector<std::string> ShowSource(const Workspace& ws) {
  return std::vector<std::string>(ws.circuit.AsmLines.begin(), ws.circuit.AsmLines.end());
}

void McuPowerOn(Workspace& ws) {
  ws.mcu.ResetCore();
  ws.circuit.AsmLines.Clear();
}

}  // namespace qiro
