#include "model/schematic_file.h"

#include <algorithm>
#include <string>
#include <vector>

#include "model/text.h"
#include "model/wire_cleanup.h"
#include "workspace.h"

namespace qiro {

namespace fs = std::filesystem;

void SetCurrentFileName(Workspace& ws, const std::string& name) {
  ws.circuit.FileName = Counted(name);
  SetStatus(ws, 0, "Editing \"" + ws.circuit.FileName + "\"");
  ws.host().FileNameChanged(ws.circuit.FileName);
}

namespace {

// Why the tables do not hold the whole file after a load that stopped early.
std::string LoadLoss(const Circuit& c) {
  std::string full;
  const auto note = [&full](bool isFull, const char* what) {
    if (isFull) full += (full.empty() ? "" : ", ") + std::string(what);
  };
  note(c.Symbols.Full(), "symbols");
  note(c.Wires.Full(), "lines");
  note(c.Contacts.Full(), "connections");
  note(c.Labels.Full(), "labels");
  note(c.AsmLines.Full(), "assembly lines");
  return full.empty() ? "file truncated" : "table full: " + full;
}

bool HoldsAnything(const Circuit& c) {
  return c.Symbols.Count() + c.Wires.Count() + c.Contacts.Count() + c.Labels.Count() + c.AsmLines.Count() > 0;
}

std::vector<TLine> LiveWires(const Circuit& c) {
  std::vector<TLine> out;
  for (const TLine& w : c.Wires)
    if (w.State != kDeleted) out.push_back(w);
  return out;
}

bool SameWires(const std::vector<TLine>& a, const std::vector<TLine>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const TLine& x, const TLine& y) {
    return x.X1 == y.X1 && x.Y1 == y.Y1 && x.X2 == y.X2 && x.Y2 == y.Y2;
  });
}

}  // namespace

bool OpenSchematic(Workspace& ws, const fs::path& path) {
  if (!CheckSchematicFile(ws, path)) return false;
  ClearSchematic(ws);
  const bool ok = SchematicLoad(ws, path, kLoadOpen);
  const std::string loadStatus = ws.status[0];
  SetCurrentFileName(ws, path.string());
  Circuit& c = ws.circuit;
  // Reading a file is no edit; only a load that could not keep all of it differs from it.
  c.Modified = !ok && HoldsAnything(c);
  if (c.Modified)
    SetStatus(ws, 0, "Only part of the file was loaded (" + LoadLoss(c) + "): schematic modified");
  else if (!ok)
    SetStatus(ws, 0, loadStatus);  // a failed load's status says what went wrong
  return ok;
}

bool OpenSchematicForEditing(Workspace& ws, const fs::path& path) {
  const bool ok = OpenSchematic(ws, path);
  TidyOpenedSchematic(ws);
  return ok;
}

void TidyOpenedSchematic(Workspace& ws) {
  Circuit& c = ws.circuit;
  const bool lost = c.Modified;
  const std::vector<TLine> before = LiveWires(c);
  CleanWires(ws);
  SmartLinePass(ws);
  const std::vector<TLine> after = LiveWires(c);
  c.Modified = lost;
  if (!SameWires(before, after)) {
    c.Modified = true;
    SetStatus(ws, 0,
              "Lines tidied on opening (" + std::to_string(before.size()) + " before, " +
                  std::to_string(after.size()) + " after): schematic modified");
  }
}

bool IsUntitled(const Workspace& ws) {
  return ws.circuit.FileName == "example";
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
