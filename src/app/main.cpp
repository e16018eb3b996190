// qiro: the desktop program. Creates the one workspace and main window, then runs.
#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "main_window.h"
#include "model/home_dir.h"
#include "workspace.h"

namespace {

// Where new schematics and generated symbols go when the home is an installed data folder.
std::filesystem::path UserFilesDir() {
  QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (docs.isEmpty()) docs = QDir::homePath();
  const QString dir = docs + "/Qiro";
  QDir().mkpath(dir);
  return std::filesystem::path(dir.toStdString());
}

}  // namespace

int main(int argc, char** argv) {
  // --version and --help answer without a display, before Qt looks for one.
  if (argc == 2 && (std::string(argv[1]) == "--version" || std::string(argv[1]) == "--help")) {
    if (std::string(argv[1]) == "--version")
      std::printf("qiro %s\n", QIRO_VERSION);
    else
      std::printf("usage: qiro [--home DIR] [SCHEMATIC[.sch] [TECHNOLOGY[.tec]]]\n");
    return 0;
  }
  QApplication app(argc, argv);
  // Qt adopts the user's locale; files must keep the decimal point whatever it is.
  std::setlocale(LC_NUMERIC, "C");
  app.setApplicationName("Qiro2");
  app.setApplicationVersion(QIRO_VERSION);
  QStringList args = app.arguments();
  args.removeFirst();
  std::vector<std::string> words;
  for (const QString& a : args) words.push_back(a.toStdString());
  std::string homeOption;
  if (const std::string misuse = qiro::TakeHomeOption(words, homeOption); !misuse.empty()) {
    std::fprintf(stderr, "qiro: %s\n", misuse.c_str());
    return 1;
  }
  args.clear();
  for (const std::string& w : words) args.push_back(QString::fromStdString(w));

  std::error_code ec;
  const char* env = std::getenv("QIRO_HOME");
  const qiro::HomeChoice home = qiro::FindHome(
      {homeOption, env ? env : "", std::filesystem::current_path(ec), qiro::ProgramDir(), QIRO_DATA_DIR});
  qiro::Workspace ws;
  if (home.installed) ws.settings.UserDir = UserFilesDir();
  qiro::QtDialogs dialogs;
  qiro::Tmdiframe frame(ws, dialogs);
  frame.Startup(home.dir, args);
  frame.show();
  return app.exec();
}
