// One Qiro session: the schematic, the technology, the nodes and every engine's state.
// The desktop program makes exactly one; tests and the command-line program make their own.
#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "chrono/chrono_store.h"
#include "chrono/current_store.h"
#include "chrono/node_log.h"
#include "editor/clipboard.h"
#include "editor/view.h"
#include "extract/extract.h"
#include "extract/node_table.h"
#include "mcu/mcu.h"
#include "model/circuit.h"
#include "model/host.h"
#include "model/technology.h"
#include "model/verilog_text.h"
#include "sim/engine.h"
#include "verilog/verilog_state.h"

namespace qiro {

// Settings that come from the command line, the options and the schematic properties dialogs.
struct Settings {
  std::filesystem::path HomeDir;             // working directory at start
  std::filesystem::path SymbolDir;           // home + IEEE, changed by the schematic properties
  std::filesystem::path GeneratedSymbolDir;  // where the last generated symbol was saved
  std::filesystem::path UserDir;             // new user files when the home is an installed data folder
  double DefaultDelay = 1.0;                 // default gate delay for typed values
  bool GlitchFiltering = true;
  int DisplayPeriod = 12;
  bool SmartLineEditing = true;
  bool AnyAngleLines = false;
  bool KeepWiresConnected = true;  // wire ends on a moved symbol's pins follow it
  bool Monochrome = false;
};

class Workspace {
 public:
  explicit Workspace(Host* host = nullptr) : host_(host ? host : &nullHost_) {}
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  Host& host() { return *host_; }
  void SetHost(Host* host) { host_ = host ? host : &nullHost_; }

  // Sets the home directory and the symbol directory beneath it.
  void SetHomeDir(const std::filesystem::path& home) {
    settings.HomeDir = home;
    settings.SymbolDir = home / "IEEE";
  }

  Circuit circuit;
  Technology tech;
  NodeTable nodes;
  ExtractState extraction;
  Settings settings;
  ChronoStore chrono;     // traced device samples for the timing diagrams
  CurrentStore current;   // supply-current estimate
  NodeChangeLog nodeLog;  // every node change of a run, when enabled
  VerilogState verilog;
  Mcu mcu;                            // the 8051: program memory and core state
  View view;                          // visible window and drawing modes of the schematic
  Engine engine;                      // simulation state: step counter, delay lines, flags
  std::array<std::string, 3> status;  // last text shown in each status panel
  VerilogReadState verilogRead;       // the Verilog reader's counters for the symbol being loaded
  EditState editor;                   // clipboard position and the last wire drawn

 private:
  Host nullHost_;
  Host* host_;
};

// Shows a status text in a panel (0 progress, 1 verdict) and remembers it.
inline void SetStatus(Workspace& ws, int panel, const std::string& text) {
  if (panel >= 0 && panel < static_cast<int>(ws.status.size())) ws.status[panel] = text;
  ws.host().SetStatus(panel, text);
}

// New: empties the schematic tables and releases the extracted nodes.
inline void ClearSchematic(Workspace& ws) {
  ws.circuit.Clear();
  ws.nodes.Reset();
}

// Brings every highlighted entry back to normal (cut ones stay cut), puts away the
// values a stopped run left on the drawing, and redraws.
inline void ResetHighlight(Workspace& ws) {
  ws.circuit.ResetHighlightStates();
  PutAwayRunValues(ws);
  ws.host().RedrawAll();
}

}  // namespace qiro
