// Rows end in CR LF as RFC 4180 has it; numbers use the C locale's point whatever the user's
// locale, so every spreadsheet and csv reader takes the file as it is.
#include "chrono/csv_writer.h"

#include <ostream>

#include "chrono/chrono_view.h"
#include "model/safe_write.h"

namespace qiro {

namespace {

// Six decimals at most, without trailing zeros: 12, 0.5, 2.333333.
std::string Number(double v) {
  std::string text = FormatReal(v, 0, 6);
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text == "-0" ? "0" : text;
}

std::string SampleText(const ChronoTrace& trace, std::uint8_t v) {
  if (trace.isBus) return std::to_string(v);
  return v == 1 ? "1" : v == 0 ? "0" : "x";
}

}  // namespace

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

void WriteChronoCsv(std::ostream& out, const ChronoStore& store, const CurrentStore& current, double timeUnit,
                    const std::optional<std::vector<int>>& columns) {
  std::vector<int> traces;
  if (columns)
    traces = *columns;
  else
    for (int j = 1; j <= store.TraceCount(); ++j) traces.push_back(j);
  out << "time (ns)";
  for (int j : traces) out << ',' << CsvField(store.Trace(j).name);
  out << ",supply current (mA)\r\n";
  for (int k = 1; k <= store.SampleCount(); ++k) {
    const int step = store.SampleTime(k);
    out << Number(step * timeUnit);
    for (int j : traces) out << ',' << SampleText(store.Trace(j), store.Sample(j, k));
    out << ',' << Number(CurrentAtStep(current, step)) << "\r\n";
  }
}

bool WriteChronoCsvFile(const std::filesystem::path& path, const ChronoStore& store,
                        const CurrentStore& current, double timeUnit,
                        const std::optional<std::vector<int>>& columns, std::string* error) {
  return SafeWriteStream(
      path, [&](std::ostream& out) { WriteChronoCsv(out, store, current, timeUnit, columns); }, error);
}

}  // namespace qiro
