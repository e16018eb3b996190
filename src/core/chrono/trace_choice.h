// Which traces the timing diagram records and shows, as the user chose them: nodes added by
// name besides the traced devices, traces left out, and the order of the rows. The choice
// outlives the runs; names that do not exist in a run are passed over.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qiro {

class ChronoStore;
class NodeTable;

struct TraceChoice {
  std::vector<std::string> nodes;    // node names recorded besides the devices, in order
  std::vector<std::string> removed;  // trace names left out
  std::vector<std::string> order;    // trace names in the order the user put the rows in

  bool IsRemoved(std::string_view name) const;
  // Brings a trace back: a node is recorded from the next run on, a device trace left out is
  // recorded and shown again.
  void Add(const std::string& name, bool isNode);
  // Leaves a trace out: it is no longer shown, and no longer recorded from the next run on.
  void Remove(const std::string& name);
};

// The traces of the rows: those named in the user's order first, then the others in their
// registration order, without the ones left out.
std::vector<int> ChosenRows(const ChronoStore& store, const TraceChoice& choice);
// Moves the row at index `from` to index `to` (0-based) and keeps that order in the choice.
void MoveRow(TraceChoice& choice, const ChronoStore& store, int from, int to);

// The named nodes of the circuit, sorted, without duplicates.
std::vector<std::string> NodeNames(const NodeTable& nodes);
// The names holding the filter text, ignoring case.
std::vector<std::string> FilterNames(const std::vector<std::string>& names, std::string_view filter);

}  // namespace qiro
