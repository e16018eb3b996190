#include "editor/options_values.h"

#include <algorithm>
#include <cctype>
#include <cmath>

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

std::optional<int> ParseRefreshInterval(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  const auto last = text.find_last_not_of(' ');
  if (first == std::string::npos) return std::nullopt;
  long long v = 0;
  std::size_t i = first;
  if (text[i] == '+') ++i;
  if (i > last) return std::nullopt;
  for (; i <= last; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
    v = v * 10 + (text[i] - '0');
    if (v > 1000000) return std::nullopt;  // far beyond any run, and no overflow
  }
  if (v < 1) return std::nullopt;
  return static_cast<int>(v);
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
