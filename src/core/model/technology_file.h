// Reader of technology files (.tec): process name, step length, unit delays, supply voltage,
// current factor and default transistor sizes.
#pragma once

#include <filesystem>

namespace qiro {

class Workspace;

// Reads a technology file into ws.tech; values the file does not name keep their contents.
// Clears the extracted state so the next simulation uses the new delays. Returns false when
// the file cannot be opened ("Warning: no technology" in status panel 1).
bool LoadTechnology(Workspace& ws, const std::filesystem::path& path);

}  // namespace qiro
