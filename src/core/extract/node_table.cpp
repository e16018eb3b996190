#include "extract/node_table.h"

#include "model/text.h"

namespace qiro {

int NodeTable::AddNode(std::string_view name, int& errorCode) {
  if (count_ >= kMaxNodes) {
    errorCode = 4;
    return 0;
  }
  ++count_;
  nodes_.resize(static_cast<std::size_t>(count_) + 1);
  TNode& n = nodes_[static_cast<std::size_t>(count_)];
  n = TNode{};
  n.Name = Counted(name);
  return count_;
}

const std::string& NodeTable::NodeName(int n) const {
  static const std::string vss = "vss";
  return Valid(n) ? nodes_[static_cast<std::size_t>(n)].Name : vss;
}

void NodeTable::Reset() {
  nodes_.assign(2, TNode{});
  nodes_[0].Name = "vss";
  nodes_[0].Value = kLogic0;
  nodes_[0].PrevValue = kLogic0;
  nodes_[0].DriveKind = kDriveLow;
  nodes_[1].Name = "vdd";
  nodes_[1].Value = kLogic1;
  nodes_[1].PrevValue = kLogic1;
  nodes_[1].DriveKind = kDriveHigh;
  count_ = 1;
  ++generation_;
}

}  // namespace qiro
