#include "symbols/sch_to_sym.h"

#include "core/test_support.h"

namespace qiro {
namespace {

using namespace test;

// A design with inputs a, b and output s, its module text already written.
void AdderPorts(Workspace& ws) {
  ws.extraction.InputNames = {"a", "b"};
  ws.extraction.OutputNames = {"s"};
  ws.extraction.DesignName = "half";
  ws.verilog.Lines = {"module half( a,b,s);", " input a,b;", " output s;", " xor xor1(s,a,b);", "endmodule"};
}

// The half adder's ports, laid out with the dialog's defaults.
struct SchToSymTest : WorkspaceTest {
  SchToSymTest() {
    AdderPorts(ws);
    g.UpdateOptions(ws);
  }
  SchToSym g;
};

TEST_F(SchToSymTest, TopAndBottomSidesWidenTheBox) {
  g.Rows[1].Side = "T";  // b
  g.Rows[1].Position = "2";
  ASSERT_TRUE(g.Generate(ws));
  EXPECT_EQ(std::pair(g.Symbol.Extent, g.Symbol.Box), std::pair(Rect{0, 0, 60, 40}, Rect{5, 5, 55, 35}));
  EXPECT_EQ(std::pair(g.Symbol.Pins[1].X, g.Symbol.Pins[1].Y), std::pair(25, 0));
  const std::string text = SymbolFileText(g.Symbol, g.Name, g.Title, g.ModuleText, "d");
  EXPECT_NE(text.find("LIG(25,0,25,5)\r\n"), std::string::npos);

  // Lower-case bottom letter; an unknown side leaves the pin at (0, 0) with the left segment.
  g.Rows[1].Side = "d";
  g.Rows[2].Side = "x";
  ASSERT_TRUE(g.Generate(ws));
  EXPECT_EQ(std::tuple(g.Symbol.Pins[1].Y, g.Symbol.Pins[2].X, g.Symbol.Pins[2].Y),
            std::tuple(g.Symbol.Extent.y2, 0, 0));
  EXPECT_NE(SymbolFileText(g.Symbol, g.Name, g.Title, g.ModuleText, "d").find("LIG(0,0,5,0)"),
            std::string::npos);
}

TEST_F(SchToSymTest, NonIntegerPositionStopsTheLayout) {
  g.Rows[1].Position = "1000000";  // too large to be a position
  EXPECT_FALSE(g.Generate(ws));
  EXPECT_EQ(host.LastStatus(0), "Row 2: the position \"1000000\" is not a whole number.");
  g.Rows[1].Position = "2.5";
  EXPECT_FALSE(g.Generate(ws));
  EXPECT_TRUE(host.LastStatus(0) == "Row 2: the position \"2.5\" is not a whole number." &&
              host.errors.empty());
  // Saving stops at the same row and writes nothing.
  g.Directory = dir.path().string();
  EXPECT_TRUE(g.Save(ws, "now").empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(SchToSymTest, SavesUnderTheIdentifierAndRefusesAUsedName) {
  g.Directory = dir.path().string();
  g.Name = "my-adder 2";
  const auto path = g.Save(ws, "now");
  EXPECT_EQ(path, dir / "my_adder2.sym");
  EXPECT_EQ(host.LastStatus(0), "Save symbol \"my-adder 2\" in directory " + dir.path().string());
  EXPECT_TRUE(ReadFile(path).find("SYM  #my-adder 2\r\n") != std::string::npos &&
              ws.extraction.DesignName == "my_adder2");

  ws.circuit.AddSymbol("half");
  g.Name = "half";
  EXPECT_TRUE(g.Save(ws, "now").empty());
  EXPECT_FALSE(std::filesystem::exists(dir / "half.sym"));
  EXPECT_EQ(host.errors,
            std::vector<std::string>{"The module name \"half\" is already used in the design. Save failed."});

  g.Name = "other";
  g.Directory = (dir / "missing").string();
  EXPECT_TRUE(g.Save(ws, "now").empty());
  EXPECT_EQ(host.errors.size(), 2u) << "an unwritable directory is reported";
}

TEST_F(SchToSymTest, AnExistingFileIsReplacedOnlyWhenAllowedAndTheFolderIsRemembered) {
  g.Directory = dir.path().string();
  WriteFile(dir / "half.sym", "mine");
  std::vector<std::filesystem::path> asked;
  bool answer = false;
  const auto mayReplace = [&](const std::filesystem::path& p) { return asked.push_back(p), answer; };
  EXPECT_TRUE(g.Save(ws, "now", mayReplace).empty());
  EXPECT_TRUE(ReadFile(dir / "half.sym") == "mine" && ws.settings.GeneratedSymbolDir.empty());
  answer = true;
  EXPECT_EQ(g.Save(ws, "now", mayReplace), dir / "half.sym");
  EXPECT_NE(ReadFile(dir / "half.sym"), "mine");
  EXPECT_EQ(asked, (std::vector<std::filesystem::path>{dir / "half.sym", dir / "half.sym"}));
  // The next dialog, and Insert User Symbol, start in that folder.
  EXPECT_EQ(GeneratedSymbolFolder(ws), dir.path());
  g.UpdateOptions(ws);
  EXPECT_EQ(g.Directory, dir.path().string());
}

TEST_F(SchToSymTest, CheckNamesEachUnusableField) {
  EXPECT_TRUE(g.Check().empty());
  g.Name = "my mod!";
  g.Directory = "/no/such/folder";
  g.Rows[0].Position = "x";
  g.Rows[1].Side = "Q";
  g.Rows[2].Name = "s!";
  std::vector<std::pair<int, int>> where;
  for (const SchToSymProblem& p : g.Check()) where.emplace_back(p.Row, p.Column);
  EXPECT_EQ(where, (std::vector<std::pair<int, int>>{{-1, 0}, {-1, 2}, {0, 1}, {1, 2}, {2, 0}}));
}

TEST(MakeIdentifier, MapsAndDropsCharacters) {
  // Control characters never reach a file name.
  for (auto [name, id] : {std::pair{"my-adder 2", "my_adder2"},
                          {"a/b\\c=d+e.f>g<h", "abbbcedpepfsgih"},
                          {"x(1,2);[3]", "x123"},
                          {"d\xe9j\xe8", "deje"},
                          {"d\xc3\xa9j\xc3\xa8", "deje"},
                          {" ( ) ", "null"},
                          {"", "null"},
                          {"a\x01"
                           "b\x7f\r\nc",
                           "ab"}})
    EXPECT_EQ(MakeIdentifier(name), id) << name;
}

}  // namespace
}  // namespace qiro
