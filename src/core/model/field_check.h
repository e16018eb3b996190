// Checks of values typed into dialogs. Each returns an empty text when the value is
// acceptable, otherwise the message the dialog shows next to the field.
#pragma once

#include <string>
#include <string_view>

namespace qiro {

// The text without its leading and trailing blanks and tabs.
std::string TrimmedField(std::string_view text);

// A decimal number as ParseDecimal reads it, within [minimum, maximum].
std::string CheckDecimalField(std::string_view text, double minimum, double maximum);
// Digits only (one leading "+" allowed), within [minimum, maximum]; no overflow however long.
std::string CheckWholeNumberField(std::string_view text, long long minimum, long long maximum);
// A real number in any usual notation (12, -0.5, 1e-12), within [minimum, maximum].
std::string CheckRealField(std::string_view text, double minimum, double maximum);
// A name that Verilog and the schematic file take as it stands: letters, digits and "_",
// not starting with a digit.
std::string CheckNameField(std::string_view text);

}  // namespace qiro
