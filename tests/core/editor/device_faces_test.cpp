#include "editor/device_faces.h"

#include "core/editor/recording_canvas.h"
#include "core/test_support.h"
#include "sim/devices.h"
#include "sim/display_format.h"

namespace qiro {
namespace {

using namespace palette;
using namespace test;

class DeviceFaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ws.view.world = Rect{0, 0, 400, 400};
    ws.view.area = PixelRect{0, 0, 400, 400};
    ws.view.FitView();
  }
  // A device with its rectangle and one node per pin; levels are set with SetPins.
  int AddDevice(int model, int pins, Rect rec, char colour = 'y') {
    int s = ws.circuit.AddSymbol("dev");
    TSymbol& d = ws.circuit.Symbols[s];
    std::tie(d.Model, d.Rec, d.BBox, d.RecColour, d.Vis) = std::tuple(model, rec, rec, colour, 0);
    int err = 0;
    for (int k = 1; k <= pins; ++k) {
      ws.circuit.AddPin(s, rec.x1, rec.y1 + k, 'I', "p" + std::to_string(k), 0, 0, ws.tech);
      ws.circuit.Symbols[s].Pins[k].Node = ws.nodes.AddNode("n", err);
    }
    return s;
  }
  // Levels of pins 1..n as characters '1', '0', 'x'.
  void SetPins(int s, const std::string& levels) {
    TSymbol& d = ws.circuit.Symbols[s];
    for (std::size_t k = 0; k < levels.size(); ++k) {
      const std::uint8_t v = levels[k] == '1' ? kLogic1 : (levels[k] == '0' ? kLogic0 : kLogicX);
      d.Pins[k + 1].Value = v;
      ws.nodes[d.Pins[k + 1].Node].Value = v;
    }
  }
  // Sets the pin levels and draws the face afresh.
  bool Face(int s, const std::string& levels) {
    SetPins(s, levels);
    canvas.Reset();
    return DrawDeviceFace(ws, canvas, s);
  }
  // The fills drawn in a colour, after the first (background) fill.
  std::vector<PixelRect> FillsIn(Colour c) const {
    std::vector<PixelRect> out;
    for (const auto& op : canvas.Of(OpKind::Fill))
      if (op.colour == c) out.push_back(op.r);
    return out;
  }

  Workspace ws;
  RecordingCanvas canvas;
};

TEST_F(DeviceFaceTest, LightAndButtonFillByLevelThenRedrawTheSymbol) {
  int light = AddDevice(kModelLight, 1, {10, 10, 50, 50}, 'g');
  ws.circuit.AddInnerLine(light, 10, 10, 50, 10);
  const std::pair<char, Colour> levels[] = {{'1', kGreen}, {'0', kBlack}, {'x', kGrey}};
  for (auto [level, colour] : levels) {
    ASSERT_TRUE(Face(light, std::string(1, level)));
    ASSERT_GE(canvas.ops.size(), 2u);
    EXPECT_TRUE(canvas.ops[0].r == (PixelRect{11, 11, 50, 50}) && canvas.ops[0].colour == colour) << level;
    EXPECT_EQ(canvas.ops[1].kind, OpKind::Segment);  // the outline on top
  }

  int button = AddDevice(kModelButton, 1, {100, 10, 140, 50}, 'r');
  ws.circuit.Symbols[button].Pins[1].Value = kLogic1;  // its held level, whatever the node says
  canvas.Reset();
  EXPECT_TRUE(DrawDeviceFace(ws, canvas, button) && canvas.ops[0].colour == kRed);
  ws.settings.Monochrome = true;
  Face(light, "0");
  EXPECT_EQ(canvas.ops[0].colour, kWhite);
}

TEST_F(DeviceFaceTest, OffScreenAndOrdinarySymbolsDrawNothing) {
  int light = AddDevice(kModelLight, 1, {500, 500, 540, 540});
  int gate = AddDevice(102, 3, {10, 10, 50, 50});
  for (int s : {light, gate, 77}) EXPECT_FALSE(DrawDeviceFace(ws, canvas, s)) << s;
  EXPECT_TRUE(canvas.ops.empty());
}

TEST_F(DeviceFaceTest, SineBarRisesWithItsValue) {
  int sine = AddDevice(kModelSinus, 8, {0, 0, 100, 255});
  Face(sine, "11111111");
  EXPECT_EQ(FillsIn(kYellow), (std::vector<PixelRect>{{0, 0, 100, 255}}));  // 255 / 255 * 255 + 1 pixels up
  EXPECT_EQ(canvas.Of(OpKind::Rectangle).size(), 1u);

  Face(sine, "00000001");  // pin 8 is the high bit: 128
  EXPECT_EQ(FillsIn(kYellow)[0].top, 255 - 129 + 1);
}

