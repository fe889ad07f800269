// The shortest route between two points of the graph, without a window.
#include <cmath>
#include <cstdio>
#include <optional>

#include "base/NumberText.h"
#include "cli/CliCommands.h"
#include "cli/CliSupport.h"
#include "db/DbConnection.h"
#include "db/Engine.h"
#include "map/LayerLoader.h"
#include "map/LayerNames.h"
#include "query/RouteSession.h"
#include "query/RouteSnap.h"
#include "ui/ConsoleUserInterface.h"

namespace viamappa::cli {

int Route(const std::vector<std::string>& args, const Options& options) {
  constexpr const char* kSynopsis = "route DATABASE X1 Y1 X2 Y2 [--save FILE] [--snap METRI]";
  std::vector<std::string> words;
  std::optional<std::string> save;
  double snap = kRouteSnapMetres;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word == "--save" && i + 1 < args.size()) {
      save = args[++i];
    } else if (word == "--snap" && i + 1 < args.size()) {
      const std::optional<double> metres = ParseDecimal(args[++i]);
      if (!metres || !(*metres > 0) || !std::isfinite(*metres)) return Usage(kSynopsis);
      snap = *metres;
    } else if (word.starts_with("--")) {
      return Usage(kSynopsis);
    } else {
      words.push_back(word);
    }
  }
  if (words.size() != 5) return Usage(kSynopsis);
  Point points[2];
  for (int i = 0; i < 4; ++i) {
    const std::optional<double> value = ParseDecimal(words[1 + i]);
    if (!value || !std::isfinite(*value)) return Usage(kSynopsis);
    (i % 2 == 0 ? points[i / 2].x : points[i / 2].y) = *value;
  }

  // The route's texts go to standard output, every message to standard error.
  ConsoleUserInterface ui(stderr, options.yes);
  ConsoleUserInterface route_ui(stderr, options.yes, stdout);
  DbConnection connection(words[0], ui, EngineDatabase::Access::ReadOnly);
  if (!connection.IsOpen()) return 1;
  LayerSet layers;
  LoadLayers(layers, connection, MapStyling());
  MapLayer* arcs = layers.FindLayer(kArcLayer);
  if (!arcs) return 1;

  std::optional<RoutePoint> snapped[2];
  const char* const kNames[2] = {"Partenza", "Arrivo"};
  for (int i = 0; i < 2; ++i) {
    snapped[i] = SnapRoutePoint(layers, points[i], snap);
    if (!snapped[i]) {
      std::fprintf(stderr, "%s: nessun punto del grafo entro %s m da %s %s\n", kNames[i],
                   FormatShortest(snap).c_str(), FormatFixed(points[i].x, 2).c_str(),
                   FormatFixed(points[i].y, 2).c_str());
      return 1;
    }
    std::fprintf(stderr, "%s: %s %s", kNames[i], FormatFixed(snapped[i]->at.x, 2).c_str(),
                 FormatFixed(snapped[i]->at.y, 2).c_str());
    if (snapped[i]->arc) std::fprintf(stderr, " sull'arco %d", *snapped[i]->arc);
    std::fprintf(stderr, "\n");
  }

  if (save) route_ui.QueueFile(*save);
  RouteSession session;
  const RouteSources sources{connection, *arcs};
  session.SetStart(sources, snapped[0], route_ui);
  const RoutingGraphSkips& skips = session.graph().skips();
  if (skips.missing_node > 0)
    std::fprintf(stderr, "Archi esclusi dal grafo perché un loro nodo manca in nodi: %lld\n",
                 static_cast<long long>(skips.missing_node));
  if (skips.missing_geometry > 0)
    std::fprintf(stderr, "Archi esclusi dal grafo perché privi di geometria: %lld\n",
                 static_cast<long long>(skips.missing_geometry));
  session.SetEndAndCompute(sources, snapped[1], route_ui);
  // Damaged geometry met while loading the map was shown; it fails the command only if the route does.
  return session.result() && route_ui.error_count() == 0 && route_ui.cancelled_choices() == 0 ? 0 : 1;
}

}  // namespace viamappa::cli
