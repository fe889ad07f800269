// A user interface in front of another that passes everything on: the base of the interfaces that
// change one thing (how messages are shown or counted) and leave the rest to the one behind them.
#pragma once

#include "ui/UserInterface.h"

namespace viamappa {

class ForwardingInterface : public UserInterface {
 public:
  explicit ForwardingInterface(UserInterface& target) : target_(target) {}

  void ShowMessage(std::string_view text, MessageIcon icon, std::string_view caption = {}) override {
    target_.ShowMessage(text, icon, caption);
  }
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
  bool RunStreetListDialog(StreetListDialogModel& dialog) override {
    return target_.RunStreetListDialog(dialog);
  }
  bool RunToponymSearchDialog(ToponymSearchDialog& dialog) override {
    return target_.RunToponymSearchDialog(dialog);
  }
  bool RunHighlightCriteriaDialog(HighlightCriteriaDialog& dialog) override {
    return target_.RunHighlightCriteriaDialog(dialog);
  }
  RouteDialogChoice RunRouteResultDialog(const RouteResultDialog& dialog) override {
    return target_.RunRouteResultDialog(dialog);
  }
  void RunBulkRenameDialog(BulkRenameDialog& dialog) override { target_.RunBulkRenameDialog(dialog); }

 protected:
  UserInterface& target() { return target_; }

 private:
  UserInterface& target_;
};

}  // namespace viamappa
