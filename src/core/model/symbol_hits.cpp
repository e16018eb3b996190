#include "model/symbol_hits.h"

#include <cstdlib>

#include "model/circuit.h"

namespace qiro {

int SymbolAt(const Circuit& circuit, int x, int y) {
  const auto& symbols = circuit.Symbols;
  for (int i = symbols.Count(); i >= 1; --i) {
    const TSymbol& s = symbols[i];
    if (s.State == kDeleted || s.Internal != 0) continue;
    if (x >= s.BBox.x1 + 2 && x <= s.BBox.x2 - 2 && y >= s.BBox.y1 + 2 && y <= s.BBox.y2 - 2) return i;
  }
  return 0;
}

PinHit PinAt(const Circuit& circuit, int x, int y) {
  PinHit hit;
  const auto& symbols = circuit.Symbols;
  for (int i = 1; i <= symbols.Count(); ++i) {
    const TSymbol& s = symbols[i];
    if (s.State == kDeleted) continue;
    if (x < s.BBox.x1 - 1 || x > s.BBox.x2 + 1 || y < s.BBox.y1 - 1 || y > s.BBox.y2 + 1) continue;
    for (int k = 1; k <= s.PinCount; ++k) {
      const TPin& p = s.Pin(k);
      if (std::abs(x - p.X) <= 1 && std::abs(y - p.Y) <= 1) hit = PinHit{i, k, p.Node};
    }
  }
  return hit;
}

}  // namespace qiro
