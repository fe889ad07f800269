// The shortest path over a whole region: the 1,000,000-arc generated region, its road graph imported
// once. Times the routing graph's build from the database and the loaded arcs, 1,000 point-to-point
// searches between random nodes about 6 km apart and one search from the middle of the region to every
// node, each beside Boost Graph's dijkstra_shortest_paths over the same graph in compressed sparse rows
// (stopped at the target by its visitor for the point-to-point searches). Both must find the same
// distances. Then the whole computation of a route between two markers, with its texts.
#include <algorithm>
#include <boost/graph/compressed_sparse_row_graph.hpp>
#include <boost/graph/dijkstra_shortest_paths.hpp>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "BenchSupport.h"
#include "base/NumberText.h"
#include "db/DbConnection.h"
#include "map/LayerLoader.h"
#include "map/LayerNames.h"
#include "query/RouteComputation.h"
#include "query/RoutingGraph.h"
#include "query/ShortestPathSearch.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

using bench::Milliseconds;
using bench::Seconds;

struct EdgeWeight {
  double weight = 0;
};
using PeerGraph = boost::compressed_sparse_row_graph<boost::directedS, boost::no_property, EdgeWeight>;
using PeerVertex = boost::graph_traits<PeerGraph>::vertex_descriptor;

// Stops the peer's search once the target is taken from its queue: from then on its distance is final.
struct TargetReached {};
struct StopAtTarget : boost::default_dijkstra_visitor {
  PeerVertex target;
  explicit StopAtTarget(PeerVertex t) : target(t) {}
  void examine_vertex(PeerVertex u, const PeerGraph&) const {
    if (u == target) throw TargetReached();
  }
};

// The peer's search state, allocated once as ours is.
struct PeerSearch {
  explicit PeerSearch(const PeerGraph& graph)
      : graph(graph), predecessors(boost::num_vertices(graph)), distances(boost::num_vertices(graph)) {}

  void Run(PeerVertex source, std::optional<PeerVertex> target) {
    const auto weights = boost::get(&EdgeWeight::weight, graph);
    const auto index = boost::get(boost::vertex_index, graph);
    auto params = boost::predecessor_map(boost::make_iterator_property_map(predecessors.begin(), index))
                      .distance_map(boost::make_iterator_property_map(distances.begin(), index))
                      .weight_map(weights);
    try {
      if (target) {
        boost::dijkstra_shortest_paths(graph, source, params.visitor(StopAtTarget(*target)));
      } else {
        boost::dijkstra_shortest_paths(graph, source, params);
      }
    } catch (const TargetReached&) {
    }
  }

  const PeerGraph& graph;
  std::vector<PeerVertex> predecessors;
  std::vector<double> distances;
};

// The same directed edges as the routing graph's steps, grouped by their source as the rows are.
PeerGraph PeerOf(const RoutingGraph& graph) {
  std::vector<std::pair<std::size_t, std::size_t>> edges;
  std::vector<EdgeWeight> weights;
  for (NodeIndex u = 0; u < graph.node_count(); ++u) {
    for (const RoutingStep& step : graph.Steps(u)) {
      edges.emplace_back(static_cast<std::size_t>(u), static_cast<std::size_t>(step.neighbour));
      weights.push_back({step.length});
    }
  }
  return PeerGraph(boost::edges_are_sorted, edges.begin(), edges.end(), weights.begin(),
                   static_cast<std::size_t>(graph.node_count()));
}

