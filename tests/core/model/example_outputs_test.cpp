// Every bundled example through qiro-cli's writers against tests/golden/outputs/NAME.KIND: the
// Verilog netlist, the portable one with delays and testbench (their date line left out), and
// the nodes' waveforms (VCD) and the traces (CSV) of a 400-step run. After an intended change of
// an output, QIRO_UPDATE_GOLDEN=1 records them again.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/test_support.h"

namespace qiro::test {
namespace {

TEST(ExampleOutputs, VerilogPortableVerilogVcdAndCsv) {
  const bool update = std::getenv("QIRO_UPDATE_GOLDEN") != nullptr;
  for (const char* name : {"adder_2bit", "counter", "full_adder", "half_adder", "jk_toggle", "keyboard_digit",
                           "mcu_counter", "sine_display"}) {
    const std::string sch = " examples/" + std::string(name) + ".sch";
    for (const auto& [kind, command] :
         {std::pair{"v", "verilog" + sch + " -o -"},
          {"portable.v", "verilog" + sch + " -o - --portable --delays --testbench"},
          {"vcd", "simulate" + sch + " --until 400 --vcd-nodes -"},
          {"csv", "simulate" + sch + " --until 400 --csv -"}}) {
      CliResult r =
          RunShell("cd '" + SourceRoot().string() + "' && '" QIRO_CLI_PATH "' " + command + " 2>/dev/null");
      ASSERT_EQ(r.status, 0) << command;
      if (r.out.rfind("// QIRO", 0) == 0) {
        const auto date = r.out.find('\n') + 1;
        r.out.erase(date, r.out.find('\n', date) + 1 - date);
      }
      const auto golden = SourceRoot() / "tests" / "golden" / "outputs" / (std::string(name) + "." + kind);
      if (update) WriteFile(golden, r.out);
      EXPECT_EQ(r.out, ReadFile(golden)) << command;
    }
  }
}

}  // namespace
}  // namespace qiro::test
