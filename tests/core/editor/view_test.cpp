#include "editor/view.h"

#include "core/test_support.h"
#include "model/schematic_file.h"

namespace qiro {
namespace {

View MakeView(Rect world, PixelRect area) {
  View v;
  v.world = world;
  v.area = area;
  v.FitView();
  return v;
}

TEST(ViewTest, ZoomStepsTakeASeventhFromEachSide) {
  View v = MakeView({0, 0, 700, 350}, {0, 0, 700, 350});
  v.ZoomIn();
  EXPECT_EQ(v.world, (Rect{100, 50, 600, 300}));
  EXPECT_DOUBLE_EQ(v.scaleX, 1.4);
  v.ZoomOut();
  EXPECT_EQ(v.world, (Rect{29, 15, 671, 335}));  // 500 / 7 = 71, 250 / 7 = 35
}

TEST(ViewTest, ZoomToBandNormalisesOrShowsTheSquareAroundAClick) {
  View v;
  v.ZoomToBand(200, 150, 20, 30);
  EXPECT_EQ(v.world, (Rect{20, 30, 200, 150}));
  v.ZoomToBand(100, 100, 100, 100);
  EXPECT_EQ(v.world, (Rect{70, 70, 130, 130}));
  v.ZoomToBand(100, 100, 200, 110);  // wide but only 10 high
  EXPECT_EQ(v.world, (Rect{70, 70, 130, 130}));
}

TEST(ViewTest, FitCentresBarsAndAddsMargins) {
  Workspace ws;
  ws.view.hScroll = 3;
  FitViewToSchematic(ws);  // nothing drawn: the fixed box
  EXPECT_EQ(std::tuple(ws.circuit.BBox, ws.view.world, ws.view.hScroll),
            std::tuple(Rect{-15, -15, 70, 70}, Rect{-22, -22, 85, 85}, kScrollRange / 2));

  ws.circuit.AddWire(0, 0, 200, 0);
  ws.circuit.AddText(300, 100, "note");
  int s = ws.circuit.AddSymbol("and2");
  ws.circuit.Symbols[s].BBox = Rect{-50, -40, 0, 0};
  ws.circuit.AddSymbol("ghost");  // no drawing yet: its empty box must not blow the extent
  int deleted = ws.circuit.AddContact(1000, 1000);
  ws.circuit.Contacts[deleted].State = kDeleted;
  FitViewToSchematic(ws);
  EXPECT_EQ(std::pair(ws.circuit.BBox, ws.view.world),
            std::pair(Rect{-50, -40, 340, 110}, Rect{-57, -47, 355, 125}));

  // Saving writes the same box, the empty one of the symbol without drawing left out.
  const test::TempDir dir;
  ASSERT_TRUE(SchematicWrite(ws, dir / "fit.sch"));
  EXPECT_NE(test::ReadFile(dir / "fit.sch").find("\r\nBB(-50,-40,340,110)\r\n"), std::string::npos);

  // The view also shows a title standing above the box; the saved box stays the drawing's.
  ws.circuit.Symbols[s].TitleY = -60;
  FitViewToSchematic(ws);
  EXPECT_EQ(std::pair(ws.circuit.BBox, ws.view.world),
            std::pair(Rect{-50, -40, 340, 110}, Rect{-57, -67, 355, 125}));
}

TEST(ViewTest, WheelScrollsAndZoomsAboutThePointerAndSmallMovesAreClicks) {
  View v = MakeView({0, 0, 700, 700}, {0, 0, 700, 700});
  v.WheelScroll(0, 1);  // three positions of 700 / 20 units
  EXPECT_EQ(v.world, (Rect{0, 105, 700, 805}));
  v.WheelScroll(-1, 0);
  EXPECT_EQ(v.world, (Rect{-105, 105, 595, 805}));

  v = MakeView({0, 0, 700, 700}, {0, 0, 700, 700});
  v.ZoomAt(140, 70, true);
  EXPECT_EQ(v.world, (Rect{40, 20, 540, 520}));
  EXPECT_EQ(std::pair(v.WorldToScreenX(140), v.WorldToScreenY(70)),
            std::pair(140, 70));  // stays under the pointer
  v.ZoomAt(140, 70, false);
  EXPECT_EQ(v.world, (Rect{0, 0, 700, 700}));

  v.gridStep = 5;
  EXPECT_TRUE(WithinClick(v, 10, 10, 14, 6) && !WithinClick(v, 10, 10, 10, 15));
}

TEST(ViewTest, ScrollBarsAndArrowKeysShiftTheView) {
  View v = MakeView({0, 0, 200, 100}, {0, 0, 200, 100});
  v.ScrollHorizontalTo(v.hScroll + 2);  // 2 positions of 200 / 20 units
  EXPECT_EQ(v.world, (Rect{20, 0, 220, 100}));
  v.ArrowKey(ViewKey::Up);
  EXPECT_EQ(v.world, (Rect{20, -5, 220, 95}));
  v.ScrollHorizontalTo(1000);  // beyond the bar's end
  EXPECT_EQ(std::tuple(v.hScroll, v.world.x1, v.WorldToScreenX(v.world.x1)),
            std::tuple(kScrollRange, 20 + (kScrollRange - kScrollRange / 2 - 2) * 10, 0));
}

}  // namespace
}  // namespace qiro
