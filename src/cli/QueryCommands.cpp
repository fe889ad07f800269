// The map queries without a window: the toponym search and road highlighting over a database opened
// for reading.
#include <charconv>
#include <cstdio>

#include "base/TextUtil.h"
#include "cli/CliCommands.h"
#include "db/DbConnection.h"
#include "db/Engine.h"
#include "query/HighlightCriteria.h"
#include "query/RoadHighlighting.h"
#include "query/ToponymSearchDialog.h"
#include "ui/ConsoleUserInterface.h"

namespace viamappa::cli {

namespace {

int Usage(const char* synopsis) {
  std::fprintf(stderr, "Uso: viamappa-cli %s\n", synopsis);
  return 2;
}

std::optional<std::int32_t> Number(const std::string& text) {
  std::int32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, failure] = std::from_chars(text.data(), end, value);
  if (failure != std::errc() || stop != end) return std::nullopt;
  return value;
}

}  // namespace

int Search(const std::vector<std::string>& args, const Options& options) {
  constexpr const char* kSynopsis =
      "search DB FRAMMENTO [--comuni] [--localita] [--toponimi] [--strade] [--intere] [--comune ID]";
  std::vector<std::string> words;
  SearchRequest kinds{};
  kinds.municipalities = kinds.localities = kinds.toponyms = kinds.streets = false;
  bool any_kind = false;
  bool whole = false;
  std::optional<std::int32_t> municipality;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    bool* kind = word == "--comuni"     ? &kinds.municipalities
                 : word == "--localita" ? &kinds.localities
                 : word == "--toponimi" ? &kinds.toponyms
                 : word == "--strade"   ? &kinds.streets
                                        : nullptr;
    if (kind) {
      *kind = any_kind = true;
    } else if (word == "--intere") {
      whole = true;
    } else if (word == "--comune") {
      if (i + 1 >= args.size() || !(municipality = Number(args[++i])) || *municipality < 0)
        return Usage(kSynopsis);
    } else if (word.starts_with("--")) {
      return Usage(kSynopsis);
    } else {
      words.push_back(word);
    }
  }
  if (words.size() != 2) return Usage(kSynopsis);

  ConsoleUserInterface ui(stderr, options.yes);
  DbConnection connection(words[0], ui, EngineDatabase::Access::ReadOnly);
  if (!connection.IsOpen()) return 1;
  ToponymSearchDialog dialog(connection);
  dialog.SetFragment(words[1]);
  if (any_kind) {
    SearchRequest& contexts = dialog.contexts();
    contexts.municipalities = kinds.municipalities;
    contexts.localities = kinds.localities;
    contexts.toponyms = kinds.toponyms;
    contexts.streets = kinds.streets;
  }
  dialog.SetWholeStreets(whole);
  if (municipality && *municipality > 0) {
    // The filter offers only the municipalities of the database.
    int chosen = -1;
    for (std::size_t i = 0; i < dialog.filter_entries().size(); ++i)
      if (ParseFilterEntry(dialog.filter_entries()[i]) == *municipality) chosen = static_cast<int>(i);
    if (chosen < 0) {
      std::fprintf(stderr, "viamappa-cli: nessun comune con ID %d\n", *municipality);
      return 1;
    }
    dialog.ChooseFilter(chosen);
  }
  if (const std::optional<std::string> refusal = dialog.Search()) {
    ui.ShowMessage(*refusal, MessageIcon::Stop);
    return 1;
  }
  for (const std::string& line : dialog.hits()) std::printf("%s\n", line.c_str());
  return ui.error_count() == 0 ? 0 : 1;
}

int Highlight(const std::vector<std::string>& args, const Options& options) {
  constexpr const char* kSynopsis =
      "highlight DB [--classi SS,SR,SP,SC,PR] [--verificati] [--da-verificare] [--aggiunti] "
      "[--nomi-modificati] [--geometrie-modificate] [--eliminati] [--piazza] [--senza-nome] [--alternativa]";
  using enum HighlightCriterion;
  static const std::pair<const char*, HighlightCriterion> kStates[] = {
      {"--verificati", Verified},
      {"--da-verificare", ToVerify},
      {"--aggiunti", Added},
      {"--nomi-modificati", NameChanged},
      {"--geometrie-modificate", GeometryChanged},
      {"--eliminati", Deleted},
      {"--piazza", Square},
      {"--senza-nome", WithoutName},
      {"--alternativa", AlternativeName},
  };
  HighlightFlags flags{};
  std::string database;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word == "--classi") {
      if (i + 1 >= args.size()) return Usage(kSynopsis);
      const std::string& list = args[++i];
      for (std::size_t start = 0; start <= list.size();) {
        std::size_t end = list.find(',', start);
        if (end == std::string::npos) end = list.size();
        const std::string_view code = Trim(std::string_view(list).substr(start, end - start));
        bool known = false;
        for (const HighlightCriterionInfo& info : HighlightCriteriaTable()) {
          if (!info.classe.empty() && EqualsIgnoringCase(code, info.classe)) {
            Flag(flags, info.criterion) = known = true;
          }
        }
        if (!known) return Usage(kSynopsis);
        start = end + 1;
      }
      continue;
    }
    bool state = false;
    for (const auto& [option, criterion] : kStates) {
      if (word == option) Flag(flags, criterion) = state = true;
    }
    if (state) continue;
    if (word.starts_with("--") || !database.empty()) return Usage(kSynopsis);
    database = word;
  }
  if (database.empty()) return Usage(kSynopsis);

  const std::string condition = HighlightCondition(flags);
  if (condition.empty()) {
    std::fprintf(stderr, "viamappa-cli: nessun criterio indicato, nessun arco da evidenziare\n");
    return 1;
  }
  ConsoleUserInterface ui(stderr, options.yes);
  DbConnection connection(database, ui, EngineDatabase::Access::ReadOnly);
  if (!connection.IsOpen()) return 1;
  const std::optional<std::int64_t> count = CountSelectedArcs(connection, condition);
  if (!count) return 1;
  std::printf("%s\nArchi selezionati: %lld\n", condition.c_str(), static_cast<long long>(*count));
  return 0;
}

}  // namespace viamappa::cli
