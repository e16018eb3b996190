// What qiro-cli and its qiro-render helper share: failure messages and the home search.
#include <cstdlib>
#include <iostream>

#include "cli/command.h"
#include "model/home_dir.h"

namespace qiro::cli {

int Fail(const std::string& message) {
  std::cerr << "qiro-cli: " << message << "\n";
  return 1;
}

std::string& HomeOption() {
  static std::string option;
  return option;
}

std::filesystem::path FindHome() {
  std::error_code ec;
  const char* env = std::getenv("QIRO_HOME");
  return qiro::FindHome({HomeOption(), env ? env : "", std::filesystem::current_path(ec), qiro::ProgramDir(),
                         QIRO_DATA_DIR})
      .dir;
}

}  // namespace qiro::cli
