#include "verilog/netlist_view.h"

#include <algorithm>

#include "model/catalogue.h"
#include "model/text.h"
#include "model/verilog_text.h"
#include "sim/engine.h"
#include "workspace.h"

namespace qiro {

namespace {

constexpr int kModelVerilog = 6000;

std::string ValueText(std::uint8_t v) {
  switch (v) {
    case kLogic1:
      return "1";
    case kLogic0:
      return "0";
    default:
      return "x";
  }
}

// Each pin's delay line comes from the layout of the last run, as long as the table still
// has the symbols that run was built for; pins of stimulus devices own none.
std::string RegsCell(const Workspace& ws, int symbol, bool running) {
  const TSymbol& s = ws.circuit.Symbols[symbol];
  const LineLayout& layout = ws.engine.layout;
  const bool current = layout.SymbolCount() == ws.circuit.Symbols.Count();
  std::string cell;
  for (int k = 1; k <= s.PinCount; ++k) {
    const int steps = current ? layout.Steps(symbol, k) : -1;
    if (steps < 0) {
      cell += "- ";
      continue;
    }
    if (!running) {
      cell += std::to_string(LineCells(steps) - 1) + " ";
      continue;
    }
    for (const std::uint8_t v : PinLineCells(ws, symbol, k)) {
      if (cell.size() >= kTextCapacity) break;
      cell += ValueText(v);
    }
    cell += " ";
  }
  return cell;
}

}  // namespace

std::vector<TreeItem> BuildHierarchy(const Workspace& ws) {
  const auto& lines = ws.verilog.Lines;
  std::string module = lines.empty() ? ws.verilog.ModuleName : VerilogWord(lines.front(), 2);
  std::vector<TreeItem> roots = {{"inputs", {}}, {"outputs", {}}, {module, {}}};
  for (const TSymbol& s : ws.circuit.Symbols) {
    if (s.State == kDeleted) continue;
    if (InputDeviceClass(s.Name) != 7) {
      roots[0].Children.push_back({s.Name, {}});
    } else if (OutputDeviceClass(s.Name) != 4) {
      roots[1].Children.push_back({s.Name, {}});
    } else if (!s.Internal) {
      TreeItem item{s.Name, {}};
      if (s.Model == kModelVerilog) {
        const int last = std::min(s.VerilogLineCount, kMaxVerilogLines);
        for (int l = 1; l <= last; ++l) {
          const std::string& line = s.VerilogLine(l);
          if (GateCodeOfName(VerilogWord(line, 1)) != kGateNone)
            item.Children.push_back({"<" + VerilogWord(line, 2) + ">", {}});
        }
      }
      for (int k = 1; k <= s.PinCount; ++k) item.Children.push_back({"(" + s.Pin(k).Name + ")", {}});
      roots[2].Children.push_back(std::move(item));
    }
  }
  return roots;
}

std::vector<NetlistRow> ViewNetlist(const Workspace& ws, bool running) {
  std::vector<NetlistRow> rows;
  const auto& symbols = ws.circuit.Symbols;
  for (int i = 1; i <= symbols.Count(); ++i) {
    const TSymbol& s = symbols[i];
    NetlistRow row;
    row[0] = std::to_string(i) + (s.Internal ? " (hidden)" : "");
    row[1] = s.Name;
    for (int k = 1; k <= s.PinCount; ++k) {
      const TPin& p = s.Pin(k);
      if (k > 1) row[2] += ",", row[3] += ",";
      row[2] += p.Name;
      row[3] += running ? ValueText(ws.nodes[p.Node].Value) : std::to_string(p.Node);
    }
    row[4] = std::to_string(s.Model);
    row[5] = RegsCell(ws, i, running);
    row[6] = std::to_string(s.TraceIndex);
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string SymbolCountText(const Workspace& ws) {
  return "The design includes " + std::to_string(ws.circuit.Symbols.Count()) + " symbols";
}

std::string NodeCountText(const Workspace& ws) {
  return "The circuit has " + std::to_string(ws.nodes.Count()) + " nodes";
}

}  // namespace qiro
