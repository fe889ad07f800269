#include "ui/ConsoleUserInterface.h"

#include <unistd.h>

#include "ui/RouteResultDialog.h"
#include "ui/SnapFactorDialog.h"

namespace viamappa {

namespace {

const char* IconLabel(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Stop:
      return "ERRORE";
    case MessageIcon::Warning:
      return "ATTENZIONE";
    case MessageIcon::Question:
      return "DOMANDA";
    case MessageIcon::Information:
      return "INFORMAZIONE";
    case MessageIcon::None:
      break;
  }
  return "MESSAGGIO";
}

}  // namespace

ConsoleUserInterface::ConsoleUserInterface(std::FILE* err, bool answer_yes, std::FILE* results)
    : err_(err), answer_yes_(answer_yes), results_(results), terminal_(isatty(fileno(err)) != 0) {}

void ConsoleUserInterface::ShowMessage(std::string_view text, MessageIcon icon, std::string_view caption) {
  const bool progress_was_shown = line_open_;
  EndProgressLine();
  if (icon == MessageIcon::Information && results_) {
    std::fprintf(results_, "%.*s\n", static_cast<int>(text.size()), text.data());
    std::fflush(results_);
    return;
  }
  if (icon == MessageIcon::Stop || icon == MessageIcon::Warning) ++error_count_;
  std::fprintf(err_, "%s", IconLabel(icon));
  if (!caption.empty()) std::fprintf(err_, " [%.*s]", static_cast<int>(caption.size()), caption.data());
  std::fprintf(err_, ": %.*s\n", static_cast<int>(text.size()), text.data());
  std::fflush(err_);
  if (progress_was_shown) {
    line_open_ = true;
    if (terminal_) DrawProgressLine();
  }
}

bool ConsoleUserInterface::AskOkCancel(std::string_view text, std::string_view caption) {
  ShowMessage(text, MessageIcon::Question, caption);
  std::fprintf(err_, "-> %s\n", answer_yes_ ? "OK" : "Annulla");
  return answer_yes_;
}

bool ConsoleUserInterface::AskYesNo(std::string_view text, std::string_view caption) {
  ShowMessage(text, MessageIcon::Question, caption);
  std::fprintf(err_, "-> %s\n", answer_yes_ ? "Sì" : "No");
  return answer_yes_;
}

std::optional<std::string> ConsoleUserInterface::ChooseOpenFile(const FileChoice&) {
  if (files_.empty()) {
    ++cancelled_choices_;
    return std::nullopt;
  }
  std::string path = std::move(files_.front());
  files_.pop_front();
  return path;
}

std::optional<std::string> ConsoleUserInterface::ChooseSaveFile(const FileChoice& choice) {
  auto path = ChooseOpenFile(choice);
  if (path && choice.confirm_overwrite && !answer_yes_ && access(path->c_str(), F_OK) == 0) {
    ShowMessage("Il file " + *path + " esiste già: per sostituirlo ripetere il comando con --yes.",
                MessageIcon::Warning, choice.title);
    ++cancelled_choices_;
    return std::nullopt;
  }
  return path;
}

void ConsoleUserInterface::RunBulkRenameDialog(BulkRenameDialog& dialog) {
  if (bulk_rename_answer_) bulk_rename_answer_(dialog);
}

bool ConsoleUserInterface::RunSnapFactorDialog(SnapFactorDialog& dialog) {
  if (!snap_factors_.empty()) {
    dialog.SetText(std::move(snap_factors_.front()));
    snap_factors_.pop_front();
  }
  if (const std::optional<std::string> refusal = dialog.Accept()) {
    ShowMessage(*refusal, MessageIcon::Warning, SnapFactorDialog::kTitle);
    return false;
  }
  EndProgressLine();
  std::fprintf(err_, "%.*s: %s\n", static_cast<int>(SnapFactorDialog::kLabel.size()),
               SnapFactorDialog::kLabel.data(), dialog.text().c_str());
  return true;
}

bool ConsoleUserInterface::RunStreetListDialog(StreetListDialogModel& dialog) {
  return street_list_answer_ && street_list_answer_(dialog);
}

RouteDialogChoice ConsoleUserInterface::RunRouteResultDialog(const RouteResultDialog& dialog) {
  EndProgressLine();
  std::FILE* out = results_ ? results_ : err_;
  std::fprintf(out, "%s\n", dialog.length_text().c_str());
  for (const std::string& line : dialog.lines()) std::fprintf(out, "%s\n", line.c_str());
  std::fflush(out);
  return files_.empty() ? RouteDialogChoice::Ok : RouteDialogChoice::Save;
}

void ConsoleUserInterface::BeginBusy(bool) {}

void ConsoleUserInterface::EndBusy() {}

void ConsoleUserInterface::ProgressBegin() {
  phase_.clear();
  percent_ = 0;
}

void ConsoleUserInterface::ProgressPhase(std::string_view phase) {
  EndProgressLine();
  phase_ = phase;
  percent_ = 0;
  line_open_ = true;
  DrawProgressLine();
}

void ConsoleUserInterface::ProgressPercent(int percent) {
  percent_ = percent;
  if (line_open_ && terminal_) DrawProgressLine();
}

void ConsoleUserInterface::ProgressEnd() {
  EndProgressLine();
}

void ConsoleUserInterface::DrawProgressLine() {
  // On a terminal the line is redrawn in place; in a log only the phase is written, once.
  if (terminal_) {
    std::fprintf(err_, "\r\033[K%s %3d%%", phase_.c_str(), percent_);
  } else if (percent_ == 0) {
    std::fprintf(err_, "%s\n", phase_.c_str());
  }
  std::fflush(err_);
}

void ConsoleUserInterface::EndProgressLine() {
  if (line_open_ && terminal_) {
    std::fprintf(err_, "\n");
    std::fflush(err_);
  }
  line_open_ = false;
}

}  // namespace viamappa
