// What the output devices show, as data the renderer draws: the four digit positions of the
// 8-bit display in its four formats, the hexadecimal digit, the seven segments.
#pragma once

#include <array>
#include <string>

namespace qiro {

inline constexpr int kBlankDigit = -1;

// Display formats (bits 6-7 of a symbol's Vis field).
enum DisplayFormat { kFormatHex = 0, kFormatUnsigned = 1, kFormatSigned = 2, kFormatFixedPoint = 3 };

struct DisplayFace {
  std::array<int, 4> digits{kBlankDigit, kBlankDigit, kBlankDigit, kBlankDigit};  // 0..15 or blank
  bool minus = false;
  bool operator==(const DisplayFace&) const = default;
};

// The four digit positions of an 8-bit display showing v (0..255, bit 7 = pin 1) in a format.
DisplayFace FormatDisplay(int v, int format);

// The display format index held in bits 6-7 of a Vis field.
inline int DisplayFormatOf(int vis) {
  return (vis >> 6) & 3;
}

// The glyph of a digit position as text: 0-9, A, b, c, d, E, F; a blank for kBlankDigit.
char DigitGlyph(int digit);
// A display face as one would read it: "81" (hex), "129", "-127", "-0.992" (fixed point).
std::string FaceText(const DisplayFace& face, int format);

// Segments a..g (bits 0..6) lit for a hexadecimal digit glyph (0-9, A, b, c, d, E, F); 0 for blank.
int SegmentsOfDigit(int digit);

}  // namespace qiro
