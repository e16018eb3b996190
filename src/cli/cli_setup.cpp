#include "cli/cli_setup.h"

#include <filesystem>

#include "cli/command.h"
#include "model/schematic_file.h"
#include "model/technology_file.h"
#include "workspace.h"

namespace qiro::cli {

std::string TakeTechOption(std::vector<std::string>& args, std::string& techPath) {
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--tech") {
      rest.push_back(args[i]);
      continue;
    }
    if (i + 1 >= args.size()) return "--tech needs a file name";
    if (!techPath.empty()) return "--tech given twice";
    techPath = args[++i];
  }
  args = std::move(rest);
  return {};
}

std::string SetUpCircuit(Workspace& ws, const std::string& schematic, const std::string& techPath) {
  namespace fs = std::filesystem;
  ws.SetHomeDir(FindHome());
  if (!techPath.empty()) {
    fs::path tech = techPath;
    if (!tech.has_extension()) tech += ".tec";
    if (!LoadTechnology(ws, tech)) return "cannot read technology file " + tech.string();
  } else {
    std::error_code ec;
    const fs::path fallback = ws.settings.HomeDir / "default.tec";
    if (fs::is_regular_file(fallback, ec)) LoadTechnology(ws, fallback);
  }
  ClearSchematic(ws);
  if (!OpenSchematic(ws, schematic)) return "cannot load " + schematic + ": " + ws.status[0];
  return {};
}

}  // namespace qiro::cli
