// qiro-cli extract and check on the shipped examples (golden outputs checked by hand against
// the drawings) and on small drawings written for the purpose.
#include <gtest/gtest.h>

#include "core/test_support.h"
#include "model/schematic_file.h"
#include "workspace.h"

namespace qiro {
namespace {

using test::RunCli;
using test::SourceRoot;

std::string Quoted(const std::filesystem::path& p) {
  return "'" + p.string() + "'";
}

TEST(ExtractCli, ExamplesMatchTheirGoldenOutput) {
  const std::filesystem::path root = SourceRoot();
  for (const char* name : {"half_adder", "counter", "keyboard_digit", "jk_toggle", "sine_display"}) {
    SCOPED_TRACE(name);
    const auto r = RunCli("extract " + Quoted(root / "examples" / (std::string(name) + ".sch")) + " --tech " +
                          Quoted(root / "default.tec"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, test::ReadFile(root / "tests/golden/extract" / (std::string(name) + ".txt")));
    const auto check = RunCli("check " + Quoted(root / "examples" / (std::string(name) + ".sch")));
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(check.out, "No floating line in this design.\n");
  }
}

TEST(ExtractCli, FloatingWiresAndErrorsSetTheExitStatus) {
  test::TempDir dir;
  Workspace ws;
  int s = ws.circuit.AddSymbol("t");
  ws.circuit.Symbols[s].Model = 500;
  ws.circuit.AddPin(s, 0, 0, 'I', "a", 0, 0, ws.tech);
  ws.circuit.AddWire(0, 0, 50, 0);
  ASSERT_TRUE(SchematicWrite(ws, dir / "floating.sch"));
  auto r = RunCli("check " + Quoted(dir / "floating.sch"));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "1 line(s) floating. Keep smiling.\n");

  // More unconnected pins than the node table holds.
  for (int i = 0; i < 1100; ++i) {
    ws.circuit.Symbols[s = ws.circuit.AddSymbol("t")].Model = 500;
    for (int y : {100, 110}) ws.circuit.AddPin(s, 100 + 10 * i, y, 'I', "a", 0, 0, ws.tech);
  }
  ASSERT_TRUE(SchematicWrite(ws, dir / "big.sch"));
  r = RunCli("extract " + Quoted(dir / "big.sch"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("error: Too many nodes."), std::string::npos);
  EXPECT_NE(r.out.find("verdict: Circuit contains error\n"), std::string::npos);

  EXPECT_EQ(RunCli("extract " + Quoted(dir / "big.sch") + " --tech " + Quoted(dir / "absent.tec")).status, 1);
  EXPECT_EQ(RunCli("extract").status, 1);
  EXPECT_EQ(RunCli("check " + Quoted(dir / "absent.sch")).status, 1);
}

}  // namespace
}  // namespace qiro
