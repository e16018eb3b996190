// qiro-cli: the headless side of Qiro. Dispatches to the registered subcommands.
#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "cli/command.h"

namespace qiro::cli {

std::vector<Command>& Commands() {
  static std::vector<Command> commands;
  return commands;
}

int Fail(const std::string& message) {
  std::cerr << "qiro-cli: " << message << "\n";
  return 1;
}

static std::filesystem::path ExecutablePath() {
  std::error_code ec;
  auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path{} : p;
}

std::filesystem::path FindHome() {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (const char* env = std::getenv("QIRO_HOME"); env && *env) return fs::path(env);
  fs::path cwd = fs::current_path(ec);
  if (!ec && fs::is_directory(cwd / "IEEE", ec)) return cwd;
  for (fs::path dir = ExecutablePath().parent_path(); !dir.empty(); dir = dir.parent_path()) {
    if (fs::is_directory(dir / "IEEE", ec)) return dir;
    if (dir == dir.parent_path()) break;
  }
  return cwd;
}

static void PrintHelp(std::ostream& out) {
  out << "usage: qiro-cli COMMAND [ARGS...]\n\nQiro's headless tools: the same core as the desktop "
         "program.\n\n"
         "Commands:\n";
  auto commands = Commands();
  std::sort(commands.begin(), commands.end(),
            [](const Command& a, const Command& b) { return a.name < b.name; });
  for (const Command& c : commands) out << "  " << c.usage << "\n      " << c.summary << "\n";
  out << "\nqiro-cli COMMAND --help shows the usage of one command.\n";
}

}  // namespace qiro::cli

int main(int argc, char** argv) {
  using namespace qiro::cli;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    PrintHelp(std::cerr);
    return 1;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintHelp(std::cout);
    return 0;
  }
  for (const Command& c : Commands()) {
    if (c.name != args[0]) continue;
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (!rest.empty() && (rest[0] == "--help" || rest[0] == "-h")) {
      std::cout << "usage: qiro-cli " << c.usage << "\n" << c.summary << "\n";
      return 0;
    }
    return c.run(rest);
  }
  return Fail("unknown command '" + args[0] + "' (see qiro-cli --help)");
}
