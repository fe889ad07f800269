#include "app/ImportCommands.h"

#include "base/NumberText.h"
#include "base/TextUtil.h"
#include "db/DbBatch.h"
#include "db/DbQuery.h"
#include "geom/GraphRecords.h"
#include "io/AreaImport.h"
#include "io/RoadGraphImport.h"
#include "io/StreetDirectory.h"
#include "io/ToponymImport.h"
#include "ui/RepeatedMessageFilter.h"

namespace viamappa {

namespace {

constexpr const char* kShapeFilter = "Shape File|*.shp|Tutti i files (*.*)|*.*||";

FileChoice OpenChoice(const char* title, const char* filter, const char* extension, const char* name) {
  FileChoice choice;
  choice.title = title;
  choice.filter = filter;
  choice.default_extension = extension;
  choice.default_name = name;
  choice.must_exist = true;
  return choice;
}

// The path without its extension when the extension is ".shp" in any letter case; nullopt otherwise.
std::optional<std::string> ShapeBaseName(const std::string& path) {
  if (path.size() < 4 || AsciiUpper(std::string_view(path).substr(path.size() - 4)) != ".SHP")
    return std::nullopt;
  return path.substr(0, path.size() - 4);
}

std::string Count(int value) {
  return FormatInteger(value);
}

// Shown when the end of an import cannot store what it did.
constexpr const char* kNothingStored = "Nessun dato è stato registrato nel database.";

}  // namespace

bool ImportCommands::HasRows(std::string_view table, const char* where) {
  DbQuery query(state_.connection.get());
  query.SetSelect("ID");
  query.SetFrom(table);
  query.SetWhere(where);
  return query.Open();
}

// The import runs inside one batch that holds the write lock from before the check that the data are
// not loaded yet to the end: two imports started together never mix their rows; the second waits and
// then finds the data loaded. Whatever stops the import part-way undoes all of it.
template <typename Refused, typename Import>
bool ImportCommands::RunImport(Refused refused, Import import) {
  DbBatch batch(*state_.connection);
  if (!batch.began()) return false;
  if (refused()) return false;
  bool done;
  {
    RepeatedMessageFilter filter(ui_);
    InterfaceScope scope(*state_.connection, filter);
    done = import(filter);
  }
  // A failed import has said that nothing was stored.
  if (!done) {
    batch.Rollback();
    return false;
  }
  if (!batch.Commit()) {
    ui_.ShowMessage(kNothingStored, MessageIcon::Stop);
    return false;
  }
  return true;
}

bool ImportCommands::ImportRoadGraph() {
  if (!state_.connected()) return false;
  const auto refused = [this] {
    if (!HasRows(kArcTable, "")) return false;
    ui_.ShowMessage(
        "ATTENZIONE: esistono già degli archi del grafo stradale registrati.\n\n"
        "Non è possibile importare nuovamente il grafo stradale",
        MessageIcon::Stop);
    return true;
  };
  // A quick look first, so that a person is not asked for a file that cannot be imported.
  if (refused()) return false;
  const auto path = ui_.ChooseOpenFile(
      OpenChoice("Importazione ShapeFile Grafo Stradale", kShapeFilter, "SHP", "GEO_GRAFO"));
  if (!path) return false;
  RoadGraphImportCounts graph;
  StreetDirectoryCounts directory;
  const bool stored = RunImport(refused, [&](UserInterface& ui) {
    if (const auto base = ShapeBaseName(*path)) {
      graph = viamappa::ImportRoadGraph(*state_.connection, *base, ui);
      if (graph.report.failed()) return false;
      directory = BuildStreetDirectory(*state_.connection, ui);
    }
    return true;
  });
  if (!stored) return false;
  ui_.ShowMessage("Trovati " + Count(graph.found) + " Archi grafo stradale\n\nInseriti " + Count(graph.arcs) +
                      " Archi; inserite " + Count(graph.polylines) + " polilinee\nInseriti " +
                      Count(graph.nodes) + " Nodi grafo stradale\nInseriti " + Count(directory.types) +
                      " Tipi Strada\nInseriti " + Count(directory.names) + " Nomi Strada" +
                      graph.report.SummaryLines("ignorati", "record"),
                  MessageIcon::Information);
  shell_.RebuildMap();
  shell_.Redraw();
  return graph.report.refused() == 0 && !graph.report.unusable() && ShapeBaseName(*path).has_value();
}

bool ImportCommands::ImportAreaSet(bool municipalities) {
  if (!state_.connected()) return false;
  const auto refused = [this, municipalities] {
    if (!HasRows(municipalities ? "comuni" : "local", "ID > 0")) return false;
    ui_.ShowMessage(municipalities ? "ATTENZIONE: esistono già dei comuni registrati.\n\n"
                                     "Non è possibile importare nuovamente i comuni"
                                   : "ATTENZIONE: esistono già delle località registrate.\n\n"
                                     "Non è possibile importare nuovamente le località",
                    MessageIcon::Stop);
    return true;
  };
  if (refused()) return false;
  const auto path = ui_.ChooseOpenFile(
      OpenChoice(municipalities ? "Importazione ShapeFile Comuni" : "Importazione ShapeFile Località",
                 kShapeFilter, "SHP", municipalities ? "COMUNI" : "LOCALITA"));
  if (!path) return false;
  AreaImportCounts counts;
  const bool stored = RunImport(refused, [&](UserInterface& ui) {
    if (const auto base = ShapeBaseName(*path)) {
      counts = ImportAreas(*state_.connection,
                           municipalities ? AreaKind::Municipalities : AreaKind::Localities, *base, ui);
    }
    return !counts.report.failed();
  });
  if (!stored) return false;
  ui_.ShowMessage(
      (municipalities ? "Trovati " + Count(counts.found) + " Comuni; inseriti " + Count(counts.inserted) +
                            " Comuni; inseriti " + Count(counts.rings) + " poligoni"
                      : "Trovate " + Count(counts.found) + " Località; inserite " + Count(counts.inserted) +
                            " Località; inseriti " + Count(counts.rings) + " poligoni") +
          counts.report.SummaryLines("ignorati", "record"),
      MessageIcon::Information);
  shell_.RebuildMap();
  shell_.Redraw();
  return counts.report.refused() == 0 && !counts.report.unusable() && ShapeBaseName(*path).has_value();
}

bool ImportCommands::ImportMunicipalities() {
  return ImportAreaSet(true);
}

bool ImportCommands::ImportLocalities() {
  return ImportAreaSet(false);
}

bool ImportCommands::ImportToponyms() {
  if (!state_.connected()) return false;
  const auto refused = [this] {
    if (!HasRows("toponimi", "")) return false;
    ui_.ShowMessage(
        "ATTENZIONE: esistono già dei toponimi associati alla cartografia registrati.\n\n"
        "Non è possibile importare nuovamente i toponimi",
        MessageIcon::Stop);
    return true;
  };
  if (refused()) return false;
  const auto path = ui_.ChooseOpenFile(OpenChoice(
      "Importazione Toponimi", "File di testo|*.txt|Tutti i files (*.*)|*.*||", "TXT", "toponimi"));
  if (!path) return false;
  ToponymImportCounts counts;
  const bool stored = RunImport(refused, [&](UserInterface& ui) {
    counts = viamappa::ImportToponyms(*state_.connection, *path, ui);
    return !counts.report.failed();
  });
  if (!stored) return false;
  ui_.ShowMessage("Trovati " + Count(counts.found) + " Toponimi\n\nInseriti " + Count(counts.inserted) +
                      " Toponimi\n" + counts.report.SummaryLines("ignorate", "righe"),
                  MessageIcon::Information);
  return counts.report.refused() == 0;
}

}  // namespace viamappa
