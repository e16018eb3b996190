// The "Hierarchy" and "Netlist" pages of the netlist window as plain data: a tree of texts
// and a table of rows, one per symbol, which the window only has to show.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace qiro {

class Workspace;

struct TreeItem {
  std::string Text;
  std::vector<TreeItem> Children;
};

// Three roots: "inputs", "outputs" and the module, each symbol under the one its name
// classifies it into; user and gate symbols list their Verilog instances and pins.
std::vector<TreeItem> BuildHierarchy(const Workspace& ws);

inline constexpr std::array<std::string_view, 7> kNetlistTitles = {"Symbol n°", "Name", "Pins",   "Nodes",
                                                                   "Model",     "Regs", "Chronos"};

using NetlistRow = std::array<std::string, 7>;

// One row per symbol, row i for symbol i. Without a running simulation the Nodes column holds
// node numbers and Regs the length of each pin's delay line (from the last run); while one
// runs, their values.
std::vector<NetlistRow> ViewNetlist(const Workspace& ws, bool running = false);

// "The design includes N symbols" and "The circuit has N nodes".
std::string SymbolCountText(const Workspace& ws);
std::string NodeCountText(const Workspace& ws);

}  // namespace qiro
