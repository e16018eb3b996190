#include "model/safe_write.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "chrono/vcd_writer.h"
#include "core/model/fifo_peer.h"
#include "core/test_support.h"
#include "model/file_read.h"
#include "model/schematic_file.h"
#include "symbols/sch_to_sym.h"
#include "verilog/verilog_writer.h"

namespace qiro {
namespace {

namespace fs = std::filesystem;
using namespace test;

// Every name in the directory, to see that no temporary file is left behind.
std::vector<std::string> Names(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(SafeWrite, ReplacesWholeOrNotAtAll) {
  TempDir dir;
  const fs::path target = dir / "out.txt";
  std::string why;
  ASSERT_TRUE(SafeWriteText(target, "first", &why)) << why;
  EXPECT_EQ(ReadFile(target), "first");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);

  // A full disk after 3 bytes, with a text larger than the stream's buffer as well as a small one.
  for (const std::string& text : {std::string("second"), std::string(200000, 'x')}) {
    ScopedWriteFault full(3);
    EXPECT_FALSE(SafeWriteText(target, text, &why));
    EXPECT_EQ(why, "cannot write " + target.string() + ": disk full");
    EXPECT_TRUE(ReadFile(target) == "first" && Names(dir.path()) == std::vector<std::string>{"out.txt"});
  }

  ASSERT_TRUE(SafeWriteText(target, std::string(200000, 'y')));
  EXPECT_EQ(ReadFile(target), std::string(200000, 'y'));
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write)
      << "a replaced file keeps its permissions";
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"out.txt"});
}

// What a shell redirection would refuse is refused before anything is written.
TEST(SafeWrite, RefusesEmptyPathsDirectoriesAndReadOnlyFiles) {
  TempDir dir;
  WriteFile(dir / "plain", "a file, not a directory");
  WriteFile(dir / "ro", "kept");
  fs::permissions(dir / "ro", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::create_symlink("ro", dir / "ro-link");
  fs::create_symlink("loop", dir / "loop");
  fs::create_directory(dir / "taken");
  const std::pair<fs::path, std::string> cases[] = {
      {"", "empty file name"},
      {dir / "ro", "read-only file"},
      {dir / "ro-link", "read-only file"},
      {dir / "taken", std::strerror(EISDIR)},
      {dir / "loop", std::strerror(ELOOP)},
      {dir / "plain" / "x",
       "cannot create a file in " + (dir / "plain").string() + ": " + std::strerror(ENOTDIR)},
  };
  for (const auto& [path, reason] : cases) {
    SafeFile file(path);
    file.Stream() << "text";
    EXPECT_FALSE(file.Commit()) << path;
    EXPECT_EQ(file.Reason(), reason) << path;
  }
  EXPECT_EQ(ReadFile(dir / "ro"), "kept");
  EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"loop", "plain", "ro", "ro-link", "taken"}));
}

TEST(SafeWrite, FollowsLinksAndWritesFifosInPlace) {
  TempDir dir;
  WriteFile(dir / "real", "old");
  fs::create_symlink("real", dir / "link");  // relative: from the link's directory
  fs::create_symlink(dir / "new", dir / "dangling");
  ASSERT_TRUE(SafeWriteText(dir / "link", "through the link"));
  ASSERT_TRUE(SafeWriteText(dir / "dangling", "made"));
  EXPECT_TRUE(fs::is_symlink(dir / "link"));
  EXPECT_EQ(ReadFile(dir / "real") + "|" + ReadFile(dir / "new"), "through the link|made");

  const fs::path fifo = dir / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  FifoPeer reader(fifo, FifoPeer::Reads);
  EXPECT_TRUE(SafeWriteText(fifo, "into the pipe"));
  EXPECT_EQ(reader.Join(), "into the pipe");
  // Write errors of the device are reported: a full one, a reader gone (without dying of SIGPIPE).
  std::string why;
  {
    FifoPeer partial(fifo, FifoPeer::Reads);
    ScopedWriteFault full(4);
    EXPECT_FALSE(SafeWriteText(fifo, "too long", &why));
    EXPECT_EQ(partial.Join(), "too ");
  }
  EXPECT_EQ(why, "cannot write " + fifo.string() + ": disk full");
  FifoPeer gone(fifo, FifoPeer::Leaves);
  EXPECT_FALSE(SafeWriteText(fifo, std::string(1 << 20, 'x'), &why));
  gone.Join();
  EXPECT_EQ(why, "cannot write " + fifo.string() + ": " + std::strerror(EPIPE));
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"dangling", "fifo", "link", "new", "real"}));
}

