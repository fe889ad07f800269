// The lists of close entries of the street directory offered when a typed street name is unknown: the
// street names like the typed one ("Elenco Denominazioni Suggerite") and the street types like the typed
// type ("Elenco Tipi Strada Suggeriti", which can also take the typed type as a new one). Both close
// with OK only on a chosen entry.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace viamappa {

// How a suggestion list was closed: OK on a chosen entry, Annulla, or "Inserisci Nuovo Tipo" (1038).
enum class SuggestionClose { Ok = 1, Cancel = 2, NewType = 1038 };

class SuggestionsDialog {
 public:
  static constexpr std::string_view kNoChoiceMessage =
      "Non è stato selezionato nessuno dei nomi suggeriti.\n\n"
      "Occorre selezionare una delle alternative proposte.";

  virtual ~SuggestionsDialog() = default;

  const std::string& title() const { return title_; }
  // The static line with the typed text, and the label over the list (empty when there is none).
  const std::string& prompt() const { return prompt_; }
  const std::string& list_label() const { return list_label_; }
  const std::vector<std::string>& entries() const { return entries_; }
  // The dialog has the button "Inserisci Nuovo Tipo".
  bool offers_new_type() const { return offers_new_type_; }

  // The chosen entry; an index outside the list chooses none.
  void Select(int index);
  std::optional<int> selection() const { return selection_; }

  // What OK does: nothing when an entry is chosen (the dialog closes with OK), otherwise the message to
  // show with the stop icon, and the dialog stays open.
  std::optional<std::string> Accept() const;

  // The text of the chosen entry; empty without a choice.
  std::string chosen() const;

 protected:
  SuggestionsDialog(std::string title, std::string prompt, std::string list_label,
                    std::vector<std::string> entries, bool offers_new_type);

 private:
  std::string title_;
  std::string prompt_;
  std::string list_label_;
  std::vector<std::string> entries_;
  bool offers_new_type_ = false;
  std::optional<int> selection_;
};

// The directory's names like a typed name, each "type name".
class NameSuggestionsDialog : public SuggestionsDialog {
 public:
  static constexpr std::string_view kTitle = "Elenco Denominazioni Suggerite";
  NameSuggestionsDialog(std::string_view typed, std::vector<std::string> names);
};

// The directory's types like a typed type.
class TypeSuggestionsDialog : public SuggestionsDialog {
 public:
  static constexpr std::string_view kTitle = "Elenco Tipi Strada Suggeriti";
  TypeSuggestionsDialog(std::string_view typed_type, std::vector<std::string> types);
};

// What the validation of street names asks of a person: choosing in a suggestion list. The desktop
// program shows a window over the dialog that asked, tests play a script.
class SuggestionDialogs {
 public:
  virtual ~SuggestionDialogs() = default;

  // Shows the list until it is closed; OK only with an entry chosen (dialog.chosen()).
  virtual SuggestionClose RunSuggestions(SuggestionsDialog& dialog) = 0;
};

}  // namespace viamappa
