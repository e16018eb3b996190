#include "model/home_dir.h"

namespace qiro {

namespace fs = std::filesystem;

namespace {

bool HoldsLibrary(const fs::path& dir) {
  std::error_code ec;
  return !dir.empty() && fs::is_directory(dir / "IEEE", ec);
}

}  // namespace

HomeChoice FindHome(const HomeSearch& search) {
  if (!search.explicitHome.empty()) return {fs::path(search.explicitHome), false};
  if (!search.environmentHome.empty()) return {fs::path(search.environmentHome), false};
  if (HoldsLibrary(search.workingDir)) return {search.workingDir, false};
  if (!search.programDir.empty()) {
    const fs::path beside = search.programDir.parent_path() / "share" / "qiro";
    if (HoldsLibrary(beside)) return {beside.lexically_normal(), true};
    for (fs::path dir = search.programDir; !dir.empty(); dir = dir.parent_path()) {
      if (HoldsLibrary(dir)) return {dir, false};
      if (dir == dir.parent_path()) break;
    }
  }
  if (HoldsLibrary(search.installedDir)) return {search.installedDir, true};
  return {search.workingDir, false};
}

fs::path ProgramDir() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path{} : exe.parent_path();
}

std::string TakeHomeOption(std::vector<std::string>& args, std::string& home) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--home") continue;
    if (i + 1 >= args.size() || args[i + 1].empty()) return "--home needs a folder";
    home = args[i + 1];
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
               args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    return "";
  }
  return "";
}

}  // namespace qiro
