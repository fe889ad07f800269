#include "query/HighlightCriteriaDialog.h"

#include <algorithm>

namespace viamappa {

void HighlightCriteriaDialog::Toggle(HighlightCriterion criterion) {
  bool& flag = Flag(flags_, criterion);
  flag = !flag;
}

bool HighlightCriteriaDialog::none_checked() const {
  return std::none_of(flags_.begin(), flags_.end(), [](bool on) { return on; });
}

std::optional<std::string> HighlightCriteriaDialog::Condition() const {
  if (none_checked()) return std::nullopt;
  return HighlightCondition(flags_);
}

}  // namespace viamappa
