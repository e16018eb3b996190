// qiro-cli verilog: writes the Verilog netlist of a schematic, the same text the netlist
// window shows and saves.
#include <iostream>

#include "cli/command.h"
#include "extract/extract.h"
#include "model/schematic_file.h"
#include "model/technology_file.h"
#include "verilog/verilog_writer.h"
#include "workspace.h"

namespace qiro::cli {
namespace {

int RunVerilog(const std::vector<std::string>& args) {
  std::string file, out, tech;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size()) {
      out = args[++i];
    } else if (args[i] == "--tech" && i + 1 < args.size()) {
      tech = args[++i];
    } else if (!args[i].empty() && args[i][0] == '-') {
      return Fail("verilog: unknown option '" + args[i] + "'");
    } else if (file.empty()) {
      file = args[i];
    } else {
      return Fail("verilog: one schematic file only");
    }
  }
  if (file.empty()) return Fail("usage: qiro-cli verilog FILE [-o OUT] [--tech TEC]");

  CliHost host;
  Workspace ws(&host);
  ws.SetHomeDir(FindHome());
  LoadTechnology(ws, tech.empty() ? ws.settings.HomeDir / "default.tec" : std::filesystem::path(tech));
  if (!OpenSchematic(ws, file)) return Fail("verilog: cannot load " + file);
  ExtractCircuit(ws);

  ws.verilog.ModuleName = ModuleNameOfFile(ws.circuit.FileName);
  UpdateVerilog(ws, DateTimeText());
  const std::filesystem::path path = out.empty() ? VerilogFilePath(ws) : std::filesystem::path(out);
  if (!SaveVerilogFile(ws, path)) return 1;
  std::cout << ws.status[0] << "\n";
  return 0;
}

const CommandRegistrar registrar({"verilog", "verilog FILE [-o OUT] [--tech TEC]",
                                  "write the Verilog netlist of a schematic (default: beside it, as .txt)",
                                  RunVerilog});

}  // namespace
}  // namespace qiro::cli
