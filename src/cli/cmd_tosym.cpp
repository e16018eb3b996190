// qiro-cli tosym: turns a schematic into a user symbol file whose behaviour is the
// schematic's Verilog module; inputs on the left, outputs on the right.
#include <iostream>

#include "cli/cli_setup.h"
#include "cli/command.h"
#include "symbols/sch_to_sym.h"
#include "verilog/verilog_writer.h"
#include "workspace.h"

namespace qiro::cli {
namespace {

constexpr const char* kUsage =
    "tosym FILE [--dir DIR] [--name NAME] [--title TITLE] [--order increasing|decreasing] [--tech TEC] "
    "[--force]";

int RunToSym(std::vector<std::string> args) {
  std::string file, dir, name, title, order = "decreasing", tech;
  if (const std::string misuse = TakeTechOption(args, tech); !misuse.empty()) return Fail("tosym: " + misuse);
  bool haveName = false, haveTitle = false, haveDir = false, force = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--dir" && hasValue) {
      dir = args[++i], haveDir = true;
      if (dir.empty()) return Fail("tosym: " + EmptyPathMessage(a));
    } else if (a == "--name" && hasValue) {
      name = args[++i], haveName = true;
    } else if (a == "--title" && hasValue) {
      title = args[++i], haveTitle = true;
    } else if (a == "--order" && hasValue) {
      order = args[++i];
    } else if (a == "--force") {
      force = true;
    } else if (!a.empty() && a[0] == '-') {
      return Fail("tosym: unknown option '" + a + "'");
    } else if (file.empty()) {
      file = a;
    } else {
      return Fail("tosym: one schematic file only");
    }
  }
  if (file.empty()) return Fail(std::string("usage: qiro-cli ") + kUsage);
  if (order != "increasing" && order != "decreasing")
    return Fail("tosym: --order takes increasing or decreasing");

  CliHost host;
  Workspace ws(&host);
  if (const std::string failure = SetUpCircuit(ws, file, tech); !failure.empty())
    return Fail("tosym: " + failure);

  SchToSym generator;
  generator.Decreasing = order == "decreasing";
  PrepareSchToSym(ws, generator);
  if (haveName) generator.Name = name;
  if (haveTitle) generator.Title = title;
  if (haveDir) generator.Directory = dir;
  if (const auto other = generator.OtherSymbolInFile(); other && !force) {
    return Fail("tosym: " + generator.SymbolFilePath().string() + " already holds the symbol \"" + *other +
                "\", whose name gives the same file name; --force replaces it");
  }
  const std::filesystem::path path = generator.Save(ws, DateTimeText());
  if (path.empty()) return 1;
  std::cout << "Symbol written in \"" << path.string() << "\"\n";
  return 0;
}

const CommandRegistrar registrar(
    {"tosym", kUsage, "make a user symbol file from a schematic (its Verilog module as behaviour)",
     [](const std::vector<std::string>& args) { return RunToSym(args); }});

}  // namespace
}  // namespace qiro::cli
