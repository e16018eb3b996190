// Cut, copy, paste and move of an area. The clipboard keeps its own copies of the entries
// taken, outside the circuit tables, until the next cut or copy: saving, extraction and
// compaction leave it alone. A cut deletes the entries from the drawing, a copy leaves the
// drawing as it is, and a paste adds live copies where the clipboard stands, so each is an
// ordinary change of the tables.
#pragma once

#include <vector>

#include "model/records.h"

namespace qiro {

class Workspace;
class Canvas;

struct Clipboard {
  std::vector<TLine> wires;
  std::vector<TTextLabel> labels;
  std::vector<TContact> contacts;
  std::vector<TSymbol> symbols;
  int originX = 0, originY = 0;  // upper-left corner of the entries where they were taken
  bool movePending = false;      // taken by Move and not yet put down
  bool Empty() const { return wires.empty() && labels.empty() && contacts.empty() && symbols.empty(); }
};

// Editing state kept between pointer actions.
struct EditState {
  Clipboard clipboard;
  int refX = 0, refY = 0;                   // where the clipboard's upper-left corner now stands
  int outlineWidth = 0, outlineHeight = 0;  // pixel size of the last cut or copy band
  int lastX = 0, lastY = 0;                 // end of the last wire drawn
};

// Takes the wires, symbols, dots and labels inside the band (schematic units) into the
// clipboard and deletes them from the drawing, after removing earlier deleted entries for
// good. A click on a wire or inside a symbol takes that wire or symbol. Returns the number
// of entries taken; with none the clipboard keeps what it had.
int CutArea(Workspace& ws, int x1, int y1, int x2, int y2);
// The same as a move: the entries will be put down again by the next paste.
int CutAreaForMove(Workspace& ws, int x1, int y1, int x2, int y2);
// Takes the band's contents into the clipboard and leaves the drawing unchanged.
int CopyArea(Workspace& ws, int x1, int y1, int x2, int y2);
// Shifts the clipboard so its upper-left corner follows (x, y), on the grid when the grid
// shown is fine enough.
void MoveClipboard(Workspace& ws, int x, int y);
// Adds a live copy of every clipboard entry where it stands. A device keeps its names when
// no live device has them (it was cut or moved); otherwise it is named like a new one from
// the palette.
void PasteClipboard(Workspace& ws);
// Escape during a move: puts the entries back where they were taken. False when no move
// was pending.
bool CancelMove(Workspace& ws);
// Draws the clipboard where it stands (the outline that follows the pointer).
void DrawClipboard(Workspace& ws, Canvas& canvas);

}  // namespace qiro
