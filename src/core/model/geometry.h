// Schematic coordinates: signed schematic units, y downwards, a 5-unit editing grid.
#pragma once

#include <cstdint>

namespace qiro {

inline constexpr int kGrid = 5;

// Rounds to the nearest multiple of the grid; halves go away from zero (12 -> 10, 13 -> 15, -12 -> -10).
inline int Snap(int v) {
  const int r = v % kGrid;
  if (r == 0) return v;
  if (v > 0) return r * 2 >= kGrid ? v - r + kGrid : v - r;
  return -r * 2 >= kGrid ? v - r - kGrid : v - r;
}

struct Rect {
  int x1 = 32000, y1 = 32000, x2 = -32000, y2 = -32000;  // empty: the first point added sets it

  static Rect Empty() { return Rect{}; }
  bool IsEmpty() const { return x1 > x2 || y1 > y2; }
  void Add(int x, int y) {
    if (x < x1) x1 = x;
    if (y < y1) y1 = y;
    if (x > x2) x2 = x;
    if (y > y2) y2 = y;
  }
  void Add(const Rect& r) {
    Add(r.x1, r.y1);
    Add(r.x2, r.y2);
  }
  bool operator==(const Rect&) const = default;
};

}  // namespace qiro
