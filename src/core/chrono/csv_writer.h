// The recorded traces as comma-separated values, for spreadsheets and scripts: one row per
// time point with its time in nanoseconds, one column per trace (0, 1 or x, or a bus value as
// a decimal number) and the supply current in mA at that time.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "chrono/chrono_store.h"
#include "chrono/current_store.h"

namespace qiro {

// columns: the traces in their column order; none means every registered trace in order.
void WriteChronoCsv(std::ostream& out, const ChronoStore& store, const CurrentStore& current, double timeUnit,
                    const std::optional<std::vector<int>>& columns = {});
// The same into a file, written whole or not at all; false when it cannot be written, with the
// message in `error`.
bool WriteChronoCsvFile(const std::filesystem::path& path, const ChronoStore& store,
                        const CurrentStore& current, double timeUnit,
                        const std::optional<std::vector<int>>& columns = {}, std::string* error = nullptr);

// A field as CSV wants it: quoted, with doubled quotes, when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text);

}  // namespace qiro
