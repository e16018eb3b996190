// Inputs the fuzz targets once crashed on, replayed as the targets feed them. Run under the
// sanitizers these show the faults stay mended; each folder holds the inputs of one target.
#include <gtest/gtest.h>

#include "../../../fuzz/fuzz_support.h"
#include "core/test_support.h"
#include "mcu/assembler.h"

namespace qiro {
namespace {

namespace fs = std::filesystem;

TEST(FuzzRegressions, AssemblerInputs) {
  const fs::path dir = test::SourceRoot() / "tests" / "core" / "fuzz_regressions" / "assembler";
  int replayed = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    std::array<std::uint8_t, kProgramSize> program{};
    AsmResult result;
    AssembleLines(fuzz::AssemblySource(test::ReadFile(entry.path())), program, result);
    ++replayed;
  }
  EXPECT_GT(replayed, 0);

  // The carry forms read their bit address from a text that once went out of scope first.
  std::array<std::uint8_t, kProgramSize> program{};
  AsmResult result;
  AssembleLines({" anl c,20h", " orl c,7Fh"}, program, result);
  EXPECT_EQ(std::vector<std::uint8_t>(program.begin(), program.begin() + 4),
            (std::vector<std::uint8_t>{0x82, 0x20, 0x72, 0x7F}));
}

}  // namespace
}  // namespace qiro
