// The user-interface port on Qt: message boxes, questions and file dialogs over the main window, the
// wait cursor and busy clock, and the progress of long work.
//
// Long work runs on the user-interface thread. While it reports progress, the window goes on
// repainting and the clock ticking: the progress calls let Qt handle the waiting paint and timer
// events (at most about every 100 ms, and at every new phase), never user input, which waits until the
// command ends. The wait cursor and the clock go away by themselves when the program is idle again.
#pragma once

#include <QElapsedTimer>
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
  void BeginBusy(bool with_clock) override;
  void EndBusy() override;
  void ProgressBegin() override;
  void ProgressPhase(std::string_view phase) override;
  void ProgressPercent(int percent) override;
  void ProgressEnd() override;
  bool RunStreetListDialog(StreetListDialogModel& dialog) override;

  // True from BeginBusy until the program is idle again or EndBusy.
  bool busy() const { return busy_; }
  // True while progress lets waiting events through.
  bool pumping() const { return pumping_; }
  ProgressOverlay* progress() const { return progress_.get(); }

 private:
  int RunMessageBox(std::string_view text, MessageIcon icon, std::string_view caption, int buttons);
  std::optional<std::string> RunFileDialog(const FileChoice& choice, bool save);
  void LetWaitingEventsThrough(bool now);
  void CheckIdle();

  QString title_;
  QPointer<QWidget> window_;
  QPointer<QWidget> client_;
  QPointer<BusyClock> clock_;
  std::unique_ptr<ProgressOverlay> progress_;
  int progress_depth_ = 0;
  bool busy_ = false;
  bool cursor_set_ = false;
  int busy_loop_level_ = 0;
  bool pumping_ = false;
  QElapsedTimer last_pump_;
  QTimer idle_check_;
  QString last_directory_;
};

}  // namespace viamappa
