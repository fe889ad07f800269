#include "app/TopologyCommands.h"

#include "edit/BulkRenameDialog.h"
#include "io/Localization.h"
#include "ui/RepeatedMessageFilter.h"

namespace viamappa {

namespace {

// Runs a batch command of the graph with the wait cursor and the clock, each repeated failure shown
// once; on success shows its summary and has the map built anew.
template <typename Run, typename Summary>
auto RunOnGraph(ApplicationState& state, UserInterface& ui, ShellWindow& shell, Run run, Summary summary)
    -> decltype(run(ui)) {
  if (!state.connected()) return std::nullopt;
  ui.BeginBusy(true);
  decltype(run(ui)) counts;
  {
    RepeatedMessageFilter filter(ui);
    InterfaceScope scope(*state.connection, filter);
    counts = run(filter);
  }
  ui.EndBusy();
  if (!counts) return counts;
  ui.ShowMessage(summary(*counts), MessageIcon::Information);
  shell.RoutingGraphStale();
  shell.RebuildMap();
  shell.Redraw();
  return counts;
}

}  // namespace

std::optional<NodeRegenerationCounts> TopologyCommands::RegenerateNodes() {
  return RunOnGraph(
      state_, ui_, shell_,
      [this](UserInterface& ui) { return viamappa::RegenerateNodes(*state_.connection, ui); },
      NodeRegenerationSummary);
}

std::optional<ArcMergeCounts> TopologyCommands::MergeBrokenArcs() {
  return RunOnGraph(
      state_, ui_, shell_,
      [this](UserInterface& ui) { return viamappa::MergeBrokenArcs(*state_.connection, ui); },
      ArcMergeSummary);
}

void TopologyCommands::RenameArcs() {
  if (!state_.connected()) return;
  CheckRoadGraphLocalized(*state_.connection, ui_);
  BulkRenameDialog dialog(*state_.connection, ui_);
  dialog.Load();
  ui_.RunBulkRenameDialog(dialog);
  // The street names along the arcs are read from the database when the map is drawn.
  shell_.Redraw();
}

std::optional<GraphValidation> TopologyCommands::ValidateGraph() {
  if (!state_.connected()) return std::nullopt;
  ui_.BeginBusy(true);
  std::optional<GraphValidation> validation;
  {
    RepeatedMessageFilter filter(ui_);
    InterfaceScope scope(*state_.connection, filter);
    validation = viamappa::ValidateGraph(*state_.connection, filter);
  }
  ui_.EndBusy();
  return validation;
}

}  // namespace viamappa
