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

std::string Box(const Rect& r) {
  return "(" + std::to_string(r.x1) + "," + std::to_string(r.y1) + "," + std::to_string(r.x2) + "," +
         std::to_string(r.y2) + ")";
}

// One symbol as one line: name, model, boxes, colour, flags, words, pins, first drawing line.
std::string Dump(const TSymbol& s) {
  std::ostringstream o;
  o << s.Name << " m" << s.Model << " bb" << Box(s.BBox) << " rec" << Box(s.Rec) << s.RecColour << " vis"
    << s.Vis << " [" << s.Prop(1) << "," << s.Prop(2) << "," << s.Prop(3) << "]";
  for (int k = 1; k <= s.PinCount; ++k)
    o << " " << s.Pin(k).Name << ":" << s.Pin(k).Kind << s.Pin(k).X << "," << s.Pin(k).Y << ","
      << s.Pin(k).DelayFactor << "," << s.Pin(k).LoadFactor;
  if (s.InnerLineCount > 0) {
    const TInnerLine& l = s.InnerLines[1];
    o << " lig" << Box(Rect{l.x1, l.y1, l.x2, l.y2});
  }
  o << " vlg" << s.VerilogLineCount << "@" << s.VerilogStart;
  return o.str();
}

// One record of every kind, and a wire after the end line that must not be read.
const std::string kSample = ReadFile(SourceRoot() / "tests/core/model/sample.sch");

using SchematicFile = WorkspaceTest;

TEST_F(SchematicFile, ReadsEveryLineKind) {
  WriteFile(dir / "a.sch", kSample);
  ASSERT_TRUE(OpenSchematic(ws, dir / "a.sch"));
  const Circuit& c = ws.circuit;
  EXPECT_EQ(c.BBox, (Rect{0, 0, 300, 200}));
  ASSERT_EQ(c.Symbols.Count(), 1);
  // The trailing space of PROP makes no extra word; an output factor between 0 and 1 reads as 1.
  EXPECT_EQ(Dump(c.Symbols[1]),
            "and2 m402 bb(10,10,60,30) rec(20,10,35,30)g vis4 [a,b,] a:I10,15,0,0 b:I10,25,0,0 y:O60,20,1,1 "
            "lig(10,10,10,30) vlg1@1");
  EXPECT_EQ(c.Symbols[1].VerilogLine(1), " nand g1(y, a, b);") << "only the one separator space is dropped";
  EXPECT_TRUE(c.Contacts.Count() == 2 && c.Contacts[2].Y == 9);
  EXPECT_EQ(c.Wires.Count(), 1) << "nothing after FFIG is read";
  EXPECT_FALSE(c.Modified || c.Extracted) << "opening is no edit";
  EXPECT_TRUE(host.ShowedStatus("Loaded " + (dir / "a.sch").string()) &&
              host.drawnSymbols == std::vector<int>{1});
}

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
}

TEST_F(SchematicFile, NumberScannerQuirks) {
  WriteFile(dir / "q.sch",
            "BB(0,0,10,10)\n"
            "SYM  #a\nMODEL 100000\nFSYM\n"
            "SYM  #b\nMODEL -35\nPIN(1,2,0.000,0.000)in\nPIN(+3,1234567,2,0.5)q\nFSYM\n"
            "SYM  #n\nMODEL 901\nPROP   9u 9u w\nFSYM\n");
  ASSERT_TRUE(OpenSchematic(ws, dir / "q.sch"));
  const Circuit& c = ws.circuit;
  // 100000 restarts the integer from 0, and so does 123456 before the 7; a load factor is only
  // raised when the delay factor was; MOS sizes come from the technology.
  const std::string defaults = " bb(32000,32000,-32000,-32000) rec(0,0,0,0)r vis5 ";
  EXPECT_EQ(Dump(c.Symbols[1]), "a m0" + defaults + "[,,] vlg0@1");
  EXPECT_EQ(Dump(c.Symbols[2]), "b m-35" + defaults + "[,,] in:I1,2,0,0 q:O3,7,2,0.5 vlg0@1");
  EXPECT_EQ(Dump(c.Symbols[3]), "n m901" + defaults + "[2.0u,0.25u,w] vlg0@1");
}

TEST_F(SchematicFile, SymbolFilePlacedAtTheCursor) {
  WriteFile(dir / "s.SYM",
            "USER SYMBOL by QIRO 2.3c\nDATE x\nSYM  #thing\nBB(0,0,40,30)\nTITLE 2 -5  #t\nMODEL 6000\n"
            "REC(5,5,10,10)\nPIN(0,10,0.000,0.000)p\nPIN(40,10,1.000,1)q\nLIG(0,0,40,0)\n"
            "VLG module thing(a, y);\nVLG input a;\nVLG output y;\nVLG endmodule\nFSYM\n");
  ClearSchematic(ws);
  ASSERT_TRUE(SchematicLoad(ws, dir / "s.SYM", kLoadSymbol, 103, 52));
  // Shifted by dx = snap(63) = 65, dy = snap(22) = 20; the pins take the module's port names.
  EXPECT_EQ(Dump(ws.circuit.Symbols[1]),
            "thing m6000 bb(65,20,105,50) rec(70,25,80,35)r vis5 [,,] a:I65,30,0,0 y:O105,30,1,1 "
            "lig(65,20,105,20) vlg4@1");
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

TEST_F(SchematicFile, EveryTextIsWrittenOnOneLine) {
  // Each text tries to end its record and add a wire; control characters are dropped, a tab stays.
  const std::string inject = "\x01\x7f\r\nLIG(0,0,9,9)";
  Circuit& c = ws.circuit;
  const int s = c.AddSymbol("n\t" + inject);
  c.Symbols[s].Title = "t" + inject;
  c.Symbols[s].PropWords[1] = "w" + inject;
  c.Symbols[s].VerilogLines.push_back("v" + inject);
  c.Symbols[s].VerilogLineCount = 1;
  c.AddPin(s, 0, 0, 'I', "p" + inject, 0, 0, ws.tech);
  c.AddText(0, 0, "l" + inject);
  c.AddAsmLine("m" + inject);
  ASSERT_TRUE(SchematicWrite(ws, dir / ("f" + inject)));
  const std::string text = ReadFile(dir / ("f" + inject));
  EXPECT_EQ(text.find("LIG(0,0,9,9)"), std::string::npos) << text;
  EXPECT_EQ(text.find_first_of("\x01\x7f"), std::string::npos);
  for (const char* line :
       {"SYM  #n\t\r\n", "  #t\r\n", "PROP   w ", ")p\r\n", "VLG v\r\n", "  #l\r\n", "MEMm\r\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
  EXPECT_NE(text.find("FFIG " + (dir / "f").string() + "\r\n"), std::string::npos) << "the path is cut too";
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
