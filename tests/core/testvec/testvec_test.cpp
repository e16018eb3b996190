// Test vectors: the .tst reader, running the rows on the shipped examples, and qiro-cli test
// against golden outputs (so a passing run prints none of them).
#include <gtest/gtest.h>

#include "core/sim/devices_test_support.h"
#include "core/test_support.h"
#include "extract/extract.h"
#include "model/schematic_file.h"
#include "model/technology_file.h"
#include "sim/devices.h"
#include "testvec/test_runner.h"
#include "testvec/test_vectors.h"
#include "workspace.h"

namespace qiro {
namespace {

using test::RunCli;
using test::SourceRoot;

TEST(TestVectorsReader, EveryErrorNamesItsLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "line 1: no header line (inputs | outputs)"},
      {"# nothing\n\n", "line 2: no header line (inputs | outputs)"},
      {"a b\n", "line 1: the header names the inputs, then '|', then the outputs"},
      {"a | b | c\n", "line 1: the header names the inputs, then '|', then the outputs"},
      {"a |\n0\n", "line 1: the header names no output after '|'"},
      {"a | b a\n", "line 1: 'a' is named twice in the header"},
      {"a | b\n# none\n", "line 2: no rows to test"},
      {"a | b\n0 1\n0 1 1\n", "line 3: 3 values for 2 columns"},
      {"a | b\n0 | | 1\n", "line 2: '|' must stand after the inputs"},
      {"a | b\n1 | 1\n0 |\n", "line 3: 1 values for 2 columns"},
      {"a | b\n\n2x 1\n", "line 3: '2x' is not a value for a (0, 1, C or a hexadecimal key)"},
      {"a | b\n0 z\n", "line 2: 'z' is not a value for b (0, 1, x, - or hexadecimal)"},
      {"a | b\nhold\n", "line 2: hold needs a number of steps, 0 to 100000"},
      {"a | b\nhold -3\n", "line 2: hold needs a number of steps, 0 to 100000"},
      {"a | b\nrepeat 100001\n", "line 2: repeat needs a count, 0 to 100000"},
      {"a | b\nrepeat 2\n0 1\nrepeat 2\n0 1\nend\n", "line 2: repeat without end"},
      {"a | b\n0 1\nend\n", "line 3: end without repeat"},
      {"a | b\nrepeat 2\n0 1\nend now\n", "line 4: end stands alone on its line"},
      {"a | b\nrepeat 1000\nrepeat 1000\n0 1\nend\nend\n", "line 6: more than 100000 rows"}};
  for (const auto& [text, error] : cases) EXPECT_EQ(ReadTestVectors(text).error, error) << text;
}

TEST(TestVectorsReader, HexCellsTakeEitherCaseAndAtMostTwoDigits) {
  const std::pair<const char*, int> cells[] = {{"0", 0},    {"9", 9},  {"a", 10}, {"F", 15},  {"1f", 31},
                                               {"Ab", 171}, {"g", -1}, {"", -1},  {"100", -1}};
  for (const auto& [cell, value] : cells) EXPECT_EQ(HexValue(cell), value) << cell;
}

class TestRunner : public ::testing::Test {
 protected:
  void Load(const std::string& example) {
    ws.SetHomeDir(SourceRoot());
    ASSERT_TRUE(LoadTechnology(ws, SourceRoot() / "default.tec"));
    ASSERT_TRUE(OpenSchematic(ws, SourceRoot() / "examples" / example));
    ExtractCircuit(ws);
    ASSERT_EQ(ws.extraction.ResultCode, 0);
  }
  TestReport Run(const std::string& text) {
    auto r = ReadTestVectors(text);
    EXPECT_TRUE(r.ok()) << r.error;
    vectors = r.vectors;
    return RunTestVectors(ws, vectors);
  }
  test::RecordingHost host;
  Workspace ws{&host};
  TestVectors vectors;
};

