// Encoding of the supported 8051 subset. Each operand is first classified by its text
// (A, C, Rn, @R0/@R1, #immediate, or an address: number or symbol); the form is then
// chosen from operand 1 and operand 2. Every field is cut to its width: 8 bits for
// data, addresses and relative offsets, which wrap modulo 256.
#include "mcu/asm_encode.h"

#include <string>
#include <string_view>

namespace qiro {

namespace {

enum class Kind { None, A, C, Reg, Indirect, Immediate, Address };

struct Operand {
  Kind kind = Kind::None;
  int n = 0;  // register number, or 0/1 for @R0/@R1
  std::string_view text;
};

// Classifies an operand's text. Only INC and DEC have the @R0/@R1 forms, and only
// instructions with register forms read a name starting with R as a register; everywhere
// else such operands are addresses (a number or a symbol).
Operand Classify(const std::string& text, bool registers = true, bool indirect = false) {
  Operand op;
  op.text = text;
  if (text.empty()) return op;
  if (text == "A") {
    op.kind = Kind::A;
  } else if (text == "C") {
    op.kind = Kind::C;
  } else if (indirect && (text == "@R0" || text == "@R1")) {
    op.kind = Kind::Indirect;
    op.n = text[2] - '0';
  } else if (registers && text[0] == 'R') {
    op.kind = Kind::Reg;
    int digit = text.size() > 1 && text[1] >= '0' && text[1] <= '9' ? text[1] - '0' : 0;
    op.n = digit > 7 ? 0 : digit;
  } else if (text[0] == '#') {
    op.kind = Kind::Immediate;
  } else {
    op.kind = Kind::Address;
  }
  return op;
}

class Encoder {
 public:
  Encoder(const AsmSymbolTable& symbols, std::uint16_t at, std::vector<std::string>* problems)
      : symbols_(symbols), at_(at), problems_(problems) {}

  std::uint8_t Byte(const Operand& op) const { return static_cast<std::uint8_t>(Value(op, 0xFF) & 0xFF); }
  std::uint16_t Word(const Operand& op) const {
    return static_cast<std::uint16_t>(Value(op, 0xFFFF) & 0xFFFF);
  }
  // Offset from the end of an instruction of `size` bytes to the target, modulo 256.
  std::uint8_t Relative(const Operand& target, int size) const {
    const int offset = static_cast<int>(Word(target)) - at_ - size;
    if (offset < -128 || offset > 127)
      Report("jump target " + std::string(target.text) + " is out of reach (" + std::to_string(offset) +
             " bytes away, -128 to 127 allowed)");
    return static_cast<std::uint8_t>(offset & 0xFF);
  }
  void Report(const std::string& problem) const {
    if (problems_) problems_->push_back(problem);
  }

 private:
  // The operand's value; an unknown name or a value above `limit` is reported.
  std::uint32_t Value(const Operand& op, std::uint32_t limit) const {
    std::string_view name = op.text;
    if (!IsAsmNumber(name)) {
      if (!name.empty() && name[0] == '#') name.remove_prefix(1);
      if (!symbols_.Known(name)) Report("unknown symbol " + std::string(name) + ", taken as 0");
    }
    const std::uint32_t v = AsmOperandValue(op.text, symbols_);
    if (v > limit)
      Report("value " + std::string(op.text) + " is out of range (0 to " + std::to_string(limit) + ")");
    return v;
  }

