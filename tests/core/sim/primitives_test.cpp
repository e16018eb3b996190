// The built-in models on a symbol whose pin values are set directly.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "sim/primitives.h"

namespace qiro {
namespace {

// Pin values as text ('1', '0', 'x' from pin 1) now and before the step; the outputs written
// ('h' for held) in the order written, e.g. "6=1,7=0".
struct FakePins {
  static std::uint8_t Code(char c) { return c == '1' ? kLogic1 : c == '0' ? kLogic0 : kLogicX; }
  std::uint8_t ReadPin(int p) const { return p >= 1 && p <= int(now.size()) ? Code(now[p - 1]) : kValueX; }
  std::uint8_t Prev(int p) const {
    return p >= 1 && p <= int(before.size()) ? Code(before[p - 1]) : ReadPin(p);
  }
  bool RisingEdge(int p) const { return Prev(p) == kLogic0 && ReadPin(p) == kLogic1; }
  bool FallingEdge(int p) const { return Prev(p) == kLogic1 && ReadPin(p) == kLogic0; }
  void WritePin(int p, std::uint8_t v) { Out(p, v == kLogic1 ? '1' : v == kLogic0 ? '0' : 'x'); }
  void HoldPin(int p) { Out(p, 'h'); }
  void Out(int p, char c) { out += (out.empty() ? "" : ",") + std::to_string(p) + "=" + c; }
  const std::string& Prop(int k) const { return k == 6 ? word6 : empty; }
  std::string now, before, word6, empty, out;
};

std::string Eval(int model, const std::string& now, const std::string& before = "",
                 const std::string& word6 = "") {
  FakePins p{now, before, word6, "", ""};
  ComputeSymbol(model, p);
  return p.out;
}

TEST(Primitives, EveryModelOnItsPinLevels) {
  // Model, pin levels now and before the step ('-' for none), outputs written ('h' for held).
  // Gates fold with x: nand2, nor2, and3, or2, xor3, xnor2 (equivalence), xnor3, not, buf, a gate
  // without inputs, and12; tri-state buffer, nmos, pmos, a resistor (computes nothing); the mux
  // holds on select x; the D register (D, Rst, H) takes D on the falling clock and resets at once
  // (reset x is inactive); the JK register (J, clock, K, set, reset) acts on rising edges, and set
  // beats reset and the edge.
  std::istringstream table(R"(
    202 0x - 3=1  202 1x - 3=x  202 x0 - 3=1  202 11 - 3=0  302 1x - 3=0  302 0x - 3=x  403 110 - 4=0
    403 111 - 4=1  502 x1 - 3=1  502 00 - 3=0  603 111 - 4=1  603 110 - 4=0  603 1x1 - 4=x  612 00 - 3=1
    612 01 - 3=0  612 11 - 3=1  613 000 - 4=0  101 x - 2=x  101 1 - 2=0  111 0 - 2=0  200 - - 1=x
    412 111111111111 - 13=1
    121 01 - 3=1  121 x1 - 3=x  121 10 - 3=x  121 1x - 3=x  901 01 - 3=0  901 10 - 3=x  901 1x - 3=x
    902 10 - 3=1  902 11 - 3=x  903 111 - -  143 100 - 4=1  143 101 - 4=0  143 10x - 4=h
    860 101 100 4=h,5=h  860 100 101 4=1,5=0  860 x00 x01 4=x,5=x  860 110 111 4=0,5=1
    860 111 111 4=0,5=1  860 1x0 1x1 4=1,5=0  860 100 10x 4=h,5=h
    830 1110010 1010010 6=0,7=1  830 1110001 1010001 6=1,7=0  830 1010010 1110010 6=h,7=h
    830 1100001 1000001 6=1,7=0  830 0110010 0010010 6=0,7=1  830 0100010 0000010 6=h,7=h
    830 x100010 x000010 6=x,7=x  830 0001010 - 6=1,7=0  830 0000110 - 6=0,7=1  830 01011 00011 6=1,7=0
    830 000x0 - 6=x,7=x)");
  int model = 0, cases = 0;
  std::string now, before, written;
  auto text = [](const std::string& s) { return s == "-" ? "" : s; };
  for (; table >> model >> now >> before >> written; ++cases)
    EXPECT_EQ(Eval(model, text(now), text(before)), text(written)) << model << " " << now << " " << before;
  EXPECT_EQ(cases, 53);
  // The lut indexes its property words: pins 1 and 3 high give index 5, word 6.
  EXPECT_EQ(Eval(kModelLut, "1010", "", "1"), "5=1");
  EXPECT_EQ(Eval(kModelLut, "1010", "", "0abc"), "5=0");
  EXPECT_EQ(Eval(kModelLut, "1010", "", ""), "5=x");
  EXPECT_EQ(Eval(kModelLut, "10x0", "", "1"), "5=x");
}

TEST(Primitives, DrivenPinsFollowTheModel) {
  const auto pins = [](int model) {
    const DriveList d = DrivenPins(model);
    return std::to_string(d.count) + ":" + std::to_string(d.pins[0]) + " pulse " +
           std::to_string(d.pulsePin) + (d.tristate ? " tristate" : "");
  };
  // A gate of twelve inputs drives the pin it computes, not pin 3.
  const std::pair<int, const char*> cases[] = {
      {202, "1:3 pulse 3"},  {143, "1:4 pulse 4"}, {412, "1:13 pulse 13"}, {121, "1:3 pulse 3 tristate"},
      {860, "2:4 pulse 4"},  {830, "2:6 pulse 0"}, {903, "1:3 pulse 0"},   {702, "0:0 pulse 0"},
      {6000, "0:0 pulse 0"}, {49, "0:0 pulse 0"}};
  for (const auto& [model, text] : cases) EXPECT_EQ(pins(model), text) << model;
}

}  // namespace
}  // namespace qiro
