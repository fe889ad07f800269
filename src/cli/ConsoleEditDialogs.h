// The arc attributes dialog played from the command line: the names and class given as arguments typed
// in and OK pressed, or Elimina pressed. The suggestion lists are written to standard error; a list of
// names is cancelled (the name as typed goes on to the questions about the directory), and a list of
// types takes the typed type as a new one when the questions are answered yes, otherwise it is
// cancelled.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "edit/EditDialogs.h"

namespace viamappa::cli {

class ConsoleEditDialogs : public EditDialogs {
 public:
  // What to do in the arc attributes dialog.
  struct Rename {
    std::string name;
    std::optional<std::string> alternative;  // nullopt keeps the one shown
    std::optional<std::string> class_code;   // nullopt keeps the one shown
  };

  // Renames with OK; without a rename, presses Elimina.
  ConsoleEditDialogs(std::optional<Rename> rename, bool answer_yes, std::FILE* err = stderr)
      : rename_(std::move(rename)), answer_yes_(answer_yes), err_(err) {}

  ArcDialogClose RunArcAttributes(ArcAttributesDialog& dialog) override;
  SuggestionClose RunSuggestions(SuggestionsDialog& dialog) override;

 private:
  std::optional<Rename> rename_;
  bool answer_yes_;
  std::FILE* err_;
};

}  // namespace viamappa::cli
