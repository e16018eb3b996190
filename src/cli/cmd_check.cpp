// qiro-cli check FILE: the floating-line check. Exit 0 when no wire floats, 2 when some do.
#include <iostream>

#include "cli/cli_setup.h"
#include "cli/command.h"
#include "extract/extract.h"
#include "workspace.h"

namespace qiro::cli {
namespace {

int RunCheck(std::vector<std::string> args) {
  std::string tech;
  if (std::string error = TakeTechOption(args, tech); !error.empty()) return Fail(error);
  if (args.size() != 1) return Fail("usage: qiro-cli check FILE [--tech FILE.tec]");
  CliHost host;
  Workspace ws(&host);
  if (std::string error = SetUpCircuit(ws, args[0], tech); !error.empty()) return Fail(error);
  const std::string text = CheckFloatingLinesCommand(ws);
  std::cout << text << "\n";
  if (ws.extraction.ResultCode != 0) return Fail("Circuit has errors");
  return ws.extraction.FloatingCount > 0 ? 2 : 0;
}

const CommandRegistrar registrar({"check", "check FILE [--tech FILE.tec]",
                                  "check for floating wires; exit 0 when none, 2 when some float",
                                  [](const std::vector<std::string>& args) { return RunCheck(args); }});

}  // namespace
}  // namespace qiro::cli
