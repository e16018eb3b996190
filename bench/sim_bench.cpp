// Simulation speed: a clock (5 ns at 0, 5 ns at 1) driving 40 chains of 50 nand2 gates, each
// gate's two inputs tied to the previous gate's output, run headless for 100000 steps of 1 ns.
// The same netlist is written as Verilog and, when iverilog and vvp are installed, vvp is timed
// on it in the same run; both times and their ratio are printed.
//
//   sim_bench [--chains C] [--length L] [--steps N] [--reference] [--benchmark_...]
//
// --reference also times the reference engine. Google Benchmark then measures 10000 steps of
// the fast engine.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

#include "chain_circuit.h"
#include "sim/engine.h"
#include "sim/primitives.h"
#include "workspace.h"

namespace {

using namespace qiro;
using qiro::bench::BuildChains;
using qiro::bench::Shape;

void WriteVerilog(const std::filesystem::path& file, const Shape& shape) {
  std::ofstream v(file);
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

// Wall-clock and processor seconds: the machine may be shared, so both are shown and the ratio
// is taken on processor time.
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

// Time of a headless run of shape.steps steps (negative when it did not start).
Timing TimeEngine(EngineKind kind, const Shape& shape, int& symbols) {
  Workspace ws;
  ws.engine.Kind = kind;
  BuildChains(ws, shape);
  symbols = ws.circuit.Symbols.Count();
  const auto start = std::chrono::steady_clock::now();
  const double cpu = CpuSeconds(RUSAGE_SELF);
  if (!RunUntil(ws, shape.steps)) return {};
  return {Seconds(start), CpuSeconds(RUSAGE_SELF) - cpu};
}

bool HaveProgram(const char* name) {
  return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Time vvp takes on the netlist (negative when it could not run).
Timing TimeIcarus(const Shape& shape) {
  if (!HaveProgram("iverilog") || !HaveProgram("vvp")) return {};
  const auto dir = std::filesystem::temp_directory_path() / ("qiro-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  WriteVerilog(dir / "chains.v", shape);
  const std::string compile =
      "iverilog -o '" + (dir / "chains.vvp").string() + "' '" + (dir / "chains.v").string() + "'";
  Timing t;
  if (std::system(compile.c_str()) == 0) {
    const auto start = std::chrono::steady_clock::now();
    const double cpu = CpuSeconds(RUSAGE_CHILDREN);
    if (std::system(("vvp -n '" + (dir / "chains.vvp").string() + "' >/dev/null").c_str()) == 0)
      t = {Seconds(start), CpuSeconds(RUSAGE_CHILDREN) - cpu};
  }
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  return t;
}

void BM_FastEngine10kSteps(benchmark::State& state) {
  const Shape shape;
  for (auto _ : state) {
    state.PauseTiming();
    Workspace ws;
    BuildChains(ws, shape);
    state.ResumeTiming();
    RunUntil(ws, 10000);
    benchmark::DoNotOptimize(ws.nodes[2].Value);
  }
}
BENCHMARK(BM_FastEngine10kSteps)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  Shape shape;
  bool reference = false;
  std::vector<char*> rest{argv[0]};
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--chains" && i + 1 < argc)
      shape.chains = std::atoi(argv[++i]);
    else if (a == "--length" && i + 1 < argc)
      shape.length = std::atoi(argv[++i]);
    else if (a == "--steps" && i + 1 < argc)
      shape.steps = std::atoi(argv[++i]);
    else if (a == "--reference")
      reference = true;
    else
      rest.push_back(argv[i]);
  }

  int symbols = 0;
  const Timing fast = TimeEngine(EngineKind::Fast, shape, symbols);
  std::printf("circuit: %d chains of %d nand2 and a clock (%d symbols), %d steps of 1 ns\n", shape.chains,
              shape.length, symbols, shape.steps);
  std::printf("qiro fast engine:      %.3f s (processor %.3f s)\n", fast.wall, fast.cpu);
  if (reference) {
    const Timing ref = TimeEngine(EngineKind::Reference, shape, symbols);
    std::printf("qiro reference engine: %.3f s (processor %.3f s)\n", ref.wall, ref.cpu);
  }
  const Timing icarus = TimeIcarus(shape);
  if (icarus.wall < 0) {
    std::printf("icarus verilog (vvp):  not available\n");
  } else {
    std::printf("icarus verilog (vvp):  %.3f s (processor %.3f s)\n", icarus.wall, icarus.cpu);
    if (fast.cpu > 0) std::printf("ratio vvp / qiro:      %.2f (processor time)\n", icarus.cpu / fast.cpu);
  }
  std::fflush(stdout);

  int benchArgc = static_cast<int>(rest.size());
  benchmark::Initialize(&benchArgc, rest.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
