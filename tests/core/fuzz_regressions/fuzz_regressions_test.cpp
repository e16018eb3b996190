// Inputs the fuzz targets once crashed on, replayed as the targets feed them. Run under the
// sanitizers these show the faults stay mended; each folder holds the inputs of one target.
#include <gtest/gtest.h>

#include "core/test_support.h"
#include "mcu/assembler.h"

namespace qiro {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == '\n') {
      if (!lines.back().empty() && lines.back().back() == '\r') lines.back().pop_back();
      lines.emplace_back();
    } else {
      lines.back() += c;
    }
  }
  return lines;
}

TEST(FuzzRegressions, AssemblerInputs) {
  const fs::path dir = test::SourceRoot() / "tests" / "core" / "fuzz_regressions" / "assembler";
  int replayed = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    std::array<std::uint8_t, kProgramSize> program{};
    AsmResult result;
    AssembleLines(Lines(test::ReadFile(entry.path())), program, result);
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
