// The 8051 core on pins set directly, its assembler, and the example schematic simulated end
// to end and through qiro-cli.
#include "mcu/mcu_core.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "core/test_support.h"
#include "extract/extract.h"
#include "mcu/asm_encode.h"
#include "mcu/asm_line.h"
#include "mcu/assembler.h"
#include "mcu/intel_hex.h"
#include "model/records.h"
#include "model/schematic_file.h"
#include "sim/engine.h"
#include "workspace.h"

namespace qiro {
namespace {

using test::ReadFile;
using test::RunCli;
using test::SourceRoot;

// Pins without delay: a node value per pin, and the output each pin last got.
class FakePins : public McuPins {
 public:
  FakePins() { node.fill(kLogicX), prev.fill(kLogicX), out.fill(kLogicX); }
  std::uint8_t ReadPin(int p) override { return Valid(p) ? node[p] : std::uint8_t{kLogicX}; }
  bool RisingEdge(int p) override { return Valid(p) && prev[p] == kLogic0 && node[p] == kLogic1; }
  void WritePin(int p, std::uint8_t v) override {
    if (Valid(p)) out[p] = v;
  }
  void HoldPin(int) override {}
  void OutputPin(int p) override {
    if (Valid(p) && out[p] != kLogicX) node[p] = out[p];
  }
  static bool Valid(int p) { return p >= 1 && p <= kMcuPinCount; }
  std::array<std::uint8_t, kMcuPinCount + 1> node{}, prev{}, out{};
};

class McuCoreTest : public ::testing::Test {
 protected:
  void Load(const std::vector<std::string>& source) {
    AsmResult result;
    AssembleLines(source, mcu.Program, result);
    pins.node[kMcuResetPin] = kLogic1;
  }
  // Full clock periods (a low step, then the rising step).
  void Clock(int periods = 1) {
    for (int i = 0; i < periods; ++i) Step(kLogic0), Step(kLogic1);
  }
  void Step(std::uint8_t clock) {
    pins.prev[kMcuClockPin] = pins.node[kMcuClockPin];
    pins.node[kMcuClockPin] = clock;
    McuStep(mcu, pins);
    McuDriveOutputs(pins);
  }
  std::string Outputs(int first) const {
    std::string s;
    for (int p = first; p < first + 8; ++p) s += "10x"[pins.out[p]];
    return s;
  }
  // The stack depth and program counter after each group of clock periods, e.g. "1/64 0/302 ".
  std::string After(std::initializer_list<int> groups) {
    std::string s;
    for (int n : groups) {
      Clock(n);
      s += std::to_string(mcu.Depth) + "/" + std::to_string(mcu.Pc) + " ";
    }
    return s;
  }
  // The accumulator in hexadecimal after each of a number of clock periods.
  std::string AccAfterEach(int periods) {
    std::string s;
    for (int i = 0; i < periods; ++i) {
      Clock();
      s += McuStateLines(mcu)[0].substr(2) + " ";
    }
    return s;
  }

