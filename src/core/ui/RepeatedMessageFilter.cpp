#include "ui/RepeatedMessageFilter.h"

#include "base/NumberText.h"

namespace viamappa {

RepeatedMessageFilter::~RepeatedMessageFilter() {
  ReportRepeats();
}

void RepeatedMessageFilter::ShowMessage(std::string_view text, MessageIcon icon, std::string_view caption) {
  // Information is the result of the command: always shown, after the repeats are reported.
  if (icon == MessageIcon::Information || icon == MessageIcon::None || icon == MessageIcon::Question) {
    ReportRepeats();
    target().ShowMessage(text, icon, caption);
    return;
  }
  const std::string key(text);
  const auto [it, first] = shown_.try_emplace(key, Shown{icon, std::string(caption), 0});
  if (!first) {
    ++it->second.repeats;
    return;
  }
  order_.push_back(key);
  target().ShowMessage(text, icon, caption);
}

void RepeatedMessageFilter::ReportRepeats() {
  for (const std::string& text : order_) {
    const Shown& shown = shown_[text];
    if (shown.repeats == 0) continue;
    target().ShowMessage(
        "Lo stesso errore si è ripetuto altre " + FormatInteger(shown.repeats) + " volte:\n\n" + text,
        shown.icon, shown.caption);
  }
  shown_.clear();
  order_.clear();
}

}  // namespace viamappa
