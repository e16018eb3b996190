// qiro-cli's output and input paths: links, FIFOs, "-", read-only and empty paths, endless input.
#include <sys/stat.h>

#include "core/model/fifo_peer.h"
#include "core/test_support.h"

namespace qiro {
namespace {

namespace fs = std::filesystem;
using namespace test;

std::string Q(const fs::path& p) {
  return "'" + p.string() + "'";
}

// The standard output alone; stderr goes to `err`.
std::string StdoutOf(const std::string& args, const fs::path& err) {
  std::string out;
  FILE* pipe = popen(("'" QIRO_CLI_PATH "' " + args + " 2>" + Q(err)).c_str(), "r");
  char buf[4096];
  for (std::size_t n; pipe && (n = fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
  if (pipe) pclose(pipe);
  return out;
}

// One command per output option; OUT stands for the path. `report` is what the command itself
// prints, which must leave the standard output to the file when that is "-".
struct Output {
  std::string command, marker, report;
};

TEST(CliOutputs, EveryOutputFollowsTheSameRules) {
  TempDir dir;
  const std::string sch = Q(SourceRoot() / "examples/half_adder.sch");
  WriteFile(dir / "p.asm", "mov a,#1\n");
  const Output outputs[] = {
      {"save " + sch + " -o OUT", "QIRO 2.3c", ""},
      {"verilog " + sch + " -o OUT", "endmodule", "Verilog description written"},
      {"asm " + Q(dir / "p.asm") + " --hex OUT", ":00000001FF", "mov a,#1"},
      {"simulate " + sch + " --until 5 --vcd OUT", "$enddefinitions", "step 5"},
      {"simulate " + sch + " --until 5 --vcd-nodes OUT", "$enddefinitions", "step 5"},
  };
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
  fs::create_symlink("real", dir / "link");
  for (const Output& o : outputs) {
    const auto with = [&](const std::string& out) {
      const std::size_t at = o.command.find("OUT");
      return std::string(o.command).replace(at, 3, out);
    };
    CliResult r = RunCli(with(Q(dir / "link")));
    EXPECT_EQ(r.status, 0) << o.command << r.out;
    EXPECT_TRUE(fs::is_symlink(dir / "link"));
    EXPECT_NE(ReadFile(dir / "real").find(o.marker), std::string::npos) << o.command;

    FifoPeer reader(dir / "fifo", FifoPeer::Reads);
    EXPECT_EQ(RunCli(with(Q(dir / "fifo"))).status, 0) << o.command;
    EXPECT_NE(reader.Join().find(o.marker), std::string::npos) << o.command;

    const std::string out = StdoutOf(with("-"), dir / "err");
    EXPECT_NE(out.find(o.marker), std::string::npos) << o.command;
    EXPECT_TRUE(o.report.empty() || out.find(o.report) == std::string::npos) << o.command;

    WriteFile(dir / "real", "old");
    fs::permissions(dir / "real", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    r = RunCli(with(Q(dir / "link")));
    EXPECT_TRUE(r.status == 1 && r.out.find("read-only file") != std::string::npos) << o.command << r.out;
    EXPECT_EQ(ReadFile(dir / "real"), "old");
    fs::remove(dir / "real");

    r = RunCli(with("''"));
    EXPECT_TRUE(r.status == 1 && r.out.find("needs a file name, not an empty one") != std::string::npos)
        << o.command << r.out;
  }
  EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
  EXPECT_EQ(RunCli("tosym " + sch + " --dir ''").status, 1);
}

TEST(CliInputs, EndlessInputStopsAtTheBoundAndFailedLoadsSayWhy) {
  TempDir dir;
  const fs::path fifo = dir / "endless";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  for (const auto& [command, message] :
       {std::pair<std::string, std::string>{"info", "Read error of "}, {"asm", "cannot read "}}) {
    FifoPeer writer(fifo, FifoPeer::WritesEndlessly);
    const CliResult r = RunCli(command + " " + Q(fifo));
    writer.Join();
    EXPECT_TRUE(r.status == 1 && r.out.find(message + fifo.string()) != std::string::npos) << r.out;
  }
  const std::string missing = (dir / "missing.sch").string();
  EXPECT_NE(RunCli("extract " + Q(missing)).out.find("cannot load " + missing + ": Error loading " + missing),
            std::string::npos);
}

TEST(CliToSym, NamesGivingOneFileNeedForceAndTextsStayOnTheirLine) {
  TempDir dir;
  const std::string tosym =
      "tosym " + Q(SourceRoot() / "examples/half_adder.sch") + " --dir " + Q(dir.path());
  ASSERT_EQ(RunCli(tosym + " --name a/b").status, 0);
  ASSERT_EQ(RunCli(tosym + " --name a/b").status, 0) << "the same symbol again";
  const std::string first = ReadFile(dir / "abb.sym");
  const CliResult r = RunCli(tosym + " --name 'a\\b'");
  EXPECT_TRUE(r.status == 1 && r.out.find("already holds the symbol \"a/b\"") != std::string::npos) << r.out;
  EXPECT_EQ(ReadFile(dir / "abb.sym"), first);
  ASSERT_EQ(RunCli(tosym + " --name 'a\\b' --force").status, 0);
  EXPECT_NE(ReadFile(dir / "abb.sym").find("SYM  #a\\b\r\n"), std::string::npos);

  // A title that would end its line and a control character in the name.
  ASSERT_EQ(RunCli(tosym + " --name \"$(printf 'n\\001m')\" --title \"$(printf 'T\\r\\nFSYM')\"").status, 0);
  const std::string text = ReadFile(dir / "nm.sym");
  EXPECT_NE(text.find("SYM  #nm\r\n"), std::string::npos);
  EXPECT_NE(text.find("  #T\r\nMODEL"), std::string::npos) << text;
}

}  // namespace
}  // namespace qiro
