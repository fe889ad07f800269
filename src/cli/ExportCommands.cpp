// Localization, the exports and the street list without a window.
#include <optional>

#include "app/ExportCommands.h"
#include "app/LocalizationCommands.h"
#include "app/StreetListDialogModel.h"
#include "cli/CliCommands.h"
#include "cli/CliSupport.h"

namespace viamappa::cli {

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

}  // namespace viamappa::cli
