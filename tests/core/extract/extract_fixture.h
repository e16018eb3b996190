// Circuits built in code for the extraction tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/test_support.h"
#include "extract/extract.h"
#include "workspace.h"

namespace qiro::test {

struct PinSpec {
  int x, y;
  char kind = 'I';
  std::string name = "a";
  double delay = 0;  // delay factor; outputs usually 1
  double load = 0;
};

struct ExtractFixture : ::testing::Test {
  RecordingHost host;
  Workspace ws{&host};

  int Symbol(const std::string& name, int model, const std::vector<PinSpec>& pins) {
    const int s = ws.circuit.AddSymbol(name);
    ws.circuit.Symbols[s].Model = model;
    for (const PinSpec& p : pins) ws.circuit.AddPin(s, p.x, p.y, p.kind, p.name, p.delay, p.load, ws.tech);
    return s;
  }
  // A two-input gate with inputs at (x, y) and (x, y + 10) and its output at (x + 30, y + 5).
  int Gate(int x, int y) {
    return Symbol("and2", 102, {{x, y, 'I', "a"}, {x, y + 10, 'I', "b"}, {x + 30, y + 5, 'O', "y", 1, 1}});
  }
  int Vdd(int x, int y) { return Symbol("vdd", 1, {{x, y, 'O', "vdd"}}); }
  int Vss(int x, int y) { return Symbol("vss", 0, {{x, y, 'O', "vss"}}); }
  int Button(int x, int y, const std::string& pin) { return Symbol("button1", 59, {{x, y, 'O', pin}}); }
  int Wire(int x1, int y1, int x2, int y2) { return ws.circuit.AddWire(x1, y1, x2, y2); }

  TPin& Pin(int s, int k) { return ws.circuit.Symbols[s].Pin(k); }
  int NodeOf(int s, int k) { return Pin(s, k).Node; }
  TLine& WireAt(int w) { return ws.circuit.Wires[w]; }

  void Extract() {
    ws.circuit.Extracted = false;
    ExtractCircuit(ws);
  }
};

}  // namespace qiro::test
