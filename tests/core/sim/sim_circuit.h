// Builds small circuits for the simulation tests without drawing or extracting them: symbols
// with pins whose node numbers and delays are set directly.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "core/test_support.h"
#include "sim/engine.h"
#include "workspace.h"

namespace qiro::test {

class SimCircuit {
 public:
  explicit SimCircuit(EngineKind kind = EngineKind::Fast) : ws(&host) { ws.engine.Kind = kind; }

  int Node(const std::string& name = "") {
    int error = 0;
    return ws.nodes.AddNode(name.empty() ? "w" + std::to_string(ws.nodes.Count() + 1) : name, error);
  }

  // A symbol whose pins sit on the given nodes. Pins listed in outputs are outputs with that many
  // steps of delay (the rest are inputs without delay).
  int Symbol(int model, std::initializer_list<int> nodes,
             std::initializer_list<std::pair<int, int>> outputs = {}) {
    return Symbol(model, std::vector<int>(nodes), std::vector<std::pair<int, int>>(outputs));
  }
  int Symbol(int model, const std::vector<int>& nodes, const std::vector<std::pair<int, int>>& outputs) {
    Circuit& c = ws.circuit;
    const int s = c.AddSymbol("s" + std::to_string(c.Symbols.Count() + 1));
    c.Symbols[s].Model = model;
    for (std::size_t k = 0; k < nodes.size(); ++k) {
      const int pin = static_cast<int>(k) + 1;
      int steps = -1;
      for (auto [p, d] : outputs)
        if (p == pin) steps = d;
      c.AddPin(s, 0, 0, steps >= 0 ? 'O' : 'I', "p" + std::to_string(pin), steps > 0 ? steps : 0, 1.0,
               ws.tech);
      TPin& p = c.Symbols[s].Pin(pin);
      p.Node = nodes[k];
      p.WireDelay = 0;
    }
    return s;
  }
  // A gate of the given model: inputs, then the output with its delay.
  int Gate(int model, std::initializer_list<int> inputs, int output, int steps) {
    std::vector<int> nodes(inputs);
    nodes.push_back(output);
    return Symbol(model, nodes, {{static_cast<int>(nodes.size()), steps}});
  }
  int Button(int node) { return Symbol(59, {node}); }
  int Vdd() { return Symbol(1, {1}); }
  int Vss() { return Symbol(0, {0}); }

  // Sets a button's held level; its node takes it at the next step.
  void Press(int button, bool high) { ws.circuit.Symbols[button].Pin(1).Value = high ? kLogic1 : kLogic0; }

  bool Start() {
    ws.engine.Running = true;
    return InitSimulation(ws);
  }
  void Step() { SimulateStep(ws); }
  void StepTo(int step) {
    while (ws.engine.StepCount < step) Step();
  }
  char Level(int node) const {
    const std::uint8_t v = ws.nodes[node].Value;
    return v == kLogic1 ? '1' : v == kLogic0 ? '0' : 'x';
  }

  RecordingHost host;
  Workspace ws;
};

}  // namespace qiro::test
