#include "cli/CliCommands.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>

#include "app/ApplicationState.h"
#include "app/DatabaseLifecycle.h"
#include "app/ImportCommands.h"
#include "app/SettingsStore.h"
#include "app/ShellWindow.h"
#include "base/NumberText.h"
#include "db/DbConnection.h"
#include "db/DbQuery.h"
#include "db/Engine.h"
#include "map/LayerLoader.h"
#include "map/LayerNames.h"
#include "query/RouteSession.h"
#include "query/RouteSnap.h"
#include "synth/SyntheticRegion.h"
#include "ui/ConsoleUserInterface.h"

namespace viamappa::cli {

namespace {

int Usage(const char* synopsis) {
  std::fprintf(stderr, "Uso: viamappa-cli %s\n", synopsis);
  return 2;
}

// Runs a command of the database menu with the files of the command line as the file choices.
template <typename Command>
int RunLifecycle(const std::vector<std::string>& files, const Options& options, Command command) {
  ConsoleUserInterface ui(stderr, options.yes);
  for (const std::string& file : files) ui.QueueFile(file);
  ApplicationState state;
  WindowlessShell shell;
  SettingsStore settings(SettingsStore::DefaultPath());
  DatabaseLifecycle lifecycle(state, ui, shell, settings);
  command(lifecycle);
  return ui.error_count() == 0 && ui.cancelled_choices() == 0 ? 0 : 1;
}

}  // namespace

int Create(const std::vector<std::string>& args, const Options& options) {
  if (args.size() != 1) return Usage("create FILE");
  return RunLifecycle(args, options, [](DatabaseLifecycle& lifecycle) { lifecycle.Create(); });
}

int Repair(const std::vector<std::string>& args, const Options& options) {
  if (args.size() != 1) return Usage("repair FILE");
  return RunLifecycle(args, options, [](DatabaseLifecycle& lifecycle) { lifecycle.Repair(); });
}

int Duplicate(const std::vector<std::string>& args, const Options& options) {
  if (args.size() != 2) return Usage("duplicate ORIGINE DESTINAZIONE");
  return RunLifecycle(args, options, [](DatabaseLifecycle& lifecycle) { lifecycle.Duplicate(); });
}

int Check(const std::vector<std::string>& args, const Options&) {
  if (args.size() != 1) return Usage("check FILE");
  std::vector<std::string> problems;
  std::string error;
  if (!CheckDatabase(args[0], problems, error)) {
    std::fprintf(stderr, "ERRORE: %s\n", error.c_str());
    return 1;
  }
  for (const std::string& problem : problems) std::printf("%s\n", problem.c_str());
  if (problems.empty()) std::printf("Il database %s è integro.\n", args[0].c_str());
  return problems.empty() ? 0 : 1;
}

int Info(const std::vector<std::string>& args, const Options& options) {
  if (args.size() != 1) return Usage("info FILE");
  ConsoleUserInterface ui(stderr, options.yes);
  DbConnection connection(args[0], ui, EngineDatabase::Access::ReadOnly);
  if (!connection.IsOpen()) return 1;
  const std::vector<std::string> tables = connection.engine()->TableNames();
  std::printf("Database: %s\nMotore: %s\nLocale: %s\nTavole: %zu\n", args[0].c_str(), EngineVersion().c_str(),
              connection.engine()->Locale().c_str(), tables.size());
  for (const std::string& table : tables) {
    DbQuery count(connection);
    count.SetSelect("count(*)");
    count.SetFrom("[" + table + "]");
    std::int32_t rows = 0;
    if (!count.Open() || !count.GetLong(0, rows)) return 1;
    std::printf("  %-10s %10d\n", table.c_str(), rows);
  }
  return ui.error_count() == 0 ? 0 : 1;
}

int Import(ImportKind kind, const std::vector<std::string>& args, const Options& options) {
  static const char* const kSynopsis[] = {"import-graph DATABASE FILE.shp", "import-comuni DATABASE FILE.shp",
                                          "import-localita DATABASE FILE.shp",
                                          "import-toponimi DATABASE FILE.txt"};
  if (args.size() != 2) return Usage(kSynopsis[static_cast<int>(kind)]);
  ConsoleUserInterface ui(stderr, options.yes, stdout);
  ApplicationState state;
  state.database_path = args[0];
  state.connection = std::make_unique<DbConnection>(args[0], ui);
  if (!state.connected()) return 1;
  ui.QueueFile(args[1]);
  WindowlessShell shell;
  ImportCommands commands(state, ui, shell);
  bool done = false;
  switch (kind) {
    case ImportKind::Graph:
      done = commands.ImportRoadGraph();
      break;
    case ImportKind::Municipalities:
      done = commands.ImportMunicipalities();
      break;
    case ImportKind::Localities:
      done = commands.ImportLocalities();
      break;
    case ImportKind::Toponyms:
      done = commands.ImportToponyms();
      break;
  }
  return done && ui.error_count() == 0 ? 0 : 1;
}

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

int InstallSettings(const std::vector<std::string>& args, const Options&) {
  if (args.empty() || args.size() > 2) return Usage("install-settings CARTELLA [DATABASE]");
  const std::string path = SettingsStore::DefaultPath();
  if (!SettingsStore::Install(path, args[0], args.size() == 2 ? args[1] : std::string())) {
    std::fprintf(stderr, "ERRORE: impossibile scrivere la configurazione %s\n", path.c_str());
    return 1;
  }
  std::printf("%s\n", path.c_str());
  return 0;
}

int SettingsPath(const std::vector<std::string>& args, const Options&) {
  if (!args.empty()) return Usage("settings-path");
  std::printf("%s\n", SettingsStore::DefaultPath().c_str());
  return 0;
}

int Synth(const std::vector<std::string>& args, const Options&) {
  constexpr const char* kSynopsis =
      "synth CARTELLA [--arcs N] [--comuni M] [--localita K] [--seed S] [--lato METRI]";
  synth::RegionOptions region;
  std::string folder;
  const auto number = [](const std::string& text, auto& value) {
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, value);
    return failure == std::errc() && stop == end;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    const bool has_value = i + 1 < args.size();
    bool ok = true;
    if (word == "--arcs") {
      ok = has_value && number(args[++i], region.arcs);
    } else if (word == "--comuni") {
      ok = has_value && number(args[++i], region.comuni);
    } else if (word == "--localita") {
      ok = has_value && number(args[++i], region.localita);
    } else if (word == "--seed") {
      ok = has_value && number(args[++i], region.seed);
    } else if (word == "--lato") {
      ok = has_value && number(args[++i], region.side_metres);
    } else if (word.starts_with("--") || !folder.empty()) {
      ok = false;
    } else {
      folder = word;
    }
    if (!ok) return Usage(kSynopsis);
  }
  if (folder.empty()) return Usage(kSynopsis);
  const auto start = std::chrono::steady_clock::now();
  synth::RegionCounts counts;
  std::string error;
  if (!synth::WriteSyntheticRegion(folder, region, counts, error)) {
    std::fprintf(stderr, "ERRORE: %s\n", error.c_str());
    return 1;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("Archi: %lld (nodi %lld, estremi liberi %lld, chiusi %lld, in più parti %lld)\n",
              static_cast<long long>(counts.arcs), static_cast<long long>(counts.nodes),
              static_cast<long long>(counts.dead_ends), static_cast<long long>(counts.closed_arcs),
              static_cast<long long>(counts.multi_part_arcs));
  std::printf("Comuni: %d\nLocalità: %d\nToponimi: %lld (MISC e CS: %lld)\n", counts.comuni, counts.localita,
              static_cast<long long>(counts.toponyms), static_cast<long long>(counts.loaded_toponyms));
  std::fprintf(stderr, "synth: %s scritta in %.2f s\n", folder.c_str(), seconds);
  return 0;
}

}  // namespace viamappa::cli
