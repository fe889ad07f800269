// The user-interface port: everything the core asks of a person. The desktop program implements it
// with Qt, the command-line program on the terminal, the tests with a script.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace viamappa {

// The models of the dialogs, which the core's commands hand to the interface to show.
class SnapFactorDialog;
class StreetListDialogModel;
class ToponymSearchDialog;
class HighlightCriteriaDialog;
class RouteResultDialog;
enum class RouteDialogChoice;
class BulkRenameDialog;

enum class MessageIcon { None, Stop, Warning, Question, Information };

// An open or save file choice. The filter list uses the "Name|*.ext|Name|*.a;*.b||" form.
struct FileChoice {
  std::string title;
  std::string filter;
  std::string default_extension;   // without the dot; appended when the chosen name has none
  std::string default_name;        // initial file name, such as "*.MDB"
  bool must_exist = false;         // open dialogs: the path and the file must exist
  bool confirm_overwrite = false;  // save dialogs: ask before replacing an existing file
};

class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // Modal message box with an OK button. An empty caption means the program's title.
  virtual void ShowMessage(std::string_view text, MessageIcon icon, std::string_view caption = {}) = 0;

  // Question with OK and Cancel (question icon); true means OK.
  virtual bool AskOkCancel(std::string_view text, std::string_view caption = {}) = 0;

  // Question with Yes and No (question icon); true means Yes.
  virtual bool AskYesNo(std::string_view text, std::string_view caption = {}) = 0;

  // The chosen path, or nullopt when the person cancelled.
  virtual std::optional<std::string> ChooseOpenFile(const FileChoice& choice) = 0;
  virtual std::optional<std::string> ChooseSaveFile(const FileChoice& choice) = 0;

  // The dialogs, each shown modally over its model until OK is accepted or the person cancels; true
  // when the person confirmed and the model accepted (a hit chosen, for the toponym search).
  virtual bool RunSnapFactorDialog(SnapFactorDialog& dialog) = 0;
  virtual bool RunStreetListDialog(StreetListDialogModel& dialog) = 0;
  virtual bool RunToponymSearchDialog(ToponymSearchDialog& dialog) = 0;
  virtual bool RunHighlightCriteriaDialog(HighlightCriteriaDialog& dialog) = 0;
  // The result of a shortest path, until the person closes it; answers the button.
  virtual RouteDialogChoice RunRouteResultDialog(const RouteResultDialog& dialog) = 0;

  // The renaming dialog, modal until the person closes it ("Fine" or "Annulla"); its "Ok" renames
  // through the model while it stays open.
  virtual void RunBulkRenameDialog(BulkRenameDialog& dialog) = 0;

  // Wait cursor, and with_clock starts the elapsed-time clock of long work. EndBusy stops both.
  virtual void BeginBusy(bool with_clock) = 0;
  virtual void EndBusy() = 0;

  // Progress of one long operation: shown from ProgressBegin to ProgressEnd, with a phase banner and
  // a percentage from 0 to 100. Used through ProgressDisplay.
  virtual void ProgressBegin() = 0;
  virtual void ProgressPhase(std::string_view phase) = 0;
  virtual void ProgressPercent(int percent) = 0;
  virtual void ProgressEnd() = 0;
};

}  // namespace viamappa
