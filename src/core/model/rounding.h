// Rounding shared by the delay conversion and the slanted-wire test.
#pragma once

#include <cmath>

namespace qiro {

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
inline double RoundHalfEven(double v) {
  const double f = std::floor(v);
  const double d = v - f;
  if (d > 0.5) return f + 1;
  if (d < 0.5) return f;
  return std::fmod(f, 2.0) == 0 ? f : f + 1;
}

}  // namespace qiro
