#include "edit/NewArcForm.h"

#include "base/TextUtil.h"
#include "base/Utf8.h"

namespace viamappa {

namespace {

std::string Limited(std::string_view text) {
  std::string out;
  std::size_t pos = 0;
  for (std::size_t n = 0; n < kArcNameCharacters && pos < text.size(); ++n) {
    const std::size_t start = pos;
    utf8::DecodeNext(text, pos);
    out.append(text.substr(start, pos - start));
  }
  return out;
}

}  // namespace

void NewArcForm::SetName(std::string_view text) {
  name_ = Limited(text);
}

void NewArcForm::SetAlternative(std::string_view text) {
  alternative_ = Limited(text);
}

void NewArcForm::SetClassIndex(int index) {
  class_index_ = index >= 0 && index < static_cast<int>(kRoadClassEntries.size()) ? index : 0;
}

std::optional<std::string> NewArcForm::Accept() {
  const std::string_view name = TrimTrailingBlanks(name_);
  if (name.empty())
    return std::string(
        "ATTENZIONE: La Denominazione dell'Arco Stradale non è indicata.\n\n"
        "Occorre specificare la Denominazione dell'Arco Stradale.");
  if (class_index_ == 0)
    return std::string(
        "ATTENZIONE: La Classe dell'Arco Stradale non è indicata.\n\n"
        "Occorre specificare la Classe dell'Arco Stradale.");
  std::string_view alternative = TrimTrailingBlanks(alternative_);
  if (alternative == name) alternative = {};
  values_.denom = std::string(name);
  values_.alterna = std::string(alternative);
  values_.classe = std::string(kRoadClassEntries[class_index_].substr(0, 2));
  return std::nullopt;
}

}  // namespace viamappa
