// qiro-cli simulate on the shipped examples: scripted clicks, checks and waveform files (the
// counter and the keyboard run through qiro-cli test and their golden files).
#include <gtest/gtest.h>

#include "core/test_support.h"

namespace qiro {
namespace {

using test::RunCli;

std::string Example(const std::string& name) {
  return "'" + (test::SourceRoot() / "examples" / name).string() + "'";
}

TEST(SimulateCli, HalfAdderTruthTable) {
  test::TempDir dir;
  const auto r = RunCli("simulate " + Example("half_adder.sch") + " --until 80 --vcd " +
                        (dir / "t.vcd").string() + " --vcd-nodes " + (dir / "n.vcd").string() +
                        " --expect sum=0@18 --expect carry=0@18"
                        " --toggle button1@20 --expect sum=1@38 --expect carry=0@38"
                        " --toggle button2@40 --expect sum=0@58 --expect carry=1@58"
                        " --toggle button1@60 --expect sum=1@78 --expect carry=0@78");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("expect sum=0@58 ok\nexpect carry=1@58 ok\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("step 80\nlight sum=1\nlight carry=0\n"), std::string::npos) << r.out;
  // The button is clicked between steps 19 and 20: its trace changes at 19, its node at 20.
  const std::string traces = test::ReadFile(dir / "t.vcd");
  EXPECT_NE(traces.find("$var wire 1 \" a_(button1) $end"), std::string::npos) << traces;
  EXPECT_NE(traces.find("#19\n1\"\n"), std::string::npos) << traces;
  const std::string nodes = test::ReadFile(dir / "n.vcd");
  EXPECT_NE(nodes.find("$var wire 1 # a $end"), std::string::npos) << nodes;
  EXPECT_NE(nodes.find("#20\n1#\n"), std::string::npos) << nodes;
}

TEST(SimulateCli, FailedChecksAndBadArguments) {
  const auto r = RunCli("simulate " + Example("half_adder.sch") +
                        " --until 30 --expect sum=1@20 --expect nosuch=0@20 --expect sum=0@40");
  EXPECT_EQ(r.status, 3) << r.out;
  EXPECT_NE(r.out.find("expect sum=1@20 FAILED got 0\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("expect nosuch=0@20 FAILED got no such node\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("expect sum=0@40 FAILED got not reached\n"), std::string::npos) << r.out;

  // No --until, a bad level, a device that cannot be clicked, a missing file.
  for (const std::string& args :
       {Example("half_adder.sch"), Example("half_adder.sch") + " --until 9 --expect sum=2@5",
        Example("half_adder.sch") + " --until 9 --toggle light1@5",
        std::string("/nonexistent/x.sch --until 9")})
    EXPECT_EQ(RunCli("simulate " + args).status, 1) << args;
}

}  // namespace
}  // namespace qiro
