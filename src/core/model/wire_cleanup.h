// Wire tidying run after edits and before a schematic is written: merging collinear wires
// that touch end to end, and the smart line pass that splits a wire where another ends on it.
#pragma once

namespace qiro {

class Workspace;

// Merges every pair of collinear wires that share an end with no dot there, and trims a
// horizontal wire back where it overlaps another. Returns the number of merges.
int CleanWires(Workspace& ws);
// One pass: cuts every straight wire at each point where an end of another wire lies
// strictly inside it. Returns the number of cuts.
int SplitAtJunctions(Workspace& ws);
// When "Smart line editing" is on: splitting passes (at most 9) until nothing is cut.
void SmartLinePass(Workspace& ws);

}  // namespace qiro
