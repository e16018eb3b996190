// Cut, copy, paste and move of an area. The clipboard is every wire, label, dot and symbol
// marked deleted since the last compaction: a cut only marks, paste duplicates the marked
// entries where they stand, and moving the clipboard shifts the marked entries themselves.
#pragma once

namespace qiro {

class Workspace;
class Canvas;

// Editing state kept between pointer actions.
struct EditState {
  int refX = 0, refY = 0;                   // where the clipboard's upper-left corner now stands
  int outlineWidth = 0, outlineHeight = 0;  // pixel size of the last cut band
  int lastX = 0, lastY = 0;                 // end of the last wire drawn
};

// Marks the wires, symbols, dots and labels inside the band (schematic units) as the new
// clipboard, after removing the previous one for good. A click on a wire or inside a symbol
// takes that wire or symbol. Returns the number of entries taken.
int CutArea(Workspace& ws, int x1, int y1, int x2, int y2);
// Cut, then paste in place: the originals become the clipboard, live copies stay.
int CopyArea(Workspace& ws, int x1, int y1, int x2, int y2);
// Shifts the clipboard so its upper-left corner follows (x, y), on the grid when the grid
// shown is fine enough.
void MoveClipboard(Workspace& ws, int x, int y);
// Adds a live copy of every clipboard entry where it stands. Devices get the letter c.
void PasteClipboard(Workspace& ws);
// Draws the clipboard entries as if they were live (the outline that follows the pointer).
void DrawClipboard(Workspace& ws, Canvas& canvas);

}  // namespace qiro
