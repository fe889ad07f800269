// The shortest path as the map window holds it: the routing graph (built when first needed, rebuilt
// when an edit made it stale), the start and end markers with their arcs, and the last result. The
// window's route modes hand it the snapped points; the editing tells it what changed; the renderer
// draws its markers and chosen path. It keeps no reference into the map data: arcs by identifier,
// polylines as copies.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "query/RouteComputation.h"
#include "query/RoutingGraph.h"
#include "query/ShortestPathSearch.h"

namespace viamappa {

class RouteSession {
 public:
  // Route start (double click in the route start mode, Enter, popup 5123): builds the graph when there
  // is none, forgets the start marker and the result, and takes snapped as the new start marker when
  // the snap found a point. The window redraws afterwards.
  void SetStart(const RouteSources& sources, const std::optional<RoutePoint>& snapped, UserInterface& ui);

  // Route end (double click in the route end mode, Enter, popup 5124): forgets the end marker and the
  // result; when the snap found a point it becomes the end marker, the graph is rebuilt if stale, both
  // paths are computed and the result shown, and saved when the person chooses Salva. A failure shows
  // its message and leaves the end marker. redraw, when given, is called once the end marker is set,
  // before the computation. The window redraws fully afterwards.
  void SetEndAndCompute(const RouteSources& sources, const std::optional<RoutePoint>& snapped,
                        UserInterface& ui, const std::function<void()>& redraw = {});

  // The mode changes: forget both markers, or the end marker, and the result with them.
  void ClearMarkers();
  void ClearEnd();

  // An edit added, removed or moved arcs or nodes: the next computation builds the graph again.
  void MarkGraphStale();

  // An arc is about to leave the arcs cache: a result that runs along it is forgotten, and so is a
  // marker's hold on it.
  void ArcLeavingCaches(std::int32_t arc);

  // The map data were built anew (or dropped): the graph, the markers and the result refer to the old
  // ones and are forgotten.
  void LayersRebuilt();

  const std::optional<RoutePoint>& start() const { return start_; }
  const std::optional<RoutePoint>& end() const { return end_; }
  const std::optional<RouteResult>& result() const { return result_; }
  const RoutingGraph& graph() const { return graph_; }
  bool graph_built() const { return built_; }

 private:
  void BuildGraph(const RouteSources& sources, UserInterface& ui);

  RoutingGraph graph_;
  bool built_ = false;
  ShortestPathSearch search_;
  std::optional<RoutePoint> start_;
  std::optional<RoutePoint> end_;
  std::optional<RouteResult> result_;
};

}  // namespace viamappa
