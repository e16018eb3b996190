// What the schematic shows while simulating: the single-step delay cells and the register view
// (wire colours are checked with the recorded drawings of the examples).
#include "editor/sim_view.h"

#include <gtest/gtest.h>

#include "core/editor/recording_canvas.h"
#include "core/sim/sim_circuit.h"
#include "sim/primitives.h"

namespace qiro::test {
namespace {

TEST(SimView, DelayCellsLieAtEachPinsLineNewestFirst) {
  SimCircuit c;
  const int in = c.Node(), mid = c.Node(), out = c.Node();
  const int b = c.Button(in);
  const int g1 = c.Gate(kModelNot, {in}, mid, 4);
  const int g2 = c.Gate(kModelNot, {mid}, out, 3);
  ASSERT_TRUE(c.Start());
  c.StepTo(12);
  c.Press(b, true);
  c.Step();
  const std::vector<std::uint8_t> cells = DelayCellImage(c.ws);
  for (int g : {g1, g2}) {
    const TPin& p = c.ws.circuit.Symbols[g].Pin(2);
    const std::vector<std::uint8_t> line = PinLineCells(c.ws, g, 2);
    ASSERT_EQ(static_cast<int>(line.size()), p.LineEnd - p.LineStart + 1);
    for (int k = 0; k < static_cast<int>(line.size()); ++k)
      EXPECT_EQ(cells[static_cast<std::size_t>(p.LineStart + k)], line[static_cast<std::size_t>(k)]);
  }
  // The first inverter has just seen its input rise: its newest cell holds 0, its oldest still 1.
  const TPin& p1 = c.ws.circuit.Symbols[g1].Pin(2);
  EXPECT_EQ(
      std::pair(cells[static_cast<std::size_t>(p1.LineStart)], cells[static_cast<std::size_t>(p1.LineEnd)]),
      std::pair(std::uint8_t(kLogic0), std::uint8_t(kLogic1)));
}

TEST(SimView, RegisterRowsListDRegistersInTableOrder) {
  SimCircuit c;
  const int d = c.Node(), rst = c.Node(), h = c.Node(), q = c.Node(), nq = c.Node();
  for (int n : {d, rst, h}) c.Button(n);
  const int r1 = c.Symbol(kModelDreg, {d, rst, h, q, nq}, {{4, 2}, {5, 2}});
  c.Gate(kModelNot, {d}, c.Node(), 2);
  const int r2 = c.Symbol(kModelDreg, {d, rst, h, q, nq}, {{4, 2}, {5, 2}});
  c.ws.circuit.Symbols[r1].Title = "reg1";
  c.ws.circuit.Symbols[r2].Title = "reg2";
  ASSERT_TRUE(c.Start());
  c.Step();
  const auto rows = RegisterRows(c.ws, 49);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].title + rows[1].title + std::string(rows[0].levels.begin(), rows[0].levels.end()),
            "reg1reg2000xx");
  EXPECT_EQ(RegisterRows(c.ws, 1).size(), 1u);
}

}  // namespace
}  // namespace qiro::test
