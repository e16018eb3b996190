// qiro-render [--home DIR] FILE -o OUT.png [--size WxH] [--mono]: the helper behind
// `qiro-cli render`. Draws the fitted schematic through the program's renderer into a PNG, with
// Qt's offscreen platform so no display is needed. Its messages read as qiro-cli's.
#include <QGuiApplication>
#include <QImage>
#include <cstdlib>

#include "cli/command.h"
#include "editor/renderer.h"
#include "editor/view.h"
#include "model/home_dir.h"
#include "model/schematic_file.h"
#include "qt_canvas.h"
#include "workspace.h"

namespace qiro::cli {

namespace {

bool ParseSize(const std::string& s, int& w, int& h) {
  const auto x = s.find('x');
  if (x == std::string::npos) return false;
  char* end = nullptr;
  const long wl = std::strtol(s.c_str(), &end, 10);
  if (end != s.c_str() + x) return false;
  const long hl = std::strtol(s.c_str() + x + 1, &end, 10);
  if (*end != '\0' || wl < 16 || hl < 16 || wl > 8000 || hl > 8000) return false;
  w = static_cast<int>(wl), h = static_cast<int>(hl);
  return true;
}

int RunRender(const std::vector<std::string>& args) {
  std::string file, out;
  int width = 1024, height = 768;
  bool mono = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size()) {
      out = args[++i];
      if (out.empty()) return Fail(EmptyPathMessage("-o"));
    } else if (args[i] == "--size" && i + 1 < args.size()) {
      if (!ParseSize(args[++i], width, height)) return Fail("bad size " + args[i] + " (WxH, 16..8000)");
    } else if (args[i] == "--mono") {
      mono = true;
    } else if (file.empty() && args[i].rfind("-", 0) != 0) {
      file = args[i];
    } else {
      return Fail("usage: qiro-cli render FILE -o OUT.png [--size WxH] [--mono]");
    }
  }
  if (file.empty() || out.empty())
    return Fail("usage: qiro-cli render FILE -o OUT.png [--size WxH] [--mono]");

  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int argc = 1;
  char name[] = "qiro-cli";
  char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);

  CliHost host;
  Workspace ws(&host);
  ws.SetHomeDir(FindHome());
  ws.settings.Monochrome = mono;
  ClearSchematic(ws);
  if (!SchematicLoad(ws, file, kLoadOpen)) return Fail("cannot load " + file + ": " + ws.status[0]);
  ws.view.Resize(width + kScrollBarSize, height + kScrollBarSize, 0);
  FitViewToSchematic(ws);
  QImage image(width, height, QImage::Format_RGB32);
  {
    QtCanvas canvas(image);
    RedrawAll(ws, canvas);
  }
  std::string why;
  if (!SavePng(image, out, &why)) return Fail(why);
  return 0;
}

}  // namespace
}  // namespace qiro::cli

int main(int argc, char** argv) {
  using namespace qiro::cli;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (const std::string misuse = qiro::TakeHomeOption(args, HomeOption()); !misuse.empty())
    return Fail(misuse);
  return RunRender(args);
}
