#include "model/catalogue.h"

#include "core/test_support.h"
#include "model/schematic_file.h"
#include "model/symbol_library.h"

namespace qiro {
namespace {

// Placing devices numbers them; New and Open restart the numbering.
using Placement = test::WorkspaceTest;
TEST_F(Placement, CountersAcrossNewAndOpen) {
  ws.settings.SymbolDir = dir.path();
  using test::WriteFile;
  WriteFile(dir / "button.SYM",
            "SYM  #button\nBB(0,0,30,20)\nTITLE 0 0  #button\nMODEL 59\nPIN(30,10,1.000,1.000)in\nFSYM\n");
  WriteFile(dir / "display.SYM",
            "SYM  #display\nBB(0,0,30,80)\nMODEL 81\n"
            "PIN(0,0,0,0)a\nPIN(0,10,0,0)a\nPIN(0,20,0,0)a\nPIN(0,30,0,0)a\n"
            "PIN(0,40,0,0)a\nPIN(0,50,0,0)a\nPIN(0,60,0,0)a\nPIN(0,70,0,0)a\nFSYM\n");
  WriteFile(dir / "dreg.SYM", "SYM  #d\nBB(0,0,30,80)\nTITLE 0 0  #dreg\nMODEL 860\nFSYM\n");

  ClearSchematic(ws);
  for (auto [model, x, y] : {std::tuple{59, 100, 100}, {59, 200, 100}, {81, 200, 300}, {860, 300, 300}})
    ASSERT_TRUE(PlaceLibrarySymbol(ws, model, x, y));
  const Circuit& c = ws.circuit;
  std::string names;
  for (const TSymbol& s : c.Symbols)
    names += s.Name + "/" + s.Title + "/" + s.Pin(1).Name + "/" + s.Pin(8).Name + " ";
  EXPECT_EQ(names, "button1/button/in1/ button2/button/in2/ display1//display11/display18 d/dreg1// ");

  ASSERT_TRUE(SchematicWrite(ws, dir / "two.sch"));
  ClearSchematic(ws);
  ASSERT_TRUE(PlaceLibrarySymbol(ws, 59, 100, 100));
  EXPECT_EQ(c.Symbols[1].Name, "button1") << "New restarts the counters";

  ASSERT_TRUE(OpenSchematic(ws, dir / "two.sch"));
  EXPECT_EQ(c.Symbols[1].Name, "button1") << "numbered names are kept";
  ASSERT_TRUE(PlaceLibrarySymbol(ws, 59, 100, 100));
  EXPECT_EQ(c.Symbols[5].Name, "button3") << "every button read advances the counter";

  EXPECT_FALSE(PlaceLibrarySymbol(ws, 5, 0, 0));
  EXPECT_EQ(host.errors.back(), "Error decoding the real value \"?\"");
  EXPECT_FALSE(PlaceLibrarySymbol(ws, 402, 0, 0));
  EXPECT_TRUE(host.errors.back() == "Read error of " + (dir / "and2.SYM").string() && c.Symbols.Count() == 5);

  EXPECT_EQ(MeasureSymbolFile(ws, dir / "display.SYM"), (Rect{0, 0, 30, 80}));
  EXPECT_TRUE(!MeasureSymbolFile(ws, dir / "none.SYM").has_value() && c.ErrorCode == 6);
}

}  // namespace
}  // namespace qiro
