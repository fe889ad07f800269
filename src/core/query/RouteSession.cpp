#include "query/RouteSession.h"

#include <string>
#include <vector>

#include "query/RouteReport.h"
#include "ui/RouteResultDialog.h"

namespace viamappa {

void RouteSession::BuildGraph(const RouteSources& sources, UserInterface& ui) {
  ui.BeginBusy(false);
  graph_.Build(sources.connection, sources.arcs);
  ui.EndBusy();
  built_ = true;
}

void RouteSession::SetStart(const RouteSources& sources, const std::optional<RoutePoint>& snapped,
                            UserInterface& ui) {
  if (!built_) BuildGraph(sources, ui);
  start_.reset();
  result_.reset();
  if (snapped) start_ = snapped;
}

void RouteSession::SetEndAndCompute(const RouteSources& sources, const std::optional<RoutePoint>& snapped,
                                    UserInterface& ui, const std::function<void()>& redraw) {
  end_.reset();
  result_.reset();
  if (!snapped) return;
  end_ = snapped;
  if (redraw) redraw();
  if (!built_ || graph_.stale()) BuildGraph(sources, ui);

  // Without a start marker the start has no arc: the computation fails as for any point off the graph.
  const RoutePoint start = start_ ? *start_ : RoutePoint{end_->at, std::nullopt};
  result_ = ComputeRoute(graph_, search_, sources, start, *end_, ui);
  if (!result_) return;

  const RouteChain& chosen = result_->Chosen();
  std::vector<std::string> lines;
  for (const RouteStretch& stretch : Stretches(chosen)) lines.push_back(StretchLine(stretch));
  const RouteResultDialog dialog(RouteLengthText(chosen), std::move(lines));
  if (ui.RunRouteResultDialog(dialog) == RouteDialogChoice::Save) SaveRoute(chosen, ui);
}

void RouteSession::ClearMarkers() {
  start_.reset();
  end_.reset();
  result_.reset();
}

void RouteSession::ClearEnd() {
  end_.reset();
  result_.reset();
}

void RouteSession::MarkGraphStale() {
  graph_.MarkStale();
}

void RouteSession::ArcLeavingCaches(std::int32_t arc) {
  if (result_ && result_->PassesThrough(arc)) result_.reset();
  for (std::optional<RoutePoint>* marker : {&start_, &end_}) {
    if (*marker && (*marker)->arc == arc) (*marker)->arc.reset();
  }
  graph_.MarkStale();
}

void RouteSession::LayersRebuilt() {
  graph_.Clear();
  built_ = false;
  ClearMarkers();
}

}  // namespace viamappa
