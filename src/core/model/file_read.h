// Whole files read into memory, with a bound: a device or a pipe that never ends (a zero or
// random source) stops the read instead of filling the memory.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace qiro {

// Far above any real file: a schematic at every table limit is a few MB.
inline constexpr std::size_t kMaxInputBytes = std::size_t{64} << 20;

// Reads the whole file into `text`. False when it cannot be opened or read, is a directory,
// or holds more than `limit` bytes (then `text` is left empty).
bool ReadWholeFile(const std::filesystem::path& path, std::string& text, std::size_t limit = kMaxInputBytes);

// The lines of a text split at LF, each without its CR.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace qiro
