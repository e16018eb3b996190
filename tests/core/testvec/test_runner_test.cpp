// Running test vectors on the shipped examples: binding names, the default settle time, the
// inputs taken over from their own stimulus, and rows that fail or do not settle.
#include "testvec/test_runner.h"

#include <gtest/gtest.h>

#include "core/test_support.h"
#include "extract/extract.h"
#include "model/schematic_file.h"
#include "model/technology_file.h"
#include "workspace.h"

namespace qiro {
namespace {

class TestRunner : public ::testing::Test {
 protected:
  void Load(const std::string& example) {
    ws.SetHomeDir(test::SourceRoot());
    ASSERT_TRUE(LoadTechnology(ws, test::SourceRoot() / "default.tec"));
    ASSERT_TRUE(OpenSchematic(ws, test::SourceRoot() / "examples" / example));
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

TEST_F(TestRunner, SettleTimeFollowsTheLongestPath) {
  Load("full_adder.sch");
  // a -> xor (3 steps: 1 gate + fanout 2) -> and (2) -> or (2): each line passes a change on
  // one step before its last cell.
  EXPECT_EQ(LongestDelayPath(ws), 2 + 1 + 1);
  EXPECT_EQ(DefaultSettleSteps(4), 10);
  Load("half_adder.sch");
  EXPECT_EQ(LongestDelayPath(ws), 1);
  EXPECT_EQ(DefaultSettleSteps(0), 4);
}

TEST_F(TestRunner, WrongExpectationsFailTheirRowsOnly) {
  Load("full_adder.sch");
  const TestReport r = Run("b a cin | cout s\n0 0 0 | 0 0\n1 1 0 | 1 0\n1 1 1 | 0 1\n0 1 1 | - -\n");
  ASSERT_EQ(r.error, "");
  EXPECT_EQ(r.settle, 10);
  ASSERT_EQ(r.rows.size(), 4u);
  EXPECT_EQ(FormatTally(r), "3 passed, 1 failed");
  EXPECT_EQ(r.rows[1].step, 22);
  EXPECT_EQ(FormatRowResult(vectors, r.rows[2]),
            "row 3 (line 4) step 32: b=1 a=1 cin=1 | expected cout=0 s=1 | got cout=1 s=1 FAILED: cout");
  EXPECT_EQ(r.rows[3].got, (std::vector<std::string>{"1", "0"}));
}

TEST_F(TestRunner, NamesAndValuesTheCircuitLacksAreErrors) {
  Load("half_adder.sch");
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"a c | sum\n0 0 | 0\n", "no input named 'c' in the circuit (its inputs: a b)"},
      {"a b | sum total\n0 0 | 0 0\n", "no output named 'total' in the circuit (its outputs: sum carry)"},
      {"a b | sum\n0 0 | 0\n0 A | 1\n", "line 3: 'A' does not fit b (0, 1 or C)"},
      {"a b | sum\n0 0 | 3\n", "line 2: '3' does not fit sum (0, 1, x or -)"},
      {"a b | sum\n0 0 | -\n", "nothing to compare: every expected value is '-'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Run(c.text).error, c.error);
  }
  EXPECT_EQ(
      RunTestVectors(ws, ReadTestVectors("a b | sum\nhold 50000\n0 0 | 0\n0 0 | 0\n").vectors, 60000).error,
      "the rows need 100002 steps, more than the limit of 60000");
}

TEST_F(TestRunner, NamedSourcesAreOverriddenAndOthersRunAsDrawn) {
  Load("counter.sch");
  // por (a pwl) resets the counter only up to step 10 as drawn; named here it holds the reset.
  TestReport r = Run("por clk1 | q0 digit1\n1 C | 0 0\n1 C | 0 0\n0 C | 1 1\n0 C | 0 2\n");
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(FormatTally(r), "4 passed, 0 failed");
  // Left to itself the clock keeps toggling the first stage: a long row does not settle.
  r = Run("rst | q0\n1 | 0\nhold 400\n0 | -\n0 | 1\n");
  ASSERT_EQ(r.rows.size(), 3u);
  EXPECT_TRUE(r.rows[0].passed);
  EXPECT_TRUE(r.rows[1].passed);  // don't care
  EXPECT_FALSE(r.rows[2].passed);
  EXPECT_NE(FormatRowResult(vectors, r.rows[2]).find("FAILED: q0 (not settled)"), std::string::npos);
}

TEST_F(TestRunner, KeyboardColumnsDriveAllFourPins) {
  Load("keyboard_digit.sch");
  const TestReport r = Run("kbd1 | digit1\n0 | 0\nA | A\n7 | 7\nf | F\n");
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(FormatTally(r), "4 passed, 0 failed");
}

}  // namespace
}  // namespace qiro
