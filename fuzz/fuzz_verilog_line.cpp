// Verilog text of a user symbol: the input's lines are read into a model-6000 symbol whose
// pins are wired to buttons and lights, then the circuit is extracted (which expands the
// module into generated gates) and simulated briefly.
#include "fuzz_support.h"
#include "model/schematic_file.h"
#include "model/verilog_text.h"

using namespace qiro;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::QuietHost host;
  Workspace ws(&host);
  ws.SetHomeDir(QIRO_SOURCE_ROOT);
  // The full adder symbol, placed beside its inputs and outputs.
  static const auto root = std::filesystem::path(QIRO_SOURCE_ROOT);
  SchematicLoad(ws, root / "examples" / "full_adder.sch", kLoadOpen);
  SchematicLoad(ws, root / "examples" / "full_adder.sym", kLoadSymbol, 600, 400);
  const int symbol = ws.circuit.Symbols.Count();
  if (symbol < 1) return 0;
  TSymbol& s = ws.circuit.Symbols[symbol];
  s.VerilogLineCount = 0;
  s.VerilogStart = 1;
  BeginVerilogSymbol(ws);
  for (const std::string& line : fuzz::Lines(data, size)) ReadVerilogLine(ws, symbol, line.substr(0, 128));
  // Join the symbol's pins to the circuit's first nodes so the expanded gates see values.
  for (int k = 1; k <= s.PinCount && k <= 8; ++k) {
    const TPin& p = s.Pin(k);
    ws.circuit.AddWire(p.X, p.Y, p.X - 5 * k, p.Y);
  }
  fuzz::ExtractAndSimulate(ws, 60);
  return 0;
}
