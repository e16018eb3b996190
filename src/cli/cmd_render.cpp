// qiro-cli render FILE -o OUT.png [--size WxH] [--mono]. Drawing needs Qt, which nothing else in
// qiro-cli uses; loading Qt's libraries at start would cost every simulation about 10 MB. So
// render hands its arguments, with the home already found, to the qiro-render helper program.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "cli/command.h"
#include "model/home_dir.h"

namespace qiro::cli {
namespace {

namespace fs = std::filesystem;

// Beside qiro-cli in the build tree; once installed, in the helper folder of the prefix qiro-cli
// runs from (an installed tree may have been moved), else of the configured one.
fs::path FindRenderHelper() {
  const fs::path bin = ProgramDir();
  for (const fs::path& dir :
       {bin, bin.empty() ? bin : bin / QIRO_HELPER_FROM_BIN, fs::path(QIRO_HELPER_DIR)}) {
    if (dir.empty()) continue;
    const fs::path p = dir / "qiro-render";
    if (::access(p.c_str(), X_OK) == 0) return p;
  }
  return {};
}

int RunRender(const std::vector<std::string>& args) {
  const fs::path helper = FindRenderHelper();
  if (helper.empty())
    return Fail(
        "render needs the program qiro-render, found neither beside qiro-cli nor in " QIRO_HELPER_FROM_BIN
        " from it nor in " QIRO_HELPER_DIR);
  std::vector<std::string> words = {helper.string()};
  if (const fs::path home = FindHome(); !home.empty()) words.insert(words.end(), {"--home", home.string()});
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  std::cout.flush();
  ::execv(helper.c_str(), argv.data());
  return Fail("cannot start " + helper.string() + ": " + std::strerror(errno));
}

const CommandRegistrar registrar({"render", "render FILE -o OUT.png [--size WxH] [--mono]",
                                  "draw the fitted schematic into a PNG picture", RunRender});

}  // namespace
}  // namespace qiro::cli
