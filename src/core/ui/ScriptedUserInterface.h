// A user interface that plays a script: it records every message box, question, file choice and
// progress step, and answers from prepared answers. Tests drive the core with it.
#pragma once

#include <deque>
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
  RouteDialogChoice RunRouteResultDialog(const RouteResultDialog& dialog) override;
  void BeginBusy(bool with_clock) override;
  void EndBusy() override;
  void ProgressBegin() override;
  void ProgressPhase(std::string_view phase) override;
  void ProgressPercent(int percent) override;
  void ProgressEnd() override;

 private:
  bool NextAnswer();
  std::optional<std::string> NextFile(const FileChoice& choice);

  std::deque<bool> answers_;
  std::deque<std::optional<std::string>> files_;
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