// Pairs of nodes whose points lie between 5 and 7 km apart, drawn from a fixed seed.
std::vector<std::pair<NodeIndex, NodeIndex>> QueryPairs(const RoutingGraph& graph, int count) {
  std::mt19937 random(2026);
  std::uniform_int_distribution<NodeIndex> any(0, graph.node_count() - 1);
  std::vector<std::pair<NodeIndex, NodeIndex>> pairs;
  while (static_cast<int>(pairs.size()) < count) {
    const NodeIndex source = any(random);
    const Point& a = graph.NodePoint(source);
    for (int attempt = 0; attempt < 100000; ++attempt) {
      const NodeIndex target = any(random);
      const Point& b = graph.NodePoint(target);
      const double d = std::hypot(a.x - b.x, a.y - b.y);
      if (d >= 5000 && d <= 7000) {
        pairs.emplace_back(source, target);
        break;
      }
    }
  }
  return pairs;
}

// The node nearest to the middle of the nodes' extent.
NodeIndex MiddleNode(const RoutingGraph& graph) {
  Box extent;
  for (NodeIndex n = 0; n < graph.node_count(); ++n) extent.Widen(graph.NodePoint(n));
  const Point middle{(extent.minx + extent.maxx) / 2, (extent.miny + extent.maxy) / 2};
  NodeIndex best = 0;
  double nearest = 1e300;
  for (NodeIndex n = 0; n < graph.node_count(); ++n) {
    const Point& p = graph.NodePoint(n);
    const double d = std::hypot(p.x - middle.x, p.y - middle.y);
    if (d < nearest) nearest = d, best = n;
  }
  return best;
}

// A marker halfway along the first segment of the arc that leaves a node.
std::optional<RoutePoint> MarkerNear(const RoutingGraph& graph, MapLayer& arcs, NodeIndex node) {
  const auto steps = graph.Steps(node);
  if (steps.empty()) return std::nullopt;
  const std::int32_t id = graph.Arc(steps.front().arc).id;
  const LineFeature* feature = arcs.FindLineFeature(id);
  if (!feature || feature->polylines.empty() || feature->polylines.front().count() < 2) return std::nullopt;
  const PointArray& line = feature->polylines.front();
  return RoutePoint{{(line[0].x + line[1].x) / 2, (line[0].y + line[1].y) / 2}, id};
}

}  // namespace
}  // namespace viamappa

