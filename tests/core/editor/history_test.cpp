// Undo and redo through the history, for every kind of edit and for long mixed sequences, and
// symbols moved with their wires following.
#include <functional>
#include <random>
#include <sstream>

#include "core/editor/edit_fixture.h"
#include "editor/clipboard.h"
#include "editor/edit_ops.h"
#include "editor/history.h"
#include "editor/wire_route.h"
#include "extract/extract.h"
#include "model/symbol_library.h"
#include "model/wire_cleanup.h"

namespace qiro {
namespace {

using namespace qiro::test;

// Every record of every table with what the user drew, in table order.
std::string Dump(const Circuit& c) {
  std::ostringstream o;
  const auto live = [](int state) { return state == kDeleted ? 0 : 1; };
  for (const TSymbol& s : c.Symbols) {
    o << "S" << live(s.State) << s.Name << "|" << s.Title << s.BBox.x1 << "," << s.BBox.y1 << "," << s.BBox.x2
      << s.Rec.x1 << s.Vis << s.Model << s.TitleX << s.TitleY << s.PropWords[1];
    for (int k = 1; k <= s.PinCount; ++k) o << " p" << s.Pin(k).Name << s.Pin(k).X << "," << s.Pin(k).Y;
    for (int k = 1; k <= s.InnerLineCount; ++k) o << " l" << s.InnerLines[k].x1 << "," << s.InnerLines[k].y2;
    o << "\n";
  }
  for (const TLine& w : c.Wires)
    o << "W" << live(w.State) << w.X1 << "," << w.Y1 << "," << w.X2 << "," << w.Y2 << "\n";
  for (const TContact& k : c.Contacts) o << "C" << live(k.State) << k.X << "," << k.Y << "\n";
  for (const TTextLabel& l : c.Labels) o << "T" << live(l.State) << l.X << "," << l.Y << l.Text << "\n";
  for (const std::string& a : c.AsmLines) o << "A" << a << "\n";
  for (int n : c.Counters) o << n << ",";
  return o.str();
}

class HistoryTest : public EditTest {
 protected:
  void Build() {
    AddSymbol("and2", {50, 20, 90, 50}, {{50, 30}, {50, 40}, {90, 35}});
    AddSymbol("or2", {150, 25, 190, 55}, {{150, 35}, {150, 45}, {190, 40}});
    AddWires({{90, 35, 150, 35}, {10, 30, 50, 30}});
    ws.circuit.AddContact(10, 30);
    ws.circuit.AddText(20, 80, "note");
    history.Reset(ws.circuit);
  }
  int AnySymbol(int r) { return 1 + r % std::max(1, ws.circuit.Symbols.Count()); }

  // One edit of each kind the user can make; r varies where and how much.
  using Edit = std::function<void(HistoryTest&, int r)>;
  static std::vector<std::pair<const char*, Edit>> Kinds() {
    return {
        {"Wire", [](HistoryTest& t, int r) { AddWireFromDrag(t.ws, 200, 100 + r % 50, 260 + r % 30, 100); }},
        {"Dot", [](HistoryTest& t, int r) { AddContactAt(t.ws, 30 + r % 90, 90); }},
        {"Label",
         [](HistoryTest& t, int r) { AddOrEditLabel(t.ws, 300 - r % 40, 300, "n" + std::to_string(r)); }},
        {"Move", [](HistoryTest& t, int r) { MoveSymbol(t.ws, t.AnySymbol(r), 0, 0, 10 + r % 20, r % 35); }},
        {"Move Wire", [](HistoryTest& t, int r) { MoveWireEnd(t.ws, 1, 1 + r % 3, 0, 0, 5, 5 + r % 10); }},
        {"Move Label", [](HistoryTest& t, int r) { MoveLabel(t.ws, 1, 0, 0, 3 + r % 7, 2); }},
        {"Cut", [](HistoryTest& t, int r) { CutArea(t.ws, 0, 0, 100 + r % 100, 100); }},
        {"Paste",
         [](HistoryTest& t, int r) {
           if (CutArea(t.ws, 140, 0, 200, 60 + r % 50) == 0) return;
           MoveClipboard(t.ws, 160, 120 + r % 40);
           PasteClipboard(t.ws);
         }},
        {"Copy",
         [](HistoryTest& t, int r) {
           if (CopyArea(t.ws, 40, 10, 100 + r % 20, 60) == 0) return;
           MoveClipboard(t.ws, 60, 150 + r % 40);
           PasteClipboard(t.ws);
         }},
        {"Rotate Right", [](HistoryTest& t, int r) { RotateRight(t.ws, 40, 10, 100 + r % 10, 60); }},
        {"Rotate Left", [](HistoryTest& t, int r) { RotateLeft(t.ws, 140, 10, 200, 60 + r % 10); }},
        {"Flip", [](HistoryTest& t, int r) { FlipArea(t.ws, 0, 0, 210 + r % 10, 210); }},
        {"Hide Properties", [](HistoryTest& t, int r) { HideSymbolTexts(t.ws, 70 + r % 10, 35); }},
        {"Place Symbol", [](HistoryTest& t, int r) { PlaceLibrarySymbol(t.ws, 402, 300 + r % 50, 200); }},
        {"Clean-up",
         [](HistoryTest& t, int r) {
           t.ws.circuit.AddWire(200, 250 + r % 20, 220, 250 + r % 20);
           t.ws.circuit.AddWire(220, 250 + r % 20, 240, 250 + r % 20);
           CleanWires(t.ws);
           SmartLinePass(t.ws);
         }},
        {"Properties",
         [](HistoryTest& t, int r) {
           TSymbol& s = t.ws.circuit.Symbols[t.AnySymbol(r)];
           s.Title = "t" + std::to_string(r);
           s.PropWords[1] = "w";
           s.Vis ^= 2;
         }},
        // Each property alone, so that none of them is left out of what the history compares.
        {"Title", [](HistoryTest& t, int r) { t.ws.circuit.Symbols[t.AnySymbol(r)].Title = "t"; }},
        {"Word", [](HistoryTest& t, int r) { t.ws.circuit.Symbols[t.AnySymbol(r)].PropWords[1] = "w"; }},
        {"Visibility", [](HistoryTest& t, int r) { t.ws.circuit.Symbols[t.AnySymbol(r)].Vis ^= 2; }},
        {"Assembly", [](HistoryTest& t, int r) { t.ws.circuit.AddAsmLine("mov a,#" + std::to_string(r)); }},
    };
  }

