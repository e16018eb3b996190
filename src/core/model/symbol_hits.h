// Which symbol or pin stands at a point of the drawing: shared by the editor's hit tests and
// the clicks on devices during a simulation.
#pragma once

namespace qiro {

class Circuit;

struct PinHit {
  int symbol = 0;  // 0 when none
  int pin = 0;
  int node = -1;
};

// The live, non-internal symbol whose box shrunk by 2 holds the point; the highest index wins; 0
// when none.
int SymbolAt(const Circuit& circuit, int x, int y);

// The pin within 1 unit in x and y of the point, of a live symbol whose box grown by 1 holds
// the point; the last match in table order wins.
PinHit PinAt(const Circuit& circuit, int x, int y);

}  // namespace qiro
