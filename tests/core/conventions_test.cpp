// House rules that no compiler checks: core stays free of Qt.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "core/test_support.h"

namespace {

TEST(Conventions, CoreIncludesNoQt) {
  const std::regex qtInclude(R"(^\s*#\s*include\s*[<"](Q[A-Za-z]|qt))");
  int files = 0;
  for (const auto& entry :
       std::filesystem::recursive_directory_iterator(qiro::test::SourceRoot() / "src" / "core")) {
    if (!entry.is_regular_file()) continue;
    ++files;
    std::ifstream in(entry.path());
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
      ++number;
      EXPECT_FALSE(std::regex_search(line, qtInclude)) << entry.path() << ":" << number << ": " << line;
    }
  }
  EXPECT_GT(files, 5);
}

}  // namespace
