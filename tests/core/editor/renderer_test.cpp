#include "editor/renderer.h"

#include "core/editor/recording_canvas.h"
#include "core/test_support.h"

namespace qiro {
namespace {

using namespace palette;
using namespace test;

// A workspace whose view maps one unit to `scale` pixels from the origin.
class RendererTest : public ::testing::Test {
 protected:
  void SetScale(double scale) {
    ws.view.area = PixelRect{0, 0, 400, 400};
    ws.view.world = Rect{0, 0, static_cast<int>(400 / scale), static_cast<int>(400 / scale)};
    ws.view.FitView();
  }
  void SetUp() override { SetScale(1.0); }

  int AddSymbol(int model, std::initializer_list<TInnerLine> lines = {}) {
    int s = ws.circuit.AddSymbol("sym");
    TSymbol& sym = ws.circuit.Symbols[s];
    sym.Model = model;
    sym.BBox = Rect{0, 0, 100, 100};
    for (const auto& l : lines) ws.circuit.AddInnerLine(s, l.x1, l.y1, l.x2, l.y2);
    return s;
  }

  // A fresh recording of one symbol.
  void Redraw(int s) {
    canvas.Reset();
    DrawSymbol(ws, canvas, s);
  }

  Workspace ws;
  RecordingCanvas canvas;
};

TEST_F(RendererTest, FarZoomedOutGridStaysBounded) {
  // Millions of grid lines share the 400 pixel columns: each pixel is set once at most.
  struct Counting : NullCanvas {
    void SetPixel(int, int, Colour) override { ++pixels; }
    long pixels = 0;
  } counting;
  ws.view.world = Rect{-50000000, -50000000, 50000000, 50000000};
  ws.view.FitView();
  DrawGrid(ws, counting);
  EXPECT_TRUE(ws.view.gridStep == 25 && counting.pixels <= 400L * 400L * 5L);
}

TEST_F(RendererTest, EraseLineMasksWithThePenAndSaysSo) {
  test::RecordingHost host;
  ws.SetHost(&host);
  ws.circuit.AddWire(10, 10, 50, 10);
  canvas.pen().op = RasterOp::Xor;
  EraseLine(ws, canvas, 1);
  ASSERT_EQ(canvas.ops.size(), 1u);
  EXPECT_TRUE(canvas.ops[0].pen.op == RasterOp::MaskNotPen && canvas.ops[0].pen.colour == kCyan);
  EXPECT_TRUE(canvas.pen().op == RasterOp::Xor && host.LastStatus(0) == "Line Erased");  // the pen restored
}

TEST_F(RendererTest, PinMarksColoursAndLabels) {
  int s = AddSymbol(0);
  for (auto [x, kind, name] : {std::tuple{50, 'I', "A"}, {60, 'I', "B"}, {70, 'O', "Y"}})
    ws.circuit.AddPin(s, x, 50, kind, name, 0, 0, ws.tech);
  TSymbol& sym = ws.circuit.Symbols[s];
  std::tie(sym.Pins[2].State, sym.Pins[3].State, sym.Vis) = std::tuple(kHighlight, kHighlight2, 1);
  ws.view.gridStep = 5;
  DrawSymbol(ws, canvas, s);
  EXPECT_EQ(canvas.Colours(OpKind::Fill), (std::vector<Colour>{kYellow, kWhite, kMagenta}));
  EXPECT_EQ(canvas.Of(OpKind::Fill)[0].r, (PixelRect{47, 47, 53, 53}));  // d = 3 below grid step 10
  ASSERT_TRUE(canvas.FindText("A") && canvas.FindText("A")->r.top == 52);

  ws.view.gridStep = 25;
  Redraw(s);
  // 5 pixels wide.
  EXPECT_TRUE(canvas.Of(OpKind::Fill)[0].r == (PixelRect{48, 48, 52, 52}) &&
              canvas.FindText("A")->r.top == 47);

  // Breakpoints outrank the highlight; both together are silver.
  const std::pair<int, Colour> breaks[] = {{16, kRed}, {32, kPurple}, {48, kSilver}};
  for (auto [bits, colour] : breaks) {
    sym.Vis = bits;
    Redraw(s);
    EXPECT_EQ(canvas.Colours(OpKind::Fill), std::vector<Colour>(3, colour));
  }

  sym.Vis = 0;
  sym.Pins[1].Node = 17;
  ws.view.netView = true;
  Redraw(s);
  EXPECT_TRUE(canvas.FindText("17") && !canvas.FindText("A"));
}

TEST_F(RendererTest, SingleStepShowsEachPinsDelayLine) {
  int s = AddSymbol(860);  // a register: its output has a delay line
  ws.circuit.AddPin(s, 50, 50, 'O', "Y", 0, 0, ws.tech);
  std::tie(ws.circuit.Symbols[s].Pins[1].LineStart, ws.circuit.Symbols[s].Pins[1].LineEnd) = std::pair(2, 5);
  const std::uint8_t cells[] = {2, 2, kLogic1, kLogic0, kLogicX, kLogic1};
  ws.view.delayCells = cells;
  ws.view.singleStep = true;
  DrawSymbol(ws, canvas, s);
  const auto* text = canvas.FindText("10x1");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::pair(text->r.left, text->r.top), std::pair(47, 67));

  ws.circuit.Symbols[s].Pins[1].LineEnd = 99;  // past the cells: cut, not read
  Redraw(s);
  EXPECT_NE(canvas.FindText("10x1"), nullptr);

