// Editing operations on the circuit tables behind the pointer actions: dots, labels, moving
// symbols, wire ends and labels, rotating and flipping an area, undo and hiding a symbol's
// texts. Positions are schematic units unless a name says pixels.
#pragma once

#include <functional>
#include <string_view>

#include "model/records.h"

namespace qiro {

class Workspace;

// Moves every stored point of a symbol (pins, inner lines, title, device rectangle, box)
// through f; the rectangles are normalised afterwards.
void MapSymbol(TSymbol& s, const std::function<void(int& x, int& y)>& f);
void ShiftSymbol(TSymbol& s, int dx, int dy);

// Ends an edit: the schematic is modified, and a pending error code is shown, then cleared.
void FinishEdit(Workspace& ws);

// A connection dot at the point, on the grid when the grid shown is 5 units or more.
void AddContactAt(Workspace& ws, int x, int y);
// Rewrites the label under the pixel (px, py), or adds one there.
void AddOrEditLabel(Workspace& ws, int px, int py, std::string_view text);
// Moves symbol i by the grid offset between two points; wires ending on its pins follow. With
// "Keep wires connected when moving" on they bend into an L where they must, and a move that
// would still break a connection is refused with a status text; with it off an end follows
// only while its wire stays straight (a wire between two of its pins moves whole).
void MoveSymbol(Workspace& ws, int i, int fromX, int fromY, int toX, int toY);
// Moves one end of wire i (part 1 or 2) or the whole wire (any other part) by the grid
// offset, then tidies the wires and adds the dots it needs.
void MoveWireEnd(Workspace& ws, int i, int part, int fromX, int fromY, int toX, int toY);
// Moves label i by the exact offset.
void MoveLabel(Workspace& ws, int i, int fromX, int fromY, int toX, int toY);

// Transform the wires and dots inside the band and the symbols inside it (or the one symbol
// that holds it) about the band's centre on the grid.
void RotateRight(Workspace& ws, int x1, int y1, int x2, int y2);
void RotateLeft(Workspace& ws, int x1, int y1, int x2, int y2);
void FlipArea(Workspace& ws, int x1, int y1, int x2, int y2);

// Brings back everything cut since the last compaction.
void UndoCut(Workspace& ws);
// Hides every text of the symbol under the point; false when there is none.
bool HideSymbolTexts(Workspace& ws, int x, int y);

}  // namespace qiro
