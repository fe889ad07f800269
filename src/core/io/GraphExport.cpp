#include "io/GraphExport.h"

#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "base/NumberText.h"
#include "base/TextUtil.h"
#include "db/DbQuery.h"
#include "geom/GraphRecords.h"
#include "geom/StoredGeometry.h"
#include "io/ShapefileWriter.h"
#include "io/StagedFiles.h"

namespace viamappa {

namespace {

constexpr std::string_view kMunicipalityTable = "comuni";
constexpr std::string_view kMunicipalityName = "denom";
constexpr std::string_view kMunicipalityId = "ID";

// Where an attribute's value comes from and how it becomes text.
enum class Source {
  Text,  // trailing blanks cut
  Flag,  // 'S' when true, else 'N'
  Id,    // the arc's identifier, "%ld"
};

struct Attribute {
  const char* name;
  char type;
  int length;
  std::string_view table;
  std::string_view field;
  Source source;
};

constexpr Attribute kRoadGraph[] = {
    {"COD_ELE", 'C', 20, kArcTable, arc_field::kElementCode, Source::Text},
    {"COD_REG", 'C', 20, kArcTable, arc_field::kRegionCode, Source::Text},
    {"DENOM", 'C', 60, kArcTable, arc_field::kName, Source::Text},
    {"ALT", 'C', 60, kArcTable, arc_field::kAlternative, Source::Text},
    {"CLASSE", 'C', 10, kArcTable, arc_field::kClass, Source::Text},
    {"PIAZZA", 'C', 1, kArcTable, arc_field::kSquare, Source::Flag},
};

constexpr Attribute kChanges[] = {
    {"COD_ELE", 'C', 20, kArcTable, arc_field::kElementCode, Source::Text},
    {"COD_REG", 'C', 20, kArcTable, arc_field::kRegionCode, Source::Text},
    {"NOME", 'C', 60, kArcTable, arc_field::kName, Source::Text},
    {"NOMEALT", 'C', 60, kArcTable, arc_field::kAlternative, Source::Text},
    {"MODNOME", 'C', 1, kArcTable, arc_field::kNameChanged, Source::Flag},
    {"VARIATO", 'C', 1, kArcTable, arc_field::kChanged, Source::Flag},
    {"NUOVO", 'C', 1, kArcTable, arc_field::kAdded, Source::Flag},
    {"ELIMINA", 'C', 1, kArcTable, arc_field::kDeleted, Source::Flag},
    // Dates read as the access layer's date text, "dd/mm/yyyy".
    {"DATA_INS", 'C', 10, kArcTable, arc_field::kInserted, Source::Text},
    {"DATA_MOD", 'C', 10, kArcTable, arc_field::kModified, Source::Text},
};

constexpr Attribute kTramex[] = {
    {"ID_ARCO", 'N', 9, kArcTable, arc_field::kId, Source::Id},
    {"DENOM", 'C', 60, kArcTable, arc_field::kName, Source::Text},
    {"COMUNE", 'C', 40, kMunicipalityTable, kMunicipalityName, Source::Text},
};

std::span<const Attribute> LayoutOf(GraphExportKind kind) {
  switch (kind) {
    case GraphExportKind::RoadGraph:
      return kRoadGraph;
    case GraphExportKind::Changes:
      return kChanges;
    case GraphExportKind::Tramex:
      break;
  }
  return kTramex;
}

std::string Column(std::string_view table, std::string_view field) {
  return std::string(table) + "." + std::string(field);
}

// The query of an export: the arc's identifier, the attributes other than the identifier, then the
// geometry columns, one row per arc with a geometry, in identifier order.
void PrepareQuery(DbQuery& query, GraphExportKind kind) {
  std::string select = Column(kArcTable, arc_field::kId);
  for (const Attribute& attribute : LayoutOf(kind)) {
    if (attribute.source != Source::Id) select += ", " + Column(attribute.table, attribute.field);
  }
  for (const std::string_view field :
       {polyline_field::kCount, polyline_field::kCoordinates, polyline_field::kMinX, polyline_field::kMinY,
        polyline_field::kMaxX, polyline_field::kMaxY})
    select += ", " + Column(kArcGeometryTable, field);
  std::string from = std::string(kArcTable) + ", " + std::string(kArcGeometryTable);
  std::string where =
      Column(kArcTable, arc_field::kId) + " = " + Column(kArcGeometryTable, polyline_field::kId);
  if (kind == GraphExportKind::Tramex) {
    from += ", " + std::string(kMunicipalityTable);
    where += " AND " + Column(kMunicipalityTable, kMunicipalityId) + " = " +
             Column(kArcTable, arc_field::kMunicipality);
  }
  query.SetSelect(select);
  query.SetFrom(from);
  query.SetWhere(where);
  query.SetOrderBy(Column(kArcTable, arc_field::kId));
}

// Writes every row of the query as one record; false when a record cannot be written.
bool WriteRecords(DbQuery& query, std::span<const Attribute> layout, ShapefileWriter& writer,
                  UserInterface& ui) {
  int columns = 1;
  for (const Attribute& attribute : layout) columns += attribute.source != Source::Id;
  std::vector<std::string> values(layout.size());
  std::vector<Point> points;
  PointArray line;
  for (bool row = query.Open(); row; row = query.MoveNext()) {
    std::int32_t id = 0;
    query.GetLong(0, id);
    std::int32_t count = 0;
    std::string_view bytes;
    query.GetShort(columns, count);
    query.GetBinaryView(columns + 1, bytes);
    // The length is checked before a single byte is copied.
    if (count < 0 || bytes.size() != static_cast<std::size_t>(count) * sizeof(Point)) {
      ui.ShowMessage(DamagedArcMessage(id), MessageIcon::Warning);
      continue;
    }
    int position = 1;
    for (std::size_t i = 0; i < layout.size(); ++i) {
      switch (layout[i].source) {
        case Source::Id:
          values[i] = FormatInteger(id);
          break;
        case Source::Flag: {
          std::int32_t flag = 0;
          query.GetShort(position++, flag);
          values[i] = flag != 0 ? "S" : "N";
          break;
        }
        case Source::Text: {
          std::string text;
          query.GetText(position++, text);
          values[i] = TrimTrailingBlanks(text);
          break;
        }
      }
    }
    // One buffer of points serves every record.
    points = line.TakePoints();
    points.resize(static_cast<std::size_t>(count));
    if (count > 0) std::memcpy(points.data(), bytes.data(), bytes.size());
    // The writer gives each record the box of its points.
    line = PointArray(std::move(points), Box());
    if (!writer.AddPolyline(values, line)) return false;
  }
  return true;
}

}  // namespace

bool HasGraphChanges(DbConnection& connection) {
  DbQuery query(connection);
  query.SetSelect(arc_field::kId);
  query.SetFrom(kArcTable);
  query.SetWhere(std::string(arc_field::kNameChanged) + " = TRUE OR " + std::string(arc_field::kChanged) +
                 " = TRUE OR " + std::string(arc_field::kAdded) + " = TRUE");
  return query.Open();
}

std::string CannotCreateMessage(const std::string& path) {
  return "Impossibile creare\n\n" + path;
}

std::optional<std::int64_t> ExportGraph(DbConnection& connection, GraphExportKind kind,
                                        const std::string& shp_path, UserInterface& ui) {
  const auto cannot_create = [&]() -> std::optional<std::int64_t> {
    ui.ShowMessage(CannotCreateMessage(shp_path), MessageIcon::Warning);
    return std::nullopt;
  };
  const std::vector<std::string> paths = ShapefileSetPaths(shp_path);
  if (paths.empty()) return cannot_create();
  // Written under temporary names, the set takes its place only when it is whole.
  StagedFiles staged(paths);
  if (!staged.MayReplace()) return cannot_create();
  ShapefileWriter writer;
  if (!writer.Create(staged.staging(0))) return cannot_create();
  const std::span<const Attribute> layout = LayoutOf(kind);
  for (const Attribute& attribute : layout) {
    if (!writer.AddField(attribute.name, attribute.type, attribute.length)) return cannot_create();
  }
  DbQuery query(connection);
  PrepareQuery(query, kind);
  if (!WriteRecords(query, layout, writer, ui)) return cannot_create();
  const std::int64_t written = writer.Finish();
  if (written < 0 || !staged.Commit()) return cannot_create();
  return written;
}

}  // namespace viamappa
