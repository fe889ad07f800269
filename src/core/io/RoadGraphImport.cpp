#include "io/RoadGraphImport.h"

#include <optional>
#include <vector>

#include "base/NumberText.h"
#include "db/BulkLoad.h"
#include "db/DbBatch.h"
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

constexpr const char* kWithoutGeometry = "senza geometria";
constexpr const char* kDeleted = "cancellati nella tavola DBF";

// What the shape pass kept of each record.
struct ShapePass {
  std::vector<std::optional<PointArray>> lines;  // the rounded first part, for the records to store
  std::vector<bool> is_polyline;                 // a polyline record, found whatever its points
  std::vector<std::int32_t> too_many_points;     // the point count of a polyline beyond the limit, else 0
  std::vector<std::pair<std::int32_t, std::int32_t>> ends;  // the nodes of each stored line's ends
};

// Writes the nodes, the arcs and their polylines. False when the import must stop as a whole (the report
// has failed, the reason shown); records refused one by one are in the report.
bool StoreGraph(DbConnection& connection, ShapefileReader& reader, const ShapePass& pass,
                const std::vector<bool>& deleted, const ImportNodeList& nodes, ProgressDisplay& progress,
                UserInterface& ui, RoadGraphImportCounts& counts) {
  ImportReport& report = counts.report;
  const std::int64_t records = static_cast<std::int64_t>(pass.lines.size());
  std::vector<bool> stored(pass.lines.size(), false);
  progress.SetPhase("Registrazione Nodi del Grafo");
  {
    NodeTable nodi(connection);
    const std::size_t total = nodes.nodes().size();
    std::size_t done = 0;
    for (const ImportNodeList::Node& node : nodes.nodes()) {
      // A node is what every arc at its place needs: without it the import cannot go on (the access
      // layer has shown why).
      if (!nodi.Add({node.id, node.point.x, node.point.y})) {
        report.Fail(ui, kDatabaseStopped);
        return false;
      }
      ++counts.nodes;
      progress.SetProgress(++done, static_cast<long long>(total));
    }
  }

  progress.SetPhase("Registrazione degli Archi");
  if (!reader.RewindAttributes()) {
    report.Fail(ui, reader.error());
    return false;
  }
  const DbfField* denom = reader.FindField("DENOM");
  const DbfField* alt = reader.FindField("ALT");
  const DbfField* cod_ele = reader.FindField("COD_ELE");
  const DbfField* cod_reg = reader.FindField("COD_REG");
  const DbfField* classe = reader.FindField("CLASSE");
  const DbfField* piazza = reader.FindField("PIAZZA");
  std::vector<std::string> names(
      pass.lines.size());  // of the arcs stored, for the refusals of the next phase
  {
    ArcTable archi(connection);
    // One record reused for every row: its texts keep their capacity. Every flag is false, both dates
    // are those of the first import, and the arc lies in no municipality and no locality yet.
    ArcRecord arc;
    std::string record;
    for (std::int64_t i = 0; i < records; ++i) {
      if (!reader.NextAttributes(record)) {
        report.Fail(ui, reader.error());
        return false;
      }
      progress.SetProgress(i + 1, records);
      if (deleted[i]) continue;
      if (pass.is_polyline[i]) ++counts.found;
      if (!pass.lines[i] && !pass.too_many_points[i]) continue;
      reader.FieldText(record, *denom, arc.denom);
      if (pass.too_many_points[i]) {
        report.Refuse(ui, i + 1, arc.denom,
                      "la polilinea ha " + FormatInteger(pass.too_many_points[i]) +
                          " punti, ne sono ammessi " + FormatInteger(kMaxStoredPoints) + ".");
        continue;
      }
      arc.id = static_cast<std::int32_t>(i + 1);
      reader.FieldText(record, *alt, arc.alterna);
      if (arc.alterna == arc.denom) arc.alterna.clear();
      arc.orgden = arc.denom;
      arc.orgalt = arc.alterna;
      reader.FieldText(record, *cod_reg, arc.codreg);
      reader.FieldText(record, *cod_ele, arc.codele);
      reader.FieldText(record, *classe, arc.classe);
      const std::string_view square = ShapefileReader::FieldValue(record, *piazza);
      arc.piazza = !square.empty() && square[0] == 'S';
      arc.nodini = pass.ends[i].first;
      arc.nodfin = pass.ends[i].second;
      for (const std::string* text : {&arc.denom, &arc.alterna, &arc.codele, &arc.codreg, &arc.classe})
        report.NoteText(i + 1, *text);
      if (archi.Add(arc)) {
        ++counts.arcs;
        stored[i] = true;
        names[i] = arc.denom;
      } else {
        if (connection.core()->MustStop()) {
          report.Fail(ui, kDatabaseStopped);
          return false;
        }
        report.Refuse(ui, i + 1, arc.denom, {});
      }
    }
  }

  progress.SetPhase("Registrazione geometrie Archi");
  {
    PolylineTable geoarchi(connection);
    ArcTable archi(connection);
    for (std::int64_t i = 0; i < records; ++i) {
      progress.SetProgress(i + 1, records);
      if (!stored[i]) continue;
      const auto id = static_cast<std::int32_t>(i + 1);
      if (geoarchi.Add(id, *pass.lines[i])) {
        ++counts.polylines;
        continue;
      }
      // An arc without its polyline is no arc: it goes too.
      if (connection.core()->MustStop() || !archi.Seek(id) || !archi.Delete()) {
        report.Fail(ui, kDatabaseStopped);
        return false;
      }
      --counts.arcs;
      report.Refuse(ui, i + 1, names[i], "la sua geometria non può essere registrata.");
    }
  }
  // The first polylines are the current ones as imported: copied inside the database in one statement.
  std::string error;
  if (!connection.engine()->Execute("INSERT INTO " + std::string(kFirstArcGeometryTable) + " SELECT * FROM " +
                                        std::string(kArcGeometryTable),
                                    error)) {
    report.Fail(ui, "Errore inserimento tavola (" + std::string(kFirstArcGeometryTable) + ")\n\n" + error);
    return false;
  }
  return true;
}

