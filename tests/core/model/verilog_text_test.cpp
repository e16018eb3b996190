#include "model/verilog_text.h"

#include <gtest/gtest.h>

#include "core/test_support.h"
#include "model/parse_decimal.h"
#include "workspace.h"

namespace qiro {
namespace {

using Names = std::vector<std::string>;

TEST(ParseDecimal, ReadsAndClamps) {
  EXPECT_DOUBLE_EQ(ParseDecimal("12.5", 50, 100000, 0).value, 12.5);
  const DecimalResult negative = ParseDecimal("-3", 50, 100000, 0);
  EXPECT_DOUBLE_EQ(negative.value, 0);
  EXPECT_FALSE(negative.ok);
  EXPECT_DOUBLE_EQ(ParseDecimal("3-", 50, 100000, -10).value, -3) << "a minus anywhere negates";
  const DecimalResult bad = ParseDecimal("10p", 50, 100000, 0);
  EXPECT_DOUBLE_EQ(bad.value, 50);
  EXPECT_FALSE(bad.ok);
  EXPECT_FALSE(ParseDecimal(" ", 7, 100, 0).ok);
  EXPECT_DOUBLE_EQ(ParseDecimal(std::string(128, '1'), 7, 1e300, 0).value, 7);
  const DecimalResult big = ParseDecimal("250000", 0, 100000, -100000);
  EXPECT_DOUBLE_EQ(big.value, 100000);
  EXPECT_FALSE(big.ok);
}

TEST(VerilogText, WordsAndPortLists) {
  EXPECT_EQ(VerilogWord("  nand g1(y, a, b);", 1), "nand");
  EXPECT_EQ(VerilogWord("  nand g1(y, a, b);", 2), "g1");
  EXPECT_EQ(VerilogWord("nand #(2) g1(y,a,b);", 2), "#");
  EXPECT_EQ(VerilogWord("endmodule", 1), "endmodul") << "the last character closes the statement";

  EXPECT_EQ(ParsePortList("input a, b, c;"), (Names{"a", "b", "c"}));
  EXPECT_EQ(ParsePortList("wire w1,w2;"), (Names{"w1", "w2"}));
  EXPECT_EQ(ParsePortList("  input  a,b;"), (Names{"a", "b"})) << "indented lines read alike";
  EXPECT_EQ(ParsePortList("nand g1(y, a, b);"), (Names{"y", "a", "b"}));
  EXPECT_EQ(ParsePortList("nand #(2.5) g1(y, a, b);"), (Names{"2.5"}));
  EXPECT_EQ(ParsePortList("input a , b;"), (Names{"a", "", "b"}));
  EXPECT_EQ(ParsePortList("endmodule"), Names{});
}

TEST(VerilogText, LinesNameThePinsOfTheSymbol) {
  test::RecordingHost host;
  Workspace ws(&host);
  Circuit& c = ws.circuit;
  const int s = c.AddSymbol("adder");
  for (int k = 0; k < 4; ++k) c.AddPin(s, 0, k * 10, 'I', "p", 0, 0, ws.tech);
  BeginVerilogSymbol(ws);
  for (const char* line : {"// a comment", "module adder(a, b, s, c);", "input a;", "input b;",
                           "output s, c;", "nand #(3) g1(s, a, b);", "endmodule"})
    ReadVerilogLine(ws, s, line);
  const TSymbol& sym = c.Symbols[s];
  EXPECT_EQ(sym.VerilogLineCount, 7);
  EXPECT_EQ(sym.VerilogLine(1), "// a comment");
  EXPECT_EQ(sym.VerilogStart, 1) << "a gate line sets the expansion start back to 1";
  EXPECT_EQ(sym.Pin(1).Name, "a");
  EXPECT_EQ(sym.Pin(2).Name, "b");
  EXPECT_EQ(sym.Pin(3).Name, "s");
  EXPECT_EQ(sym.Pin(4).Name, "c");
  EXPECT_EQ(sym.Pin(3).Kind, 'O');
  EXPECT_DOUBLE_EQ(ws.verilogRead.gateDelay, 3);
  EXPECT_EQ(host.LastStatus(), "7");

  // A second module restarts the counts: its declarations name pins from 1 again.
  ReadVerilogLine(ws, s, "module other(x);");
  ReadVerilogLine(ws, s, "output x, y, z, t, u;");
  EXPECT_EQ(sym.VerilogStart, 8);
  EXPECT_EQ(sym.Pin(1).Name, "x");
  EXPECT_EQ(sym.Pin(1).Kind, 'O');
  EXPECT_EQ(sym.PinCount, 4) << "names beyond the declared pins are dropped";
  ReadVerilogLine(ws, s, "and g(x, y, z);");
  EXPECT_DOUBLE_EQ(ws.verilogRead.gateDelay, ws.settings.DefaultDelay);

  // Lines past 512 are counted, not stored.
  for (int k = sym.VerilogLineCount; k < 600; ++k) ReadVerilogLine(ws, s, "// filler");
  EXPECT_EQ(sym.VerilogLineCount, 600);
  EXPECT_EQ(sym.VerilogLine(513), "");
  EXPECT_EQ(sym.VerilogLine(512), "// filler");
}

}  // namespace
}  // namespace qiro