TEST_F(DeviceFaceTest, KeyboardLightsTheCellOfItsKey) {
  int kbd = AddDevice(kModelKbd, 4, {0, 0, 80, 80});
  Face(kbd, "0000");
  EXPECT_EQ(FillsIn(kBlue), (std::vector<PixelRect>{{0, 57, 23, 80}}));  // key 0 at the bottom left
  Face(kbd, "0010");
  EXPECT_EQ(FillsIn(kBlue), (std::vector<PixelRect>{{0, 37, 23, 60}}));  // key 4 starts the second row
  Face(kbd, "1111");
  EXPECT_EQ(FillsIn(kBlue), (std::vector<PixelRect>{{60, -3, 83, 20}}));  // key 15 at the top right
}

TEST_F(DeviceFaceTest, SevenSegmentsNeedPin8Low) {
  int seg = AddDevice(kModelSevenSeg, 8, {0, 0, 80, 160}, 'r');
  Face(seg, "1000000x");
  ASSERT_TRUE(FillsIn(kRed).empty() && canvas.Of(OpKind::Fill).size() == 1u);
  EXPECT_EQ(canvas.ops[0].r, (PixelRect{-10, -10, 90, 170}));  // margin (80 - 0) / 8

  Face(seg, "10000010");  // a and g lit
  // a: from L = 26 to R = 80 on the top edge; g: on the middle line.
  EXPECT_EQ(FillsIn(kRed), (std::vector<PixelRect>{{16, -10, 90, 10}, {16, 70, 90, 90}}));
}

TEST_F(DeviceFaceTest, DigitGlyphsBlankAndSignedFormat) {
  int digit = AddDevice(kModelDigit, 5, {0, 0, 80, 160}, 'r');
  auto litCount = [&](const std::string& levels, int format) {
    ws.circuit.Symbols[digit].Vis = format << 6;
    Face(digit, levels);
    return FillsIn(kRed).size();
  };
  EXPECT_EQ(litCount("10000", kFormatHex), 7u);         // 8: every segment
  EXPECT_EQ(litCount("00010", kFormatHex), 2u);         // 1: b and c
  EXPECT_EQ(litCount("11000", kFormatHex), 3u);         // 12: the small c, d e g
  EXPECT_EQ(litCount("11110", kFormatHex), 4u);         // 15: F is a e f g
  EXPECT_EQ(litCount("10001", kFormatHex), 0u);         // pin 5 blanks it
  EXPECT_EQ(litCount("11100", kFormatSigned), 5u + 1);  // 14 is -2: abdeg and the minus
  EXPECT_EQ(litCount("01110", kFormatSigned), 3u);      // 7 stays 7, without a sign
  EXPECT_EQ(litCount("10000", kFormatFixedPoint), 0u);
}

TEST_F(DeviceFaceTest, DisplayShowsItsFourPositions) {
  int display = AddDevice(kModelDisplay, 8, {0, 0, 400, 100}, 'b');
  auto lit = [&](const std::string& levels, int format) {
    ws.circuit.Symbols[display].Vis = format << 6;
    Face(display, levels);
    return FillsIn(kBlue);
  };
  // 0x5A in hexadecimal: 5 (acdfg) in the first box, A (abcefg) in the second.
  auto fills = lit("01011010", kFormatHex);
  ASSERT_EQ(fills.size(), 5u + 6u);
  EXPECT_EQ(canvas.ops[0].r, (PixelRect{-8, -8, 408, 108}));       // margin 400 / 50
  for (int k = 0; k < 5; ++k) EXPECT_LE(fills[k].right, 75 + 8);   // box 1: 0 .. round(0.75 x 100)
  for (int k = 5; k < 11; ++k) EXPECT_GE(fills[k].left, 100 - 8);  // box 2 starts at 100

  EXPECT_EQ(lit("11111111", kFormatUnsigned).size(), 15u);  // 255: 2, 5, 5
  EXPECT_EQ(lit("00000000", kFormatUnsigned).size(), 6u);   // 0: blank, blank, 0
  auto minus = lit("11111111", kFormatSigned);              // -1: minus in box 1, then 1
  ASSERT_EQ(minus.size(), 1u + 2u);
  EXPECT_TRUE(minus[0].right < 100 && minus[0].top == 50 - 8);  // the middle bar
}

TEST_F(DeviceFaceTest, MicrocontrollerShowsItsRegisters) {
  int mcu = AddDevice(2051, 0, {40, 40, 200, 300});
  std::tie(ws.mcu.Acc, ws.mcu.Pc, ws.mcu.Opcode) = std::tuple(0x3C, 0x12, 0xE4);
  ASSERT_TRUE(DrawMcuState(ws, canvas, mcu));
  auto texts = canvas.Of(OpKind::Text);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].text + " " + texts[1].text + " " + texts[2].text, "A=3C adr=0012 opCode=E4");
  EXPECT_TRUE(texts[2].r.top - texts[0].r.top == 40 && canvas.ops[0].kind == OpKind::Fill &&
              canvas.ops[0].r.left == 40);

  ws.circuit.Symbols[mcu].BBox = Rect{1000, 1000, 1100, 1100};
  canvas.Reset();
  EXPECT_FALSE(DrawMcuState(ws, canvas, mcu) || !canvas.ops.empty());
}

}  // namespace
}  // namespace qiro
