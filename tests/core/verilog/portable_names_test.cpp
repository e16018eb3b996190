#include "verilog/portable_names.h"

#include <gtest/gtest.h>

namespace qiro {
namespace {

TEST(PortableNames, LegalTextAndEscapes) {
  const std::pair<const char*, const char*> cases[] = {
      {"a0", "a0"},
      {"_x", "_x"},
      {"1a", "\\1a "},
      {"a.b", "\\a.b "},
      {"a b", "a_b"},
      {"a-b", "\\a-b "},
      {"y'", "\\y' "},
      {"a[0]", "\\a[0] "},
      {"input", "\\input "},
      {"begin", "\\begin "},
      {"logic", "\\logic "},
      {"Wire", "Wire"},
      {"\xC3\xA9t\xC3\xA9", "xC3xA9txC3xA9"},
      {"a$b", "\\a$b "},
  };
  for (const auto& [name, written] : cases) EXPECT_EQ(VerilogName(VerilogText(name)), written) << name;
  for (const char* k : {"module", "endmodule", "supply0", "xnor", "notif1", "rnmos", "always_ff", "uwire"})
    EXPECT_TRUE(IsVerilogKeyword(k)) << k;
  for (const char* k : {"Module", "nand3", "w4", "vdd"}) EXPECT_FALSE(IsVerilogKeyword(k)) << k;
}

TEST(PortableNames, UserNamesFirstGeneratedNamesSkipTakenOnes) {
  VerilogNameSpace ns;
  EXPECT_EQ(ns.Reserve("nand3"), "nand3");
  EXPECT_EQ(ns.Reserve("a b"), "a_b");
  EXPECT_EQ(ns.Reserve("a_b"), "a_b_1");  // the same text after mapping is one name
  EXPECT_EQ(ns.Reserve("1a"), "\\1a ");
  EXPECT_EQ(ns.Reserve("1a"), "\\1a_1 ");
  EXPECT_EQ(ns.Reserve("nand3"), "nand3_1");
  EXPECT_EQ(ns.Reserve(""), "n1");
  EXPECT_EQ(ns.Generate("nc"), "nc1");
  EXPECT_EQ(ns.Reserve("nc2"), "nc2");
  EXPECT_EQ(ns.Generate("nc"), "nc3");
}

}  // namespace
}  // namespace qiro
