// The technology files shipped beside the program: every value they set must survive the
// reader's habit of taking the line after a name or number line as part of it.
#include <gtest/gtest.h>

#include "core/test_support.h"
#include "model/technology_file.h"
#include "workspace.h"

namespace qiro {
namespace {

struct Expected {
  const char* file;
  const char* name;
  double timeUnit, gateDelay, wireDelay, currentFactor, supply;
  const char* mosLength;
  const char* mosWidth;
};

TEST(LibraryTechnologyData, EveryShippedFileSetsEveryValue) {
  const Expected cases[] = {
      {"default.tec", "Generic CMOS 0.25u", 1.0, 1.0, 1.0, 1.0, 2.5, "0.25u", "2.0u"},
      {"technologies/cmos013.tec", "Fast CMOS 0.13u", 0.01, 0.04, 0.01, 0.3, 1.2, "0.13u", "0.5u"},
      {"technologies/cmos035.tec", "CMOS 0.35u", 0.05, 0.2, 0.05, 1.5, 3.3, "0.35u", "3.0u"},
      {"technologies/cmos12.tec", "Slow CMOS 1.2u", 0.5, 2.0, 0.8, 4.0, 5.0, "1.2u", "6.0u"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    test::RecordingHost host;
    Workspace ws(&host);
    // Start from values no file uses, so a swallowed line shows up as an unchanged value.
    ws.tech.TimeUnit = ws.tech.UnitGateDelay = ws.tech.WireDelayUnit = 77;
    ws.tech.TechCurrentFactor = ws.tech.SupplyVoltage = 77;
    ws.tech.DefaultMosLength = ws.tech.DefaultMosWidth = "none";
    ASSERT_TRUE(LoadTechnology(ws, test::SourceRoot() / c.file));
    EXPECT_EQ(ws.tech.TechName, c.name);
    EXPECT_DOUBLE_EQ(ws.tech.TimeUnit, c.timeUnit);
    EXPECT_DOUBLE_EQ(ws.tech.UnitGateDelay, c.gateDelay);
    EXPECT_DOUBLE_EQ(ws.tech.WireDelayUnit, c.wireDelay);
    EXPECT_DOUBLE_EQ(ws.tech.TechCurrentFactor, c.currentFactor);
    EXPECT_DOUBLE_EQ(ws.tech.SupplyVoltage, c.supply);
    EXPECT_EQ(ws.tech.DefaultMosLength, c.mosLength);
    EXPECT_EQ(ws.tech.DefaultMosWidth, c.mosWidth);
    EXPECT_TRUE(host.errors.empty());
  }
}

// Loading default.tec must not change what the program assumes without any file.
TEST(LibraryTechnologyData, DefaultFileMatchesBuiltInValues) {
  Workspace ws;
  const Technology builtIn;
  ASSERT_TRUE(LoadTechnology(ws, test::SourceRoot() / "default.tec"));
  EXPECT_DOUBLE_EQ(ws.tech.TimeUnit, builtIn.TimeUnit);
  EXPECT_DOUBLE_EQ(ws.tech.UnitGateDelay, builtIn.UnitGateDelay);
  EXPECT_DOUBLE_EQ(ws.tech.WireDelayUnit, builtIn.WireDelayUnit);
  EXPECT_DOUBLE_EQ(ws.tech.SupplyVoltage, builtIn.SupplyVoltage);
  EXPECT_EQ(ws.tech.DefaultMosLength, builtIn.DefaultMosLength);
  EXPECT_EQ(ws.tech.DefaultMosWidth, builtIn.DefaultMosWidth);
}

}  // namespace
}  // namespace qiro