  // A button drives its node without a line of its own: the step shows the node's level.
  for (int model : {59, 70, 81}) {
    const int b = AddSymbol(model);
    ws.circuit.AddPin(b, 150, 50, 'O', "a", 0, 0, ws.tech);
    ws.circuit.Symbols[b].Pins[1].Node = 1;
    Redraw(b);
    EXPECT_NE(canvas.FindText("1"), nullptr) << model;
  }
}

TEST_F(RendererTest, TitleAndPropertyText) {
  int s = AddSymbol(901);
  TSymbol& sym = ws.circuit.Symbols[s];
  std::tie(sym.Name, sym.Title, sym.PropWords[1], sym.PropWords[2]) =
      std::tuple("nmos3", "M1", "2.0u", "0.25u");
  std::tie(sym.TitleX, sym.TitleY, sym.Vis) = std::tuple(20, 30, 2 | 4);
  DrawSymbol(ws, canvas, s);
  const auto* title = canvas.FindText("M1");
  const auto* size = canvas.FindText("W=2.0u L=0.25u");
  const auto* name = canvas.FindText("nmos3");
  ASSERT_TRUE(title && size && name);
  EXPECT_TRUE(title->r == (PixelRect{20, 30, 20, 30}) && size->r.top == 45 && name->r.top == 60 &&
              title->font.colour == kWhite && title->brush.colour == kBlack);

  const auto redrawText = [&] {
    canvas.Reset();
    DrawPropertyText(ws, canvas, s);
  };
  sym.Model = 81;
  for (auto [format, text] : {std::pair{0, "(Hexa)"}, {1, "(Unsigned)"}, {2, "(Int)"}, {3, "(Fixed)"}}) {
    sym.Vis = 2 | (format << 6);
    redrawText();
    EXPECT_NE(canvas.FindText(text), nullptr) << text;
  }
  sym.Model = 89;  // a hexadecimal digit says nothing about its format
  sym.Vis = 2;
  redrawText();
  EXPECT_EQ(canvas.Of(OpKind::Text).size(), 1u);

  ws.settings.Monochrome = true;
  redrawText();
  EXPECT_TRUE(canvas.ops[0].font.colour == kBlack && canvas.ops[0].brush.colour == kWhite);
}

TEST_F(RendererTest, RubberBandsUndoThemselves) {
  XorRectangle(canvas, 50, 60, 10, 20);
  XorLine(canvas, 1, 2, 3, 4);
  ASSERT_EQ(canvas.ops.size(), 2u);
  EXPECT_TRUE(canvas.ops[0].kind == OpKind::Rectangle && canvas.ops[0].brush.transparent &&
              canvas.ops[0].r == (PixelRect{10, 20, 50, 60}));
  EXPECT_EQ(canvas.ops[0].pen, (Pen{kWhite, PenStyle::Dotted, RasterOp::Xor, 1}));
  // The state is restored for the next drawing.
  EXPECT_TRUE(canvas.ops[1].pen.op == RasterOp::NotXor && canvas.ops[1].pen.style == PenStyle::Dotted &&
              canvas.pen() == Pen{});
}

TEST_F(RendererTest, SimulationOverlaysShowNodeValues) {
  int err = 0;
  int n = ws.nodes.AddNode("a", err);
  std::tie(ws.nodes[0].Value, ws.nodes[1].Value, ws.nodes[n].Value) = std::tuple(kLogic0, kLogic1, kLogicX);
  int s = AddSymbol(0);
  for (auto [x, name, node] : {std::tuple{10, "P", 1}, {20, "Q", 0}, {30, "R", n}}) {
    ws.circuit.AddPin(s, x, 10, 'I', name, 0, 0, ws.tech);
    ws.circuit.Symbols[s].Pins.back().Node = node;
  }

  DrawWireStates(ws, canvas);
  EXPECT_EQ(canvas.Colours(OpKind::Fill), (std::vector<Colour>{kRed, kGreen, kGrey}));
  EXPECT_EQ(canvas.Of(OpKind::Fill)[0].r, (PixelRect{8, 8, 12, 12}));

  ws.view.gridStep = 10;
  canvas.Reset();
  DrawPinValues(ws, canvas);
  auto texts = canvas.Of(OpKind::Text);
  ASSERT_EQ(texts.size(), 6u);
  std::string shown;
  for (const auto& t : texts) shown += t.text;
  EXPECT_EQ(shown, "P1Q0Rx");  // each value wipes the old one first, black on black
  EXPECT_EQ(canvas.Colours(OpKind::Text),
            (std::vector<Colour>{kBlack, kWhite, kBlack, kWhite, kBlack, kWhite}));
  EXPECT_EQ(texts[1].r, (PixelRect{12, 7, 12, 7}));

  // In monochrome the wipe is white and the value black: no black blocks on the white page.
  ws.settings.Monochrome = true;
  canvas.Reset();
  DrawPinValues(ws, canvas);
  texts = canvas.Of(OpKind::Text);
  EXPECT_TRUE(texts[0].font.colour == kWhite && texts[0].brush.colour == kWhite &&
              texts[1].font.colour == kBlack);
}

TEST(LightColourTest, LettersInEitherCase) {
  // 'p' is what the properties dialog stores for purple.
  std::vector<Colour> colours;
  for (char letter : std::string("yGbVpr?")) colours.push_back(LightColour(letter));
  EXPECT_EQ(colours, (std::vector<Colour>{kYellow, kGreen, kBlue, kPurple, kPurple, kRed, kRed}));
}

}  // namespace
}  // namespace qiro
