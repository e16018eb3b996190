// The recorded traces and supply current, their CSV and VCD files, and the choice of traces.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <random>
#include <sstream>
#include <vector>

#include "chrono/chrono_store.h"
#include "chrono/csv_writer.h"
#include "chrono/current_store.h"
#include "chrono/trace_choice.h"
#include "chrono/vcd_writer.h"
#include "core/sim/devices_test_support.h"
#include "core/test_support.h"
#include "model/schematic_file.h"
#include "sim/devices.h"
#include "sim/engine.h"
#include "workspace.h"

namespace qiro {
namespace {

TEST(ChronoStore, FullStoreDropsTheOlderHalf) {
  ChronoStore store;
  const int a = store.AddChronoTrace("a", false), bus = store.AddChronoTrace("bus", true);
  for (int k = 1; k <= kMaxTimePoints; ++k) store.RecordChronoSample(10 + k, a, k % 2);
  store.RecordChronoSample(kMaxTimePoints + 10, bus, 0x5A);
  ASSERT_EQ(store.SampleCount(), kMaxTimePoints);
  // The 5001st time point: points 2501..5000 move to 1..2500, the new one is 2501.
  store.RecordChronoSample(20000, -1, 0);
  EXPECT_EQ(std::tuple(store.SampleCount(), store.SampleTime(1), store.SampleTime(2500),
                       store.SampleTime(2501), store.viewStart),
            std::tuple(2501, 10 + 2501, 10 + kMaxTimePoints, 20000, 20000));
  EXPECT_EQ(std::tuple(store.Sample(a, 1), store.Sample(a, 2501), store.Sample(bus, 2501)),
            std::tuple(2501 % 2, kMaxTimePoints % 2, 0x5A));
}

TEST(CurrentStore, LongRunsDropOldEntriesInsteadOfOverflowing) {
  CurrentStore store;
  // Pulses of 5 entries every 10 steps: 100000 entries fill after 20000 pulses.
  for (int p = 0; p < 30000; ++p) store.AddCurrentPulse(10 * p + 3, 2, 2, 1.0);
  // The older half went once, at the 20001st pulse: the entries from pulse 10000 on are kept.
  EXPECT_EQ(std::pair(store.CurIndex(), store.CurTime(1)), std::pair(kMaxCurrentEntries - 4, 10 * 10000 + 3));
  const int last = store.CurIndex();
  EXPECT_EQ(store.CurTime(last), 10 * 29999 + 3);
  EXPECT_DOUBLE_EQ(store.CurValue(last + 2), 1);
  for (int k = 2; k <= last + 4; ++k) EXPECT_LT(store.CurTime(k - 1), store.CurTime(k)) << k;
  EXPECT_DOUBLE_EQ(store.SumCurrent(), 30000 * 2);
  store.AddCurrentPulse(400000, 90000, 90000, 1.0);  // longer than the table: cut, never beyond it
  EXPECT_DOUBLE_EQ(store.MaxCurrent(), 1);
}

TEST(CsvWriter, ColumnsRowsQuotingAndCurrent) {
  ChronoStore store;
  const int a = store.AddChronoTrace("a (l1)", false), k = store.AddChronoTrace("kbd(\"x\",y )", true);
  for (auto [step, trace, value] : {std::tuple{3, a, 1}, {3, k, 200}, {5, a, int(kSampleX)}, {6, a, 0}})
    store.RecordChronoSample(step, trace, static_cast<std::uint8_t>(value));
  CurrentStore current;
  current.AddCurrentPulse(4, 2, 1, 3.0);  // 0, 1.5, 3, 0 mA at steps 4..7
  std::ostringstream out, chosen;
  WriteChronoCsv(out, store, current, 0.5);
  EXPECT_EQ(out.str(),
            "time (ns),a (l1),\"kbd(\"\"x\"\",y )\",supply current (mA)\r\n1.5,1,200,0\r\n2.5,x,200,1.5\r\n"
            "3,0,200,3\r\n");
  WriteChronoCsv(chosen, store, current, 1.0, std::vector<int>{k});  // the window's rows, in its order
  EXPECT_EQ(chosen.str().substr(0, chosen.str().find("\r\n")),
            "time (ns),\"kbd(\"\"x\"\",y )\",supply current (mA)");
  test::TempDir dir;
  EXPECT_FALSE(WriteChronoCsvFile(dir / "missing" / "t.csv", store, current, 1.0));
}

TEST(VcdWriter, TraceChangesOnlyWithBusesAndUnknowns) {
  ChronoStore store;
  const int bit = store.AddChronoTrace("out (light1)", false),
            bus = store.AddChronoTrace("kbd1(k0 k1 k2 k3 )", true);
  // A time point with no change (8) gets no timestamp.
  for (auto [step, trace, value] :
       {std::tuple{3, bit, 255}, {3, bus, 0xA5}, {7, bit, 1}, {8, bit, 1}, {9, bus, 0x0F}})
    store.RecordChronoSample(step, trace, static_cast<std::uint8_t>(value));
  std::ostringstream out;
  WriteChronoVcd(out, store, 2.0);
  EXPECT_EQ(out.str(),
            "$version Qiro $end\n$timescale 1ns $end\n$scope module qiro $end\n"
            "$var wire 1 \" out_(light1) $end\n$var wire 8 # kbd1(k0_k1_k2_k3) [7:0] $end\n"
            "$upscope $end\n$enddefinitions $end\n#6\n$dumpvars\nx\"\nb10100101 "
            "#\n$end\n#14\n1\"\n#18\nb00001111 #\n");
}

// Choosing traces: the rows in the user's order without the traces left out, and a run that
// records an added node and no longer registers a left-out device, in both engines alike.
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
  MoveRow(choice, store, 0, 9);  // out of range (where to, then where from): nothing moves
  MoveRow(choice, store, 4, 0);
  seen += " " + names();
  MoveRow(choice, store, 0, 3);
  choice.Remove("a");
  seen += " " + names();
  choice.Add("a", false);
  EXPECT_EQ(seen + " " + names(), "cabb cbab cbab bbc babc");
  const bool noNodes = choice.nodes.empty();
  choice.Add("n7", true);
  choice.Remove("n7");
  EXPECT_TRUE(noNodes && choice.nodes.empty());
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
    const int devices = ws.chrono.TraceCount();
    ws.chrono.choice.Remove(ws.chrono.Trace(named("por ")).name);
    ws.chrono.choice.Add("w5", true);  // the first register's inverted output
    ws.engine.Kind = kind;
    RunUntil(ws, 800);
    StopSimulation(ws);
    const ChronoStore& c = ws.chrono;
    const int w5 = c.TraceCount(), q0 = named("q0 ");  // w5 unknown until the circuit drives it
    ASSERT_EQ(std::tuple(w5, named("por "), c.Trace(w5).name, c.Sample(w5, 1), q0 > 0),
              std::tuple(devices, 0, "w5", kSampleX, true));
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
    runs.emplace_back();
    for (int k = 1; k <= c.SampleCount(); ++k) runs.back().push_back(c.Sample(w5, k));
  }
  EXPECT_EQ(runs[0], runs[1]);
}

