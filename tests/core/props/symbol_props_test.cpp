#include "props/symbol_props.h"

#include <functional>

#include "core/test_support.h"
#include "extract/extract.h"
#include "model/schematic_file.h"
#include "props/page_tools.h"
#include "props/pin_rename.h"
#include "props/props_check.h"

namespace qiro {
namespace {

class SymbolPropsTest : public test::WorkspaceTest {
 protected:
  // Places a library symbol and returns its index.
  int Place(const std::string& stem) {
    EXPECT_TRUE(SchematicLoad(ws, test::SourceRoot() / "IEEE" / (stem + ".SYM"), kLoadSymbol, 200, 200));
    return ws.circuit.Symbols.Count();
  }
  SymbolProps Open(int s) {
    SymbolProps p;
    ReadProperties(ws, s, p);
    return p;
  }
  std::string Words(int s, int first, int last) const {
    return test::Words(ws.circuit.Symbols[s], first, last);
  }
};

TEST_F(SymbolPropsTest, ClockPhasesAreStoredWithThreeDecimalsOnlyWhenReadable) {
  const int s = Place("clock");
  SymbolProps p = Open(s);
  EXPECT_TRUE(p.Page == PropsPage::Clock && p.ClockLow == "50.000");
  std::tie(p.ClockLow, p.ClockHigh, p.ClockPinName) = std::tuple("20", "30", "ck-main");
  ApplyProperties(ws, s, p);
  EXPECT_EQ(Words(s, 1, 2), "20.000,30.000");
  EXPECT_TRUE(ws.circuit.Symbols[s].Pin(1).Name + " " + p.Pins[0].Name == "ck_main ck_main" &&
              ws.circuit.Modified);

  std::tie(p.ClockLow, p.ClockHigh) = std::pair("7p", "8");
  ApplyProperties(ws, s, p);
  EXPECT_EQ(Words(s, 1, 2), "20.000,30.000");
}

TEST_F(SymbolPropsTest, MatrixAndPipLinks) {
  const int m = Place("matrix");
  SymbolProps p = Open(m);
  EXPECT_EQ(p.MatrixOpen, (std::array<bool, 6>{true, true, true, true, true, true}));
  p.MatrixOpen = {};
  MatrixAllOff(p);
  ApplyProperties(ws, m, p);
  const std::string allOff = ws.circuit.Symbols[m].Prop(1);
  p.MatrixOpen[0] = p.MatrixOpen[3] = false;
  ApplyProperties(ws, m, p);
  EXPECT_EQ(allOff + " " + ws.circuit.Symbols[m].Prop(1), "000000 100100");
  EXPECT_EQ(Open(m).MatrixOpen, (std::array<bool, 6>{false, true, true, false, true, true}));

  const int pip = Place("pip");
  p = Open(pip);
  ASSERT_FALSE(p.PipOpen);
  p.PipOpen = true;
  ApplyProperties(ws, pip, p);
  EXPECT_EQ(ws.circuit.Symbols[pip].Prop(1), "0");
}

TEST_F(SymbolPropsTest, LookUpTableFunctionsAndToggle) {
  const auto& list = LutFunctions();
  ASSERT_TRUE(list.size() == 20u && list.back().empty());
  SymbolProps p;
  const auto fill = [&](const std::string& text) {
    const auto it = std::find(list.begin(), list.end(), text);
    ASSERT_NE(it, list.end()) << text;
    LutApplyFunction(p, static_cast<int>(it - list.begin()));
  };
  const auto table = [&] {
    std::string t;
    for (const auto& v : p.Lut) t += v;
    return t;
  };
  std::string all;  // every function's table, in the list's order
  for (const auto& function : list) fill(function), all += table() + " ";
  EXPECT_EQ(all,
            "0000000000000000 1111111111111111 1010101010101010 1100110011001100 0001000100010001 "
            "0000000100000001 0000000000000001 1110111011101110 1111111011111110 1111111111111110 "
            "0111011101110111 0111111101111111 0111111111111111 1000100010001000 1000000010000000 "
            "1000000000000000 0110011001100110 0110100101101001 0110100110010110 0000000000000000 ");
  for (int row : {3, 3, 15}) LutToggle(p, row);
  EXPECT_EQ(table(), "0000000000000001");

  const int s = Place("lut");
  SymbolProps q = Open(s);
  fill("Fout = F0 xor F1 ; XOR 2 inputs");
  q.Lut = p.Lut;
  q.Lut[5] = "";  // an empty cell must not shift the later outputs
  ApplyProperties(ws, s, q);
  EXPECT_EQ(Words(s, 1, 16), "0,1,1,0,0,0,1,0,0,1,1,0,0,1,1,0");
}

TEST_F(SymbolPropsTest, PwlSequenceEditing) {
  SymbolProps p;
  p.Pwl[7] = {"999", "1"};  // left over from a longer sequence
  // The first eight rows as time=value.
  const auto rows = [&p] {
    std::string out;
    for (int k = 0; k < 8; ++k) out += p.Pwl[k].Time + "=" + p.Pwl[k].Value + " ";
    return out;
  };
  p.PwlSequence = "0x11 0";
  PwlLoad(p);
  EXPECT_EQ(rows(), "0=0 100=1 200=1 300=0 = = = = ");

  p.PwlSequence = "0110";
  PwlLoad(p);
  p.PwlStep = "5";
  PwlApplyStep(p);
  EXPECT_EQ(rows(), "5.00=0 10.00=1 15.00=1 20.00=0 = = = = ");

  p.PwlSequence = "10";
  PwlAppend(p);
  EXPECT_EQ(rows(), "5.00=0 10.00=1 15.00=1 20.00=0 120=1 220=0 = = ");

  p.PwlStep = "abc";
  PwlApplyStep(p);
  EXPECT_EQ(p.PwlStep + " " + p.Pwl[0].Time, "1 5.00");

  PwlClearFrom(p, 2);
  EXPECT_EQ(rows(), "5.00=0 10.00=1 = = = = = = ");

  // A grid full to its last row takes no more; the symbol stores what its word table holds.
  p.PwlSequence = std::string(400, '1');
  PwlLoad(p);
  EXPECT_EQ(p.Pwl.back().Value, "1");
  PwlAppend(p);
  EXPECT_EQ(p.Pwl.size(), std::size_t(kPwlRows));
  const int s = Place("pwl");
  SymbolProps q = Open(s);
  q.Pwl = p.Pwl;
  ApplyProperties(ws, s, q);
  EXPECT_EQ(Words(s, 199, 200), "9900,1");
  EXPECT_EQ(Open(s).Pwl[99].Time + "|" + Open(s).Pwl[100].Time, "9900|");
}

TEST_F(SymbolPropsTest, DevicePinsAreNamedAfterTheSymbol) {
  const int d = Place("display");
  SymbolProps p = Open(d);
  EXPECT_TRUE(p.Page == PropsPage::Select && p.FormatVisible);
  EXPECT_EQ(p.SelectPinName, "<auto>");
  std::tie(p.Name, p.Format, p.Colour) = std::tuple("disp", 2, 4);
  ApplyProperties(ws, d, p);
  const TSymbol& s = ws.circuit.Symbols[d];
  EXPECT_EQ(s.Name + " " + p.Pins[0].Name, "disp disp7");
  EXPECT_TRUE(s.RecColour == 'p' && s.Vis >> 6 == 2 && Open(d).Colour == 4);

  const auto pins = [this](int i) { return test::PinNames(ws.circuit.Symbols[i]); };
  EXPECT_EQ(pins(d), "disp7 disp6 disp5 disp4 disp3 disp2 disp1 disp0 ");
  for (auto [stem, name, expected] :
       {std::tuple{"kbd", "keys", "keys0 keys1 keys2 keys3 "}, {"digit", "dg", "dg4 dg3 dg2 dg1 dg0 "}}) {
    const int i = Place(stem);
    p = Open(i);
    p.Name = name;
    ApplyProperties(ws, i, p);
    EXPECT_EQ(pins(i), expected);
  }
}

TEST_F(SymbolPropsTest, TypedGateDelayIsStoredAsTheFactorRunsAndFilesUse) {
  ws.tech.UnitGateDelay = 2;
  const int g = Place("nand2");
  SymbolProps p = Open(g);
  ASSERT_EQ(p.Pins.size(), 3u);
  EXPECT_EQ(p.VerilogMemo.back(), "// " + ws.circuit.Symbols[g].Pin(3).Name + ": output");
  p.Pins[0].Gate = "2.5";  // an input pin has no delay: refused
  p.Pins[2].Gate = "50";
  p.Pins[2].Name = "";  // nothing usable: the pin keeps its name
  const std::string out = ws.circuit.Symbols[g].Pin(3).Name;
  ApplyProperties(ws, g, p);
  EXPECT_TRUE(host.ShowedStatus("Fail to change the pin delay!") && ws.circuit.Symbols[g].Pin(3).Name == out);
  EXPECT_EQ(std::pair(ws.circuit.Symbols[g].Pin(1).GateDelay, ws.circuit.Symbols[g].Pin(3).DelayFactor),
            std::pair(0.0, 25.0));
  PinDelaySteps(ws, g, 3);  // a run recomputes the delay from the factor
  EXPECT_DOUBLE_EQ(ws.circuit.Symbols[g].Pin(3).GateDelay, 50);

  // Written and read back, the dialog shows what was typed.
  ASSERT_TRUE(SchematicWrite(ws, dir / "d.sch"));
  ClearSchematic(ws);
  ASSERT_TRUE(SchematicLoad(ws, dir / "d.sch", kLoadOpen));
  EXPECT_EQ(Open(1).Pins[2].Gate, "50.000");
}

TEST_F(SymbolPropsTest, CheckNamesEveryFieldThatWouldBeDroppedOrStoredUnusable) {
  const auto problems = [&](int s, const std::function<void(SymbolProps&)>& edit) {
    SymbolProps p = Open(s);
    edit(p);
    std::vector<std::pair<PropsField, int>> out;
    for (const FieldProblem& f : CheckProperties(ws, s, p)) out.emplace_back(f.Field, f.Index);
    return out;
  };
  using V = std::vector<std::pair<PropsField, int>>;
  const int clock = Place("clock"), lut = Place("lut"), pwl = Place("pwl"), gate = Place("and2");
  EXPECT_EQ(problems(clock, [](SymbolProps&) {}), V{});  // what the dialog shows is acceptable
  EXPECT_EQ(problems(clock,
                     [](SymbolProps& p) {
                       std::tie(p.ClockLow, p.ClockHigh, p.ClockPinName) =
                           std::tuple("200000", "abc", "my clk!");
                     }),
            (V{{PropsField::ClockLow, 0}, {PropsField::ClockHigh, 0}, {PropsField::ClockPinName, 0}}));
  EXPECT_EQ(problems(lut, [](SymbolProps& p) { p.Lut[3] = "z", p.Lut[4] = "x"; }), (V{{PropsField::Lut, 3}}));
  EXPECT_EQ(problems(pwl,
                     [](SymbolProps& p) {
                       p.Pwl = {{"abc", "1"}, {"100", ""}, {"200", "0"}, {"150", "1"}};
                       p.Pwl.resize(kPwlRows);
                     }),
            (V{{PropsField::PwlTime, 0}, {PropsField::PwlValue, 1}, {PropsField::PwlTime, 3}}));
  EXPECT_EQ(problems(gate,
                     [](SymbolProps& p) {  // a delay below the unit: a file would read it as 1
                       p.Name = "my mod!", p.Pins[2].Gate = "0.5";
                     }),
            (V{{PropsField::Name, 0}, {PropsField::PinGate, 2}}));
  EXPECT_EQ(problems(Place("sinus"), [](SymbolProps& p) { p.Values[1] = "0"; }), (V{{PropsField::Value, 1}}));
}

TEST_F(SymbolPropsTest, ValuePagesStoreTheirWords) {
  const int v = Place("vsource");
  SymbolProps p = Open(v);
  EXPECT_TRUE(p.Page == PropsPage::Vsource && p.Values[0] == "2.5");
  p.Values = {"3.3", "", "9 0"};
  ApplyProperties(ws, v, p);
  EXPECT_EQ(Words(v, 1, 3), "3.3,0,90");  // an empty field keeps its word

  const int n = Place("nmos");
  p = Open(n);
  ASSERT_EQ(p.Page, PropsPage::Mos);
  p.Values[0] = "4u";
  ApplyProperties(ws, n, p);
  EXPECT_EQ(ws.circuit.Symbols[n].Prop(1), "4u");

  const int s = Place("sinus");
  ws.circuit.Symbols[s].PropWords[3].clear();
  p = Open(s);
  EXPECT_EQ(p.Values,
            (std::array<std::string, 3>{"10", "50", "0"}));  // the default where the symbol has no word
}

TEST_F(SymbolPropsTest, RenamingAVerilogPinRewritesThePortLists) {
  const int s = ws.circuit.AddSymbol("half");
  TSymbol& t = ws.circuit.Symbols[s];
  for (const char* pin : {"a", "b", "s"}) ws.circuit.AddPin(s, 0, 0, 'I', pin, 0, 0, ws.tech);
  for (const char* line : {"module half(a,b,s);", " input a,b;", " output s;", " xor a(s,a,b);",
                           " nand #(2) a2(s, b ,a);", " and ab(s,ab,b);", "endmodule"}) {
    t.VerilogLines.push_back(line);
    ++t.VerilogLineCount;
  }
  SymbolProps p = Open(s);
  EXPECT_EQ(p.Page, PropsPage::VerilogCall);
  p.Pins[0].Name = "x";
  ApplyProperties(ws, s, p);
  EXPECT_EQ(t.Pin(1).Name, "x");
  EXPECT_EQ(std::vector<std::string>(t.VerilogLines.begin() + 1, t.VerilogLines.end()),
            (std::vector<std::string>{"module half(x,b,s);", " input x,b;", " output s;", " xor a(s,x,b);",
                                      " nand #(2) a2(s, b ,x);", " and ab(s,ab,b);", "endmodule"}));
}

TEST_F(SymbolPropsTest, BuiltInGateRenameMovesTheInstanceName) {
  const int g = Place("and2");
  TSymbol& t = ws.circuit.Symbols[g];
  t.VerilogLines.push_back(" and and2(y,a,b);");
  t.VerilogLineCount = 1;
  SymbolProps p = Open(g);
  p.Name = "gate9";
  ApplyProperties(ws, g, p);
  EXPECT_EQ(t.VerilogLines[1] + "|" + t.Name, " and gate9(y,a,b);|gate9");
  // A bad index changes nothing.
  ws.circuit.Modified = false;
  p.Name = "keep";
  ReadProperties(ws, 5, p);
  ApplyProperties(ws, 5, p);
  EXPECT_TRUE(p.Name == "keep" && !ws.circuit.Modified);
}

TEST_F(SymbolPropsTest, ProgramIsAssembledAndStoredOnApply) {
  ASSERT_TRUE(SchematicLoad(ws, test::SourceRoot() / "examples" / "mcu_counter.sch", kLoadOpen));
  int m = 0;
  for (int i = 1; i <= ws.circuit.Symbols.Count(); ++i)
    if (ws.circuit.Symbols[i].Model == 2051) m = i;
  ASSERT_GT(m, 0);
  SymbolProps p = Open(m);
  EXPECT_EQ(p.Page, PropsPage::Mcu);
  EXPECT_EQ(p.Program.size(), static_cast<std::size_t>(ws.circuit.AsmLines.Count()));
  p.Program = {" ORG 0", " NOP", " inc r0"};
  AssembleProps(ws, p);
  EXPECT_TRUE(p.Listing.size() == 3u && p.SymbolList.front() == "List of symbols");
  EXPECT_EQ(ws.mcu.Program[0] * 256 + ws.mcu.Program[1], 0x0008);
  ApplyProperties(ws, m, p);
  EXPECT_EQ(std::pair(ws.circuit.AsmLines.Count(), ws.circuit.AsmLines[2]),
            std::pair(3, std::string(" NOP")));
}

}  // namespace
}  // namespace qiro
