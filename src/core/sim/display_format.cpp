// Digit positions of the 8-bit display. Position 1 is the leftmost. Decimal formats blank
// leading zeros; the fixed-point format reads the byte as a two's-complement fraction
// (pin 1 worth -1, then 1/2 ... 1/128) and shows three decimals of its magnitude.
#include "sim/display_format.h"

#include <cmath>
#include <cstdlib>

namespace qiro {

namespace {

// Hundreds, tens and units of n (0..999) in positions 2..4, leading zeros blank.
void PutDecimal(DisplayFace& face, int n) {
  face.digits[1] = (n / 100) % 10;
  face.digits[2] = (n / 10) % 10;
  face.digits[3] = n % 10;
  if (face.digits[1] == 0) {
    face.digits[1] = kBlankDigit;
    if (face.digits[2] == 0) face.digits[2] = kBlankDigit;
  }
}

}  // namespace

DisplayFace FormatDisplay(int v, int format) {
  v &= 0xFF;
  DisplayFace face;
  const bool negative = (v & 0x80) != 0;
  switch (format & 3) {
    case kFormatHex:
      face.digits[0] = v >> 4;
      face.digits[1] = v & 0xF;
      break;
    case kFormatUnsigned:
      PutDecimal(face, v);
      break;
    case kFormatSigned:
      face.minus = negative;
      PutDecimal(face, negative ? 256 - v : v);
      break;
    case kFormatFixedPoint: {
      const int signedValue = negative ? v - 256 : v;
      const int magnitude = static_cast<int>(std::lround(std::abs(signedValue) * 1000.0 / 128.0));
      face.minus = negative;
      face.digits[0] = magnitude >= 1000 ? 1 : kBlankDigit;
      face.digits[1] = (magnitude / 100) % 10;
      face.digits[2] = (magnitude / 10) % 10;
      face.digits[3] = magnitude % 10;
      break;
    }
  }
  return face;
}

char DigitGlyph(int digit) {
  return (digit >= 0 && digit <= 15) ? "0123456789AbcdEF"[digit] : ' ';
}

std::string FaceText(const DisplayFace& face, int format) {
  std::string text = face.minus ? "-" : "";
  if ((format & 3) == kFormatFixedPoint) {
    text += face.digits[0] == kBlankDigit ? '0' : DigitGlyph(face.digits[0]);
    text += '.';
    for (int i = 1; i < 4; ++i) text += DigitGlyph(face.digits[i]);
    return text;
  }
  for (int d : face.digits)
    if (d != kBlankDigit) text += DigitGlyph(d);
  return text;
}

int SegmentsOfDigit(int digit) {
  //                                  0     1     2     3     4     5     6     7
  static constexpr int kSegments[] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07,
                                      // 8  9     A     b     c     d     E     F
                                      0x7F, 0x6F, 0x77, 0x7C, 0x58, 0x5E, 0x79, 0x71};
  return (digit >= 0 && digit <= 15) ? kSegments[digit] : 0;
}

}  // namespace qiro
