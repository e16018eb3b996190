// qiro-cli asm: assembles the 8051 program of a schematic (its MEM lines) or of a plain
// assembly file, prints the listing and the symbol list, and can write Intel HEX.
#include <cctype>
#include <iostream>

#include "cli/command.h"
#include "mcu/assembler.h"
#include "mcu/intel_hex.h"
#include "model/circuit.h"
#include "model/file_read.h"
#include "model/safe_write.h"
#include "model/schematic_file.h"
#include "workspace.h"

namespace qiro::cli {
namespace {

bool EndsWithSch(const std::string& path) {
  if (path.size() < 4) return false;
  std::string ext = path.substr(path.size() - 4);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".sch";
}

// Reads a plain assembly file. Like the schematic loader, keeps at most 256 lines of at
// most 128 characters.
bool ReadPlainSource(const std::string& path, Circuit& circuit) {
  std::string text;
  if (!ReadWholeFile(path, text)) return false;
  for (const std::string& line : SplitLines(text)) circuit.AddAsmLine(line);
  return true;
}

int RunAsm(const std::vector<std::string>& args) {
  std::string file, hexOut;
  bool strict = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--strict") {
      strict = true;
    } else if (args[i] == "--hex") {
      if (i + 1 >= args.size()) return Fail("--hex needs a file name");
      hexOut = args[++i];
      if (hexOut.empty()) return Fail(EmptyPathMessage("--hex"));
    } else if (file.empty()) {
      file = args[i];
    } else {
      return Fail("unexpected argument '" + args[i] + "'");
    }
  }
  if (file.empty()) return Fail("usage: qiro-cli asm FILE [--hex OUT.hex] [--strict]");

  const ReportToStderr report(IsStandardOutput(hexOut));
  CliHost host;
  Workspace ws(&host);
  ws.SetHomeDir(FindHome());
  if (EndsWithSch(file)) {
    if (!SchematicLoad(ws, file, kLoadOpen)) return Fail("cannot load " + file + ": " + ws.status[0]);
  } else if (!ReadPlainSource(file, ws.circuit)) {
    return Fail("cannot read " + file);
  }
  std::vector<std::string> listing, symbols;
  const int problems = AssembleProgram(ws, listing, symbols);
  for (const std::string& line : listing) std::cout << line << "\n";
  for (const std::string& line : symbols) std::cout << line << "\n";

  if (!hexOut.empty()) {
    std::string why;
    if (!SafeWriteText(hexOut, FormatIntelHex(ws.mcu.Program), &why)) return Fail(why);
  }
  // The problems are in the listing; --strict makes them fail the command.
  return strict && problems > 0 ? 1 : 0;
}

const CommandRegistrar registrar(
    {"asm", "asm FILE [--hex OUT.hex] [--strict]",
     "assemble the 8051 program of a schematic (or of a plain assembly file) and "
     "print its listing, with a line for each source line that gave no code or was cut, and "
     "its symbol list; --hex also writes the program as Intel HEX; --strict exits with 1 "
     "when a line has a problem",
     RunAsm});

}  // namespace
}  // namespace qiro::cli
