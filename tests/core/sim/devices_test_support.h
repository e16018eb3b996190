// Builds small simulated circuits by hand: symbols with pins on given nodes, no drawing.
#pragma once

#include <initializer_list>
#include <string>

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

}  // namespace qiro::test
