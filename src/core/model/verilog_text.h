// Reading the Verilog text carried by a symbol: words, port lists, and what each
// line read from a file does to the symbol being loaded.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qiro {

class Workspace;

inline constexpr int kMaxPortNames = 200;

// Word n (from 1) of a line: leading spaces skipped, words separated by spaces, a word
// cut at "(" or ";". The last character of a line never belongs to a word.
std::string VerilogWord(std::string_view line, int n);
// Where word n stands in the line: [first, second); empty when the line has no such word.
std::pair<std::size_t, std::size_t> VerilogWordSpan(std::string_view line, int n);

// The names after the keyword of an input, output or wire line, or inside the first
// parenthesis of any other line. Empty names are kept (a space before a comma gives one).
std::vector<std::string> ParsePortList(std::string_view line);

// State of the reader for the symbol being loaded.
struct VerilogReadState {
  int inputs = 0;   // pins named by input lines so far
  int outputs = 0;  // pins named by output lines so far
  double gateDelay = 1.0;
};

// Starts a new symbol: the counters restart at 0.
void BeginVerilogSymbol(Workspace& ws);

// Stores one "VLG" line in the symbol and acts on its first word: module, input and
// output lines name and direct the symbol's pins; gate lines set the gate delay.
void ReadVerilogLine(Workspace& ws, int symbol, std::string_view line);

}  // namespace qiro
