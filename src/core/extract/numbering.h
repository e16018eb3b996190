// Node numbering of the drawing: supplies first, then one node per still unnumbered pin,
// flooded through wires, dots and touching pins; device pins then name their nodes.
#pragma once

#include <set>
#include <string>

namespace qiro {

class Circuit;
class Workspace;

// The pin names that devices give their nodes.
std::set<std::string> DeviceNodeNames(const Circuit& c);
// The next generated node name, "w" + the raised counter, skipping taken names: a device pin
// named like a generated node must not make two nodes share one name.
std::string NextGeneratedName(int& counter, const std::set<std::string>& taken);

enum class NumberingScan {
  Indexed,  // finds candidates through a spatial index (the normal way)
  Literal,  // scans whole tables for every test (reference for the indexed way)
};

// Numbers every pin, wire and crossing dot. Sets ws.extraction.NumberingError (4 when the node
// table fills up). Both scans give identical nodes, names, drivers and wire end flags.
void NumberNodes(Workspace& ws, NumberingScan scan);

}  // namespace qiro
