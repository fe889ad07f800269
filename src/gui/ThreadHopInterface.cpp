#include "gui/ThreadHopInterface.h"

#include <QThread>

namespace viamappa {

WindowThread::WindowThread() : anchor_(std::make_unique<QObject>()) {}

WindowThread::~WindowThread() = default;

bool WindowThread::IsCurrent() const {
  return QThread::currentThread() == anchor_->thread();
}

void WindowThread::Run(const std::function<void()>& call) const {
  if (IsCurrent()) return call();
  // The caller waits, so the call may use what the caller's stack holds.
  QMetaObject::invokeMethod(
      anchor_.get(), [&call] { call(); }, Qt::BlockingQueuedConnection);
}

void ThreadHopInterface::ShowMessage(std::string_view text, MessageIcon icon, std::string_view caption) {
  thread_.Run([&] { target_.ShowMessage(text, icon, caption); });
}

bool ThreadHopInterface::AskOkCancel(std::string_view text, std::string_view caption) {
  return thread_.Answer<bool>([&] { return target_.AskOkCancel(text, caption); });
}

bool ThreadHopInterface::AskYesNo(std::string_view text, std::string_view caption) {
  return thread_.Answer<bool>([&] { return target_.AskYesNo(text, caption); });
}

std::optional<std::string> ThreadHopInterface::ChooseOpenFile(const FileChoice& choice) {
  return thread_.Answer<std::optional<std::string>>([&] { return target_.ChooseOpenFile(choice); });
}

std::optional<std::string> ThreadHopInterface::ChooseSaveFile(const FileChoice& choice) {
  return thread_.Answer<std::optional<std::string>>([&] { return target_.ChooseSaveFile(choice); });
}

// The command waits for the answer, so the dialog may work on the command's model.
bool ThreadHopInterface::RunSnapFactorDialog(SnapFactorDialog& dialog) {
  return thread_.Answer<bool>([&] { return target_.RunSnapFactorDialog(dialog); });
}

bool ThreadHopInterface::RunStreetListDialog(StreetListDialogModel& dialog) {
  return thread_.Answer<bool>([&] { return target_.RunStreetListDialog(dialog); });
}

// The work waits for the answer, so the dialog may read the work's model.
RouteDialogChoice ThreadHopInterface::RunRouteResultDialog(const RouteResultDialog& dialog) {
  return thread_.Answer<RouteDialogChoice>([&] { return target_.RunRouteResultDialog(dialog); });
}

void ThreadHopInterface::RunBulkRenameDialog(BulkRenameDialog& dialog) {
  thread_.Run([&] { target_.RunBulkRenameDialog(dialog); });
}

void ThreadHopInterface::BeginBusy(bool with_clock) {
  thread_.Run([&] { target_.BeginBusy(with_clock); });
}

void ThreadHopInterface::EndBusy() {
  thread_.Run([&] { target_.EndBusy(); });
}

void ThreadHopInterface::ProgressBegin() {
  thread_.Run([&] { target_.ProgressBegin(); });
}

void ThreadHopInterface::ProgressPhase(std::string_view phase) {
  thread_.Run([&] { target_.ProgressPhase(phase); });
}

// ProgressDisplay sends a percent only when it changes: at most about a hundred hops a phase.
void ThreadHopInterface::ProgressPercent(int percent) {
  thread_.Run([&] { target_.ProgressPercent(percent); });
}

void ThreadHopInterface::ProgressEnd() {
  thread_.Run([&] { target_.ProgressEnd(); });
}

bool ThreadHopInterface::RunToponymSearchDialog(ToponymSearchDialog& dialog) {
  return thread_.Answer<bool>([&] { return target_.RunToponymSearchDialog(dialog); });
}

bool ThreadHopInterface::RunHighlightCriteriaDialog(HighlightCriteriaDialog& dialog) {
  return thread_.Answer<bool>([&] { return target_.RunHighlightCriteriaDialog(dialog); });
}

}  // namespace viamappa
