// The built-in models on a symbol whose pin values are set directly.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "sim/primitives.h"

namespace qiro {
namespace {

// Pin values as text: '1', '0', 'x' per pin from pin 1; what was written, and what held.
struct FakePins {
  explicit FakePins(const std::string& now, const std::string& before = "") : now(now), before(before) {}

  static std::uint8_t Code(char c) { return c == '1' ? kLogic1 : c == '0' ? kLogic0 : kLogicX; }
  static char Char(std::uint8_t v) { return v == kLogic1 ? '1' : v == kLogic0 ? '0' : 'x'; }

  std::uint8_t ReadPin(int p) const {
    return p >= 1 && p <= static_cast<int>(now.size()) ? Code(now[p - 1]) : kValueX;
  }
  std::uint8_t Prev(int p) const {
    return p >= 1 && p <= static_cast<int>(before.size()) ? Code(before[p - 1]) : ReadPin(p);
  }
  bool RisingEdge(int p) const { return Prev(p) == kLogic0 && ReadPin(p) == kLogic1; }
  bool FallingEdge(int p) const { return Prev(p) == kLogic1 && ReadPin(p) == kLogic0; }
  void WritePin(int p, std::uint8_t v) { out[p] = Char(v); }
  void HoldPin(int p) { out[p] = 'h'; }
  const std::string& Prop(int k) const {
    static const std::string empty;
    auto it = props.find(k);
    return it == props.end() ? empty : it->second;
  }
  // The outputs in pin order, e.g. "6=1 7=0".
  std::string Written() const {
    std::string s;
    for (auto [p, v] : out) s += (s.empty() ? "" : " ") + std::to_string(p) + "=" + v;
    return s;
  }

