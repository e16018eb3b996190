#include "model/symbol_library.h"

#include "model/catalogue.h"
#include "model/errors.h"
#include "model/file_read.h"
#include "model/line_scanner.h"
#include "model/schematic_file.h"
#include "workspace.h"

namespace qiro {

namespace fs = std::filesystem;

fs::path SymbolPath(const Workspace& ws, const std::string& libraryName) {
  fs::path dir = ws.settings.SymbolDir;
  // Looked up from the home directory, whatever the process's current directory is.
  if (dir.is_relative() && !ws.settings.HomeDir.empty()) dir = ws.settings.HomeDir / dir;
  return dir / (libraryName + ".SYM");
}

std::optional<Rect> MeasureSymbolFile(Workspace& ws, const fs::path& path) {
  std::string text;
  const bool opened = ReadWholeFile(path, text);
  ws.circuit.ErrorCode = opened ? 0 : 6;
  if (!opened) return std::nullopt;
  for (const std::string& line : SplitLines(text)) {
    if (line.compare(0, 2, "BB") != 0) continue;
    LineScanner bb(line, 3);
    const int x1 = bb.ReadInt(), y1 = bb.ReadInt(), x2 = bb.ReadInt(), y2 = bb.ReadInt();
    return Rect{x1, y1, x2, y2};
  }
  return std::nullopt;
}

bool PlaceLibrarySymbol(Workspace& ws, int model, int x, int y) {
  const std::string name = LibraryNameOfModel(model);
  if (name == "?") {
    ws.circuit.MessageArg = name;
    ReportError(ws, 15);
    return false;
  }
  const fs::path path = SymbolPath(ws, name);
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) {
    ReportError(ws, 6, path.string());
    return false;
  }
  return SchematicLoad(ws, path, kLoadSymbol, x, y);
}

}  // namespace qiro
