// A user interface that plays a script: it records every message box, question, file choice and
// progress step, and answers from prepared answers. Tests drive the core with it.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/RouteResultDialog.h"
#include "ui/UserInterface.h"

namespace viamappa {

struct RecordedMessage {
  std::string text;
  MessageIcon icon = MessageIcon::None;
  std::string caption;
};

class ScriptedUserInterface : public UserInterface {
 public:
  // Answers of the next questions, in order; a question without a prepared answer is answered
  // Cancel / No.
  void QueueAnswer(bool yes) { answers_.push_back(yes); }

  // Paths of the next file choices, in order; nullopt (or none prepared) means Cancel.
  void QueueFile(std::optional<std::string> path) { files_.push_back(std::move(path)); }

  // Texts typed into the next snap-factor dialogs, each followed by OK; nullopt (or none prepared)
  // means Annulla. A text the dialog refuses shows its warning and the next prepared text is typed.
  void QueueSnapFactor(std::optional<std::string> text) { snap_factors_.push_back(std::move(text)); }

  // What a person does in the next renaming dialogs, in order, before closing them; a dialog without
  // a prepared action is closed at once.
  void QueueBulkRename(std::function<void(BulkRenameDialog&)> actions) {
    bulk_renames_.push_back(std::move(actions));
  }
  int bulk_rename_dialogs() const { return bulk_rename_dialogs_; }

  // The text each snap-factor dialog opened with.
  const std::vector<std::string>& snap_factor_dialogs() const { return snap_factor_dialogs_; }
  // How the next street-list dialogs are answered, in order: each acts on the model as a person would
  // and answers true for OK. A dialog without a prepared answer is cancelled.
  void QueueStreetListAnswer(std::function<bool(StreetListDialogModel&)> answer) {
    street_list_answers_.push_back(std::move(answer));
  }
  int dialogs_shown() const { return dialogs_shown_; }
  // How the next toponym search and highlight criteria dialogs are answered, in order: each acts on the
  // model as a person would and answers true for a confirmed OK. A dialog without a prepared answer is
  // closed as with Annulla.
  void QueueToponymSearch(std::function<bool(ToponymSearchDialog&)> answer) {
    toponym_searches_.push_back(std::move(answer));
  }
  void QueueHighlightCriteria(std::function<bool(HighlightCriteriaDialog&)> answer) {
    highlight_criteria_.push_back(std::move(answer));
  }
  // How many of those dialogs were shown.
  int query_dialogs_shown() const { return query_dialogs_shown_; }
  // The buttons that close the next route results, in order; without one prepared, OK.
  void QueueRouteChoice(RouteDialogChoice choice) { route_choices_.push_back(choice); }

  // The texts of every route result shown: the length text, then the lines.
  const std::vector<std::vector<std::string>>& route_dialogs() const { return route_dialogs_; }

  // Every message box and question shown so far (questions with the question icon).
  const std::vector<RecordedMessage>& messages() const { return messages_; }
  const std::vector<FileChoice>& file_choices() const { return file_choices_; }
  const std::vector<std::string>& phases() const { return phases_; }
  const std::vector<int>& percents() const { return percents_; }
  int busy_calls() const { return busy_calls_; }
  int clock_starts() const { return clock_starts_; }
  bool busy() const { return busy_; }
  bool progress_shown() const { return progress_shown_; }

  // The last message, or an empty one when none was shown.
  RecordedMessage last_message() const { return messages_.empty() ? RecordedMessage{} : messages_.back(); }
  void ClearMessages() { messages_.clear(); }

  void ShowMessage(std::string_view text, MessageIcon icon, std::string_view caption = {}) override;
  bool AskOkCancel(std::string_view text, std::string_view caption = {}) override;
  bool AskYesNo(std::string_view text, std::string_view caption = {}) override;
  std::optional<std::string> ChooseOpenFile(const FileChoice& choice) override;
  std::optional<std::string> ChooseSaveFile(const FileChoice& choice) override;
  bool RunSnapFactorDialog(SnapFactorDialog& dialog) override;
  RouteDialogChoice RunRouteResultDialog(const RouteResultDialog& dialog) override;
  void RunBulkRenameDialog(BulkRenameDialog& dialog) override;
  void BeginBusy(bool with_clock) override;
  void EndBusy() override;
  void ProgressBegin() override;
  void ProgressPhase(std::string_view phase) override;
  void ProgressPercent(int percent) override;
  void ProgressEnd() override;
  bool RunStreetListDialog(StreetListDialogModel& dialog) override;
  bool RunToponymSearchDialog(ToponymSearchDialog& dialog) override;
  bool RunHighlightCriteriaDialog(HighlightCriteriaDialog& dialog) override;

 private:
  bool NextAnswer();
  std::optional<std::string> NextFile(const FileChoice& choice);

  std::deque<bool> answers_;
  std::deque<std::optional<std::string>> files_;
  std::deque<std::optional<std::string>> snap_factors_;
  std::deque<std::function<void(BulkRenameDialog&)>> bulk_renames_;
  int bulk_rename_dialogs_ = 0;
  std::vector<std::string> snap_factor_dialogs_;
  std::deque<std::function<bool(StreetListDialogModel&)>> street_list_answers_;
  int dialogs_shown_ = 0;
  std::deque<std::function<bool(ToponymSearchDialog&)>> toponym_searches_;
  std::deque<std::function<bool(HighlightCriteriaDialog&)>> highlight_criteria_;
  int query_dialogs_shown_ = 0;
  std::deque<RouteDialogChoice> route_choices_;
  std::vector<std::vector<std::string>> route_dialogs_;
  std::vector<RecordedMessage> messages_;
  std::vector<FileChoice> file_choices_;
  std::vector<std::string> phases_;
  std::vector<int> percents_;
  int busy_calls_ = 0;
  int clock_starts_ = 0;
  bool busy_ = false;
  bool progress_shown_ = false;
};

}  // namespace viamappa
