// Names for the portable Verilog netlist. A drawing's names can be anything (blanks, dots,
// accents, keywords); Verilog accepts plain identifiers and escaped ones ("\" + text + " ").
// VerilogText maps a name to a legal text, VerilogName adds the escape when needed, and one
// VerilogNameSpace per module hands out unique names: user names first, then generated ones
// that skip whatever is taken.
#pragma once

#include <set>
#include <string>
#include <string_view>

namespace qiro {

// True for the reserved words of Verilog and SystemVerilog (a plain name must avoid them all).
bool IsVerilogKeyword(std::string_view word);

// The name with every blank turned into "_" and every byte outside printable ASCII written as
// "x" + two hex digits, so that it fits an escaped identifier; "" stays "".
std::string VerilogText(std::string_view name);

// How a legal text is written: as it stands when it is a plain identifier that is no keyword,
// otherwise escaped ("\1a " for "1a").
std::string VerilogName(std::string_view text);

// One module's names. Names are compared after mapping and without their escapes, so "abc"
// and "\abc " are one name.
class VerilogNameSpace {
 public:
  // A user name: its own text when still free, otherwise that text + "_" + the first free number.
  // Returns the written (possibly escaped) form.
  std::string Reserve(std::string_view name);
  // A generated name: base + number, the first number from `first` on that is free.
  std::string Generate(std::string_view base, int first = 1);
  bool Taken(std::string_view text) const { return taken_.count(std::string(text)) > 0; }

 private:
  std::string Take(const std::string& text);
  std::set<std::string, std::less<>> taken_;
};

}  // namespace qiro
