#include "model/circuit.h"

#include "core/test_support.h"
#include "model/errors.h"

namespace qiro {
namespace {

TEST(Snap, RoundsToTheNearestGridPoint) {
  for (auto [in, out] : {std::pair{12, 10}, {13, 15}, {-12, -10}, {-13, -15}, {0, 0}, {63, 65}, {22, 20}})
    EXPECT_EQ(Snap(in), out) << in;
}

TEST(Circuit, NewRecordsHaveTheirDefaults) {
  Circuit c;
  ASSERT_EQ(c.AddSymbol("and2"), 1);
  EXPECT_EQ(c.CurrentSymbol, 1);
  const TSymbol& sym = c.Symbols[1];
  EXPECT_TRUE(sym.BBox.IsEmpty() && sym.BBox == (Rect{32000, 32000, -32000, -32000}));
  EXPECT_TRUE(sym.Vis == 5 && sym.RecColour == 'r' && sym.Rec == (Rect{0, 0, 0, 0}));
  EXPECT_TRUE(c.AddWire(5, 5, 5, 5) == 0 && c.Wires.Count() == 0) << "a zero-length wire is not added";
}

TEST(Circuit, PinTableStopsAt199StoredPins) {
  Circuit c;
  Technology tech;
  tech.UnitGateDelay = 0.3;
  int s = c.AddSymbol("big");
  c.AddPin(s, 1, 2, 'O', "q", 1.0, 1.0, tech);
  c.AddPin(s, 1, 2, 'I', "a", 0, 0, tech);
  EXPECT_EQ(std::pair(c.Symbols[s].Pin(1).GateDelay, c.Symbols[s].Pin(2).GateDelay), std::pair(0.3, 0.0));
  for (int k = 3; k <= 199; ++k) c.AddPin(s, k, 0, 'I', "p" + std::to_string(k), 0, 0, tech);
  EXPECT_EQ(c.ErrorCode, 0);
  c.AddPin(s, 200, 0, 'I', "p200", 0, 0, tech);
  EXPECT_EQ(c.ErrorCode, 1);
  c.AddPin(s, 201, 0, 'I', "p201", 0, 0, tech);
  EXPECT_EQ(c.Symbols[s].PinCount, 200);
  EXPECT_EQ(c.Symbols[s].Pin(199).Name + "|" + c.Symbols[s].Pin(200).Name, "p199|");
}

TEST(Circuit, FullTablesSetTheirErrorCodes) {
  Circuit c;
  for (int i = 0; i < kMaxSymbols; ++i) c.AddSymbol("s");
  EXPECT_EQ(c.ErrorCode, 0);
  EXPECT_TRUE(c.AddSymbol("one too many") == 0 && c.ErrorCode == 3);

  c.ErrorCode = 0;
  for (int i = 0; i <= kMaxContacts; ++i) c.AddContact(i, 0);
  EXPECT_EQ(std::pair(c.ErrorCode, c.Contacts.Count()), std::pair(6, kMaxContacts));

  c.ErrorCode = 0;
  for (int i = 0; i < kMaxWires; ++i) c.AddWire(0, i, 10, i);
  EXPECT_TRUE(c.AddWire(0, 0, 0, 10) == 0 && c.ErrorCode == 2);

  for (int i = 0; i < kMaxLabels; ++i) c.AddText(i * 5, 0, "t");
  EXPECT_EQ(c.ErrorCode, 0);
  EXPECT_TRUE(c.AddText(0, 100, "t") == 0 && c.ErrorCode == 54);
  EXPECT_EQ(ErrorMessage(54, "f", ""), "") << "code 54 shows nothing";
}

TEST(Circuit, LabelAtTheSamePointIsNotAddedTwice) {
  Circuit c;
  EXPECT_EQ(c.AddText(10, 10, "a"), 1);
  EXPECT_TRUE(c.AddText(10, 10, "b") == 0 && c.ErrorCode == 0);
  EXPECT_EQ(c.AddText(10, 15, ""), 0) << "empty text";
  c.Labels[1].State = kDeleted;
  EXPECT_EQ(c.AddText(10, 10, "b"), 2) << "a deleted label does not block the point";
}

TEST(Circuit, CompactionMovesTheLastLiveEntriesIntoTheFirstHoles) {
  Circuit c;
  for (int i = 1; i <= 6; ++i) c.AddWire(0, i, 10, i);
  c.Wires[2].State = c.Wires[3].State = c.Wires[6].State = kDeleted;
  c.AddContact(1, 1);
  c.Contacts[1].State = kDeleted;
  c.CompactTables();
  ASSERT_EQ(std::pair(c.Wires.Count(), c.Contacts.Count()), std::pair(3, 0));
  EXPECT_EQ(std::vector<int>({c.Wires[1].Y1, c.Wires[2].Y1, c.Wires[3].Y1}), std::vector<int>({1, 5, 4}));
}

TEST(Circuit, ResetHighlightClearsHighlightsButNeverBringsBackCutEntries) {
  Circuit c;
  Technology tech;
  c.AddWire(0, 0, 10, 0);
  c.AddWire(0, 5, 10, 5);
  c.AddContact(5, 5);
  for (const char* name : {"a", "b"}) c.AddPin(c.AddSymbol(name), 0, 0, 'I', "x", 0, 0, tech);
  c.Wires[1].State = kDeleted;
  c.Wires[2].State = c.Symbols[1].State = c.Symbols[1].Pin(1).State = kHighlight;
  c.Contacts[1].State = kHighlight2;
  c.Symbols[2].State = kDeleted;
  c.ResetHighlightStates();
  EXPECT_EQ(std::vector<int>({c.Wires[1].State, c.Wires[2].State, c.Contacts[1].State, c.Symbols[1].State,
                              c.Symbols[1].Pin(1).State, c.Symbols[2].State}),
            std::vector<int>({kDeleted, kNormal, kNormal, kNormal, kNormal, kDeleted}));
}

TEST(Circuit, OutOfRangeIndexesNeverTouchTheTables) {
  Circuit c;
  c.Wires[0].X1 = c.Wires[7].X1 = 99;
  c.AddPin(5, 0, 0, 'I', "x", 0, 0, Technology{});
  const Circuit& cc = c;
  EXPECT_EQ(std::tuple(c.Wires.Count(), cc.Wires[3].X1, c.Symbols.Count()), std::tuple(0, 0, 0));
}

TEST(Errors, MessagesByCode) {
  const std::tuple<int, const char*, const char*, const char*> cases[] = {
      {3, "", "", "Too many symboles."},
      {6, "a.sch", "", "Read error of a.sch"},
      {15, "", "1e9x", "Error decoding the real value \"1e9x\""},
      {17, "", "half", "The module name \"half\" is already used in the design. Save failed."},
      {0, "", "", ""},
      {18, "", "", ""}};
  for (const auto& [code, file, text, message] : cases) EXPECT_EQ(ErrorMessage(code, file, text), message);

  test::RecordingHost host;
  Workspace ws(&host);
  ws.circuit.FileName = "current.sch";
  ReportError(ws, 7);
  ReportError(ws, 8, "other.sch");
  ReportError(ws, 0);
  EXPECT_EQ(host.errors,
            (std::vector<std::string>{"Write error in current.sch", "Format error in other.sch"}));
}

TEST(Workspace, ClearSchematicKeepsAssemblyAndResetsNodes) {
  Workspace ws;
  ws.circuit.AddSymbol("x");
  ws.circuit.AddAsmLine("NOP");
  ws.circuit.FileName = "a.sch";
  ws.circuit.Modified = true;
  ws.circuit.CounterOf(Counter::Button) = 3;
  int err = 0;
  ws.nodes.AddNode("w1", err);
  ClearSchematic(ws);
  EXPECT_EQ(std::tuple(ws.circuit.Symbols.Count(), ws.circuit.AsmLines.Count(), ws.circuit.FileName,
                       ws.circuit.Modified, ws.circuit.CounterOf(Counter::Button), ws.nodes.Count()),
            std::tuple(0, 1, std::string("example"), false, 0, 1));
  EXPECT_EQ(ws.nodes.NodeName(0) + ws.nodes.NodeName(1) + ws.nodes.NodeName(5), "vssvddvss");
}

}  // namespace
}  // namespace qiro
