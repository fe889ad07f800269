// The user-interface port on Qt: message boxes, questions and file dialogs over the main window, the
// wait cursor and busy clock, and the progress of long work.
//
// Every call belongs to the window's thread: long work on a worker thread reaches it through a
// ThreadHopInterface, while the window's thread waits in a CommandWorker and goes on repainting and
// ticking the clock. The wait cursor and the clock end with the worker's run, and otherwise go away by
// themselves when the program is idle again.
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string_view>

#include "ui/UserInterface.h"

namespace viamappa {

class BusyClock;
class ProgressOverlay;

// The Qt name filters of a filter list in the "Name|*.ext|Name|*.a;*.b||" form: "Name (*.ext)". A name
// that already ends with its patterns in brackets keeps them once; "*.*" matches every file.
QStringList QtNameFilters(std::string_view filter);

class QtUserInterface : public UserInterface {
 public:
  // title: the caption of message boxes that name none.
  explicit QtUserInterface(QString title);
  ~QtUserInterface() override;

  // The main window that dialogs belong to, its client area where progress shows, and its clock.
  void Attach(QWidget* window, QWidget* client, BusyClock* clock);

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

  // True from BeginBusy until the program is idle again or EndBusy.
  bool busy() const { return busy_; }
  ProgressOverlay* progress() const { return progress_.get(); }

  // Ends the busy state when the program is idle: control is back in the event loop that was running
  // when the work began (the application's loop for work that began before it ran), not in a dialog
  // opened by the work, and no CommandWorker waits (its run ends the busy state itself). Runs by itself
  // from the event loop after BeginBusy.
  void CheckIdle();

 private:
  int RunMessageBox(std::string_view text, MessageIcon icon, std::string_view caption, int buttons);
  std::optional<std::string> RunFileDialog(const FileChoice& choice, bool save);

  QString title_;
  QPointer<QWidget> window_;
  QPointer<QWidget> client_;
  QPointer<BusyClock> clock_;
  std::unique_ptr<ProgressOverlay> progress_;
  int progress_depth_ = 0;
  bool busy_ = false;
  bool cursor_set_ = false;
  int busy_loop_level_ = 0;
  QTimer idle_check_;
  QString last_directory_;
};

}  // namespace viamappa
