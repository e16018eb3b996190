// qiro-cli asm: assembles the 8051 program of a schematic (its MEM lines) or of a plain
// assembly file, prints the listing and the symbol list, and can write Intel HEX.
#include <fstream>
#include <iostream>

#include "cli/command.h"
#include "mcu/assembler.h"
#include "mcu/intel_hex.h"
#include "model/circuit.h"
#include "model/text.h"

namespace qiro::cli {
namespace {

bool EndsWithSch(const std::string& path) {
  if (path.size() < 4) return false;
  std::string ext = path.substr(path.size() - 4);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".sch";
}

// Reads the assembly lines: a schematic's MEM lines, or every line of a plain file.
// Like the schematic loader, keeps at most 256 lines of at most 128 characters.
bool ReadSource(const std::string& path, std::vector<std::string>& source) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const bool schematic = EndsWithSch(path);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (schematic) {
      if (StartsWith(line, "FF")) break;
      if (!StartsWith(line, "ME")) continue;
      line = line.size() > 3 ? line.substr(3) : std::string();
    }
    if (static_cast<int>(source.size()) < kMaxAsmLines) source.push_back(Counted(line));
  }
  return true;
}

int RunAsm(const std::vector<std::string>& args) {
  std::string file, hexOut;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--hex") {
      if (i + 1 >= args.size()) return Fail("--hex needs a file name");
      hexOut = args[++i];
    } else if (file.empty()) {
      file = args[i];
    } else {
      return Fail("unexpected argument '" + args[i] + "'");
    }
  }
  if (file.empty()) return Fail("usage: qiro-cli asm FILE [--hex OUT.hex]");

  std::vector<std::string> source;
  if (!ReadSource(file, source)) return Fail("cannot read " + file);
  Mcu mcu;
  AsmResult result;
  AssembleLines(source, mcu.Program, result);
  for (const std::string& line : result.Listing) std::cout << line << "\n";
  for (const std::string& line : result.Symbols) std::cout << line << "\n";

  if (!hexOut.empty()) {
    std::ofstream out(hexOut, std::ios::binary);
    out << FormatIntelHex(mcu.Program);
    if (!out) return Fail("cannot write " + hexOut);
  }
  return 0;
}

const CommandRegistrar registrar(
    {"asm", "asm FILE [--hex OUT.hex]",
     "assemble the 8051 program of a schematic (or of a plain assembly file) and "
     "print its listing and symbol list; --hex also writes the program as Intel HEX",
     RunAsm});

}  // namespace
}  // namespace qiro::cli
