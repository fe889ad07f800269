#include "ui/ProgressDisplay.h"

#include <algorithm>

namespace viamappa {

ProgressDisplay::ProgressDisplay(UserInterface& ui) : ui_(ui) {
  ui_.ProgressBegin();
}

ProgressDisplay::~ProgressDisplay() {
  ui_.ProgressEnd();
}

void ProgressDisplay::SetPhase(std::string_view phase) {
  shown_percent_ = -1;
  ui_.ProgressPhase(phase);
}

void ProgressDisplay::SetPercent(int percent) {
  percent = std::clamp(percent, 0, 100);
  if (percent == shown_percent_) return;
  shown_percent_ = percent;
  ui_.ProgressPercent(percent);
}

void ProgressDisplay::SetProgress(long long done, long long total) {
  SetPercent(total > 0 ? static_cast<int>(std::clamp(done, 0LL, total) * 100 / total) : 0);
}

}  // namespace viamappa
