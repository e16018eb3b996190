// The portable netlist with delays and its testbench, run by Icarus Verilog, against
// qiro-cli simulate on the examples: every node must change to the same values at the same
// times (within one time unit). Button k follows its written stimulus, a clock of 10 k ns.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>

#include "core/test_support.h"

namespace qiro {
namespace {

using test::ReadFile;
using test::RunCli;
using test::SourceRoot;
using test::TempDir;

using Changes = std::vector<std::pair<double, char>>;  // time in ns, value (z read as x)

// Every 1-bit signal's value changes, same-time changes collapsed to the last one.
std::map<std::string, Changes> ReadVcd(const std::string& text) {
  std::istringstream in(text);
  std::map<std::string, std::string> names;  // id -> name
  std::map<std::string, Changes> out;
  std::string word;
  double scale = 1, now = 0;
  while (in >> word) {
    if (word == "$timescale") {
      in >> word;
      scale = word.find("ps") != std::string::npos ? 1e-3 : word.find("fs") != std::string::npos ? 1e-6 : 1;
    } else if (word == "$var") {
      std::string type, width, id, name;
      in >> type >> width >> id >> name;
      names[id] = name;
    } else if (word[0] == '#') {
      now = std::stod(word.substr(1)) * scale;
    } else if (word.size() >= 2 && std::string("01xzXZ").find(word[0]) != std::string::npos &&
               names.count(word.substr(1))) {
      const char v = word[0] == '1' ? '1' : word[0] == '0' ? '0' : 'x';
      Changes& c = out[names[word.substr(1)]];
      if (!c.empty() && c.back().first == now) c.pop_back();
      if (c.empty() || c.back().second != v) c.push_back({now, v});
    }
  }
  return out;
}

TEST(PortableVcd, ExamplesChangeAsInQiro) {
  if (std::system("iverilog -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "iverilog is not installed";
  constexpr int kSteps = 400;
  for (const std::string example : {"half_adder", "counter"}) {
    SCOPED_TRACE(example);
    TempDir dir;
    const std::string sch = "'" + (SourceRoot() / "examples" / (example + ".sch")).string() + "'";
    const auto net =
        RunCli("verilog " + sch + " --portable --delays --testbench -o '" + (dir / "net.v").string() + "'");
    ASSERT_EQ(net.status, 0) << net.out;
    const std::string run = "cd '" + dir.path().string() + "' && iverilog -o sim -P" + example +
                            "_tb.STEPS=" + std::to_string(kSteps) +
                            " net.v >log 2>&1 && vvp -n sim >>log 2>&1";
    ASSERT_EQ(std::system(run.c_str()), 0) << ReadFile(dir / "log");

    // Button k: 0 for 10 k steps from each multiple of 20 k steps, then 1 (as its clock).
    std::string toggles;
    for (int k = 1; k <= (example == "counter" ? 1 : 2); ++k) {
      int level = 0;
      for (int s = 3; s <= kSteps; ++s) {
        const int next = s % (20 * k) == 0 ? 0 : s % (20 * k) == 10 * k ? 1 : level;
        if (next != level) toggles += " --toggle button" + std::to_string(k) + "@" + std::to_string(s);
        level = next;
      }
    }
    const auto sim = RunCli("simulate " + sch + " --until " + std::to_string(kSteps) + toggles +
                            " --vcd-nodes '" + (dir / "qiro.vcd").string() + "'");
    ASSERT_EQ(sim.status, 0) << sim.out;

    const auto qiro = ReadVcd(ReadFile(dir / "qiro.vcd"));
    const auto icarus = ReadVcd(ReadFile(dir / (example + ".vcd")));
    ASSERT_GE(qiro.size(), 4u);
    for (const auto& [name, changes] : qiro) {
      if (name == "vdd" || name == "vss") continue;
      ASSERT_TRUE(icarus.count(name)) << name << " is not in the netlist's VCD";
      Changes theirs;
      for (const auto& c : icarus.at(name))
        if (c.first <= kSteps) theirs.push_back(c);
      ASSERT_EQ(changes.size(), theirs.size()) << name;
      for (std::size_t i = 0; i < changes.size(); ++i) {
        EXPECT_NEAR(changes[i].first, theirs[i].first, 1.0) << name << " change " << i;
        EXPECT_EQ(changes[i].second, theirs[i].second) << name << " change " << i;
      }
    }
  }
}

}  // namespace
}  // namespace qiro
