// The verilog and tosym commands on the shipped examples.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>

#include "core/test_support.h"

namespace qiro {
namespace {

using test::ReadFile;
using test::RunCli;
using test::SourceRoot;
using test::TempDir;

std::string Quote(const std::filesystem::path& p) {
  return "'" + p.string() + "'";
}

// Drops the lines that hold the date and the file's path (the second and third).
std::string WithoutStamp(const std::string& text) {
  std::istringstream in(text);
  std::string line, out;
  for (int n = 1; std::getline(in, line); ++n)
    if (n != 2 && n != 3) out += line + "\n";
  return out;
}

TEST(VerilogCli, HierarchicalExampleIsWrittenFlat) {
  TempDir dir;
  std::filesystem::copy_file(SourceRoot() / "examples/adder_2bit.sch", dir / "adder_2bit.sch");
  const auto r = RunCli("verilog " + Quote(dir / "adder_2bit.sch"));
  ASSERT_EQ(r.status, 0) << r.out;
  // Written beside the schematic by default, with the generated gates of both symbols.
  EXPECT_EQ(WithoutStamp(ReadFile(dir / "adder_2bit.txt")),
            WithoutStamp(ReadFile(SourceRoot() / "tests/golden/verilog/adder_2bit.txt")));
  EXPECT_NE(r.out.find("Verilog description written in \""), std::string::npos);

  EXPECT_EQ(RunCli("verilog").status, 1);
  EXPECT_EQ(RunCli("verilog " + Quote(dir / "missing.sch")).status, 1);
}

TEST(VerilogCli, GatePrimitiveExamplesAreAcceptedByIverilog) {
  if (std::system("iverilog -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "iverilog is not installed";
  const std::set<std::string> standard = {"and", "nand", "or",     "nor",    "xor",  "xnor",
                                          "not", "buf",  "bufif1", "notif1", "nmos", "pmos"};
  TempDir dir;
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(SourceRoot() / "examples")) {
    if (entry.path().extension() != ".sch") continue;
    const auto out = dir / (entry.path().stem().string() + ".v");
    const auto r = RunCli("verilog " + Quote(entry.path()) + " -o " + Quote(out));
    ASSERT_EQ(r.status, 0) << entry.path() << "\n" << r.out;
    // Only circuits made of Verilog's own gate primitives qualify (dreg, mux are ours).
    std::istringstream in(ReadFile(out));
    std::string line;
    bool qualifies = true;
    while (std::getline(in, line)) {
      std::istringstream words(line);
      std::string keyword;
      words >> keyword;
      if (line.rfind(" ", 0) == 0 && line.find('(') != std::string::npos && keyword != "input" &&
          keyword != "output" && keyword != "wire" && !standard.count(keyword))
        qualifies = false;
    }
    if (!qualifies) continue;
    ++checked;
    const std::string cmd = "iverilog -o /dev/null " + Quote(out) + " 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << entry.path() << " is not valid Verilog:\n" << ReadFile(out);
  }
  EXPECT_GE(checked, 2) << "the half adder and the 2-bit adder qualify";
}

TEST(ToSymCli, RegeneratesTheShippedFullAdderSymbol) {
  TempDir dir;
  auto r = RunCli("tosym " + Quote(SourceRoot() / "examples/full_adder.sch") + " --dir " + Quote(dir.path()) +
                  " --order increasing");
  ASSERT_EQ(r.status, 0) << r.out;
  const auto dropDate = [](std::string text) {
    const auto b = text.find("DATE ");
    return text.erase(b, text.find('\n', b) - b);
  };
  EXPECT_EQ(dropDate(ReadFile(dir / "full_adder.sym")),
            dropDate(ReadFile(SourceRoot() / "examples/full_adder.sym")));

  r = RunCli("tosym " + Quote(SourceRoot() / "examples/half_adder.sch") + " --dir " + Quote(dir.path()) +
             " --name 'my-adder 2' --title Half");
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string text = ReadFile(dir / "my_adder2.sym");
  EXPECT_NE(text.find("SYM  #my-adder 2\r\n"), std::string::npos);
  EXPECT_NE(text.find("TITLE 10 10  #Half\r\n"), std::string::npos);

  // The design already holds symbols named full_adder: that name is refused.
  r = RunCli("tosym " + Quote(SourceRoot() / "examples/adder_2bit.sch") + " --dir " + Quote(dir.path()) +
             " --name full_adder");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("The module name \"full_adder\" is already used in the design. Save failed."),
            std::string::npos);
  EXPECT_EQ(RunCli("tosym x.sch --order sideways").status, 1);
}

}  // namespace
}  // namespace qiro
