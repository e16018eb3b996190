// Where Qiro finds its home: the symbol library (IEEE/), default.tec, technologies/, the help
// page and the examples. The same rule serves the desktop program and qiro-cli:
//   1. the folder given with --home, then the QIRO_HOME environment variable;
//   2. the working directory when it holds IEEE/ (the source tree and classic set-ups);
//   3. the installed data folder beside the program (BIN/../share/qiro);
//   4. a folder above the program holding IEEE/ (a build tree inside the source tree);
//   5. the data folder the program was built for (CMake's install prefix);
//   6. the working directory.
// User files never go into an installed home: HomeIsInstalled tells the callers to use the
// user's own folders instead.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qiro {

struct HomeSearch {
  std::string explicitHome;            // --home DIR, or empty
  std::string environmentHome;         // QIRO_HOME, or empty
  std::filesystem::path workingDir;    // the process's working directory
  std::filesystem::path programDir;    // the folder of the running executable, or empty
  std::filesystem::path installedDir;  // the built-in data folder, or empty
};

struct HomeChoice {
  std::filesystem::path dir;
  // True when the home is a data folder rather than the user's working directory: user files
  // must then go elsewhere.
  bool installed = false;
};

HomeChoice FindHome(const HomeSearch& search);

// The running program's folder (empty where the platform does not tell).
std::filesystem::path ProgramDir();

// Removes "--home DIR" from args. Returns "" or the message of a misuse.
std::string TakeHomeOption(std::vector<std::string>& args, std::string& home);

}  // namespace qiro
