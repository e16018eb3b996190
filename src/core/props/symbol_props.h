// The symbol properties dialog as plain data: what it shows for one symbol, and how its
// edits are written back. The window only copies these fields to and from its widgets.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace qiro {

class Workspace;
struct TSymbol;

// One page per kind of symbol; only the page of the edited symbol is shown.
enum class PropsPage {
  Clock,
  Sinus,
  Pwl,
  Mos,
  Capa,
  Inductor,
  Resistor,
  Vsource,
  ISource,
  Coupling,
  Pip,
  Matrix,
  Lut,
  Select,
  Mcu,
  VerilogCall,
  Standard,
};

inline constexpr int kPwlRows = 320;
inline constexpr int kLutRows = 16;
inline constexpr int kMatrixLinks = 6;
inline constexpr int kMaxValueFields = 3;

// The tab caption of a page ("Clock", "Switching Matrix", "8051 µc", ...).
std::string_view PageCaption(PropsPage page);
// The page that edits a symbol: by model code, then by whether it carries Verilog text.
PropsPage PageOfSymbol(const TSymbol& s);
// The labels of the value fields of the pages that are a column of fields (Sinus, Mos,
// the analog elements); empty for the others.
std::vector<std::string_view> ValueFieldLabels(PropsPage page);

// Colour letters of the "Select Color" radio, by index.
inline constexpr std::array<char, 5> kColourLetters = {'r', 'y', 'b', 'g', 'p'};

// One row of the pin grid: "Pin n°", "In/Out", "Name", "Gate(ns)", "Fanout", "Wire(ns)".
struct PinGridRow {
  std::string Number, Kind, Name, Gate, Fanout, Wire;
};

struct PwlRow {
  std::string Time, Value;
};

struct SymbolProps {
  // Common part.
  std::string Name;     // editName
  std::string Title;    // "Title: " + title
  std::string Caption;  // the window caption
  bool VisiblePin = false, VisibleProp = false, VisibleTitle = false;
  bool PauseRise = false, PauseFall = false;
  bool PauseEnabled = false;  // only lights pause the simulation
  std::vector<PinGridRow> Pins;
  PropsPage Page = PropsPage::Standard;
  std::vector<std::string> VerilogMemo;

  // Clock.
  std::string ClockLow, ClockHigh, ClockPinName;
  // Sinus, Mos, Capa, Inductor, Resistor, Vsource, ISource, Coupling: field k is P[k].
  std::array<std::string, kMaxValueFields> Values{"10", "10", "0"};
  // Pwl.
  std::vector<PwlRow> Pwl = std::vector<PwlRow>(kPwlRows);
  std::string PwlSequence;
  std::string PwlStep = "1";
  // Pip and Switching Matrix: a pressed button is an open link.
  bool PipOpen = false;
  std::array<bool, kMatrixLinks> MatrixOpen{};
  // Look Up Table, outputs for inputs 0..15.
  std::array<std::string, kLutRows> Lut{};
  // Select: colour index, number format, pin-name field.
  int Colour = 0;
  int Format = 0;
  bool FormatVisible = false;
  std::string SelectPinName;
  // 8051: the program and the results of the last assembly.
  std::vector<std::string> Program;
  std::vector<std::string> Listing, SymbolList;
};

// Extracts the circuit when it is stale and returns the index the symbol has afterwards:
// extraction compacts the tables, which can move it. 0 when it cannot be found.
int ExtractKeepingSymbol(Workspace& ws, int symbol);

// Fills the dialog for a symbol. The Verilog page tidies the symbol's text (and may rename
// its module line), as showing it always does.
void ReadProperties(Workspace& ws, int symbol, SymbolProps& props);

// Writes the dialog back to the symbol: page values, pin names and gate delays (renaming
// pins through the Verilog port lists), display flags, name; sets the modified flag.
// The pin grid in props is updated with the names actually given.
void ApplyProperties(Workspace& ws, int symbol, SymbolProps& props);

// Assembles the program text of the 8051 page into the program memory; the listing and the
// symbol list go into props.
void AssembleProps(Workspace& ws, SymbolProps& props);

}  // namespace qiro
