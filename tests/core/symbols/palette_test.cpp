#include "symbols/palette.h"

#include <set>

#include "core/test_support.h"
#include "model/catalogue.h"
#include "model/symbol_library.h"

namespace qiro {
namespace {

using namespace test;

struct Palette : WorkspaceTest {
  Palette() { ws.SetHomeDir(SourceRoot()); }
};

TEST_F(Palette, EveryButtonPlacesAShippedLibrarySymbol) {
  std::set<std::string> names;
  for (const PaletteButton& b : PaletteButtons()) {
    EXPECT_TRUE(names.insert(b.Name).second) << b.Name << " twice";
    EXPECT_EQ(ModelOfPaletteButton(b.Name), b.Model);
    const auto path = SymbolPath(ws, LibraryNameOfModel(b.Model));
    EXPECT_TRUE(std::filesystem::is_regular_file(path)) << b.Name << ": " << path;
  }
  EXPECT_EQ(PaletteButtons().size(), 40u);
  EXPECT_EQ(std::pair(ModelOfPaletteButton("sbNor3"), ModelOfPaletteButton("SpeedButton7")),
            std::pair(303, 59));
}

TEST_F(Palette, PrepareDragMeasuresTheOutlineAtTheCurrentZoom) {
  ws.view.world = Rect{-40, -40, 260, 180};  // about two pixels per unit; the symbol off the origin
  ws.view.FitView();
  ASSERT_GT(ws.view.scaleX, 1.9);
  const auto bb = MeasureSymbolFile(ws, SymbolPath(ws, "and2"));
  ASSERT_TRUE(bb);
  PaletteState state;
  EXPECT_FALSE(PrepareDrag(ws, state, 402));
  EXPECT_TRUE(state.InsertPending && state.Dragging && state.Model == 402);
  EXPECT_NEAR(state.OutlineWidth, ws.view.scaleX * (bb->x2 - bb->x1), 1);
  EXPECT_NEAR(state.OutlineHeight, ws.view.scaleY * (bb->y2 - bb->y1), 1);
}

TEST_F(Palette, MissingFileWarnsWithItsPathAndAllowsNoDrop) {
  const TempDir& empty = dir;
  ws.SetHomeDir(empty.path());
  PaletteState state;
  state.OutlineWidth = 7;
  const auto warning = PrepareDrag(ws, state, 0);
  ASSERT_TRUE(warning);
  const std::string path = (empty.path() / "IEEE" / "vss.SYM").string();
  EXPECT_EQ(*warning, "The symbol " + path +
                          " is not in this directory. Click \"File\" \"Properties\" to setup the directory");
  EXPECT_TRUE(state.InsertPending && !state.Dragging && state.OutlineWidth == 7);

  // A file without a BB line keeps the previous outline but can still be dragged.
  std::filesystem::create_directories(empty.path() / "IEEE");
  WriteFile(empty.path() / "IEEE" / "vss.SYM", "USER SYMBOL by QIRO 2.3c\r\nFSYM\r\n");
  EXPECT_FALSE(PrepareDrag(ws, state, 0));
  EXPECT_TRUE(state.Dragging && state.OutlineWidth == 7);
}

}  // namespace
}  // namespace qiro
