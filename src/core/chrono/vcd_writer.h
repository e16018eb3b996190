// Waveform files in the standard Value Change Dump format: the recorded traces of the timing
// diagrams, or every node's value changes of a run, named after the node table.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

#include "chrono/chrono_store.h"
#include "chrono/node_log.h"
#include "extract/node_table.h"

namespace qiro {

// Every registered trace: single-bit traces as wires (x for unknown), bus traces as 8-bit vectors.
void WriteChronoVcd(std::ostream& out, const ChronoStore& store, double timeUnit);
// Every node 0..count: supplies at their level, the others x until their first logged change.
void WriteNodeVcd(std::ostream& out, const NodeTable& nodes, const NodeChangeLog& log, double timeUnit);

// The same into a file; false when the file cannot be written, with the message in `error`.
bool WriteChronoVcdFile(const std::filesystem::path& path, const ChronoStore& store, double timeUnit,
                        std::string* error = nullptr);
bool WriteNodeVcdFile(const std::filesystem::path& path, const NodeTable& nodes, const NodeChangeLog& log,
                      double timeUnit, std::string* error = nullptr);

}  // namespace qiro
