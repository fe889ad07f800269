#include "query/RouteComputation.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "query/RouteCut.h"
#include "query/RouteItemTexts.h"

namespace viamappa {

namespace {

// An arc's ends in the order of its first edge: the edges are sorted by their from node, so the first
// of an arc's two runs from its lower node.
struct Edge {
  NodeIndex from = kNoNode;
  NodeIndex to = kNoNode;
};

Edge FirstEdge(const RoutingArc& arc) {
  return {std::min(arc.from, arc.to), std::max(arc.from, arc.to)};
}

double DistanceBetween(const Point& a, const Point& b) {
  return std::hypot(a.x - b.x, a.y - b.y);
}

bool AtAnEnd(const Point& p, const PointArray& line) {
  return !line.empty() && (p == line.front() || p == line.back());
}

// The computation of one route: the markers, their arcs and what the assembly reads.
class RouteBuilder {
 public:
  RouteBuilder(const RoutingGraph& graph, const ShortestPathSearch& search, const RouteSources& sources,
               const RoutePoint& start, const RoutePoint& end, ArcIndex start_arc, ArcIndex end_arc)
      : graph_(graph),
        search_(search),
        sources_(sources),
        texts_(sources.connection),
        start_(start),
        end_(end),
        start_arc_(start_arc),
        end_arc_(end_arc) {}

  // The route of the start arc alone, between the two markers.
  std::optional<RouteChain> OneArc() {
    std::vector<ArcIndex> sequence{start_arc_};
    return Items(sequence, kNoNode, kNoNode);
  }

  // The path the search (or the direct link) left towards target, walked back along the arcs that
  // settled each node.
  std::optional<RouteChain> Towards(NodeIndex target) {
    std::vector<ArcIndex> walked;  // from the target backwards
    NodeIndex node = target;
    NodeIndex after_first = kNoNode;  // the node the last arc walked leads to, in route order
    NodeIndex last_entry = kNoNode;   // where the route enters its last arc
    bool end_added = false;
    while (search_.Predecessor(node) != kNoNode) {
      // A walk longer than the graph has nodes goes round a loop: give up rather than run forever.
      if (walked.size() >= static_cast<std::size_t>(graph_.node_count())) return std::nullopt;
      const ArcIndex arc = search_.PredecessorArc(node);
      const NodeIndex from = search_.Predecessor(node);
      if (walked.empty()) {
        const PointArray* line = Polyline(arc);
        if (!line) return std::nullopt;
        end_added = arc != end_arc_ && !AtAnEnd(end_.at, *line);
        last_entry = end_added ? target : from;
      }
      walked.push_back(arc);
      after_first = node;
      node = from;
    }
    std::vector<ArcIndex> sequence;
    NodeIndex first_exit = node;
    if (walked.empty()) {
      sequence = {start_arc_, end_arc_};
      last_entry = target;
    } else {
      const PointArray* line = Polyline(walked.back());
      if (!line) return std::nullopt;
      if (walked.back() != start_arc_ && !AtAnEnd(start_.at, *line)) {
        sequence.push_back(start_arc_);
      } else {
        first_exit = after_first;
      }
      sequence.insert(sequence.end(), walked.rbegin(), walked.rend());
      if (end_added) sequence.push_back(end_arc_);
    }
    return Items(sequence, first_exit, last_entry);
  }

 private:
  const PointArray* Polyline(ArcIndex arc) const {
    const LineFeature* feature = sources_.arcs.FindLineFeature(graph_.Arc(arc).id);
    return feature && !feature->polylines.empty() ? &feature->polylines.front() : nullptr;
  }

  std::optional<Point> NodePoint(NodeIndex node) const {
    if (node == kNoNode) return std::nullopt;
    return graph_.NodePoint(node);
  }

  // The items of the arcs in route order, cut at the markers. first_exit is the node where the route
  // leaves the first arc, last_entry where it enters the last one.
  std::optional<RouteChain> Items(const std::vector<ArcIndex>& sequence, NodeIndex first_exit,
                                  NodeIndex last_entry) {
    RouteChain chain;
    for (const ArcIndex arc : sequence) {
      const PointArray* line = Polyline(arc);
      if (!line) return std::nullopt;
      RouteItem item;
      item.arc = graph_.Arc(arc).id;
      item.line = *line;
      texts_.Fill(item);
      chain.items.push_back(std::move(item));
    }
    std::vector<RouteItem>& items = chain.items;
    if (items.size() == 1) {
      RouteItem& only = items.front();
      // With the markers on its two ends the route is the whole arc.
      const bool whole = AtAnEnd(start_.at, only.line) && AtAnEnd(end_.at, only.line) && start_.at != end_.at;
      if (!whole) only.cut = CutBetween(only.line, start_.at, end_.at);
      return chain;
    }
    const EndCut last =
        CutEndItem(items.back().line, end_.at, items[items.size() - 2].line, NodePoint(last_entry));
    const EndCut first = CutEndItem(items.front().line, start_.at, items[1].line, NodePoint(first_exit));
    if (last.kind == EndCut::Kind::Piece) items.back().cut = last.piece;
    if (first.kind == EndCut::Kind::Piece) items.front().cut = first.piece;
    // A marker where the route passes to the next arc leaves nothing of its own arc to run along.
    if (last.kind == EndCut::Kind::Nothing) items.pop_back();
    if (first.kind == EndCut::Kind::Nothing) items.erase(items.begin());
    return chain;
  }

