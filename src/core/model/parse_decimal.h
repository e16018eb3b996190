// Decimal text to a number, the reader of every typed or stored real value.
#pragma once

#include <string_view>

namespace qiro {

struct DecimalResult {
  double value = 0;
  bool ok = false;
};

// Reads digits with an optional "." fraction; a "-" anywhere makes the value negative.
// Empty text, a single space, text of 128 characters or more, or any other character give
// the default (not ok). A value outside [minimum, maximum] is clamped and reported not ok.
DecimalResult ParseDecimal(std::string_view text, double defaultValue, double maximum, double minimum);

}  // namespace qiro
