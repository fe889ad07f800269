// The rows of the road graph: the arcs (`archi`), their current and first-imported polylines
// (`geoarchi`, `orgarchi`) and the nodes (`nodi`). One reader and writer for each, with the table and
// field names in one place, for every command that loads, edits, routes, localizes, conflates or
// exports the graph.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "db/DbConnection.h"
#include "db/DbQuery.h"
#include "db/DbTable.h"
#include "geom/PointArray.h"

namespace viamappa {

inline constexpr std::string_view kArcTable = "archi";
inline constexpr std::string_view kArcGeometryTable = "geoarchi";
inline constexpr std::string_view kFirstArcGeometryTable = "orgarchi";
inline constexpr std::string_view kNodeTable = "nodi";

// The primary index of every table of the graph.
inline constexpr std::string_view kPrimaryIndex = "codice";

// The fields of archi, in the order of the table.
namespace arc_field {
inline constexpr std::string_view kId = "ID";
inline constexpr std::string_view kFirstName = "orgden";
inline constexpr std::string_view kFirstAlternative = "orgalt";
inline constexpr std::string_view kName = "denom";
inline constexpr std::string_view kAlternative = "alterna";
inline constexpr std::string_view kElementCode = "codele";
inline constexpr std::string_view kRegionCode = "codreg";
inline constexpr std::string_view kClass = "classe";
inline constexpr std::string_view kSquare = "piazza";
inline constexpr std::string_view kNameChanged = "modnome";
inline constexpr std::string_view kChanged = "modifica";
inline constexpr std::string_view kDeleted = "elimina";
inline constexpr std::string_view kAdded = "aggiunto";
inline constexpr std::string_view kVerified = "verifica";
inline constexpr std::string_view kInserted = "datins";
inline constexpr std::string_view kModified = "datmod";
inline constexpr std::string_view kStartNode = "nodini";
inline constexpr std::string_view kEndNode = "nodfin";
inline constexpr std::string_view kLocality = "local";
inline constexpr std::string_view kMunicipality = "comune";
}  // namespace arc_field

// The fields of nodi.
namespace node_field {
inline constexpr std::string_view kId = "ID";
inline constexpr std::string_view kX = "coord_x";
inline constexpr std::string_view kY = "coord_y";
}  // namespace node_field

// The fields of geoarchi and orgarchi.
namespace polyline_field {
inline constexpr std::string_view kId = "ID";
inline constexpr std::string_view kCount = "punti";
inline constexpr std::string_view kCoordinates = "coord";
inline constexpr std::string_view kMinX = "minx";
inline constexpr std::string_view kMinY = "miny";
inline constexpr std::string_view kMaxX = "maxx";
inline constexpr std::string_view kMaxY = "maxy";
}  // namespace polyline_field

// The date the first import gives every arc, for its insertion and its last change.
inline constexpr std::string_view kFirstImportDate = "01/01/1901";

// One row of archi. Texts are UTF-8 as stored (trailing blanks kept); dates are "dd/mm/yyyy".
struct ArcRecord {
  std::int32_t id = 0;
  std::string orgden;
  std::string orgalt;
  std::string denom;
  std::string alterna;
  std::string codele;
  std::string codreg;
  std::string classe;
  bool piazza = false;
  bool modnome = false;
  bool modifica = false;
  bool elimina = false;
  bool aggiunto = false;
  bool verifica = false;
  std::string datins{kFirstImportDate};
  std::string datmod{kFirstImportDate};
  std::int32_t nodini = 0;
  std::int32_t nodfin = 0;
  std::int32_t local = 0;
  std::int32_t comune = 0;

  bool operator==(const ArcRecord&) const = default;
};

// One row of nodi.
struct NodeRecord {
  std::int32_t id = 0;
  double coord_x = 0;
  double coord_y = 0;

  bool operator==(const NodeRecord&) const = default;
};

// The rows of archi through one open table: the fields are looked up once, so that a batch writes many
// rows without looking them up again. Failures are shown by the access layer and answered false.
class ArcTable {
 public:
  explicit ArcTable(DbConnection& connection);

