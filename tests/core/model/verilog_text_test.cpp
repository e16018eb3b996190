#include "model/verilog_text.h"

#include "core/test_support.h"
#include "model/parse_decimal.h"

namespace qiro {
namespace {

using Names = std::vector<std::string>;

TEST(ParseDecimal, ReadsAndClamps) {
  // A minus anywhere negates; a bad or empty text gives the default, a value out of range the bound.
  const struct {
    std::string text;
    double fallback, max, min, value;
    bool ok;
  } cases[] = {{"12.5", 50, 100000, 0, 12.5, true},
               {"-3", 50, 100000, 0, 0, false},
               {"3-", 50, 100000, -10, -3, true},
               {"10p", 50, 100000, 0, 50, false},
               {" ", 7, 100, 0, 7, false},
               {std::string(128, '1'), 7, 1e300, 0, 7, false},
               {"250000", 0, 100000, -100000, 100000, false}};
  for (const auto& c : cases) {
    const DecimalResult r = ParseDecimal(c.text, c.fallback, c.max, c.min);
    EXPECT_DOUBLE_EQ(r.value, c.value) << c.text;
    EXPECT_EQ(r.ok, c.ok) << c.text;
  }
}

TEST(VerilogText, WordsAndPortLists) {
  // The last character of a line closes the statement and belongs to no word.
  for (auto [line, n, word] : {std::tuple{"  nand g1(y, a, b);", 1, "nand"},
                               {"  nand g1(y, a, b);", 2, "g1"},
                               {"nand #(2) g1(y,a,b);", 2, "#"},
                               {"endmodule", 1, "endmodul"}})
    EXPECT_EQ(VerilogWord(line, n), word) << line;
  const std::pair<const char*, Names> lists[] = {{"input a, b, c;", {"a", "b", "c"}},
                                                 {"wire w1,w2;", {"w1", "w2"}},
                                                 {"  input  a,b;", {"a", "b"}},
                                                 {"nand g1(y, a, b);", {"y", "a", "b"}},
                                                 {"nand #(2.5) g1(y, a, b);", {"2.5"}},
                                                 {"input a , b;", {"a", "", "b"}},
                                                 {"endmodule", {}}};
  for (const auto& [line, names] : lists) EXPECT_EQ(ParsePortList(line), names) << line;
}

using VerilogLines = test::WorkspaceTest;
TEST_F(VerilogLines, NameThePinsOfTheSymbol) {
  Circuit& c = ws.circuit;
  const int s = c.AddSymbol("adder");
  for (int k = 0; k < 4; ++k) c.AddPin(s, 0, k * 10, 'I', "p", 0, 0, ws.tech);
  BeginVerilogSymbol(ws);
  for (const char* line : {"// a comment", "module adder(a, b, s, c);", "input a;", "input b;",
                           "output s, c;", "nand #(3) g1(s, a, b);", "endmodule"})
    ReadVerilogLine(ws, s, line);
  const TSymbol& sym = c.Symbols[s];
  EXPECT_EQ(std::pair(sym.VerilogLineCount, sym.VerilogLine(1)), std::pair(7, std::string("// a comment")));
  EXPECT_EQ(sym.VerilogStart, 1) << "a gate line sets the expansion start back to 1";
  const auto pins = [&sym] {
    std::string out;
    for (int k = 1; k <= sym.PinCount; ++k) out += sym.Pin(k).Name + sym.Pin(k).Kind + " ";
    return out;
  };
  EXPECT_EQ(pins(), "aI bI sO cO ");
  EXPECT_TRUE(ws.verilogRead.gateDelay == 3 && host.LastStatus() == "7");

  // A second module restarts the counts: its declarations name pins from 1 again.
  ReadVerilogLine(ws, s, "module other(x);");
  ReadVerilogLine(ws, s, "output x, y, z, t, u;");
  EXPECT_EQ(sym.VerilogStart, 8);
  EXPECT_EQ(pins(), "xO yO zO tO ") << "names beyond the declared pins are dropped";
  ReadVerilogLine(ws, s, "and g(x, y, z);");
  EXPECT_DOUBLE_EQ(ws.verilogRead.gateDelay, ws.settings.DefaultDelay);
}

}  // namespace
}  // namespace qiro
