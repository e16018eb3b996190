// Simulation speed against Icarus Verilog on two circuits, each run headless for 100000 steps
// of 1 ns and, when iverilog and vvp are installed, as the same netlist in vvp in the same run:
// - chains: a clock (5 ns at 0, 5 ns at 1) driving 40 chains of 50 nand2 gates, each gate's
//   two inputs tied to the previous gate's output;
// - random logic at table capacity (random_logic.h).
// For each it prints both processor times, their ratio and the target ratio. Before timing,
// the fast engine is checked against the reference engine over the first steps (every node
// value after every step, the current entries, sums and traces). Then `qiro-cli simulate`
// runs the chains drawn as a schematic and its peak memory is printed.
//
//   sim_bench [--steps N] [--check N] [--reference] [--schematic FILE] [--benchmark_...]
//
// --reference also times the reference engine; --schematic only writes the chains' schematic. Google
// Benchmark then measures 10000 steps of the fast engine on each circuit.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

#include "chain_circuit.h"
#include "random_logic.h"
#include "sim/engine.h"
#include "sim/primitives.h"
#include "workspace.h"

namespace {

using namespace qiro;
using qiro::bench::Shape;
using Builder = std::function<void(Workspace&)>;

void WriteChainVerilog(std::ostream& v, const Shape& shape) {
  v << "`timescale 1ns/1ns\nmodule chains;\n  reg clk = 0;\n  always #5 clk = ~clk;\n";
  for (int c = 1; c <= shape.chains; ++c) {
    v << "  wire";
    for (int g = 1; g <= shape.length; ++g) v << (g > 1 ? ", " : " ") << "n" << c << "_" << g;
    v << ";\n";
    for (int g = 1; g <= shape.length; ++g) {
      const std::string in = g == 1 ? "clk" : "n" + std::to_string(c) + "_" + std::to_string(g - 1);
      v << "  nand #3 g" << c << "_" << g << " (n" << c << "_" << g << ", " << in << ", " << in << ");\n";
    }
  }
  v << "  initial #" << shape.steps << " $finish;\nendmodule\n";
}

// Processor seconds; the machine may be shared, so ratios are taken on processor time and the
// wall-clock time is shown beside it.
struct Timing {
  double wall = -1;
  double cpu = -1;
};

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double CpuSeconds(int who) {
  rusage u{};
  getrusage(who, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Time of a headless run of `steps` steps (negative when it did not start).
Timing TimeEngine(EngineKind kind, const Builder& build, int steps) {
  Workspace ws;
  ws.engine.Kind = kind;
  build(ws);
  const auto start = std::chrono::steady_clock::now();
  const double cpu = CpuSeconds(RUSAGE_SELF);
  if (!RunUntil(ws, steps)) return {};
  return {Seconds(start), CpuSeconds(RUSAGE_SELF) - cpu};
}

// Runs both engines side by side; an empty text when every node value after every step, the
// current entries, sum and maximum, and every trace sample are the same.
std::string CompareEngines(const Builder& build, int steps) {
  Workspace ref, fast;
  ref.engine.Kind = EngineKind::Reference;
  build(ref);
  build(fast);
  if (!RunUntil(ref, 2) || !RunUntil(fast, 2)) return "the run did not start";
  for (int step = 3; step <= steps; ++step) {
    RunUntil(ref, step);
    RunUntil(fast, step);
    const std::string at = " at step " + std::to_string(step);
    for (int n = 0; n <= ref.nodes.Count(); ++n)
      if (ref.nodes[n].Value != fast.nodes[n].Value || ref.nodes[n].PrevValue != fast.nodes[n].PrevValue)
        return "node " + std::to_string(n) + at;
    const CurrentStore &a = ref.current, &b = fast.current;
    if (a.CurIndex() != b.CurIndex() || a.SumCurrent() != b.SumCurrent() || a.MaxCurrent() != b.MaxCurrent())
      return "current sum" + at;
    if (step % 500 == 0 || step == steps)
      for (int k = 1; k <= a.CurIndex() + 20; ++k)
        if (a.CurTime(k) != b.CurTime(k) || a.CurValue(k) != b.CurValue(k)) return "current entry" + at;
  }
  if (ref.chrono.SampleCount() != fast.chrono.SampleCount()) return "trace samples";
  for (int k = 1; k <= ref.chrono.SampleCount(); ++k)
    for (int j = 1; j <= ref.chrono.TraceCount(); ++j)
      if (ref.chrono.Sample(j, k) != fast.chrono.Sample(j, k)) return "trace sample";
  return {};
}

bool HaveProgram(const char* name) {
  return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

std::filesystem::path ScratchDir() {
  const auto dir = std::filesystem::temp_directory_path() / ("qiro-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  return dir;
}

// Time vvp takes on the netlist (negative when it could not run).
Timing TimeIcarus(const std::function<void(std::ostream&)>& writeVerilog) {
  if (!HaveProgram("iverilog") || !HaveProgram("vvp")) return {};
  const auto dir = ScratchDir();
  {
    std::ofstream v(dir / "netlist.v");
    writeVerilog(v);
  }
  const std::string compile =
      "iverilog -o '" + (dir / "netlist.vvp").string() + "' '" + (dir / "netlist.v").string() + "'";
  Timing t;
  if (std::system(compile.c_str()) == 0) {
    const auto start = std::chrono::steady_clock::now();
    const double cpu = CpuSeconds(RUSAGE_CHILDREN);
    if (std::system(("vvp -n '" + (dir / "netlist.vvp").string() + "' >/dev/null").c_str()) == 0)
      t = {Seconds(start), CpuSeconds(RUSAGE_CHILDREN) - cpu};
  }
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  return t;
}

// One benchmark: the check against the reference, the times, the ratio and the target.
void Compare(const char* title, const Builder& build, int steps, int checkSteps, double target,
             bool reference, const std::function<void(std::ostream&)>& writeVerilog) {
  std::printf("== %s, %d steps of 1 ns\n", title, steps);
  if (checkSteps > 0) {
    const std::string diff = CompareEngines(build, checkSteps);
    std::printf("fast engine against the reference, first %d steps: %s\n", checkSteps,
                diff.empty() ? "identical" : ("DIFFERENT: " + diff).c_str());
  }
  const Timing fast = TimeEngine(EngineKind::Fast, build, steps);
  std::printf("qiro fast engine:      %.3f s (processor %.3f s)\n", fast.wall, fast.cpu);
  if (reference) {
    const Timing ref = TimeEngine(EngineKind::Reference, build, steps);
    std::printf("qiro reference engine: %.3f s (processor %.3f s)\n", ref.wall, ref.cpu);
  }
  const Timing icarus = TimeIcarus(writeVerilog);
  if (icarus.wall < 0) {
    std::printf("icarus verilog (vvp):  not available\n");
  } else {
    std::printf("icarus verilog (vvp):  %.3f s (processor %.3f s)\n", icarus.wall, icarus.cpu);
    if (fast.cpu > 0)
      std::printf("ratio vvp / qiro:      %.2f (processor time; target at least %.1f)\n",
                  icarus.cpu / fast.cpu, target);
  }
  std::fflush(stdout);
}

// Peak resident memory of `qiro-cli simulate` on the chains drawn as a schematic, as GNU time
// reports it (a child started from this process would count this process's pages too).
void MeasureCliMemory(const Shape& shape) {
#ifdef QIRO_CLI_PATH
  if (!HaveProgram("/usr/bin/time")) {
    std::printf("== qiro-cli simulate on the chains: /usr/bin/time not available\n");
    return;
  }
  const auto dir = ScratchDir();
  const std::string sch = (dir / "chains.sch").string(), report = (dir / "time.txt").string();
  if (!bench::WriteChainSchematic(sch, shape)) return;
  const auto start = std::chrono::steady_clock::now();
  const std::string command = "/usr/bin/time -f '%M %U %S' -o '" + report +
                              "' '" QIRO_CLI_PATH "' simulate '" + sch + "' --until " +
                              std::to_string(shape.steps) + " >/dev/null";
  const int status = std::system(command.c_str());
  const double wall = Seconds(start);
  double kilobytes = 0, user = 0, system = 0;
  std::ifstream in(report);
  if (status == 0 && in >> kilobytes >> user >> system)
    std::printf(
        "== qiro-cli simulate on the chains (%d steps): %.3f s (processor %.3f s), peak memory %.1f MB "
        "(target at most 32 MB)\n",
        shape.steps, wall, user + system, kilobytes / 1024);
  else
    std::printf("== qiro-cli simulate on the chains: failed\n");
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  std::fflush(stdout);
#else
  (void)shape;
#endif
}

// 10000 steps of the fast engine on a circuit built (untimed) by build.
void TimeTenThousandSteps(benchmark::State& state, const Builder& build) {
  for (auto _ : state) {
    state.PauseTiming();
    Workspace ws;
    build(ws);
    state.ResumeTiming();
    RunUntil(ws, 10000);
    benchmark::DoNotOptimize(ws.nodes[2].Value);
  }
}

void BM_FastEngine10kSteps(benchmark::State& state) {
  TimeTenThousandSteps(state, [](Workspace& ws) { bench::BuildChains(ws, Shape{}); });
}
BENCHMARK(BM_FastEngine10kSteps)->Unit(benchmark::kMillisecond);

void BM_FastEngineRandomLogic10kSteps(benchmark::State& state) {
  const bench::RandomLogic logic = bench::MakeRandomLogic();
  TimeTenThousandSteps(state, [&logic](Workspace& ws) { bench::BuildRandomLogic(ws, logic); });
}
BENCHMARK(BM_FastEngineRandomLogic10kSteps)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  Shape shape;
  int checkSteps = 5000;
  bool reference = false;
  std::vector<char*> rest{argv[0]};
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--steps" && i + 1 < argc)
      shape.steps = std::atoi(argv[++i]);
    else if (a == "--check" && i + 1 < argc)
      checkSteps = std::atoi(argv[++i]);
    else if (a == "--reference")
      reference = true;
    else if (a == "--schematic" && i + 1 < argc)
      return bench::WriteChainSchematic(argv[++i], shape) ? 0 : 1;
    else
      rest.push_back(argv[i]);
  }

  Compare(
      "chains: 40 chains of 50 nand2 and a clock", [&](Workspace& ws) { bench::BuildChains(ws, shape); },
      shape.steps, checkSteps, 5, reference, [&](std::ostream& v) { WriteChainVerilog(v, shape); });

  bench::RandomLogic logic = bench::MakeRandomLogic();
  logic.steps = shape.steps;
  Workspace sample;
  bench::BuildRandomLogic(sample, logic);
  const std::string title = "random logic: " + std::to_string(sample.circuit.Symbols.Count()) + " symbols, " +
                            std::to_string(sample.nodes.Count() + 1) + " nodes";
  Compare(
      title.c_str(), [&](Workspace& ws) { bench::BuildRandomLogic(ws, logic); }, logic.steps, checkSteps, 3,
      reference, [&](std::ostream& v) { bench::WriteRandomLogicVerilog(v, sample, logic); });

  MeasureCliMemory(shape);

  int benchArgc = static_cast<int>(rest.size());
  benchmark::Initialize(&benchArgc, rest.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
