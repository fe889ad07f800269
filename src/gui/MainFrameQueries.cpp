// The main window's part of the map queries: the toponym search and the highlighting criteria run on
// the window's thread over the open database, and the highlighting flag follows the highlight set.
#include "gui/MainFrame.h"
#include "gui/MapView.h"
#include "map/CommandIds.h"
#include "query/RoadHighlighting.h"
#include "query/ToponymSearchCommand.h"

namespace viamappa {

void MainFrame::SearchToponyms() {
  if (!map_view_ || !layers_ || !state_.connected()) return;
  const bool had_highlights = !map_view_->queries().highlights.empty();
  // The search begins by clearing the highlight set: nothing is highlighted from then on.
  map_modes_.highlighting = false;
  const std::optional<HitView> view =
      RunToponymSearch(*state_.connection, ui_, *layers_, map_view_->queries());
  if (!view) {
    if (had_highlights) map_view_->requestFullRedraw();
    return;
  }
  // A whole street is shown highlighted: highlighting goes on as when its command turns it on.
  if (view->highlighting) {
    map_modes_ = ApplyModeCommand(cmd::kHighlightRoads, map_modes_, true).modes;
    map_view_->ModesChanged();
  }
  map_view_->ShowHit(*view);
}

bool MainFrame::ChooseHighlighting() {
  if (!map_view_ || !layers_ || !state_.connected()) return false;
  return ChooseHighlightedRoads(*state_.connection, ui_, *layers_, map_view_->queries().highlights);
}

}  // namespace viamappa
