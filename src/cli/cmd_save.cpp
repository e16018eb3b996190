// qiro-cli save FILE -o OUT: loads a file and writes it back in Qiro's own format.
#include "cli/command.h"
#include "model/schematic_file.h"
#include "workspace.h"

namespace qiro::cli {
namespace {

int RunSave(const std::vector<std::string>& args) {
  std::string in, out;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size()) {
      if (!out.empty()) return Fail("save: -o given twice");
      out = args[++i];
      if (out.empty()) return Fail("save: " + EmptyPathMessage("-o"));
    } else if (!args[i].empty() && args[i][0] != '-' && in.empty()) {
      in = args[i];
    } else {
      return Fail("usage: qiro-cli save FILE -o OUT");
    }
  }
  if (in.empty() || out.empty()) return Fail("usage: qiro-cli save FILE -o OUT");

  CliHost host;
  Workspace ws(&host);
  ws.SetHomeDir(FindHome());
  ClearSchematic(ws);
  if (!SchematicLoad(ws, in, kLoadOpen)) return Fail("cannot load " + in + ": " + ws.status[0]);
  // The writer has said why it failed.
  return SchematicWrite(ws, out) ? 0 : 1;
}

const CommandRegistrar registrar({"save", "save FILE -o OUT",
                                  "load a file and write it back in Qiro's format", RunSave});

}  // namespace
}  // namespace qiro::cli