TEST(ReadWholeFile, StopsAtItsBound) {
  TempDir dir;
  WriteFile(dir / "f", "0123456789");
  std::string text;
  EXPECT_TRUE(ReadWholeFile(dir / "f", text, 10) && text == "0123456789");
  EXPECT_TRUE(!ReadWholeFile(dir / "f", text, 9) && text.empty());
  EXPECT_FALSE(ReadWholeFile(dir.path(), text));
}

struct SavedSchematic : WorkspaceTest {
  void SetUp() override {
    ClearSchematic(ws);
    ws.circuit.AddWire(0, 0, 10, 0);
    ws.circuit.FileName = (dir / "example").string();
    ws.circuit.Modified = true;
  }
};

TEST_F(SavedSchematic, FullDiskKeepsTheFileAndItsBackup) {
  WriteFile(dir / "example.sch", "old");
  {
    ScopedWriteFault full(10);
    EXPECT_FALSE(SaveSchematic(ws));
  }
  const std::string sch = (dir / "example.sch").string();
  EXPECT_EQ(host.errors.back(), "Write error in " + sch + ": disk full");
  EXPECT_TRUE(ReadFile(dir / "example.sch") == "old" && ws.circuit.Modified);
  EXPECT_FALSE(fs::exists(dir / "example.bak")) << "no backup of a save that did not happen";

  ASSERT_TRUE(SaveSchematic(ws));
  EXPECT_EQ(ReadFile(dir / "example.bak"), "old");
  const std::string saved = ReadFile(dir / "example.sch");
  EXPECT_NE(saved.find("LIG(0,0,10,0)"), std::string::npos);

  // With a backup in place, a failed save changes neither file.
  ws.circuit.AddWire(0, 5, 10, 5);
  {
    ScopedWriteFault full(0);
    EXPECT_FALSE(SaveSchematic(ws));
  }
  EXPECT_TRUE(ReadFile(dir / "example.bak") == "old" && ReadFile(dir / "example.sch") == saved);
  EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"example.bak", "example.sch"}));

  fs::permissions(dir / "example.sch", fs::perms::owner_read);
  EXPECT_FALSE(SaveSchematic(ws));
  EXPECT_TRUE(host.errors.back() == "Write error in " + sch + ": read-only file" &&
              ReadFile(dir / "example.sch") == saved);
}

TEST_F(SavedSchematic, OtherWritersKeepTheEarlierFile) {
  WriteFile(dir / "example.txt", "old verilog");
  WriteFile(dir / "w.vcd", "old vcd");
  WriteFile(dir / "s.sym", "old symbol");
  ws.verilog.Shown = {"module example;", "endmodule"};
  ChronoStore store;
  store.AddChronoTrace("a", false);
  store.RecordChronoSample(1, 1, 1);
  SchToSym generator;
  generator.Name = "s";
  {
    ScopedWriteFault full(4);
    EXPECT_FALSE(SaveVerilogFile(ws));
    EXPECT_FALSE(WriteChronoVcdFile(dir / "w.vcd", store, 1.0));
    EXPECT_FALSE(generator.WriteSymbolFile(dir / "s.sym", "now"));
  }
  EXPECT_EQ(host.errors.back(), "Write error in " + (dir / "example.txt").string() + ": disk full");
  EXPECT_EQ(ReadFile(dir / "example.txt") + "|" + ReadFile(dir / "w.vcd") + "|" + ReadFile(dir / "s.sym"),
            "old verilog|old vcd|old symbol");

  EXPECT_TRUE(SaveVerilogFile(ws));
  EXPECT_EQ(ReadFile(dir / "example.txt"), "module example;\r\nendmodule\r\n");
  EXPECT_TRUE(WriteChronoVcdFile(dir / "w.vcd", store, 1.0) &&
              ReadFile(dir / "w.vcd").find("$enddefinitions") != std::string::npos);
}

}  // namespace
}  // namespace qiro
