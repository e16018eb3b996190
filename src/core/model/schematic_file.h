// Schematic files (.sch) and symbol files (.SYM): the writer, the reader with its three
// placement modes, and the Open, Save and Save As flows around them.
#pragma once

#include <filesystem>
#include <string>

namespace qiro {

class Workspace;

enum LoadMode {
  kLoadOpen = 0,    // into a cleared schematic
  kLoadSymbol = 1,  // one symbol, lower-right corner at the cursor
  kLoadInsert = 2,  // another schematic, 50 units right of the current one
};

// Writes the whole schematic. Returns false (after error 7) when the file cannot be written;
// the previous file is then left as it was. A non-empty `backup` keeps the previous file
// under that name when it exists and no backup exists yet.
bool SchematicWrite(Workspace& ws, const std::filesystem::path& path,
                    const std::filesystem::path& backup = {});

// Reads a file into the tables; the cursor (schematic units) is used by mode 1. Returns true
// when the load ended with "Loaded " + path, false when it ended with an error status.
bool SchematicLoad(Workspace& ws, const std::filesystem::path& path, int mode, int cursorX = 0,
                   int cursorY = 0);

// Whether the file can be opened as a schematic: it can be read and holds a BB line. If not,
// the error is reported (read error, format error) with the status "Error loading " + path,
// and nothing else changes, so a failed open keeps the schematic and its name.
bool CheckSchematicFile(Workspace& ws, const std::filesystem::path& path);

// Open: a file that fails CheckSchematicFile changes nothing; otherwise clears the schematic
// (placement counters included), reads the file and names it current.
bool OpenSchematic(Workspace& ws, const std::filesystem::path& path);
// Open in the editor: OpenSchematic, then the wire clean-up that follows every edit. The
// schematic becomes modified only when that changed a wire, and the status text says so.
bool OpenSchematicForEditing(Workspace& ws, const std::filesystem::path& path);
// The clean-up half of OpenSchematicForEditing, for callers that record it as an edit of its own.
void TidyOpenedSchematic(Workspace& ws);

// Current file name (cut to 128), status "Editing " + quoted name; the host is told, so the
// window's caption follows every change of name.
void SetCurrentFileName(Workspace& ws, const std::string& name);

// Whether the drawing was never saved nor opened from a file: its name is still the
// placeholder "example" that New and the start give it.
bool IsUntitled(const Workspace& ws);

// Save: keeps the previous file as .bak (only when no .bak exists yet), writes name.sch.
bool SaveSchematic(Workspace& ws);

// The name the Save As dialog proposes: the current name with the extension ".sch".
std::filesystem::path ProposedSaveAsName(const Workspace& ws);
// Whether Save As must ask "This file already exist. Will you overwrite it?" first.
bool SaveAsNeedsOverwriteQuestion(const std::filesystem::path& chosen);
// Save As after the dialog: writes the chosen file unless it exists and the overwrite was
// declined (then the current file name stays as it was).
bool SaveSchematicAs(Workspace& ws, const std::filesystem::path& chosen, bool overwriteConfirmed);

}  // namespace qiro
