// Technology file reader. Each line starts with a two-letter key; the reader takes three
// characters per key (the third column is skipped) and dispatches on the first two.
// Quoted and numeric values are read without skipping the rest of their line, so the key
// that follows starts right after the value: when the value ends its line, that key is
// made of the line break and the next line's start, and the next line is skipped unread
// (files therefore put a blank line after such a line). A lone LF is read as CR LF so that
// files behave the same whichever line ends they use.
#include "model/technology_file.h"

#include <charconv>
#include <string>

#include "model/errors.h"
#include "model/file_read.h"
#include "model/text.h"
#include "workspace.h"

namespace qiro {

namespace {

constexpr double kNumberLimit = 1000000.0;

// Lines end with CR LF in the format; a lone LF is read as if it were CR LF.
std::string NormaliseLineEnds(const std::string& raw) {
  std::string out;
  out.reserve(raw.size() + raw.size() / 16);
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\n' && (i == 0 || raw[i - 1] != '\r')) out += '\r';
    out += raw[i];
  }
  return out;
}

class TecReader {
 public:
  explicit TecReader(std::string text) : text_(std::move(text)) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  bool AtLineEnd() const { return AtEnd() || text_[pos_] == '\r' || text_[pos_] == '\n'; }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
  char Read() { return AtEnd() ? '\0' : text_[pos_++]; }

  // Up to and past the next line break (CR LF, or a lone CR or LF).
  void SkipLine() {
    while (!AtLineEnd()) ++pos_;
    if (Read() == '\r' && Peek() == '\n') ++pos_;
  }

  // The text between the first pair of double quotes of the rest of the line; empty without one.
  std::string ReadQuoted() {
    while (!AtLineEnd() && Peek() != '"') ++pos_;
    if (AtLineEnd()) return {};
    ++pos_;
    std::string value;
    while (!AtLineEnd()) {
      char c = Read();
      if (c == '"') break;
      value += c;
    }
    return value;
  }

  // Moves past the first "=" of the rest of the line; false (and at the line end) without one.
  bool SkipToEquals() {
    while (!AtLineEnd()) {
      if (Read() == '=') return true;
    }
    return false;
  }

  // Spaces, an optional "+", an optional "-", then digits and points. The character that ends
  // the number is consumed unless the number ends at the line break.
  std::string ReadNumberText() {
    while (!AtLineEnd() && Peek() == ' ') ++pos_;
    std::string collected;
    if (Peek() == '+' && !AtLineEnd()) collected += Read();
    if (Peek() == '-' && !AtLineEnd()) collected += Read();
    while (!AtLineEnd()) {
      char c = Read();
      if ((c < '0' || c > '9') && c != '.') break;
      collected += c;
    }
    return collected;
  }

 private:
  std::string text_;
  std::size_t pos_ = 0;
};

// Decodes sign, digits and points; a second point is ignored ("1.2.3" is 1.23); no digits gives 0.
double DecodeNumber(const std::string& collected) {
  bool negative = false;
  bool seenPoint = false;
  bool anyDigit = false;
  std::string plain;
  for (char c : collected) {
    if (c == '-') {
      negative = true;
    } else if (c == '.') {
      if (!seenPoint) plain += c;
      seenPoint = true;
    } else if (c >= '0' && c <= '9') {
      plain += c;
      anyDigit = true;
    }
  }
  if (!anyDigit) return 0.0;
  if (plain.front() == '.') plain.insert(plain.begin(), '0');
  double value = 0.0;
  auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (result.ec == std::errc::result_out_of_range) value = 2 * kNumberLimit;  // caught by the range check
  return negative ? -value : value;
}

void ReportNumberError(Workspace& ws, const std::string& text) {
  ws.circuit.MessageArg = text;
  ReportError(ws, 15);
}

// Reads "... = number" into value. A line without "=" or ending right after it changes nothing.
// Out of range numbers store 0 and are reported.
void ReadNumberValue(Workspace& ws, TecReader& in, double& value) {
  if (!in.SkipToEquals()) return;
  if (in.AtLineEnd()) return;
  const std::string collected = in.ReadNumberText();
  const double v = DecodeNumber(collected);
  if (v < -kNumberLimit || v > kNumberLimit) {
    value = 0.0;
    ReportNumberError(ws, collected);
    return;
  }
  value = v;
}

// The step length divides every delay conversion: a value of 0 or below is refused and the
// previous one kept.
void ReadTimeUnit(Workspace& ws, TecReader& in) {
  if (!in.SkipToEquals()) return;
  if (in.AtLineEnd()) return;
  const std::string collected = in.ReadNumberText();
  const double v = DecodeNumber(collected);
  if (v <= 0.0 || v > kNumberLimit) {
    ReportNumberError(ws, collected);
    return;
  }
  ws.tech.TimeUnit = v;
}

bool IsWidthKey(char c1, char c2) {
  if (c2 != 'W') return false;
  switch (c1) {
    case 'M':
    case 'N':
    case 'P':
    case 'S':
    case 'T':
    case 'V':
      return false;
    default:
      return true;
  }
}

}  // namespace

bool LoadTechnology(Workspace& ws, const std::filesystem::path& path) {
  ws.circuit.Extracted = false;
  SetStatus(ws, 0, "Select foundry \"" + path.string() + "\"");
  std::string raw;
  if (!ReadWholeFile(path, raw)) {
    SetStatus(ws, 1, "Warning: no technology");
    return false;
  }
  TecReader in(NormaliseLineEnds(raw));
  Technology& tech = ws.tech;
  while (!in.AtEnd()) {
    const char c1 = in.Read();
    const char c2 = in.Read();
    in.Read();  // third column: any character
    if (c1 == 'N' && c2 == 'A') {
      tech.TechName = Counted(in.ReadQuoted());
      SetStatus(ws, 1, tech.TechName);
    } else if (c1 == 'T' && c2 == 'I') {
      ReadTimeUnit(ws, in);
    } else if (c1 == 'T' && c2 == 'D') {
      ReadNumberValue(ws, in, tech.UnitGateDelay);
    } else if (c1 == 'T' && c2 == 'W') {
      ReadNumberValue(ws, in, tech.WireDelayUnit);
    } else if (c1 == 'T' && c2 == 'C') {
      ReadNumberValue(ws, in, tech.TechCurrentFactor);
    } else if (c1 == 'V' && c2 == 'D') {
      ReadNumberValue(ws, in, tech.SupplyVoltage);
    } else if (c1 == 'M' && c2 == 'L') {
      tech.DefaultMosLength = Counted(in.ReadQuoted());
      in.SkipLine();
    } else if (IsWidthKey(c1, c2)) {
      tech.DefaultMosWidth = Counted(in.ReadQuoted());
      in.SkipLine();
    } else {
      // PI (pin data) and SY (symbol) lines are read by older programs and not kept here;
      // like unknown keys they end at their line break.
      in.SkipLine();
    }
  }
  SetStatus(ws, 1, tech.TechName);
  return true;
}

}  // namespace qiro
