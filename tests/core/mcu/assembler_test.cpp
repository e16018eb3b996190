#include "mcu/assembler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "core/test_support.h"
#include "mcu/asm_encode.h"
#include "mcu/asm_line.h"
#include "workspace.h"

namespace qiro {
namespace {

struct Assembled {
  std::array<std::uint8_t, kProgramSize> program{};
  AsmResult result;
  // Program bytes in hexadecimal, e.g. "75 90 00".
  std::string Bytes(int from, int count) const {
    return Hex(std::vector<std::uint8_t>(program.begin() + from, program.begin() + from + count));
  }
  static std::string Hex(const std::vector<std::uint8_t>& bytes) {
    std::string s;
    char b[4];
    for (auto v : bytes) std::snprintf(b, sizeof b, "%02X ", v), s += b;
    return s.empty() ? s : s.substr(0, s.size() - 1);
  }
};

Assembled Assemble(const std::vector<std::string>& source) {
  Assembled a;
  AssembleLines(source, a.program, a.result);
  return a;
}

// The bytes of one instruction written after a blank (no label), with LOOP defined at 0.
std::string Encode(const std::string& text, std::uint16_t at = 0) {
  AsmSymbolTable symbols;
  symbols.Reset();
  symbols.Define("LOOP", 0);
  return Assembled::Hex(EncodeAsmLine(ParseAsmLine(" " + text), at, symbols));
}

TEST(AsmLine, LabelOnlyWhenTheLineStartsWithALetter) {
  const AsmLine l = ParseAsmLine("loop: mov a,#5 ; load five");
  EXPECT_EQ(l.Label + "|" + l.Mnemonic + "|" + l.Operands[0] + "|" + l.Operands[1] + "|" + l.Operands[2],
            "LOOP|MOV|A|#5|");
  EXPECT_EQ(ParseAsmLine("   ; inc counter").Mnemonic, "");  // an indented comment is still a comment
  const AsmLine tab = ParseAsmLine("\tmov a,#5");
  EXPECT_EQ(tab.Label + "|" + tab.Mnemonic, "|MOV");
  // An instruction from column 1 is a label followed by mnemonic A: no code.
  Assembled a = Assemble({"MOV A,#5"});
  EXPECT_EQ(a.result.Listing[0], "0000               >MOV A,#5");
  EXPECT_EQ(a.result.Symbols.back(), ".MOV 0000");
  for (const char* comment : {"", ";x", "*x", "/x", "{x"})
    EXPECT_TRUE(ParseAsmLine(comment).Comment) << comment;
  EXPECT_FALSE(ParseAsmLine(" ;x").Comment);
}

TEST(AsmLine, NumberRules) {
  const std::pair<const char*, std::uint32_t> numbers[] = {{"25", 25},      {"#25", 25},   {"1FH", 0x1F},
                                                           {"#0FFH", 0xFF}, {"$1F", 0x1F}, {"12AB", 0x12AB},
                                                           {"10H", 0x10}};
  for (const auto& [text, value] : numbers) EXPECT_EQ(AsmNumberValue(text), value) << text;
  EXPECT_FALSE(IsAsmNumber("#$1F"));
  EXPECT_FALSE(IsAsmNumber("#LOOP"));
  AsmSymbolTable symbols;
  symbols.Reset();
  EXPECT_EQ(AsmOperandValue("#$1F", symbols), 0u);  // an unknown symbol
  EXPECT_EQ(AsmOperandValue("#P1", symbols), 144u);
  // A runaway number wraps instead of overflowing.
  EXPECT_EQ(Encode("mov a,#99999999999999999999"), Encode("mov a,#99999999999999999999"));
}

TEST(AsmSymbols, PredefinedFirstNamesCutFirstDefinitionWinsTableFull) {
  AsmSymbolTable symbols;
  symbols.Reset();
  ASSERT_EQ(symbols.Entries().size(), 37u);
  EXPECT_EQ(symbols.Entries()[0].Name + symbols.Entries()[5].Name, "SPP0.0");
  EXPECT_EQ(symbols.Lookup("P3.7"), 183);
  symbols.Define("VERYLONGLABEL", 7);
  symbols.Define("VERYLONGX", 9);
  EXPECT_EQ(symbols.Lookup("VERYLONG"), 7);
  EXPECT_EQ(symbols.Lookup("VERYLONGNAME"), 7);
  EXPECT_EQ(symbols.Entries().size(), 38u);
  for (int i = 0; i < 300; ++i) symbols.Define("S" + std::to_string(i), static_cast<std::uint16_t>(i));
  EXPECT_EQ(symbols.Entries().size(), 256u);
  EXPECT_EQ(symbols.Lookup("S217"), 217);
  EXPECT_EQ(symbols.Lookup("S218"), 0);
}

TEST(AsmEncode, EveryFormAndReductionsToTheFieldWidth) {
  // "instruction [~address] = bytes" separated by '|'; no bytes for the forms outside the subset.
  // MOV dir,dir takes its source first; a register above 7 gives R0; SETB takes a name where no
  // register form exists; numbers too wide for their field are cut, jump targets wrap modulo 256.
  std::string table = R"(
    add a,r3 = 2B | addc a,#3 = 34 03 | subb a,40h = 95 40 | anl 90h,a = 52 90 | orl 90h,#1 = 43 90 01
    anl c,p1.0 = 82 90 | orl c,p1.0 = 72 90 | mov a,r7 = EF | mov r2,a = FA | mov r2,#9 = 7A 09
    mov r2,p1 = AA 90 | mov p1,a = F5 90 | mov p1,r1 = 89 90 | mov p1,p3 = 85 B0 90 | mov r9,a = F8
    inc dptr = A3 | inc @r1 = 07 | dec @r0 = 16 | dec 30h = 15 30 | clr c = C3 | cpl p3.2 = B2 B2
    setb red = D2 00 | jnb p3.0,loop ~16 = 30 B0 ED | jnz loop ~4 = 70 FA | cjne r1,#3,loop = B9 03 FD
    cjne a,p1,loop = B5 90 FD | acall 3FEh = 71 FE | jmp @a+dptr = 73 | dw 1234h = 12 34 | push 0E0h = C0 E0
    cjne a,#10,loop = B4 0A FD | ajmp 0234h = 41 34 | db 300 = 2C | cjne a,#1FFh,loop = B4 FF FD
    jb 190h,loop = 20 90 FD | mov 190h,#2F0h = 75 90 F0 | mov 190h,1B0h = 85 B0 90 | jz 300 = 60 2A
    mov a,#$1F = 74 00 | mov a,#1FH = 74 1F | ; inc counter = | inc ; a = | add 30h,a = | add r1,a =
    xrl c,p1.0 = | mov c,p1.0 = | mov a,a = | setb c = | inc c = | cjne a,#1 = | jb p1.0 = | frob a =
    ajmp = | db = | = )";
  std::replace(table.begin(), table.end(), '\n', '|');
  std::istringstream items(table);
  int cases = 0;
  for (std::string item; std::getline(items, item, '|');) {
    if (item.find('=') == std::string::npos) continue;
    ++cases;
    const auto eq = item.find('='), at = item.find('~');
    const auto trim = [](std::string s) {
      return s.erase(0, s.find_first_not_of(" \n")).erase(s.find_last_not_of(" \n") + 1);
    };
    const std::string text = trim(item.substr(0, std::min(eq, at)));
    const int address = at < eq ? std::stoi(item.substr(at + 1)) : 0;
    EXPECT_EQ(Encode(text, static_cast<std::uint16_t>(address)), trim(item.substr(eq + 1))) << text;
  }
  EXPECT_EQ(cases, 55);
}

TEST(Assembler, LinesThatGaveNoCodeOrWereCutAreListedWithTheirNumbers) {
  const std::pair<const char*, const char*> cases[] = {
      {"foo r9,#300", "unknown mnemonic R9"},
      {" foo r1", "unknown mnemonic FOO"},
      {"MOV A,#5", "unknown mnemonic A (MOV starts in column 1, so it is read as a label)"},
      {" mov r9,#3", "unknown register R9, taken as R0"},
      {" mov a,#300", "value #300 is out of range (0 to 255)"},
      {" db 256", "value 256 is out of range (0 to 255)"},
      {" mov a,nowhere", "unknown symbol NOWHERE, taken as 0"},
      {" jz 300", "jump target 300 is out of reach (297 bytes away, -128 to 127 allowed)"},
      {" inc ; a", "operands (none) not supported by INC"},  // ";" starts a comment anywhere
      {" add 30h,a", "operands 30H,A not supported by ADD"}};
  for (const auto& [line, why] : cases) {
    Assembled a = Assemble({" nop", line, " nop ; fine"});
    ASSERT_EQ(a.result.Problems.size(), 1u) << line;
    EXPECT_EQ(a.result.Problems[0].Line, 2) << line;
    EXPECT_EQ(a.result.Problems[0].Text, why) << line;
    EXPECT_EQ(a.result.Listing[2], "**** line 2: " + std::string(why));
  }
  // Good lines, comments and labels alone report nothing; the encodings stay.
  Assembled a = Assemble({"; title", "top:", " mov r7,#255 ; r7 holds the count", " cjne r7,#0,top", " end"});
  EXPECT_TRUE(a.result.Problems.empty());
  EXPECT_EQ(a.Bytes(0, 5), "7F FF BF 00 FB");
}

TEST(Assembler, ForwardLabelsEquOrgListingAndTheSymbolList) {
  Assembled a = Assemble({
      "leds equ 90h", " ajmp start", " org 10h", "start: mov leds,#0", "again: jnb p3.0,again",
      " sjmp again",  // outside the subset: no code, the next line keeps its address
      " cjne a,#1,start", " end",
      " nop",  // END does not stop the assembly
  });
  EXPECT_EQ(a.Bytes(0, 2) + " | " + a.Bytes(0x10, 10), "01 10 | 75 90 00 30 B0 FD B4 01 F7 00");
  EXPECT_EQ(a.result.Listing[2], "0010               > org 10h");
  EXPECT_EQ(a.result.Listing[3], "0010   75 90 00    >start: mov leds,#0");
  EXPECT_EQ(a.result.Listing[6], "**** line 6: unknown mnemonic SJMP");
  EXPECT_EQ(a.result.Listing[9], "0019   00          > nop");
  EXPECT_EQ(a.result.Listing.back(), "1 problem(s) found.");
  ASSERT_EQ(a.result.Symbols.size(), 1u + 37 + 3);
  EXPECT_EQ(a.result.Symbols[0] + "|" + a.result.Symbols[1], "List of symbols|.SP 0081");
  EXPECT_EQ(a.result.Symbols[38] + "|" + a.result.Symbols[39] + "|" + a.result.Symbols[40],
            ".LEDS 0090|.START 0010|.AGAIN 0013");
}

TEST(Assembler, CodeBeyondTheProgramMemoryIsDropped) {
  Assembled a = Assemble({" org 3FEh", " mov 90h,#55h", " db 77h", " org 70000", " db 11h"});
  EXPECT_EQ(a.Bytes(0x3FE, 2), "75 90");
  // MOV's third byte falls at 400h: the line is listed as cut.
  EXPECT_EQ(a.result.Listing[2], "**** line 2: code beyond address 1023 is dropped");
  EXPECT_EQ(a.result.Listing[3], "0401   77          > db 77h");
  // ORG 70000 is cut to 16 bits: 70000 - 65536 = 4464, still outside the memory.
  EXPECT_EQ(a.result.Listing[6], "**** line 4: value 70000 is out of range (0 to 65535)");
  EXPECT_EQ(a.result.Listing[7], "1170   11          > db 11h");
  EXPECT_EQ(std::count(a.program.begin(), a.program.end(), 0x11), 0);
  AssembleLines({" nop"}, a.program, a.result);  // rebuilt at each assembly
  EXPECT_EQ(a.program[0x3FE], 0x00);
}

TEST(Assembler, WorkspaceProgramAndStatusTexts) {
  test::RecordingHost host;
  Workspace ws(&host);
  ws.circuit.AddAsmLine(" mov a,#7");
  ws.mcu.Pc = 5;
  std::vector<std::string> listing{"kept"}, symbols;
  AssembleProgram(ws, listing, symbols);
  EXPECT_EQ(listing.size(), 2u);
  EXPECT_EQ(ws.mcu.Program[1], 7);
  EXPECT_EQ(ws.mcu.Pc, 5);  // assembling does not reset the core
  EXPECT_TRUE(host.ShowedStatus("Pass 1..."));
  EXPECT_EQ(host.LastStatus(0), "Pass 2...");
  McuPowerOn(ws);
  EXPECT_EQ(ws.circuit.AsmLines.Count(), 0);
  EXPECT_EQ(ws.mcu.Pc, 0);
  EXPECT_EQ(ws.mcu.Reg[1], 1);
}

}  // namespace
}  // namespace qiro