  const RoutingGraph& graph_;
  const ShortestPathSearch& search_;
  const RouteSources& sources_;
  RouteItemTexts texts_;
  const RoutePoint& start_;
  const RoutePoint& end_;
  ArcIndex start_arc_;
  ArcIndex end_arc_;
};

// Settles the shared node and the end arc's far end directly from the start arc's far end, for two arcs
// that meet at one node. Of the four ways two first edges can meet, the last that holds decides.
void LinkArcs(ShortestPathSearch& search, const RoutingGraph& graph, ArcIndex start_arc, ArcIndex end_arc) {
  const Edge es = FirstEdge(graph.Arc(start_arc));
  const Edge ee = FirstEdge(graph.Arc(end_arc));
  // p: the start arc's far end, m: the shared node, q: the end arc's far end.
  struct Meeting {
    NodeIndex p = kNoNode, m = kNoNode, q = kNoNode;
  } meet;
  if (es.to == ee.from) meet = {es.from, es.to, ee.to};
  if (es.from == ee.to) meet = {es.to, es.from, ee.from};
  if (es.from == ee.from) meet = {es.to, es.from, ee.to};
  if (es.to == ee.to) meet = {es.from, es.to, ee.from};
  search.Link(meet.m, graph.Arc(start_arc).length, start_arc);
  search.Link(meet.q, graph.Arc(end_arc).length, end_arc);
}

// Whether two arcs meet at exactly one node, and are not the same pair of nodes.
bool ShareOneNode(const RoutingArc& a, const RoutingArc& b) {
  const Edge ea = FirstEdge(a);
  const Edge eb = FirstEdge(b);
  if (ea.from == eb.from && ea.to == eb.to) return false;
  return ea.from == eb.from || ea.from == eb.to || ea.to == eb.from || ea.to == eb.to;
}

}  // namespace

std::optional<RouteResult> ComputeRoute(const RoutingGraph& graph, ShortestPathSearch& search,
                                        const RouteSources& sources, const RoutePoint& start,
                                        const RoutePoint& end, UserInterface& ui) {
  const auto fail = [&](std::string_view message) -> std::optional<RouteResult> {
    ui.ShowMessage(message, MessageIcon::Stop);
    return std::nullopt;
  };
  const ArcIndex start_arc = start.arc ? graph.FindArc(*start.arc) : kNoArc;
  const ArcIndex end_arc = end.arc ? graph.FindArc(*end.arc) : kNoArc;
  if (start_arc == kNoArc || end_arc == kNoArc) return fail(kNoRouteMessage);
  RouteBuilder builder(graph, search, sources, start, end, start_arc, end_arc);

  RouteResult result;
  if (start_arc == end_arc) {
    std::optional<RouteChain> chain = builder.OneArc();
    if (!chain) return fail(kNoRouteMessage);
    result.path1 = *chain;
    result.path2 = std::move(*chain);
    return result;
  }

  const Edge es = FirstEdge(graph.Arc(start_arc));
  const Edge ee = FirstEdge(graph.Arc(end_arc));
  // A marker halfway between the two ends starts from the second.
  const NodeIndex source =
      DistanceBetween(start.at, graph.NodePoint(es.from)) < DistanceBetween(start.at, graph.NodePoint(es.to))
          ? es.from
          : es.to;
  search.Begin(graph, source);
  const bool linked = ShareOneNode(graph.Arc(start_arc), graph.Arc(end_arc));
  if (linked) LinkArcs(search, graph, start_arc, end_arc);

  if (!linked && !search.RunUntil(ee.from)) return fail(kNoRouteMessage);
  std::optional<RouteChain> path1 = builder.Towards(ee.from);
  if (!path1) return fail(kNoRouteMessage);
  if (!linked && !search.RunUntil(ee.to)) return fail(kNoAlternativeRouteMessage);
  std::optional<RouteChain> path2 = builder.Towards(ee.to);
  if (!path2) return fail(kNoAlternativeRouteMessage);
  result.path1 = std::move(*path1);
  result.path2 = std::move(*path2);
  return result;
}

}  // namespace viamappa
