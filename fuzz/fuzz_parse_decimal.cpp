// Decimal text with its default and limits: the value is never NaN and stays within the
// limits whenever they are ordered.
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "model/parse_decimal.h"

using namespace qiro;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  static const double kLimits[] = {0, 1, -1, 100, -100, 100000, -100000, 1e9, 0.5};
  const double maximum = kLimits[data[0] % 9], minimum = kLimits[data[1] % 9];
  const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
  const DecimalResult r = ParseDecimal(text, 1.0, maximum, minimum);
  if (std::isnan(r.value)) std::abort();
  // A refused text gives the default; anything else (accepted or clamped) lies within the limits.
  const bool fromText = r.ok || r.value != 1.0;
  if (minimum <= maximum && fromText && (r.value < minimum || r.value > maximum)) std::abort();
  return 0;
}
