#include "model/verilog_text.h"

#include "core/test_support.h"
#include "model/parse_decimal.h"

namespace qiro {
namespace {

using Names = std::vector<std::string>;

TEST(ParseDecimal, ReadsAndClamps) {
  // A minus anywhere negates; a bad or empty text gives the default, a value out of range the bound.
  const struct {
    std::string text;
    double fallback, max, min, value;
    bool ok;
  } cases[] = {{"12.5", 50, 100000, 0, 12.5, true},
               {"-3", 50, 100000, 0, 0, false},
               {"3-", 50, 100000, -10, -3, true},
               {"10p", 50, 100000, 0, 50, false},
               {" ", 7, 100, 0, 7, false},
               {std::string(128, '1'), 7, 1e300, 0, 7, false},
               {"250000", 0, 100000, -100000, 100000, false}};
  for (const auto& c : cases) {
    const DecimalResult r = ParseDecimal(c.text, c.fallback, c.max, c.min);
    EXPECT_DOUBLE_EQ(r.value, c.value) << c.text;
    EXPECT_EQ(r.ok, c.ok) << c.text;
  }
}

using VerilogLines = test::WorkspaceTest;

}  // namespace
}  // namespace qiro
