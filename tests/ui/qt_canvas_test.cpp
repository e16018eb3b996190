// The fast Qt canvas paints exactly what the plain one paints: every example at several zooms
// and scroll positions, in colour and black on white, and a mix of calls at the image edges.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <functional>
#include <random>

#include "core/test_support.h"
#include "editor/renderer.h"
#include "editor/view.h"
#include "model/schematic_file.h"
#include "qt_canvas.h"
#include "workspace.h"

namespace qiro {
namespace {
using namespace qiro::test;

// Paints through both paths onto the same starting picture; the first differing pixel if any.
std::string Compare(int width, int height, const std::function<void(Canvas&)>& draw) {
  QImage plain(width, height, QImage::Format_RGB32), fast(width, height, QImage::Format_RGB32);
  plain.fill(QColor(20, 40, 60));
  fast.fill(QColor(20, 40, 60));
  {
    QtCanvas c(plain, QtCanvas::Path::Plain);
    draw(c);
  }
  {
    QtCanvas c(fast, QtCanvas::Path::Fast);
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

TEST(QtCanvasPaths, MixedCallsAtTheEdgesLookTheSame) {
  const std::string diff = Compare(120, 90, [](Canvas& c) {
    c.Clear(palette::kBlack);
    c.SetPen(Pen{palette::kLime, PenStyle::Solid, RasterOp::Copy, 1});
    c.Segment(-40, 10, 200, 30);  // across the whole image
    c.Segment(5, 5, 60, 5);
    c.SetPen(Pen{palette::kCyan, PenStyle::Solid, RasterOp::Copy, 1});
    c.Segment(60, 5, 60, 80);       // same run, new colour
    c.Segment(-500, -5, -20, -90);  // wholly outside
    c.SetPen(Pen{palette::kGrey, PenStyle::Dotted, RasterOp::Copy, 1});
    c.Segment(3, 40, 100, 40);  // dotted lines each start their own pattern
    c.Segment(3, 42, 100, 42);
    c.SetPen(Pen{palette::kWhite, PenStyle::Solid, RasterOp::Xor, 1});
    c.Segment(0, 0, 119, 89);
    c.Segment(0, 0, 119, 89);
    c.Segment(0, 89, 119, 0);
    c.SetPen(Pen{palette::kYellow, PenStyle::Solid, RasterOp::Copy, 2});
    c.Segment(10, 70, 110, 70);
    c.FillRect(PixelRect{-5, 50, 8, 200}, palette::kRed);      // clipped
    c.FillRect(PixelRect{30, 30, 25, 25}, palette::kMagenta);  // corners given backwards
    c.SetPixel(-1, 3, palette::kBlue);
    c.SetPixel(119, 89, palette::kBlue);
    c.SetBrush(Brush{palette::kBlack, false});
    c.Ellipse(PixelRect{70, 50, 80, 60});
    c.font().size = 8;
    c.Text(-12, -4, "clipped left");
    c.Text(100, 82, "clipped right");
    c.Text(20, 20, "");
    c.Text(20, 20, " ");
    c.Text(200, 20, "outside");
    c.SetBrush(Brush{palette::kBlack, true});
    c.font().colour = palette::kRed;
    c.Text(15, 55, "over lines");
    c.SetBrush(Brush{palette::kWhite, false});
    c.font() = Font{palette::kBlack, 12, "Arial"};
    c.Text(2, 60, "Wjgy");
    c.SetPen(Pen{palette::kWhite, PenStyle::Dotted, RasterOp::Xor, 1});
    c.SetBrush(Brush{palette::kBlack, true});
    c.Rectangle(PixelRect{10, 10, 100, 80});
  });
  EXPECT_EQ(diff, "");
}

TEST(QtCanvasPaths, RandomLinesCoverTheSamePixels) {
  const Colour colours[] = {palette::kLime, palette::kCyan, palette::kYellow, palette::kRed};
  const std::string diff = Compare(200, 150, [&](Canvas& c) {
    std::mt19937 rng(11);  // the same lines for both paths
    std::uniform_int_distribution<int> coord(-30, 230), near(-8, 8), style(0, 9);
    for (int i = 0; i < 3000; ++i) {
      const int x1 = coord(rng), y1 = coord(rng);
      const bool shortLine = i % 2 == 0;
      const int x2 = shortLine ? x1 + near(rng) : coord(rng), y2 = shortLine ? y1 + near(rng) : coord(rng);
      const int s = style(rng);
      c.SetPen(Pen{colours[i % 4], s == 0 ? PenStyle::Dotted : PenStyle::Solid,
                   s == 1 ? RasterOp::Xor : RasterOp::Copy, s == 2 ? 2 : 1});
      c.Segment(x1, y1, x2, y2);
    }
  });
  EXPECT_EQ(diff, "");
}

}  // namespace
}  // namespace qiro
