#include "model/parse_decimal.h"

namespace qiro {

DecimalResult ParseDecimal(std::string_view text, double defaultValue, double maximum, double minimum) {
  DecimalResult r;
  if (text.empty() || text == " " || text.size() >= 128) {
    r.value = defaultValue;
    return r;
  }
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i < text.size() && text[i] == '+') ++i;

  bool ok = true, negative = false, fraction = false;
  double value = 0, scale = 1;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.') {
      fraction = true;
    } else if (c == '-') {
      negative = true;
    } else if (c >= '0' && c <= '9') {
      if (fraction) {
        scale /= 10;
        value += (c - '0') * scale;
      } else {
        value = value * 10 + (c - '0');
      }
    } else {
      ok = false;  // keep scanning; the result is the default anyway
    }
  }
  r.ok = ok;
  r.value = ok ? (negative ? -value : value) : defaultValue;
  if (r.value < minimum) {
    r.value = minimum;
    r.ok = false;
  } else if (r.value > maximum) {
    r.value = maximum;
    r.ok = false;
  }
  return r;
}

}  // namespace qiro
