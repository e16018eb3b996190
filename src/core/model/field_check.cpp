#include "model/field_check.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "model/parse_decimal.h"

namespace qiro {

namespace {

// Shortest decimal form of a limit: 100000, 0.5, 1e+09.
std::string Limit(double value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", value);
  return buf;
}

std::string OutOfRange(const std::string& typed, const std::string& lo, const std::string& hi) {
  return typed + " is out of range: enter a value from " + lo + " to " + hi + ".";
}

}  // namespace

std::string TrimmedField(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

std::string CheckDecimalField(std::string_view text, double minimum, double maximum) {
  const std::string t = TrimmedField(text);
  if (t.empty()) return "A value is needed here.";
  constexpr double kHuge = std::numeric_limits<double>::max();
  const DecimalResult r = ParseDecimal(t, 0, kHuge, -kHuge);
  // ParseDecimal lets a "-" stand anywhere; a typed value must put it first.
  const auto minus = t.find('-');
  if (!r.ok || (minus != std::string::npos && minus != 0) || t == "-" || t == ".")
    return "\"" + t + "\" is not a number.";
  if (r.value < minimum || r.value > maximum) return OutOfRange(t, Limit(minimum), Limit(maximum));
  return {};
}

std::string CheckRealField(std::string_view text, double minimum, double maximum) {
  const std::string t = TrimmedField(text);
  if (t.empty()) return "A value is needed here.";
  const char* first = t.data() + (t[0] == '+' ? 1 : 0);
  double v = 0;
  const auto [end, ec] = std::from_chars(first, t.data() + t.size(), v);
  if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v))
    return "\"" + t + "\" is not a number.";
  if (v < minimum || v > maximum) return OutOfRange(t, Limit(minimum), Limit(maximum));
  return {};
}

std::string CheckWholeNumberField(std::string_view text, long long minimum, long long maximum) {
  const std::string t = TrimmedField(text);
  if (t.empty()) return "A value is needed here.";
  std::size_t i = t[0] == '+' ? 1 : 0;
  if (i == t.size()) return "\"" + t + "\" is not a whole number.";
  bool tooBig = false;
  long long v = 0;
  for (; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return "\"" + t + "\" is not a whole number.";
    if (v > maximum) tooBig = true;  // stop accumulating before it could overflow
    if (!tooBig) v = v * 10 + (t[i] - '0');
  }
  if (tooBig || v < minimum || v > maximum)
    return OutOfRange(t, std::to_string(minimum), std::to_string(maximum));
  return {};
}

std::string CheckNameField(std::string_view text) {
  const std::string t = TrimmedField(text);
  if (t.empty()) return "A name is needed here.";
  bool ok = !(t[0] >= '0' && t[0] <= '9');
  for (const char c : t)
    ok = ok && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_');
  if (ok) return {};
  return "\"" + t + "\" is not a usable name: use letters, digits and \"_\", not starting with a digit.";
}

}  // namespace qiro