  const AsmSymbolTable& symbols_;
  std::uint16_t at_;
  std::vector<std::string>* problems_;
};

using Bytes = std::vector<std::uint8_t>;

std::uint8_t Op(int value) {
  return static_cast<std::uint8_t>(value & 0xFF);
}

int ArithmeticBase(const std::string& m) {
  if (m == "ADD") return 0x20;
  if (m == "ADDC") return 0x30;
  if (m == "SUBB") return 0x90;
  if (m == "ANL") return 0x50;
  if (m == "ORL") return 0x40;
  if (m == "XRL") return 0x60;
  return -1;
}

Bytes EncodeArithmetic(const std::string& m, int base, const Operand& a, const Operand& b, const Encoder& e) {
  if (a.kind == Kind::A) {
    if (b.kind == Kind::Reg) return {Op(base + 8 + b.n)};
    if (b.kind == Kind::Immediate) return {Op(base + 4), e.Byte(b)};
    if (b.kind == Kind::Address) return {Op(base + 5), e.Byte(b)};
    return {};
  }
  bool logical = m == "ANL" || m == "ORL" || m == "XRL";
  if (logical && a.kind == Kind::Address) {
    if (b.kind == Kind::A) return {Op(base + 2), e.Byte(a)};
    if (b.kind == Kind::Immediate) return {Op(base + 3), e.Byte(a), e.Byte(b)};
    return {};
  }
  if (a.kind == Kind::C && (m == "ANL" || m == "ORL")) {
    const std::string bitText(b.text);  // the operand views this text: it must outlive `bit`
    const Operand bit = Classify(bitText, false);
    if (bit.kind == Kind::Address) return {Op(m == "ANL" ? 0x82 : 0x72), e.Byte(bit)};
  }
  return {};
}

Bytes EncodeMov(const Operand& a, const Operand& b, const Encoder& e) {
  switch (a.kind) {
    case Kind::A:
      if (b.kind == Kind::Reg) return {Op(0xE8 + b.n)};
      if (b.kind == Kind::Immediate) return {0x74, e.Byte(b)};
      if (b.kind == Kind::Address) return {0xE5, e.Byte(b)};
      return {};
    case Kind::Reg:
      if (b.kind == Kind::A) return {Op(0xF8 + a.n)};
      if (b.kind == Kind::Immediate) return {Op(0x78 + a.n), e.Byte(b)};
      if (b.kind == Kind::Address) return {Op(0xA8 + a.n), e.Byte(b)};
      return {};
    case Kind::Address:
      if (b.kind == Kind::A) return {0xF5, e.Byte(a)};
      if (b.kind == Kind::Reg) return {Op(0x88 + b.n), e.Byte(a)};
      if (b.kind == Kind::Immediate) return {0x75, e.Byte(a), e.Byte(b)};
      if (b.kind == Kind::Address) return {0x85, e.Byte(b), e.Byte(a)};
      return {};
    default:
      return {};
  }
}

Bytes EncodeIncDec(bool inc, const Operand& a, const Encoder& e) {
  int base = inc ? 0x00 : 0x10;
  switch (a.kind) {
    case Kind::A:
      return {Op(base + 0x04)};
    case Kind::Reg:
      return {Op(base + 0x08 + a.n)};
    case Kind::Indirect:
      return {Op(base + 0x06 + a.n)};
    case Kind::Address:
      if (inc && a.text == "DPTR") return {0xA3};
      return {Op(base + 0x05), e.Byte(a)};
    default:
      return {};
  }
}

// CLR and CPL: A, C or a bit address.
Bytes EncodeBitOp(int onA, int onC, int onBit, const Operand& a, const Encoder& e) {
  if (a.kind == Kind::A) return {Op(onA)};
  if (a.kind == Kind::C) return {Op(onC)};
  if (a.kind == Kind::Address) return {Op(onBit), e.Byte(a)};
  return {};
}

Bytes EncodeCjne(const Operand& a, const Operand& b, const Operand& target, const Encoder& e) {
  if (target.kind == Kind::None) return {};
  if (a.kind == Kind::A && b.kind == Kind::Immediate) return {0xB4, e.Byte(b), e.Relative(target, 3)};
  if (a.kind == Kind::A && b.kind == Kind::Address) return {0xB5, e.Byte(b), e.Relative(target, 3)};
  if (a.kind == Kind::Reg && b.kind == Kind::Immediate)
    return {Op(0xB8 + a.n), e.Byte(b), e.Relative(target, 3)};
  return {};
}

Bytes EncodeForms(const AsmLine& line, const Encoder& e) {
  const std::string& m = line.Mnemonic;
  const Operand a = Classify(line.Operands[0]);
  const Operand b = Classify(line.Operands[1]);
  const Operand addr1 = Classify(line.Operands[0], false);
  const Operand addr2 = Classify(line.Operands[1], false);

  if (int base = ArithmeticBase(m); base >= 0) return EncodeArithmetic(m, base, a, b, e);
  if (m == "MOV") return EncodeMov(a, b, e);
  if (m == "INC" || m == "DEC") return EncodeIncDec(m == "INC", Classify(line.Operands[0], true, true), e);
  if (m == "CLR") return EncodeBitOp(0xE4, 0xC3, 0xC2, addr1, e);
  if (m == "CPL") return EncodeBitOp(0xF4, 0xB3, 0xB2, addr1, e);
  if (m == "SETB") return addr1.kind == Kind::Address ? Bytes{0xD2, e.Byte(addr1)} : Bytes{};
  if (m == "CJNE") return EncodeCjne(a, b, Classify(line.Operands[2]), e);
  if (m == "JB" || m == "JNB" || m == "JBC") {
    if (addr1.kind != Kind::Address || addr2.kind != Kind::Address) return {};
    std::uint8_t op = m == "JB" ? 0x20 : m == "JNB" ? 0x30 : 0x10;
    return {op, e.Byte(addr1), e.Relative(addr2, 3)};
  }
  if (m == "JZ" || m == "JNZ") {
    if (addr1.kind != Kind::Address) return {};
    return {Op(m == "JZ" ? 0x60 : 0x70), e.Relative(addr1, 2)};
  }
  if (m == "AJMP" || m == "ACALL") {
    if (addr1.kind != Kind::Address) return {};
    std::uint16_t target = e.Word(addr1);
    return {Op(((target >> 8) & 7) * 32 + (m == "AJMP" ? 0x01 : 0x11)), Op(target)};
  }
  if (m == "PUSH" || m == "POP") {
    if (addr1.kind != Kind::Address) return {};
    return {Op(m == "PUSH" ? 0xC0 : 0xD0), e.Byte(addr1)};
  }
  // DB and DW also take an immediate-style value such as #10.
  const bool value1 = addr1.kind == Kind::Address || addr1.kind == Kind::Immediate;
  if (m == "DB") return value1 ? Bytes{e.Byte(addr1)} : Bytes{};
  if (m == "DW") {
    if (!value1) return {};
    std::uint16_t w = e.Word(addr1);
    return {Op(w >> 8), Op(w)};
  }
  if (m == "JMP") return {0x73};
  if (m == "RET") return {0x22};
  if (m == "RL") return {0x23};
  if (m == "RR") return {0x03};
  if (m == "NOP") return {0x00};
  if (m == "DA") return {0xD4};
  if (m == "DIV") return {0x84};
  return {};
}

bool KnownMnemonic(const std::string& m) {
  static const char* const kMnemonics[] = {
      "ADD", "ADDC", "SUBB", "ANL", "ORL", "XRL", "MOV", "INC", "DEC", "CLR",  "CPL",   "SETB",
      "DA",  "DIV",  "CJNE", "JB",  "JNB", "JBC", "JZ",  "JNZ", "JMP", "AJMP", "ACALL", "PUSH",
      "POP", "RET",  "RL",   "RR",  "NOP", "DB",  "DW",  "ORG", "EQU", "END"};
  for (const char* k : kMnemonics)
    if (m == k) return true;
  return false;
}

// Instructions whose operands may name a register R0..R7.
bool ReadsRegisters(const std::string& m) {
  return ArithmeticBase(m) >= 0 || m == "MOV" || m == "INC" || m == "DEC" || m == "CJNE";
}

bool IsRegisterName(std::string_view text) {
  return text.size() == 2 && text[0] == 'R' && text[1] >= '0' && text[1] <= '7';
}

}  // namespace

Bytes EncodeAsmLine(const AsmLine& line, std::uint16_t at, const AsmSymbolTable& symbols,
                    std::vector<std::string>* problems) {
  if (line.Comment || line.Mnemonic.empty()) return {};
  const Encoder e(symbols, at, problems);
  const std::string& m = line.Mnemonic;
  if (!KnownMnemonic(m)) {
    std::string why = "unknown mnemonic " + m;
    // "MOV A,#5" written from column 1 reads MOV as a label and A as the mnemonic.
    if (!line.Label.empty() && KnownMnemonic(line.Label))
      why += " (" + line.Label + " starts in column 1, so it is read as a label)";
    e.Report(why);
    return {};
  }
  Bytes bytes = EncodeForms(line, e);
  if (bytes.empty() && m != "ORG" && m != "EQU" && m != "END") {
    std::string operands;
    for (const std::string& op : line.Operands)
      if (!op.empty()) operands += (operands.empty() ? "" : ",") + op;
    e.Report("operands " + (operands.empty() ? std::string("(none)") : operands) + " not supported by " + m);
  }
  if (ReadsRegisters(m))
    for (int k = 0; k < 2; ++k) {
      const std::string& op = line.Operands[static_cast<std::size_t>(k)];
      if (!op.empty() && op[0] == 'R' && !IsRegisterName(op))
        e.Report("unknown register " + op + ", taken as R" + std::to_string(Classify(op).n));
    }
  return bytes;
}

}  // namespace qiro
