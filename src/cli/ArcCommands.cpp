// An arc's attributes without a window: its fields, the correction of its names and class through the
// street directory's checks, and its deletion, each played through the attributes dialog.
#include <charconv>
#include <cstdio>
#include <optional>

#include "base/NumberText.h"
#include "cli/CliCommands.h"
#include "cli/CliSupport.h"
#include "cli/ConsoleEditDialogs.h"
#include "db/DbConnection.h"
#include "edit/ArcAttributeEdits.h"
#include "geom/GraphRecords.h"
#include "map/LayerSet.h"
#include "ui/ConsoleUserInterface.h"

namespace viamappa::cli {

namespace {

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

}  // namespace viamappa::cli
