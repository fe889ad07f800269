#include "geom/GraphRecords.h"

#include <cstring>
#include <span>

#include "base/NumberText.h"
#include "base/TextUtil.h"
#include "db/DateText.h"
#include "geom/Hundredths.h"
#include "geom/StoredGeometry.h"

namespace viamappa {

namespace {

constexpr std::string_view kArcFields[] = {
    arc_field::kId,          arc_field::kFirstName,   arc_field::kFirstAlternative, arc_field::kName,
    arc_field::kAlternative, arc_field::kElementCode, arc_field::kRegionCode,       arc_field::kClass,
    arc_field::kSquare,      arc_field::kNameChanged, arc_field::kChanged,          arc_field::kDeleted,
    arc_field::kAdded,       arc_field::kVerified,    arc_field::kInserted,         arc_field::kModified,
    arc_field::kStartNode,   arc_field::kEndNode,     arc_field::kLocality,         arc_field::kMunicipality,
};
static_assert(std::size(kArcFields) == 20);

enum ArcColumn {
  kId,
  kOrgden,
  kOrgalt,
  kDenom,
  kAlterna,
  kCodele,
  kCodreg,
  kClasse,
  kPiazza,
  kModnome,
  kModifica,
  kElimina,
  kAggiunto,
  kVerifica,
  kDatins,
  kDatmod,
  kNodini,
  kNodfin,
  kLocal,
  kComune,
};

std::string SelectList(std::span<const std::string_view> fields, std::string_view alias) {
  std::string list;
  for (const std::string_view field : fields) {
    if (!list.empty()) list += ", ";
    if (!alias.empty()) list.append(alias).append(".");
    list += field;
  }
  return list;
}

// Selects the primary index at the first lookup: a bulk load writes its rows while the indexes are away.
bool SelectPrimaryIndex(DbTable& table, bool& selected) {
  if (!selected) selected = table.SelectIndex(kPrimaryIndex);
  return selected;
}

// Typed reads of a stored value: what the field holds, or the neutral value.
std::int64_t IntegerOf(const FieldValue* value) {
  return value && value->kind == FieldValue::Kind::Integer ? value->integer : 0;
}

double DoubleOf(const FieldValue* value) {
  if (!value) return 0;
  if (value->kind == FieldValue::Kind::Real) return value->real;
  return value->kind == FieldValue::Kind::Integer ? static_cast<double>(value->integer) : 0;
}

std::string TextOf(const FieldValue* value) {
  return value && value->kind == FieldValue::Kind::Text ? value->bytes : std::string();
}

std::string DateOf(const FieldValue* value) {
  std::string text;
  if (value && value->kind == FieldValue::Kind::Text)
    AppendDateForDisplay(ParseStoredDate(value->bytes), text);
  return text.empty() ? std::string(kDateBefore) : text;
}

// The box of the points, rounded to hundredths as its stored text form keeps it.
Box StoredBox(const PointArray& line) {
  Box box;
  for (const Point& p : line.points()) box.Widen(p);
  if (box.IsEmpty()) return Box::Of(0, 0, 0, 0);
  return Box::Of(RoundToHundredths(box.minx), RoundToHundredths(box.miny), RoundToHundredths(box.maxx),
                 RoundToHundredths(box.maxy));
}

}  // namespace

// ---- archi

ArcTable::ArcTable(DbConnection& connection) : table_(connection, kArcTable) {
  if (!table_.IsOpen()) return;
  usable_ = true;
  for (std::size_t i = 0; i < std::size(kArcFields); ++i) {
    fields_[i] = table_.FieldIndex(kArcFields[i]);
    if (fields_[i] < 0) usable_ = false;
  }
}

bool ArcTable::SetDate(int field, const std::string& text) {
  if (text != date_text_ || date_value_.IsNull()) {
    FieldValue value;
    if (TextToFieldValue(FieldType::Date, 0, text, value) != ConversionError::None) {
      // Written as text, so that the access layer shows the refusal with the field's name.
      return table_.SetField(field, text);
    }
    date_text_ = text;
    date_value_ = std::move(value);
  }
  return table_.SetFieldValue(field, date_value_);
}

bool ArcTable::SetFields(const ArcRecord& a) {
  const int* f = fields_;
  return table_.SetFieldInteger(f[kId], a.id) && table_.SetField(f[kOrgden], a.orgden) &&
         table_.SetField(f[kOrgalt], a.orgalt) && table_.SetField(f[kDenom], a.denom) &&
         table_.SetField(f[kAlterna], a.alterna) && table_.SetField(f[kCodele], a.codele) &&
         table_.SetField(f[kCodreg], a.codreg) && table_.SetField(f[kClasse], a.classe) &&
         table_.SetFieldInteger(f[kPiazza], a.piazza) && table_.SetFieldInteger(f[kModnome], a.modnome) &&
         table_.SetFieldInteger(f[kModifica], a.modifica) && table_.SetFieldInteger(f[kElimina], a.elimina) &&
         table_.SetFieldInteger(f[kAggiunto], a.aggiunto) &&
         table_.SetFieldInteger(f[kVerifica], a.verifica) && SetDate(f[kDatins], a.datins) &&
         SetDate(f[kDatmod], a.datmod) && table_.SetFieldInteger(f[kNodini], a.nodini) &&
         table_.SetFieldInteger(f[kNodfin], a.nodfin) && table_.SetFieldInteger(f[kLocal], a.local) &&
         table_.SetFieldInteger(f[kComune], a.comune);
}

bool ArcTable::Add(const ArcRecord& arc) {
  return usable_ && table_.AddNew() && SetFields(arc) && table_.Update();
}

bool ArcTable::Seek(std::int32_t id) {
  if (!usable_ || !SelectPrimaryIndex(table_, indexed_)) return false;
  const std::string key = FormatInteger(id);
  return table_.Seek({std::string_view(key)});
}

bool ArcTable::Read(ArcRecord& out) {
  if (!usable_) return false;
  const auto value = [&](int column) { return table_.StoredValue(fields_[column]); };
  const FieldValue* id = value(kId);
  if (!id) return false;
  out.id = static_cast<std::int32_t>(IntegerOf(id));
  out.orgden = TextOf(value(kOrgden));
  out.orgalt = TextOf(value(kOrgalt));
  out.denom = TextOf(value(kDenom));
  out.alterna = TextOf(value(kAlterna));
  out.codele = TextOf(value(kCodele));
  out.codreg = TextOf(value(kCodreg));
  out.classe = TextOf(value(kClasse));
  out.piazza = IntegerOf(value(kPiazza)) != 0;
  out.modnome = IntegerOf(value(kModnome)) != 0;
  out.modifica = IntegerOf(value(kModifica)) != 0;
  out.elimina = IntegerOf(value(kElimina)) != 0;
  out.aggiunto = IntegerOf(value(kAggiunto)) != 0;
  out.verifica = IntegerOf(value(kVerifica)) != 0;
  out.datins = DateOf(value(kDatins));
  out.datmod = DateOf(value(kDatmod));
  out.nodini = static_cast<std::int32_t>(IntegerOf(value(kNodini)));
  out.nodfin = static_cast<std::int32_t>(IntegerOf(value(kNodfin)));
  out.local = static_cast<std::int32_t>(IntegerOf(value(kLocal)));
  out.comune = static_cast<std::int32_t>(IntegerOf(value(kComune)));
  return true;
}

bool ArcTable::Rewrite(const ArcRecord& arc) {
  return usable_ && table_.Edit() && SetFields(arc) && table_.Update();
}

bool ArcTable::RewriteChanged(const ArcRecord& before, const ArcRecord& after) {
  if (!usable_ || !table_.Edit()) return false;
  const int* f = fields_;
  bool ok = true;
  const auto text = [&](int column, const std::string& a, const std::string& b) {
    if (ok && a != b) ok = table_.SetField(f[column], b);
  };
  const auto number = [&](int column, std::int64_t a, std::int64_t b) {
    if (ok && a != b) ok = table_.SetFieldInteger(f[column], b);
  };
  const auto date = [&](int column, const std::string& a, const std::string& b) {
    if (ok && a != b) ok = SetDate(f[column], b);
  };
  number(kId, before.id, after.id);
  text(kOrgden, before.orgden, after.orgden);
  text(kOrgalt, before.orgalt, after.orgalt);
  text(kDenom, before.denom, after.denom);
  text(kAlterna, before.alterna, after.alterna);
  text(kCodele, before.codele, after.codele);
  text(kCodreg, before.codreg, after.codreg);
  text(kClasse, before.classe, after.classe);
  number(kPiazza, before.piazza, after.piazza);
  number(kModnome, before.modnome, after.modnome);
  number(kModifica, before.modifica, after.modifica);
  number(kElimina, before.elimina, after.elimina);
  number(kAggiunto, before.aggiunto, after.aggiunto);
  number(kVerifica, before.verifica, after.verifica);
  date(kDatins, before.datins, after.datins);
  date(kDatmod, before.datmod, after.datmod);
  number(kNodini, before.nodini, after.nodini);
  number(kNodfin, before.nodfin, after.nodfin);
  number(kLocal, before.local, after.local);
  number(kComune, before.comune, after.comune);
  return ok && table_.Update();
}

// ---- nodi

NodeTable::NodeTable(DbConnection& connection) : table_(connection, kNodeTable) {
  if (!table_.IsOpen()) return;
  id_ = table_.FieldIndex(node_field::kId);
  x_ = table_.FieldIndex(node_field::kX);
  y_ = table_.FieldIndex(node_field::kY);
  usable_ = id_ >= 0 && x_ >= 0 && y_ >= 0;
}

bool NodeTable::Add(const NodeRecord& node) {
  return usable_ && table_.AddNew() && table_.SetFieldInteger(id_, node.id) &&
         table_.SetFieldDouble(x_, node.coord_x) && table_.SetFieldDouble(y_, node.coord_y) &&
         table_.Update();
}

bool NodeTable::Seek(std::int32_t id) {
  if (!usable_ || !SelectPrimaryIndex(table_, indexed_)) return false;
  const std::string key = FormatInteger(id);
  return table_.Seek({std::string_view(key)});
}

bool NodeTable::Read(NodeRecord& out) {
  if (!usable_) return false;
  const FieldValue* id = table_.StoredValue(id_);
  if (!id) return false;
  out.id = static_cast<std::int32_t>(IntegerOf(id));
  out.coord_x = DoubleOf(table_.StoredValue(x_));
  out.coord_y = DoubleOf(table_.StoredValue(y_));
  return true;
}

bool NodeTable::Move(double x, double y) {
  return usable_ && table_.Edit() && table_.SetFieldDouble(x_, x) && table_.SetFieldDouble(y_, y) &&
         table_.Update();
}

// ---- geoarchi, orgarchi

PolylineTable::PolylineTable(DbConnection& connection, std::string_view table) : table_(connection, table) {
  if (!table_.IsOpen()) return;
  id_ = table_.FieldIndex(polyline_field::kId);
  count_ = table_.FieldIndex(polyline_field::kCount);
  coord_ = table_.FieldIndex(polyline_field::kCoordinates);
  minx_ = table_.FieldIndex(polyline_field::kMinX);
  miny_ = table_.FieldIndex(polyline_field::kMinY);
  maxx_ = table_.FieldIndex(polyline_field::kMaxX);
  maxy_ = table_.FieldIndex(polyline_field::kMaxY);
  usable_ = id_ >= 0 && count_ >= 0 && coord_ >= 0 && minx_ >= 0 && miny_ >= 0 && maxx_ >= 0 && maxy_ >= 0;
}

bool PolylineTable::SetFields(const PointArray& line) {
  const Box box = StoredBox(line);
  return table_.SetFieldInteger(count_, line.count()) &&
         table_.SetBinaryField(coord_, line.data(), line.byte_size()) &&
         table_.SetFieldDouble(minx_, box.minx) && table_.SetFieldDouble(miny_, box.miny) &&
         table_.SetFieldDouble(maxx_, box.maxx) && table_.SetFieldDouble(maxy_, box.maxy);
}

bool PolylineTable::Add(std::int32_t id, const PointArray& line) {
  return usable_ && table_.AddNew() && table_.SetFieldInteger(id_, id) && SetFields(line) && table_.Update();
}

bool PolylineTable::Seek(std::int32_t id) {
  if (!usable_ || !SelectPrimaryIndex(table_, indexed_)) return false;
  const std::string key = FormatInteger(id);
  return table_.Seek({std::string_view(key)});
}

bool PolylineTable::Read(PointArray& out) {
  if (!usable_) return false;
  const FieldValue* count = table_.StoredValue(count_);
  const FieldValue* coord = table_.StoredValue(coord_);
  if (!count || !coord || count->kind != FieldValue::Kind::Integer || count->integer < 0) return false;
  const std::size_t points = static_cast<std::size_t>(count->integer);
  const bool has_bytes = coord->kind == FieldValue::Kind::Blob;
  // The length is checked before a single byte is copied.
  if ((has_bytes ? coord->bytes.size() : 0) != points * sizeof(Point)) return false;
  std::vector<Point> copied(points);
  if (points > 0) std::memcpy(copied.data(), coord->bytes.data(), coord->bytes.size());
  const Box box = Box::Of(DoubleOf(table_.StoredValue(minx_)), DoubleOf(table_.StoredValue(miny_)),
                          DoubleOf(table_.StoredValue(maxx_)), DoubleOf(table_.StoredValue(maxy_)));
  out = PointArray(std::move(copied), box);
  return true;
}

bool PolylineTable::Rewrite(const PointArray& line) {
  return usable_ && table_.Edit() && SetFields(line) && table_.Update();
}

// ---- queries

std::string ArcSelectList(std::string_view alias) {
  return SelectList(kArcFields, alias);
}

bool ReadArcRecord(DbQuery& query, int first, ArcRecord& out) {
  if (!query.HasRow()) return false;
  const auto integer = [&](int column) {
    std::int32_t value = 0;
    if (!query.GetLong(first + column, value)) query.GetShort(first + column, value);
    return value;
  };
  const auto text = [&](int column, std::string& value) { query.GetText(first + column, value); };
  out.id = integer(kId);
  text(kOrgden, out.orgden);
  text(kOrgalt, out.orgalt);
  text(kDenom, out.denom);
  text(kAlterna, out.alterna);
  text(kCodele, out.codele);
  text(kCodreg, out.codreg);
  text(kClasse, out.classe);
  out.piazza = integer(kPiazza) != 0;
  out.modnome = integer(kModnome) != 0;
  out.modifica = integer(kModifica) != 0;
  out.elimina = integer(kElimina) != 0;
  out.aggiunto = integer(kAggiunto) != 0;
  out.verifica = integer(kVerifica) != 0;
  text(kDatins, out.datins);
  text(kDatmod, out.datmod);
  out.nodini = integer(kNodini);
  out.nodfin = integer(kNodfin);
  out.local = integer(kLocal);
  out.comune = integer(kComune);
  return true;
}

std::string NodeSelectList(std::string_view alias) {
  constexpr std::string_view kFields[] = {node_field::kId, node_field::kX, node_field::kY};
  return SelectList(kFields, alias);
}

bool ReadNodeRecord(DbQuery& query, int first, NodeRecord& out) {
  if (!query.HasRow()) return false;
  return query.GetLong(first, out.id) && query.GetDouble(first + 1, out.coord_x) &&
         query.GetDouble(first + 2, out.coord_y);
}

std::string PolylineSelectList(std::string_view alias) {
  constexpr std::string_view kFields[] = {
      polyline_field::kId,   polyline_field::kCount, polyline_field::kCoordinates, polyline_field::kMinX,
      polyline_field::kMinY, polyline_field::kMaxX,  polyline_field::kMaxY};
  return SelectList(kFields, alias);
}

bool ReadPolylineRow(DbQuery& query, int first, std::int32_t& id, PointArray& line) {
  std::int32_t read_id = 0;
  PointArray read;
  if (!query.HasRow() || !query.GetLong(first, read_id) || !ReadStoredGeometry(query, first + 1, read))
    return false;
  id = read_id;
  line = std::move(read);
  return true;
}

std::optional<std::int32_t> LargestId(DbConnection& connection, std::string_view table) {
  DbQuery query(connection);
  query.SetSelect("max(ID)");
  query.SetFrom(QuoteIdentifier(table));
  std::int32_t largest = 0;
  if (!query.Open() || !query.GetLong(0, largest)) return std::nullopt;
  return largest;
}

}  // namespace viamappa
