#include "mcu/assembler.h"

#include <gtest/gtest.h>

#include "core/test_support.h"
#include "mcu/asm_encode.h"
#include "mcu/asm_line.h"
#include "workspace.h"

namespace qiro {
namespace {

struct Assembled {
  std::array<std::uint8_t, kProgramSize> program{};
  AsmResult result;
};

Assembled Assemble(const std::vector<std::string>& source) {
  Assembled a;
  AssembleLines(source, a.program, a.result);
  return a;
}

std::vector<std::uint8_t> Bytes(const Assembled& a, int from, int count) {
  return std::vector<std::uint8_t>(a.program.begin() + from, a.program.begin() + from + count);
}

using B = std::vector<std::uint8_t>;

// The bytes of one instruction written after a blank (no label), with LOOP defined at 0.
B Encode(const std::string& text, std::uint16_t at = 0) {
  AsmSymbolTable symbols;
  symbols.Reset();
  symbols.Define("LOOP", 0);
  return EncodeAsmLine(ParseAsmLine(" " + text), at, symbols);
}

TEST(AsmLine, LabelOnlyWhenTheLineStartsWithALetter) {
  AsmLine l = ParseAsmLine("loop: mov a,#5 ; load five");
  EXPECT_EQ(l.Label, "LOOP");
  EXPECT_EQ(l.Mnemonic, "MOV");
  EXPECT_EQ(l.Operands[0], "A");
  EXPECT_EQ(l.Operands[1], "#5");
  EXPECT_EQ(l.Operands[2], "");

  // An indented comment is still a comment, whatever its words.
  AsmLine indented = ParseAsmLine("   ; inc counter");
  EXPECT_EQ(indented.Mnemonic, "");
  EXPECT_TRUE(Encode("; inc counter").empty());
  EXPECT_EQ(Encode("inc ; a"), (B{}));

  AsmLine blank = ParseAsmLine("\tmov a,#5");
  EXPECT_EQ(blank.Label, "");
  EXPECT_EQ(blank.Mnemonic, "MOV");

  // An instruction from column 1 is a label followed by mnemonic A: no code.
  Assembled a = Assemble({"MOV A,#5"});
  EXPECT_EQ(a.result.Listing[0], "0000               >MOV A,#5");
  EXPECT_EQ(a.result.Symbols.back(), ".MOV 0000");

  for (const char* comment : {"", ";x", "*x", "/x", "{x"})
    EXPECT_TRUE(ParseAsmLine(comment).Comment) << comment;
  EXPECT_FALSE(ParseAsmLine(" ;x").Comment);
}

TEST(AsmLine, NumberRules) {
  EXPECT_EQ(AsmNumberValue("25"), 25u);
  EXPECT_EQ(AsmNumberValue("#25"), 25u);
  EXPECT_EQ(AsmNumberValue("1FH"), 0x1Fu);
  EXPECT_EQ(AsmNumberValue("#0FFH"), 0xFFu);
  EXPECT_EQ(AsmNumberValue("$1F"), 0x1Fu);
  EXPECT_EQ(AsmNumberValue("12AB"), 0x12ABu);
  EXPECT_EQ(AsmNumberValue("10H"), 0x10u);
  EXPECT_FALSE(IsAsmNumber("#$1F"));
  EXPECT_FALSE(IsAsmNumber("#LOOP"));

  AsmSymbolTable symbols;
  symbols.Reset();
  EXPECT_EQ(AsmOperandValue("#$1F", symbols), 0u);  // an unknown symbol
  EXPECT_EQ(AsmOperandValue("#P1", symbols), 144u);
  EXPECT_EQ(Encode("mov a,#$1F"), (B{0x74, 0x00}));
  EXPECT_EQ(Encode("mov a,#1FH"), (B{0x74, 0x1F}));
  // A runaway number wraps instead of overflowing.
  EXPECT_EQ(Encode("mov a,#99999999999999999999"), Encode("mov a,#99999999999999999999"));
}

TEST(AsmSymbols, PredefinedFirstNamesCutFirstDefinitionWinsTableFull) {
  AsmSymbolTable symbols;
  symbols.Reset();
  ASSERT_EQ(symbols.Entries().size(), 37u);
  EXPECT_EQ(symbols.Entries()[0].Name, "SP");
  EXPECT_EQ(symbols.Entries()[5].Name, "P0.0");
  EXPECT_EQ(symbols.Lookup("P3.7"), 183);

  symbols.Define("VERYLONGLABEL", 7);
  EXPECT_EQ(symbols.Lookup("VERYLONG"), 7);
  EXPECT_EQ(symbols.Lookup("VERYLONGNAME"), 7);
  symbols.Define("VERYLONGX", 9);
  EXPECT_EQ(symbols.Lookup("VERYLONG"), 7);
  EXPECT_EQ(symbols.Entries().size(), 38u);

  for (int i = 0; i < 300; ++i) symbols.Define("S" + std::to_string(i), static_cast<std::uint16_t>(i));
  EXPECT_EQ(symbols.Entries().size(), 256u);
  EXPECT_EQ(symbols.Lookup("S217"), 217);
  EXPECT_EQ(symbols.Lookup("S218"), 0);
}

TEST(AsmEncode, TableForms) {
  EXPECT_EQ(Encode("add a,r3"), (B{0x2B}));
  EXPECT_EQ(Encode("addc a,#3"), (B{0x34, 3}));
  EXPECT_EQ(Encode("subb a,40h"), (B{0x95, 0x40}));
  EXPECT_EQ(Encode("anl 90h,a"), (B{0x52, 0x90}));
  EXPECT_EQ(Encode("orl 90h,#1"), (B{0x43, 0x90, 1}));
  EXPECT_EQ(Encode("anl c,p1.0"), (B{0x82, 0x90}));
  EXPECT_EQ(Encode("orl c,p1.0"), (B{0x72, 0x90}));
  EXPECT_EQ(Encode("mov a,r7"), (B{0xEF}));
  EXPECT_EQ(Encode("mov r2,a"), (B{0xFA}));
  EXPECT_EQ(Encode("mov r2,#9"), (B{0x7A, 9}));
  EXPECT_EQ(Encode("mov r2,p1"), (B{0xAA, 0x90}));
  EXPECT_EQ(Encode("mov p1,a"), (B{0xF5, 0x90}));
  EXPECT_EQ(Encode("mov p1,r1"), (B{0x89, 0x90}));
  EXPECT_EQ(Encode("mov p1,p3"), (B{0x85, 0xB0, 0x90}));  // source first
  EXPECT_EQ(Encode("mov r9,a"), (B{0xF8}));               // n above 7 gives R0
  EXPECT_EQ(Encode("inc dptr"), (B{0xA3}));
  EXPECT_EQ(Encode("inc @r1"), (B{0x07}));
  EXPECT_EQ(Encode("dec @r0"), (B{0x16}));
  EXPECT_EQ(Encode("dec 30h"), (B{0x15, 0x30}));
  EXPECT_EQ(Encode("clr c"), (B{0xC3}));
  EXPECT_EQ(Encode("cpl p3.2"), (B{0xB2, 0xB2}));
  EXPECT_EQ(Encode("setb red"), (B{0xD2, 0x00}));  // a name, not a register, where no register form exists
  EXPECT_EQ(Encode("jnb p3.0,loop", 0x10), (B{0x30, 0xB0, 0xED}));
  EXPECT_EQ(Encode("jnz loop", 4), (B{0x70, 0xFA}));
  EXPECT_EQ(Encode("cjne r1,#3,loop"), (B{0xB9, 3, 0xFD}));
  EXPECT_EQ(Encode("cjne a,p1,loop"), (B{0xB5, 0x90, 0xFD}));
  EXPECT_EQ(Encode("acall 3FEh"), (B{0x71, 0xFE}));
  EXPECT_EQ(Encode("jmp @a+dptr"), (B{0x73}));
  EXPECT_EQ(Encode("dw 1234h"), (B{0x12, 0x34}));
  EXPECT_EQ(Encode("push 0E0h"), (B{0xC0, 0xE0}));
}

TEST(AsmEncode, ExamplesAndReductionsToTheFieldWidth) {
  EXPECT_EQ(Encode("cjne a,#10,loop"), (B{0xB4, 0x0A, 0xFD}));
  EXPECT_EQ(Encode("ajmp 0234h"), (B{0x41, 0x34}));
  EXPECT_EQ(Encode("db 300"), (B{0x2C}));
  EXPECT_EQ(Encode("cjne a,#1FFh,loop"), (B{0xB4, 0xFF, 0xFD}));
  EXPECT_EQ(Encode("jb 190h,loop"), (B{0x20, 0x90, 0xFD}));
  EXPECT_EQ(Encode("mov 190h,#2F0h"), (B{0x75, 0x90, 0xF0}));
  EXPECT_EQ(Encode("mov 190h,1B0h"), (B{0x85, 0xB0, 0x90}));
  // A target far ahead wraps modulo 256.
  EXPECT_EQ(Encode("jz 300", 0), (B{0x60, static_cast<std::uint8_t>((300 - 2) & 0xFF)}));
}

TEST(AsmEncode, UnsupportedFormsGiveNoCode) {
  for (const char* text : {"add 30h,a", "add r1,a", "xrl c,p1.0", "mov c,p1.0", "mov a,a", "setb c", "inc c",
                           "cjne a,#1", "jb p1.0", "frob a", "ajmp", "db", ""})
    EXPECT_TRUE(Encode(text).empty()) << text;
}

TEST(Assembler, LinesThatGaveNoCodeOrWereCutAreListedWithTheirNumbers) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"foo r9,#300", "unknown mnemonic R9"},
      {" foo r1", "unknown mnemonic FOO"},
      {"MOV A,#5", "unknown mnemonic A (MOV starts in column 1, so it is read as a label)"},
      {" mov r9,#3", "unknown register R9, taken as R0"},
      {" mov a,#300", "value #300 is out of range (0 to 255)"},
      {" db 256", "value 256 is out of range (0 to 255)"},
      {" mov a,nowhere", "unknown symbol NOWHERE, taken as 0"},
      {" jz 300", "jump target 300 is out of reach (297 bytes away, -128 to 127 allowed)"},
      {" inc ; a", "operands (none) not supported by INC"},  // ";" starts a comment anywhere
      {" add 30h,a", "operands 30H,A not supported by ADD"},
  };
  for (const auto& [line, why] : cases) {
    Assembled a = Assemble({" nop", line, " nop ; fine"});
    ASSERT_EQ(a.result.Problems.size(), 1u) << line;
    EXPECT_EQ(a.result.Problems[0].Line, 2) << line;
    EXPECT_EQ(a.result.Problems[0].Text, why) << line;
    EXPECT_EQ(a.result.Listing[2], "**** line 2: " + why);
  }
  // Good lines, comments and labels alone report nothing; the encodings stay.
  Assembled a = Assemble({"; title", "top:", " mov r7,#255 ; r7 holds the count", " cjne r7,#0,top", " end"});
  EXPECT_TRUE(a.result.Problems.empty());
  EXPECT_EQ(Bytes(a, 0, 5), (B{0x7F, 0xFF, 0xBF, 0x00, 0xFB}));
}

