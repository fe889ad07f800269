#include "cli/CliCommands.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <optional>

#include "app/ApplicationState.h"
#include "app/DatabaseLifecycle.h"
#include "app/ExportCommands.h"
#include "app/ImportCommands.h"
#include "app/LocalizationCommands.h"
#include "app/SettingsStore.h"
#include "app/ShellWindow.h"
#include "app/StreetListDialogModel.h"
#include "db/DbConnection.h"
#include "db/DbQuery.h"
#include "db/Engine.h"
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

// The state of a command that works on the database named first on its line; false after the
// connection's message when it cannot be opened.
bool OpenDatabase(const std::string& path, ConsoleUserInterface& ui, ApplicationState& state) {
  state.database_path = path;
  state.connection = std::make_unique<DbConnection>(path, ui);
  return state.connected();
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
  DbConnection connection(args[0], ui);
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

int Localize(LocalizeKind kind, const std::vector<std::string>& args, const Options& options) {
  if (args.size() != 1)
    return Usage(kind == LocalizeKind::RoadGraph ? "localize DATABASE" : "localize-toponimi DATABASE");
  ConsoleUserInterface ui(stderr, options.yes, stdout);
  ApplicationState state;
  if (!OpenDatabase(args[0], ui, state)) return 1;
  LocalizationCommands commands(state, ui);
  const bool done =
      kind == LocalizeKind::RoadGraph ? commands.LocalizeRoadGraph() : commands.LocalizeToponyms();
  return done && ui.error_count() == 0 ? 0 : 1;
}

int Export(ExportKind kind, const std::vector<std::string>& args, const Options& options) {
  static const char* const kSynopsis[] = {"export-graph DATABASE FILE.shp",
                                          "export-changes DATABASE FILE.shp",
                                          "export-tramex DATABASE FILE.shp"};
  if (args.size() != 2) return Usage(kSynopsis[static_cast<int>(kind)]);
  ConsoleUserInterface ui(stderr, options.yes, stdout);
  ApplicationState state;
  if (!OpenDatabase(args[0], ui, state)) return 1;
  ui.QueueFile(args[1]);
  ExportCommands commands(state, ui);
  bool done = false;
  switch (kind) {
    case ExportKind::Graph:
      done = commands.ExportRoadGraph();
      break;
    case ExportKind::Changes:
      done = commands.ExportChanges();
      break;
    case ExportKind::Tramex:
      done = commands.ExportTramex();
      break;
  }
  return done && ui.error_count() == 0 ? 0 : 1;
}

int StreetList(const std::vector<std::string>& args, const Options& options) {
  constexpr const char* kSynopsis = "street-list DATABASE FILE.txt [--comune ID | --localita ID]";
  std::vector<std::string> files;
  std::optional<std::string> municipality, locality;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--comune" || args[i] == "--localita") {
      if (i + 1 >= args.size() || municipality || locality) return Usage(kSynopsis);
      std::optional<std::string>& chosen = args[i] == "--comune" ? municipality : locality;
      chosen = args[++i];
    } else if (args[i].starts_with("--")) {
      return Usage(kSynopsis);
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2) return Usage(kSynopsis);
  ConsoleUserInterface ui(stderr, options.yes, stdout);
  ApplicationState state;
  if (!OpenDatabase(files[0], ui, state)) return 1;
  ui.QueueFile(files[1]);
  // The dialog is answered as a person would: the box checked and the identifier typed in its list.
  ui.SetStreetListAnswer([&](StreetListDialogModel& dialog) {
    if (municipality) {
      dialog.CheckMunicipality(true);
      dialog.SetMunicipalityText(*municipality);
    } else if (locality) {
      dialog.CheckLocality(true);
      dialog.SetLocalityText(*locality);
    }
    if (const std::optional<std::string> refusal = dialog.Accept()) {
      ui.ShowMessage(*refusal, MessageIcon::Stop);
      return false;
    }
    return true;
  });
  ExportCommands commands(state, ui);
  return commands.ExportStreetList() && ui.error_count() == 0 ? 0 : 1;
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
