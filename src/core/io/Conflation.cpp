#include "io/Conflation.h"

#include "io/ImportReport.h"

#include <ctime>

#include "base/NumberText.h"
#include "db/DbBatch.h"
#include "io/AnalogueArcs.h"
#include "io/ConflationWriter.h"
#include "io/ImportReport.h"
#include "io/NewNodes.h"
#include "io/PrimaryGraphReader.h"
#include "io/RoadGraphImport.h"
#include "io/SecondaryGraphReader.h"
#include "io/SnapAdjustment.h"
#include "io/UnifiedStreets.h"
#include "ui/ProgressDisplay.h"

namespace viamappa {

namespace {

using namespace conflation;

std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const auto two = [](int value) {
    std::string text(value < 10 ? 1 : 0, '0');
    return text.append(FormatInteger(value));
  };
  return two(local.tm_mday) + "/" + two(local.tm_mon + 1) + "/" + FormatInteger(local.tm_year + 1900);
}

// Passes every message of the access layer on and counts the failures among them, so that a run whose
// reading or writing met one stores nothing.
class FailureCount : public UserInterface {
 public:
  explicit FailureCount(UserInterface& target) : target_(target) {}

  int failures() const { return failures_; }

  void ShowMessage(std::string_view text, MessageIcon icon, std::string_view caption = {}) override {
    if (icon == MessageIcon::Stop || icon == MessageIcon::Warning) ++failures_;
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
  bool RunSnapFactorDialog(SnapFactorDialog& dialog) override { return target_.RunSnapFactorDialog(dialog); }
  void RunBulkRenameDialog(BulkRenameDialog& dialog) override { target_.RunBulkRenameDialog(dialog); }
  void BeginBusy(bool with_clock) override { target_.BeginBusy(with_clock); }
  void EndBusy() override { target_.EndBusy(); }
  void ProgressBegin() override { target_.ProgressBegin(); }
  void ProgressPhase(std::string_view phase) override { target_.ProgressPhase(phase); }
  void ProgressPercent(int percent) override { target_.ProgressPercent(percent); }
  void ProgressEnd() override { target_.ProgressEnd(); }

 private:
  UserInterface& target_;
  int failures_ = 0;
};

constexpr const char* kNothingStored = "Nessuna modifica è stata registrata nel database.";

// Decides everything: analogues, unified streets, the places of the ends and the new nodes.
void Decide(ConflationState& state, ProgressDisplay& progress) {
  const BoxIndex primary_index =
      state.search == Search::Indexed ? BoxIndex(PrimaryExtents(state)) : BoxIndex();
  FindCoveredPrimaryArcs(state, primary_index, progress);
  FindCoveringPrimaryArcs(state, primary_index, progress);
  const StreetPieces pieces = JoinUnifiedStreets(state, progress);
  FindStreetsAlong(state, pieces, primary_index, progress);
  AdjustSnapPoints(state, primary_index, progress);
  DetermineNewNodes(state, progress);
}

}  // namespace

std::string ConflationSummary(const ConflationResult& result) {
  return "Risultati dell'importazione del Grafo Secondario:\n\nModificati " + FormatInteger(result.modified) +
         " Archi Primari\nInseriti " + FormatInteger(result.from_primary) +
         " Archi derivati da Archi Primari\nInseriti " + FormatInteger(result.from_secondary) +
         " Archi derivati da Archi Secondari\nInseriti " + FormatInteger(result.nodes) + " Nodi\n";
}

ConflationResult ConflateSecondaryGraph(DbConnection& connection, const std::string& base_name, double snap,
                                        UserInterface& ui, const ConflationOptions& options) {
  ConflationResult result;
  ConflationState& state = result.state;
  state.snap = snap;
  state.search = options.search;
  ui.BeginBusy(true);
  ProgressDisplay progress(ui);

  std::string error;
  switch (ReadSecondaryGraph(base_name, state, progress, error)) {
    case SecondaryRead::Read:
      break;
    case SecondaryRead::Unreadable:
      ui.ShowMessage(ImportFailedMessage(error), MessageIcon::Stop);
      return result;
    case SecondaryRead::Unusable:
      ui.ShowMessage(UnusableRoadGraphMessage(), MessageIcon::Stop);
      return result;
  }

  // The primary graph is read inside the batch that writes the result, so that nothing can change it
  // between the decisions and the writing.
  FailureCount failures(connection.ui());
  InterfaceScope scope(connection, failures);
  // Without the write lock the batch has told why, and nothing may be written.
  DbBatch batch(connection);
  if (!batch.began()) return result;
  ReadPrimaryArcs(connection, state, progress, ui);
  if (failures.failures() == 0) ReadExistingNodes(connection, state, progress);
  if (failures.failures() > 0) {
    batch.Rollback();
    ui.ShowMessage("ATTENZIONE: il grafo primario non può essere letto.\n\n" + std::string(kNothingStored),
                   MessageIcon::Stop);
    return result;
  }

  Decide(state, progress);

  WrittenRows written;
  const std::string today = options.today.empty() ? Today() : options.today;
  const bool written_all =
      WriteConflation(connection, state, today, progress, written) && failures.failures() == 0;
  if (!written_all) batch.Rollback();
  if (!written_all || !batch.Commit()) {
    for (SecondaryArc& s : state.secondary) s.inserted_id = 0;
    ui.ShowMessage("ATTENZIONE: l'importazione del grafo secondario non è stata completata.\n\n" +
                       std::string(kNothingStored),
                   MessageIcon::Stop);
  } else {
    result.stored = true;
    result.modified = written.modified;
    result.from_primary = written.from_primary;
    result.from_secondary = written.from_secondary;
    result.nodes = written.nodes;
  }
  ui.ShowMessage(ConflationSummary(result), MessageIcon::Information);
  return result;
}

}  // namespace viamappa