  History history;
};

TEST_F(HistoryTest, EveryKindOfEditIsUndoneAndRedoneExactly) {
  ws.SetHomeDir(SourceRoot());
  for (const auto& [name, edit] : Kinds()) {
    SCOPED_TRACE(name);
    ws.circuit.Clear();
    Build();
    const std::string before = Dump(ws.circuit);
    edit(*this, 0);
    const std::string after = Dump(ws.circuit);
    ASSERT_EQ(history.Commit(ws.circuit, name), CommitResult::Recorded);
    EXPECT_EQ(history.UndoLabel(), name);
    EXPECT_TRUE(history.Undo(ws.circuit) && Dump(ws.circuit) == before && history.RedoLabel() == name);
    EXPECT_TRUE(history.Redo(ws.circuit) && Dump(ws.circuit) == after && !history.CanRedo());
  }
}

TEST_F(HistoryTest, HundredMixedEditsUndoToTheStartAndRedoToTheEnd) {
  ws.SetHomeDir(SourceRoot());
  Build();
  const auto kinds = Kinds();
  std::mt19937 rng(16);
  const std::string start = Dump(ws.circuit);
  std::vector<std::string> states = {start};
  for (int step = 0; step < 100; ++step) {
    const auto& [name, edit] = kinds[rng() % kinds.size()];
    edit(*this, static_cast<int>(rng() % 1000));
    if (rng() % 10 == 0) ExtractCircuit(ws);  // compacts the tables behind the history's back
    if (history.Commit(ws.circuit, name) == CommitResult::Recorded) states.push_back(Dump(ws.circuit));
  }
  const std::string end = Dump(ws.circuit);
  for (int k = static_cast<int>(states.size()) - 2; k >= 0; --k) {
    ASSERT_TRUE(history.Undo(ws.circuit));
    ASSERT_EQ(Dump(ws.circuit), states[static_cast<std::size_t>(k)]) << "undo to state " << k;
  }
  EXPECT_TRUE(!history.CanUndo() && Dump(ws.circuit) == start);
  while (history.Redo(ws.circuit)) continue;
  EXPECT_EQ(Dump(ws.circuit), end);
}

TEST_F(HistoryTest, MoveIsOneStepAndTheModifiedFlagFollowsTheSavePoint) {
  Build();
  history.MarkSaved();
  const std::string before = Dump(ws.circuit);
  CutArea(ws, 140, 0, 200, 60);  // Move: a cut, then a paste where the pointer is
  history.Hold("Move");
  EXPECT_EQ(history.Commit(ws.circuit, "Cut"), CommitResult::Held);
  MoveClipboard(ws, 150, 150);
  PasteClipboard(ws);
  EXPECT_EQ(history.Commit(ws.circuit, "Paste"), CommitResult::Recorded);
  ASSERT_TRUE(history.UndoLabel() == "Move" && history.Undo(ws.circuit));
  EXPECT_TRUE(Dump(ws.circuit) == before && Live(ws.circuit.Symbols) == 2);  // no duplicate, nothing hidden
  EXPECT_FALSE(ws.circuit.Modified || history.CanUndo());
  history.Redo(ws.circuit);
  EXPECT_TRUE(ws.circuit.Modified);
  // Saved after the move, undone, then a new edit: the saved state is gone for good.
  history.MarkSaved();
  history.Undo(ws.circuit);
  EXPECT_TRUE(ws.circuit.Modified);
  AddContactAt(ws, 300, 300);
  history.Commit(ws.circuit, "Dot");
  history.Undo(ws.circuit);
  history.Redo(ws.circuit);
  EXPECT_TRUE(ws.circuit.Modified);
}

TEST_F(HistoryTest, ChangesMadeWithoutACommitAreFoldedInNeverLost) {
  Build();
  const std::string start = Dump(ws.circuit);
  AddContactAt(ws, 300, 300);
  history.Commit(ws.circuit, "Dot");
  history.MarkSaved();
  AddContactAt(ws, 310, 300);  // no commit: belongs to the last action, no longer the saved one
  ASSERT_TRUE(history.Undo(ws.circuit));
  EXPECT_EQ(Dump(ws.circuit), start);
  ASSERT_TRUE(history.Redo(ws.circuit) && ws.circuit.Modified);
  ASSERT_TRUE(history.Undo(ws.circuit));
  // After an undo, a change without commit becomes an action of its own.
  CutArea(ws, 0, 0, 100, 100);
  ws.circuit.CompactTables();
  const std::string cut = Dump(ws.circuit);
  EXPECT_EQ(history.UndoLabel(), "");
  ASSERT_TRUE(history.Undo(ws.circuit) && Dump(ws.circuit) == start);
  EXPECT_TRUE(history.Redo(ws.circuit) && Dump(ws.circuit) == cut);
}

TEST_F(HistoryTest, KeepsTheLastHundredActionsAndDropsEmptyOnes) {
  Build();
  EXPECT_EQ(history.Commit(ws.circuit, "Nothing"), CommitResult::Unchanged);
  ExtractCircuit(ws);  // nodes and delays are not drawing
  EXPECT_EQ(history.Commit(ws.circuit, "Extract"), CommitResult::Unchanged);
  for (int k = 0; k < 120; ++k) {
    MoveLabel(ws, 1, 0, 0, 1, 0);
    history.Commit(ws.circuit, "Move Label");
  }
  EXPECT_EQ(history.Levels(), History::kMaxLevels);
  while (history.Undo(ws.circuit)) continue;
  EXPECT_EQ(ws.circuit.Labels[1].X, 40);
}

// Wires on a moved symbol's pins: the and2's output feeds the or2 by one straight wire.
TEST_F(HistoryTest, WiresFollowAMovedSymbolAndBendIntoAnL) {
  Build();
  MoveSymbol(ws, 2, 0, 0, 0, 20);
  EXPECT_EQ(LiveWires(), (Wires{{90, 35, 90, 55}, {10, 30, 50, 30}, {90, 55, 150, 55}}));
  ws.settings.KeepWiresConnected = false;  // the old way: the bent wire is left behind
  MoveSymbol(ws, 2, 0, 0, 0, 20);
  EXPECT_EQ(LiveWires(), (Wires{{90, 35, 90, 55}, {10, 30, 50, 30}, {90, 55, 150, 55}}));
}

TEST_F(HistoryTest, AJogInTheRouteSlidesInsteadOfBending) {
  const int g = AddSymbol("buf", {150, 25, 190, 45}, {{150, 35}, {190, 35}});
  AddWires({{100, 80, 120, 80}, {120, 80, 120, 35}, {120, 35, 150, 35}});  // along, up, then into the pin
  MoveSymbol(ws, g, 0, 0, 0, 20);
  EXPECT_EQ(LiveWires(), (Wires{{100, 80, 120, 80}, {120, 80, 120, 55}, {120, 55, 150, 55}}));
}

TEST_F(HistoryTest, PinsTouchingPinsGetAWireAndAMoveThatWouldDisconnectIsRefused) {
  Build();
  AddSymbol("buf", {190, 35, 230, 45}, {{190, 40}, {230, 40}});  // touches the or2's output
  MoveSymbol(ws, 3, 0, 0, 20, 0);
  EXPECT_EQ(LiveWires().back(), (std::tuple{190, 40, 210, 40}));
  // A pin in the middle of a wire cannot follow it.
  ws.circuit.AddWire(120, 45, 120, 100);
  AddSymbol("src", {110, 100, 130, 110}, {{120, 100}});
  AddSymbol("tap", {100, 45, 120, 55}, {{120, 50}});
  const std::string before = Dump(ws.circuit);
  MoveSymbol(ws, 5, 0, 0, -20, 0);
  EXPECT_EQ(Dump(ws.circuit), before);
  EXPECT_EQ(host.LastStatus(), "Move cancelled: the wires of tap could not keep their connections.");
}

}  // namespace
}  // namespace qiro
