// qiro-cli test: runs test vectors against one circuit (a line per row), or grades many
// circuits against one vectors file (a line per circuit, optionally a CSV file). A circuit that
// cannot be read or run is reported and the others still run.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_setup.h"
#include "cli/command.h"
#include "extract/extract.h"
#include "model/safe_write.h"
#include "testvec/test_runner.h"
#include "workspace.h"

namespace qiro::cli {
namespace {

namespace fs = std::filesystem;

const char* const kUsage =
    "test CIRCUIT.sch VECTORS.tst | test VECTORS.tst CIRCUIT.sch|FOLDER... [--csv OUT.csv] [--tech T.tec] "
    "[--max-steps N]";

bool HasExtension(const std::string& path, const char* ext) {
  std::string e = fs::path(path).extension().string();
  std::transform(e.begin(), e.end(), e.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return e == ext;
}

// Reads and checks a vectors file; "" or the message naming the file.
std::string LoadVectors(const std::string& path, TestVectors& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "cannot read " + path;
  std::ostringstream text;
  text << in.rdbuf();
  TestVectorsResult r = ReadTestVectors(text.str());
  if (!r.ok()) return path + ": " + r.error;
  out = std::move(r.vectors);
  return {};
}

// Loads, extracts and tests one circuit; the report's error says what stopped it.
TestReport TestCircuit(const std::string& circuit, const std::string& tech, const TestVectors& v,
                       long long stepLimit) {
  CliHost host;
  auto ws = std::make_unique<Workspace>(&host);
  TestReport report;
  if (const std::string error = SetUpCircuit(*ws, circuit, tech); !error.empty()) {
    report.error = error;
    return report;
  }
  ExtractCircuit(*ws);
  if (ws->extraction.ResultCode != 0) {
    report.error = "Error during extraction";
    return report;
  }
  return RunTestVectors(*ws, v, stepLimit);
}

std::string CsvField(const std::string& s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string q = "\"";
  for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
  return q + "\"";
}

// Circuits named on the command line: files as given, folders as their .sch files by name.
std::vector<std::string> CircuitFiles(const std::vector<std::string>& names) {
  std::vector<std::string> files;
  for (const std::string& name : names) {
    std::error_code ec;
    if (!fs::is_directory(name, ec)) {
      files.push_back(name);
      continue;
    }
    std::vector<std::string> inFolder;
    for (const auto& entry : fs::directory_iterator(name, ec))
      if (entry.is_regular_file(ec) && HasExtension(entry.path().string(), ".sch"))
        inFolder.push_back((fs::path(name) / entry.path().filename()).string());
    std::sort(inFolder.begin(), inFolder.end());
    files.insert(files.end(), inFolder.begin(), inFolder.end());
  }
  return files;
}

int Grade(const TestVectors& v, const std::vector<std::string>& names, const std::string& tech,
          const std::string& csv, long long stepLimit) {
  const std::vector<std::string> files = CircuitFiles(names);
  if (files.empty()) return Fail("no circuit to test");
  std::ostringstream table;
  table << "file,status,passed,failed,rows,first_failed_line,message\r\n";
  int failed = 0, errors = 0;
  for (const std::string& file : files) {
    const TestReport r = TestCircuit(file, tech, v, stepLimit);
    std::string status = "passed", message;
    int firstLine = 0;
    for (const RowResult& row : r.rows)
      if (!row.passed && firstLine == 0) firstLine = row.line;
    if (!r.error.empty()) {
      status = "error";
      message = r.error;
      ++errors;
      std::cout << file << ": error: " << r.error << "\n";
    } else {
      if (r.failed > 0) {
        status = "failed";
        ++failed;
      }
      std::cout << file << ": " << FormatTally(r)
                << (firstLine ? " (first failure on line " + std::to_string(firstLine) + ")" : "") << "\n";
    }
    table << CsvField(file) << "," << status << "," << r.passed << "," << r.failed << "," << r.rows.size()
          << "," << firstLine << "," << CsvField(message) << "\r\n";
  }
  std::cout << files.size() << " circuits: " << files.size() - static_cast<std::size_t>(failed + errors)
            << " all rows passed, " << failed << " with failed rows, " << errors << " could not run\n";
  if (!csv.empty()) {
    std::string why;
    if (!SafeWriteText(csv, table.str(), &why)) return Fail("cannot write " + csv + ": " + why);
  }
  return errors > 0 ? 1 : failed > 0 ? 3 : 0;
}

int RunTest(const std::vector<std::string>& argsIn) {
  std::vector<std::string> args = argsIn;
  std::string tech, csv;
  if (const std::string error = TakeTechOption(args, tech); !error.empty()) return Fail(error);
  long long stepLimit = kDefaultStepLimit;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--csv" && i + 1 < args.size()) {
      csv = args[++i];
    } else if (a == "--max-steps" && i + 1 < args.size()) {
      const std::string& n = args[++i];
      if (n.empty() || n.size() > 12 ||
          !std::all_of(n.begin(), n.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return Fail("bad --max-steps " + n);
      stepLimit = std::stoll(n);
    } else if (!a.empty() && a[0] == '-') {
      return Fail(std::string("usage: qiro-cli ") + kUsage);
    } else {
      files.push_back(a);
    }
  }
  if (files.size() < 2) return Fail(std::string("usage: qiro-cli ") + kUsage);
  TestVectors v;
  const bool grading = HasExtension(files[0], ".tst");
  const std::string vectorsFile = grading ? files[0] : files[1];
  if (const std::string error = LoadVectors(vectorsFile, v); !error.empty()) return Fail(error);
  if (grading)
    return Grade(v, std::vector<std::string>(files.begin() + 1, files.end()), tech, csv, stepLimit);
  if (files.size() != 2 || !csv.empty()) return Fail(std::string("usage: qiro-cli ") + kUsage);

  const TestReport r = TestCircuit(files[0], tech, v, stepLimit);
  if (!r.error.empty()) return Fail(r.error);
  std::cout << "settle time " << r.settle << " steps (longest delay path " << r.longestPath << " steps)\n";
  for (const RowResult& row : r.rows) std::cout << FormatRowResult(v, row) << "\n";
  std::cout << FormatTally(r) << "\n";
  return r.failed > 0 ? 3 : 0;
}

const CommandRegistrar registrar({"test", kUsage,
                                  "check a circuit against test vectors (a .tst truth table), or grade "
                                  "circuits and folders of circuits against one vectors file",
                                  RunTest});

}  // namespace
}  // namespace qiro::cli
