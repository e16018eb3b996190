#include "model/home_dir.h"

#include "core/test_support.h"

namespace qiro {
namespace {

namespace fs = std::filesystem;

// A tree with a plain folder, a source tree with a build inside, and an installed prefix.
TEST(HomeDir, SearchOrder) {
  test::TempDir tmp;
  const fs::path plain = tmp.path() / "plain", src = tmp.path() / "src", prefix = tmp.path() / "usr";
  const fs::path buildBin = src / "build" / "src" / "app", installedBin = prefix / "bin",
                 data = prefix / "share" / "qiro";
  for (const fs::path& d : {plain, buildBin, installedBin, src / "IEEE", data / "IEEE"})
    fs::create_directories(d);

  struct Case {
    const char* what;
    HomeSearch search;
    fs::path home;
    bool installed;
  };
  const Case cases[] = {
      {"--home wins", {"/x", "/y", src, installedBin, data}, "/x", false},
      {"then QIRO_HOME", {"", "/y", src, installedBin, data}, "/y", false},
      {"a working directory holding IEEE", {"", "", src, installedBin, data}, src, false},
      {"the data folder beside the program", {"", "", plain, installedBin, ""}, data, true},
      {"a source tree above the program", {"", "", plain, buildBin, data}, src, false},
      {"the built-in data folder", {"", "", plain, plain, data}, data, true},
      {"else the working directory", {"", "", plain, plain, tmp.path() / "none"}, plain, false},
  };
  for (const Case& c : cases) {
    const HomeChoice got = FindHome(c.search);
    EXPECT_EQ(std::pair(got.dir, got.installed), std::pair(c.home, c.installed)) << c.what;
  }
}

TEST(HomeDir, HomeOption) {
  std::vector<std::string> args = {"simulate", "--home", "/h", "a.sch"};
  std::string home;
  EXPECT_EQ(TakeHomeOption(args, home), "");
  EXPECT_EQ(home, "/h");
  EXPECT_EQ(args, (std::vector<std::string>{"simulate", "a.sch"}));
  std::vector<std::string> bad = {"info", "--home"};
  EXPECT_NE(TakeHomeOption(bad, home), "");
}

}  // namespace
}  // namespace qiro
