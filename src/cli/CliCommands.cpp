#include "cli/CliCommands.h"

#include <charconv>
#include <chrono>
#include <cstdio>

#include "app/ApplicationState.h"
#include "app/ConflationCommand.h"
#include "app/DatabaseLifecycle.h"
#include "app/ImportCommands.h"
#include "app/SettingsStore.h"
#include "app/ShellWindow.h"
#include "base/NumberText.h"
#include "cli/ConsoleEditDialogs.h"
#include "db/DbConnection.h"
#include "db/DbQuery.h"
#include "db/Engine.h"
#include "db/SchemaCatalog.h"
#include "edit/ArcAttributeEdits.h"
#include "geom/GraphRecords.h"
#include "io/ConflationReport.h"
#include "io/PngFile.h"
#include "map/PatternSheet.h"
#include "map/SymbolChooser.h"
#include "synth/SyntheticRegion.h"
#include "ui/ConsoleUserInterface.h"
#include "ui/PixelCanvas.h"

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

// A whole decimal identifier.
bool ParseId(const std::string& text, std::int32_t& id) {
  const char* end = text.data() + text.size();
  const auto [stop, failure] = std::from_chars(text.data(), end, id);
  return !text.empty() && failure == std::errc() && stop == end;
}

void PrintArc(const ArcRecord& arc) {
  const auto line = [](std::string_view field, const std::string& value) {
    std::printf("%.*s=%s\n", static_cast<int>(field.size()), field.data(), value.c_str());
  };
  const auto flag = [](bool value) { return std::string(value ? "1" : "0"); };
  line(arc_field::kId, FormatInteger(arc.id));
  line(arc_field::kFirstName, arc.orgden);
  line(arc_field::kFirstAlternative, arc.orgalt);
  line(arc_field::kName, arc.denom);
  line(arc_field::kAlternative, arc.alterna);
  line(arc_field::kElementCode, arc.codele);
  line(arc_field::kRegionCode, arc.codreg);
  line(arc_field::kClass, arc.classe);
  line(arc_field::kSquare, flag(arc.piazza));
  line(arc_field::kNameChanged, flag(arc.modnome));
  line(arc_field::kChanged, flag(arc.modifica));
  line(arc_field::kDeleted, flag(arc.elimina));
  line(arc_field::kAdded, flag(arc.aggiunto));
  line(arc_field::kVerified, flag(arc.verifica));
  line(arc_field::kInserted, arc.datins);
  line(arc_field::kModified, arc.datmod);
  line(arc_field::kStartNode, FormatInteger(arc.nodini));
  line(arc_field::kEndNode, FormatInteger(arc.nodfin));
  line(arc_field::kLocality, FormatInteger(arc.local));
  line(arc_field::kMunicipality, FormatInteger(arc.comune));
}

// Runs the arc attributes of one arc of the database with the dialog played by dialogs: 0 when what
// the dialog was closed for was stored.
int RunArcAttributes(const std::string& path, std::int32_t id, const Options& options,
                     const std::optional<ConsoleEditDialogs::Rename>& rename) {
  ConsoleUserInterface ui(stderr, options.yes);
  DbConnection connection(path, ui);
  if (!connection.IsOpen()) return 1;
  // No map is shown: the caches hold nothing.
  LayerSet layers;
  GraphCaches caches(layers);
  ArcAttributeEdits edits(connection, caches);
  ConsoleEditDialogs dialogs(rename, options.yes);
  const ArcAttributesOutcome outcome = edits.Open(id, dialogs);
  const ArcDialogClose expected = rename ? ArcDialogClose::Ok : ArcDialogClose::Delete;
  if (!outcome.found || outcome.closed != expected || outcome.change.empty()) return 1;
  if (rename) {
    if (const std::optional<ArcRecord> arc = edits.Read(id)) PrintArc(*arc);
  } else if (outcome.change.arcs_removed.empty()) {
    std::printf("Arco Stradale ID=%d: eliminato in modo logico\n", id);
  } else {
    std::printf("Arco Stradale ID=%d: eliminato dal database; nodi eliminati: %zu\n", id,
                outcome.change.nodes_removed.size());
  }
  return 0;
}

}  // namespace

int ArcFields(const std::vector<std::string>& args, const Options& options) {
  std::int32_t id = 0;
  if (args.size() != 2 || !ParseId(args[1], id)) return Usage("arc DATABASE ID");
  ConsoleUserInterface ui(stderr, options.yes);
  DbConnection connection(args[0], ui, EngineDatabase::Access::ReadOnly);
  if (!connection.IsOpen()) return 1;
  LayerSet layers;
  GraphCaches caches(layers);
  const std::optional<ArcRecord> arc = ArcAttributeEdits(connection, caches).Read(id);
  if (!arc) return 1;
  PrintArc(*arc);
  return 0;
}

int SetName(const std::vector<std::string>& args, const Options& options) {
  constexpr const char* kSynopsis = "set-name DATABASE ID NOME [--alterna NOME] [--classe CODICE]";
  std::vector<std::string> words;
  std::optional<std::string> alternative, class_code;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--alterna" || args[i] == "--classe") {
      if (i + 1 == args.size()) return Usage(kSynopsis);
      std::optional<std::string>& value = args[i] == "--alterna" ? alternative : class_code;
      value = args[++i];
    } else if (args[i].starts_with("--")) {
      return Usage(kSynopsis);
    } else {
      words.push_back(args[i]);
    }
  }
  std::int32_t id = 0;
  if (words.size() != 3 || !ParseId(words[1], id)) return Usage(kSynopsis);
  return RunArcAttributes(words[0], id, options,
                          ConsoleEditDialogs::Rename{words[2], alternative, class_code});
}

int DeleteArc(const std::vector<std::string>& args, const Options& options) {
  std::int32_t id = 0;
  if (args.size() != 2 || !ParseId(args[1], id)) return Usage("delete-arc DATABASE ID");
  return RunArcAttributes(args[0], id, options, std::nullopt);
}

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
  state.database_path = files[0];
  state.connection = std::make_unique<DbConnection>(files[0], ui);
  if (!state.connected()) return 1;
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

}  // namespace viamappa::cli
