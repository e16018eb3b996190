#include "model/schematic_file.h"

#include <sstream>

#include "core/test_support.h"

namespace qiro {
namespace {

using namespace test;

// Replaces LF by CR LF.
std::string Crlf(std::string text) {
  for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2) text.insert(at, 1, '\r');
  return text;
}

// The text without its VERSION and FFIG lines, which hold the time and the path.
std::string WithoutVersionAndEnd(const std::string& text) {
  std::istringstream in(text);
  std::string line, out;
  while (std::getline(in, line))
    if (line.rfind("VERSION ", 0) != 0 && line.rfind("FFIG ", 0) != 0) out += line + "\n";
  return out;
}

// One record of every kind, and a wire after the end line that must not be read.
const std::string kSample = ReadFile(SourceRoot() / "tests/core/model/sample.sch");

using SchematicFile = WorkspaceTest;

TEST_F(SchematicFile, WriteReadWriteIsStableAndUsesCrLf) {
  WriteFile(dir / "a.sch", Crlf(kSample));
  ASSERT_TRUE(OpenSchematic(ws, dir / "a.sch"));
  ASSERT_TRUE(SchematicWrite(ws, dir / "b.sch"));
  EXPECT_TRUE(!ws.circuit.Modified && ws.circuit.FileName == (dir / "b.sch").string());
  EXPECT_EQ(host.LastStatus(), (dir / "b.sch").string() + " saved...");
  const std::string first = ReadFile(dir / "b.sch");
  EXPECT_EQ(first.find("\n"), first.find("\r\n") + 1);
  // The bounding box is recomputed from what is written: the label reaches (140, 130).
  for (const std::string& line :
       std::vector<std::string>{"PIN(60,20,1.000,1.000)y", "REC(20,10,15,20,g)", "CNC(7 9)",
                                "TEXT 100 120  #a label", "VLG  nand g1(y, a, b);", "MEM  mov a,#1",
                                "PROP   a b " + std::string(198, ' '), "BB(0,0,140,130)"})
    EXPECT_NE(first.find("\r\n" + line + "\r\n"), std::string::npos) << line;

  ASSERT_TRUE(OpenSchematic(ws, dir / "b.sch"));
  ASSERT_TRUE(SchematicWrite(ws, dir / "c.sch"));
  const std::string second = ReadFile(dir / "c.sch");
  EXPECT_EQ(WithoutVersionAndEnd(first), WithoutVersionAndEnd(second));
  EXPECT_EQ(second.substr(second.rfind("FFIG ")), "FFIG " + (dir / "c.sch").string() + "\r\n");

  // A symbol the extraction made inside another is not written.
  ws.circuit.Symbols[1].Internal = 1;
  ASSERT_TRUE(SchematicWrite(ws, dir / "d.sch"));
  EXPECT_EQ(ReadFile(dir / "d.sch").find("SYM  #and2"), std::string::npos);
}

// Older files give lights, buttons and clocks an empty face rectangle: it is placed in the box.
TEST_F(SchematicFile, EmptyFacesOfLightsButtonsAndClocksAreMadeFromTheBox) {
  std::string text;
  for (int model : {49, 59, 69})
    text += "SYM  #d\nBB(10,20,40,50)\nMODEL " + std::to_string(model) + "\nREC(0,0,0,0,r)\nFSYM\n";
  WriteFile(dir / "r.sch", text);
  ASSERT_TRUE(OpenSchematic(ws, dir / "r.sch"));
  std::vector<int> corners;
  for (int s = 1; s <= 3; ++s) {
    const Rect& r = ws.circuit.Symbols[s].Rec;
    corners.insert(corners.end(), {r.x1, r.y1, r.x2, r.y2});
  }
  EXPECT_EQ(corners, (std::vector<int>{11, 21, 15, 25, 11, 21, 17, 27, 12, 21, 16, 24}));
}

TEST_F(SchematicFile, InsertGoesRightOfTheCurrentSchematic) {
  WriteFile(dir / "i.sch", "BB(0,0,40,40)\nLIG(0,0,10,0)\nCNC(0 0)\nTEXT 5 5  #t\n");
  ClearSchematic(ws);
  ws.circuit.BBox = Rect{0, 0, 300, 200};
  ASSERT_TRUE(SchematicLoad(ws, dir / "i.sch", kLoadInsert));
  const Circuit& c = ws.circuit;
  EXPECT_EQ(std::vector<int>({c.Wires[1].X1, c.Wires[1].Y1, c.Contacts[1].X, c.Labels[1].X}),
            std::vector<int>({350, 0, 350, 355}));
}

TEST_F(SchematicFile, FailedLoadsEndWithErrorLoading) {
  const std::string missing = (dir / "missing.sch").string();
  EXPECT_FALSE(OpenSchematic(ws, missing));
  EXPECT_EQ(host.LastStatus(), "Error loading " + missing) << "not hidden by the file name set afterwards";
  EXPECT_EQ(host.errors, std::vector<std::string>{"Read error of " + missing});

  // A file that is no schematic is refused before the open one is cleared or renamed.
  WriteFile(dir / "a.sch", kSample);
  ASSERT_TRUE(OpenSchematic(ws, dir / "a.sch"));
  const int symbols = ws.circuit.Symbols.Count();
  WriteFile(dir / "x.png", "\x89PNG\r\n");
  EXPECT_FALSE(OpenSchematic(ws, dir / "x.png"));
  EXPECT_EQ(host.errors.back(), "Format error in " + (dir / "x.png").string());
  EXPECT_TRUE(ws.circuit.FileName == (dir / "a.sch").string() && ws.circuit.Symbols.Count() == symbols);

  WriteFile(dir / "nobb.sch", "QIRO 2.3c\nLIG(0,0,10,0)\n");
  ClearSchematic(ws);
  EXPECT_FALSE(SchematicLoad(ws, dir / "nobb.sch", kLoadOpen));
  EXPECT_EQ(
      host.errors.back() + "|" + host.LastStatus(),
      "Format error in " + (dir / "nobb.sch").string() + "|Error loading " + (dir / "nobb.sch").string());
  EXPECT_EQ(std::pair(ws.circuit.Wires.Count(), ws.circuit.ErrorCode), std::pair(0, 0));

  WriteFile(dir / "trunc.sch", "BB(0,0,10,10)\nSYM  #x\nBB(0,0,0,0)\nFSYM\nLIG(0,0,10,0)\n");
  ClearSchematic(ws);
  EXPECT_FALSE(SchematicLoad(ws, dir / "trunc.sch", kLoadOpen));
  EXPECT_EQ(host.LastStatus(), "Wrong symbol format, file truncated ");
  EXPECT_TRUE(ws.circuit.Symbols[1].State == kDeleted && ws.circuit.Wires.Count() == 0);
}

// Opening is no edit: only a clean-up that changed wires or a load cut short marks it.
TEST_F(SchematicFile, OpeningMarksModifiedOnlyWhatChangedAndSaysWhat) {
  WriteFile(dir / "tidy.sch", "BB(0,0,50,10)\nLIG(0,0,20,0)\nLIG(20,0,50,0)\n");
  ASSERT_TRUE(OpenSchematicForEditing(ws, dir / "tidy.sch"));
  EXPECT_TRUE(ws.circuit.Modified &&
              host.LastStatus() == "Lines tidied on opening (2 before, 1 after): schematic modified");
  ASSERT_TRUE(SaveSchematic(ws));
  ASSERT_TRUE(OpenSchematicForEditing(ws, dir / "tidy.sch"));
  EXPECT_FALSE(ws.circuit.Modified);

  std::string big = "BB(0,0,10,10)\n";
  for (int i = 0; i < 70; ++i) big += "TEXT 0 " + std::to_string(i) + "  #t\n";
  WriteFile(dir / "big.sch", big);
  EXPECT_TRUE(!OpenSchematic(ws, dir / "big.sch") && ws.circuit.Modified);
  EXPECT_EQ(host.LastStatus(), "Only part of the file was loaded (table full: labels): schematic modified");
  EXPECT_FALSE(OpenSchematic(ws, dir / "missing.sch"));
  EXPECT_TRUE(ws.circuit.Modified) << "a failed open changes nothing";
}

TEST_F(SchematicFile, WriteErrorKeepsTheSchematicModified) {
  WriteFile(dir / "a.sch", kSample);
  ASSERT_TRUE(OpenSchematic(ws, dir / "a.sch"));
  ws.circuit.Touch();
  const std::string bad = (dir / "no" / "such" / "dir.sch").string();
  EXPECT_FALSE(SchematicWrite(ws, bad));
  EXPECT_EQ(host.errors.back().rfind("Write error in " + bad + ": cannot create a file in ", 0), 0u)
      << host.errors.back();
  EXPECT_TRUE(ws.circuit.Modified && ws.circuit.FileName == (dir / "a.sch").string());
}

TEST_F(SchematicFile, SaveKeepsABackupAndSaveAsHonoursADeclinedOverwrite) {
  ClearSchematic(ws);
  ws.circuit.AddWire(0, 0, 10, 0);
  ws.circuit.FileName = (dir / "example").string();
  WriteFile(dir / "example.sch", "old");
  ASSERT_TRUE(SaveSchematic(ws));
  EXPECT_TRUE(ReadFile(dir / "example.bak") == "old" &&
              ws.circuit.FileName == (dir / "example.sch").string());
  EXPECT_EQ(host.LastStatus(), "Editing \"" + (dir / "example.sch").string() + "\"");
  // An existing backup is kept: the new file simply replaces the old one.
  ASSERT_TRUE(SaveSchematic(ws));
  EXPECT_EQ(ReadFile(dir / "example.bak"), "old");

  WriteFile(dir / "other.sch", "keep me");
  EXPECT_TRUE(SaveAsNeedsOverwriteQuestion(dir / "other.sch"));
  EXPECT_TRUE(!SaveSchematicAs(ws, dir / "other.sch", false) && ReadFile(dir / "other.sch") == "keep me");
  EXPECT_EQ(ws.circuit.FileName, (dir / "example.sch").string()) << "declining keeps the current name";
  EXPECT_TRUE(SaveSchematicAs(ws, dir / "other.sch", true));
  EXPECT_TRUE(ws.circuit.FileName == (dir / "other.sch").string() &&
              ReadFile(dir / "other.sch") != "keep me");
}

}  // namespace
}  // namespace qiro