// Pulses added one entry at a time with the values worked out from each entry's step: the
// store's first form, for tables that never fill.
struct LiteralStore {
  std::vector<int> time = std::vector<int>(kMaxCurrentEntries + 1);
  std::vector<double> value = std::vector<double>(kMaxCurrentEntries + 1);
  int index = 1;
  double sum = 0, max = 0;
  void Add(int step, int rise, int fall, double peak) {
    while (time[index] != 0 && time[index] < step) ++index;
    for (int k = 0; k <= rise + fall; ++k) {
      const auto i = static_cast<std::size_t>(index + k);
      if (time[i] == 0) time[i] = step + k;
      const double t = time[i];
      double v = (t - step) / rise * peak;
      if (v >= peak) v = std::max(0.0, peak / fall * (static_cast<double>(step) + rise + fall - t));
      value[i] += v;
      sum += value[i];
      if (value[i] > max) max = value[i];
    }
  }
};

void ExpectSame(double a, double b, const char* what, int at) {
  EXPECT_EQ(std::bit_cast<std::uint64_t>(a), std::bit_cast<std::uint64_t>(b)) << what << " at " << at;
}

// Equal pulses of one step go in together, added exactly or one by one; either way every entry,
// the sum and the maximum are the very doubles of single additions, also past 2^53 and with
// peaks that are not binary fractions.
TEST(CurrentStore, PulsesAddedTogetherGiveTheDoublesOfSingleAdditions) {
  const struct {
    int rise, fall;
    double peak;
  } kShapes[] = {{1, 2, 1.0},     {1, 1, 0.5},  {2, 3, 3.0}, {1, 2, 0.3},
                 {3, 1, 1.0 / 3}, {1, 1, 1e15}, {4, 4, 0}};
  std::mt19937 rng(7);
  for (int run = 0; run < 4; ++run) {
    CurrentStore store, single;
    LiteralStore literal;
    int step = 3;
    for (int group = 0; group < 3000; ++group) {
      step += static_cast<int>(rng() % 4);
      const auto& s = kShapes[rng() % (run < 2 ? 3 : std::size(kShapes))];
      const int count = 1 + static_cast<int>(rng() % 40);
      store.AddCurrentPulses(step, PulseShape::Of(s.rise, s.fall, s.peak), count);
      for (int j = 0; j < count; ++j) {
        single.AddCurrentPulse(step, s.rise, s.fall, s.peak);
        literal.Add(step, s.rise, s.fall, s.peak);
      }
    }
    ASSERT_EQ(std::pair(store.CurIndex(), single.CurIndex()), std::pair(literal.index, literal.index));
    for (int k = 1; k <= literal.index + 10; ++k) {
      ASSERT_EQ(store.CurTime(k), literal.time[static_cast<std::size_t>(k)]) << k;
      ExpectSame(store.CurValue(k), literal.value[static_cast<std::size_t>(k)], "entry", k);
      ExpectSame(single.CurValue(k), literal.value[static_cast<std::size_t>(k)], "entry", k);
    }
    ExpectSame(store.SumCurrent(), literal.sum, "sum", run);
    ExpectSame(store.MaxCurrent(), literal.max, "max", run);
  }
  // Past the table's end, where the oldest entries are dropped.
  CurrentStore store, single;
  const PulseShape shape = PulseShape::Of(2, 2, 0.5);
  for (int p = 0; p < 30000; ++p) {
    store.AddCurrentPulses(10 * p + 3, shape, 3);
    for (int j = 0; j < 3; ++j) single.AddCurrentPulse(10 * p + 3, 2, 2, 0.5);
  }
  ASSERT_EQ(store.CurIndex(), single.CurIndex());
  for (int k = 1; k <= kMaxCurrentEntries; k += 7)
    ExpectSame(store.CurValue(k), single.CurValue(k), "entry", k);
  ExpectSame(store.SumCurrent(), single.SumCurrent(), "sum", 0);
}

TEST(CurrentStore, ScaleThresholds) {
  CurrentStore store;  // the scale chosen last stays when the peak is beyond every scale
  const auto scale = [&](double peak) {
    store.ResetSupplyCurrent();
    store.AddCurrentPulse(3, 1, 1, peak);
    store.ChooseCurrentScale();
    return store.CurrentScale();
  };
  EXPECT_EQ(scale(0.8), 1);
  EXPECT_EQ(scale(0.81), 5);
  EXPECT_EQ(scale(900), 5);
}

}  // namespace
}  // namespace qiro
