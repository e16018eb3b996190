#include "mcu/mcu_core.h"

#include <gtest/gtest.h>

#include "mcu/assembler.h"
#include "model/records.h"

namespace qiro {
namespace {

// Pins without delay: a node value per pin, and the output each pin last got.
class FakePins : public McuPins {
 public:
  FakePins() {
    node.fill(kLogicX);
    prev.fill(kLogicX);
    out.fill(kLogicX);
  }
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
  // One full clock period: low step, then the rising step.
  void Clock() {
    Step(kLogic0);
    Step(kLogic1);
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

  Mcu mcu;
  FakePins pins;
};

TEST(McuLengthTable, RowsAndSharedColumns) {
  EXPECT_EQ(kMcuLengthTable[0x00], 1);
  EXPECT_EQ(kMcuLengthTable[0x12], 3);
  EXPECT_EQ(kMcuLengthTable[0x75], 3);
  EXPECT_EQ(kMcuLengthTable[0x7F], 2);
  EXPECT_EQ(kMcuLengthTable[0x90], 3);
  EXPECT_EQ(kMcuLengthTable[0xB8], 0);
  EXPECT_EQ(kMcuLengthTable[0xD5], 3);
  EXPECT_EQ(kMcuLengthTable[0xDF], 0);
  EXPECT_EQ(kMcuLengthTable[0xFF], 1);
  for (int op : {0x02, 0x10, 0x21, 0x31, 0x40, 0x73, 0x80, 0xB5, 0xB7, 0xD8, 0xF1})
    EXPECT_EQ(kMcuLengthTable[op], 0);
}

TEST_F(McuCoreTest, ResetHoldsPortsAtXAndReleaseStartsAtZero) {
  Load({" mov 90h,#0F0h", " inc a"});
  mcu.Pc = 7;
  mcu.Acc = 9;
  mcu.Reg[5] = 4;
  pins.node[kMcuResetPin] = kLogic0;
  pins.out[12] = kLogic1;
  Clock();
  Clock();
  EXPECT_EQ(Outputs(12), "xxxxxxxx");
  EXPECT_EQ(mcu.Pc, 0);
  EXPECT_EQ(mcu.Acc, 0);
  EXPECT_EQ(mcu.Reg[5], 4);  // registers survive a reset

  pins.node[kMcuResetPin] = kLogic1;
  Clock();
  EXPECT_EQ(Outputs(12), "11110000");
  EXPECT_EQ(pins.node[12], kLogic1);
  EXPECT_EQ(pins.node[19], kLogic0);
  EXPECT_EQ(mcu.Pc, 3);
  EXPECT_EQ(Outputs(28), "xxxxxxxx");
}

TEST_F(McuCoreTest, ExecutesOnlyOnRisingEdgesAndNothingWhenClockOrResetIsX) {
  Load({" inc a", " inc a", " inc a"});
  Step(kLogic1);  // x -> 1 is no edge
  Step(kLogic1);
  EXPECT_EQ(mcu.Acc, 0);
  Clock();
  EXPECT_EQ(mcu.Acc, 1);
  Step(kLogic0);
  EXPECT_EQ(mcu.Acc, 1);

  pins.node[kMcuResetPin] = kLogicX;
  Clock();
  EXPECT_EQ(mcu.Acc, 1);
  pins.node[kMcuResetPin] = kLogic1;
  pins.node[kMcuClockPin] = kLogicX;
  McuStep(mcu, pins);
  EXPECT_EQ(mcu.Acc, 1);
}

TEST_F(McuCoreTest, PortReadAndBitAddresses) {
  Load({" mov a,90h", " setb 91h", " setb 30h", " clr 91h", " cpl 0B7h", " cpl 0B7h", " mov 80h,#0FFh"});
  const std::uint8_t levels[8] = {kLogic1, kLogic0, kLogicX, kLogic1, kLogic0, kLogic0, kLogic0, kLogic1};
  for (int i = 0; i < 8; ++i) pins.node[12 + i] = levels[i];
  Clock();
  EXPECT_EQ(mcu.Acc, 0x91);
  Clock();
  EXPECT_EQ(pins.out[18], kLogic1);  // P1.1
  Clock();
  EXPECT_EQ(pins.out[35], kLogic1);  // high digit 3 selects P3, bit 0
  Clock();
  EXPECT_EQ(pins.out[18], kLogic0);
  Clock();
  EXPECT_EQ(pins.out[28], kLogic1);  // P3.7 read as x: complemented to 1
  pins.node[28] = kLogic1;
  Clock();
  EXPECT_EQ(pins.out[28], kLogic0);
  Clock();
  EXPECT_EQ(Outputs(4), "11111111");  // P0 changes its outputs but never drives a node
  EXPECT_EQ(pins.node[4], kLogicX);
}

TEST_F(McuCoreTest, ArithmeticWrapsAndRegisters) {
  Load({" mov a,#0FFh", " inc a", " mov a,#80h", " rl a", " rr a", " mov a,#0FFh", " add a,#1", " dec a",
        " mov r3,#0FEh", " add a,r3", " mov r7,a", " inc r7", " dec r0", " orl a,#1", " anl a,#0Fh",
        " xrl a,#0Ah", " cpl a", " clr a"});
  auto after = [&](int n) {
    for (int i = 0; i < n; ++i) Clock();
  };
  after(2);
  EXPECT_EQ(mcu.Acc, 0x00);
  after(2);
  EXPECT_EQ(mcu.Acc, 0x01);
  after(1);
  EXPECT_EQ(mcu.Acc, 0x80);
  after(2);
  EXPECT_EQ(mcu.Acc, 0x00);
  after(1);
  EXPECT_EQ(mcu.Acc, 0xFF);
  after(2);
  EXPECT_EQ(mcu.Acc, 0xFD);
  after(2);
  EXPECT_EQ(mcu.Reg[7], 0xFE);
  after(1);
  EXPECT_EQ(mcu.Reg[0], 0xFF);
  after(3);
  EXPECT_EQ(mcu.Acc, 0x07);
  after(1);
  EXPECT_EQ(mcu.Acc, 0xF8);
  after(1);
  EXPECT_EQ(mcu.Acc, 0x00);
}

TEST_F(McuCoreTest, JumpsAndLoops) {
  Load({" mov r1,#3", "loop: inc a", " cjne r1,#0,next", " ajmp done", "next: dec r1", " ajmp loop",
        "done: jz zero", " jnz done", "zero: db 2"});
  for (int i = 0; i < 40; ++i) Clock();
  EXPECT_EQ(mcu.Acc, 4);
  EXPECT_TRUE(mcu.Pc == 11 || mcu.Pc == 13) << mcu.Pc;  // spinning on JZ / JNZ

  Load({" db 2"});  // LJMP: outside the subset, it repeats forever
  mcu.Pc = 0;
  Clock();
  Clock();
  EXPECT_EQ(mcu.Pc, 0);
  EXPECT_EQ(mcu.Opcode, 0x02);
}

TEST_F(McuCoreTest, JbAndJnbOnPinLevels) {
  Load({"wait: jb p3.0,wait", " jnb p3.1,$", " inc a"});
  pins.node[35] = kLogic1;
  Clock();
  EXPECT_EQ(mcu.Pc, 0);
  pins.node[35] = kLogicX;  // x satisfies neither
  Clock();
  EXPECT_EQ(mcu.Pc, 3);
  pins.node[34] = kLogicX;
  Clock();
  EXPECT_EQ(mcu.Pc, 6);
}

TEST_F(McuCoreTest, CallsReturnAndStackLimits) {
  // s0..s8 each call the next and then return; the ninth call finds the stack full and
  // acts as a jump; the last RET finds it empty and goes on with the next instruction.
  std::vector<std::string> src;
  for (int i = 0; i < 9; ++i) {
    src.push_back("s" + std::to_string(i) + ": acall s" + std::to_string(i + 1));
    src.push_back(" ret");
  }
  src.push_back("s9: inc a");
  src.push_back(" ret");
  Load(src);
  for (int i = 0; i < 9; ++i) Clock();
  EXPECT_EQ(mcu.Depth, 8);
  EXPECT_EQ(mcu.Pc, 27);
  Clock();  // inc a
  Clock();  // ret at 28 pops s7's return address
  EXPECT_EQ(mcu.Pc, 23);
  for (int i = 0; i < 7; ++i) Clock();
  EXPECT_EQ(mcu.Pc, 2);
  EXPECT_EQ(mcu.Depth, 0);
  Clock();
  EXPECT_EQ(mcu.Pc, 3);
  EXPECT_EQ(mcu.Depth, 0);

  // A call from above address 253 returns to its caller.
  Load({" org 300", " acall sub", " mov a,#5", " db 2", " org 40h", "sub: ret"});
  mcu.Pc = 300;
  Clock();
  EXPECT_EQ(mcu.Pc, 0x40);
  Clock();
  EXPECT_EQ(mcu.Pc, 302);
  Clock();
  EXPECT_EQ(mcu.Acc, 5);
}

TEST_F(McuCoreTest, FetchesStayInsideTheProgram) {
  Load({});
  mcu.Program[1023] = 0x04;  // inc a
  mcu.Pc = 1023;
  Clock();
  EXPECT_EQ(mcu.Acc, 1);
  Clock();  // pc 1024 still fetches the last byte
  EXPECT_EQ(mcu.Acc, 2);
  mcu.Pc = 0xFFFF;
  Clock();
  EXPECT_EQ(mcu.Pc, 0);
}

TEST(McuState, ShowsAccumulatorAddressAndOpcode) {
  Mcu mcu;
  mcu.Acc = 0xA;
  mcu.Pc = 0x1F3;
  mcu.Opcode = 0xB4;
  auto lines = McuStateLines(mcu);
  EXPECT_EQ(lines[0], "A=0A");
  EXPECT_EQ(lines[1], "adr=01F3");
  EXPECT_EQ(lines[2], "opCode=B4");
}

}  // namespace
}  // namespace qiro
