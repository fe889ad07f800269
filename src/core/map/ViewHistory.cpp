#include "map/ViewHistory.h"

namespace viamappa {

void ViewHistory::Push(const ViewEntry& entry) {
  if (count_ > 0 && entries_[top_] == entry) return;
  if (count_ == 0) {
    top_ = oldest_ = 0;
  } else {
    top_ = (top_ + 1) % kCapacity;
  }
  entries_[top_] = entry;
  if (count_ < kCapacity) {
    ++count_;
  } else {
    oldest_ = (top_ + 1) % kCapacity;
  }
}

ViewEntry ViewHistory::Pop() {
  top_ = (top_ + kCapacity - 1) % kCapacity;
  --count_;
  return entries_[top_];
}

}  // namespace viamappa
