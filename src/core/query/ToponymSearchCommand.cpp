#include "query/ToponymSearchCommand.h"

#include "db/DbQuery.h"
#include "geom/GraphRecords.h"
#include "query/PlaceTables.h"
#include "query/ToponymSearchDialog.h"

namespace viamappa {

const char* const kToponymsNotLocalizedMessage =
    "La localizzazione dei Toponimi non risulta effettuata.\n\n"
    "Per ottimizzare la ricerca dei Toponimi è assolutamente\n"
    "consigliabile lanciare la funzione di Localizzazione dei Toponimi\n"
    "che si trova nel menu Utilità";

const char* const kArcsNotLocalizedMessage =
    "La localizzazione del Grafo Stradale non risulta effettuata.\n\n"
    "Per ottimizzare la ricerca dei toponimi nel Grafo Stradale è assolutamente\n"
    "consigliabile lanciare la funzione di Localizzazione del Grafo Stradale\n"
    "che si trova nel menu Utilità";

namespace {

// True when some row of the table lies in a municipality. A failed count (shown by the access layer)
// warns nothing more.
bool AnyLocalized(DbConnection& connection, std::string_view table) {
  const std::optional<long long> rows = CountRows(connection, table, "comune > 0");
  return !rows || *rows > 0;
}

}  // namespace

std::optional<HitView> RunToponymSearch(DbConnection& connection, UserInterface& ui, const LayerSet& layers,
                                        MapQueries& queries) {
  if (!AnyLocalized(connection, kToponymTable))
    ui.ShowMessage(kToponymsNotLocalizedMessage, MessageIcon::Information);
  if (!AnyLocalized(connection, kArcTable))
    ui.ShowMessage(kArcsNotLocalizedMessage, MessageIcon::Information);
  queries.highlights.clear();
  ToponymSearchDialog dialog(connection, queries.search_text);
  if (!ui.RunToponymSearchDialog(dialog)) return std::nullopt;
  queries.search_text = dialog.fragment();
  std::optional<HitView> view = PlanHitView(connection, layers, dialog.accepted(), dialog.whole_streets());
  if (view && view->highlighting) {
    queries.highlights = std::move(view->highlights);
    view->highlights.clear();
  }
  return view;
}

}  // namespace viamappa
