// qiro-cli verilog: writes the Verilog netlist of a schematic, the same text the netlist
// window shows and saves.
#include <iostream>

#include "cli/cli_setup.h"
#include "cli/command.h"
#include "extract/extract.h"
#include "model/safe_write.h"
#include "verilog/verilog_writer.h"
#include "workspace.h"

namespace qiro::cli {
namespace {

constexpr const char* kUsage = "verilog FILE [-o OUT] [--tech TEC] [--portable [--delays] [--testbench]]";

int RunVerilog(std::vector<std::string> args) {
  std::string file, out, tech;
  bool portable = false, delays = false, testbench = false;
  if (const std::string misuse = TakeTechOption(args, tech); !misuse.empty())
    return Fail("verilog: " + misuse);
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size()) {
      out = args[++i];
      if (out.empty()) return Fail("verilog: " + EmptyPathMessage("-o"));
    } else if (args[i] == "--portable") {
      portable = true;
    } else if (args[i] == "--delays") {
      delays = true;
    } else if (args[i] == "--testbench") {
      testbench = true;
    } else if (!args[i].empty() && args[i][0] == '-') {
      return Fail("verilog: unknown option '" + args[i] + "'");
    } else if (file.empty()) {
      file = args[i];
    } else {
      return Fail("verilog: one schematic file only");
    }
  }
  if (file.empty()) return Fail("usage: " + std::string(kUsage));
  if ((delays || testbench) && !portable) return Fail("verilog: --delays and --testbench need --portable");

  const ReportToStderr report(IsStandardOutput(out));
  CliHost host;
  Workspace ws(&host);
  if (const std::string failure = SetUpCircuit(ws, file, tech); !failure.empty())
    return Fail("verilog: " + failure);
  ExtractCircuit(ws);

  ws.verilog.ModuleName = ModuleNameOfFile(ws.circuit.FileName);
  ws.verilog.Portable = portable;
  ws.verilog.GateDelays = delays;
  ws.verilog.Testbench = testbench;
  UpdateVerilog(ws, DateTimeText());
  const std::filesystem::path path = out.empty() ? VerilogFilePath(ws) : std::filesystem::path(out);
  if (!SaveVerilogFile(ws, path)) return 1;
  std::cout << ws.status[0] << "\n";
  return 0;
}

const CommandRegistrar registrar(
    {"verilog", kUsage,
     "write the Verilog netlist of a schematic (default: beside it, as .txt); --portable: a netlist "
     "a Verilog simulator runs as is, --delays with gate delays, --testbench with a "
     "testbench",
     [](const std::vector<std::string>& args) { return RunVerilog(args); }});

}  // namespace
}  // namespace qiro::cli
