// The editing dialogs played from a script: what the person does in the next arc attributes dialogs
// and suggestion lists, and a record of what each showed.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "edit/EditDialogs.h"

namespace viamappa::testing {

// What the person does in one arc attributes dialog: types the names, chooses the class and presses
// OK (giving up with Annulla when OK is refused), or presses Elimina (Annulla when the question is
// answered No), or Annulla.
struct ArcDialogAnswer {
  enum class Press { Ok, Delete, Cancel };
  std::string name{};
  std::string alternative{};
  int class_index = -1;  // -1 keeps the entry shown
  Press press = Press::Ok;
};

// What the person does in one suggestion list: OK on the entry (Annulla when OK is refused), Annulla
// or "Inserisci Nuovo Tipo".
struct SuggestionAnswer {
  SuggestionClose close = SuggestionClose::Ok;
  int entry = -1;
};

// A suggestion list as it was shown.
struct ShownSuggestions {
  std::string title;
  std::string prompt;
  std::vector<std::string> entries;
};

class ScriptedEditDialogs : public EditDialogs {
 public:
  // Without a queued answer a dialog is cancelled.
  void Queue(ArcDialogAnswer answer) { answers_.push_back(std::move(answer)); }
  void Queue(SuggestionAnswer answer) { choices_.push_back(answer); }

  ArcDialogClose RunArcAttributes(ArcAttributesDialog& dialog) override {
    shown.push_back(dialog.inputs());
    opened.push_back(dialog.inputs().id);
    if (answers_.empty()) return ArcDialogClose::Cancel;
    const ArcDialogAnswer answer = answers_.front();
    answers_.pop_front();
    switch (answer.press) {
      case ArcDialogAnswer::Press::Ok:
        dialog.SetName(answer.name);
        dialog.SetAlternative(answer.alternative);
        if (answer.class_index >= 0) dialog.SetClassIndex(answer.class_index);
        return dialog.Accept() ? ArcDialogClose::Ok : ArcDialogClose::Cancel;
      case ArcDialogAnswer::Press::Delete:
        return dialog.ConfirmDeletion() ? ArcDialogClose::Delete : ArcDialogClose::Cancel;
      case ArcDialogAnswer::Press::Cancel:
        break;
    }
    return ArcDialogClose::Cancel;
  }

  SuggestionClose RunSuggestions(SuggestionsDialog& dialog) override {
    suggestions.push_back({dialog.title(), dialog.prompt(), dialog.entries()});
    if (choices_.empty()) return SuggestionClose::Cancel;
    const SuggestionAnswer answer = choices_.front();
    choices_.pop_front();
    if (answer.close != SuggestionClose::Ok) return answer.close;
    dialog.Select(answer.entry);
    return dialog.Accept() ? SuggestionClose::Cancel : SuggestionClose::Ok;
  }

  std::vector<std::int32_t> opened;  // the identifier each attributes dialog showed
  std::vector<ArcAttributesInputs> shown;
  std::vector<ShownSuggestions> suggestions;

 private:
  std::deque<ArcDialogAnswer> answers_;
  std::deque<SuggestionAnswer> choices_;
};

}  // namespace viamappa::testing
