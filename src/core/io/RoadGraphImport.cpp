#include "io/RoadGraphImport.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "base/TextUtil.h"
#include "base/Windows1252.h"
#include "db/BulkLoad.h"
#include "db/DbBatch.h"
#include "db/DbTable.h"
#include "db/Engine.h"
#include "geom/GraphRecords.h"
#include "geom/Hundredths.h"
#include "io/ImportNodeList.h"
#include "io/ShapefileReader.h"
#include "ui/ProgressDisplay.h"

namespace viamappa {

namespace {

struct RequiredField {
  const char* name;
  int max_width;
  bool exact;
};

constexpr RequiredField kRequired[] = {{"DENOM", 60, false},   {"ALT", 60, false},    {"COD_ELE", 20, false},
                                       {"COD_REG", 20, false}, {"CLASSE", 10, false}, {"PIAZZA", 1, true}};

// Writes the nodes, the arcs and their polylines of the records read; false when the attributes
// cannot be read from their start.
bool StoreGraph(DbConnection& connection, ShapefileReader& reader,
                const std::vector<std::optional<PointArray>>& lines,
                const std::vector<std::pair<std::int32_t, std::int32_t>>& ends,
                const std::vector<bool>& is_polyline, const ImportNodeList& nodes, ProgressDisplay& progress,
                UserInterface& ui, RoadGraphImportCounts& counts) {
  const std::int64_t shapes_read = static_cast<std::int64_t>(lines.size());
  std::vector<bool> stored(lines.size(), false);
  progress.SetPhase("Registrazione Nodi del Grafo");
  {
    NodeTable nodi(connection);
    const std::size_t total = nodes.nodes().size();
    std::size_t done = 0;
    for (const ImportNodeList::Node& node : nodes.nodes()) {
      if (nodi.Add({node.id, node.point.x, node.point.y})) ++counts.nodes;
      progress.SetProgress(++done, static_cast<long long>(total));
    }
  }

  progress.SetPhase("Registrazione degli Archi");
  if (!reader.RewindAttributes()) return false;
  const DbfField* denom = reader.FindField("DENOM");
  const DbfField* alt = reader.FindField("ALT");
  const DbfField* cod_ele = reader.FindField("COD_ELE");
  const DbfField* cod_reg = reader.FindField("COD_REG");
  const DbfField* classe = reader.FindField("CLASSE");
  const DbfField* piazza = reader.FindField("PIAZZA");
  {
    ArcTable archi(connection);
    // One record reused for every row: its texts keep their capacity. Every flag is false, both dates
    // are those of the first import, and the arc lies in no municipality and no locality yet.
    ArcRecord arc;
    std::string record;
    for (std::int64_t i = 0; i < shapes_read; ++i) {
      if (!reader.NextAttributes(record)) break;
      if (is_polyline[i]) ++counts.found;
      progress.SetProgress(i + 1, shapes_read);
      if (!lines[i]) continue;
      arc.id = static_cast<std::int32_t>(i + 1);
      DbfText(record, *denom, arc.denom);
      DbfText(record, *alt, arc.alterna);
      if (arc.alterna == arc.denom) arc.alterna.clear();
      arc.orgden = arc.denom;
      arc.orgalt = arc.alterna;
      DbfText(record, *cod_reg, arc.codreg);
      DbfText(record, *cod_ele, arc.codele);
      DbfText(record, *classe, arc.classe);
      const std::string_view square = ShapefileReader::FieldValue(record, *piazza);
      arc.piazza = !square.empty() && square[0] == 'S';
      arc.nodini = ends[i].first;
      arc.nodfin = ends[i].second;
      if (archi.Add(arc)) {
        ++counts.arcs;
        stored[i] = true;
      }
    }
  }

  progress.SetPhase("Registrazione geometrie Archi");
  {
    PolylineTable geoarchi(connection);
    for (std::int64_t i = 0; i < shapes_read; ++i) {
      progress.SetProgress(i + 1, shapes_read);
      if (!lines[i]) continue;
      // Without its arc a polyline is refused as the relation refuses it, without writing it.
      if (!stored[i]) {
        ui.ShowMessage("Errore aggiornamento tavola (" + std::string(kArcGeometryTable) + ")\n\n" +
                           MissingReferenceDescription("geo_archi", kArcTable),
                       MessageIcon::Stop);
        continue;
      }
      if (geoarchi.Add(static_cast<std::int32_t>(i + 1), *lines[i])) ++counts.polylines;
    }
  }
  // The first polylines are the current ones as imported: copied inside the database in one statement.
  std::string error;
  if (!connection.engine()->Execute("INSERT INTO " + std::string(kFirstArcGeometryTable) + " SELECT * FROM " +
                                        std::string(kArcGeometryTable),
                                    error))
    ui.ShowMessage("Errore inserimento tavola (" + std::string(kFirstArcGeometryTable) + ")\n\n" + error,
                   MessageIcon::Stop);
  return true;
}

}  // namespace

bool HasRoadGraphAttributes(const ShapefileReader& reader) {
  if (reader.shape_type() != 3) return false;
  for (const RequiredField& required : kRequired) {
    const DbfField* field = reader.FindField(required.name);
    if (!field || field->type != 'C') return false;
    if (required.exact ? field->width != required.max_width : field->width > required.max_width) return false;
  }
  return true;
}

void DbfText(std::string_view record, const DbfField& field, std::string& out) {
  const std::string_view bytes = TrimTrailingBlanks(ShapefileReader::FieldValue(record, field));
  out.clear();
  // Plain ASCII, most values, needs no conversion.
  if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    out.assign(bytes);
  } else {
    out = Windows1252ToUtf8(bytes);
  }
}

