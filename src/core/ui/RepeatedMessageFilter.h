// A user interface in front of another that shows each error message of a batch command once: the same
// text shown again is counted instead, and the counts are reported once when the filter ends. A command
// that fails on every row of a large file does not hold the person for thousands of clicks.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "ui/ForwardingInterface.h"

namespace viamappa {

class RepeatedMessageFilter : public ForwardingInterface {
 public:
  explicit RepeatedMessageFilter(UserInterface& target) : ForwardingInterface(target) {}
  // Reports the repeated messages.
  ~RepeatedMessageFilter() override;

  void ShowMessage(std::string_view text, MessageIcon icon, std::string_view caption = {}) override;

  // Shows the counts of the repeated messages now, and forgets them.
  void ReportRepeats();

 private:
  struct Shown {
    MessageIcon icon;
    std::string caption;
    int repeats = 0;
  };
  std::map<std::string, Shown> shown_;
  std::vector<std::string> order_;
};

}  // namespace viamappa