  bool IsOpen() const { return usable_; }
  DbTable& table() { return table_; }

  // Appends a row with every field of the record.
  bool Add(const ArcRecord& arc);

  // Stands on the arc's row; false when there is none.
  bool Seek(std::int32_t id);

  // Every field of the row the last Seek found.
  bool Read(ArcRecord& out);

  // Writes every field of the record over the row the last Seek found.
  bool Rewrite(const ArcRecord& arc);

  // Writes over the row the last Seek found, whose fields are before, the fields of after that differ
  // from them, and only those: a change touches the indexes and relations of what it changes only.
  bool RewriteChanged(const ArcRecord& before, const ArcRecord& after);

  // Deletes the row the last Seek found.
  bool Delete() { return table_.Delete(); }

 private:
  bool SetFields(const ArcRecord& arc);
  bool SetDate(int field, const std::string& text);

  DbTable table_;
  bool usable_ = false;
  bool indexed_ = false;
  int fields_[20] = {};
  // The last date written and its stored value: a batch writes the same date over and over.
  std::string date_text_;
  FieldValue date_value_;
};

// The rows of nodi through one open table.
class NodeTable {
 public:
  explicit NodeTable(DbConnection& connection);

  bool IsOpen() const { return usable_; }
  DbTable& table() { return table_; }

  bool Add(const NodeRecord& node);
  bool Seek(std::int32_t id);
  bool Read(NodeRecord& out);
  // Writes the coordinates over the row the last Seek found.
  bool Move(double x, double y);
  bool Delete() { return table_.Delete(); }

 private:
  DbTable table_;
  bool usable_ = false;
  bool indexed_ = false;
  int id_ = -1, x_ = -1, y_ = -1;
};

// The rows of geoarchi (or orgarchi): an arc's polyline stored as its point count, its coordinates and
// its box.
class PolylineTable {
 public:
  explicit PolylineTable(DbConnection& connection, std::string_view table = kArcGeometryTable);

  bool IsOpen() const { return usable_; }
  DbTable& table() { return table_; }

  // Appends the polyline of an arc. The box written is the box of the points, whatever the array
  // holds, rounded to hundredths as the stored form keeps it.
  bool Add(std::int32_t id, const PointArray& line);

  bool Seek(std::int32_t id);

  // The polyline of the row the last Seek found, with its stored box. False, with nothing read, when
  // the row is damaged (a count that does not match its coordinates); the damage is not shown here.
  bool Read(PointArray& out);

  // Writes the polyline over the row the last Seek found; the box is recomputed as Add does.
  bool Rewrite(const PointArray& line);
  bool Delete() { return table_.Delete(); }

 private:
  bool SetFields(const PointArray& line);

  DbTable table_;
  bool usable_ = false;
  bool indexed_ = false;
  int id_ = -1, count_ = -1, coord_ = -1, minx_ = -1, miny_ = -1, maxx_ = -1, maxy_ = -1;
};

// The select list of every field of archi in table order ("ID, orgden, ..., comune"), each name
// prefixed by alias and a dot when an alias is given.
std::string ArcSelectList(std::string_view alias = {});

// Reads the current row of a query whose select list has ArcSelectList() from position first on.
bool ReadArcRecord(DbQuery& query, int first, ArcRecord& out);

// The select list of nodi ("ID, coord_x, coord_y") and the reader of its rows.
std::string NodeSelectList(std::string_view alias = {});
bool ReadNodeRecord(DbQuery& query, int first, NodeRecord& out);

// The select list of a polyline table ("ID, punti, coord, minx, miny, maxx, maxy"); the reader leaves
// id and line untouched and answers false for a damaged row.
std::string PolylineSelectList(std::string_view alias = {});
bool ReadPolylineRow(DbQuery& query, int first, std::int32_t& id, PointArray& line);

// The largest identifier of a table's "ID" field; nullopt when the table has no rows.
std::optional<std::int32_t> LargestId(DbConnection& connection, std::string_view table);

}  // namespace viamappa
