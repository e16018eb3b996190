#include "model/schematic_file.h"

#include <gtest/gtest.h>

#include "core/test_support.h"
#include "workspace.h"

namespace qiro {
namespace {

using test::ReadFile;
using test::RecordingHost;
using test::TempDir;
using test::WriteFile;

// Replaces LF by CR LF.
std::string Crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// The text without its VERSION and FFIG lines, which hold the time and the path.
std::string WithoutVersionAndEnd(const std::string& text) {
  std::string out;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    const std::string line = text.substr(start, end - start);
    if (line.rfind("VERSION ", 0) != 0 && line.rfind("FFIG ", 0) != 0) out += line;
    start = end;
  }
  return out;
}

const char* kSample =
    "QIRO 2.3c\n"
    "VERSION 01/01/2026 10:00:00\n"
    "BB(0,0,300,200)\n"
    "SYM  #and2\n"
    "BB(10,10,60,30)\n"
    "TITLE 15 -2  #and2\n"
    "MODEL 402\n"
    "PROP   a b \n"
    "REC(20,10,15,20,g)\n"
    "VIS 4\n"
    "PIN(10,15,0.000,0.000)a\n"
    "PIN(10,25,0.000,0.000)b\n"
    "PIN(60,20,0.500,0.250)y\n"
    "LIG(10,10,10,30)\n"
    "VLG  nand g1(y, a, b);\n"
    "FSYM\n"
    "CNC(5 5)\n"
    "CNC(7,9)\n"
    "LIG(0,0,50,0)\n"
    "TEXT 100 120  #a label\n"
    "MEM  mov a,#1\n"
    "FFIG x.sch\n"
    "LIG(0,0,99,99)\n";

struct Fixture : ::testing::Test {
  RecordingHost host;
  Workspace ws{&host};
  TempDir dir;
};

using SchematicFile = Fixture;

TEST_F(SchematicFile, ReadsEveryLineKind) {
  WriteFile(dir / "a.sch", kSample);
  ASSERT_TRUE(OpenSchematic(ws, dir / "a.sch"));
  const Circuit& c = ws.circuit;
  EXPECT_EQ(c.BBox, (Rect{0, 0, 300, 200}));
  ASSERT_EQ(c.Symbols.Count(), 1);
  const TSymbol& s = c.Symbols[1];
  EXPECT_EQ(s.Name, "and2");
  EXPECT_EQ(s.BBox, (Rect{10, 10, 60, 30}));
  EXPECT_EQ(s.Rec, (Rect{20, 10, 35, 30}));
  EXPECT_EQ(s.RecColour, 'g');
  // Words are the space-separated words; the trailing space makes no extra word.
  EXPECT_EQ(s.Prop(1), "a");
  EXPECT_EQ(s.Prop(2), "b");
  EXPECT_EQ(s.Prop(3), "");
  ASSERT_EQ(s.PinCount, 3);
  EXPECT_EQ(s.Pin(1).Kind, 'I');
  EXPECT_EQ(s.Pin(3).Kind, 'O');
  EXPECT_DOUBLE_EQ(s.Pin(3).DelayFactor, 1.0) << "a factor between 0 and 1 reads as 1";
  EXPECT_DOUBLE_EQ(s.Pin(3).LoadFactor, 1.0);
  EXPECT_EQ(s.VerilogLine(1), " nand g1(y, a, b);") << "only the one separator space is dropped";
  EXPECT_EQ(c.Contacts.Count(), 2);
  EXPECT_EQ(c.Contacts[2].Y, 9);
  EXPECT_EQ(c.Wires.Count(), 1) << "nothing after FFIG is read";
  EXPECT_FALSE(c.Modified) << "opening is no edit";
  EXPECT_FALSE(c.Extracted);
  EXPECT_TRUE(host.ShowedStatus("Loaded " + (dir / "a.sch").string()));
  EXPECT_EQ(host.drawnSymbols, std::vector<int>{1});
}

TEST_F(SchematicFile, WriteReadWriteIsStableAndUsesCrLf) {
  WriteFile(dir / "a.sch", Crlf(kSample));
  ASSERT_TRUE(OpenSchematic(ws, dir / "a.sch"));
  ASSERT_TRUE(SchematicWrite(ws, dir / "b.sch"));
  EXPECT_FALSE(ws.circuit.Modified);
  EXPECT_EQ(ws.circuit.FileName, (dir / "b.sch").string());
  EXPECT_EQ(host.LastStatus(), (dir / "b.sch").string() + " saved...");
  const std::string first = ReadFile(dir / "b.sch");
  EXPECT_EQ(first.find("\n"), first.find("\r\n") + 1);
  EXPECT_NE(first.find("\r\nPIN(60,20,1.000,1.000)y\r\n"), std::string::npos);
  EXPECT_NE(first.find("\r\nREC(20,10,15,20,g)\r\n"), std::string::npos);
  EXPECT_NE(first.find("\r\nCNC(7 9)\r\n"), std::string::npos);
  EXPECT_NE(first.find("\r\nTEXT 100 120  #a label\r\n"), std::string::npos);
  EXPECT_NE(first.find("\r\nVLG  nand g1(y, a, b);\r\n"), std::string::npos);
  EXPECT_NE(first.find("\r\nMEM  mov a,#1\r\n"), std::string::npos);
  EXPECT_NE(first.find("\r\nPROP   a b " + std::string(198, ' ') + "\r\n"), std::string::npos);
  // The bounding box is recomputed from what is written: the label reaches (140, 130).
  EXPECT_NE(first.find("\r\nBB(0,0,140,130)\r\n"), std::string::npos);

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
  EXPECT_EQ(c.Symbols[1].Model, 0) << "100000 restarts the integer from 0";
  EXPECT_EQ(c.Symbols[2].Model, -35);
  EXPECT_EQ(c.Symbols[2].Pin(1).Kind, 'I');
  EXPECT_EQ(c.Symbols[2].Pin(2).X, 3);
  EXPECT_EQ(c.Symbols[2].Pin(2).Y, 7) << "123456 restarts from 0, then 7";
  EXPECT_DOUBLE_EQ(c.Symbols[2].Pin(2).DelayFactor, 2);
  EXPECT_DOUBLE_EQ(c.Symbols[2].Pin(2).LoadFactor, 0.5) << "only raised when the first factor was";
  EXPECT_EQ(c.Symbols[3].Prop(1), "2.0u") << "MOS sizes come from the technology";
  EXPECT_EQ(c.Symbols[3].Prop(2), "0.25u");
  EXPECT_EQ(c.Symbols[3].Prop(3), "w");
}

TEST_F(SchematicFile, SymbolFilePlacedAtTheCursor) {
  WriteFile(dir / "s.SYM",
            "USER SYMBOL by QIRO 2.3c\nDATE x\nSYM  #thing\nBB(0,0,40,30)\nTITLE 2 -5  #t\nMODEL 6000\n"
            "REC(5,5,10,10)\nPIN(0,10,0.000,0.000)p\nPIN(40,10,1.000,1)q\nLIG(0,0,40,0)\n"
            "VLG module thing(a, y);\nVLG input a;\nVLG output y;\nVLG endmodule\nFSYM\n");
  ClearSchematic(ws);
  ASSERT_TRUE(SchematicLoad(ws, dir / "s.SYM", kLoadSymbol, 103, 52));
  const TSymbol& s = ws.circuit.Symbols[1];
  EXPECT_EQ(s.BBox, (Rect{65, 20, 105, 50}));  // dx = snap(63) = 65, dy = snap(22) = 20
  EXPECT_EQ(s.Rec, (Rect{70, 25, 80, 35}));
  EXPECT_EQ(s.RecColour, 'r');
  EXPECT_EQ(s.Vis, 5);
  EXPECT_EQ(s.Prop(1), "");
  EXPECT_EQ(s.Pin(1).Name, "a");
  EXPECT_EQ(s.Pin(2).Name, "y");
  EXPECT_EQ(s.Pin(2).Kind, 'O');
  EXPECT_EQ(s.InnerLines[1], (TInnerLine{65, 20, 105, 20}));
  EXPECT_EQ(s.VerilogLineCount, 4);
  EXPECT_EQ(s.VerilogStart, 1);
}

TEST_F(SchematicFile, InsertGoesRightOfTheCurrentSchematic) {
  WriteFile(dir / "i.sch", "BB(0,0,40,40)\nLIG(0,0,10,0)\nCNC(0 0)\nTEXT 5 5  #t\n");
  ClearSchematic(ws);
  ws.circuit.BBox = Rect{0, 0, 300, 200};
  ASSERT_TRUE(SchematicLoad(ws, dir / "i.sch", kLoadInsert));
  EXPECT_EQ(ws.circuit.Wires[1].X1, 350);
  EXPECT_EQ(ws.circuit.Wires[1].Y1, 0);
  EXPECT_EQ(ws.circuit.Contacts[1].X, 350);
  EXPECT_EQ(ws.circuit.Labels[1].X, 355);
}

TEST_F(SchematicFile, FailedLoadsEndWithErrorLoading) {
  const std::string missing = (dir / "missing.sch").string();
  EXPECT_FALSE(OpenSchematic(ws, missing));
  EXPECT_EQ(host.LastStatus(), "Error loading " + missing) << "not hidden by the file name set afterwards";
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_EQ(host.errors[0], "Read error of " + missing);

  // A file that is no schematic is refused before the open one is cleared or renamed.
  WriteFile(dir / "a.sch", kSample);
  ASSERT_TRUE(OpenSchematic(ws, dir / "a.sch"));
  const int symbols = ws.circuit.Symbols.Count();
  WriteFile(dir / "x.png", "\x89PNG\r\n");
  EXPECT_FALSE(OpenSchematic(ws, dir / "x.png"));
  EXPECT_EQ(host.errors.back(), "Format error in " + (dir / "x.png").string());
  EXPECT_EQ(ws.circuit.FileName, (dir / "a.sch").string());
  EXPECT_EQ(ws.circuit.Symbols.Count(), symbols);

  WriteFile(dir / "nobb.sch", "QIRO 2.3c\nLIG(0,0,10,0)\n");
  ClearSchematic(ws);
  EXPECT_FALSE(SchematicLoad(ws, dir / "nobb.sch", kLoadOpen));
  EXPECT_EQ(host.errors.back(), "Format error in " + (dir / "nobb.sch").string());
  EXPECT_EQ(host.LastStatus(), "Error loading " + (dir / "nobb.sch").string());
  EXPECT_EQ(ws.circuit.Wires.Count(), 0);
  EXPECT_EQ(ws.circuit.ErrorCode, 0);

  WriteFile(dir / "trunc.sch", "BB(0,0,10,10)\nSYM  #x\nBB(0,0,0,0)\nFSYM\nLIG(0,0,10,0)\n");
  ClearSchematic(ws);
  EXPECT_FALSE(SchematicLoad(ws, dir / "trunc.sch", kLoadOpen));
  EXPECT_EQ(host.LastStatus(), "Wrong symbol format, file truncated ");
  EXPECT_EQ(ws.circuit.Symbols[1].State, kDeleted);
  EXPECT_EQ(ws.circuit.Wires.Count(), 0);
}

TEST_F(SchematicFile, OverflowingTablesStopStoringButNotReading) {
  std::string text = "BB(0,0,10,10)\n";
  for (int i = 0; i < 3000; ++i) text += "SYM  #s\nMODEL 402\nPIN(0,0,0,0)a\nFSYM\n";
  for (int i = 0; i < 2600; ++i) text += "LIG(0," + std::to_string(i) + ",5," + std::to_string(i) + ")\n";
  text += "TEXT 1 1  #a label after the overflow\n";
  WriteFile(dir / "big.sch", text);
  EXPECT_FALSE(OpenSchematic(ws, dir / "big.sch"));
  EXPECT_EQ(ws.circuit.Symbols.Count(), 2048);
  EXPECT_EQ(ws.circuit.Wires.Count(), 2500);
  EXPECT_TRUE(host.ShowedStatus("Error loading " + (dir / "big.sch").string()))
      << "a later label must not hide the overflow";

  std::string pins = "BB(0,0,10,10)\nSYM  #many\n";
  for (int i = 1; i <= 205; ++i) pins += "PIN(" + std::to_string(i) + ",0,0,0)p" + std::to_string(i) + "\n";
  pins += "FSYM\n";
  WriteFile(dir / "pins.sch", pins);
  EXPECT_FALSE(OpenSchematic(ws, dir / "pins.sch"));
  const TSymbol& s = ws.circuit.Symbols[1];
  EXPECT_EQ(s.PinCount, 200);
  EXPECT_EQ(s.Pin(199).Name, "p199");
  EXPECT_EQ(s.Pin(200).Name, "");
}

// Opening is no edit: only a clean-up that changed wires or a load cut short marks it.
TEST_F(SchematicFile, OpeningMarksModifiedOnlyWhatChangedAndSaysWhat) {
  WriteFile(dir / "tidy.sch", "BB(0,0,50,10)\nLIG(0,0,20,0)\nLIG(20,0,50,0)\n");
  ASSERT_TRUE(OpenSchematicForEditing(ws, dir / "tidy.sch"));
  EXPECT_TRUE(ws.circuit.Modified);
  EXPECT_EQ(host.LastStatus(), "Lines tidied on opening (2 before, 1 after): schematic modified");
  ASSERT_TRUE(SaveSchematic(ws));
  ASSERT_TRUE(OpenSchematicForEditing(ws, dir / "tidy.sch"));
  EXPECT_FALSE(ws.circuit.Modified);

  std::string big = "BB(0,0,10,10)\n";
  for (int i = 0; i < 70; ++i) big += "TEXT 0 " + std::to_string(i) + "  #t\n";
  WriteFile(dir / "big.sch", big);
  EXPECT_FALSE(OpenSchematic(ws, dir / "big.sch"));
  EXPECT_TRUE(ws.circuit.Modified);
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
  EXPECT_TRUE(ws.circuit.Modified);
  EXPECT_EQ(ws.circuit.FileName, (dir / "a.sch").string());
}

TEST_F(SchematicFile, SaveKeepsABackupAndSaveAsHonoursADeclinedOverwrite) {
  ClearSchematic(ws);
  ws.circuit.AddWire(0, 0, 10, 0);
  ws.circuit.FileName = (dir / "example").string();
  WriteFile(dir / "example.sch", "old");
  ASSERT_TRUE(SaveSchematic(ws));
  EXPECT_EQ(ReadFile(dir / "example.bak"), "old");
  EXPECT_EQ(ws.circuit.FileName, (dir / "example.sch").string());
  EXPECT_EQ(host.LastStatus(), "Editing \"" + (dir / "example.sch").string() + "\"");
  // An existing backup is kept: the new file simply replaces the old one.
  ASSERT_TRUE(SaveSchematic(ws));
  EXPECT_EQ(ReadFile(dir / "example.bak"), "old");

  WriteFile(dir / "other.sch", "keep me");
  EXPECT_TRUE(SaveAsNeedsOverwriteQuestion(dir / "other.sch"));
  EXPECT_FALSE(SaveSchematicAs(ws, dir / "other.sch", false));
  EXPECT_EQ(ReadFile(dir / "other.sch"), "keep me");
  EXPECT_EQ(ws.circuit.FileName, (dir / "example.sch").string()) << "declining keeps the current name";
  EXPECT_TRUE(SaveSchematicAs(ws, dir / "other.sch", true));
  EXPECT_EQ(ws.circuit.FileName, (dir / "other.sch").string());
  EXPECT_NE(ReadFile(dir / "other.sch"), "keep me");
}

}  // namespace
}  // namespace qiro
