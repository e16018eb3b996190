// House rules that no compiler checks: core stays free of Qt.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/test_support.h"

namespace {

TEST(Conventions, CoreIncludesNoQt) {
  // "#include <Q..." or "#include "qt...", with any blanks between the parts.
  const auto qtInclude = [](std::string s) {
    std::erase_if(s, [](char c) { return c == ' ' || c == '\t'; });
    return s.rfind("#include", 0) == 0 && s.size() > 10 && (s[8] == '<' || s[8] == '"') &&
           ((s[9] == 'Q' && std::isalpha(static_cast<unsigned char>(s[10]))) || s.compare(9, 2, "qt") == 0);
  };
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
      EXPECT_FALSE(qtInclude(line)) << entry.path() << ":" << number << ": " << line;
    }
  }
  EXPECT_GT(files, 5);
}

}  // namespace