  std::string now, before;
  std::map<int, char> out;
  std::map<int, std::string> props;
};

std::string Eval(int model, const std::string& now, const std::string& before = "") {
  FakePins p(now, before);
  ComputeSymbol(model, p);
  return p.Written();
}

TEST(Primitives, GateFoldsWithX) {
  EXPECT_EQ(Eval(202, "0x"), "3=1");  // nand2
  EXPECT_EQ(Eval(202, "1x"), "3=x");
  EXPECT_EQ(Eval(202, "x0"), "3=1");
  EXPECT_EQ(Eval(202, "11"), "3=0");
  EXPECT_EQ(Eval(302, "1x"), "3=0");  // nor2
  EXPECT_EQ(Eval(302, "0x"), "3=x");
  EXPECT_EQ(Eval(403, "110"), "4=0");  // and3
  EXPECT_EQ(Eval(403, "111"), "4=1");
  EXPECT_EQ(Eval(502, "x1"), "3=1");  // or2
  EXPECT_EQ(Eval(502, "00"), "3=0");
  EXPECT_EQ(Eval(603, "111"), "4=1");  // xor3
  EXPECT_EQ(Eval(603, "110"), "4=0");
  EXPECT_EQ(Eval(603, "1x1"), "4=x");
  EXPECT_EQ(Eval(612, "00"), "3=1");  // xnor2 is equivalence
  EXPECT_EQ(Eval(612, "01"), "3=0");
  EXPECT_EQ(Eval(612, "11"), "3=1");
  EXPECT_EQ(Eval(613, "000"), "4=0");  // the xnor fold for three inputs
  EXPECT_EQ(Eval(101, "x"), "2=x");
  EXPECT_EQ(Eval(101, "1"), "2=0");
  EXPECT_EQ(Eval(111, "0"), "2=0");
  EXPECT_EQ(Eval(412, "111111111111"), "13=1");  // and12
  EXPECT_EQ(Eval(200, ""), "1=x");               // a gate without inputs
}

TEST(Primitives, DrivenPinsFollowTheModel) {
  EXPECT_EQ(DrivenPins(202).pins[0], 3);
  EXPECT_EQ(DrivenPins(143).pins[0], 4);
  // A gate of twelve inputs drives the pin it computes, not pin 3.
  EXPECT_EQ(DrivenPins(412).pins[0], 13);
  EXPECT_EQ(DrivenPins(412).pulsePin, 13);
  EXPECT_TRUE(DrivenPins(121).tristate);
  const DriveList dreg = DrivenPins(860);
  EXPECT_EQ(dreg.count, 2);
  EXPECT_EQ(dreg.pulsePin, 4);
  EXPECT_EQ(DrivenPins(830).pulsePin, 0);
  EXPECT_EQ(DrivenPins(903).pins[0], 3);
  EXPECT_EQ(DrivenPins(702).count, 0);
  EXPECT_EQ(DrivenPins(6000).count, 0);
  EXPECT_EQ(DrivenPins(49).count, 0);
}

TEST(Primitives, TristateAndSwitches) {
  EXPECT_EQ(Eval(121, "01"), "3=1");
  EXPECT_EQ(Eval(121, "x1"), "3=x");
  EXPECT_EQ(Eval(121, "10"), "3=x");
  EXPECT_EQ(Eval(121, "1x"), "3=x");
  EXPECT_EQ(Eval(901, "01"), "3=0");  // nmos on
  EXPECT_EQ(Eval(901, "10"), "3=x");  // off: undriven
  EXPECT_EQ(Eval(901, "1x"), "3=x");
  EXPECT_EQ(Eval(902, "10"), "3=1");  // pmos on
  EXPECT_EQ(Eval(902, "11"), "3=x");
  EXPECT_EQ(Eval(903, "111"), "");  // electrical elements compute nothing
}

TEST(Primitives, MuxSelectsOrHolds) {
  EXPECT_EQ(Eval(143, "100"), "4=1");
  EXPECT_EQ(Eval(143, "101"), "4=0");
  EXPECT_EQ(Eval(143, "10x"), "4=h");
}

TEST(Primitives, DregTakesDOnTheFallingClockAndResetsAtOnce) {
  // Pins: D, Rst, H, Q, nQ.
  EXPECT_EQ(Eval(860, "101", "100"), "4=h 5=h");  // rising H: no change
  EXPECT_EQ(Eval(860, "100", "101"), "4=1 5=0");  // falling H: Q = D
  EXPECT_EQ(Eval(860, "x00", "x01"), "4=x 5=x");
  EXPECT_EQ(Eval(860, "110", "111"), "4=0 5=1");  // reset wins over the edge
  EXPECT_EQ(Eval(860, "111", "111"), "4=0 5=1");
  EXPECT_EQ(Eval(860, "1x0", "1x1"), "4=1 5=0");  // reset x is inactive
  EXPECT_EQ(Eval(860, "100", "10x"), "4=h 5=h");  // x -> 0 is no edge
}

TEST(Primitives, JkRegisterEdgesSetAndReset) {
  // Pins: J, clock, K, set, reset, Q, nQ.
  EXPECT_EQ(Eval(830, "1110010", "1010010"), "6=0 7=1");  // J = K = 1 toggles Q = 1
  EXPECT_EQ(Eval(830, "1110001", "1010001"), "6=1 7=0");
  EXPECT_EQ(Eval(830, "1010010", "1110010"), "6=h 7=h");  // falling clock holds
  EXPECT_EQ(Eval(830, "1100001", "1000001"), "6=1 7=0");  // J only
  EXPECT_EQ(Eval(830, "0110010", "0010010"), "6=0 7=1");  // K only
  EXPECT_EQ(Eval(830, "0100010", "0000010"), "6=h 7=h");
  EXPECT_EQ(Eval(830, "x100010", "x000010"), "6=x 7=x");
  EXPECT_EQ(Eval(830, "0001010", ""), "6=1 7=0");     // set
  EXPECT_EQ(Eval(830, "0000110", ""), "6=0 7=1");     // reset
  EXPECT_EQ(Eval(830, "01011", "00011"), "6=1 7=0");  // set beats reset and the edge
  EXPECT_EQ(Eval(830, "000x0", ""), "6=x 7=x");
}

TEST(Primitives, LutIndexesItsPropertyWords) {
  FakePins p("1010");  // pins 1 and 3 high: index 5, property word 6
  p.props[6] = "1";
  ComputeSymbol(kModelLut, p);
  EXPECT_EQ(p.Written(), "5=1");
  p.props[6] = "0abc";
  ComputeSymbol(kModelLut, p);
  EXPECT_EQ(p.Written(), "5=0");
  p.props[6] = "";
  ComputeSymbol(kModelLut, p);
  EXPECT_EQ(p.Written(), "5=x");
  FakePins withX("10x0");
  withX.props[6] = "1";
  ComputeSymbol(kModelLut, withX);
  EXPECT_EQ(withX.Written(), "5=x");
}

}  // namespace
}  // namespace qiro