// Reads every shape record: the polylines rounded to hundredths, the nodes of their ends. False when
// the file cannot be read whole (the reason is in the reader).
bool ReadShapes(ShapefileReader& reader, const std::vector<bool>& deleted, ShapePass& pass,
                ImportNodeList& nodes, ImportReport& report, ProgressDisplay& progress) {
  const std::int64_t records = reader.record_count();
  pass.lines.reserve(static_cast<std::size_t>(records));
  pass.ends.reserve(static_cast<std::size_t>(records));
  pass.is_polyline.reserve(static_cast<std::size_t>(records));
  pass.too_many_points.reserve(static_cast<std::size_t>(records));
  if (!reader.RewindShapes()) return false;
  ShapeRecord shape;
  for (std::int64_t i = 0; i < records; ++i) {
    if (!reader.NextShape(shape)) return false;
    const bool polyline = shape.shape_type == 3;
    pass.is_polyline.push_back(polyline);
    pass.too_many_points.push_back(0);
    pass.lines.emplace_back();
    pass.ends.push_back({-1, -1});
    progress.SetProgress(i + 1, records);
    if (deleted[i]) {
      report.Skip(kDeleted);
      continue;
    }
    if (!polyline || !shape.has_geometry || shape.polyline.empty()) {
      report.Skip(kWithoutGeometry);
      continue;
    }
    if (shape.polyline.count() > kMaxStoredPoints) {
      pass.too_many_points.back() = shape.polyline.count();
      continue;
    }
    std::vector<Point> points = shape.polyline.TakePoints();
    for (Point& p : points) p = {RoundToHundredths(p.x), RoundToHundredths(p.y)};
    const std::int32_t from = nodes.Add(points.front().x, points.front().y);
    const std::int32_t to = nodes.Add(points.back().x, points.back().y);
    pass.ends.back() = {from, to};
    pass.lines.back().emplace(std::move(points));
  }
  return true;
}

// The deletion mark of every attribute record; false when the table cannot be read whole.
bool ReadDeletionMarks(ShapefileReader& reader, std::vector<bool>& deleted) {
  const std::int64_t records = reader.record_count();
  deleted.assign(static_cast<std::size_t>(records), false);
  if (!reader.RewindAttributes()) return false;
  std::string record;
  for (std::int64_t i = 0; i < records; ++i) {
    if (!reader.NextAttributes(record)) return false;
    deleted[i] = ShapefileReader::IsDeleted(record);
  }
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
  ImportReport& report = counts.report;
  ui.BeginBusy(true);
  ProgressDisplay progress(ui);
  progress.SetPhase("Importazione Archi Stradali");

  ShapefileReader reader;
  if (!reader.Open(base_name) || !reader.ReadHeaders()) {
    report.Fail(ui, reader.error());
    return counts;
  }
  if (!HasRoadGraphAttributes(reader)) {
    ui.ShowMessage(UnusableRoadGraphMessage(), MessageIcon::Stop);
    report.Unusable();
    return counts;
  }

  // The polylines of the records, rounded to hundredths, and the nodes of their ends; records marked
  // deleted in the table are left out before any node is made for them.
  progress.SetPhase("Estrazione degli Archi e determinazione dei Nodi");
  std::vector<bool> deleted;
  ShapePass pass;
  ImportNodeList nodes;
  if (!ReadDeletionMarks(reader, deleted) || !ReadShapes(reader, deleted, pass, nodes, report, progress)) {
    report.Fail(ui, reader.error());
    return counts;
  }

  DbBatch batch(connection);
  if (!batch.began()) {
    report.Fail(ui, {});
    return counts;
  }
  // The rows refer only to nodes written just before and to the placeholder municipality and
  // locality: the graph is loaded in bulk, its indexes built and its relations checked once at the end.
  // Should they not hold, the load is undone and made again row by row.
  const ImportReport read_report = counts.report;
  for (const bool bulk : {true, false}) {
    std::optional<BulkLoad> load;
    if (bulk) {
      load.emplace(connection, std::vector<std::string>{std::string(kNodeTable), std::string(kArcTable),
                                                        std::string(kArcGeometryTable),
                                                        std::string(kFirstArcGeometryTable)});
      if (!load->active()) continue;
    }
    counts = RoadGraphImportCounts();
    counts.report = read_report;
    if (!StoreGraph(connection, reader, pass, deleted, nodes, progress, ui, counts)) {
      if (load) load->Abandon();
      batch.Rollback();
      return counts;
    }
    if (!load || load->Finish()) break;
  }
  return counts;
}

}  // namespace viamappa
