// Extraction driver: compacts the tables, turns programmable switches into temporary wires,
// numbers the nodes, expands Verilog-described symbols, lists inputs and outputs, computes
// fanout and delays, then removes the temporary wires and names the design.
#include "extract/extract.h"

#include <string>

#include "extract/numbering.h"
#include "extract/verilog_expand.h"
#include "model/errors.h"
#include "workspace.h"

namespace qiro {

namespace {

enum : int {
  kModelLight = 49,
  kModelButton = 59,
  kModelPadIn = 61,
  kModelPadOut = 62,
  kModelPwl = 68,
  kModelClock = 69,
  kModelPip = 702,
  kModelMatrix = 710,
  kModelDisplay = 81,
  kModelKbd = 85,
  kModelDigit = 89,
};

void AddSwitchWire(Circuit& c, const TSymbol& s, int from, int to) {
  if (from > s.PinCount || to > s.PinCount) return;
  const TPin& a = s.Pin(from);
  const TPin& b = s.Pin(to);
  c.AddWire(a.X, a.Y, b.X, b.Y);
}

// Closed switches of pip and matrix symbols become wires for the time of the extraction.
void AddSwitchWires(Circuit& c) {
  const int savedError = c.ErrorCode;  // a full wire table silently drops the connection
  for (int i = 1; i <= c.Symbols.Count(); ++i) {
    const TSymbol& s = c.Symbols[i];
    if (s.Model == kModelPip) {
      AddSwitchWire(c, s, 1, 3);
      AddSwitchWire(c, s, 2, 4);
      if (s.Prop(1) == "1") AddSwitchWire(c, s, 1, 2);
    } else if (s.Model == kModelMatrix) {
      static constexpr int kLinks[6][2] = {{1, 3}, {2, 4}, {1, 4}, {4, 3}, {3, 2}, {1, 2}};
      const std::string word = s.Prop(1).substr(0, 6);
      for (std::size_t k = 0; k < word.size(); ++k)
        if (word[k] == '1') AddSwitchWire(c, s, kLinks[k][0], kLinks[k][1]);
    }
  }
  c.ErrorCode = savedError;
}

void ClearOldResults(Workspace& ws) {
  Circuit& c = ws.circuit;
  for (int i = 1; i <= c.Wires.Count(); ++i) {
    TLine& w = c.Wires[i];
    if (w.State == kHighlight) {
      w.State = kNormal;
      ws.host().DrawWire(i);
    }
    w.Node = -1;
    w.EndFlags = 0;
  }
  for (TSymbol& s : c.Symbols)
    for (int k = 1; k <= s.PinCount; ++k) s.Pin(k).Node = -1;
}

void AddName(std::vector<std::string>& list, const std::string& name) {
  if (static_cast<int>(list.size()) < kMaxIoNames) list.push_back(name);
}

void ListInputsAndOutputs(Workspace& ws) {
  ExtractState& ext = ws.extraction;
  auto pins = [&](const TSymbol& s, int n, std::vector<std::string>& list) {
    for (int k = 1; k <= n && k <= s.PinCount; ++k) AddName(list, s.Pin(k).Name);
  };
  for (const TSymbol& s : ws.circuit.Symbols) {
    switch (s.Model) {
      case kModelButton:
      case kModelPadIn:
      case kModelPwl:
      case kModelClock:
        pins(s, 1, ext.InputNames);
        break;
      case kModelKbd:
        pins(s, 4, ext.InputNames);
        break;
      case kModelLight:
      case kModelPadOut:
        pins(s, 1, ext.OutputNames);
        break;
      case kModelDigit:
        pins(s, 4, ext.OutputNames);
        break;
      case kModelDisplay:
        pins(s, 8, ext.OutputNames);
        break;
      default:
        break;
    }
  }
}

// The file name without directory and extension; a new schematic gets "sym" + a counter.
void NameDesign(Workspace& ws) {
  ExtractState& ext = ws.extraction;
  std::string name = ws.circuit.FileName;
  if (auto slash = name.find_last_of("/\\"); slash != std::string::npos) name.erase(0, slash + 1);
  if (auto dot = name.rfind('.'); dot != std::string::npos) name.erase(dot);
  if (name == "example") name = "sym" + std::to_string(++ext.DesignCounter);
  ext.DesignName = name;
}

void Extract(Workspace& ws, NumberingScan scan) {
  if (ws.circuit.Extracted) return;
  Circuit& c = ws.circuit;
  ExtractState& ext = ws.extraction;

  SetStatus(ws, 0, "Extraction..");
  ws.chrono.ClearTraces();  // traces are registered afresh by the next simulation start
  ext.InputNames.clear();
  ext.OutputNames.clear();
  ext.InternalWires.clear();
  ext.NameCounter = 0;
  ext.ResultCode = 0;
  ext.ModuleNumber = 1;
  ext.InstanceCount = 0;
  c.CompactTables();
  c.CompactInternalSymbols();
  ws.nodes.Reset();

  const int drawnWires = c.Wires.Count();
  AddSwitchWires(c);
  ClearOldResults(ws);

  if (c.Symbols.Count() > 0) {
    NumberNodes(ws, scan);
    c.Extracted = true;
    if (ext.NumberingError != 0) {
      ReportError(ws, ext.NumberingError);
      ext.ResultCode = ext.NumberingError;
    }
  }

  ExpandVerilogSymbols(ws);
  NumberInternalWires(ws);
  if (ext.ResultCode == 0) ext.ResultCode = ext.NumberingError;

  ListInputsAndOutputs(ws);
  ComputeFanout(ws);
  SetStatus(ws, 0,
            "Circuit extracted, " + std::to_string(ws.nodes.Count()) + " nodes, " +
                std::to_string(c.Symbols.Count()) + " symbols");
  c.Wires.Truncate(drawnWires);
  NameDesign(ws);
  SetStatus(ws, 1, ext.ResultCode == 0 ? "Circuit OK" : "Circuit contains error");
}

}  // namespace

void ExtractCircuit(Workspace& ws) {
  Extract(ws, NumberingScan::Indexed);
}

void ExtractCircuitReference(Workspace& ws) {
  Extract(ws, NumberingScan::Literal);
}

}  // namespace qiro
