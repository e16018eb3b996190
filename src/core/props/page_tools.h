// The buttons of the kind-specific pages: the piece-wise-linear sequence editor, the look-up
// table's predefined functions and the switching matrix.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "props/symbol_props.h"

namespace qiro {

// "Load": the 0/1 characters of the sequence fill the grid from row 1 at times 0, 100, 200 ...
void PwlLoad(SymbolProps& props);
// "Append": the same after the last filled row, continuing its time by 100.
void PwlAppend(SymbolProps& props);
// "Clear after Cursor": empties the rows from `row` (0-based) to the last.
void PwlClearFrom(SymbolProps& props, int row);
// "Apply": the filled rows get the times step, 2 step, 3 step ... (2 decimals). An
// unreadable step resets the step field to "1" and leaves the times alone.
void PwlApplyStep(SymbolProps& props);

// The lines of the "Predefined funtions :" list; the last one (empty) gives all zeros.
const std::vector<std::string>& LutFunctions();
// Fills the table with the truth table of function `index` of that list.
void LutApplyFunction(SymbolProps& props, int index);
// A double click on a row: "1" becomes "0", anything else "1".
void LutToggle(SymbolProps& props, int row);

// "All Off": every link open.
void MatrixAllOff(SymbolProps& props);

}  // namespace qiro
