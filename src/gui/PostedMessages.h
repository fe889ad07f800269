// A user interface in front of another whose messages wait for the event loop: a message that arises
// while the map is being painted (a damaged background tile) is shown after the paint, not inside it,
// where a modal box would paint the window again from within its own painting.
#pragma once

#include <QObject>

#include "ui/UserInterface.h"

namespace viamappa {

class PostedMessages : public UserInterface {
 public:
  explicit PostedMessages(UserInterface& target) : target_(target) {}

  // Messages still waiting when this goes are dropped.
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
  void BeginBusy(bool with_clock) override { target_.BeginBusy(with_clock); }
  void EndBusy() override { target_.EndBusy(); }
  void ProgressBegin() override { target_.ProgressBegin(); }
  void ProgressPhase(std::string_view phase) override { target_.ProgressPhase(phase); }
  void ProgressPercent(int percent) override { target_.ProgressPercent(percent); }
  void ProgressEnd() override { target_.ProgressEnd(); }
  bool RunSnapFactorDialog(SnapFactorDialog& dialog) override { return target_.RunSnapFactorDialog(dialog); }
  void RunBulkRenameDialog(BulkRenameDialog& dialog) override { target_.RunBulkRenameDialog(dialog); }

 private:
  UserInterface& target_;
  QObject context_;  // the posted messages go with it
};

}  // namespace viamappa
