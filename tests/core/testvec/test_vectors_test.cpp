// The .tst reader: what it accepts, how repeats and holds unroll, and that every error names
// its line.
#include "testvec/test_vectors.h"

#include <gtest/gtest.h>

namespace qiro {
namespace {

TEST(TestVectorsReader, RowsCommentsHoldsAndNestedRepeats) {
  const auto r = ReadTestVectors(
      "# header next\r\n"
      "a kbd | s digit1  # outputs\r\n"
      "0 F | 1 3F\r\n"
      "hold 7\r\n"
      "repeat 2\n"
      "1 C 0 -\n"
      "repeat 3\n"
      "0 0 | x a\n"
      "end\n"
      "end\n"
      "hold 0\n"
      "repeat 0\n"
      "1 1 1 1\n"
      "end\n"
      "1 1 1 1\n");
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.vectors.inputs, (std::vector<std::string>{"a", "kbd"}));
  EXPECT_EQ(r.vectors.outputs, (std::vector<std::string>{"s", "digit1"}));
  std::vector<int> lines, holds;
  for (const TestRow& row : r.vectors.rows) {
    lines.push_back(row.line);
    holds.push_back(row.hold);
  }
  EXPECT_EQ(lines, (std::vector<int>{3, 6, 8, 8, 8, 6, 8, 8, 8, 15}));
  EXPECT_EQ(holds, (std::vector<int>{0, 7, 7, 7, 7, 7, 7, 7, 7, 0}));
  EXPECT_EQ(r.vectors.rows[2].cells, (std::vector<std::string>{"0", "0", "x", "a"}));
  EXPECT_EQ(HexValue("3F"), 63);
  EXPECT_EQ(HexValue("3G"), -1);
  EXPECT_EQ(HexValue("123"), -1);
}

TEST(TestVectorsReader, EveryErrorNamesItsLine) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"", "line 1: no header line (inputs | outputs)"},
      {"# nothing\n\n", "line 2: no header line (inputs | outputs)"},
      {"a b\n", "line 1: the header names the inputs, then '|', then the outputs"},
      {"a | b | c\n", "line 1: the header names the inputs, then '|', then the outputs"},
      {"a |\n0\n", "line 1: the header names no output after '|'"},
      {"a | b a\n", "line 1: 'a' is named twice in the header"},
      {"a | b\n# none\n", "line 2: no rows to test"},
      {"a | b\n0 1\n0 1 1\n", "line 3: 3 values for 2 columns"},
      {"a | b\n0 | | 1\n", "line 2: '|' must stand after the inputs"},
      {"a | b\n1 | 1\n0 |\n", "line 3: 1 values for 2 columns"},
      {"a | b\n\n2x 1\n", "line 3: '2x' is not a value for a (0, 1, C or a hexadecimal key)"},
      {"a | b\n0 z\n", "line 2: 'z' is not a value for b (0, 1, x, - or hexadecimal)"},
      {"a | b\nhold\n", "line 2: hold needs a number of steps, 0 to 100000"},
      {"a | b\nhold -3\n", "line 2: hold needs a number of steps, 0 to 100000"},
      {"a | b\nrepeat 100001\n", "line 2: repeat needs a count, 0 to 100000"},
      {"a | b\nrepeat 2\n0 1\nrepeat 2\n0 1\nend\n", "line 2: repeat without end"},
      {"a | b\n0 1\nend\n", "line 3: end without repeat"},
      {"a | b\nrepeat 2\n0 1\nend now\n", "line 4: end stands alone on its line"},
      {"a | b\nrepeat 1000\nrepeat 1000\n0 1\nend\nend\n", "line 6: more than 100000 rows"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto r = ReadTestVectors(c.text);
    EXPECT_EQ(r.error, c.error);
  }
}

}  // namespace
}  // namespace qiro
