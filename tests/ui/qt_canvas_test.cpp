// The fast Qt canvas paints exactly what the plain one paints: every example at several zooms
// and scroll positions, in colour and black on white, and a mix of calls at the image edges;
// qiro-cli render draws the asked size in the program's colours.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "editor/renderer.h"
#include "editor/view.h"
#include "fake_dialogs.h"
#include "model/schematic_file.h"
#include "qt_canvas.h"

namespace qiro {
namespace {
using namespace qiro::test;

// Paints through both paths onto the same starting picture; the first differing pixel if any.
std::string Compare(int width, int height, const std::function<void(Canvas&)>& draw) {
  QImage plain(width, height, QImage::Format_RGB32), fast(width, height, QImage::Format_RGB32);
  for (auto [image, path] : {std::pair{&plain, QtCanvas::Path::Plain}, {&fast, QtCanvas::Path::Fast}}) {
    image->fill(QColor(20, 40, 60));
    QtCanvas c(*image, path);
    draw(c);
  }
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (plain.pixel(x, y) != fast.pixel(x, y))
        return "pixel " + std::to_string(x) + "," + std::to_string(y) + ": plain " +
               QColor(plain.pixel(x, y)).name().toStdString() + ", fast " +
               QColor(fast.pixel(x, y)).name().toStdString();
  return "";
}

TEST(QtCanvasPaths, ExamplesLookTheSameThroughBothPaths) {
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(SourceRoot() / "examples")) {
    if (entry.path().extension() != ".sch") continue;
    Workspace ws;
    ws.SetHomeDir(SourceRoot());
    ClearSchematic(ws);
    ASSERT_TRUE(SchematicLoad(ws, entry.path(), kLoadOpen)) << entry.path();
    ws.view.Resize(640 + kScrollBarSize, 480 + kScrollBarSize, 0);
    // Fitted, zoomed in with items across the edges, zoomed far out (small fonts, grid 25).
    const std::function<void(View&)> zooms[] = {
        [](View&) {},
        [](View& v) { v.ZoomIn(), v.ZoomIn(), v.ZoomIn(), v.ScrollHorizontalTo(58); },
        [](View& v) { v.ZoomIn(), v.ZoomIn(), v.ZoomIn(), v.ZoomIn(), v.ZoomIn(), v.ScrollVerticalTo(45); },
        [](View& v) { v.ZoomOut(), v.ZoomOut(), v.ZoomOut(); },
    };
    for (const auto& zoom : zooms)
      for (const bool mono : {false, true}) {
        FitViewToSchematic(ws);
        zoom(ws.view);
        ws.settings.Monochrome = mono;
        ws.view.netView = mono;  // node numbers instead of pin names
        const std::string diff = Compare(640, 480, [&ws](Canvas& c) {
          RedrawAll(ws, c);
          DrawWireStates(ws, c);
          DrawPinValues(ws, c);
        });
        EXPECT_EQ(diff, "") << entry.path().filename() << " mono " << mono << " world " << ws.view.world.x1
                            << "," << ws.view.world.y1 << " " << ws.view.world.x2 << "," << ws.view.world.y2;
        ++checked;
      }
  }
  EXPECT_GE(checked, 8 * 8);
}

// Random mixes of every call with every pen, brush and font, many reaching past the edges,
// rectangles with their corners in any order.
TEST(QtCanvasPaths, RandomCallsLookTheSame) {
  const Colour colours[] = {palette::kLime, palette::kCyan,  palette::kYellow,
                            palette::kRed,  palette::kBlack, palette::kWhite};
  const char* const texts[] = {"", " ", "Wjgy", "clipped left", "over lines"};
  const std::string diff = Compare(200, 150, [&](Canvas& c) {
    std::mt19937 rng(11);  // the same calls for both paths
    const auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    c.Clear(palette::kBlack);
    for (int i = 0; i < 4000; ++i) {
      const int x1 = pick(-30, 230), y1 = pick(-30, 180);
      const bool shortLine = i % 2 == 0;
      const int x2 = shortLine ? x1 + pick(-8, 8) : pick(-30, 230);
      const int y2 = shortLine ? y1 + pick(-8, 8) : pick(-30, 180);
      const int s = pick(0, 9);
      c.SetPen(Pen{colours[i % 4], s == 0 ? PenStyle::Dotted : PenStyle::Solid,
                   s == 1 ? RasterOp::Xor : RasterOp::Copy, s == 2 ? 2 : 1});
      c.SetBrush(Brush{colours[pick(0, 5)], pick(0, 1) == 1});
      c.font() = Font{colours[pick(0, 5)], pick(6, 12), "Arial"};
      const int kind = i % 10 < 6 ? 0 : pick(1, 5);  // mostly lines
      if (kind == 0) c.Segment(x1, y1, x2, y2);
      if (kind == 1) c.FillRect(PixelRect{x1, y1, x2, y2}, colours[pick(0, 5)]);
      if (kind == 2) c.SetPixel(x1, y1, colours[pick(0, 5)]);
      if (kind == 3) c.Ellipse(PixelRect{x1, y1, x1 + pick(0, 20), y1 + pick(0, 20)});
      if (kind == 4) c.Rectangle(PixelRect{x1, y1, x2, y2});
      if (kind == 5) c.Text(x1, y1, texts[pick(0, 4)]);
    }
  });
  EXPECT_EQ(diff, "");
}

int CountColour(const QImage& img, QColor c) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += img.pixelColor(x, y) == c;
  return n;
}

