// qiro-cli info and save, end to end.
#include "core/test_support.h"

namespace qiro {
namespace {

TEST(CliFiles, InfoAndSave) {
  test::TempDir dir;
  test::WriteFile(dir / "a.sch",
                  "BB(0,0,100,200)\nSYM  #x\nBB(0,0,10,10)\nFSYM\nLIG(0,0,10,0)\nCNC(0 0)\nMEMnop\n");
  const std::string a = (dir / "a.sch").string();
  test::CliResult info = test::RunCli("info '" + a + "'");
  EXPECT_EQ(info.status, 0) << info.out;
  EXPECT_NE(info.out.find("symbols: 1\nwires: 1\ncontacts: 1\nlabels: 0\nassembly lines: 1\n"),
            std::string::npos)
      << info.out;
  EXPECT_NE(info.out.find("bounding box: 0 0 100 200\nstatus: Loaded " + a + "\n"), std::string::npos);

  const std::string out = (dir / "out.sch").string();
  test::CliResult save = test::RunCli("save '" + a + "' -o '" + out + "'");
  EXPECT_EQ(save.status, 0) << save.out;
  EXPECT_NE(test::ReadFile(out).find("\r\nFFIG " + out + "\r\n"), std::string::npos);

  EXPECT_EQ(test::RunCli("info").status, 1);
  EXPECT_EQ(test::RunCli("save '" + a + "'").status, 1);
  test::WriteFile(dir / "text.txt", "no bounding box here\n");
  test::CliResult bad = test::RunCli("info '" + (dir / "text.txt").string() + "'");
  EXPECT_TRUE(bad.status == 1 && bad.out.find("Format error in ") != std::string::npos) << bad.out;
  EXPECT_EQ(test::RunCli("save '" + (dir / "none.sch").string() + "' -o '" + out + "'").status, 1);
}

}  // namespace
}  // namespace qiro
