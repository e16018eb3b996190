// Program memory as Intel HEX text.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace qiro {

// Data records of 16 bytes from address 0, CR LF line ends, then the end-of-file record.
// Trailing zero bytes past the last non-zero byte are left out (an empty program gives
// only the end record).
std::string FormatIntelHex(std::span<const std::uint8_t> memory);

}  // namespace qiro
