// The commands of the road graph as a whole: node regeneration, merging of broken arcs, the names the
// renaming lists, the renaming and the check of the graph.
#include <charconv>
#include <cstdio>
#include <optional>

#include "app/ApplicationState.h"
#include "app/ShellWindow.h"
#include "app/TopologyCommands.h"
#include "base/Utf8.h"
#include "cli/CliCommands.h"
#include "edit/BulkRenameDialog.h"
#include "edit/GraphValidationReport.h"
#include "io/Localization.h"
#include "ui/ConsoleUserInterface.h"

namespace viamappa::cli {

namespace {

int Usage(const char* synopsis) {
  std::fprintf(stderr, "Uso: viamappa-cli %s\n", synopsis);
  return 2;
}

// The words of a name command: the positional ones, the field and the filter.
struct NameArguments {
  std::vector<std::string> words;
  bool alternative = false;
  std::optional<std::int32_t> municipality;
  std::optional<std::int32_t> locality;
};

// Every character a digit, the whole number read.
std::optional<std::int32_t> Identifier(const std::string& text) {
  std::int32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, failure] = std::from_chars(text.data(), end, value);
  if (text.empty() || text.front() == '-' || failure != std::errc() || stop != end) return std::nullopt;
  return value;
}

bool ParseNameArguments(const std::vector<std::string>& args, NameArguments& out) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word == "--alterna") {
      out.alternative = true;
    } else if (word == "--comune" || word == "--localita") {
      if (i + 1 == args.size() || out.municipality || out.locality) return false;
      const std::optional<std::int32_t> id = Identifier(args[++i]);
      if (!id) return false;
      (word == "--comune" ? out.municipality : out.locality) = id;
    } else if (word.starts_with("--")) {
      return false;
    } else {
      out.words.push_back(word);
    }
  }
  return true;
}

// The dialog as the arguments set it up: the field, the filter chosen by its exact identifier and the
// fragment. False, after saying why, when the filter names no entry or the fragment is too long.
bool PrepareDialog(BulkRenameDialog& dialog, const NameArguments& arguments, const std::string& fragment) {
  dialog.Load();
  dialog.SetAlternative(arguments.alternative);
  if (arguments.locality && !dialog.ChooseLocalityId(*arguments.locality)) {
    std::fprintf(stderr, "ERRORE: nessuna località con identificativo %d\n", *arguments.locality);
    return false;
  }
  if (arguments.municipality && !dialog.ChooseMunicipalityId(*arguments.municipality)) {
    std::fprintf(stderr, "ERRORE: nessun comune con identificativo %d\n", *arguments.municipality);
    return false;
  }
  if (utf8::Length(fragment) > BulkRenameDialog::kFieldCharacters) {
    std::fprintf(stderr, "ERRORE: il nome \"%s\" supera i %zu caratteri\n", fragment.c_str(),
                 BulkRenameDialog::kFieldCharacters);
    return false;
  }
  dialog.SetFragment(fragment);
  return true;
}

// Runs a command of the graph on the database of the command line.
template <typename Command>
int RunTopology(const std::string& database, const Options& options, Command command) {
  ConsoleUserInterface ui(stderr, options.yes, stdout);
  ApplicationState state;
  state.database_path = database;
  state.connection = std::make_unique<DbConnection>(database, ui);
  if (!state.connected()) return 1;
  WindowlessShell shell;
  TopologyCommands commands(state, ui, shell);
  return command(commands) ? 0 : 1;
}

}  // namespace

int RegenerateNodes(const std::vector<std::string>& args, const Options& options) {
  if (args.size() != 1 || args[0].starts_with("--")) return Usage("regenerate-nodes DATABASE");
  return RunTopology(args[0], options,
                     [](TopologyCommands& commands) { return commands.RegenerateNodes().has_value(); });
}

int MergeArcs(const std::vector<std::string>& args, const Options& options) {
  if (args.size() != 1 || args[0].starts_with("--")) return Usage("merge-arcs DATABASE");
  return RunTopology(args[0], options,
                     [](TopologyCommands& commands) { return commands.MergeBrokenArcs().has_value(); });
}

