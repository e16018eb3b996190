#include "model/catalogue.h"

#include "core/test_support.h"
#include "model/schematic_file.h"
#include "model/symbol_library.h"

namespace qiro {
namespace {

TEST(Catalogue, RecognisesNamesByPrefixInOrder) {
  std::string canonical = "unchanged";
  EXPECT_EQ(GateCodeOfName("inverter", canonical), 0);
  EXPECT_EQ(canonical, "not");
  EXPECT_EQ(GateCodeOfName("bufif1", canonical), 3) << "six-character prefixes come first";
  EXPECT_EQ(std::pair(GateCodeOfName("notif1x"), GateCodeOfName("orange")), std::pair(1, 5));
  canonical = "kept";
  EXPECT_EQ(GateCodeOfName("o", canonical), kGateNone);
  EXPECT_EQ(canonical, "kept");
  EXPECT_EQ(GateCodeOfName("AND"), kGateNone) << "case matters";

  EXPECT_EQ(std::vector<int>({InputDeviceClass("button12"), InputDeviceClass("padin3"),
                              InputDeviceClass("but"), OutputDeviceClass("padout3"),
                              OutputDeviceClass("out7"), OutputDeviceClass("display2")}),
            std::vector<int>({0, 6, 7, 2, 2, 3}));
}

TEST(Catalogue, ModelCodes) {
  // Case matters, and the whole name must match.
  for (auto [name, inputs, model] :
       {std::tuple{"and", 3, 403}, {"xnor", 2, 612}, {"AND", 2, 0}, {"nand2", 2, 0}})
    EXPECT_EQ(ModelOfPrimitive(name, inputs), model) << name;
  EXPECT_EQ(LibraryNameOfModel(304) + LibraryNameOfModel(5), "nor4?");
}

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
