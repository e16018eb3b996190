// Builds small circuits by hand: symbols with pins on given nodes, no drawing; and the small
// helpers the qiro-cli tests share.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "workspace.h"

namespace qiro::test {

// Adds a symbol of a model whose pins 1..n sit on the given nodes, creating the nodes as needed.
inline int AddDevice(Workspace& ws, const std::string& name, int model, std::initializer_list<int> nodes,
                     int vis = 5) {
  const int i = ws.circuit.AddSymbol(name);
  TSymbol& s = ws.circuit.Symbols[i];
  s.Model = model;
  s.Vis = vis;
  int k = 0;
  for (int n : nodes) {
    ++k;
    ws.circuit.AddPin(i, 10 * k, 0, 'O', name + "_" + std::to_string(k), 0, 0, ws.tech);
    s.Pin(k).Node = n;
    while (ws.nodes.Count() < n)
      ws.nodes.AddNode("w" + std::to_string(ws.nodes.Count() + 1), ws.circuit.ErrorCode);
  }
  return i;
}

// Adds a symbol whose named input pins sit on given nodes (set by hand, as extraction would);
// lines, when given, are its own Verilog text.
inline int AddWired(Workspace& ws, const std::string& name, int model,
                    const std::vector<std::pair<std::string, int>>& pins,
                    const std::vector<std::string>& lines = {}) {
  const int s = ws.circuit.AddSymbol(name);
  TSymbol& sym = ws.circuit.Symbols[s];
  sym.Model = model;
  for (const auto& [pinName, node] : pins) {
    ws.circuit.AddPin(s, 0, 0, 'I', pinName, 0, 0, ws.tech);
    sym.Pin(sym.PinCount).Node = node;
  }
  sym.VerilogLines.insert(sym.VerilogLines.end(), lines.begin(), lines.end());
  sym.VerilogLineCount += static_cast<int>(lines.size());
  return s;
}

inline std::string Quote(const std::filesystem::path& p) {
  return "'" + p.string() + "'";
}

inline bool HasIverilog() {
  return std::system("iverilog -V >/dev/null 2>&1") == 0;
}

}  // namespace qiro::test
