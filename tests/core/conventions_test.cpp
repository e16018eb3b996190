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
  const auto qtInclude = [](const std::string& line) {
    std::size_t i = line.find_first_not_of(" \t");
    if (i == std::string::npos || line[i] != '#') return false;
    i = line.find_first_not_of(" \t", i + 1);
    if (i == std::string::npos || line.compare(i, 7, "include") != 0) return false;
    i = line.find_first_not_of(" \t", i + 7);
    if (i == std::string::npos || (line[i] != '<' && line[i] != '"')) return false;
    const std::string name = line.substr(i + 1, 2);
    return name == "qt" ||
           (name.size() == 2 && name[0] == 'Q' && std::isalpha(static_cast<unsigned char>(name[1])));
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
