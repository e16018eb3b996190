// A workspace with a recording host and a 1:1 view, and small builders for editing tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/test_support.h"
#include "workspace.h"

namespace qiro::test {

class EditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ws.SetHost(&host);
    ws.view.world = Rect{0, 0, 400, 400};
    ws.view.area = PixelRect{0, 0, 400, 400};
    ws.view.FitView();
  }
  // A symbol with a box and pins at the given points (outputs when named "y").
  int AddSymbol(const std::string& name, Rect box, std::vector<std::pair<int, int>> pins, int model = 402) {
    const int s = ws.circuit.AddSymbol(name);
    TSymbol& sym = ws.circuit.Symbols[s];
    sym.BBox = box;
    sym.Model = model;
    int n = 0;
    for (auto [x, y] : pins) ws.circuit.AddPin(s, x, y, 'I', name + std::to_string(++n), 0, 0, ws.tech);
    ws.circuit.AddInnerLine(s, box.x1, box.y1, box.x2, box.y2);
    return s;
  }
  void AddWires(const Wires& wires) {
    for (auto [x1, y1, x2, y2] : wires) ws.circuit.AddWire(x1, y1, x2, y2);
  }
  Wires LiveWires() const { return test::LiveWires(ws.circuit); }
  std::vector<std::pair<int, int>> LiveContacts() const {
    std::vector<std::pair<int, int>> out;
    for (const TContact& k : ws.circuit.Contacts)
      if (k.State != kDeleted) out.emplace_back(k.X, k.Y);
    return out;
  }
  // Live wires, symbols, contacts and labels, as "w3 s1 c1 l1".
  std::string LiveCounts() const {
    const Circuit& c = ws.circuit;
    return "w" + std::to_string(Live(c.Wires)) + " s" + std::to_string(Live(c.Symbols)) + " c" +
           std::to_string(Live(c.Contacts)) + " l" + std::to_string(Live(c.Labels));
  }

  RecordingHost host;
  Workspace ws;
};

using Points = std::vector<std::pair<int, int>>;

}  // namespace qiro::test
