// The highlight criteria dialog ("Criteri Evidenziazione Archi Stradali"): a check box per criterion in
// the groups "Classi" and "Stato", the indicator "Nessuna Selezione", OK and "Annulla". The model holds
// the flags; a view shows them and hands it the clicks.
#pragma once

#include <optional>

#include "query/HighlightCriteria.h"

namespace viamappa {

class HighlightCriteriaDialog {
 public:
  static constexpr const char* kTitle = "Criteri Evidenziazione Archi Stradali";
  static constexpr const char* kClassesGroup = "Classi";
  static constexpr const char* kStatesGroup = "Stato";
  static constexpr const char* kNoneBox = "Nessuna Selezione";
  static constexpr int kNoneControl = 1051;
  static constexpr const char* kOkButton = "OK";
  static constexpr const char* kCancelButton = "Annulla";

  // Every criterion off, the indicator on.
  HighlightCriteriaDialog() = default;

  // A click on a criterion's box toggles its flag.
  void Toggle(HighlightCriterion criterion);
  // A click on the indicator changes no flag.
  void ClickNone() {}

  bool checked(HighlightCriterion criterion) const { return Flag(flags_, criterion); }
  // The indicator: on exactly when no criterion is.
  bool none_checked() const;
  const HighlightFlags& flags() const { return flags_; }

  // OK: the condition of the flags; nullopt when no criterion is on, which means no highlighting.
  std::optional<std::string> Condition() const;

 private:
  HighlightFlags flags_{};
};

}  // namespace viamappa
