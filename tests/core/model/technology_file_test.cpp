#include "model/technology_file.h"

#include <sstream>

#include "core/test_support.h"

namespace qiro {
namespace {

struct TechFixture : test::WorkspaceTest {
  bool Load(const std::string& text) {
    test::WriteFile(dir / "t.tec", text);
    ws.circuit.Extracted = true;  // new delays: the circuit must be extracted again
    return LoadTechnology(ws, dir / "t.tec") && !ws.circuit.Extracted;
  }
  // Name, time unit, gate, wire and current factors, supply, MOS length and width.
  std::string Tech() const {
    const Technology& t = ws.tech;
    std::ostringstream s;
    s << t.TechName << "|" << t.TimeUnit << " " << t.UnitGateDelay << " " << t.WireDelayUnit << " "
      << t.TechCurrentFactor << " " << t.SupplyVoltage << "|" << t.DefaultMosLength << "|"
      << t.DefaultMosWidth;
    return s.str();
  }
};

TEST_F(TechFixture, NumberQuirks) {
  // The exponent's rest "-3" is read as the next key, so the exponent line comes last.
  ASSERT_TRUE(Load("TD=0.05\r\n\r\nTC = 1.2.3\r\n\r\nVD =   \r\n\r\nTW = 1e-3\r\n"));
  // TD: '=' in column 3 is skipped and no '=' follows; TW is cut at the exponent; TC's second
  // point is ignored; VD has no digits and gives 0.
  ws.tech.WireDelayUnit = 5;
  ASSERT_TRUE(Load("TW = 1e-3\r\n"));
  EXPECT_EQ(Tech(), "unknown technology|1 1 1 1.23 0|0.25u|2.0u");
  // A line ending right after '=' keeps the value.
  ASSERT_TRUE(Load("TD = .5\r\n\r\nTW =\r\n\r\nTC = +-3\r\n"));
  EXPECT_TRUE(Tech() == "unknown technology|1 0.5 1 -3 0|0.25u|2.0u" && host.errors.empty()) << Tech();
}

TEST_F(TechFixture, OutOfRangeNumbersAreReportedAndStoreZero) {
  ASSERT_TRUE(Load("TD = 2000000\r\n\r\nVD = -1000000\r\n\r\nTW = 99999999999999999999999999999999\r\n"));
  EXPECT_EQ(Tech(), "unknown technology|1 0 0 1 -1e+06|0.25u|2.0u");
  EXPECT_TRUE(host.errors.size() == 2u && host.errors[0] == "Error decoding the real value \"2000000\"");
}

TEST_F(TechFixture, NonPositiveTimeUnitIsRefused) {
  ASSERT_TRUE(Load("TI = 0.25\r\n\r\nTI = 0\r\n\r\nTI = -3\r\n\r\nTI = 5000000\r\n"));
  ASSERT_TRUE(ws.tech.TimeUnit == 0.25 && host.errors.size() == 3u);
  EXPECT_EQ(host.errors[0] + "|" + host.errors[1],
            "Error decoding the real value \"0\"|Error decoding the real value \"-3\"");
}

TEST_F(TechFixture, KeysAndQuotedTexts) {
  // Lower-case keys are unknown; MW, NW, ... are not width keys; a missing quote gives "".
  ASSERT_TRUE(Load(
      "td = 9\r\nMW \"x\"\r\nTW = 4\r\n\r\nAW no quotes\r\nML \"0.3u\r\nSY abc # text\r\nPI a 1 2 3 4 5\r\n"
      "TC = 6\r\n"));
  EXPECT_EQ(Tech(), "unknown technology|1 1 4 6 2.5|0.3u|");
}

// The technology files shipped beside the program set every value, whatever the reader swallows.
TEST_F(TechFixture, EveryShippedFileSetsEveryValue) {
  const std::pair<const char*, const char*> cases[] = {
      {"default.tec", "Generic CMOS 0.25u|1 1 1 1 2.5|0.25u|2.0u"},
      {"technologies/cmos013.tec", "Fast CMOS 0.13u|0.01 0.04 0.01 0.3 1.2|0.13u|0.5u"},
      {"technologies/cmos035.tec", "CMOS 0.35u|0.05 0.2 0.05 1.5 3.3|0.35u|3.0u"},
      {"technologies/cmos12.tec", "Slow CMOS 1.2u|0.5 2 0.8 4 5|1.2u|6.0u"},
  };
  for (const auto& [file, values] : cases) {
    // Start from values no file uses, so a swallowed line shows up as an unchanged value.
    ws.tech.TimeUnit = ws.tech.UnitGateDelay = ws.tech.WireDelayUnit = 77;
    ws.tech.TechCurrentFactor = ws.tech.SupplyVoltage = 77;
    ws.tech.DefaultMosLength = ws.tech.DefaultMosWidth = "none";
    ASSERT_TRUE(LoadTechnology(ws, test::SourceRoot() / file));
    EXPECT_EQ(Tech(), values) << file;
  }
  EXPECT_TRUE(host.errors.empty());
  // Loading default.tec must not change what the program assumes without any file.
  ws.tech = Technology{};
  EXPECT_EQ(Tech().substr(Tech().find('|')), std::string(cases[0].second).substr(18));
}

}  // namespace
}  // namespace qiro