std::string DbfText(std::string_view record, const DbfField& field) {
  std::string text;
  DbfText(record, field, text);
  return text;
}

std::string UnusableRoadGraphMessage() {
  return "ATTENZIONE: lo Shape File indicato non ha le caratteristiche\n"
         "necessarie per effettuare l'importazione del grafo stradale.\n\n"
         "Le entità dello Shape File devono essere di tipo LINEARE.\n\n"
         "All'interno dello Shape File devono esistere i seguenti attributi:\n"
         "* DENOM alfanumerico max. 60 caratteri\n"
         "* ALT alfanumerico max. 60 caratteri\n"
         "* COD_ELE alfanumerico max. 20 caratteri\n"
         "* COD_REG alfanumerico max. 20 caratteri\n"
         "* CLASSE alfanumerico max. 10 caratteri\n"
         "* PIAZZA alfanumerico 1 carattere\n\n"
         "Lo Shape File indicato risulta totalmente inutilizzabile\n";
}

RoadGraphImportCounts ImportRoadGraph(DbConnection& connection, const std::string& base_name,
                                      UserInterface& ui) {
  RoadGraphImportCounts counts;
  ui.BeginBusy(true);
  ProgressDisplay progress(ui);
  progress.SetPhase("Importazione Archi Stradali");

  ShapefileReader reader;
  if (!reader.Open(base_name) || !reader.ReadHeaders()) return counts;
  if (!HasRoadGraphAttributes(reader)) {
    ui.ShowMessage(UnusableRoadGraphMessage(), MessageIcon::Stop);
    return counts;
  }
  const std::int64_t records = reader.record_count();

  // The polylines of the records, rounded to hundredths, and the nodes of their ends.
  progress.SetPhase("Estrazione degli Archi e determinazione dei Nodi");
  std::vector<std::optional<PointArray>> lines;
  std::vector<bool> is_polyline;
  // The nodes of each polyline's ends, found once when the nodes are made.
  std::vector<std::pair<std::int32_t, std::int32_t>> ends;
  lines.reserve(static_cast<std::size_t>(records));
  ends.reserve(static_cast<std::size_t>(records));
  is_polyline.reserve(static_cast<std::size_t>(records));
  ImportNodeList nodes;
  bool complete = reader.RewindShapes();
  ShapeRecord shape;
  for (std::int64_t i = 0; complete && i < records; ++i) {
    if (!reader.NextShape(shape)) {
      complete = false;
      break;
    }
    is_polyline.push_back(shape.shape_type == 3);
    if (shape.shape_type != 3 || !shape.has_geometry || shape.polyline.empty()) {
      lines.emplace_back();
      ends.push_back({-1, -1});
    } else {
      std::vector<Point> points = shape.polyline.TakePoints();
      for (Point& p : points) p = {RoundToHundredths(p.x), RoundToHundredths(p.y)};
      const std::int32_t from = nodes.Add(points.front().x, points.front().y);
      const std::int32_t to = nodes.Add(points.back().x, points.back().y);
      ends.push_back({from, to});
      lines.emplace_back(PointArray(std::move(points)));
    }
    progress.SetProgress(i + 1, records);
  }

  DbBatch batch(connection);
  // The rows refer only to nodes written just before and to the placeholder municipality and
  // locality: the graph is loaded in bulk, its indexes built and its relations checked once at the end.
  // Should they not hold, the load is undone and made again row by row.
  for (const bool bulk : {true, false}) {
    std::optional<BulkLoad> load;
    if (bulk) {
      load.emplace(connection, std::vector<std::string>{std::string(kNodeTable), std::string(kArcTable),
                                                        std::string(kArcGeometryTable),
                                                        std::string(kFirstArcGeometryTable)});
      if (!load->active()) continue;
    }
    counts.found = counts.arcs = counts.nodes = counts.polylines = 0;
    if (!StoreGraph(connection, reader, lines, ends, is_polyline, nodes, progress, ui, counts)) return counts;
    if (!load || load->Finish()) break;
  }
  return counts;
}

}  // namespace viamappa
