// Set-up shared by the qiro-cli commands that work on a circuit: the --tech option, the
// technology (named file, else home/default.tec, else built-in values) and the schematic.
#pragma once

#include <string>
#include <vector>

namespace qiro {
class Workspace;
}

namespace qiro::cli {

// Removes "--tech FILE" from args into techPath. Returns "" or the message of a misuse.
std::string TakeTechOption(std::vector<std::string>& args, std::string& techPath);

// Sets the home directory, loads the technology and opens the schematic. Returns "" or the
// message of what failed. A technology path without extension gets ".tec".
std::string SetUpCircuit(Workspace& ws, const std::string& schematic, const std::string& techPath);

}  // namespace qiro::cli
