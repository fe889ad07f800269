#include "edit/SuggestionsDialog.h"

namespace viamappa {

namespace {

std::string Quoted(std::string_view label, std::string_view text) {
  std::string out(label);
  out.append(": \"").append(text).append("\"");
  return out;
}

}  // namespace

SuggestionsDialog::SuggestionsDialog(std::string title, std::string prompt, std::string list_label,
                                     std::vector<std::string> entries, bool offers_new_type)
    : title_(std::move(title)),
      prompt_(std::move(prompt)),
      list_label_(std::move(list_label)),
      entries_(std::move(entries)),
      offers_new_type_(offers_new_type) {}

void SuggestionsDialog::Select(int index) {
  if (index >= 0 && index < static_cast<int>(entries_.size())) {
    selection_ = index;
  } else {
    selection_.reset();
  }
}

std::optional<std::string> SuggestionsDialog::Accept() const {
  if (selection_) return std::nullopt;
  return std::string(kNoChoiceMessage);
}

std::string SuggestionsDialog::chosen() const {
  return selection_ ? entries_[*selection_] : std::string();
}

NameSuggestionsDialog::NameSuggestionsDialog(std::string_view typed, std::vector<std::string> names)
    : SuggestionsDialog(std::string(kTitle), Quoted("Denominazione proposta", typed),
                        "Alternative suggerite:", std::move(names), false) {}

TypeSuggestionsDialog::TypeSuggestionsDialog(std::string_view typed_type, std::vector<std::string> types)
    : SuggestionsDialog(std::string(kTitle), Quoted("Tipo strada proposto", typed_type), {}, std::move(types),
                        true) {}

}  // namespace viamappa
