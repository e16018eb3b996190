// qiro-cli subcommands. Each lives in its own cmd_*.cpp and registers itself with a
// static CommandRegistrar, so adding a command touches no shared file.
#pragma once

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "model/host.h"

namespace qiro::cli {

struct Command {
  std::string name;
  std::string usage;    // one line: "info FILE"
  std::string summary;  // one line of help
  int (*run)(const std::vector<std::string>& args);
};

std::vector<Command>& Commands();

struct CommandRegistrar {
  explicit CommandRegistrar(Command c) { Commands().push_back(std::move(c)); }
};

// Prints "qiro-cli: " + message on stderr and returns exit status 1.
int Fail(const std::string& message);

// The program's home, by the rule of model/home_dir.h (--home, QIRO_HOME, the working directory
// when it holds IEEE/, the installed data folder, ...).
std::filesystem::path FindHome();

// A host for headless runs: errors and warnings go to stderr, status texts are kept.
class CliHost : public Host {
 public:
  void ShowError(const std::string& text) override {
    std::cerr << "error: " << text << "\n";
    ++errors;
  }
  void ShowWarning(const std::string& text) override { std::cerr << "warning: " << text << "\n"; }
  int errors = 0;
};

}  // namespace qiro::cli
