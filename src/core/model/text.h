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

// A text as one line of a file: cut at its first line break, every other control character
// removed (a tab stays: assembly and Verilog lines use it as a blank). Every writer puts its
// texts through this, so no name, title or label can add lines of its own to a file.
inline std::string OneLine(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c == '\n' || c == '\r') break;
    if ((c < 0x20 && c != '\t') || c == 0x7F) continue;
    out += ch;
  }
  return out;
}

inline bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace qiro
