#include "app/ImportCommands.h"

#include "base/NumberText.h"
#include "base/TextUtil.h"
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

}  // namespace

bool ImportCommands::HasRows(std::string_view table, const char* where) {
  DbQuery query(state_.connection.get());
  query.SetSelect("ID");
  query.SetFrom(table);
  query.SetWhere(where);
  return query.Open();
}

bool ImportCommands::ImportRoadGraph() {
  if (!state_.connected()) return false;
  if (HasRows(kArcTable, "")) {
    ui_.ShowMessage(
        "ATTENZIONE: esistono già degli archi del grafo stradale registrati.\n\n"
        "Non è possibile importare nuovamente il grafo stradale",
        MessageIcon::Stop);
    return false;
  }
  const auto path = ui_.ChooseOpenFile(
      OpenChoice("Importazione ShapeFile Grafo Stradale", kShapeFilter, "SHP", "GEO_GRAFO"));
  if (!path) return false;
  RoadGraphImportCounts graph;
  StreetDirectoryCounts directory;
  {
    RepeatedMessageFilter filter(ui_);
    InterfaceScope scope(*state_.connection, filter);
    if (const auto base = ShapeBaseName(*path)) {
      graph = viamappa::ImportRoadGraph(*state_.connection, *base, filter);
      directory = BuildStreetDirectory(*state_.connection, filter);
    }
  }
  ui_.ShowMessage("Trovati " + Count(graph.found) + " Archi grafo stradale\n\nInseriti " + Count(graph.arcs) +
                      " Archi; inserite " + Count(graph.polylines) + " polilinee\nInseriti " +
                      Count(graph.nodes) + " Nodi grafo stradale\nInseriti " + Count(directory.types) +
                      " Tipi Strada\nInseriti " + Count(directory.names) + " Nomi Strada",
                  MessageIcon::Information);
  shell_.RebuildMap();
  shell_.Redraw();
  return true;
}

bool ImportCommands::ImportAreaSet(bool municipalities) {
  if (!state_.connected()) return false;
  if (HasRows(municipalities ? "comuni" : "local", "ID > 0")) {
    ui_.ShowMessage(municipalities ? "ATTENZIONE: esistono già dei comuni registrati.\n\n"
                                     "Non è possibile importare nuovamente i comuni"
                                   : "ATTENZIONE: esistono già delle località registrate.\n\n"
                                     "Non è possibile importare nuovamente le località",
                    MessageIcon::Stop);
    return false;
  }
  const auto path = ui_.ChooseOpenFile(
      OpenChoice(municipalities ? "Importazione ShapeFile Comuni" : "Importazione ShapeFile Località",
                 kShapeFilter, "SHP", municipalities ? "COMUNI" : "LOCALITA"));
  if (!path) return false;
  AreaImportCounts counts;
  {
    RepeatedMessageFilter filter(ui_);
    InterfaceScope scope(*state_.connection, filter);
    if (const auto base = ShapeBaseName(*path))
      counts = ImportAreas(*state_.connection,
                           municipalities ? AreaKind::Municipalities : AreaKind::Localities, *base, filter);
  }
  ui_.ShowMessage(municipalities
                      ? "Trovati " + Count(counts.found) + " Comuni; inseriti " + Count(counts.inserted) +
                            " Comuni; inseriti " + Count(counts.rings) + " poligoni"
                      : "Trovate " + Count(counts.found) + " Località; inserite " + Count(counts.inserted) +
                            " Località; inseriti " + Count(counts.rings) + " poligoni",
                  MessageIcon::Information);
  shell_.RebuildMap();
  shell_.Redraw();
  return true;
}

bool ImportCommands::ImportMunicipalities() {
  return ImportAreaSet(true);
}

bool ImportCommands::ImportLocalities() {
  return ImportAreaSet(false);
}

bool ImportCommands::ImportToponyms() {
  if (!state_.connected()) return false;
  if (HasRows("toponimi", "")) {
    ui_.ShowMessage(
        "ATTENZIONE: esistono già dei toponimi associati alla cartografia registrati.\n\n"
        "Non è possibile importare nuovamente i toponimi",
        MessageIcon::Stop);
    return false;
  }
  const auto path = ui_.ChooseOpenFile(OpenChoice(
      "Importazione Toponimi", "File di testo|*.txt|Tutti i files (*.*)|*.*||", "TXT", "toponimi"));
  if (!path) return false;
  ToponymImportCounts counts;
  {
    RepeatedMessageFilter filter(ui_);
    InterfaceScope scope(*state_.connection, filter);
    counts = viamappa::ImportToponyms(*state_.connection, *path, filter);
  }
  ui_.ShowMessage(
      "Trovati " + Count(counts.found) + " Toponimi\n\nInseriti " + Count(counts.inserted) + " Toponimi\n",
      MessageIcon::Information);
  return true;
}

}  // namespace viamappa