  Mcu mcu;
  FakePins pins;
};

TEST(McuLengthTable, RowsAndSharedColumns) {
  // Per row (high digit) columns 0..7, then the length that columns 8..F share; 0 where the
  // instruction moves the counter itself or is outside the subset.
  std::string lengths;
  for (int op = 0; op < 256; ++op)
    if ((op & 15) <= 8)
      lengths += std::to_string(kMcuLengthTable[op]) + ((op & 15) == 8 ? " " : "");
    else
      EXPECT_EQ(kMcuLengthTable[op], kMcuLengthTable[op & 0xF8]) << op;
  EXPECT_EQ(lengths,
            "100112111 003112111 000122111 001122111 002322111 002322111 002322111 002023222 002113222 "
            "302122111 202111222 202100000 202112111 202113110 101112111 101112111 ");
}

TEST_F(McuCoreTest, PortReadAndBitAddresses) {
  Load({" mov a,90h", " setb 91h", " setb 30h", " clr 91h", " cpl 0B7h", " cpl 0B7h", " mov 80h,#0FFh"});
  const std::uint8_t levels[8] = {kLogic1, kLogic0, kLogicX, kLogic1, kLogic0, kLogic0, kLogic0, kLogic1};
  for (int i = 0; i < 8; ++i) pins.node[12 + i] = levels[i];
  Clock();
  EXPECT_EQ(mcu.Acc, 0x91);
  // P1.1 set; bit 30h set (high digit 3 selects P3, bit 0); P1.1 cleared; P3.7 read as x is
  // complemented to 1, then read as 1 to 0.
  std::string seen;
  for (int p : {18, 35, 18, 28, 28}) {
    Clock();
    seen += "10x"[pins.out[p]];
    if (p == 28) pins.node[28] = kLogic1;
  }
  EXPECT_EQ(seen, "11010");
  Clock();  // P0 changes its outputs but never drives a node, nor touches P1's first pin
  EXPECT_EQ(Outputs(4) + "10x"[pins.node[4]] + "10x"[pins.out[12]], "11111111xx");
}

TEST_F(McuCoreTest, ArithmeticWrapsAndRegisters) {
  Load({" mov a,#0FFh", " inc a", " mov a,#80h", " rl a", " rr a", " mov a,#0FFh", " add a,#1", " dec a",
        " mov r3,#0FEh", " add a,r3", " mov r7,a", " inc r7", " dec r0", " orl a,#1", " anl a,#0Fh",
        " xrl a,#0Ah", " cpl a", " clr a"});
  EXPECT_EQ(AccAfterEach(18), "FF 00 80 01 80 FF 00 FF FF FD FD FD FD FD 0D 07 F8 00 ");
  EXPECT_EQ(mcu.Reg[7] * 256 + mcu.Reg[0], 0xFEFF);
}

TEST_F(McuCoreTest, JumpsAndLoops) {
  Load({" mov r1,#3", "loop: inc a", " cjne r1,#0,next", " ajmp done", "next: dec r1", " ajmp loop",
        "done: jz zero", " jnz done", "zero: db 2"});
  Clock(40);
  EXPECT_EQ(mcu.Acc, 4);
  EXPECT_TRUE(mcu.Pc == 11 || mcu.Pc == 13) << mcu.Pc;  // spinning on JZ / JNZ
  Load({" db 2"});                                      // LJMP: outside the subset, it repeats forever
  mcu.Pc = 0;
  EXPECT_EQ(After({2}), "0/0 ");
  EXPECT_EQ(mcu.Opcode, 0x02);
}

TEST_F(McuCoreTest, CjneWithAConstantFallsThroughWhenEqualAndJumpsOtherwise) {
  Load({" mov a,#5", " cjne a,#5,skip", " inc a", "skip: inc a", " cjne a,#9,far", " inc a", "far: inc a"});
  EXPECT_EQ(AccAfterEach(6), "05 05 06 07 07 08 ");
}

TEST_F(McuCoreTest, JbAndJnbOnPinLevels) {
  Load({"wait: jb p3.0,wait", " jnb p3.1,$", " inc a"});
  std::string pcs;  // x satisfies neither
  for (auto [pin, level] : {std::pair{35, kLogic1}, {35, kLogicX}, {34, kLogicX}}) {
    pins.node[pin] = level;
    Clock();
    pcs += std::to_string(mcu.Pc) + " ";
  }
  EXPECT_EQ(pcs, "0 3 6 ");
}

TEST_F(McuCoreTest, CallsReturnAndStackLimits) {
  // s0..s8 each call the next and then return; the ninth call finds the stack full and
  // acts as a jump; the last RET finds it empty and goes on with the next instruction.
  std::vector<std::string> src;
  for (int i = 0; i < 9; ++i)
    src.insert(src.end(), {"s" + std::to_string(i) + ": acall s" + std::to_string(i + 1), " ret"});
  src.insert(src.end(), {"s9: inc a", " ret"});
  Load(src);
  EXPECT_EQ(After({9, 2, 7, 1}), "8/27 7/23 0/2 0/3 ");  // after inc a, the ret at 28 pops s7's address
  // A call from above address 253 returns to its caller.
  Load({" org 300", " acall sub", " mov a,#5", " db 2", " org 40h", "sub: ret"});
  mcu.Pc = 300;
  EXPECT_EQ(After({1, 1}), "1/64 0/302 ");
  EXPECT_EQ(AccAfterEach(1), "05 ");
}

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

TEST(Assembler, ForwardLabelsEquOrgListingAndTheSymbolList) {
  Assembled a = Assemble({
      "leds equ 90h", " ajmp start", " org 10h", "start: mov leds,#0", "Again: jnb p3.0,again",
      " sjmp again",  // outside the subset: no code, the next line keeps its address
      " cjne a,#1,start", " end",
      " nop",  // END does not stop the assembly
  });
  EXPECT_EQ(a.Bytes(0, 2) + " | " + a.Bytes(0x10, 10), "01 10 | 75 90 00 30 B0 FD B4 01 F7 00");
  const auto& l = a.result.Listing;
  EXPECT_EQ(l[2] + "|" + l[3] + "|" + l[6] + "|" + l[9] + "|" + l.back(),
            "0010               > org 10h|0010   75 90 00    >start: mov leds,#0|"
            "**** line 6: unknown mnemonic SJMP|0019   00          > nop|1 problem(s) found.");
  ASSERT_EQ(a.result.Symbols.size(), 1u + 37 + 3);
  EXPECT_EQ(a.result.Symbols[0] + "|" + a.result.Symbols[1], "List of symbols|.SP 0081");
  EXPECT_EQ(a.result.Symbols[38] + "|" + a.result.Symbols[39] + "|" + a.result.Symbols[40],
            ".LEDS 0090|.START 0010|.AGAIN 0013");
}

TEST(Assembler, CodeBeyondTheProgramMemoryIsDropped) {
  Assembled a = Assemble({" org 3FEh", " mov 90h,#55h", " db 77h", " org 70000", " db 11h"});
  EXPECT_EQ(a.Bytes(0x3FE, 2), "75 90");
  // MOV's third byte falls at 400h: the line is listed as cut.
  // ORG 70000 is cut to 16 bits: 70000 - 65536 = 4464, still outside the memory.
  const auto& l = a.result.Listing;
  EXPECT_EQ(l[2] + "|" + l[3] + "|" + l[6] + "|" + l[7],
            "**** line 2: code beyond address 1023 is dropped|0401   77          > db 77h|"
            "**** line 4: value 70000 is out of range (0 to 65535)|1170   11          > db 11h");
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
  AssembleProgram(ws, listing, symbols);  // assembling does not reset the core
  EXPECT_EQ(std::tuple(listing.size(), ws.mcu.Program[1], ws.mcu.Pc), std::tuple(2u, 7, 5));
  EXPECT_TRUE(host.ShowedStatus("Pass 1..."));
  EXPECT_EQ(host.LastStatus(0), "Pass 2...");
  McuPowerOn(ws);
  EXPECT_EQ(std::tuple(ws.circuit.AsmLines.Count(), ws.mcu.Pc, ws.mcu.Reg[1]), std::tuple(0, 0, 1));
}

// The example schematic simulated end to end (the 8051 counts on P1 and the display follows),
// and qiro-cli asm against golden files.

class McuSimulation : public ::testing::TestWithParam<EngineKind> {
 protected:
  void SetUp() override {
    ws.SetHomeDir(SourceRoot());
    ClearSchematic(ws);
    ASSERT_TRUE(SchematicLoad(ws, SourceRoot() / "examples" / "mcu_counter.sch", kLoadOpen));
    ExtractCircuit(ws);
    ws.engine.Kind = GetParam();
    for (int i = 1; i <= ws.circuit.Symbols.Count(); ++i) {
      if (ws.circuit.Symbols[i].Name == "i8051") mcu = i;
      if (ws.circuit.Symbols[i].Name == "display1") display = i;
    }
    ASSERT_TRUE(mcu > 0 && display > 0);
  }
  // The byte on eight pins (first pin = bit 7), or -1 when one of them is x.
  int PortByte(int symbol, int firstPin) {
    int value = 0;
    for (int p = firstPin; p < firstPin + 8; ++p) {
      const std::uint8_t v = ws.nodes[ws.circuit.Symbols[symbol].Pin(p).Node].Value;
      if (v == kLogicX) return -1;
      value = value * 2 + (v == kLogic1 ? 1 : 0);
    }
    return value;
  }
  Workspace ws;
  int mcu = 0, display = 0;
};

TEST_P(McuSimulation, CounterReachesTheDisplayAfterReset) {
  // Clock period 20 steps, rising at steps 30, 50, ...; reset released after step 20.
  ASSERT_TRUE(RunUntil(ws, 25));
  EXPECT_EQ(PortByte(display, 1), -1);  // held in reset: P1 drives nothing
  EXPECT_EQ(ws.mcu.Program[0], 0x78);   // assembled at the start of the run
  // One count every 5 instructions (100 steps); count 1 leaves the core at step 110.
  ASSERT_TRUE(RunUntil(ws, 1000));
  EXPECT_EQ(std::pair(PortByte(display, 1), PortByte(mcu, kMcuP1Pin)), std::pair(9, 9));
  ASSERT_TRUE(RunUntil(ws, 1100));
  EXPECT_EQ(PortByte(display, 1), 10);
}

INSTANTIATE_TEST_SUITE_P(BothEngines, McuSimulation,
                         ::testing::Values(EngineKind::Reference, EngineKind::Fast));

// Through qiro-cli: the count on the display, then the keyboard's key once the button is on.
TEST(McuSimulationCli, ExampleCountsThenShowsTheKey) {
  const auto r = RunCli("simulate '" + (SourceRoot() / "examples" / "mcu_counter.sch").string() +
                        "' --until 1400 --expect b0=1@1000 --expect b1=0@1000 --expect b3=1@1000"
                        " --key kbd1=6@1000 --toggle button1@1050 --expect b0=0@1400 --expect b1=1@1400"
                        " --expect b2=1@1400 --expect b3=0@1400 --expect b7=0@1400");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("display display1=06"), std::string::npos) << r.out;
}

// The example keeps counting for as long as it runs: its reset source lets go for good.
TEST(McuSimulationCli, ExampleStillCountsLongAfterItsFirstTwoHundredMicroseconds) {
  std::string display[2];
  for (int k = 0; k < 2; ++k) {
    const std::string until = k == 0 ? "300000" : "400000";
    const auto r =
        RunCli("simulate '" + (SourceRoot() / "examples/mcu_counter.sch").string() + "' --until " + until);
    EXPECT_EQ(r.status, 0) << r.out;
    // The CPU time in the last status varies from run to run.
    std::string out = r.out;
    for (auto at = out.find("CPU time= "); at != std::string::npos; at = out.find("CPU time= ", at + 1))
      out.replace(at + 10, out.find('s', at + 10) - at - 10, "*");
    EXPECT_EQ(out, ReadFile(SourceRoot() / "tests/golden/mcu" / ("mcu_counter_" + until + ".txt")));
    display[k] = r.out.substr(r.out.find("display display1="));
  }
  EXPECT_NE(display[0], display[1]);
}

TEST(AsmCli, ExampleSchematicMatchesItsGoldenListingAndHex) {
  test::TempDir dir;
  const auto r = RunCli("asm '" + (SourceRoot() / "examples/mcu_counter.sch").string() + "' --hex '" +
                        (dir / "out.hex").string() + "'");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, ReadFile(SourceRoot() / "tests/golden/mcu/mcu_counter.lst"));
  EXPECT_EQ(ReadFile(dir / "out.hex"), ReadFile(SourceRoot() / "tests/golden/mcu/mcu_counter.hex"));
}

