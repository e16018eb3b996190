// Choosing traces: the rows in the user's order without the traces left out, and a run that
// records an added node and no longer registers a left-out device, in both engines alike.
#include "chrono/trace_choice.h"

#include <gtest/gtest.h>

#include "core/sim/devices_test_support.h"
#include "core/test_support.h"
#include "model/schematic_file.h"
#include "sim/devices.h"
#include "sim/engine.h"
#include "workspace.h"

namespace qiro {
namespace {

TEST(TraceChoice, RowsFollowTheUsersOrderWithoutTheTracesLeftOut) {
  ChronoStore store;
  for (const char* name : {"a", "b", "c", "b"}) store.AddChronoTrace(name, false);
  TraceChoice choice;
  // Rows are kept by name (a choice outlives the run): two traces of one name both show.
  auto names = [&] {
    std::string out;
    for (int j : ChosenRows(store, choice)) out += store.Trace(j).name;
    return out;
  };
  EXPECT_EQ(ChosenRows(store, choice), (std::vector<int>{1, 2, 3, 4}));
  MoveRow(choice, store, 2, 0);
  EXPECT_EQ(ChosenRows(store, choice), (std::vector<int>{3, 1, 2, 4}));
  std::string seen = names();
  MoveRow(choice, store, 3, 1);
  seen += " " + names();
  MoveRow(choice, store, 0, 9);  // out of range: nothing moves
  seen += " " + names();
  choice.Remove("a");
  seen += " " + names();
  choice.Add("a", false);
  EXPECT_EQ(seen + " " + names(), "cabb cbab cbab cbb cbab");
  EXPECT_TRUE(choice.nodes.empty());
  choice.Add("n7", true);
  choice.Remove("n7");
  EXPECT_TRUE(choice.nodes.empty());
  EXPECT_EQ(FilterNames({"clk1", "Q0", "q1", "w5"}, "q"), (std::vector<std::string>{"Q0", "q1"}));
}

TEST(TraceChoice, AddedNodeIsRecordedAndLeftOutDeviceIsNot) {
  std::vector<std::vector<std::uint8_t>> runs;
  for (EngineKind kind : {EngineKind::Reference, EngineKind::Fast}) {
    Workspace ws;
    ASSERT_TRUE(SchematicLoad(ws, test::SourceRoot() / "examples" / "counter.sch", kLoadOpen));
    ExtractCircuit(ws);
    RunUntil(ws, 10);
    StopSimulation(ws);
    const auto named = [&](const std::string& prefix) {
      for (int j = 1; j <= ws.chrono.TraceCount(); ++j)
        if (ws.chrono.Trace(j).name.rfind(prefix, 0) == 0) return j;
      return 0;
    };
    ASSERT_GT(named("por "), 0);
    const std::string por = ws.chrono.Trace(named("por ")).name;
    const int devices = ws.chrono.TraceCount();

    ws.chrono.choice.Remove(por);
    ws.chrono.choice.Add("w5", true);  // the first register's inverted output
    ws.engine.Kind = kind;
    RunUntil(ws, 800);
    StopSimulation(ws);
    const ChronoStore& c = ws.chrono;
    ASSERT_EQ(c.TraceCount(), devices);
    EXPECT_EQ(named("por "), 0);
    const int w5 = c.TraceCount();
    ASSERT_EQ(c.Trace(w5).name, "w5");
    EXPECT_EQ(c.Sample(w5, 1), kSampleX);  // unknown until the circuit drives it
    const int q0 = named("q0 ");
    ASSERT_GT(q0, 0);
    int compared = 0, edges = 0;
    for (int k = 2; k <= c.SampleCount(); ++k) {
      edges += c.Sample(w5, k) != c.Sample(w5, k - 1);
      // nQ is the inverse of Q, one register delay apart: compare where both have settled.
      if (c.Sample(w5, k) != kSampleX && c.Sample(q0, k) != kSampleX &&
          c.Sample(q0, k) == c.Sample(q0, k - 1) && c.Sample(w5, k) == c.Sample(w5, k - 1)) {
        EXPECT_NE(c.Sample(w5, k), c.Sample(q0, k)) << "time point " << k;
        ++compared;
      }
    }
    EXPECT_GT(compared, 10);
    EXPECT_GE(edges, 6);
    std::vector<std::uint8_t> samples;
    for (int k = 1; k <= c.SampleCount(); ++k) samples.push_back(c.Sample(w5, k));
    runs.push_back(samples);
  }
  EXPECT_EQ(runs[0], runs[1]);
}

TEST(TraceChoice, AddedNodeWaitsWhenTheDevicesFillTheTraceTable) {
  Workspace ws;
  for (int i = 1; i <= kMaxTraces; ++i) test::AddDevice(ws, "l" + std::to_string(i), kModelLight, {i + 1});
  ws.chrono.choice.Add("l1_1", true);  // the first light's node
  PrepareDevices(ws);
  ASSERT_EQ(ws.chrono.TraceCount(), kMaxTraces);
  EXPECT_EQ(ws.chrono.Trace(kMaxTraces).name, "l32_1 (l32)");  // the devices keep their traces
  EXPECT_EQ(ws.chrono.NodeTrace(2), 0);
}

}  // namespace
}  // namespace qiro
