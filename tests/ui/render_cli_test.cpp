// qiro-cli render: the picture has the asked size and the program's colours.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/test_support.h"

namespace qiro {
namespace {
using namespace qiro::test;

int CountColour(const QImage& img, QColor c) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += img.pixelColor(x, y) == c;
  return n;
}

TEST(RenderCli, DrawsTheSchematicInColourOrBlackOnWhite) {
  TempDir tmp;
  const auto sch = (SourceRoot() / "examples" / "half_adder.sch").string();
  const auto colour = (tmp / "c.png").string(), mono = (tmp / "m.png").string();
  ASSERT_EQ(RunCli("render '" + sch + "' -o '" + colour + "' --size 400x300").status, 0);
  QImage img(QString::fromStdString(colour));
  ASSERT_EQ(img.size(), QSize(400, 300));
  EXPECT_EQ(img.pixelColor(1, 299), QColor(Qt::black));
  EXPECT_GT(CountColour(img, QColor(0, 255, 255)), 50);  // cyan wires
  EXPECT_GT(CountColour(img, QColor(0, 255, 0)), 50);    // lime outlines

  ASSERT_EQ(RunCli("render '" + sch + "' -o '" + mono + "' --size 400x300 --mono").status, 0);
  QImage m(QString::fromStdString(mono));
  EXPECT_EQ(m.pixelColor(1, 299), QColor(Qt::white));
  EXPECT_EQ(CountColour(m, QColor(0, 255, 255)), 0);
}

TEST(RenderCli, RefusesBadArguments) {
  TempDir tmp;
  const auto sch = (SourceRoot() / "examples" / "half_adder.sch").string();
  EXPECT_NE(RunCli("render '" + sch + "' -o '" + (tmp / "x.png").string() + "' --size 0x-5").status, 0);
  EXPECT_NE(RunCli("render '" + sch + "'").status, 0);
  EXPECT_NE(RunCli("render no_such.sch -o '" + (tmp / "x.png").string() + "'").status, 0);
  EXPECT_NE(RunCli("render '" + sch + "' -o /no_such_dir/x.png").status, 0);
  EXPECT_EQ(RunCli("render '" + sch + "' -o ''").status, 1);

  // Past the file-size limit (its signal ignored, as a script may do): the reason, and the old picture kept.
  const std::string old = (tmp / "old.png").string();
  WriteFile(old, "old");
  FILE* pipe = popen(
      ("trap '' XFSZ; ulimit -f 2; '" QIRO_CLI_PATH "' render '" + sch + "' -o '" + old + "' 2>&1").c_str(),
      "r");
  ASSERT_TRUE(pipe);
  char buf[512] = {};
  const std::string said(buf, fread(buf, 1, sizeof buf - 1, pipe));
  EXPECT_NE(pclose(pipe), 0);
  EXPECT_NE(said.find("qiro-cli: cannot write " + old + ": " + std::strerror(EFBIG) + "\n"),
            std::string::npos)
      << said;
  EXPECT_EQ(ReadFile(old), "old");
}

}  // namespace
}  // namespace qiro
