// A symbol made by tosym simulates through its generated gates like the schematic it came from.
#include <gtest/gtest.h>

#include "core/test_support.h"

namespace qiro {
namespace {

using test::RunCli;
using test::SourceRoot;

// Input vectors applied every 50 steps by toggling buttons; the outputs are checked 40 steps
// later, once the carry has rippled through both symbols.
struct Vector {
  int a, b, cin;
};
constexpr Vector kVectors[] = {{3, 1, 0}, {2, 3, 1}, {1, 2, 0}, {3, 3, 1}, {0, 0, 1}, {1, 3, 0}};

std::string Script(bool twoBits) {
  // Buttons in table order: a0, b0, cin, a1, b1 (the full adder has a, b, cin).
  std::string args;
  Vector now{0, 0, 0};
  int step = 10;
  for (const Vector& v : kVectors) {
    const auto toggle = [&](const char* button, bool changed) {
      if (changed) args += std::string(" --toggle ") + button + "@" + std::to_string(step);
    };
    toggle("button1", (v.a ^ now.a) & 1);
    toggle("button2", (v.b ^ now.b) & 1);
    toggle("button3", v.cin != now.cin);
    if (twoBits) {
      toggle("button4", (v.a ^ now.a) & 2);
      toggle("button5", (v.b ^ now.b) & 2);
    }
    const int mask = twoBits ? 3 : 1;
    const int sum = (v.a & mask) + (v.b & mask) + v.cin;
    const auto expect = [&](const char* node, int bit) {
      args += std::string(" --expect ") + node + "=" + std::to_string(bit) + "@" + std::to_string(step + 40);
    };
    if (twoBits) {
      expect("s0", sum & 1);
      expect("s1", (sum >> 1) & 1);
      expect("cout", (sum >> 2) & 1);
    } else {
      expect("s", sum & 1);
      expect("cout", (sum >> 1) & 1);
    }
    now = v;
    step += 50;
  }
  return args + " --until " + std::to_string(step);
}

TEST(HierarchySim, FullAdderSchematicAndTwoBitAdderOfItsSymbol) {
  if (RunCli("simulate --help").status != 0) GTEST_SKIP() << "qiro-cli has no simulate command in this build";
  const auto flat =
      RunCli("simulate '" + (SourceRoot() / "examples/full_adder.sch").string() + "'" + Script(false));
  EXPECT_EQ(flat.status, 0) << flat.out;
  const auto twoBit =
      RunCli("simulate '" + (SourceRoot() / "examples/adder_2bit.sch").string() + "'" + Script(true));
  EXPECT_EQ(twoBit.status, 0) << twoBit.out;
}

}  // namespace
}  // namespace qiro
