// Technology files: every value the reader takes, then the delays it gives a small circuit.
#include "fuzz_support.h"
#include "model/schematic_file.h"
#include "model/technology_file.h"

using namespace qiro;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto path = fuzz::ScratchFile(data, size, ".tec");
  fuzz::QuietHost host;
  Workspace ws(&host);
  ws.SetHomeDir(QIRO_SOURCE_ROOT);
  static const auto example = std::filesystem::path(QIRO_SOURCE_ROOT) / "examples" / "full_adder.sch";
  SchematicLoad(ws, example, kLoadOpen);
  LoadTechnology(ws, path);
  fuzz::ExtractAndSimulate(ws, 40);
  return 0;
}
