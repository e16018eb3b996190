// The faces of the simulation's devices drawn over their rectangles: lights and buttons by
// level, the sine source's bar, the keyboard's key, hexadecimal digits, the 8-bit display in
// its four formats and the seven-segment display.
#pragma once

#include "editor/canvas.h"

namespace qiro {

class Workspace;

// Segments a..g as bits 0..6 of a mask.
enum Segment { kSegA = 1, kSegB = 2, kSegC = 4, kSegD = 8, kSegE = 16, kSegF = 32, kSegG = 64 };

// Draws the segments of a mask in one digit box, each a filled rectangle around its line
// widened by m; with minus, a bar at mid height left of the digit's left column.
void DrawSegments(Canvas& canvas, const PixelRect& box, int segments, int m, bool minus, Colour colour);

// Draws the face of a device symbol in its current state; other symbols draw nothing.
// Returns false when nothing was drawn (not a device, or off the drawing area).
bool DrawDeviceFace(Workspace& ws, Canvas& canvas, int symbol);

// The microcontroller's three debug lines (accumulator, address, opcode) over a cleared box
// at its top-left corner; nothing when the symbol is off the drawing area.
bool DrawMcuState(Workspace& ws, Canvas& canvas, int symbol);

}  // namespace qiro
