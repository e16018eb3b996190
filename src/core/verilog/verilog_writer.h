// The Verilog netlist writer: one module whose ports are the circuit's input and output
// devices, one gate instance per primitive symbol, and the stimuli as comments.
// Works on the result of the last extraction (node numbers in the pins, the name lists).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qiro {

class Workspace;

// The Verilog keyword for a symbol name, by prefix ("inv7" gives "not"); "" when the name is
// not a primitive.
std::string_view PrimitiveKeyword(std::string_view symbolName);

// The file name without its directory and extension.
std::string ModuleNameOfFile(std::string_view fileName);

// The current local date and time as the header lines and symbol files show it.
std::string DateTimeText();

// The four comment lines that open the shown text.
std::vector<std::string> VerilogTitle(const Workspace& ws, const std::string& dateTime);

// Fills ws.verilog.Lines with the module text for ws.verilog.ModuleName.
void WriteVerilogModule(Workspace& ws);

// The stimuli of buttons, clocks and pwl sources as comment lines.
std::vector<std::string> SimulationParameters(const Workspace& ws);

// Rebuilds the shown text: header, module and (when asked) the simulation parameters.
void UpdateVerilog(Workspace& ws, const std::string& dateTime);

// The full refresh of the netlist window: extraction when stale, module name from the file
// name, the shown text and its save beside the schematic.
void RefreshVerilog(Workspace& ws, const std::string& dateTime);

// "The Verilog file has N lines".
std::string VerilogLineCountText(const Workspace& ws);

// The schematic's file name with ".txt" in place of its extension.
std::filesystem::path VerilogFilePath(const Workspace& ws);

// Writes the shown text to path (CR LF lines) and shows where it went; false on failure,
// which is reported as a write error.
bool SaveVerilogFile(Workspace& ws, const std::filesystem::path& path);
bool SaveVerilogFile(Workspace& ws);

}  // namespace qiro
