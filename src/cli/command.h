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

// The message for an output option given an empty file name, which is an error.
inline std::string EmptyPathMessage(const std::string& option) {
  return option + " needs a file name, not an empty one";
}

// While active, what the command prints on std::cout goes to stderr, so that an output
// written to the standard output ("-") is alone there.
class ReportToStderr {
 public:
  explicit ReportToStderr(bool active) : previous_(active ? std::cout.rdbuf(std::cerr.rdbuf()) : nullptr) {}
  ~ReportToStderr() {
    if (previous_) std::cout.rdbuf(previous_);
  }
  ReportToStderr(const ReportToStderr&) = delete;
  ReportToStderr& operator=(const ReportToStderr&) = delete;

 private:
  std::streambuf* previous_;
};

// The program's home, by the rule of model/home_dir.h (--home, QIRO_HOME, the working directory
// when it holds IEEE/, the installed data folder, ...).
std::filesystem::path FindHome();
// The value of the --home option, which any command takes (empty when not given).
std::string& HomeOption();

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