TEST(RenderCli, DrawsTheSchematicInColourOrBlackOnWhiteAndRefusesBadArguments) {
  TempDir tmp;
  const std::string sch = "'" + (SourceRoot() / "examples" / "half_adder.sch").string() + "'";
  const auto colour = (tmp / "c.png").string(), mono = (tmp / "m.png").string();
  ASSERT_EQ(RunCli("render " + sch + " -o '" + colour + "' --size 400x300").status, 0);
  QImage img(QString::fromStdString(colour));
  ASSERT_EQ(img.size(), QSize(400, 300));
  // Cyan wires, lime outlines.
  EXPECT_TRUE(img.pixelColor(1, 299) == QColor(Qt::black) && CountColour(img, QColor(0, 255, 255)) > 50 &&
              CountColour(img, QColor(0, 255, 0)) > 50);
  ASSERT_EQ(RunCli("render " + sch + " -o '" + mono + "' --size 400x300 --mono").status, 0);
  QImage m(QString::fromStdString(mono));
  EXPECT_TRUE(m.pixelColor(1, 299) == QColor(Qt::white) && CountColour(m, QColor(0, 255, 255)) == 0);

  const std::string x = " -o '" + (tmp / "x.png").string() + "'";
  for (const std::string& args :
       {sch + x + " --size 0x-5", sch, "no_such.sch" + x, sch + " -o /no_such_dir/x.png"})
    EXPECT_NE(RunCli("render " + args).status, 0) << args;
  EXPECT_EQ(RunCli("render " + sch + " -o ''").status, 1);
  // Past the file-size limit (its signal ignored, as a script may do): the reason, and the old picture kept.
  const std::string old = (tmp / "old.png").string();
  WriteFile(old, "old");
  const CliResult r =
      RunShell("trap '' XFSZ; ulimit -f 2; '" QIRO_CLI_PATH "' render " + sch + " -o '" + old + "'");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.out.find("qiro-cli: cannot write " + old + ": " + std::strerror(EFBIG) + "\n"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(ReadFile(old), "old");
}

// qiro-cli leaves Qt to its render helper (a simulation would carry Qt's libraries for nothing);
// without the helper, render says what is missing.
TEST(RenderCli, QiroCliLoadsNoQtAndNamesAMissingHelper) {
  TempDir tmp;
  const CliResult libs = RunShell("ldd '" QIRO_CLI_PATH "'");
  EXPECT_TRUE(libs.status == 0 && libs.out.find("libc.so") != std::string::npos);
  EXPECT_EQ(libs.out.find("Qt6"), std::string::npos) << libs.out;
  const auto alone = tmp / "qiro-cli";
  std::filesystem::copy_file(QIRO_CLI_PATH, alone);
  const CliResult r = RunShell("'" + alone.string() + "' render x.sch -o x.png");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("qiro-cli: render needs the program qiro-render"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace qiro
