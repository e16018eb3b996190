// Scanning one line of a schematic or symbol file: the small integer and real readers
// of the file format. An integer that would reach 100000 restarts from 0 at that digit;
// a real is limited to -100000 .. 100000. The character that ends a number is consumed.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "model/parse_decimal.h"

namespace qiro {

// A position in one line with the number scanners of the file format.
class LineScanner {
 public:
  LineScanner(std::string_view line, std::size_t pos) : line_(line), pos_(pos) {}

  void Skip(std::size_t n) { pos_ = std::min(line_.size(), pos_ + n); }
  void SkipSpaces() {
    while (pos_ < line_.size() && line_[pos_] == ' ') ++pos_;
  }
  void SkipPast(char c) {
    const std::size_t p = line_.find(c, pos_);
    pos_ = p == std::string_view::npos ? line_.size() : p + 1;
  }
  bool AtEnd() const { return pos_ >= line_.size(); }
  std::string_view Rest() const { return line_.substr(std::min(pos_, line_.size())); }

  int ReadInt() {
    SkipSpaces();
    if (pos_ < line_.size() && line_[pos_] == '+') ++pos_;
    bool negative = false;
    if (pos_ < line_.size() && line_[pos_] == '-') {
      negative = true;
      ++pos_;
    }
    int value = 0;
    while (pos_ < line_.size() && line_[pos_] >= '0' && line_[pos_] <= '9') {
      value = value * 10 + (line_[pos_] - '0');
      if (value >= 100000) value = 0;
      ++pos_;
    }
    if (pos_ < line_.size()) ++pos_;
    return negative ? -value : value;
  }

  double ReadReal() {
    SkipSpaces();
    if (pos_ < line_.size() && line_[pos_] == '+') ++pos_;
    std::string text;
    if (pos_ < line_.size() && line_[pos_] == '-') {
      text = "-";
      ++pos_;
    }
    while (pos_ < line_.size() && ((line_[pos_] >= '0' && line_[pos_] <= '9') || line_[pos_] == '.'))
      text += line_[pos_++];
    if (pos_ < line_.size()) ++pos_;
    return ParseDecimal(text, 0, 100000, -100000).value;
  }

 private:
  std::string_view line_;
  std::size_t pos_;
};

}  // namespace qiro
