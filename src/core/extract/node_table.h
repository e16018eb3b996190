// The electrical nodes found by extraction. Node 0 is "vss" and node 1 "vdd"; both always exist.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/records.h"

namespace qiro {

inline constexpr int kMaxNodes = 2048;  // highest node index

// How a node is driven while simulating.
enum : std::uint8_t { kDriveHigh = 0, kDriveLow = 1, kDriveCircuit = 2, kDrivePeriodic = 3, kDrivePwl = 4 };

struct TNode {
  std::uint8_t Value = kLogicX;
  double Level = 0.0;
  std::uint8_t PrevValue = kLogicX;
  int Drivers = 0;
  std::uint8_t Mark = 1;
  std::string Name;
  std::uint8_t DriveKind = kDriveCircuit;
  int Param1 = 0, Param2 = 0;
};

// The node went 0 -> 1 (or 1 -> 0) in this step.
inline bool RoseThisStep(const TNode& n) {
  return n.PrevValue == kLogic0 && n.Value == kLogic1;
}
inline bool FellThisStep(const TNode& n) {
  return n.PrevValue == kLogic1 && n.Value == kLogic0;
}

class NodeTable {
 public:
  NodeTable() { Reset(); }

  int Count() const { return count_; }
  bool Valid(int n) const { return n >= 0 && n <= count_; }
  TNode& operator[](int n) {
    if (!Valid(n)) {
      scratch_ = TNode{};
      return scratch_;
    }
    return nodes_[static_cast<std::size_t>(n)];
  }
  const TNode& operator[](int n) const {
    static const TNode empty{};
    return Valid(n) ? nodes_[static_cast<std::size_t>(n)] : empty;
  }

  // Adds a node at Count() + 1; when the table is full sets errorCode to 4 and returns 0.
  int AddNode(std::string_view name, int& errorCode);
  // The node's name, or "vss" for an index outside 0..Count().
  const std::string& NodeName(int n) const;
  // Releases every node from index 2 on; the two supply nodes are made afresh.
  void Reset();
  // Counts the resets, so values read from an earlier table can be told apart.
  int Generation() const { return generation_; }

 private:
  std::vector<TNode> nodes_;
  int count_ = 1;
  int generation_ = 0;
  TNode scratch_{};
};

}  // namespace qiro
