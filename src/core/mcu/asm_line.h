// Reading one line of 8051 assembly: the split into label, mnemonic and operands,
// the number rules, and the symbol table the two passes share.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qiro {

inline constexpr int kMaxAsmTokens = 16;
inline constexpr int kMaxAsmSymbols = 256;
inline constexpr std::size_t kAsmNameLength = 8;

struct AsmLine {
  bool Comment = false;  // empty, or starting with ; * / {
  std::string Label;     // only when the line starts with a letter
  std::string Mnemonic;
  std::array<std::string, 3> Operands;
};

// Splits a source line. Tokens are runs of letters, digits, # $ . @, upper-cased;
// everything from a semicolon on is comment.
AsmLine ParseAsmLine(std::string_view line);

// A token that starts with a digit, with $, or with # and a digit.
bool IsAsmNumber(std::string_view token);
// The value of a number token: decimal unless it holds A-F, starts with $ or ends with H.
std::uint32_t AsmNumberValue(std::string_view token);

struct AsmSymbol {
  std::string Name;
  std::uint16_t Value = 0;
};

class AsmSymbolTable {
 public:
  // Empties the table and enters SP, P0..P3 and the port bits P0.0..P3.7.
  void Reset();
  // Enters a name (cut to 8 characters); a known name keeps its first value, a full table takes nothing.
  void Define(std::string_view name, std::uint16_t value);
  // The value of a name (cut to 8 characters), 0 when unknown.
  std::uint16_t Lookup(std::string_view name) const;
  bool Known(std::string_view name) const { return Find(name) != nullptr; }
  const std::vector<AsmSymbol>& Entries() const { return entries_; }

 private:
  const AsmSymbol* Find(std::string_view name) const;
  std::vector<AsmSymbol> entries_;
};

// An operand's value: a number, or a symbol name after dropping a leading #.
std::uint32_t AsmOperandValue(std::string_view token, const AsmSymbolTable& symbols);

}  // namespace qiro
