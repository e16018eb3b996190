#include "editor/options_values.h"

#include "core/test_support.h"

namespace qiro {
namespace {

TEST(OptionsValues, TableFillTexts) {
  // 1/2048 is 0.05 %: the text keeps one decimal, the bar rounds to 0; 2047 rounds to 100.
  for (auto [used, size, text] : {std::tuple{1024, 2048, "1024/2048 50.0% full 50"},
                                  {2500, 2500, "2500/2500 100.0% full 100"},
                                  {0, 2048, "0/2048 0.0% full 0"},
                                  {1, 2048, "1/2048 0.0% full 0"},
                                  {2047, 2048, "2047/2048 100.0% full 100"}}) {
    const TableFill fill = FillOf(used, size);
    EXPECT_EQ(fill.Count + " " + fill.Percent + " " + std::to_string(fill.Bar), text);
  }
  EXPECT_EQ(FillOf(3, 0).Bar, 0);
}

TEST(OptionsValues, ApplyingOptions) {
  Workspace ws;
  ws.circuit.Extracted = true;
  EXPECT_FALSE(ApplySimulationOptions(ws, 0, "0"));
  EXPECT_EQ(std::pair(ws.settings.DisplayPeriod, ws.tech.TimeUnit), std::pair(12, 1.0));

  // A step of 2 ns shows "1ns"; OK with that choice keeps 2 ns and the extraction.
  ws.tech.TimeUnit = 2.0;
  EXPECT_TRUE(ApplySimulationOptions(ws, 3, "1"));  // the shortest refresh interval
  EXPECT_TRUE(ApplySimulationOptions(ws, 3, "25"));
  EXPECT_EQ(std::tuple(ws.settings.DisplayPeriod, ws.tech.TimeUnit, ws.circuit.Extracted),
            std::tuple(25, 2.0, true));

  EXPECT_TRUE(ApplySimulationOptions(ws, 2, "25"));
  EXPECT_DOUBLE_EQ(ws.tech.TimeUnit, 0.1);
  EXPECT_FALSE(ws.circuit.Extracted) << "delays in steps must be recomputed";
  for (std::size_t k = 0; k < kTimeUnitValues.size(); ++k)
    EXPECT_EQ(TimeUnitChoice(kTimeUnitValues[k]), static_cast<int>(k))
        << "each step length shows as its choice";
}

TEST(OptionsValues, TechnologyAndFileTexts) {
  EXPECT_EQ(FormatTechValue(2.5) + FormatTechValue(0.0125) + "|" + EditingFileText("a.sch"),
            " 2.500 0.013|\"a.sch\" edited by QIRO 2.3c");
}

TEST(OptionsValues, HomeDirectory) {
  Workspace ws;
  ApplyHomeDirectory(ws, "/no/such/place");
  EXPECT_EQ(std::pair(ws.settings.HomeDir, ws.settings.SymbolDir),
            std::pair(std::filesystem::path("/no/such/place"), std::filesystem::path("/no/such/place/IEEE")));
  ApplyHomeDirectory(ws, std::string(300, 'd'));
  EXPECT_EQ(ws.settings.HomeDir.string().size(), 128u);

  // A symbol chosen inside a library folder makes that folder the library.
  for (auto [chosen, home] :
       {std::pair{"/q/IEEE/and2.SYM", "/q"}, {"/q/ieee/and2.SYM", "/q"}, {"/q/mine/adder.sym", "/q/mine"}})
    EXPECT_EQ(HomeOfChosenSymbol(chosen), home);
}

}  // namespace
}  // namespace qiro
