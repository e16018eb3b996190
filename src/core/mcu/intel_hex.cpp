// Intel HEX: each record is ":" + byte count + 16-bit address + type + data + checksum,
// all as upper-case hexadecimal; the checksum makes the record's bytes sum to 0 mod 256.
#include "mcu/intel_hex.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace qiro {

namespace {

std::string Record(unsigned address, unsigned type, const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(data.size()),
                                     static_cast<std::uint8_t>(address >> 8),
                                     static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(type)};
  bytes.insert(bytes.end(), data.begin(), data.end());
  unsigned sum = 0;
  std::string line = ":";
  char buf[4];
  for (std::uint8_t b : bytes) {
    sum += b;
    std::snprintf(buf, sizeof buf, "%02X", b);
    line += buf;
  }
  std::snprintf(buf, sizeof buf, "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
  return line + buf + "\r\n";
}

}  // namespace

std::string FormatIntelHex(std::span<const std::uint8_t> memory) {
  std::size_t used = memory.size();
  while (used > 0 && memory[used - 1] == 0) --used;
  std::string text;
  for (std::size_t at = 0; at < used; at += 16) {
    std::size_t end = std::min(used, at + 16);
    text += Record(static_cast<unsigned>(at), 0,
                   std::vector<std::uint8_t>(memory.begin() + at, memory.begin() + end));
  }
  return text + Record(0, 1, {});
}

}  // namespace qiro
