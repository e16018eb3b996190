// qiro-cli test on the shipped examples and the grading folder. The outputs are compared with
// golden files here, so a passing run prints none of them.
#include <gtest/gtest.h>

#include "core/test_support.h"

namespace qiro {
namespace {

using test::RunCli;
using test::SourceRoot;

std::string Quoted(const std::filesystem::path& p) {
  return "'" + p.string() + "'";
}

std::string Golden(const std::string& name) {
  return test::ReadFile(SourceRoot() / "tests/golden/testvec" / name);
}

// The paths of the source tree, which differ between machines, are cut off.
std::string Relative(std::string text) {
  const std::string root = SourceRoot().string() + "/";
  for (std::size_t p; (p = text.find(root)) != std::string::npos;) text.erase(p, root.size());
  return text;
}

TEST(TestCli, ExamplesMatchTheirGoldenOutput) {
  const std::filesystem::path ex = SourceRoot() / "examples";
  const struct {
    std::string circuit, vectors, golden;
    int status;
  } cases[] = {
      {"half_adder.sch", "half_adder.tst", "half_adder.txt", 0},
      {"full_adder.sch", "full_adder.tst", "full_adder.txt", 0},
      {"adder_2bit.sch", "adder_2bit.tst", "adder_2bit.txt", 0},
      {"counter.sch", "counter.tst", "counter.txt", 0},
      // s = (a xor b) or cin: rows 0 1 1 and 1 0 1 give s = 1.
      {"grading/full_adder_wrong.sch", "full_adder.tst", "full_adder_wrong.txt", 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.circuit);
    const auto r = RunCli("test " + Quoted(ex / c.circuit) + " " + Quoted(ex / c.vectors));
    EXPECT_EQ(r.status, c.status);
    EXPECT_TRUE(r.out == Golden(c.golden)) << "differs from tests/golden/testvec/" << c.golden << ":\n"
                                           << r.out;
  }
}

TEST(TestCli, GradingAFolderGoesOnPastABadCircuit) {
  test::TempDir dir;
  const auto r = RunCli("test " + Quoted(SourceRoot() / "examples/full_adder.tst") + " " +
                        Quoted(SourceRoot() / "examples/grading") + " --csv " + Quoted(dir / "grades.csv"));
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Relative(r.out) == Golden("grading.txt")) << Relative(r.out);
  EXPECT_TRUE(Relative(test::ReadFile(dir / "grades.csv")) == Golden("grading.csv"))
      << test::ReadFile(dir / "grades.csv");

  // Failed rows alone give 3; a bad vectors file or missing circuit gives 1 before anything runs.
  const std::string adders = Quoted(SourceRoot() / "examples/full_adder.sch") + " " +
                             Quoted(SourceRoot() / "examples/grading/full_adder_wrong.sch");
  EXPECT_EQ(RunCli("test " + Quoted(SourceRoot() / "examples/full_adder.tst") + " " + adders).status, 3);
  test::WriteFile(dir / "bad.tst", "a b | s\n0 0\n");
  const auto bad = RunCli("test " + Quoted(dir / "bad.tst") + " " + adders);
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.out.find("bad.tst: line 2: 2 values for 3 columns"), std::string::npos) << bad.out;
  EXPECT_EQ(
      RunCli("test " + Quoted(SourceRoot() / "examples/full_adder.tst") + " " + Quoted(dir / "none")).status,
      1);
}

}  // namespace
}  // namespace qiro
