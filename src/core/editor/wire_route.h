// Drawing a wire with the pointer: the dragged line becomes one to three wires on the grid,
// and connection dots appear where the new wire makes a junction.
#pragma once

namespace qiro {

class Workspace;

// Adds the wire(s) for a drag from (px, py) to (qx, qy), schematic units.
void AddWireFromDrag(Workspace& ws, int px, int py, int qx, int qy);
// Adds dots where wire n forms a T with another wire or meets two other wire ends.
void AutoContacts(Workspace& ws, int n);

}  // namespace qiro
