// The indexed extraction must match the whole-table reference exactly on random drawings.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "core/test_support.h"
#include "extract/extract.h"
#include "workspace.h"

namespace qiro {
namespace {

struct Shape {
  int span;  // coordinates in -span..span
  int step;  // on this grid
  int symbols, wires, contacts;
};

// Random drawing with many coincident points: pins on pins, wire ends on wires and dots,
// slanted wires, long wires, supplies, devices, switches, deleted and highlighted entries.
void Generate(Circuit& c, const Technology& tech, std::mt19937& rng, const Shape& shape) {
  std::uniform_int_distribution<int> coord(-shape.span / shape.step, shape.span / shape.step);
  std::vector<std::pair<int, int>> hubs;
  auto point = [&]() {
    if (!hubs.empty() && rng() % 3 == 0) return hubs[rng() % hubs.size()];
    std::pair<int, int> p{coord(rng) * shape.step, coord(rng) * shape.step};
    hubs.push_back(p);
    return p;
  };
  static constexpr int kModels[] = {0, 1, 102, 103, 201, 49, 59, 69, 85, 89, 702, 710, 6000, 500};
  for (int i = 0; i < shape.symbols; ++i) {
    const int s = c.AddSymbol("s" + std::to_string(i));
    TSymbol& sym = c.Symbols[s];
    sym.Model = kModels[rng() % std::size(kModels)];
    if (rng() % 15 == 0) sym.State = kHighlight;
    if (rng() % 20 == 0) sym.State = kDeleted;
    if (rng() % 20 == 0) sym.Internal = 1;
    sym.PropWords[1] = std::to_string(rng() % 2) + std::to_string(rng() % 2) + "1" +
                       std::to_string(rng() % 2) + std::to_string(rng() % 2) + std::to_string(rng() % 2);
    const int pins = 1 + static_cast<int>(rng() % 5);
    for (int k = 1; k <= pins; ++k) {
      auto [x, y] = point();
      const bool out = k == pins && rng() % 2;
      c.AddPin(s, x, y, out ? 'O' : 'I', rng() % 8 == 0 ? "" : "p" + std::to_string(k), out ? 1.0 : 0.0, 1.0,
               tech);
    }
  }
  for (int i = 0; i < shape.wires; ++i) {
    auto [x1, y1] = point();
    auto [x2, y2] = point();
    if (rng() % 2)
      x2 = x1;  // mostly straight wires
    else if (rng() % 2)
      y2 = y1;
    if (const int w = c.AddWire(x1, y1, x2, y2)) {
      const unsigned r = rng() % 20;
      c.Wires[w].State = r == 0 ? kDeleted : r == 1 ? kHighlight : r == 2 ? kHighlight2 : kNormal;
    }
  }
  for (int i = 0; i < shape.contacts; ++i) {
    auto [x, y] = point();
    c.AddContact(x, y);
  }
}

// What extraction decides, as text: pin nodes and fanouts, wire nodes, ends and states, dot
// nodes, node names and drivers, the port lists, the verdict and the status.
std::string Dump(const Workspace& ws) {
  std::ostringstream o;
  const Circuit& c = ws.circuit;
  for (int s = 1; s <= c.Symbols.Count(); ++s)
    for (int k = 1; k <= c.Symbols[s].PinCount; ++k)
      o << "p" << s << "." << k << "=" << c.Symbols[s].Pin(k).Node << "/" << c.Symbols[s].Pin(k).Fanout
        << " ";
  for (int w = 1; w <= c.Wires.Count(); ++w)
    o << "w" << w << "=" << c.Wires[w].Node << "/" << int(c.Wires[w].EndFlags) << "/" << int(c.Wires[w].State)
      << " ";
  for (int i = 1; i <= c.Contacts.Count(); ++i) o << "d" << i << "=" << c.Contacts[i].Node << " ";
  for (int n = 0; n <= ws.nodes.Count(); ++n)
    o << "n" << n << "=" << ws.nodes[n].Name << "/" << ws.nodes[n].Drivers << " ";
  for (const auto& name : ws.extraction.InputNames) o << "in " << name << " ";
  for (const auto& name : ws.extraction.OutputNames) o << "out " << name << " ";
  o << ws.extraction.ResultCode;
  for (const auto& text : ws.status) o << "|" << text;
  return o.str();
}

TEST(ExtractDifferential, IndexedMatchesReferenceOnRandomDrawings) {
  const Shape shapes[] = {
      {40, 5, 30, 60, 20},     // crowded: most points shared
      {600, 20, 80, 150, 40},  // several grid cells
      {3000, 5, 60, 120, 30},  // sparse, long wires crossing many cells
  };
  int seed = 0;
  for (const Shape& shape : shapes) {
    for (int round = 0; round < 60; ++round, ++seed) {
      std::mt19937 rng(static_cast<unsigned>(seed));
      Workspace indexed, reference;
      Generate(indexed.circuit, indexed.tech, rng, shape);
      reference.circuit = indexed.circuit;
      ExtractCircuit(indexed);
      ExtractCircuitReference(reference);
      ASSERT_EQ(Dump(indexed), Dump(reference)) << "seed " << seed;
    }
  }
}

}  // namespace
}  // namespace qiro
