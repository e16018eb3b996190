#include "model/technology_file.h"

#include <gtest/gtest.h>

#include "core/test_support.h"
#include "workspace.h"

namespace qiro {
namespace {

struct TechFixture : ::testing::Test {
  test::RecordingHost host;
  Workspace ws{&host};
  test::TempDir dir;

  bool Load(const std::string& text) {
    test::WriteFile(dir / "t.tec", text);
    return LoadTechnology(ws, dir / "t.tec");
  }
};

TEST_F(TechFixture, ReadsEveryKeyWithBlankLinesBetween) {
  ws.circuit.Extracted = true;
  ASSERT_TRUE(
      Load("NA \"cmos 0.12\"\r\n\r\nTI = 0.5\r\n\r\nTD = 0.05\r\n\r\nTW = 0.02\r\n\r\nTC = 3\r\n\r\n"
           "VD = -2.5\r\n\r\nML \"0.12u\"\r\nXW \"1.5u\"\r\n"));
  EXPECT_EQ(ws.tech.TechName, "cmos 0.12");
  EXPECT_DOUBLE_EQ(ws.tech.TimeUnit, 0.5);
  EXPECT_DOUBLE_EQ(ws.tech.UnitGateDelay, 0.05);
  EXPECT_DOUBLE_EQ(ws.tech.WireDelayUnit, 0.02);
  EXPECT_DOUBLE_EQ(ws.tech.TechCurrentFactor, 3);
  EXPECT_DOUBLE_EQ(ws.tech.SupplyVoltage, -2.5);
  EXPECT_EQ(ws.tech.DefaultMosLength, "0.12u");
  EXPECT_EQ(ws.tech.DefaultMosWidth, "1.5u");
  EXPECT_FALSE(ws.circuit.Extracted);
  EXPECT_EQ(ws.status[0], "Select foundry \"" + (dir / "t.tec").string() + "\"");
  EXPECT_EQ(ws.status[1], "cmos 0.12");
  EXPECT_TRUE(host.errors.empty());
}

TEST_F(TechFixture, TheLineAfterAValueLineIsSwallowed) {
  // NA, TI, TD in a row: TI is read as part of the key after the name and skipped.
  for (const char* eol : {"\r\n", "\n"}) {
    ws.tech = Technology{};
    std::string e = eol;
    ASSERT_TRUE(Load("NA \"p\"" + e + "TI = 5" + e + "TD = 7" + e));
    EXPECT_EQ(ws.tech.TechName, "p") << "eol " << e.size();
    EXPECT_DOUBLE_EQ(ws.tech.TimeUnit, 1.0);
    EXPECT_DOUBLE_EQ(ws.tech.UnitGateDelay, 7.0);
  }
  // A number ended by another character: the key starts right after it.
  ws.tech = Technology{};
  ASSERT_TRUE(Load("TD = 2;TW = 3\r\nVD = 4\r\n"));
  EXPECT_DOUBLE_EQ(ws.tech.UnitGateDelay, 2.0);
  EXPECT_DOUBLE_EQ(ws.tech.WireDelayUnit, 3.0);
  EXPECT_DOUBLE_EQ(ws.tech.SupplyVoltage, 2.5);
}

TEST_F(TechFixture, NumberQuirks) {
  // The exponent's rest "-3" is read as the next key, so the exponent line comes last.
  ASSERT_TRUE(Load("TD=0.05\r\n\r\nTC = 1.2.3\r\n\r\nVD =   \r\n\r\nTW = 1e-3\r\n"));
  EXPECT_DOUBLE_EQ(ws.tech.UnitGateDelay, 1.0) << "'=' in column 3 is skipped, no '=' follows";
  ws.tech.WireDelayUnit = 5;
  ASSERT_TRUE(Load("TW = 1e-3\r\n"));
  EXPECT_DOUBLE_EQ(ws.tech.WireDelayUnit, 1.0) << "cut at the exponent";
  EXPECT_DOUBLE_EQ(ws.tech.TechCurrentFactor, 1.23) << "second point ignored";
  EXPECT_DOUBLE_EQ(ws.tech.SupplyVoltage, 0.0) << "no digits gives 0";
  ASSERT_TRUE(Load("TD = .5\r\n\r\nTW =\r\n\r\nTC = +-3\r\n"));
  EXPECT_DOUBLE_EQ(ws.tech.UnitGateDelay, 0.5);
  EXPECT_DOUBLE_EQ(ws.tech.WireDelayUnit, 1.0) << "line ending right after '=' keeps the value";
  EXPECT_DOUBLE_EQ(ws.tech.TechCurrentFactor, -3.0);
  EXPECT_TRUE(host.errors.empty());
}

TEST_F(TechFixture, OutOfRangeNumbersAreReportedAndStoreZero) {
  ASSERT_TRUE(Load("TD = 2000000\r\n\r\nVD = -1000000\r\n\r\nTW = 99999999999999999999999999999999\r\n"));
  EXPECT_DOUBLE_EQ(ws.tech.UnitGateDelay, 0.0);
  EXPECT_DOUBLE_EQ(ws.tech.SupplyVoltage, -1000000.0);
  EXPECT_DOUBLE_EQ(ws.tech.WireDelayUnit, 0.0);
  ASSERT_EQ(host.errors.size(), 2u);
  EXPECT_EQ(host.errors[0], "Error decoding the real value \"2000000\"");
}

TEST_F(TechFixture, NonPositiveTimeUnitIsRefused) {
  ASSERT_TRUE(Load("TI = 0.25\r\n\r\nTI = 0\r\n\r\nTI = -3\r\n\r\nTI = 5000000\r\n"));
  EXPECT_DOUBLE_EQ(ws.tech.TimeUnit, 0.25);
  ASSERT_EQ(host.errors.size(), 3u);
  EXPECT_EQ(host.errors[0], "Error decoding the real value \"0\"");
  EXPECT_EQ(host.errors[1], "Error decoding the real value \"-3\"");
}

TEST_F(TechFixture, KeysAndQuotedTexts) {
  // Lower-case keys are unknown; MW, NW, ... are not width keys; a missing quote gives "".
  ASSERT_TRUE(Load(
      "td = 9\r\nMW \"x\"\r\nTW = 4\r\n\r\nAW no quotes\r\nML \"0.3u\r\nSY abc # text\r\nPI a 1 2 3 4 5\r\n"
      "TC = 6\r\n"));
  EXPECT_DOUBLE_EQ(ws.tech.UnitGateDelay, 1.0);
  EXPECT_DOUBLE_EQ(ws.tech.WireDelayUnit, 4.0);
  EXPECT_EQ(ws.tech.DefaultMosWidth, "");
  EXPECT_EQ(ws.tech.DefaultMosLength, "0.3u");
  EXPECT_DOUBLE_EQ(ws.tech.TechCurrentFactor, 6.0);
}

TEST_F(TechFixture, MissingOrEmptyFile) {
  ws.tech.TechName = "previous";
  EXPECT_FALSE(LoadTechnology(ws, dir / "absent.tec"));
  EXPECT_EQ(ws.status[1], "Warning: no technology");
  EXPECT_EQ(ws.tech.TechName, "previous");
  ASSERT_TRUE(Load(""));
  EXPECT_EQ(ws.status[1], "previous");
}

}  // namespace
}  // namespace qiro
