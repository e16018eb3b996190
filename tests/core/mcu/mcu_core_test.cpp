#include "mcu/mcu_core.h"

#include <gtest/gtest.h>

#include "mcu/assembler.h"
#include "model/records.h"

namespace qiro {
namespace {

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
  std::string lengths;
  for (int op : {0x00, 0x12, 0x75, 0x7F, 0x90, 0xB8, 0xD5, 0xDF, 0xFF, 0x02,
                 0x10, 0x21, 0x31, 0x40, 0x73, 0x80, 0xB5, 0xB7, 0xD8, 0xF1})
    lengths += std::to_string(kMcuLengthTable[op]);
  EXPECT_EQ(lengths, "13323030100000000000");
}

TEST_F(McuCoreTest, ResetHoldsPortsAtXAndReleaseStartsAtZero) {
  Load({" mov 90h,#0F0h", " inc a"});
  mcu.Pc = 7, mcu.Acc = 9, mcu.Reg[5] = 4;
  pins.node[kMcuResetPin] = kLogic0;
  pins.out[12] = kLogic1;
  Clock(2);
  EXPECT_EQ(Outputs(12), "xxxxxxxx");
  EXPECT_EQ(std::tuple(mcu.Pc, mcu.Acc, mcu.Reg[5]), std::tuple(0, 0, 4));  // registers survive a reset
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
  Clock(2);
  EXPECT_EQ(std::pair(int(mcu.Pc), int(mcu.Opcode)), std::pair(0, 0x02));
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
  for (int i = 0; i < 9; ++i)
    src.insert(src.end(), {"s" + std::to_string(i) + ": acall s" + std::to_string(i + 1), " ret"});
  src.insert(src.end(), {"s9: inc a", " ret"});
  Load(src);
  Clock(9);
  EXPECT_EQ(std::pair(int(mcu.Depth), int(mcu.Pc)), std::pair(8, 27));
  Clock(2);  // inc a; the ret at 28 pops s7's return address
  EXPECT_EQ(mcu.Pc, 23);
  Clock(7);
  EXPECT_EQ(std::pair(int(mcu.Depth), int(mcu.Pc)), std::pair(0, 2));
  Clock();
  EXPECT_EQ(std::pair(int(mcu.Depth), int(mcu.Pc)), std::pair(0, 3));
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

TEST_F(McuCoreTest, FetchesStayInsideTheProgramAndStateLinesShowThem) {
  Load({});
  mcu.Program[1023] = 0x04;  // inc a
  mcu.Pc = 1023;
  EXPECT_EQ(AccAfterEach(2), "01 02 ");  // pc 1024 still fetches the last byte
  mcu.Pc = 0xFFFF;
  Clock();
  EXPECT_EQ(mcu.Pc, 0);
  mcu.Acc = 0xA, mcu.Pc = 0x1F3, mcu.Opcode = 0xB4;
  EXPECT_EQ(McuStateLines(mcu), (std::array<std::string, 3>{"A=0A", "adr=01F3", "opCode=B4"}));
}

}  // namespace
}  // namespace qiro
