// The simulation benchmark's circuit: a clock (5 ns at 0, 5 ns at 1) driving chains of nand2
// gates, each gate's two inputs tied to the previous gate's output, with the nodes numbered by
// hand (no drawing, no extraction). Shared by the engine benchmark and the desktop speed test.
#pragma once

#include <filesystem>
#include <string>

#include "model/schematic_file.h"
#include "sim/primitives.h"
#include "workspace.h"

namespace qiro::bench {

struct Shape {
  int chains = 40;
  int length = 50;
  int steps = 100000;
};

// Builds the clocked nand chains into ws.
inline void BuildChains(Workspace& ws, const Shape& shape) {
  int error = 0;
  const int clockNode = ws.nodes.AddNode("clk", error);
  const int clock = ws.circuit.AddSymbol("clock1");
  ws.circuit.Symbols[clock].Model = 69;
  ws.circuit.Symbols[clock].PropWords[1] = "5";
  ws.circuit.Symbols[clock].PropWords[2] = "5";
  ws.circuit.AddPin(clock, 0, 0, 'O', "clk", 0, 0, ws.tech);
  ws.circuit.Symbols[clock].Pin(1).Node = clockNode;
  for (int c = 1; c <= shape.chains; ++c) {
    int in = clockNode;
    for (int g = 1; g <= shape.length; ++g) {
      const int out = ws.nodes.AddNode("n" + std::to_string(c) + "_" + std::to_string(g), error);
      const int s = ws.circuit.AddSymbol("nand2");
      TSymbol& sym = ws.circuit.Symbols[s];
      sym.Model = 202;
      ws.circuit.AddPin(s, 0, 0, 'I', "a", 0, 0, ws.tech);
      ws.circuit.AddPin(s, 0, 0, 'I', "b", 0, 0, ws.tech);
      ws.circuit.AddPin(s, 0, 0, 'O', "y", 1, 1, ws.tech);
      sym.Pin(1).Node = sym.Pin(2).Node = in;
      sym.Pin(3).Node = out;
      // Gate delay 1 ns plus 1 ns per input driven: 3 ns inside a chain, 1 ns at its end.
      sym.Pin(3).Fanout = g < shape.length ? 2 : 0;
      sym.Pin(3).WireDelay = sym.Pin(3).Fanout * ws.tech.WireDelayUnit;
      in = out;
    }
  }
}

// The same chains drawn as a schematic for `qiro-cli simulate`: gate g of a chain stands 40
// units right of gate g - 1, its inputs on a short vertical wire that starts at the previous
// output; the first gates' inputs lie on one long wire from the clock's pin.
inline bool WriteChainSchematic(const std::filesystem::path& file, const Shape& shape) {
  Workspace ws;
  Circuit& c = ws.circuit;
  const int clock = c.AddSymbol("clock1");
  c.Symbols[clock].Model = 69;
  c.Symbols[clock].PropWords[1] = c.Symbols[clock].PropWords[2] = "5";
  c.Symbols[clock].BBox = {-30, -10, 0, 10};
  c.AddPin(clock, 0, 0, 'O', "clk", 0, 0, ws.tech);
  c.AddWire(0, 0, 0, 40 * (shape.chains - 1) + 10);
  for (int k = 0; k < shape.chains; ++k) {
    const int y = 40 * k;
    for (int g = 1; g <= shape.length; ++g) {
      const int x = 40 * g - 40;
      const int s = c.AddSymbol("nand2");
      c.Symbols[s].Model = 202;
      c.Symbols[s].BBox = {x, y, x + 40, y + 10};
      c.AddPin(s, x, y, 'I', "a", 0, 0, ws.tech);
      c.AddPin(s, x, y + 10, 'I', "b", 0, 0, ws.tech);
      c.AddPin(s, x + 40, y, 'O', "y", 1, 1, ws.tech);
      if (g > 1) c.AddWire(x, y, x, y + 10);
    }
  }
  return SchematicWrite(ws, file);
}

}  // namespace qiro::bench
