// Renaming inside a symbol's Verilog text when the properties dialog renames a pin or a
// built-in gate: names are replaced as whole names, and only where they are ports.
#pragma once

#include <string>
#include <string_view>

namespace qiro {

// Replaces every port named oldName by newName in the line's port list: the names after the
// keyword of an input, output or wire line, else the parenthesised list of the instance (after
// a "#(...)" delay group when there is one). Other text, the instance name included, stays.
std::string RenamePortInLine(std::string_view line, std::string_view oldName, std::string_view newName);

// Replaces the instance name of a gate line (word 2, or word 3 when the line holds "#").
std::string RenameGateInstance(std::string_view line, std::string_view newName);

}  // namespace qiro
