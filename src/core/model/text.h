// Counted strings: std::string cut to a fixed capacity, and small text helpers
// shared by the file readers and writers.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace qiro {

inline constexpr std::size_t kTextCapacity = 128;     // names, titles, labels, Verilog and asm lines
inline constexpr std::size_t kFileNameCapacity = 80;  // file names used by the file operations

inline std::string Counted(std::string_view text, std::size_t capacity = kTextCapacity) {
  return std::string(text.substr(0, capacity));
}

// Fixed notation with a number of decimals and a minimum width, always with the C locale's point.
inline std::string FormatFixed(double value, int decimals, int width = 0) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, value);
  return buf;
}

inline bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace qiro
