// The four panes of the main window's status bar, by what each shows, and a set of texts for them.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace viamappa {

enum class StatusPane {
  Mode = 0,    // the name of the current mode or tool
  Scale = 1,   // "Scala 1:N"
  Prompt = 2,  // the pointer's position, or what the person is asked to do
  Note = 3,    // a further remark; as a rule a single blank
};

inline constexpr int kStatusPaneCount = 4;

// Texts for some of the panes; the panes without one keep what they show.
class StatusTexts {
 public:
  void Set(StatusPane pane, std::string text) { texts_[static_cast<int>(pane)] = std::move(text); }
  const std::optional<std::string>& operator[](StatusPane pane) const {
    return texts_[static_cast<int>(pane)];
  }
  bool empty() const {
    for (const auto& text : texts_)
      if (text) return false;
    return true;
  }

 private:
  std::array<std::optional<std::string>, kStatusPaneCount> texts_;
};

}  // namespace viamappa
