// Calls carried to the window's thread. A long command runs on a worker thread (CommandWorker) while the
// window's thread waits in an event loop; whatever the command asks of the person, and whatever it does
// to the windows, is carried to the window's thread and waits there for its end and its answer.
#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "ui/UserInterface.h"

namespace viamappa {

// The thread of the windows, as seen from any thread.
class WindowThread {
 public:
  // The calling thread is the window's thread.
  WindowThread();
  ~WindowThread();
  WindowThread(const WindowThread&) = delete;
  WindowThread& operator=(const WindowThread&) = delete;

  bool IsCurrent() const;

  // Runs call on the window's thread and returns once it has run: at once on that thread; from another
  // thread only while the window's thread processes events (as it does while a CommandWorker waits).
  void Run(const std::function<void()>& call) const;

  // The value of call, run on the window's thread.
  template <typename T, typename Call>
  T Answer(Call call) const {
    T answer{};
    Run([&] { answer = call(); });
    return answer;
  }

 private:
  std::unique_ptr<QObject> anchor_;  // lives on the window's thread, receives the carried calls
};

// A user interface for any thread in front of the window's own one, which only its thread may call.
// Connections made by a command keep it for life: it must live as long as they do.
class ThreadHopInterface : public UserInterface {
 public:
  // Made on the window's thread; target is used on that thread only.
  explicit ThreadHopInterface(UserInterface& target) : target_(target) {}

  void ShowMessage(std::string_view text, MessageIcon icon, std::string_view caption = {}) override;
  bool AskOkCancel(std::string_view text, std::string_view caption = {}) override;
  bool AskYesNo(std::string_view text, std::string_view caption = {}) override;
  std::optional<std::string> ChooseOpenFile(const FileChoice& choice) override;
  std::optional<std::string> ChooseSaveFile(const FileChoice& choice) override;
  bool RunSnapFactorDialog(SnapFactorDialog& dialog) override;
  bool RunStreetListDialog(StreetListDialogModel& dialog) override;
  RouteDialogChoice RunRouteResultDialog(const RouteResultDialog& dialog) override;
  void RunBulkRenameDialog(BulkRenameDialog& dialog) override;
  void BeginBusy(bool with_clock) override;
  void EndBusy() override;
  void ProgressBegin() override;
  void ProgressPhase(std::string_view phase) override;
  void ProgressPercent(int percent) override;
  void ProgressEnd() override;
  bool RunToponymSearchDialog(ToponymSearchDialog& dialog) override;
  bool RunHighlightCriteriaDialog(HighlightCriteriaDialog& dialog) override;

 private:
  UserInterface& target_;
  WindowThread thread_;
};

}  // namespace viamappa
