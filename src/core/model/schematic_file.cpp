#include "model/schematic_file.h"

#include "editor/wire_cleanup.h"
#include "model/text.h"
#include "workspace.h"

namespace qiro {

namespace fs = std::filesystem;

void SetCurrentFileName(Workspace& ws, const std::string& name) {
  ws.circuit.FileName = Counted(name);
  SetStatus(ws, 0, "Editing \"" + ws.circuit.FileName + "\"");
}

bool OpenSchematic(Workspace& ws, const fs::path& path) {
  ClearSchematic(ws);
  const bool ok = SchematicLoad(ws, path, kLoadOpen);
  const std::string loadStatus = ws.status[0];
  SetCurrentFileName(ws, path.string());
  // A failed load's status says what went wrong; the new file name must not hide it.
  if (!ok) SetStatus(ws, 0, loadStatus);
  return ok;
}

bool SaveSchematic(Workspace& ws) {
  SetStatus(ws, 0, "saving...");
  fs::path sch = fs::path(Counted(ws.circuit.FileName, kFileNameCapacity)).replace_extension(".sch");
  fs::path bak = fs::path(sch).replace_extension(".bak");
  CleanWires(ws);
  if (ws.settings.SmartLineEditing) SmartLinePass(ws);
  // The previous version is kept as .bak (never overwriting a backup already there), but
  // only once the new file is complete: a failed save leaves both files as they were.
  const bool ok = SchematicWrite(ws, sch, bak);
  SetCurrentFileName(ws, sch.string());
  ResetHighlight(ws);
  return ok;
}

fs::path ProposedSaveAsName(const Workspace& ws) {
  return fs::path(ws.circuit.FileName).replace_extension(".sch");
}

bool SaveAsNeedsOverwriteQuestion(const fs::path& chosen) {
  std::error_code ec;
  return fs::exists(fs::path(Counted(chosen.string(), kFileNameCapacity)), ec);
}

bool SaveSchematicAs(Workspace& ws, const fs::path& chosen, bool overwriteConfirmed) {
  const std::string name = Counted(chosen.string(), kFileNameCapacity);
  bool ok = false;
  if (!SaveAsNeedsOverwriteQuestion(name) || overwriteConfirmed) {
    ok = SchematicWrite(ws, name);
    SetCurrentFileName(ws, name);
  }
  ResetHighlight(ws);
  return ok;
}

}  // namespace qiro