int main(int argc, char** argv) {
  using namespace viamappa;
  long long arcs = 1000000;
  int queries = 1000;
  std::string data_dir = "build/bench-data";
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--arcs") == 0) arcs = std::atoll(argv[i + 1]);
    if (std::strcmp(argv[i], "--queries") == 0) queries = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--data") == 0) data_dir = argv[i + 1];
  }
  std::filesystem::create_directories(data_dir);
  const std::string region = bench::GeneratedRegion(data_dir, arcs, "route");
  const std::string database = data_dir + "/route-" + std::to_string(arcs) + ".mdb";
  if (region.empty() || !bench::ImportedDatabase(region, database, {}, "route")) return 1;

  ScriptedUserInterface ui;
  DbConnection connection(database, ui);
  if (!connection.IsOpen()) return 1;
  LayerSet layers;
  LoadLayers(layers, connection, MapStyling());
  MapLayer* arc_layer = layers.FindLayer(kArcLayer);
  if (!arc_layer) return 1;

  // The build, best of three.
  RoutingGraph graph;
  double build_s = 1e300;
  for (int run = 0; run < 3; ++run) {
    const auto start = std::chrono::steady_clock::now();
    graph.Build(connection, *arc_layer);
    build_s = std::min(build_s, Seconds(start));
  }
  const PeerGraph peer_graph = PeerOf(graph);
  std::printf(
      "route benchmark: %lld arcs, %d nodes, %d arcs in the graph (%lld without nodes, %lld without "
      "geometry)\n",
      arcs, graph.node_count(), graph.arc_count(), static_cast<long long>(graph.skips().missing_node),
      static_cast<long long>(graph.skips().missing_geometry));

  ShortestPathSearch search;
  PeerSearch peer(peer_graph);
  const std::vector<std::pair<NodeIndex, NodeIndex>> pairs = QueryPairs(graph, queries);
  int differences = 0;
  double ours_ms = 0, peer_ms = 0;
  std::size_t reached = 0;
  for (const auto& [source, target] : pairs) {
    auto start = std::chrono::steady_clock::now();
    search.Begin(graph, source);
    search.RunUntil(target);
    ours_ms += Milliseconds(start);
    reached += search.reached();
    start = std::chrono::steady_clock::now();
    peer.Run(static_cast<PeerVertex>(source), static_cast<PeerVertex>(target));
    peer_ms += Milliseconds(start);
    if (std::fabs(search.Distance(target) - peer.distances[static_cast<std::size_t>(target)]) > 1e-6)
      ++differences;
  }
  const double query_ms = ours_ms / static_cast<double>(pairs.size());
  const double peer_query_ms = peer_ms / static_cast<double>(pairs.size());

  // One search to every node, best of five.
  const NodeIndex middle = MiddleNode(graph);
  double all_ms = 1e300, peer_all_ms = 1e300;
  for (int run = 0; run < 5; ++run) {
    auto start = std::chrono::steady_clock::now();
    search.Begin(graph, middle);
    search.RunToAll();
    all_ms = std::min(all_ms, Milliseconds(start));
    start = std::chrono::steady_clock::now();
    peer.Run(static_cast<PeerVertex>(middle), std::nullopt);
    peer_all_ms = std::min(peer_all_ms, Milliseconds(start));
  }
  for (NodeIndex n = 0; n < graph.node_count(); ++n) {
    const double theirs = peer.distances[static_cast<std::size_t>(n)];
    const double ours = search.Distance(n);
    const bool both_unreached =
        ours == ShortestPathSearch::kUnreached && theirs == std::numeric_limits<double>::max();
    if (!both_unreached && std::fabs(ours - theirs) > 1e-6) ++differences;
  }

  // Whole computations between markers on the arcs at the query pairs' nodes, texts included.
  double compute_ms = 0;
  int computed = 0;
  const int computations = std::min<int>(100, static_cast<int>(pairs.size()));
  for (int i = 0; i < computations; ++i) {
    const std::optional<RoutePoint> a = MarkerNear(graph, *arc_layer, pairs[i].first);
    const std::optional<RoutePoint> b = MarkerNear(graph, *arc_layer, pairs[i].second);
    if (!a || !b) continue;
    const auto start = std::chrono::steady_clock::now();
    const std::optional<RouteResult> result =
        ComputeRoute(graph, search, RouteSources{connection, *arc_layer}, *a, *b, ui);
    compute_ms += Milliseconds(start);
    if (result) ++computed;
  }

  std::printf("  %-34s %12s %14s\n", "figure", "ours", "Boost Graph");
  std::printf("  %-34s %9.3f s %14s\n", "graph build", build_s, "-");
  std::printf("  %-34s %8.3f ms %11.3f ms\n", "point to point (mean of queries)", query_ms, peer_query_ms);
  std::printf("  %-34s %8.1f ms %11.1f ms\n", "one to all (best of 5)", all_ms, peer_all_ms);
  std::printf("  %-34s %8.3f ms %14s\n", "route with texts (mean)", computed ? compute_ms / computed : 0.0,
              "-");
  std::printf(
      "  queries: %zu, nodes reached per query: %.0f, routes computed: %d of %d, distances differing: %d\n",
      pairs.size(), static_cast<double>(reached) / static_cast<double>(pairs.size()), computed, computations,
      differences);
  bench::PrintFigure({"route.build", build_s, "s", std::nullopt, "<1s", 3});
  bench::PrintFigure({"route.query", query_ms, "ms", peer_query_ms, "ratio<=1.0", 3});
  bench::PrintFigure({"route.one_to_all", all_ms, "ms", peer_all_ms, "ratio<=1.0", 1});
  bench::PrintFigure(
      {"route.compute", computed ? compute_ms / computed : 0.0, "ms", std::nullopt, "none", 3});
  return differences == 0 ? 0 : 1;
}
