#include "model/safe_write.h"

#include <gtest/gtest.h>

#include "chrono/vcd_writer.h"
#include "core/test_support.h"
#include "model/schematic_file.h"
#include "symbols/sch_to_sym.h"
#include "verilog/verilog_writer.h"
#include "workspace.h"

namespace qiro {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::RecordingHost;
using test::TempDir;
using test::WriteFile;

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
    EXPECT_NE(why.find("No space"), std::string::npos) << why;
    EXPECT_EQ(ReadFile(target), "first");
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"out.txt"});
  }

  ASSERT_TRUE(SafeWriteText(target, std::string(200000, 'y')));
  EXPECT_EQ(ReadFile(target), std::string(200000, 'y'));
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write)
      << "a replaced file keeps its permissions";
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"out.txt"});
}

TEST(SafeWrite, UnwritablePlacesFailWithAReason) {
  TempDir dir;
  WriteFile(dir / "plain", "a file, not a directory");
  std::string why;
  EXPECT_FALSE(SafeWriteText(dir / "plain" / "x.txt", "text", &why));
  EXPECT_NE(why.find("cannot create"), std::string::npos) << why;
  EXPECT_FALSE(SafeWriteText(dir / "missing" / "x.txt", "text", &why));
  // A directory in the way of the target: the temporary file is written, the rename refused.
  fs::create_directory(dir / "taken");
  EXPECT_FALSE(SafeWriteText(dir / "taken", "text", &why));
  EXPECT_TRUE(fs::is_directory(dir / "taken"));
  EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"plain", "taken"}));
}

struct SavedSchematic : ::testing::Test {
  RecordingHost host;
  Workspace ws{&host};
  TempDir dir;
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
  EXPECT_EQ(host.errors.back(), "Write error in " + sch);
  EXPECT_EQ(ReadFile(dir / "example.sch"), "old");
  EXPECT_FALSE(fs::exists(dir / "example.bak")) << "no backup of a save that did not happen";
  EXPECT_TRUE(ws.circuit.Modified);

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
  EXPECT_EQ(ReadFile(dir / "example.bak"), "old");
  EXPECT_EQ(ReadFile(dir / "example.sch"), saved);
  EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"example.bak", "example.sch"}));
}

TEST_F(SavedSchematic, ParentThatIsAFileReportsErrorSeven) {
  WriteFile(dir / "f", "x");
  const std::string bad = (dir / "f" / "a.sch").string();
  EXPECT_FALSE(SchematicWrite(ws, bad));
  EXPECT_EQ(host.errors.back(), "Write error in " + bad);
  EXPECT_EQ(ReadFile(dir / "f"), "x");
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
  EXPECT_EQ(host.errors.back(), "Write error in " + (dir / "example.txt").string());
  EXPECT_EQ(ReadFile(dir / "example.txt"), "old verilog");
  EXPECT_EQ(ReadFile(dir / "w.vcd"), "old vcd");
  EXPECT_EQ(ReadFile(dir / "s.sym"), "old symbol");

  EXPECT_TRUE(SaveVerilogFile(ws));
  EXPECT_EQ(ReadFile(dir / "example.txt"), "module example;\r\nendmodule\r\n");
  EXPECT_TRUE(WriteChronoVcdFile(dir / "w.vcd", store, 1.0));
  EXPECT_NE(ReadFile(dir / "w.vcd").find("$enddefinitions"), std::string::npos);
}

}  // namespace
}  // namespace qiro
