// Symbol files in the symbol directory: where a kind's file lives, measuring a file for
// the outline that follows the cursor, and placing a library symbol.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "model/geometry.h"

namespace qiro {

class Workspace;

// Symbol directory / (name + ".SYM"); a relative symbol directory is taken from the home.
std::filesystem::path SymbolPath(const Workspace& ws, const std::string& libraryName);

// The first BB rectangle of a symbol file, in schematic units, or nothing when the file
// has none or cannot be read (then the shared error code is 6).
std::optional<Rect> MeasureSymbolFile(Workspace& ws, const std::filesystem::path& path);

// Places the library symbol of a model code with its lower-right corner at (x, y).
// Error 15 for a code without a library file, error 6 when the file is missing.
bool PlaceLibrarySymbol(Workspace& ws, int model, int x, int y);

}  // namespace qiro
