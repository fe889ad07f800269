// The progress bar and phase banner of one long operation, which owns it for its duration.
#pragma once

#include <string_view>

#include "ui/UserInterface.h"

namespace viamappa {

class ProgressDisplay {
 public:
  explicit ProgressDisplay(UserInterface& ui);
  ~ProgressDisplay();
  ProgressDisplay(const ProgressDisplay&) = delete;
  ProgressDisplay& operator=(const ProgressDisplay&) = delete;

  void SetPhase(std::string_view phase);

  // Percent is clamped to 0..100; repeating the shown value costs nothing.
  void SetPercent(int percent);

  // Percent of done items out of total, 0 when total is not positive.
  void SetProgress(long long done, long long total);

 private:
  UserInterface& ui_;
  int shown_percent_ = -1;
};

}  // namespace viamappa
