#include "support/NetworkBuilder.h"

#include "base/NumberText.h"
#include "geom/RingGrouping.h"
#include "geom/StoredGeometry.h"

namespace viamappa::testing {

NetworkBuilder::NetworkBuilder(DbConnection& connection)
    : batch_(connection),
      nodi_(connection),
      archi_(connection),
      geoarchi_(connection, kArcGeometryTable),
      orgarchi_(connection, kFirstArcGeometryTable),
      comuni_(connection, "comuni"),
      geocom_(connection, "geocom"),
      local_(connection, "local"),
      geoloc_(connection, "geoloc"),
      toponimi_(connection, "toponimi") {}

bool NetworkBuilder::AddNode(std::int32_t id, double x, double y) {
  return nodi_.Add({id, x, y});
}

bool NetworkBuilder::AddArc(const ArcRow& arc) {
  ArcRecord record;
  record.id = arc.id;
  record.orgden = record.denom = arc.denom;
  record.orgalt = record.alterna = arc.alterna;
  record.classe = arc.classe;
  record.datins = record.datmod = "01/01/2024";
  record.nodini = arc.from;
  record.nodfin = arc.to;
  record.local = arc.local;
  record.comune = arc.comune;
  const PointArray line(arc.points);
  return archi_.Add(record) && geoarchi_.Add(arc.id, line) && orgarchi_.Add(arc.id, line);
}

bool NetworkBuilder::AddRings(DbTable& table, std::int32_t id, const std::vector<std::vector<Point>>& rings) {
  std::vector<PointArray> arrays;
  for (const auto& ring : rings) arrays.emplace_back(ring);
  const std::vector<RingPlace> places = PlaceRings(arrays);
  for (std::size_t i = 0; i < arrays.size(); ++i) {
    if (!table.AddNew() || !table.SetField("ID", FormatInteger(id)) ||
        !table.SetField("sub", FormatInteger(places[i].sub)) ||
        !table.SetField("excl", FormatInteger(places[i].excl)) || !WriteStoredGeometry(table, arrays[i]) ||
        !table.Update())
      return false;
  }
  return true;
}

bool NetworkBuilder::AddMunicipality(std::int32_t id, std::string_view name, std::string_view istat,
                                     const std::vector<std::vector<Point>>& rings,
                                     std::string_view province) {
  return comuni_.AddNew() && comuni_.SetField("ID", FormatInteger(id)) && comuni_.SetField("denom", name) &&
         comuni_.SetField("provin", province) && comuni_.SetField("istat", istat) && comuni_.Update() &&
         AddRings(geocom_, id, rings);
}

bool NetworkBuilder::AddLocality(std::int32_t id, std::string_view name, std::string_view istat,
                                 std::int32_t inhabitants, const std::vector<std::vector<Point>>& rings) {
  return local_.AddNew() && local_.SetField("ID", FormatInteger(id)) && local_.SetField("denom", name) &&
         local_.SetField("istat", istat) && local_.SetField("nucleo", "0") &&
         local_.SetField("abitanti", FormatInteger(inhabitants)) && local_.Update() &&
         AddRings(geoloc_, id, rings);
}

bool NetworkBuilder::AddToponym(std::int32_t id, std::string_view name, const Box& box, std::int32_t comune) {
  return toponimi_.AddNew() && toponimi_.SetField("ID", FormatInteger(id)) &&
         toponimi_.SetField("denom", name) && toponimi_.SetField("minx", StoredCoordinateText(box.minx)) &&
         toponimi_.SetField("miny", StoredCoordinateText(box.miny)) &&
         toponimi_.SetField("maxx", StoredCoordinateText(box.maxx)) &&
         toponimi_.SetField("maxy", StoredCoordinateText(box.maxy)) &&
         toponimi_.SetField("comune", FormatInteger(comune)) && toponimi_.Update();
}

std::vector<Point> NetworkBuilder::Square(double x, double y, double side, bool clockwise) {
  std::vector<Point> ring = {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}, {x, y}};
  if (clockwise) std::reverse(ring.begin(), ring.end());
  return ring;
}

}  // namespace viamappa::testing
