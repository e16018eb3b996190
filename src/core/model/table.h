// Fixed-capacity tables indexed from 1, as every circuit table of Qiro is.
// Entry 0 exists but is never used; an index outside 1..Count() yields a scratch
// entry instead of touching memory it should not, so a stray index cannot crash.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace qiro {

template <class T, int Capacity>
class Table {
 public:
  static constexpr int kCapacity = Capacity;

  Table() : items_(1) {}

  int Count() const { return static_cast<int>(items_.size()) - 1; }
  bool Full() const { return Count() >= Capacity; }
  bool Valid(int i) const { return i >= 1 && i <= Count(); }

  T& operator[](int i) {
    if (!Valid(i)) {
      scratch_ = T{};
      return scratch_;
    }
    return items_[static_cast<std::size_t>(i)];
  }
  const T& operator[](int i) const {
    if (!Valid(i)) return empty_;
    return items_[static_cast<std::size_t>(i)];
  }

  // Appends a default entry and returns its index, or 0 when the table is full.
  int Add() {
    if (Full()) return 0;
    items_.emplace_back();
    return Count();
  }
  int Add(T value) {
    if (Full()) return 0;
    items_.push_back(std::move(value));
    return Count();
  }

  // Keeps entries 1..n (n is clamped to the current count).
  void Truncate(int n) {
    if (n < 0) n = 0;
    if (n < Count()) items_.resize(static_cast<std::size_t>(n) + 1);
  }
  void Clear() { items_.resize(1); }

  // Entries 1..Count() for range-for loops.
  T* begin() { return items_.data() + 1; }
  T* end() { return items_.data() + items_.size(); }
  const T* begin() const { return items_.data() + 1; }
  const T* end() const { return items_.data() + items_.size(); }

 private:
  std::vector<T> items_;
  T scratch_{};
  static inline const T empty_{};
};

}  // namespace qiro
