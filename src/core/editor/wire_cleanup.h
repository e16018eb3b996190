// Wire clean-up run before a schematic is written, and the optional smart line pass.
#pragma once

namespace qiro {

class Workspace;

// Merges and tidies wire segments.
void CleanWires(Workspace& ws);
// Straightens wires when the "Smart line editing" property is on.
void SmartLinePass(Workspace& ws);

}  // namespace qiro
