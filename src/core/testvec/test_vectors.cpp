// The .tst reader: lines are cut at "#", split into words ("|" is a word of its own), and read
// as the header, a keyword line or a row. Repeats are unrolled as their "end" is met, so the
// rows come out in the order they run; each keeps the line it came from for the reports.
#include "testvec/test_vectors.h"

#include <algorithm>
#include <cctype>

namespace qiro {

namespace {

std::vector<std::string> Words(std::string_view line) {
  std::vector<std::string> words;
  std::string word;
  auto flush = [&] {
    if (!word.empty()) words.push_back(word);
    word.clear();
  };
  for (const char c : line) {
    if (c == '#') break;
    if (c == '|') {
      flush();
      words.emplace_back("|");
    } else if (std::isspace(static_cast<unsigned char>(c))) {
      flush();
    } else {
      word += c;
    }
  }
  flush();
  return words;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// A whole number lo..hi, or -1.
int Count(const std::string& word, int lo, int hi) {
  if (word.empty() || word.size() > 7 ||
      !std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return -1;
  const int v = std::stoi(word);
  return v >= lo && v <= hi ? v : -1;
}

struct Reader {
  TestVectorsResult result;
  int lineNo = 0;
  int hold = 0;
  struct Open {
    std::size_t first;
    int count, line;
  };
  std::vector<Open> repeats;
  bool haveHeader = false;

  bool Fail(int line, const std::string& what) {
    result.error = "line " + std::to_string(line) + ": " + what;
    return false;
  }

  bool Header(const std::vector<std::string>& w) {
    const auto bar = std::find(w.begin(), w.end(), "|");
    if (bar == w.end() || std::find(bar + 1, w.end(), "|") != w.end())
      return Fail(lineNo, "the header names the inputs, then '|', then the outputs");
    TestVectors& v = result.vectors;
    v.inputs.assign(w.begin(), bar);
    v.outputs.assign(bar + 1, w.end());
    if (v.outputs.empty()) return Fail(lineNo, "the header names no output after '|'");
    std::vector<std::string> all = v.inputs;
    all.insert(all.end(), v.outputs.begin(), v.outputs.end());
    for (std::size_t i = 0; i < all.size(); ++i)
      if (std::find(all.begin(), all.begin() + static_cast<long>(i), all[i]) !=
          all.begin() + static_cast<long>(i))
        return Fail(lineNo, "'" + all[i] + "' is named twice in the header");
    haveHeader = true;
    return true;
  }

  bool Keyword(const std::vector<std::string>& w, bool& handled) {
    handled = true;
    const std::string key = Lower(w[0]);
    if (key == "hold") {
      const int n = w.size() == 2 ? Count(w[1], 0, kMaxHoldSteps) : -1;
      if (n < 0) return Fail(lineNo, "hold needs a number of steps, 0 to " + std::to_string(kMaxHoldSteps));
      hold = n;
    } else if (key == "repeat") {
      const int n = w.size() == 2 ? Count(w[1], 0, kMaxTestRows) : -1;
      if (n < 0) return Fail(lineNo, "repeat needs a count, 0 to " + std::to_string(kMaxTestRows));
      repeats.push_back({result.vectors.rows.size(), n, lineNo});
    } else if (key == "end") {
      if (w.size() != 1) return Fail(lineNo, "end stands alone on its line");
      if (repeats.empty()) return Fail(lineNo, "end without repeat");
      return Unroll();
    } else {
      handled = false;
    }
    return true;
  }

  bool Unroll() {
    const Open r = repeats.back();
    repeats.pop_back();
    auto& rows = result.vectors.rows;
    const std::vector<TestRow> body(rows.begin() + static_cast<long>(r.first), rows.end());
    if (r.count == 0) {
      rows.resize(r.first);
      return true;
    }
    if (static_cast<long long>(body.size()) * (r.count - 1) + static_cast<long long>(rows.size()) >
        kMaxTestRows)
      return Fail(lineNo, "more than " + std::to_string(kMaxTestRows) + " rows");
    for (int k = 1; k < r.count; ++k) rows.insert(rows.end(), body.begin(), body.end());
    return true;
  }

  bool Row(std::vector<std::string> w) {
    const TestVectors& v = result.vectors;
    const std::size_t in = v.inputs.size();
    // The "|" between inputs and outputs may be written in rows too.
    if (w.size() > in && w[in] == "|") w.erase(w.begin() + static_cast<long>(in));
    if (std::find(w.begin(), w.end(), "|") != w.end()) return Fail(lineNo, "'|' must stand after the inputs");
    const std::size_t columns = in + v.outputs.size();
    if (w.size() != columns)
      return Fail(lineNo, std::to_string(w.size()) + " values for " + std::to_string(columns) + " columns");
    for (std::size_t c = 0; c < w.size(); ++c) {
      const std::string& cell = w[c];
      const bool ok = c < in ? cell.size() == 1 && HexValue(cell) >= 0
                             : IsDontCare(cell) || Lower(cell) == "x" || HexValue(cell) >= 0;
      if (!ok) {
        const std::string& name = c < in ? v.inputs[c] : v.outputs[c - in];
        return Fail(lineNo,
                    "'" + cell + "' is not a value for " + name +
                        (c < in ? " (0, 1, C or a hexadecimal key)" : " (0, 1, x, - or hexadecimal)"));
      }
    }
    if (static_cast<int>(result.vectors.rows.size()) >= kMaxTestRows)
      return Fail(lineNo, "more than " + std::to_string(kMaxTestRows) + " rows");
    result.vectors.rows.push_back({lineNo, hold, std::move(w)});
    return true;
  }

  bool Line(std::string_view line) {
    const std::vector<std::string> w = Words(line);
    if (w.empty()) return true;
    if (!haveHeader) return Header(w);
    bool handled = false;
    if (!Keyword(w, handled)) return false;
    return handled || Row(w);
  }
};

}  // namespace

bool IsClockPulse(const std::string& cell) {
  return cell == "C" || cell == "c";
}

bool IsDontCare(const std::string& cell) {
  return cell == "-";
}

int HexValue(const std::string& cell) {
  if (cell.empty() || cell.size() > 2) return -1;
  int v = 0;
  for (const char c : cell) {
    const int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                  : c >= 'a' && c <= 'f'                      ? c - 'a' + 10
                  : c >= 'A' && c <= 'F'                      ? c - 'A' + 10
                                                              : -1;
    if (d < 0) return -1;
    v = v * 16 + d;
  }
  return v;
}

TestVectorsResult ReadTestVectors(std::string_view text) {
  Reader r;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    if (pos == text.size() && pos > 0) break;  // the text ended with its last line's newline
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++r.lineNo;
    if (!r.Line(line)) return r.result;
    if (end == text.size()) break;
    pos = end + 1;
  }
  if (!r.repeats.empty()) {
    r.Fail(r.repeats.back().line, "repeat without end");
  } else if (!r.haveHeader) {
    r.Fail(std::max(1, r.lineNo), "no header line (inputs | outputs)");
  } else if (r.result.vectors.rows.empty()) {
    r.Fail(r.lineNo, "no rows to test");
  }
  return r.result;
}

}  // namespace qiro