TEST(Assembler, ListingLineFormat) {
  Assembled a = Assemble({" nop", " nop", " nop", " nop", " nop", " nop", "loop: mov a,#5"});
  EXPECT_EQ(a.result.Listing[5], "0005   00          > nop");
  EXPECT_EQ(a.result.Listing[6], "0006   74 05       >loop: mov a,#5");
  EXPECT_EQ(AsmListingLine(0x1234, {0x75, 0x90, 0xF0}, "x"), "1234   75 90 F0    >x");
  EXPECT_EQ(Bytes(a, 6, 2), (B{0x74, 0x05}));
}

TEST(Assembler, ForwardLabelsEquOrgAndTheSymbolList) {
  Assembled a = Assemble({
      "leds equ 90h", " ajmp start", " org 10h", "start: mov leds,#0", "again: jnb p3.0,again",
      " sjmp again",  // outside the subset: no code, the next line keeps its address
      " cjne a,#1,start", " end",
      " nop",  // END does not stop the assembly
  });
  EXPECT_EQ(Bytes(a, 0, 2), (B{0x01, 0x10}));
  EXPECT_EQ(Bytes(a, 0x10, 3), (B{0x75, 0x90, 0x00}));
  EXPECT_EQ(Bytes(a, 0x13, 3), (B{0x30, 0xB0, 0xFD}));
  EXPECT_EQ(Bytes(a, 0x16, 3), (B{0xB4, 0x01, 0xF7}));
  EXPECT_EQ(a.program[0x19], 0x00);
  EXPECT_EQ(a.result.Listing[2], "0010               > org 10h");
  EXPECT_EQ(a.result.Listing[6], "**** line 6: unknown mnemonic SJMP");
  EXPECT_EQ(a.result.Listing[9], "0019   00          > nop");
  EXPECT_EQ(a.result.Listing.back(), "1 problem(s) found.");
  ASSERT_EQ(a.result.Symbols.size(), 1u + 37 + 3);
  EXPECT_EQ(a.result.Symbols[0], "List of symbols");
  EXPECT_EQ(a.result.Symbols[1], ".SP 0081");
  EXPECT_EQ(a.result.Symbols[38], ".LEDS 0090");
  EXPECT_EQ(a.result.Symbols[39], ".START 0010");
  EXPECT_EQ(a.result.Symbols[40], ".AGAIN 0013");
}

TEST(Assembler, CodeBeyondTheProgramMemoryIsDropped) {
  Assembled a = Assemble({" org 3FEh", " mov 90h,#55h", " db 77h", " org 70000", " db 11h"});
  EXPECT_EQ(a.program[0x3FE], 0x75);
  EXPECT_EQ(a.program[0x3FF], 0x90);
  // MOV's third byte falls at 400h: the line is listed as cut.
  EXPECT_EQ(a.result.Listing[2], "**** line 2: code beyond address 1023 is dropped");
  EXPECT_EQ(a.result.Listing[3], "0401   77          > db 77h");
  // ORG 70000 is cut to 16 bits: 70000 - 65536 = 4464, still outside the memory.
  EXPECT_EQ(a.result.Listing[6], "**** line 4: value 70000 is out of range (0 to 65535)");
  EXPECT_EQ(a.result.Listing[7], "1170   11          > db 11h");
  EXPECT_EQ(std::count(a.program.begin(), a.program.end(), 0x11), 0);
  // Rebuilt at each assembly.
  AssembleLines({" nop"}, a.program, a.result);
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
