#include "model/circuit.h"

#include "core/test_support.h"
#include "model/errors.h"

namespace qiro {
namespace {

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

}  // namespace
}  // namespace qiro
