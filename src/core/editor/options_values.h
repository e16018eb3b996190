// What the simulation options and schematic properties dialogs show and take over: table
// fill figures, the step length choice, the refresh interval check, the technology values
// and the home directory with the symbol directory beneath it.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>

namespace qiro {

class Workspace;

// How full one circuit table is: "1024/2048", "50.0% full" and the bar position 0..100.
struct TableFill {
  std::string Count;
  std::string Percent;
  int Bar = 0;
};
TableFill FillOf(int count, int capacity);

// The step lengths offered, in nanoseconds, with their captions.
inline constexpr std::array<const char*, 5> kTimeUnitCaptions = {"1ps", "10ps", "100ps", "1ns", "10ns"};
inline constexpr std::array<double, 5> kTimeUnitValues = {0.001, 0.01, 0.1, 1.0, 10.0};
// The caption index shown for a step length; anything not close to one of them shows "1ns".
int TimeUnitChoice(double timeUnit);

// A refresh interval as typed: a whole number from 1 to 1000000 steps, or nothing.
std::optional<int> ParseRefreshInterval(const std::string& text);
// What is wrong with a typed refresh interval (not a whole number, or out of range); empty
// when ParseRefreshInterval takes it.
std::string RefreshIntervalProblem(const std::string& text);

// Applies the options dialog: a new step length makes the extracted delays stale. Returns
// false, changing nothing, when the refresh interval is refused.
bool ApplySimulationOptions(Workspace& ws, int timeUnitChoice, const std::string& refreshText);

// A technology value as shown: three decimals in a field of 6.
std::string FormatTechValue(double value);
// The "Editing file" line of the properties dialog.
std::string EditingFileText(const std::string& fileName);

// The properties dialog's OK: the home directory takes the text (cut to 128 characters) and
// the symbol directory becomes home/IEEE.
void ApplyHomeDirectory(Workspace& ws, const std::string& text);
// The home directory for a symbol file chosen with Browse: the folder holding it, or that
// folder's parent when it is the IEEE library folder itself, so the chosen library is used.
std::string HomeOfChosenSymbol(const std::filesystem::path& file);

}  // namespace qiro
