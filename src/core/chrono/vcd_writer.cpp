// VCD output. Times are simulation steps times TimeUnit; the timescale is the coarsest of
// 1 ns, 1 ps and 1 fs in which every step falls on a whole number. Identifiers are the usual
// short codes built from the printable characters; names lose their blanks (VCD names are words).
#include "chrono/vcd_writer.h"

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "model/safe_write.h"

namespace qiro {

namespace {

std::string IdCode(int index) {
  std::string id;
  do {
    id += static_cast<char>('!' + index % 94);
    index /= 94;
  } while (index > 0);
  return id;
}

// A name as one word: a blank before ")" goes, every other blank becomes "_".
std::string VcdName(const std::string& name) {
  std::string out;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (c <= ' ' || c >= 127) {
      if (i + 1 < name.size() && name[i + 1] == ')') continue;
      out += '_';
    } else {
      out += name[i];
    }
  }
  return out.empty() ? std::string("unnamed") : out;
}

struct Timescale {
  const char* text;
  double perNs;
};

Timescale ChooseTimescale(double timeUnit) {
  static constexpr Timescale kScales[] = {{"1ns", 1}, {"1ps", 1e3}, {"1fs", 1e6}};
  for (const Timescale& s : kScales) {
    const double ticks = timeUnit * s.perNs;
    if (std::abs(ticks - std::round(ticks)) < 1e-6) return s;
  }
  return kScales[2];
}

long long TimeOf(int step, double timeUnit, const Timescale& scale) {
  return std::llround(step * timeUnit * scale.perNs);
}

void Header(std::ostream& out, const Timescale& scale) {
  out << "$version Qiro $end\n$timescale " << scale.text << " $end\n$scope module qiro $end\n";
}

char BitChar(std::uint8_t sample) {
  return sample == 1 ? '1' : sample == 0 ? '0' : 'x';
}

void WriteBus(std::ostream& out, std::uint8_t v, const std::string& id) {
  out << 'b';
  for (int b = 7; b >= 0; --b) out << (((v >> b) & 1) ? '1' : '0');
  out << ' ' << id << '\n';
}

char NodeChar(std::uint8_t valueCode) {
  return valueCode == kLogic1 ? '1' : valueCode == kLogic0 ? '0' : 'x';
}

}  // namespace

void WriteChronoVcd(std::ostream& out, const ChronoStore& store, double timeUnit) {
  const Timescale scale = ChooseTimescale(timeUnit);
  Header(out, scale);
  const int traces = store.TraceCount();
  for (int j = 1; j <= traces; ++j) {
    const ChronoTrace& t = store.Trace(j);
    out << "$var wire " << (t.isBus ? 8 : 1) << ' ' << IdCode(j) << ' ' << VcdName(t.name)
        << (t.isBus ? " [7:0]" : "") << " $end\n";
  }
  out << "$upscope $end\n$enddefinitions $end\n";
  auto value = [&](int j, int k) {
    if (store.Trace(j).isBus)
      WriteBus(out, store.Sample(j, k), IdCode(j));
    else
      out << BitChar(store.Sample(j, k)) << IdCode(j) << '\n';
  };
  // A time point where no trace changed gets no timestamp: the file holds changes only.
  for (int k = 1; k <= store.SampleCount(); ++k) {
    bool stamped = false;
    for (int j = 1; j <= traces; ++j) {
      if (k > 1 && store.Sample(j, k) == store.Sample(j, k - 1)) continue;
      if (!stamped) {
        out << '#' << TimeOf(store.SampleTime(k), timeUnit, scale) << '\n';
        if (k == 1) out << "$dumpvars\n";
        stamped = true;
      }
      value(j, k);
    }
    if (k == 1 && stamped) out << "$end\n";
  }
}

void WriteNodeVcd(std::ostream& out, const NodeTable& nodes, const NodeChangeLog& log, double timeUnit) {
  const Timescale scale = ChooseTimescale(timeUnit);
  Header(out, scale);
  const int count = nodes.Count();
  for (int n = 0; n <= count; ++n)
    out << "$var wire 1 " << IdCode(n) << ' ' << VcdName(nodes.NodeName(n)) << " $end\n";
  out << "$upscope $end\n$enddefinitions $end\n#0\n$dumpvars\n";
  for (int n = 0; n <= count; ++n) {
    const std::uint8_t kind = nodes[n].DriveKind;
    out << (kind == kDriveHigh ? '1' : kind == kDriveLow ? '0' : 'x') << IdCode(n) << '\n';
  }
  out << "$end\n";
  long long lastTime = 0;
  for (const NodeChangeLog::Change& c : log.Changes()) {
    if (c.node < 0 || c.node > count) continue;
    const long long t = TimeOf(c.step, timeUnit, scale);
    if (t != lastTime) {
      out << '#' << t << '\n';
      lastTime = t;
    }
    out << NodeChar(c.value) << IdCode(c.node) << '\n';
  }
}

bool WriteChronoVcdFile(const std::filesystem::path& path, const ChronoStore& store, double timeUnit,
                        std::string* error) {
  return SafeWriteStream(
      path, [&](std::ostream& out) { WriteChronoVcd(out, store, timeUnit); }, error);
}

bool WriteNodeVcdFile(const std::filesystem::path& path, const NodeTable& nodes, const NodeChangeLog& log,
                      double timeUnit, std::string* error) {
  return SafeWriteStream(
      path, [&](std::ostream& out) { WriteNodeVcd(out, nodes, log, timeUnit); }, error);
}

}  // namespace qiro
