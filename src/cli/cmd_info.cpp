// qiro-cli info FILE: loads a schematic or symbol file and prints what it holds.
#include <iostream>

#include "cli/command.h"
#include "model/schematic_file.h"
#include "workspace.h"

namespace qiro::cli {
namespace {

int RunInfo(const std::vector<std::string>& args) {
  if (args.size() != 1) return Fail("usage: qiro-cli info FILE");
  CliHost host;
  Workspace ws(&host);
  ws.SetHomeDir(FindHome());
  ClearSchematic(ws);
  const bool ok = SchematicLoad(ws, args[0], kLoadOpen);
  const Circuit& c = ws.circuit;
  std::cout << "symbols: " << c.Symbols.Count() << "\n"
            << "wires: " << c.Wires.Count() << "\n"
            << "contacts: " << c.Contacts.Count() << "\n"
            << "labels: " << c.Labels.Count() << "\n"
            << "assembly lines: " << c.AsmLines.Count() << "\n"
            << "bounding box: " << c.BBox.x1 << " " << c.BBox.y1 << " " << c.BBox.x2 << " " << c.BBox.y2
            << "\n"
            << "status: " << ws.status[0] << "\n";
  if (!ok) return Fail("cannot load " + args[0] + ": " + ws.status[0]);
  return 0;
}

const CommandRegistrar registrar({"info", "info FILE",
                                  "load a schematic or symbol file and print its counts, bounding box and "
                                  "status",
                                  RunInfo});

}  // namespace
}  // namespace qiro::cli
