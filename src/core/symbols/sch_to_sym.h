// The schematic-to-symbol generator: a box with one pin per input and output device of the
// schematic, whose behaviour is the schematic's own Verilog module (model 6000).
// The window edits the pin table and shows the preview; everything else lives here.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/geometry.h"

namespace qiro {

class Workspace;

inline constexpr int kMaxSymbolRows = 200;

// One row of the pin table: texts as the user may have edited them.
struct PinRow {
  std::string Name;
  std::string Position;
  std::string Side;  // first letter counts: L, R, T or U (top), B or D (bottom), either case
};

struct GeneratedPin {
  std::string Name;
  int X = 0, Y = 0;
  double Delay = 0;
  int Fanout = 0;
};

struct GeneratedSymbol {
  Rect Extent{0, 0, 40, 40};  // the pins' extent: left, top, right, bottom
  Rect Box{0, 0, 40, 40};
  int TitleX = 10, TitleY = 10;
  int Model = 6000;
  std::vector<GeneratedPin> Pins;
};

// A field of the dialog that cannot be used: a row of the pin table (Column 0 name,
// 1 position, 2 side), or Row -1 for the name (Column 0) and the directory (Column 2).
struct SchToSymProblem {
  int Row = -1;
  int Column = 0;
  std::string Message;
};

// The folder where generated symbols go: the last one a symbol was saved in, else the
// current folder. Insert User Symbol opens there.
std::filesystem::path GeneratedSymbolFolder(const Workspace& ws);

class SchToSym {
 public:
  // Kept between uses of the dialog.
  int BoxWidth = 40;
  bool Decreasing = true;  // "Sort by": decreasing order is preselected

  // The dialog's fields.
  std::string Name, Title, Directory;
  std::vector<PinRow> Rows;  // inputs first, then outputs
  int InputCount = 0;
  std::vector<std::string> ModuleText;

  GeneratedSymbol Symbol;  // the result of the last Generate

  // Fills the fields from the last extraction and module text: inputs on the left, outputs
  // on the right, positions ranked by name.
  void UpdateOptions(const Workspace& ws);
  // Positions 1..n within inputs and within outputs by name order.
  void RankPositions();
  // Lays out the box and the pins from the rows. False, with the row named in the status
  // bar, when a position is not a whole number; the symbol is then left empty.
  bool Generate(Workspace& ws);
  void Fatter() { BoxWidth += 5; }
  void Thinner() {
    if (BoxWidth - 5 >= 20) BoxWidth -= 5;
  }
  // Builds the symbol and writes Directory/<identifier>.sym. Refuses a name already used by a
  // symbol of the design (error 17). A file that exists is replaced only when `mayReplace`
  // (asked with its path) agrees. Returns the path written, or an empty path.
  std::filesystem::path Save(Workspace& ws, const std::string& dateTime,
                             const std::function<bool(const std::filesystem::path&)>& mayReplace = {});
  // What is wrong with the fields before a save, one entry per field; empty when none.
  std::vector<SchToSymProblem> Check() const;
  // Writes the symbol file anew; false (with the reason, when asked) when it cannot be written.
  bool WriteSymbolFile(const std::filesystem::path& path, const std::string& dateTime,
                       std::string* reason = nullptr) const;
  // Directory/<identifier>.sym, the file Save writes.
  std::filesystem::path SymbolFilePath() const;
  // Different names can give one file name ("a/b" and "a\b" both give abb.sym): when that file
  // is a regular file that does not hold the symbol of this name, the name on its SYM line
  // ("" when it has none); nothing otherwise.
  std::optional<std::string> OtherSymbolInFile() const;
};

// What the command does before showing the dialog: extraction when stale, the module text
// for the current file, then the generator's fields.
void PrepareSchToSym(Workspace& ws, SchToSym& generator);

// The symbol file text (CR LF lines) for a generated symbol.
std::string SymbolFileText(const GeneratedSymbol& symbol, const std::string& name, const std::string& title,
                           const std::vector<std::string>& moduleText, const std::string& dateTime);

// The status text for a pin row (1-based) whose position is not a whole number.
std::string BadPositionText(int row, const std::string& text);

// Free text to a name usable as a file and module name ("my-adder 2" gives "my_adder2").
std::string MakeIdentifier(std::string_view text);

}  // namespace qiro
