// qiro-cli asm against golden files: the example schematic's program, its listing,
// symbol list and Intel HEX image.
#include <gtest/gtest.h>

#include "core/test_support.h"
#include "mcu/intel_hex.h"

namespace qiro {
namespace {

using test::ReadFile;
using test::RunCli;
using test::SourceRoot;

TEST(AsmCli, ExampleSchematicMatchesItsGoldenListingAndHex) {
  test::TempDir dir;
  const auto golden = SourceRoot() / "tests" / "golden" / "mcu";
  const auto hex = dir / "out.hex";
  auto r = RunCli("asm '" + (SourceRoot() / "examples" / "mcu_counter.sch").string() + "' --hex '" +
                  hex.string() + "'");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, ReadFile(golden / "mcu_counter.lst"));
  EXPECT_EQ(ReadFile(hex), ReadFile(golden / "mcu_counter.hex"));
}

TEST(AsmCli, PlainAssemblyFileAndBadArguments) {
  test::TempDir dir;
  test::WriteFile(dir / "p.asm", "start: inc a\r\n ajmp start\r\n");
  auto r = RunCli("asm '" + (dir / "p.asm").string() + "'");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out.substr(0, r.out.find("List of symbols")),
            "0000   04          >start: inc a\n0001   01 00       > ajmp start\n");
  EXPECT_NE(r.out.find(".START 0000\n"), std::string::npos);

  // Problems are listed; only --strict makes them fail the command.
  test::WriteFile(dir / "bad.asm", "foo r9,#300\n");
  r = RunCli("asm '" + (dir / "bad.asm").string() + "'");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("**** line 1: unknown mnemonic R9\n"), std::string::npos) << r.out;
  EXPECT_EQ(RunCli("asm '" + (dir / "bad.asm").string() + "' --strict").status, 1);
  EXPECT_EQ(RunCli("asm '" + (dir / "p.asm").string() + "' --strict").status, 0);

  EXPECT_EQ(RunCli("asm '" + (dir / "missing.sch").string() + "'").status, 1);
  EXPECT_EQ(RunCli("asm").status, 1);
  EXPECT_EQ(RunCli("asm '" + (dir / "p.asm").string() + "' --hex").status, 1);
}

TEST(IntelHex, RecordsChecksumsAndTrailingZeros) {
  std::vector<std::uint8_t> memory(40, 0);
  EXPECT_EQ(FormatIntelHex(memory), ":00000001FF\r\n");
  for (int i = 0; i < 17; ++i) memory[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i + 1);
  EXPECT_EQ(FormatIntelHex(memory),
            ":100000000102030405060708090A0B0C0D0E0F1068\r\n"
            ":0100100011DE\r\n"
            ":00000001FF\r\n");
}

}  // namespace
}  // namespace qiro
