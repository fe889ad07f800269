// The user interface of the command-line program: messages go to standard error, questions and file
// choices are answered from the command's arguments, progress is one line on the terminal.
#pragma once

#include <cstdio>
#include <deque>
#include <functional>
#include <string>

#include "ui/UserInterface.h"

namespace viamappa {

class ConsoleUserInterface : public UserInterface {
 public:
  // Messages and progress go to err; answer_yes answers every question, also whether to replace an
  // existing file.
  // results, when given, receives the messages with the information icon (the summaries of commands).
  explicit ConsoleUserInterface(std::FILE* err = stderr, bool answer_yes = false,
                                std::FILE* results = nullptr);

  // Paths that the next file choices take, in order; with none left a choice is cancelled.
  void QueueFile(std::string path) { files_.push_back(std::move(path)); }

  // The text the next snap-factor dialog takes; without one it takes its default.
  void QueueSnapFactor(std::string text) { snap_factors_.push_back(std::move(text)); }
  // How the street-list dialog is answered: it acts on the model as the command's arguments say and
  // answers true for OK. Without one the dialog is cancelled.
  void SetStreetListAnswer(std::function<bool(StreetListDialogModel&)> answer) {
    street_list_answer_ = std::move(answer);
  }

  // What the renaming dialog does on the terminal: the command's arguments acted on the model. Without
  // one the dialog is closed at once.
  void SetBulkRenameAnswer(std::function<void(BulkRenameDialog&)> answer) {
    bulk_rename_answer_ = std::move(answer);
  }

  // Number of messages shown with the stop or warning icon.
  int error_count() const { return error_count_; }

  // Number of file choices cancelled: none queued, or an existing file not to be replaced.
  int cancelled_choices() const { return cancelled_choices_; }

  void ShowMessage(std::string_view text, MessageIcon icon, std::string_view caption = {}) override;
  bool AskOkCancel(std::string_view text, std::string_view caption = {}) override;
  bool AskYesNo(std::string_view text, std::string_view caption = {}) override;
  std::optional<std::string> ChooseOpenFile(const FileChoice& choice) override;
  std::optional<std::string> ChooseSaveFile(const FileChoice& choice) override;
  bool RunSnapFactorDialog(SnapFactorDialog& dialog) override;
  // Prints the route's texts on the results stream (standard error without one) and answers Salva while
  // a file waits to be chosen, else OK.
  RouteDialogChoice RunRouteResultDialog(const RouteResultDialog& dialog) override;
  void RunBulkRenameDialog(BulkRenameDialog& dialog) override;
  void BeginBusy(bool with_clock) override;
  void EndBusy() override;
  void ProgressBegin() override;
  void ProgressPhase(std::string_view phase) override;
  void ProgressPercent(int percent) override;
  void ProgressEnd() override;
  bool RunStreetListDialog(StreetListDialogModel& dialog) override;
  // There is no person to choose: the dialogs of the map queries are cancelled.
  bool RunToponymSearchDialog(ToponymSearchDialog&) override { return false; }
  bool RunHighlightCriteriaDialog(HighlightCriteriaDialog&) override { return false; }

 private:
  void EndProgressLine();
  void DrawProgressLine();

  std::FILE* err_;
  bool answer_yes_;
  std::FILE* results_;
  bool terminal_;
  std::deque<std::string> files_;
  std::deque<std::string> snap_factors_;
  std::function<bool(StreetListDialogModel&)> street_list_answer_;
  std::function<void(BulkRenameDialog&)> bulk_rename_answer_;
  std::string phase_;
  int percent_ = 0;
  bool line_open_ = false;
  int error_count_ = 0;
  int cancelled_choices_ = 0;
};

}  // namespace viamappa
