// Extraction of a schematic at table capacity: 2048 symbols (gates with 3 to 5 pins, a few
// supplies and buttons), 2500 wires, 512 connection dots and a full node table, joined
// through pins on wires, touching pins, shared wire ends and dots.
#include <benchmark/benchmark.h>

#include <string>

#include "extract/extract.h"
#include "workspace.h"

namespace qiro {
namespace {

// Gates stand in 6 rows and 340 columns. Each output starts a vertical wire on which every
// input of the gate in the same row of the next column lies, so the drawing has as many nets
// as the node table holds. Some of those wires are split in two with a dot at the joint, and
// every first-column gate ties its inputs with a wire of its own.
constexpr int kRows = 6;
constexpr int kColumns = 340;
constexpr int kSplitWires = kMaxWires - kRows * kColumns - kRows;

struct GatePlace {
  int x, y, inputs;
};

GatePlace Place(int row, int column) {
  return {column * 40, row * 40 + (column % 2) * 20, 2 + (row + column) % 3};
}

void BuildCapacitySchematic(Workspace& ws) {
  Circuit& c = ws.circuit;
  ClearSchematic(ws);
  for (int column = 0; column < kColumns; ++column) {
    for (int row = 0; row < kRows; ++row) {
      const GatePlace g = Place(row, column);
      const int s = c.AddSymbol("nand" + std::to_string(g.inputs));
      c.Symbols[s].Model = 300 + g.inputs;
      for (int j = 0; j < g.inputs; ++j)
        c.AddPin(s, g.x, g.y + 10 * j, 'I', "i" + std::to_string(j), 0, 0, ws.tech);
      // The output stands on the first input of the next column's gate in this row.
      c.AddPin(s, g.x + 40, Place(row, column + 1).y, 'O', "y", 1, 1, ws.tech);
    }
  }
  // Supplies and buttons on the first column's inputs.
  for (int k = 0; k < kMaxSymbols - kRows * kColumns; ++k) {
    const GatePlace g = Place(k % kRows, 0);
    const int s = c.AddSymbol(k == 0 ? "vdd" : k == 1 ? "vss" : "button" + std::to_string(k));
    c.Symbols[s].Model = k == 0 ? 1 : k == 1 ? 0 : 59;
    c.AddPin(s, g.x, g.y + 10 * (k / kRows), 'O', k < 2 ? "supply" : "in" + std::to_string(k), 0, 0, ws.tech);
  }
  for (int row = 0; row < kRows; ++row) {
    const GatePlace g = Place(row, 0);
    c.AddWire(g.x, g.y, g.x, g.y + 10 * (g.inputs - 1));
  }
  int splits = 0;
  for (int i = 1; i <= kRows * kColumns; ++i) {
    const TPin& out = c.Symbols[i].Pin(c.Symbols[i].PinCount);
    const int top = out.Y, bottom = out.Y + 35;
    if (splits < kSplitWires && i % 4 == 1) {
      c.AddWire(out.X, top, out.X, out.Y + 15);
      c.AddWire(out.X, out.Y + 15, out.X, bottom);
      c.AddContact(out.X, out.Y + 15);
      ++splits;
    } else {
      c.AddWire(out.X, top, out.X, bottom);
    }
  }
  while (c.Contacts.Count() < kMaxContacts) c.AddContact(-500, -500 - c.Contacts.Count() * 5);
}

void BM_ExtractCircuit(benchmark::State& state) {
  Workspace ws;
  BuildCapacitySchematic(ws);
  for (auto _ : state) {
    ws.circuit.Extracted = false;
    ExtractCircuit(ws);
  }
  state.counters["nodes"] = ws.nodes.Count();
  state.counters["symbols"] = ws.circuit.Symbols.Count();
  state.counters["wires"] = ws.circuit.Wires.Count();
  state.counters["dots"] = ws.circuit.Contacts.Count();
}
BENCHMARK(BM_ExtractCircuit)->Unit(benchmark::kMillisecond);

void BM_ExtractCircuitReference(benchmark::State& state) {
  Workspace ws;
  BuildCapacitySchematic(ws);
  for (auto _ : state) {
    ws.circuit.Extracted = false;
    ExtractCircuitReference(ws);
  }
}
BENCHMARK(BM_ExtractCircuitReference)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace qiro

BENCHMARK_MAIN();
