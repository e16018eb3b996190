#include "verilog/verilog_page.h"

#include <gtest/gtest.h>

#include "core/test_support.h"
#include "workspace.h"

namespace qiro {
namespace {

int AddSymbolWithText(Workspace& ws, const std::string& name, const std::vector<std::string>& lines) {
  const int s = ws.circuit.AddSymbol(name);
  for (const auto& l : lines) {
    ws.circuit.Symbols[s].VerilogLines.push_back(l);
    ++ws.circuit.Symbols[s].VerilogLineCount;
  }
  return s;
}

TEST(TidyVerilogLine, IndentsByDepth) {
  EXPECT_EQ(TidyVerilogLine("   nand g1(y,a,b);"), "  nand g1(y,a,b);");
  EXPECT_EQ(TidyVerilogLine("      nand g1(y,a,b);"), "  nand g1(y,a,b);");
  EXPECT_EQ(TidyVerilogLine(" input a;"), " input a;");
  EXPECT_EQ(TidyVerilogLine("  input a;"), " input a;");
  EXPECT_EQ(TidyVerilogLine("input a;"), "input a;");
  EXPECT_EQ(TidyVerilogLine("    endmodule"), "endmodule");
  EXPECT_EQ(TidyVerilogLine("  module m(a);"), "module m(a);");
  EXPECT_EQ(TidyVerilogLine("   // note"), " ");
  EXPECT_EQ(TidyVerilogLine(""), "");
}

TEST(RenameModule, PutsTheSymbolNameOnTheLastModuleLine) {
  test::RecordingHost host;
  Workspace ws(&host);
  const int s = AddSymbolWithText(ws, "adder1", {"module half (a,b,s,c);", " xor x(s,a,b);", "endmodule"});
  RenameModule(ws, s, "adder1");
  EXPECT_EQ(ws.circuit.Symbols[s].VerilogLines[1], "module adder1(a,b,s,c);");

  // No "(" after the name: the line ends with the new name.
  const int t = AddSymbolWithText(ws, "x", {"module old", "endmodule"});
  RenameModule(ws, t, "fresh");
  EXPECT_EQ(ws.circuit.Symbols[t].Name, "fresh");
  EXPECT_EQ(ws.circuit.Symbols[t].VerilogLines[1], "module fresh");

  const int u = AddSymbolWithText(ws, "u", {" nand g(y,a,b);"});
  RenameModule(ws, u, "u");
  EXPECT_EQ(host.LastStatus(0), "Error : module not found !");
  EXPECT_EQ(ws.circuit.Symbols[u].VerilogLines[1], " nand g(y,a,b);");
}

TEST(ShowVerilogPage, UserSymbolIsTidiedAndRenamed) {
  Workspace ws;
  const int s = AddSymbolWithText(ws, "adder1", {"module half( a,b,s);", "   xor x(s,a,b);", "  endmodule"});
  const VerilogPage page = ShowVerilogPage(ws, s);
  // A user symbol's text is tidied twice (before and after the rename): deep indentation
  // settles at one blank.
  EXPECT_EQ(page.Memo, (std::vector<std::string>{"module adder1( a,b,s);", " xor x(s,a,b);", "endmodule"}));
  EXPECT_EQ(page.NameField, "adder1");
  EXPECT_EQ(ws.circuit.Symbols[s].VerilogLines[2], " xor x(s,a,b);") << "tidied lines are stored back";
}

TEST(ShowVerilogPage, PrimitiveGateGetsThreeCommentLines) {
  Workspace ws;
  const int s = ws.circuit.AddSymbol("and2");
  for (const char* pin : {"a", "b", "y"}) ws.circuit.AddPin(s, 0, 0, 'I', pin, 0, 0, ws.tech);
  const VerilogPage page = ShowVerilogPage(ws, s);
  EXPECT_EQ(page.Memo,
            (std::vector<std::string>{"// Verilog Primitive \"and2\"", "// a,b: input", "// y: output"}));
  EXPECT_EQ(page.NameField, "and2");
}

}  // namespace
}  // namespace qiro
