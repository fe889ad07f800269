#include "ui/ScriptedUserInterface.h"

#include "ui/SnapFactorDialog.h"

namespace viamappa {

void ScriptedUserInterface::ShowMessage(std::string_view text, MessageIcon icon, std::string_view caption) {
  messages_.push_back({std::string(text), icon, std::string(caption)});
}

bool ScriptedUserInterface::AskOkCancel(std::string_view text, std::string_view caption) {
  messages_.push_back({std::string(text), MessageIcon::Question, std::string(caption)});
  return NextAnswer();
}

bool ScriptedUserInterface::AskYesNo(std::string_view text, std::string_view caption) {
  return AskOkCancel(text, caption);
}

std::optional<std::string> ScriptedUserInterface::ChooseOpenFile(const FileChoice& choice) {
  return NextFile(choice);
}

std::optional<std::string> ScriptedUserInterface::ChooseSaveFile(const FileChoice& choice) {
  return NextFile(choice);
}

bool ScriptedUserInterface::RunSnapFactorDialog(SnapFactorDialog& dialog) {
  snap_factor_dialogs_.push_back(dialog.text());
  while (!snap_factors_.empty()) {
    std::optional<std::string> typed = std::move(snap_factors_.front());
    snap_factors_.pop_front();
    if (!typed) return false;
    dialog.SetText(std::move(*typed));
    const std::optional<std::string> refusal = dialog.Accept();
    if (!refusal) return true;
    ShowMessage(*refusal, MessageIcon::Warning);
  }
  return false;
}

RouteDialogChoice ScriptedUserInterface::RunRouteResultDialog(const RouteResultDialog& dialog) {
  std::vector<std::string> texts{dialog.length_text()};
  texts.insert(texts.end(), dialog.lines().begin(), dialog.lines().end());
  route_dialogs_.push_back(std::move(texts));
  if (route_choices_.empty()) return RouteDialogChoice::Ok;
  const RouteDialogChoice choice = route_choices_.front();
  route_choices_.pop_front();
  return choice;
}

void ScriptedUserInterface::RunBulkRenameDialog(BulkRenameDialog& dialog) {
  ++bulk_rename_dialogs_;
  if (bulk_renames_.empty()) return;
  const std::function<void(BulkRenameDialog&)> actions = std::move(bulk_renames_.front());
  bulk_renames_.pop_front();
  actions(dialog);
}

void ScriptedUserInterface::BeginBusy(bool with_clock) {
  ++busy_calls_;
  if (with_clock && !busy_) ++clock_starts_;
  busy_ = true;
}

void ScriptedUserInterface::EndBusy() {
  busy_ = false;
}

void ScriptedUserInterface::ProgressBegin() {
  progress_shown_ = true;
}

void ScriptedUserInterface::ProgressPhase(std::string_view phase) {
  phases_.emplace_back(phase);
}

void ScriptedUserInterface::ProgressPercent(int percent) {
  percents_.push_back(percent);
}

void ScriptedUserInterface::ProgressEnd() {
  progress_shown_ = false;
}

bool ScriptedUserInterface::NextAnswer() {
  if (answers_.empty()) return false;
  const bool answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::optional<std::string> ScriptedUserInterface::NextFile(const FileChoice& choice) {
  file_choices_.push_back(choice);
  if (files_.empty()) return std::nullopt;
  auto path = std::move(files_.front());
  files_.pop_front();
  return path;
}

bool ScriptedUserInterface::RunStreetListDialog(StreetListDialogModel& dialog) {
  ++dialogs_shown_;
  if (street_list_answers_.empty()) return false;
  const auto answer = std::move(street_list_answers_.front());
  street_list_answers_.pop_front();
  return answer(dialog);
}

namespace {

template <typename Dialog>
bool PlayAnswer(std::deque<std::function<bool(Dialog&)>>& answers, Dialog& dialog) {
  if (answers.empty()) return false;
  const auto answer = std::move(answers.front());
  answers.pop_front();
  return answer(dialog);
}

}  // namespace

bool ScriptedUserInterface::RunToponymSearchDialog(ToponymSearchDialog& dialog) {
  ++query_dialogs_shown_;
  return PlayAnswer(toponym_searches_, dialog);
}

bool ScriptedUserInterface::RunHighlightCriteriaDialog(HighlightCriteriaDialog& dialog) {
  ++query_dialogs_shown_;
  return PlayAnswer(highlight_criteria_, dialog);
}

}  // namespace viamappa
