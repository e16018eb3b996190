// Test-vector files (.tst): a truth table to run against a circuit. The first line that is not
// blank or a comment names the inputs, then "|", then the outputs; every later line is a row of
// one value per column. "#" starts a comment; "hold N" sets the settle time in steps of the rows
// that follow it in the text; "repeat N" ... "end" repeats the rows between them N times (they
// nest). The reader checks the text only; which names and values fit a circuit is the runner's
// business.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qiro {

inline constexpr int kMaxTestRows = 100000;  // rows after the repeats are unrolled
inline constexpr int kMaxHoldSteps = 100000;

struct TestRow {
  int line = 0;                    // line of the file, from 1
  int hold = 0;                    // settle time in steps; 0: the circuit's default
  std::vector<std::string> cells;  // inputs first, then outputs, as written
};

struct TestVectors {
  std::vector<std::string> inputs, outputs;
  std::vector<TestRow> rows;  // unrolled, in the order they run
};

struct TestVectorsResult {
  TestVectors vectors;
  std::string error;  // "line N: ..." or "" when the text was read
  bool ok() const { return error.empty(); }
};

// Reads a whole file's text; CR LF and LF lines both work.
TestVectorsResult ReadTestVectors(std::string_view text);

// The value codes of a cell. A single character 0..9 or A..F (either case) is also a key for
// keyboards; up to two hexadecimal digits are values of digits and displays.
bool IsClockPulse(const std::string& cell);
bool IsDontCare(const std::string& cell);
// The number of one or two hexadecimal digits, or -1.
int HexValue(const std::string& cell);

}  // namespace qiro
