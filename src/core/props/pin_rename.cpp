#include "props/pin_rename.h"

#include "model/verilog_text.h"

namespace qiro {

namespace {

bool IsSeparator(char c) {
  return c == ' ' || c == ',' || c == '(' || c == ')' || c == ';';
}

// The part of the line that holds its port names, as [begin, end).
std::pair<std::size_t, std::size_t> PortRegion(std::string_view line) {
  const std::string first = VerilogWord(line, 1);
  if (first == "input" || first == "output" || first == "wire")
    return {VerilogWordSpan(line, 1).second, line.size()};
  std::size_t open = line.find('(');
  const std::size_t hash = line.find('#');
  if (hash != std::string_view::npos && open != std::string_view::npos && open > hash) {
    const std::size_t close = line.find(')', open);
    open = close == std::string_view::npos ? std::string_view::npos : line.find('(', close);
  }
  if (open == std::string_view::npos) return {line.size(), line.size()};
  const std::size_t close = line.find(')', open);
  return {open, close == std::string_view::npos ? line.size() : close};
}

}  // namespace

std::string RenamePortInLine(std::string_view line, std::string_view oldName, std::string_view newName) {
  if (oldName.empty()) return std::string(line);
  const auto [begin, end] = PortRegion(line);
  std::string out(line.substr(0, begin));
  std::size_t p = begin;
  while (p < end) {
    if (IsSeparator(line[p])) {
      out += line[p++];
      continue;
    }
    std::size_t q = p;
    while (q < end && !IsSeparator(line[q])) ++q;
    const std::string_view name = line.substr(p, q - p);
    out += name == oldName ? newName : name;
    p = q;
  }
  out += line.substr(end);
  return out;
}

std::string RenameGateInstance(std::string_view line, std::string_view newName) {
  const int n = line.find('#') == std::string_view::npos ? 2 : 3;
  const auto [start, end] = VerilogWordSpan(line, n);
  if (start == end) return std::string(line);
  return std::string(line.substr(0, start)) + std::string(newName) + std::string(line.substr(end));
}

}  // namespace qiro
