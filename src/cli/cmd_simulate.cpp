// qiro-cli simulate: a headless run with scripted clicks and checks. Extracts the schematic,
// runs from the first step, clicks buttons and keyboard keys by name between two steps exactly
// as the user would, checks node values after given steps and writes waveform files.
#include <algorithm>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "chrono/csv_writer.h"
#include "chrono/vcd_writer.h"
#include "cli/cli_setup.h"
#include "cli/command.h"
#include "extract/extract.h"
#include "model/safe_write.h"
#include "sim/devices.h"
#include "sim/engine.h"
#include "workspace.h"

namespace qiro::cli {
namespace {

struct Action {
  enum Kind { Expect, Toggle, Key } kind;
  std::string text;  // the option's value, as typed
  std::string name;  // symbol name (toggle, key) or node name (expect)
  int value = 0;     // key 0..15, or the expected value code
  int step = 0;
  // Checks happen after their step; clicks just before theirs.
  int When() const { return kind == Expect ? step : step - 1; }
};

bool ParseStep(const std::string& s, int& step) {
  if (s.empty() || s.size() > 9 ||
      !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  step = std::stoi(s);
  return true;
}

// NAME@STEP, NAME=HEX@STEP or NODE=V@STEP.
std::optional<Action> ParseAction(Action::Kind kind, const std::string& text) {
  Action a{kind, text, "", 0, 0};
  const auto at = text.rfind('@');
  if (at == std::string::npos || !ParseStep(text.substr(at + 1), a.step)) return std::nullopt;
  std::string head = text.substr(0, at);
  if (kind == Action::Toggle) {
    a.name = head;
    return a.name.empty() ? std::nullopt : std::optional(a);
  }
  const auto eq = head.rfind('=');
  if (eq == std::string::npos || eq == 0 || eq + 2 != head.size()) return std::nullopt;
  a.name = head.substr(0, eq);
  const char v = head[eq + 1];
  if (kind == Action::Key) {
    const std::string hex = "0123456789ABCDEF";
    const auto k = hex.find(static_cast<char>(std::toupper(static_cast<unsigned char>(v))));
    if (k == std::string::npos) return std::nullopt;
    a.value = static_cast<int>(k);
  } else {
    if (v == '1')
      a.value = kLogic1;
    else if (v == '0')
      a.value = kLogic0;
    else if (v == 'x' || v == 'X')
      a.value = kLogicX;
    else
      return std::nullopt;
  }
  return a;
}

int FindSymbol(const Workspace& ws, const std::string& name, int model) {
  for (int i = 1; i <= ws.circuit.Symbols.Count(); ++i) {
    const TSymbol& s = ws.circuit.Symbols[i];
    if (s.State != kDeleted && !s.Internal && s.Model == model && s.Name == name) return i;
  }
  return 0;
}

int FindNode(const Workspace& ws, const std::string& name) {
  for (int n = 0; n <= ws.nodes.Count(); ++n)
    if (ws.nodes[n].Name == name) return n;
  return -1;
}

// Steps on to `step`; a pause on an edge is reported and the run goes on.
bool RunTo(Workspace& ws, int step) {
  while (true) {
    if (!RunUntil(ws, step)) return false;
    if (!ws.engine.Paused) return ws.engine.Running || ws.engine.StepCount >= step;
    std::cout << "pause at step " << ws.engine.StepCount << ": " << ws.status[0] << "\n";
    ws.engine.Paused = false;
    if (ws.engine.StepCount >= step) return true;
  }
}

// Clicks a device as a pointer press at a point on it would.
bool Click(Workspace& ws, const Action& a) {
  const int model = a.kind == Action::Toggle ? kModelButton : kModelKbd;
  const int symbol = FindSymbol(ws, a.name, model);
  int x = 0, y = 0;
  if (symbol == 0 || !ClickPointOf(ws, symbol, a.value, x, y)) return false;
  if (DeviceClick(ws, x, y, ws.engine.StepCount)) {
    std::cout << "pause at step " << ws.engine.StepCount << ": " << ws.status[0] << "\n";
  }
  return true;
}

void PrintDevices(const Workspace& ws) {
  for (int i = 1; i <= ws.circuit.Symbols.Count(); ++i) {
    const TSymbol& s = ws.circuit.Symbols[i];
    if (s.State == kDeleted || s.Internal) continue;
    if (s.Model == kModelLight) {
      std::cout << "light " << s.Pin(1).Name << "=" << LevelChar(LightLevel(ws, i)) << "\n";
    } else if (s.Model == kModelDigit) {
      const int d = DigitShown(ws, i);
      std::cout << "digit " << s.Name << "="
                << (d == kBlankDigit ? std::string("blank") : std::string(1, DigitGlyph(d))) << "\n";
    } else if (s.Model == kModelDisplay) {
      const int format = DisplayFormatOf(s.Vis);
      std::cout << "display " << s.Name << "=" << FaceText(DisplayShown(ws, i), format) << "\n";
    }
  }
}

int RunSimulate(const std::vector<std::string>& args) {
  const std::string usage =
      "usage: qiro-cli simulate FILE [--tech T.tec] --until STEP [--toggle NAME@STEP]... [--key "
      "NAME=HEX@STEP]... "
      "[--vcd OUT.vcd] [--vcd-nodes OUT.vcd] [--csv OUT.csv] [--expect NODE=V@STEP]...";
  std::string file, tech, vcd, vcdNodes, csv;
  int until = -1;
  std::vector<Action> actions;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    auto action = [&](Action::Kind kind) {
      auto parsed = ParseAction(kind, args[++i]);
      if (parsed) actions.push_back(*parsed);
      return parsed.has_value();
    };
    if (a == "--tech" && hasValue) {
      tech = args[++i];
    } else if (a == "--until" && hasValue) {
      if (!ParseStep(args[++i], until)) return Fail("bad step for --until: " + args[i]);
    } else if (a == "--toggle" && hasValue) {
      if (!action(Action::Toggle)) return Fail("bad --toggle " + args[i] + " (NAME@STEP)");
    } else if (a == "--key" && hasValue) {
      if (!action(Action::Key)) return Fail("bad --key " + args[i] + " (NAME=HEX@STEP)");
    } else if (a == "--expect" && hasValue) {
      if (!action(Action::Expect)) return Fail("bad --expect " + args[i] + " (NODE=V@STEP, V 0, 1 or x)");
    } else if (a == "--vcd" && hasValue) {
      vcd = args[++i];
      if (vcd.empty()) return Fail(EmptyPathMessage(a));
    } else if (a == "--vcd-nodes" && hasValue) {
      vcdNodes = args[++i];
      if (vcdNodes.empty()) return Fail(EmptyPathMessage(a));
    } else if (a == "--csv" && hasValue) {
      csv = args[++i];
      if (csv.empty()) return Fail(EmptyPathMessage(a));
    } else if (!a.empty() && a[0] != '-' && file.empty()) {
      file = a;
    } else {
      return Fail(usage);
    }
  }
  if (file.empty() || until < 0) return Fail(usage);
  std::stable_sort(actions.begin(), actions.end(), [](const Action& x, const Action& y) {
    return x.When() != y.When() ? x.When() < y.When()
                                : (x.kind == Action::Expect) > (y.kind == Action::Expect);
  });

  const ReportToStderr report(IsStandardOutput(vcd) || IsStandardOutput(vcdNodes));
  CliHost host;
  Workspace ws(&host);
  if (const std::string error = SetUpCircuit(ws, file, tech); !error.empty()) return Fail(error);
  ExtractCircuit(ws);
  if (ws.extraction.ResultCode != 0) return Fail("Error during extraction");
  ws.nodeLog.enabled = !vcdNodes.empty();
  if (!RunTo(ws, 0)) return Fail("simulation did not start: " + ws.status[0]);

  int failures = 0;
  for (const Action& a : actions) {
    if (a.When() > until) break;
    if (!RunTo(ws, a.When())) break;
    if (a.kind == Action::Expect) {
      const int n = FindNode(ws, a.name);
      const std::string got =
          n < 0 ? std::string("no such node") : std::string(1, LevelChar(ws.nodes[n].Value));
      const bool ok = n >= 0 && ws.nodes[n].Value == a.value;
      std::cout << "expect " << a.text << (ok ? " ok" : " FAILED got " + got) << "\n";
      if (!ok) ++failures;
    } else if (!Click(ws, a)) {
      return Fail("no " + std::string(a.kind == Action::Toggle ? "button " : "keyboard ") + a.name +
                  " to click (" + a.text + ")");
    }
  }
  RunTo(ws, until);
  // Checks beyond the last step never ran.
  for (const Action& a : actions) {
    if (a.kind == Action::Expect && a.When() > until) {
      std::cout << "expect " << a.text << " FAILED got not reached\n";
      ++failures;
    }
  }

  std::string why;
  if (!vcd.empty() && !WriteChronoVcdFile(vcd, ws.chrono, ws.tech.TimeUnit, &why)) return Fail(why);
  if (!csv.empty() && !WriteChronoCsvFile(csv, ws.chrono, ws.current, ws.tech.TimeUnit, {}, &why))
    return Fail(why);
  if (!vcdNodes.empty() && !WriteNodeVcdFile(vcdNodes, ws.nodes, ws.nodeLog, ws.tech.TimeUnit, &why))
    return Fail(why);
  if (ws.nodeLog.Truncated())
    std::cerr << "warning: node changes beyond " << NodeChangeLog::kMaxChanges << " not written\n";

  std::cout << "step " << ws.engine.StepCount << "\n";
  PrintDevices(ws);
  for (std::size_t p = 0; p < ws.status.size(); ++p)
    if (!ws.status[p].empty()) std::cout << "status " << p << ": " << ws.status[p] << "\n";
  return failures > 0 ? 3 : 0;
}

const CommandRegistrar registrar(
    {"simulate",
     "simulate FILE [--tech T.tec] --until STEP [--toggle NAME@STEP]... [--key NAME=HEX@STEP]... [--vcd "
     "OUT.vcd] "
     "[--vcd-nodes OUT.vcd] [--csv OUT.csv] [--expect NODE=V@STEP]...",
     "run a schematic headless with scripted button and key clicks, check node values, write VCD or CSV "
     "waveforms",
     RunSimulate});

}  // namespace
}  // namespace qiro::cli
