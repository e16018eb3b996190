// qiro: the desktop program. Creates the one workspace and main window, then runs.
#include <QApplication>
#include <clocale>
#include <filesystem>

#include "main_window.h"
#include "workspace.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Qt adopts the user's locale; files must keep the decimal point whatever it is.
  std::setlocale(LC_NUMERIC, "C");
  app.setApplicationName("Qiro2");
  qiro::Workspace ws;
  qiro::QtDialogs dialogs;
  qiro::Tmdiframe frame(ws, dialogs);
  QStringList args = app.arguments();
  args.removeFirst();
  std::error_code ec;
  frame.Startup(std::filesystem::current_path(ec), args);
  frame.show();
  return app.exec();
}
