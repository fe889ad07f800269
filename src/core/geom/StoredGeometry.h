// Geometry as the database stores it: a point count, the coordinates as bytes (count x 16, X then Y,
// little-endian doubles) and a bounding box rounded to hundredths.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "db/DbConnection.h"
#include "db/DbQuery.h"
#include "db/DbTable.h"
#include "geom/PointArray.h"

namespace viamappa {

// Reads the geometry of the current row of a query whose select list has, from position first on,
// punti, coord, minx, miny, maxx, maxy. False, with nothing read, when the row is damaged: a negative
// count or coordinates whose length is not count x 16 bytes (checked before anything is copied).
bool ReadStoredGeometry(DbQuery& query, int first, PointArray& out);

// Writes punti, coord and the box ("%1.2lf" with a decimal comma) into the record being edited or
// added; false at the first field refused (the access layer has shown why).
bool WriteStoredGeometry(DbTable& table, const PointArray& geometry);

// A box value as the database receives it: "%1.2lf" with a comma.
std::string StoredCoordinateText(double value);

// Reads the current polyline of one arc from geoarchi, for the arc records that load their geometry
// on demand. geoarchi must be open with its index "codice" selected. A damaged row is shown and gives no
// points; false when the arc has no geometry row or it is damaged.
bool LoadArcGeometry(DbTable& geoarchi, std::int32_t id, PointArray& out);

// The damage messages of the arcs and of the two area tables.
std::string DamagedArcMessage(std::int64_t id);
std::string DamagedAreaMessage(const std::string& area_table, std::int32_t id, std::int32_t sub,
                               std::int32_t excl);

// Loads the rings of an area table ("geocom" or "geoloc") into area features in identifier order,
// grouped into parts by sub and excl; a damaged ring is left out and its message handed to damaged, or
// shown when no handler is given. extent, when given, widens by each ring's stored box.
std::vector<AreaFeature> LoadAreaFeatures(DbConnection& connection, const std::string& area_table,
                                          Box* extent = nullptr,
                                          const std::function<void(const std::string&)>& damaged = {});

// The same from a query of the caller whose select list begins with id, sub, excl, punti, coord, minx,
// miny, maxx, maxy, ordered by id, sub and excl, and whose rows come from area_table. A damaged ring's
// message goes to damaged; opened, when given, reads the rest of the row that opens each feature (after
// the feature is appended to the list).
std::vector<AreaFeature> ReadAreaFeatures(DbQuery& query, const std::string& area_table, Box* extent,
                                          const std::function<void(const std::string&)>& damaged,
                                          const std::function<void(DbQuery&)>& opened = {});

}  // namespace viamappa
