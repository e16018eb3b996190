// A log of every node value change during a run, kept only when asked for (headless runs that
// write the all-nodes waveform file). Every node starts at x except the two supply nodes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qiro {

class NodeChangeLog {
 public:
  struct Change {
    int step;
    int node;
    std::uint8_t value;  // value code
  };

  // Changes beyond this many are not kept (the run goes on); Truncated() tells.
  static constexpr std::size_t kMaxChanges = 4'000'000;

  bool enabled = false;

  void Clear() {
    changes_.clear();
    truncated_ = false;
  }
  void Record(int step, int node, std::uint8_t value) {
    if (!enabled) return;
    if (changes_.size() >= kMaxChanges) {
      truncated_ = true;
      return;
    }
    changes_.push_back({step, node, value});
  }
  const std::vector<Change>& Changes() const { return changes_; }
  bool Truncated() const { return truncated_; }

 private:
  std::vector<Change> changes_;
  bool truncated_ = false;
};

}  // namespace qiro
