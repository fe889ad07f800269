#include "geom/StoredGeometry.h"

#include <bit>
#include <cstdio>
#include <cstring>

#include "base/NumberText.h"

namespace viamappa {

static_assert(std::endian::native == std::endian::little, "the stored coordinates are little-endian doubles");

bool ReadStoredGeometry(DbQuery& query, int first, PointArray& out) {
  std::int32_t count = 0;
  query.GetShort(first, count);
  std::string_view bytes;
  query.GetBinaryView(first + 1, bytes);
  // The length is checked before a single byte is copied.
  if (count < 0 || bytes.size() != static_cast<std::size_t>(count) * sizeof(Point)) return false;
  std::vector<Point> points(count);
  if (count > 0) std::memcpy(points.data(), bytes.data(), bytes.size());
  Box box;
  query.GetDouble(first + 2, box.minx);
  query.GetDouble(first + 3, box.miny);
  query.GetDouble(first + 4, box.maxx);
  query.GetDouble(first + 5, box.maxy);
  out = PointArray(std::move(points), box);
  return true;
}

std::string StoredCoordinateText(double value) {
  return FormatFixedZeroPadded(value, 1, 2, ',');
}

bool WriteStoredGeometry(DbTable& table, const PointArray& geometry) {
  const Box& box = geometry.box();
  return table.SetField("punti", FormatInteger(geometry.count())) &&
         table.SetBinaryField("coord", geometry.data(), geometry.byte_size()) &&
         table.SetField("minx", StoredCoordinateText(box.minx)) &&
         table.SetField("miny", StoredCoordinateText(box.miny)) &&
         table.SetField("maxx", StoredCoordinateText(box.maxx)) &&
         table.SetField("maxy", StoredCoordinateText(box.maxy));
}

bool LoadArcGeometry(DbTable& geoarchi, std::int32_t id, PointArray& out) {
  out = PointArray();
  const std::string key = FormatInteger(id);
  if (!geoarchi.Seek({key})) return false;
  std::string count_text;
  geoarchi.GetField("punti", count_text);
  const auto count = ParseDecimal(count_text);
  std::vector<std::uint8_t> bytes;
  // The size is checked before the bytes are taken.
  const std::size_t size = geoarchi.GetBinaryFieldSize("coord");
  if (!count || *count < 0 || size != static_cast<std::size_t>(*count) * sizeof(Point) ||
      !geoarchi.GetBinaryField("coord", bytes)) {
    if (UserInterface* ui = geoarchi.ui()) ui->ShowMessage(DamagedArcMessage(id), MessageIcon::Warning);
    return false;
  }
  std::vector<Point> points(static_cast<std::size_t>(*count));
  if (!points.empty()) std::memcpy(points.data(), bytes.data(), size);
  out = PointArray(std::move(points));
  return true;
}

std::string DamagedArcMessage(std::int64_t id) {
  return "Archi: Entità Lineare corrotta " + FormatInteger(id) + " !!!";
}

std::string DamagedAreaMessage(const std::string& area_table, std::int32_t id, std::int32_t sub,
                               std::int32_t excl) {
  const char* name = area_table == "geoloc" ? "Località" : "Comuni";
  return std::string(name) + ": Entità areale corrotta " + FormatInteger(id) + "/" + FormatInteger(sub) +
         "/" + FormatInteger(excl) + " !!!";
}

std::vector<AreaFeature> LoadAreaFeatures(DbConnection& connection, const std::string& area_table,
                                          Box* extent,
                                          const std::function<void(const std::string&)>& damaged) {
  DbQuery query(connection);
  query.SetSelect("id, sub, excl, punti, coord, minx, miny, maxx, maxy");
  query.SetFrom(area_table);
  query.SetOrderBy("id, sub, excl");
  if (damaged) return ReadAreaFeatures(query, area_table, extent, damaged);
  return ReadAreaFeatures(query, area_table, extent, [&connection](const std::string& message) {
    connection.ui().ShowMessage(message, MessageIcon::Warning);
  });
}

std::vector<AreaFeature> ReadAreaFeatures(DbQuery& query, const std::string& area_table, Box* extent,
                                          const std::function<void(const std::string&)>& damaged,
                                          const std::function<void(DbQuery&)>& opened) {
  std::vector<AreaFeature> features;
  std::int32_t last_id = 0;
  std::int32_t last_sub = 0;
  for (bool row = query.Open(); row; row = query.MoveNext()) {
    std::int32_t id = 0, sub = 0, excl = 0;
    query.GetShort(0, id);
    query.GetShort(1, sub);
    query.GetShort(2, excl);
    PointArray ring;
    if (!ReadStoredGeometry(query, 3, ring)) {
      const std::string message = DamagedAreaMessage(area_table, id, sub, excl);
      if (damaged) damaged(message);
      continue;
    }
    if (extent) extent->Widen(ring.box());
    // A ring that opens a feature or a part is its outer ring (also when its outer ring was damaged
    // and left out); the others are exclusion rings of the current part.
    if (features.empty() || id != last_id) {
      features.push_back({id, {}});
      features.back().parts.push_back({std::move(ring), {}});
      last_id = id;
      last_sub = sub;
      if (opened) opened(query);
    } else if (sub != last_sub) {
      features.back().parts.push_back({std::move(ring), {}});
      last_sub = sub;
    } else {
      features.back().parts.back().exclusions.push_back(std::move(ring));
    }
  }
  return features;
}

}  // namespace viamappa