TEST(AsmCli, PlainAssemblyFileAndBadArguments) {
  test::TempDir dir;
  const std::string p = "asm '" + (dir / "p.asm").string() + "'",
                    bad = "asm '" + (dir / "bad.asm").string() + "'";
  test::WriteFile(dir / "p.asm", "start: inc a\r\n ajmp start\r\n");
  auto r = RunCli(p);
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out.substr(0, r.out.find("List of symbols")),
            "0000   04          >start: inc a\n0001   01 00       > ajmp start\n");
  EXPECT_NE(r.out.find(".START 0000\n"), std::string::npos);
  // Problems are listed; only --strict makes them fail the command.
  test::WriteFile(dir / "bad.asm", "foo r9,#300\n");
  r = RunCli(bad);
  EXPECT_NE(r.out.find("**** line 1: unknown mnemonic R9\n"), std::string::npos) << r.out;
  EXPECT_EQ(std::to_string(r.status) + std::to_string(RunCli(bad + " --strict").status) +
                std::to_string(RunCli(p + " --strict").status),
            "010");
  for (const std::string& args :
       {"asm '" + (dir / "missing.sch").string() + "'", std::string("asm"), p + " --hex"})
    EXPECT_EQ(RunCli(args).status, 1) << args;
}

}  // namespace
}  // namespace qiro