int FindNames(const std::vector<std::string>& args, const Options& options) {
  constexpr const char* kSynopsis = "find-names DATABASE FRAMMENTO [--alterna] [--comune ID | --localita ID]";
  NameArguments arguments;
  if (!ParseNameArguments(args, arguments) || arguments.words.size() != 2) return Usage(kSynopsis);
  ConsoleUserInterface ui(stderr, options.yes);
  DbConnection connection(arguments.words[0], ui, EngineDatabase::Access::ReadOnly);
  if (!connection.IsOpen()) return 1;
  BulkRenameDialog dialog(connection, ui);
  if (!PrepareDialog(dialog, arguments, arguments.words[1]) || !dialog.Search()) return 1;
  for (const std::string& name : dialog.names()) std::printf("%s\n", name.c_str());
  return ui.error_count() == 0 ? 0 : 1;
}

int Rename(const std::vector<std::string>& args, const Options& options) {
  constexpr const char* kSynopsis = "rename DATABASE VECCHIO NUOVO [--alterna] [--comune ID | --localita ID]";
  NameArguments arguments;
  if (!ParseNameArguments(args, arguments) || arguments.words.size() != 3) return Usage(kSynopsis);
  const std::string& old_name = arguments.words[1];
  const std::string& new_name = arguments.words[2];
  if (utf8::Length(new_name) > BulkRenameDialog::kFieldCharacters) {
    std::fprintf(stderr, "ERRORE: il nuovo nome supera i %zu caratteri\n",
                 BulkRenameDialog::kFieldCharacters);
    return 1;
  }
  // The summary goes to standard output, the advice and the refusals to standard error.
  ConsoleUserInterface messages(stderr, options.yes);
  ConsoleUserInterface ui(stderr, options.yes, stdout);
  DbConnection connection(arguments.words[0], ui);
  if (!connection.IsOpen()) return 1;
  CheckRoadGraphLocalized(connection, messages);
  BulkRenameDialog dialog(connection, ui);
  if (!PrepareDialog(dialog, arguments, old_name) || !dialog.Search()) return 1;
  // The old name is chosen in the list as a person would choose it: the name it equals, trailing
  // blanks and letter case aside.
  const auto folded = [](std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    std::string out;
    for (std::size_t pos = 0; pos < text.size();)
      utf8::Append(out, utf8::FoldCase(utf8::DecodeNext(text, pos)));
    return out;
  };
  for (std::size_t i = 0; i < dialog.names().size(); ++i) {
    if (folded(dialog.names()[i]) == folded(old_name)) {
      dialog.ChooseName(static_cast<int>(i));
      break;
    }
  }
  dialog.SetNewName(new_name);
  if (const std::optional<std::string> refusal = dialog.Refusal()) {
    ui.ShowMessage(*refusal, MessageIcon::Stop);
    return 1;
  }
  // The command line is the confirmation: the question is shown with its answer.
  messages.ShowMessage(dialog.ConfirmationText(), MessageIcon::Question);
  return dialog.Rename() ? 0 : 1;
}

int Validate(const std::vector<std::string>& args, const Options& options) {
  constexpr const char* kSynopsis = "validate DATABASE [--report FILE.csv]";
  std::vector<std::string> files;
  std::optional<std::string> report;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--report") {
      if (i + 1 == args.size() || report) return Usage(kSynopsis);
      report = args[++i];
    } else if (args[i].starts_with("--")) {
      return Usage(kSynopsis);
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 1) return Usage(kSynopsis);
  ConsoleUserInterface ui(stderr, options.yes);
  ApplicationState state;
  state.database_path = files[0];
  state.connection = std::make_unique<DbConnection>(files[0], ui, EngineDatabase::Access::ReadOnly);
  if (!state.connected()) return 1;
  WindowlessShell shell;
  TopologyCommands commands(state, ui, shell);
  const std::optional<GraphValidation> validation = commands.ValidateGraph();
  if (!validation) return 1;
  if (report) {
    std::string error;
    if (!WriteValidationReport(*report, *validation, error)) {
      std::fprintf(stderr, "ERRORE: %s\n", error.c_str());
      return 1;
    }
  } else {
    for (const std::string& line : ValidationReportLines(*validation)) std::printf("%s\n", line.c_str());
    std::printf("\n");
  }
  std::printf("%s", ValidationCountLines(*validation).c_str());
  return 0;
}

}  // namespace viamappa::cli