TEST_F(TestRunner, NamesAndValuesTheCircuitLacksAreErrors) {
  Load("half_adder.sch");
  const std::pair<const char*, const char*> cases[] = {
      {"a c | sum\n0 0 | 0\n", "no input named 'c' in the circuit (its inputs: a b)"},
      {"a b | sum total\n0 0 | 0 0\n", "no output named 'total' in the circuit (its outputs: sum carry)"},
      {"a b | sum\n0 0 | 0\n0 A | 1\n", "line 3: 'A' does not fit b (0, 1 or C)"},
      {"a b | sum\n0 0 | 3\n", "line 2: '3' does not fit sum (0, 1, x or -)"},
      {"a b | sum\n0 0 | -\n", "nothing to compare: every expected value is '-'"}};
  for (const auto& [text, error] : cases) EXPECT_EQ(Run(text).error, error) << text;
  EXPECT_EQ(
      RunTestVectors(ws, ReadTestVectors("a b | sum\nhold 50000\n0 0 | 0\n0 0 | 0\n").vectors, 60000).error,
      "the rows need 100002 steps, more than the limit of 60000");
  // A run that went through leaves the simulation stopped.
  EXPECT_TRUE(Run("a b | sum\n1 0 | 1\n").error.empty());
  EXPECT_FALSE(ws.engine.Running || ws.engine.Paused);
}

// The stimulus the desktop program runs: a clock pulse row takes three phases, and the run
// pauses after the chosen step with the row named.
TEST_F(TestRunner, StimulusPulsesAClockRowAndPausesAfterTheChosenStep) {
  Load("half_adder.sch");
  const TestVectors v = ReadTestVectors("a b | sum\n0 0 | 0\n1 C | 1\n").vectors;
  TestStimulus stim(v, 4);
  stim.Bind(ws);
  stim.PauseAfter(stim.EndStep(0));
  int b = 0;
  for (int i = 1; i <= ws.circuit.Symbols.Count(); ++i)
    if (ws.circuit.Symbols[i].Name == "button2") b = i;
  ASSERT_GT(b, 0);
  std::string seen;  // per step: paused, then the level of b's button
  for (int step = TestStimulus::kFirstStep; step <= stim.TotalSteps(); ++step) {
    stim.Drive(ws, step);
    seen += std::string(ws.engine.Paused ? "p" : "-") + LevelChar(ws.circuit.Symbols[b].Pin(1).Value);
  }
  EXPECT_EQ(seen, "-0-0-0p0p0p0p0p0p1p1p1p1p0p0p0p0");
  EXPECT_EQ(host.LastStatus(0), "Test row 1 (line 2) at step 6");
}

std::string Quoted(const std::string& relative) {
  return test::Quote(SourceRoot() / relative);
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
  // s = (a xor b) or cin in the wrong adder: rows 0 1 1 and 1 0 1 give s = 1.
  const std::tuple<std::string, std::string, std::string, int> cases[] = {
      {"half_adder.sch", "half_adder.tst", "half_adder.txt", 0},
      {"full_adder.sch", "full_adder.tst", "full_adder.txt", 0},
      {"adder_2bit.sch", "adder_2bit.tst", "adder_2bit.txt", 0},
      {"counter.sch", "counter.tst", "counter.txt", 0},
      {"grading/full_adder_wrong.sch", "full_adder.tst", "full_adder_wrong.txt", 3}};
  for (const auto& [circuit, vectors, golden, status] : cases) {
    const auto r = RunCli("test " + Quoted("examples/" + circuit) + " " + Quoted("examples/" + vectors));
    EXPECT_EQ(r.status, status) << circuit;
    EXPECT_TRUE(r.out == Golden(golden)) << "differs from tests/golden/testvec/" << golden << ":\n" << r.out;
  }
}

TEST(TestCli, GradingAFolderGoesOnPastABadCircuit) {
  test::TempDir dir;
  const std::string tst = Quoted("examples/full_adder.tst");
  const auto r =
      RunCli("test " + tst + " " + Quoted("examples/grading") + " --csv '" + (dir / "g.csv").string() + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Relative(r.out) == Golden("grading.txt")) << Relative(r.out);
  EXPECT_TRUE(Relative(test::ReadFile(dir / "g.csv")) == Golden("grading.csv"))
      << test::ReadFile(dir / "g.csv");
  // Failed rows alone give 3; a bad vectors file or missing circuit gives 1 before anything runs.
  const std::string adders =
      Quoted("examples/full_adder.sch") + " " + Quoted("examples/grading/full_adder_wrong.sch");
  test::WriteFile(dir / "bad.tst", "a b | s\n0 0\n");
  const auto bad = RunCli("test " + test::Quote(dir / "bad.tst") + " " + adders);
  EXPECT_EQ(std::tuple(RunCli("test " + tst + " " + adders).status, bad.status,
                       RunCli("test " + tst + " " + test::Quote(dir / "none")).status),
            std::tuple(3, 1, 1));
  EXPECT_NE(bad.out.find("bad.tst: line 2: 2 values for 3 columns"), std::string::npos) << bad.out;
}

}  // namespace
}  // namespace qiro
