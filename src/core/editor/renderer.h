// Draws the schematic on a canvas: grid, labels, connection dots, symbols with their pins and
// texts, wires, the rubber bands of editing and the value overlays of a simulation.
// Every function reads the circuit, the nodes and the view of the workspace and draws through
// the canvas; none changes the circuit.
#pragma once

#include "editor/canvas.h"
#include "model/records.h"

namespace qiro {

class Workspace;
class View;

// Black on white: the print view or the monochrome flag.
bool IsMonochrome(const Workspace& ws);
// The window colour behind the drawing: black, or white in black-on-white rendering.
Colour BackgroundColour(const Workspace& ws);

// Colour of a light, button, digit or display from its colour letter (either case).
Colour LightColour(char letter);

// False when the rectangle lies wholly outside the drawing area; otherwise true with the
// rectangle clamped to the area.
bool ClipToDrawingArea(const View& view, PixelRect& r);

// Sets the view's grid step from the zoom and draws the grid dots and the origin marker.
void DrawGrid(Workspace& ws, Canvas& canvas);

// Single items, by table index; deleted or invisible items draw nothing.
void DrawText(Workspace& ws, Canvas& canvas, int label);
void DrawContact(Workspace& ws, Canvas& canvas, int contact);
void DrawLine(Workspace& ws, Canvas& canvas, int wire);
// Removes a wire from a black background and says so in the status bar.
void EraseLine(Workspace& ws, Canvas& canvas, int wire);
void DrawSymbol(Workspace& ws, Canvas& canvas, int symbol);
void DrawPropertyText(Workspace& ws, Canvas& canvas, int symbol);
// The same for records that are not in the tables (the clipboard following the pointer).
void DrawText(Workspace& ws, Canvas& canvas, const TTextLabel& label);
void DrawContact(Workspace& ws, Canvas& canvas, const TContact& contact);
void DrawLine(Workspace& ws, Canvas& canvas, const TLine& wire);
void DrawSymbol(Workspace& ws, Canvas& canvas, const TSymbol& symbol);
void DrawPropertyText(Workspace& ws, Canvas& canvas, const TSymbol& symbol);

// Background, grid, then labels, contacts, symbols and wires in table order.
void RedrawAll(Workspace& ws, Canvas& canvas);

// Rubber bands drawn twice to vanish: a dotted rectangle and a dotted line (pixel corners).
void XorRectangle(Canvas& canvas, int x1, int y1, int x2, int y2);
void XorLine(Canvas& canvas, int x1, int y1, int x2, int y2);
// The rectangle of a symbol being dragged, moved by (dx, dy) schematic units.
void XorSymbolOutline(Workspace& ws, Canvas& canvas, int symbol, int dx, int dy);
// A whole wire being dragged, moved by (dx, dy) schematic units.
void XorWireOutline(Workspace& ws, Canvas& canvas, int wire, int dx, int dy);

// Simulation overlays: the value of every pin's node as text, and as a coloured square.
void DrawPinValues(Workspace& ws, Canvas& canvas);
void DrawWireStates(Workspace& ws, Canvas& canvas);

}  // namespace qiro
