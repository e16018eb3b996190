// The traces as CSV: the exact text of a small recording, and qiro-cli's file of the counter
// example against its golden copy.
#include "chrono/csv_writer.h"

#include <gtest/gtest.h>

#include <sstream>

#include "core/test_support.h"

namespace qiro {
namespace {

TEST(CsvWriter, ColumnsRowsQuotingAndCurrent) {
  ChronoStore store;
  const int a = store.AddChronoTrace("a (l1)", false);
  const int k = store.AddChronoTrace("kbd(\"x\",y )", true);
  store.RecordChronoSample(3, a, 1);
  store.RecordChronoSample(3, k, 200);
  store.RecordChronoSample(5, a, kSampleX);
  store.RecordChronoSample(6, a, 0);
  CurrentStore current;
  current.AddCurrentPulse(4, 2, 1, 3.0);  // 0, 1.5, 3, 0 mA at steps 4..7
  std::ostringstream out;
  WriteChronoCsv(out, store, current, 0.5);
  EXPECT_EQ(out.str(),
            "time (ns),a (l1),\"kbd(\"\"x\"\",y )\",supply current (mA)\r\n"
            "1.5,1,200,0\r\n"
            "2.5,x,200,1.5\r\n"
            "3,0,200,3\r\n");
  std::ostringstream chosen;  // the window's rows, in its order
  WriteChronoCsv(chosen, store, current, 1.0, std::vector<int>{k});
  EXPECT_EQ(chosen.str().substr(0, chosen.str().find("\r\n")),
            "time (ns),\"kbd(\"\"x\"\",y )\",supply current (mA)");

  test::TempDir dir;
  EXPECT_FALSE(WriteChronoCsvFile(dir / "missing" / "t.csv", store, current, 1.0));
}

TEST(CsvWriter, CounterExampleMatchesItsGoldenFile) {
  test::TempDir dir;
  const auto root = test::SourceRoot();
  const auto r = test::RunCli("simulate '" + (root / "examples" / "counter.sch").string() +
                              "' --until 1000 --csv '" + (dir / "counter.csv").string() + "'");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(test::ReadFile(dir / "counter.csv"), test::ReadFile(root / "tests/golden/chrono/counter.csv"));
}

}  // namespace
}  // namespace qiro
