// qiro-cli: the headless side of Qiro. Dispatches to the registered subcommands.
#include <algorithm>
#include <iostream>

#include "cli/command.h"
#include "model/home_dir.h"

namespace qiro::cli {

std::vector<Command>& Commands() {
  static std::vector<Command> commands;
  return commands;
}

static void PrintHelp(std::ostream& out) {
  out << "usage: qiro-cli COMMAND [ARGS...]\n\nQiro's headless tools: the same core as the desktop "
         "program.\n\n"
         "Commands:\n";
  auto commands = Commands();
  std::sort(commands.begin(), commands.end(),
            [](const Command& a, const Command& b) { return a.name < b.name; });
  for (const Command& c : commands) out << "  " << c.usage << "\n      " << c.summary << "\n";
  out << "\nEvery command takes --home DIR: the folder holding the symbol library (IEEE/) and\n"
         "default.tec, else QIRO_HOME, else the working directory when it holds IEEE/, else the\n"
         "installed data folder.\nqiro-cli COMMAND --help shows the usage of one command.\n";
}

}  // namespace qiro::cli

int main(int argc, char** argv) {
  using namespace qiro::cli;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (const std::string misuse = qiro::TakeHomeOption(args, HomeOption()); !misuse.empty())
    return Fail(misuse);
  if (!args.empty() && args[0] == "--version") {
    std::cout << "qiro-cli " << QIRO_VERSION << "\n";
    return 0;
  }
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
