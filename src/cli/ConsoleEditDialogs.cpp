#include "cli/ConsoleEditDialogs.h"

namespace viamappa::cli {

ArcDialogClose ConsoleEditDialogs::RunArcAttributes(ArcAttributesDialog& dialog) {
  if (!rename_) return dialog.ConfirmDeletion() ? ArcDialogClose::Delete : ArcDialogClose::Cancel;
  dialog.SetName(rename_->name);
  if (rename_->alternative) dialog.SetAlternative(*rename_->alternative);
  if (rename_->class_code) dialog.SetClassIndex(RoadClassEntry(*rename_->class_code));
  return dialog.Accept() ? ArcDialogClose::Ok : ArcDialogClose::Cancel;
}

SuggestionClose ConsoleEditDialogs::RunSuggestions(SuggestionsDialog& dialog) {
  std::fprintf(err_, "%s: %s\n", dialog.title().c_str(), dialog.prompt().c_str());
  for (const std::string& entry : dialog.entries()) std::fprintf(err_, "  %s\n", entry.c_str());
  const bool new_type = answer_yes_ && dialog.offers_new_type();
  std::fprintf(err_, "-> %s\n", new_type ? "Inserisci Nuovo Tipo" : "Annulla");
  return new_type ? SuggestionClose::NewType : SuggestionClose::Cancel;
}

}  // namespace viamappa::cli
