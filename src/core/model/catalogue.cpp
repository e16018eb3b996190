#include "model/catalogue.h"

#include <array>
#include <utility>

#include "model/text.h"
#include "workspace.h"

namespace qiro {

namespace {

struct LibraryEntry {
  int model;
  const char* name;
};

constexpr std::array kLibrary = std::to_array<LibraryEntry>({
    {0, "vss"},       {1, "vdd"},       {49, "light"},   {59, "button"},  {61, "padin"}, {62, "padout"},
    {68, "pwl"},      {69, "clock"},    {70, "sinus"},   {81, "display"}, {85, "kbd"},   {88, "7seg"},
    {89, "digit"},    {101, "not"},     {111, "buf"},    {121, "notif1"}, {143, "mux"},  {202, "nand2"},
    {203, "nand3"},   {204, "nand4"},   {302, "nor2"},   {303, "nor3"},   {304, "nor4"}, {402, "and2"},
    {403, "and3"},    {502, "or2"},     {503, "or3"},    {602, "xor2"},   {603, "xor3"}, {612, "xnor2"},
    {702, "pip"},     {710, "matrix"},  {724, "lut"},    {860, "dreg"},   {900, "capa"}, {901, "nmos"},
    {902, "pmos"},    {903, "diode"},   {906, "tgate"},  {920, "res"},    {930, "self"}, {950, "aop"},
    {960, "isource"}, {965, "vsource"}, {970, "mutual"},
});

struct GateEntry {
  const char* prefix;
  int code;
  const char* canonical;
};

// Longest prefixes first: the first equal prefix wins, so "bufif1" is not taken for "buf".
constexpr std::array kGates = std::to_array<GateEntry>({
    {"bufif1", 3, "bufif1"},
    {"notif1", 1, "notif1"},
    {"xnor", 10, "xnor"},
    {"nand", 6, "nand"},
    {"nmos", 11, "nmos"},
    {"pmos", 12, "pmos"},
    {"dreg", 9, "dreg"},
    {"inv", 0, "not"},
    {"not", 0, "not"},
    {"and", 4, "and"},
    {"nor", 7, "nor"},
    {"buf", 2, "buf"},
    {"xor", 8, "xor"},
    {"mux", 14, "mux"},
    {"or", 5, "or"},
});

std::string_view Prefix(std::string_view name, std::size_t n) {
  return name.substr(0, n);
}

}  // namespace

std::string LibraryNameOfModel(int model) {
  for (const LibraryEntry& e : kLibrary)
    if (e.model == model) return e.name;
  return "?";
}

int GateCodeOfName(std::string_view name, std::string& canonical) {
  name = name.substr(0, kTextCapacity);
  for (const GateEntry& g : kGates) {
    const std::string_view prefix = g.prefix;
    if (Prefix(name, prefix.size()) == prefix) {
      canonical = g.canonical;
      return g.code;
    }
  }
  return kGateNone;
}

int GateCodeOfName(std::string_view name) {
  std::string ignored;
  return GateCodeOfName(name, ignored);
}

int InputDeviceClass(std::string_view name) {
  if (Prefix(name, 6) == "button") return 0;
  if (Prefix(name, 5) == "padin") return 6;
  if (Prefix(name, 5) == "clock") return 1;
  const std::string_view p3 = Prefix(name, 3);
  if (p3 == "kbd") return 2;
  if (p3 == "vdd") return 3;
  if (p3 == "vss") return 4;
  if (p3 == "pwl") return 5;
  return 7;
}

int OutputDeviceClass(std::string_view name) {
  const std::string_view p5 = Prefix(name, 5);
  if (p5 == "light") return 1;
  if (p5 == "padou") return 2;
  if (p5 == "digit") return 0;
  if (p5 == "displ") return 3;
  if (Prefix(name, 3) == "out") return 2;
  return 4;
}

int ModelOfPrimitive(std::string_view name, int inputs) {
  if (name == "xor") return 600 + inputs;
  if (name == "xnor") return 610 + inputs;
  if (name == "inv" || name == "not") return 101;
  if (name == "notif1") return 121;
  if (name == "and") return 400 + inputs;
  if (name == "nand") return 200 + inputs;
  if (name == "or") return 500 + inputs;
  if (name == "nor") return 300 + inputs;
  if (name == "buf") return 111;
  if (name == "nmos") return 901;
  if (name == "pmos") return 902;
  if (name == "dreg") return 860;
  if (name == "mux") return 143;
  return 0;
}

namespace {

// How one device kind is numbered.
struct NamingRule {
  int model;
  Counter counter;
  const char* bareName;  // the library name that gets the number appended
  const char* pinName;   // pin 1's bare name that gets it too, or nullptr
  int namedPins;         // pins renamed after the symbol (name + pin number), or 0
};

constexpr std::array kNaming = std::to_array<NamingRule>({
    {59, Counter::Button, "button", "in", 0},
    {69, Counter::Clock, "clock", "clk", 0},
    {70, Counter::Sinus, "sinus", nullptr, 8},
    {68, Counter::Pwl, "pwl", "pwl", 0},
    {89, Counter::Digit, "digit", nullptr, 5},
    {81, Counter::Display, "display", nullptr, 8},
    {85, Counter::Kbd, "kbd", nullptr, 4},
    {61, Counter::Padin, "padin", "padin", 0},
    {62, Counter::Padout, "padout", "padout", 0},
    {49, Counter::Light, "light", "out", 0},
    {88, Counter::Seg, "seg", nullptr, 0},
});

const NamingRule* RuleOf(int model) {
  for (const NamingRule& rule : kNaming)
    if (rule.model == model) return &rule;
  return nullptr;
}

constexpr int kModelDreg = 860;

}  // namespace

std::string DeviceName(const TSymbol& s) {
  if (s.Model == kModelDreg) return s.Title;
  return RuleOf(s.Model) ? s.Name : std::string();
}

void RenumberDevice(Workspace& ws, int symbol) {
  Circuit& c = ws.circuit;
  if (!c.Symbols.Valid(symbol)) return;
  TSymbol& s = c.Symbols[symbol];
  if (s.Model == kModelDreg) {
    s.Title = "dreg";
  } else if (const NamingRule* rule = RuleOf(s.Model)) {
    s.Name = rule->bareName;
    if (rule->pinName && s.PinCount >= 1) s.Pin(1).Name = rule->pinName;
  } else {
    return;
  }
  NameNewSymbol(ws, symbol);
}

bool DeviceNameTaken(const Circuit& c, int self, const std::string& name) {
  for (int i = 1; i <= c.Symbols.Count(); ++i) {
    const TSymbol& s = c.Symbols[i];
    if (i != self && s.State != kDeleted && DeviceName(s) == name) return true;
  }
  return false;
}

namespace {

// Advances a placement counter; when the device takes the number into its name, on to the
// first number no other device has (a file may hold higher numbers than its count).
std::string NextNumber(Circuit& c, Counter counter, int self, const std::string& bare, bool named) {
  std::string n;
  int tries = 0;
  do {
    n = std::to_string(++c.CounterOf(counter));
  } while (named && ++tries <= kMaxSymbols && DeviceNameTaken(c, self, bare + n));
  return n;
}

}  // namespace

void NameNewSymbol(Workspace& ws, int symbol) {
  Circuit& c = ws.circuit;
  if (!c.Symbols.Valid(symbol)) return;
  TSymbol& s = c.Symbols[symbol];

  if (s.Model == kModelDreg) {
    const bool named = s.Title == "dreg";
    const std::string n = NextNumber(c, Counter::Dreg, symbol, "dreg", named);
    if (named) s.Title = Counted(s.Title + n);
    return;
  }
  const NamingRule* rule = RuleOf(s.Model);
  if (!rule) return;
  const bool named = s.Name == rule->bareName;
  const std::string n = NextNumber(c, rule->counter, symbol, rule->bareName, named);
  if (named) {
    s.Name = Counted(s.Name + n);
    for (int k = 1; k <= rule->namedPins && k <= s.PinCount; ++k)
      s.Pin(k).Name = Counted(s.Name + std::to_string(k));
  }
  if (rule->pinName && s.PinCount >= 1 && s.Pin(1).Name == rule->pinName)
    s.Pin(1).Name = Counted(s.Pin(1).Name + n);
}

}  // namespace qiro
