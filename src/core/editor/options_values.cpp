#include "editor/options_values.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "model/field_check.h"
#include "model/text.h"
#include "workspace.h"

namespace qiro {

TableFill FillOf(int count, int capacity) {
  TableFill f;
  f.Count = std::to_string(count) + "/" + std::to_string(capacity);
  const double p = capacity > 0 ? count * 100.0 / capacity : 0.0;
  f.Percent = FormatFixed(p, 1, 3) + "% full";
  f.Bar = static_cast<int>(std::clamp(std::lround(p), 0L, 100L));
  return f;
}

int TimeUnitChoice(double timeUnit) {
  auto near = [timeUnit](double v) { return std::fabs(timeUnit - v) < 1e-9; };
  if (near(0.001)) return 0;
  if (near(0.01)) return 1;
  if (near(0.1)) return 2;
  if (near(10.0)) return 4;
  return 3;
}

constexpr long long kMaxRefreshInterval = 1000000;  // far beyond any run

std::string RefreshIntervalProblem(const std::string& text) {
  return CheckWholeNumberField(text, 1, kMaxRefreshInterval);
}

std::optional<int> ParseRefreshInterval(const std::string& text) {
  if (!RefreshIntervalProblem(text).empty()) return std::nullopt;
  const auto first = text.find_first_not_of(" +");
  return std::stoi(text.substr(first));
}

bool ApplySimulationOptions(Workspace& ws, int timeUnitChoice, const std::string& refreshText) {
  const auto period = ParseRefreshInterval(refreshText);
  if (!period) return false;
  ws.settings.DisplayPeriod = *period;
  if (timeUnitChoice >= 0 && timeUnitChoice < static_cast<int>(kTimeUnitValues.size())) {
    const double unit = kTimeUnitValues[static_cast<std::size_t>(timeUnitChoice)];
    // Only a real change: a step of 2 ns shows "1ns" and must not become 1 ns by a mere OK.
    if (TimeUnitChoice(ws.tech.TimeUnit) != timeUnitChoice) {
      ws.tech.TimeUnit = unit;
      ws.circuit.Extracted = false;  // delays in steps depend on the step length
    }
  }
  return true;
}

std::string FormatTechValue(double value) {
  return FormatFixed(value, 3, 6);
}

std::string EditingFileText(const std::string& fileName) {
  return "\"" + fileName + "\" edited by QIRO 2.3c";
}

void ApplyHomeDirectory(Workspace& ws, const std::string& text) {
  ws.SetHomeDir(std::filesystem::path(Counted(text)));
}

std::string HomeOfChosenSymbol(const std::filesystem::path& file) {
  std::filesystem::path dir = file.parent_path();
  std::string leaf = dir.filename().string();
  for (char& c : leaf) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (leaf == "IEEE" && dir.has_parent_path()) dir = dir.parent_path();
  return dir.string();
}

}  // namespace qiro
