// The last 64 views of the map, for going back to the previous one.
#pragma once

#include <array>
#include <cstdint>

namespace viamappa {

struct ViewEntry {
  std::int32_t denominator = 0;
  double resolution = 0;
  double x0 = 0;
  double y0 = 0;

  friend bool operator==(const ViewEntry&, const ViewEntry&) = default;
};

class ViewHistory {
 public:
  static constexpr int kCapacity = 64;

  // Records a view; a view equal to the one on top is not recorded twice. Past 64 views the oldest goes.
  void Push(const ViewEntry& entry);

  // True with at least two views: there is one to go back to.
  bool CanGoBack() const { return count_ > 0 && top_ != oldest_; }

  // Goes back: the view below the top becomes the top and is returned. Only when CanGoBack.
  ViewEntry Pop();

  int size() const { return count_; }

 private:
  std::array<ViewEntry, kCapacity> entries_{};
  int top_ = 0;
  int oldest_ = 0;
  int count_ = 0;
};

}  // namespace viamappa
