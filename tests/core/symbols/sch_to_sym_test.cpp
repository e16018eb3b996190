#include "symbols/sch_to_sym.h"

#include <gtest/gtest.h>

#include "core/test_support.h"
#include "workspace.h"

namespace qiro {
namespace {

using test::ReadFile;
using test::RecordingHost;
using test::TempDir;

// A design with inputs a, b and output s, its module text already written.
void AdderPorts(Workspace& ws) {
  ws.extraction.InputNames = {"a", "b"};
  ws.extraction.OutputNames = {"s"};
  ws.extraction.DesignName = "half";
  ws.verilog.Lines = {"module half( a,b,s);", " input a,b;", " output s;", " xor xor1(s,a,b);", "endmodule"};
}

TEST(SchToSym, RanksByNameInEitherOrder) {
  Workspace ws;
  ws.extraction.InputNames = {"b", "C", "a", "c"};
  ws.extraction.OutputNames = {"y", "x"};
  SchToSym g;
  g.UpdateOptions(ws);
  std::vector<std::string> pos;
  for (const auto& r : g.Rows) pos.push_back(r.Position);
  // Decreasing: alphabetically last at 1; equal names (C, c) keep distinct places.
  EXPECT_EQ(pos, (std::vector<std::string>{"3", "1", "4", "2", "1", "2"}));
  EXPECT_EQ(g.Rows[0].Side, "L");
  EXPECT_EQ(g.Rows[4].Side, "R");

  g.Decreasing = false;
  g.UpdateOptions(ws);
  pos.clear();
  for (const auto& r : g.Rows) pos.push_back(r.Position);
  EXPECT_EQ(pos, (std::vector<std::string>{"2", "3", "1", "4", "2", "1"}));
}

TEST(SchToSym, DefaultLayoutAndFileText) {
  Workspace ws;
  AdderPorts(ws);
  SchToSym g;
  g.UpdateOptions(ws);
  ASSERT_TRUE(g.Generate(ws));
  EXPECT_EQ(g.Symbol.Extent, (Rect{0, 0, 40, 30}));
  EXPECT_EQ(g.Symbol.Box, (Rect{5, 5, 35, 25}));
  ASSERT_EQ(g.Symbol.Pins.size(), 3u);
  EXPECT_EQ(g.Symbol.Pins[0].Y, 20);  // a
  EXPECT_EQ(g.Symbol.Pins[1].Y, 10);  // b
  EXPECT_EQ(g.Symbol.Pins[2].X, 40);  // s

  const std::string expected =
      "USER SYMBOL by QIRO 2.3c\r\n"
      "DATE 01/02/2026 10:00:00\r\n"
      "SYM  #half\r\n"
      "BB(0,0,40,30)\r\n"
      "TITLE 10 10  #half\r\n"
      "MODEL 6000\r\n"
      "REC(5,5,30,20)\r\n"
      "PIN(0,20,0.000,0)a\r\n"
      "PIN(0,10,0.000,0)b\r\n"
      "PIN(40,10,1.000,0)s\r\n"
      "LIG(0,20,5,20)\r\n"
      "LIG(0,10,5,10)\r\n"
      "LIG(35,10,40,10)\r\n"
      "LIG(5,5,5,25)\r\n"
      "LIG(5,5,35,5)\r\n"
      "LIG(35,5,35,25)\r\n"
      "LIG(35,25,5,25)\r\n"
      "VLG module half( a,b,s);\r\n"
      "VLG  input a,b;\r\n"
      "VLG  output s;\r\n"
      "VLG  xor xor1(s,a,b);\r\n"
      "VLG endmodule\r\n"
      "FSYM\r\n";
  EXPECT_EQ(SymbolFileText(g.Symbol, g.Name, g.Title, g.ModuleText, "01/02/2026 10:00:00"), expected);
}

TEST(SchToSym, TopAndBottomSidesWidenTheBox) {
  Workspace ws;
  AdderPorts(ws);
  SchToSym g;
  g.UpdateOptions(ws);
  g.Rows[1].Side = "T";  // b
  g.Rows[1].Position = "2";
  ASSERT_TRUE(g.Generate(ws));
  EXPECT_EQ(g.Symbol.Extent, (Rect{0, 0, 60, 40}));
  EXPECT_EQ(g.Symbol.Box, (Rect{5, 5, 55, 35}));
  EXPECT_EQ(g.Symbol.Pins[1].X, 25);
  EXPECT_EQ(g.Symbol.Pins[1].Y, 0);
  const std::string text = SymbolFileText(g.Symbol, g.Name, g.Title, g.ModuleText, "d");
  EXPECT_NE(text.find("LIG(25,0,25,5)\r\n"), std::string::npos);

  // Lower-case bottom letter; an unknown side leaves the pin at (0, 0) with the left segment.
  g.Rows[1].Side = "d";
  g.Rows[2].Side = "x";
  ASSERT_TRUE(g.Generate(ws));
  EXPECT_EQ(g.Symbol.Pins[1].Y, g.Symbol.Extent.y2);
  EXPECT_EQ(g.Symbol.Pins[2].X, 0);
  EXPECT_EQ(g.Symbol.Pins[2].Y, 0);
  EXPECT_NE(SymbolFileText(g.Symbol, g.Name, g.Title, g.ModuleText, "d").find("LIG(0,0,5,0)"),
            std::string::npos);
}

TEST(SchToSym, NonIntegerPositionStopsTheLayout) {
  RecordingHost host;
  Workspace ws(&host);
  AdderPorts(ws);
  SchToSym g;
  g.UpdateOptions(ws);
  g.Rows[1].Position = "2.5";
  EXPECT_FALSE(g.Generate(ws));
  EXPECT_EQ(host.LastStatus(0), "Row 2: the position \"2.5\" is not a whole number.");
  EXPECT_TRUE(host.errors.empty());
  // Saving stops at the same row and writes nothing.
  TempDir dir;
  g.Directory = dir.path().string();
  EXPECT_TRUE(g.Save(ws, "now").empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(SchToSym, SavesUnderTheIdentifierAndRefusesAUsedName) {
  TempDir dir;
  RecordingHost host;
  Workspace ws(&host);
  AdderPorts(ws);
  SchToSym g;
  g.UpdateOptions(ws);
  g.Directory = dir.path().string();
  g.Name = "my-adder 2";
  const auto path = g.Save(ws, "now");
  EXPECT_EQ(path, dir / "my_adder2.sym");
  EXPECT_EQ(host.LastStatus(0), "Save symbol \"my-adder 2\" in directory " + dir.path().string());
  EXPECT_NE(ReadFile(path).find("SYM  #my-adder 2\r\n"), std::string::npos);
  EXPECT_EQ(ws.extraction.DesignName, "my_adder2");

  ws.circuit.AddSymbol("half");
  g.Name = "half";
  EXPECT_TRUE(g.Save(ws, "now").empty());
  EXPECT_FALSE(std::filesystem::exists(dir / "half.sym"));
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_EQ(host.errors[0], "The module name \"half\" is already used in the design. Save failed.");

  g.Name = "other";
  g.Directory = (dir / "missing").string();
  EXPECT_TRUE(g.Save(ws, "now").empty());
  EXPECT_EQ(host.errors.size(), 2u) << "an unwritable directory is reported";
}

TEST(SchToSym, AnExistingFileIsReplacedOnlyWhenAllowedAndTheFolderIsRemembered) {
  TempDir dir;
  Workspace ws;
  AdderPorts(ws);
  SchToSym g;
  g.UpdateOptions(ws);
  g.Directory = dir.path().string();
  test::WriteFile(dir / "half.sym", "mine");
  std::vector<std::filesystem::path> asked;
  bool answer = false;
  const auto mayReplace = [&](const std::filesystem::path& p) { return asked.push_back(p), answer; };
  EXPECT_TRUE(g.Save(ws, "now", mayReplace).empty());
  EXPECT_EQ(ReadFile(dir / "half.sym"), "mine");
  EXPECT_TRUE(ws.settings.GeneratedSymbolDir.empty());
  answer = true;
  EXPECT_EQ(g.Save(ws, "now", mayReplace), dir / "half.sym");
  EXPECT_NE(ReadFile(dir / "half.sym"), "mine");
  EXPECT_EQ(asked, (std::vector<std::filesystem::path>{dir / "half.sym", dir / "half.sym"}));
  // The next dialog, and Insert User Symbol, start in that folder.
  EXPECT_EQ(GeneratedSymbolFolder(ws), dir.path());
  g.UpdateOptions(ws);
  EXPECT_EQ(g.Directory, dir.path().string());
}

TEST(SchToSym, CheckNamesEachUnusableField) {
  Workspace ws;
  AdderPorts(ws);
  SchToSym g;
  g.UpdateOptions(ws);
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
  EXPECT_EQ(MakeIdentifier("my-adder 2"), "my_adder2");
  EXPECT_EQ(MakeIdentifier("a/b\\c=d+e.f>g<h"), "abbbcedpepfsgih");
  EXPECT_EQ(MakeIdentifier("x(1,2);[3]"), "x123");
  EXPECT_EQ(MakeIdentifier("d\xe9j\xe8"), "deje");
  EXPECT_EQ(MakeIdentifier("d\xc3\xa9j\xc3\xa8"), "deje");
  EXPECT_EQ(MakeIdentifier(" ( ) "), "null");
  EXPECT_EQ(MakeIdentifier(""), "null");
  EXPECT_EQ(MakeIdentifier("a\x01"
                           "b\x7f\r\nc"),
            "ab")
      << "control characters never reach a file name";
}

TEST(SchToSym, EveryTextOfTheFileStaysOnItsLine) {
  const std::string inject = "\x01\x7f\r\nSYM  #evil";
  GeneratedSymbol symbol;
  symbol.Pins.push_back({"p" + inject, 0, 10, 0, 0});
  const std::string text =
      SymbolFileText(symbol, "n" + inject, "t" + inject, {"module m" + inject}, "d" + inject);
  EXPECT_EQ(text.find("evil"), std::string::npos) << text;
  EXPECT_EQ(text.find_first_of("\x01\x7f"), std::string::npos);
  for (const char* line : {"\r\nSYM  #n\r\n", "  #t\r\n", ")p\r\n", "\r\nVLG module m\r\n", "DATE d\r\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
}

}  // namespace
}  // namespace qiro
