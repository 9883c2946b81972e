// A stack of integers (half-edge or point indices) for the flip, removal and insertion loops.
#pragma once

#include <cassert>
#include <vector>

namespace qv {

class TPila {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  int Top() const {
    assert(!items_.empty());
    return items_.back();
  }
  void Push(int value) { items_.push_back(value); }
  int Pop() {
    assert(!items_.empty());
    int v = items_.back();
    items_.pop_back();
    return v;
  }
  bool IsEmpty() const { return items_.empty(); }

 private:
  std::vector<int> items_;
};

}  // namespace qv
