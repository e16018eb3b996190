// Line reading for the assembler. A line is cut into tokens at every character that
// cannot belong to a name or number; a line that starts with a letter carries a label
// as its first token. Numbers are accumulated as decimal and as hexadecimal at once and
// the hexadecimal reading is taken when a letter A-F, a leading $ or a final H says so.
// A semicolon ends the useful part of a line.
#include "mcu/asm_line.h"

#include <cctype>

namespace qiro {

namespace {

bool IsTokenChar(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return std::isalnum(u) || c == '#' || c == '$' || c == '.' || c == '@';
}

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view CutName(std::string_view name) {
  return name.substr(0, kAsmNameLength);
}

}  // namespace

AsmLine ParseAsmLine(std::string_view line) {
  AsmLine out;
  if (line.empty() || line[0] == ';' || line[0] == '*' || line[0] == '/' || line[0] == '{') {
    out.Comment = true;
    return out;
  }
  std::vector<std::string> tokens;
  std::size_t i = 0;
  while (i < line.size() && static_cast<int>(tokens.size()) < kMaxAsmTokens) {
    while (i < line.size() && !IsTokenChar(line[i]) && line[i] != ';') ++i;
    // A semicolon starts a comment anywhere: otherwise an indented comment such as
    // " ; inc counter" would assemble as an instruction.
    if (i >= line.size() || line[i] == ';') break;
    std::string token;
    while (i < line.size() && IsTokenChar(line[i])) {
      token += static_cast<char>(std::toupper(static_cast<unsigned char>(line[i])));
      ++i;
    }
    tokens.push_back(std::move(token));
  }
  std::size_t next = 0;
  if (IsLetter(line[0]) && next < tokens.size()) out.Label = tokens[next++];
  if (next < tokens.size()) out.Mnemonic = tokens[next++];
  for (auto& operand : out.Operands)
    if (next < tokens.size()) operand = tokens[next++];
  return out;
}

bool IsAsmNumber(std::string_view token) {
  if (token.empty()) return false;
  if (IsDigit(token[0]) || token[0] == '$') return true;
  return token[0] == '#' && token.size() > 1 && IsDigit(token[1]);
}

std::uint32_t AsmNumberValue(std::string_view token) {
  // Unsigned accumulation: an overlong number wraps instead of overflowing.
  std::uint32_t decimal = 0, hex = 0;
  bool isHex = !token.empty() && token[0] == '$';
  for (char c : token) {
    char u = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (IsDigit(u)) {
      decimal = decimal * 10 + static_cast<std::uint32_t>(u - '0');
      hex = hex * 16 + static_cast<std::uint32_t>(u - '0');
    } else if (u >= 'A' && u <= 'F') {
      hex = hex * 16 + static_cast<std::uint32_t>(u - 'A' + 10);
      isHex = true;
    }
  }
  if (!token.empty() && std::toupper(static_cast<unsigned char>(token.back())) == 'H') isHex = true;
  return isHex ? hex : decimal;
}

void AsmSymbolTable::Reset() {
  entries_.clear();
  Define("SP", 129);
  Define("P0", 128);
  Define("P1", 144);
  Define("P2", 160);
  Define("P3", 176);
  const std::uint16_t ports[4] = {128, 144, 160, 176};
  for (int port = 0; port < 4; ++port)
    for (int bit = 0; bit < 8; ++bit)
      Define("P" + std::to_string(port) + "." + std::to_string(bit),
             static_cast<std::uint16_t>(ports[port] + bit));
}

const AsmSymbol* AsmSymbolTable::Find(std::string_view name) const {
  name = CutName(name);
  for (const AsmSymbol& s : entries_)
    if (s.Name == name) return &s;
  return nullptr;
}

void AsmSymbolTable::Define(std::string_view name, std::uint16_t value) {
  if (Find(name) || static_cast<int>(entries_.size()) >= kMaxAsmSymbols) return;
  entries_.push_back({std::string(CutName(name)), value});
}

std::uint16_t AsmSymbolTable::Lookup(std::string_view name) const {
  const AsmSymbol* s = Find(name);
  return s ? s->Value : 0;
}

std::uint32_t AsmOperandValue(std::string_view token, const AsmSymbolTable& symbols) {
  if (IsAsmNumber(token)) return AsmNumberValue(token);
  if (!token.empty() && token[0] == '#') token.remove_prefix(1);
  return symbols.Lookup(token);
}

}  // namespace qiro
