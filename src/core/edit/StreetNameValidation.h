// The check of a street name typed for an arc against the street directory (the types of `tipi`, the
// pairs of type and name of `nomi`). A name is read as a type word, one blank and the proper name. A
// name the directory holds is accepted as typed; when the directory holds close entries the person may
// take one of them; otherwise the person may add the type and the name to the directory, or must
// correct the name. A name without a type word is never added.
//
// Typed text reaches the database only inside quoted literals and LIKE fragments that match it
// literally. Rows added to the directory stay, whatever is decided afterwards.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "db/DbConnection.h"
#include "edit/GraphChange.h"
#include "edit/SuggestionsDialog.h"

namespace viamappa {

// A typed name prepared for the check: trailing blanks cut, a-z upper case, split at the first blank.
// Without a blank, or with a blank first, there is no type and the whole text is the name.
struct TypedStreetName {
  std::string type;  // empty when there is none
  std::string name;
};
TypedStreetName PrepareStreetName(std::string_view text);

class StreetNameValidation {
 public:
  // Works on the open database; the questions and messages go to its user interface, the suggestion
  // lists to dialogs. Both must outlive the validation.
  StreetNameValidation(DbConnection& connection, SuggestionDialogs& dialogs);

  // Checks a name as the person typed it (trailing blanks may be cut already). True when accepted, with
  // text replaced by what is to be stored (the directory's entry taken, or the upper-case type and name
  // that were found or added); false when refused, after the refusal was shown, with text unchanged.
  bool Validate(std::string& text);

  // Checks a type and a name that no directory entry matched: the type must be known, be replaced by a
  // suggested one, or be added; then the pair is added. True when accepted, with type the one kept.
  bool CheckTypeAndName(std::string& type, const std::string& name);

  // The rows this validation added to the directory, in order.
  const std::vector<DirectoryRow>& added() const { return added_; }

 private:
  // The pairs of nomi whose name (and type, when given) contain the texts, as "type name".
  std::vector<std::string> NameSuggestions(std::string_view name, std::string_view type);
  // Asks whether to take the one suggestion for the typed text.
  bool AskSubstitution(std::string_view typed, std::string_view suggestion);
  bool AddType(const std::string& type);
  bool AddName(const std::string& type, const std::string& name);
  bool Refuse();

  DbConnection& connection_;
  UserInterface& ui_;
  SuggestionDialogs& dialogs_;
  std::vector<DirectoryRow> added_;
};

}  // namespace viamappa
