// Shared helpers for the core tests: a host that records what core shows, temporary
// directories, file reading and running qiro-cli.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "model/host.h"
#include "workspace.h"

namespace qiro::test {

class RecordingHost : public Host {
 public:
  void SetStatus(int panel, const std::string& text) override { statuses.push_back({panel, text}); }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  void ShowWarning(const std::string& text) override { warnings.push_back(text); }
  void ProcessEvents() override { ++eventTurns; }
  void DrawSymbol(int symbol) override { drawnSymbols.push_back(symbol); }
  void DrawWire(int wire) override { drawnWires.push_back(wire); }
  void DeviceChanged(int symbol) override { changedDevices.push_back(symbol); }

  // Last text shown in a panel, or "" when none.
  std::string LastStatus(int panel = 0) const {
    for (auto it = statuses.rbegin(); it != statuses.rend(); ++it)
      if (it->first == panel) return it->second;
    return {};
  }
  bool ShowedStatus(const std::string& text) const {
    for (const auto& s : statuses)
      if (s.second == text) return true;
    return false;
  }

  std::vector<std::pair<int, std::string>> statuses;
  std::vector<std::string> errors, warnings;
  std::vector<int> drawnSymbols, drawnWires, changedDevices;
  int eventTurns = 0;
};

// A fresh directory removed at the end of the test.
class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    path_ =
        std::filesystem::temp_directory_path() / ("qiro-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ec);
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

inline std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteFile(const std::filesystem::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary);
  out << text;
}

// A workspace reporting to a recording host, and a temporary directory.
struct WorkspaceTest : ::testing::Test {
  RecordingHost host;
  Workspace ws{&host};
  TempDir dir;
};

// Records of a table not deleted.
inline int Live(const auto& table) {
  int n = 0;
  for (const auto& e : table) n += e.State != kDeleted;
  return n;
}

using Wires = std::vector<std::tuple<int, int, int, int>>;
// Live wires as (x1, y1, x2, y2), in table order.
inline Wires LiveWires(const Circuit& c) {
  Wires out;
  for (const TLine& w : c.Wires)
    if (w.State != kDeleted) out.emplace_back(w.X1, w.Y1, w.X2, w.Y2);
  return out;
}

// Pin names of a symbol, each followed by sep.
inline std::string PinNames(const TSymbol& s, const std::string& sep = " ") {
  std::string out;
  for (int k = 1; k <= s.PinCount; ++k) out += s.Pin(k).Name + sep;
  return out;
}

// Property words first..last of a symbol, joined by commas.
inline std::string Words(const TSymbol& s, int first, int last) {
  std::string out;
  for (int k = first; k <= last; ++k) out += (k > first ? "," : "") + s.Prop(k);
  return out;
}

inline std::filesystem::path SourceRoot() {
  return QIRO_SOURCE_ROOT;
}

struct CliResult {
  int status = -1;
  std::string out;  // stdout and stderr together
};

// Runs a shell command, its stderr joined to its stdout.
inline CliResult RunShell(const std::string& command) {
  CliResult r;
  const std::string cmd = command + " 2>&1";
  FILE* pipe = popen(cmd.c_str(), "r");
  if (!pipe) return r;
  char buf[4096];
  std::size_t n;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) r.out.append(buf, n);
  int rc = pclose(pipe);
  r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  return r;
}

// Runs qiro-cli with a shell-quoted argument string.
inline CliResult RunCli(const std::string& args) {
  return RunShell(std::string("'") + QIRO_CLI_PATH + "' " + args);
}

}  // namespace qiro::test
