#include "edit/ArcAttributesDialog.h"

#include "base/NumberText.h"
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

std::string Cut(std::string_view text) {
  return std::string(CutTrailingBlanks(text));
}

}  // namespace

int RoadClassEntry(std::string_view code) {
  if (code.empty()) return 0;
  for (std::size_t i = 0; i < kRoadClassEntries.size(); ++i) {
    const std::string_view entry = kRoadClassEntries[i];
    if (entry.size() >= code.size() && EqualsIgnoringCase(entry.substr(0, code.size()), code))
      return static_cast<int>(i);
  }
  return 0;
}

ArcAttributesInputs AttributesOf(const ArcRecord& arc) {
  ArcAttributesInputs inputs;
  inputs.id = arc.id;
  inputs.codele = Cut(arc.codele);
  inputs.codreg = Cut(arc.codreg);
  inputs.denom = Cut(arc.denom);
  inputs.orgden = Cut(arc.orgden);
  inputs.alterna = Cut(arc.alterna);
  inputs.orgalt = Cut(arc.orgalt);
  inputs.classe = Cut(arc.classe);
  inputs.can_delete = true;
  inputs.regional = !arc.aggiunto;
  return inputs;
}

ArcAttributesDialog::ArcAttributesDialog(ArcAttributesInputs inputs, UserInterface& ui, NameCheck check)
    : inputs_(std::move(inputs)),
      ui_(ui),
      check_(std::move(check)),
      name_(Limited(inputs_.denom)),
      alternative_(Limited(inputs_.alterna)),
      class_index_(RoadClassEntry(inputs_.classe)) {}

std::string ArcAttributesDialog::id_text() const {
  return FormatInteger(inputs_.id);
}

void ArcAttributesDialog::SetName(std::string_view text) {
  name_ = Limited(text);
}

void ArcAttributesDialog::SetAlternative(std::string_view text) {
  alternative_ = Limited(text);
}

void ArcAttributesDialog::SetClassIndex(int index) {
  class_index_ = index >= 0 && index < static_cast<int>(kRoadClassEntries.size()) ? index : 0;
}

bool ArcAttributesDialog::Accept() {
  // A name of blanks only is no name.
  std::string name = Cut(name_);
  if (name.empty()) {
    ui_.ShowMessage(kNoNameMessage, MessageIcon::Stop);
    return false;
  }
  if (class_index_ == 0) {
    ui_.ShowMessage(kNoClassMessage, MessageIcon::Stop);
    return false;
  }
  const std::string code(kRoadClassEntries[class_index_].substr(0, 2));
  std::string alternative = Cut(alternative_);
  if (alternative == name) alternative.clear();

  if (check_ && !check_(name)) return false;
  name_ = name;
  if (!alternative.empty()) {
    if (check_ && !check_(alternative)) return false;
    alternative_ = alternative;
  }
  values_ = {name, alternative, code};
  return true;
}

bool ArcAttributesDialog::ConfirmDeletion() {
  if (!inputs_.can_delete) return false;
  std::string text = "E' stata richiesta l'ELIMINAZIONE dell'Arco Stradale.\n\n";
  if (inputs_.regional) {
    text +=
        "L'Arco indicato è presente nel grafo originario regionale e pertanto\n"
        "può essere eliminato solo in modo logico e non in modo fisico.\n\n"
        "Si intende proporre l'eliminazione di un Arco Stradale Regionale?";
  } else {
    text +=
        "Confermando l'operazione questo Arco Stradale verrà eliminato in maniera\n"
        "irreversibile dal database e non sarà ulteriormente disponibile.\n\n"
        "Si intende confermare l'eliminazione dell'Arco Stradale?";
  }
  return ui_.AskYesNo(text);
}

}  // namespace viamappa
