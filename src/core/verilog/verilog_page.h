// The Verilog page of the symbol properties: the symbol's text tidied for display, the
// module line renamed after the symbol, and a short description for built-in gates.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qiro {

class Workspace;

// Indents a line for display: none for module lines and unindented ones, two spaces for
// deep indentation, one otherwise; a comment line becomes a single space.
std::string TidyVerilogLine(std::string_view line);

// Names the symbol editName and makes its last module line carry that name.
// Shows "Error : module not found !" when the text has no module line before an endmodule.
void RenameModule(Workspace& ws, int symbol, const std::string& editName);

struct VerilogPage {
  std::vector<std::string> Memo;  // the text shown
  std::string NameField;          // the symbol's name
};

// Fills the page: the tidied lines (stored back), renamed after the symbol for a user
// symbol, or followed by three comment lines describing a primitive gate.
VerilogPage ShowVerilogPage(Workspace& ws, int symbol);

}  // namespace qiro
