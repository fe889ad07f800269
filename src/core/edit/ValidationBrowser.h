// The findings of the graph check as the window that lists them shows them: the counts, one line per
// finding, and the place of the map to show for the finding chosen, one after the other.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/Box.h"
#include "edit/GraphValidation.h"

namespace viamappa {

class ValidationBrowser {
 public:
  static constexpr std::string_view kTitle = "Verifica Grafo Stradale";
  static constexpr std::string_view kPrevious = "Precedente";
  static constexpr std::string_view kNext = "Successivo";
  static constexpr std::string_view kClose = "Chiudi";
  // The least width and height of the map shown around a finding, in metres.
  static constexpr double kLeastView = 100;

  explicit ValidationBrowser(GraphValidation validation) : validation_(std::move(validation)) {}

  const GraphValidation& validation() const { return validation_; }
  std::string CountsText() const;
  int size() const { return static_cast<int>(validation_.findings.size()); }
  std::string ItemText(int index) const;

  // The finding chosen; -1 before the first choice.
  int current() const { return current_; }
  bool HasPrevious() const { return current_ > 0; }
  bool HasNext() const { return current_ + 1 < size(); }

  // Chooses a finding (an index outside the list is ignored) and answers the part of the map to show:
  // the finding with a margin, at least kLeastView wide and high. nullopt when there is nothing to show.
  std::optional<Box> Choose(int index);
  std::optional<Box> Previous() { return Choose(current_ - 1); }
  std::optional<Box> Next() { return Choose(current_ + 1); }

 private:
  GraphValidation validation_;
  int current_ = -1;
};

}  // namespace viamappa
