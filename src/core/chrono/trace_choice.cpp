// Rows are matched to traces by name; a name used twice takes the traces in registration order.
#include "chrono/trace_choice.h"

#include <algorithm>
#include <cctype>

#include "chrono/chrono_store.h"
#include "extract/node_table.h"

namespace qiro {

namespace {

bool Contains(const std::vector<std::string>& list, std::string_view name) {
  return std::find(list.begin(), list.end(), name) != list.end();
}

void Erase(std::vector<std::string>& list, std::string_view name) {
  list.erase(std::remove(list.begin(), list.end(), name), list.end());
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

bool TraceChoice::IsRemoved(std::string_view name) const {
  return Contains(removed, name);
}

void TraceChoice::Add(const std::string& name, bool isNode) {
  if (name.empty()) return;
  Erase(removed, name);
  if (isNode && !Contains(nodes, name)) nodes.push_back(name);
}

void TraceChoice::Remove(const std::string& name) {
  Erase(nodes, name);
  if (!Contains(removed, name)) removed.push_back(name);
}

std::vector<int> ChosenRows(const ChronoStore& store, const TraceChoice& choice) {
  const int count = store.TraceCount();
  std::vector<char> taken(static_cast<std::size_t>(count) + 1, 0);
  std::vector<int> rows;
  auto take = [&](int j) {
    taken[static_cast<std::size_t>(j)] = 1;
    if (!choice.IsRemoved(store.Trace(j).name)) rows.push_back(j);
  };
  for (const std::string& name : choice.order)
    for (int j = 1; j <= count; ++j)
      if (!taken[static_cast<std::size_t>(j)] && store.Trace(j).name == name) {
        take(j);
        break;
      }
  for (int j = 1; j <= count; ++j)
    if (!taken[static_cast<std::size_t>(j)]) take(j);
  return rows;
}

void MoveRow(TraceChoice& choice, const ChronoStore& store, int from, int to) {
  std::vector<int> rows = ChosenRows(store, choice);
  const int n = static_cast<int>(rows.size());
  if (from < 0 || from >= n || to < 0 || to >= n || from == to) return;
  const int moved = rows[static_cast<std::size_t>(from)];
  rows.erase(rows.begin() + from);
  rows.insert(rows.begin() + to, moved);
  choice.order.clear();
  for (int j : rows) choice.order.push_back(store.Trace(j).name);
}

std::vector<std::string> NodeNames(const NodeTable& nodes) {
  std::vector<std::string> names;
  for (int n = 0; n <= nodes.Count(); ++n)
    if (!nodes[n].Name.empty()) names.push_back(nodes[n].Name);
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

std::vector<std::string> FilterNames(const std::vector<std::string>& names, std::string_view filter) {
  const std::string want = Lower(filter);
  std::vector<std::string> out;
  for (const std::string& name : names)
    if (Lower(name).find(want) != std::string::npos) out.push_back(name);
  return out;
}

}  // namespace qiro
