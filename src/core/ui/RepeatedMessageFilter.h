// A user interface in front of another that shows each error message of a batch command once: the same
// text shown again is counted instead, and the counts are reported once when the filter ends. A command
// that fails on every row of a large file does not hold the person for thousands of clicks.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "ui/UserInterface.h"

namespace viamappa {

class RepeatedMessageFilter : public UserInterface {
 public:
  explicit RepeatedMessageFilter(UserInterface& target) : target_(target) {}
  // Reports the repeated messages.
  ~RepeatedMessageFilter() override;

  void ShowMessage(std::string_view text, MessageIcon icon, std::string_view caption = {}) override;
  bool AskOkCancel(std::string_view text, std::string_view caption = {}) override {
    return target_.AskOkCancel(text, caption);
  }
  bool AskYesNo(std::string_view text, std::string_view caption = {}) override {
    return target_.AskYesNo(text, caption);
  }
  std::optional<std::string> ChooseOpenFile(const FileChoice& choice) override {
    return target_.ChooseOpenFile(choice);
  }
  std::optional<std::string> ChooseSaveFile(const FileChoice& choice) override {
    return target_.ChooseSaveFile(choice);
  }
  bool RunSnapFactorDialog(SnapFactorDialog& dialog) override { return target_.RunSnapFactorDialog(dialog); }
  void RunBulkRenameDialog(BulkRenameDialog& dialog) override { target_.RunBulkRenameDialog(dialog); }
  void BeginBusy(bool with_clock) override { target_.BeginBusy(with_clock); }
  void EndBusy() override { target_.EndBusy(); }
  void ProgressBegin() override { target_.ProgressBegin(); }
  void ProgressPhase(std::string_view phase) override { target_.ProgressPhase(phase); }
  void ProgressPercent(int percent) override { target_.ProgressPercent(percent); }
  void ProgressEnd() override { target_.ProgressEnd(); }

  // Shows the counts of the repeated messages now, and forgets them.
  void ReportRepeats();

 private:
  struct Shown {
    MessageIcon icon;
    std::string caption;
    int repeats = 0;
  };
  UserInterface& target_;
  std::map<std::string, Shown> shown_;
  std::vector<std::string> order_;
};

}  // namespace viamappa
