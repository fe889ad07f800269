#include "cli/CliCommands.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "app/ApplicationState.h"
#include "app/ConflationCommand.h"
#include "app/DatabaseLifecycle.h"
#include "app/ImportCommands.h"
#include "app/SettingsStore.h"
#include "app/ShellWindow.h"
#include "background/CartographyFromDatabase.h"
#include "background/OrthophotoFromRaster.h"
#include "base/NumberText.h"
#include "cli/CliSupport.h"
#include "db/DbConnection.h"
#include "db/DbQuery.h"
#include "db/Engine.h"
#include "db/SchemaCatalog.h"
#include "io/ConflationReport.h"
#include "io/PngFile.h"
#include "map/PatternSheet.h"
#include "map/SymbolChooser.h"
#include "synth/SyntheticRegion.h"
#include "ui/ConsoleUserInterface.h"
#include "ui/PixelCanvas.h"

namespace viamappa::cli {

namespace {

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

// Draws a picture and writes it to the file of the command line.
template <typename Draw>
int WritePicture(const std::string& path, const Options& options, int width, int height, Draw draw) {
  ConsoleUserInterface ui(stderr, options.yes);
  ui.QueueFile(path);
  FileChoice choice;
  choice.title = "Immagine PNG";
  choice.confirm_overwrite = true;
  const std::optional<std::string> chosen = ui.ChooseSaveFile(choice);
  if (!chosen) return 1;
  PixelCanvas canvas(width, height);
  draw(canvas);
  return WritePngFile(*chosen, width, height, canvas.pixels(), ui) ? 0 : 1;
}

// A file the command would replace, without --yes: refused.
bool RefusedReplacement(const std::string& path, const Options& options) {
  std::error_code ignored;
  if (options.yes || !std::filesystem::exists(path, ignored)) return false;
  std::fprintf(stderr, "ERRORE: il file %s esiste già (--yes per sostituirlo)\n", path.c_str());
  return true;
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
  if (!CheckDatabase(args[0], ProgramCatalog(), problems, error)) {
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
    const std::optional<long long> rows = CountRows(connection, "[" + table + "]");
    if (!rows) return 1;
    std::printf("  %-10s %10lld\n", table.c_str(), *rows);
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
  if (!OpenDatabase(args[0], ui, state)) return 1;
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

int ImportSecondary(const std::vector<std::string>& args, const Options& options) {
  constexpr const char* kSynopsis = "import-secondario DATABASE FILE.shp [--snap METRI] [--report FILE.csv]";
  std::vector<std::string> files;
  std::optional<std::string> snap, report;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--snap" || args[i] == "--report") {
      if (i + 1 == args.size()) return Usage(kSynopsis);
      std::optional<std::string>& value = args[i] == "--snap" ? snap : report;
      value = args[++i];
    } else if (args[i].starts_with("--")) {
      return Usage(kSynopsis);
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2) return Usage(kSynopsis);
  // The factor as the dialog takes it: metres with a decimal comma or point.
  if (snap && !ParseDecimal(*snap)) return Usage(kSynopsis);
  ConsoleUserInterface ui(stderr, options.yes, stdout);
  ApplicationState state;
  if (!OpenDatabase(files[0], ui, state)) return 1;
  ui.QueueFile(files[1]);
  if (snap) ui.QueueSnapFactor(*snap);
  WindowlessShell shell;
  ConflationCommand command(state, ui, shell);
  ConflationResult result;
  const bool stored = command.ImportSecondaryGraph(&result);
  if (stored && report) {
    std::string error;
    if (!WriteConflationReport(*report, result, error)) {
      std::fprintf(stderr, "ERRORE: %s\n", error.c_str());
      return 1;
    }
  }
  return stored ? 0 : 1;
}

int InstallSettings(const std::vector<std::string>& args, const Options&) {
  if (args.empty() || args.size() > 2) return Usage("install-settings CARTELLA [DATABASE]");
  const std::string path = SettingsStore::DefaultPath();
  if (!SettingsStore::Install(path, args[0], args.size() == 2 ? args[1] : std::string())) {
    std::fprintf(stderr, "ERRORE: impossibile creare la cartella %s o scrivere la configurazione %s\n",
                 args[0].c_str(), path.c_str());
    return 1;
  }
  std::printf("%s\n", path.c_str());
  return 0;
}

int Symbols(const std::vector<std::string>& args, const Options& options) {
  if (args.size() != 1) return Usage("symbols FILE.png");
  const SymbolChooser chooser(SymbolLibrary::Builtin());
  const int status = WritePicture(args[0], options, SymbolGridWidth(chooser), SymbolGridHeight(chooser),
                                  [&](PixelCanvas& canvas) { DrawSymbolGrid(canvas, chooser); });
  if (status == 0)
    std::printf(
        "%s: %d simboli, %d per riga in caselle di %d pixel; il simbolo della riga R e della colonna C "
        "(contate da 0) è il numero R x %d + C\n",
        args[0].c_str(), chooser.count(), chooser.columns(), kSymbolCellSize, chooser.columns());
  return status;
}

int Patterns(const std::vector<std::string>& args, const Options& options) {
  if (args.size() != 1) return Usage("patterns FILE.png");
  const SymbolLibrary& library = SymbolLibrary::Builtin();
  const int status = WritePicture(args[0], options, PatternSheetWidth(), PatternSheetHeight(library),
                                  [&](PixelCanvas& canvas) { DrawPatternSheet(canvas, library); });
  if (status == 0)
    std::printf("%s: %zu retinature, 5 per riga, numerate da 0 da sinistra a destra\n", args[0].c_str(),
                library.patterns().size());
  return status;
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

int MakeSfx(const std::vector<std::string>& args, const Options& options) {
  constexpr const char* kSynopsis = "make-sfx DATABASE FILE.sfx [--doppie] [--64]";
  std::vector<std::string> files;
  bool packed = true, wide = false;
  for (const std::string& word : args) {
    if (word == "--doppie") {
      packed = false;
    } else if (word == "--64") {
      wide = true;
    } else if (word.starts_with("--")) {
      return Usage(kSynopsis);
    } else {
      files.push_back(word);
    }
  }
  if (files.size() != 2) return Usage(kSynopsis);
  if (RefusedReplacement(files[1], options)) return 1;
  ConsoleUserInterface ui(stderr, options.yes);
  DbConnection connection(files[0], ui);
  if (!connection.IsOpen()) return 1;
  background::CartographySummary summary;
  std::string error;
  if (!background::WriteCartographyFromDatabase(connection, files[1], packed, wide, summary, error)) {
    std::fprintf(stderr, "ERRORE: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s: %d comuni, %d località in %d tessere\n", files[1].c_str(), summary.municipalities,
              summary.localities, summary.tiles);
  return ui.error_count() == 0 ? 0 : 1;
}

int MakeSfw(const std::vector<std::string>& args, const Options& options) {
  if (args.size() != 2 || args[0].starts_with("--") || args[1].starts_with("--"))
    return Usage("make-sfw RASTER FILE.sfw");
  if (RefusedReplacement(args[1], options)) return 1;
  background::OrthophotoSummary summary;
  std::string error;
  if (!background::WriteOrthophotoFromRaster(args[0], args[1], summary, error)) {
    std::fprintf(stderr, "ERRORE: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s: %d x %d pixel, %d bande, %d livelli, %d tessere di %d pixel\n", args[1].c_str(),
              summary.width, summary.height, summary.bands, summary.levels, summary.tiles, summary.tile_size);
  return 0;
}

}  // namespace viamappa::cli
