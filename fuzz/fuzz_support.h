// What the fuzz targets share: a host that shows nothing, the input as a scratch file (the
// readers take paths), the input as lines or as assembly text, and a bounded headless run.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "extract/extract.h"
#include "model/file_read.h"
#include "model/host.h"
#include "sim/engine.h"
#include "workspace.h"

namespace qiro::fuzz {

// Keeps the status texts, so the targets reach the code that builds them.
class QuietHost : public Host {
 public:
  void SetStatus(int, const std::string& text) override { last = text; }
  std::string last;
};

// The input written to a file of this process's own (the readers open paths).
inline std::filesystem::path ScratchFile(const std::uint8_t* data, std::size_t size, const char* extension) {
  static const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("qiro-fuzz-" + std::to_string(::getpid()) + extension);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

// The input's lines (split at LF, a CR before it dropped).
inline std::vector<std::string> Lines(const std::uint8_t* data, std::size_t size) {
  return SplitLines(std::string(reinterpret_cast<const char*>(data), size));
}

// Assembly text as a schematic holds it: at most 256 lines of at most 128 characters. The
// fuzz regression test replays saved inputs through this too.
inline std::vector<std::string> AssemblySource(const std::string& text) {
  std::vector<std::string> source;
  for (const std::string& line : SplitLines(text)) {
    if (source.size() == 256) break;
    source.push_back(line.substr(0, 128));
  }
  return source;
}

// Extraction, then a short run from step 0 on the chosen engine.
inline void ExtractAndSimulate(Workspace& ws, int steps, EngineKind kind = EngineKind::Fast) {
  ExtractCircuit(ws);
  if (ws.extraction.ResultCode != 0) return;
  ws.engine.Kind = kind;
  // Pause-on-edge devices hold the run; carry on a bounded number of times.
  for (int guard = 0; guard < 16; ++guard) {
    if (!RunUntil(ws, steps) || !ws.engine.Paused) break;
    ws.engine.Paused = false;
  }
  StopSimulation(ws);
}

}  // namespace qiro::fuzz
