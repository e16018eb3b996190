// qiro-cli extract FILE: extracts the circuit and prints its nodes and every pin's node,
// fanout and delays.
#include <iostream>

#include "cli/cli_setup.h"
#include "cli/command.h"
#include "extract/extract.h"
#include "model/text.h"
#include "workspace.h"

namespace qiro::cli {
namespace {

std::string Shown(const std::string& name) {
  return name.empty() ? "\"\"" : name;
}

int RunExtract(std::vector<std::string> args) {
  std::string tech;
  if (std::string error = TakeTechOption(args, tech); !error.empty()) return Fail(error);
  if (args.size() != 1) return Fail("usage: qiro-cli extract FILE [--tech FILE.tec]");
  CliHost host;
  Workspace ws(&host);
  if (std::string error = SetUpCircuit(ws, args[0], tech); !error.empty()) return Fail(error);
  ExtractCircuit(ws);
  std::cout << "status: " << ws.status[0] << "\n"
            << "verdict: " << ws.status[1] << "\n";
  for (int n = 0; n <= ws.nodes.Count(); ++n)
    std::cout << "node " << n << " " << Shown(ws.nodes[n].Name) << " drivers=" << ws.nodes[n].Drivers << "\n";
  Circuit& c = ws.circuit;
  for (int i = 1; i <= c.Symbols.Count(); ++i) {
    for (int k = 1; k <= c.Symbols[i].PinCount; ++k) {
      // The delays as a simulation start would use them.
      const int steps = PinDelaySteps(ws, i, k);
      const TPin& p = c.Symbols[i].Pin(k);
      std::cout << "pin " << i << " " << Shown(c.Symbols[i].Name) << " " << k << " " << Shown(p.Name)
                << " node=" << p.Node << " fanout=" << p.Fanout << " gate=" << FormatFixed(p.GateDelay, 3)
                << " wire=" << FormatFixed(p.WireDelay, 3) << " steps=" << steps << "\n";
    }
  }
  if (ws.extraction.ResultCode != 0) {
    std::cerr << "qiro-cli: Circuit has errors\n";
    return 1;
  }
  return 0;
}

const CommandRegistrar registrar(
    {"extract", "extract FILE [--tech FILE.tec]",
     "extract the circuit; print its nodes and every pin's node, fanout and delays",
     [](const std::vector<std::string>& args) { return RunExtract(args); }});

}  // namespace
}  // namespace qiro::cli
