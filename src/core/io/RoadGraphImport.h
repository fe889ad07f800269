// Loading the road graph of a new database from a polyline shapefile: arcs, their current and first
// polylines, and the nodes derived from their end points.
#pragma once

#include <string>

#include "db/DbConnection.h"
#include "io/ImportReport.h"
#include "ui/UserInterface.h"

namespace viamappa {

struct RoadGraphImportCounts {
  int found = 0;
  int arcs = 0;
  int nodes = 0;
  int polylines = 0;
  ImportReport report;
};

// The message shown when a shapefile lacks the attributes or the shape type of a road graph.
std::string UnusableRoadGraphMessage();

class ShapefileReader;

// True when the set read by the reader (headers read) has the polyline shape type and the attributes of
// a road graph: DENOM, ALT, COD_ELE, COD_REG, CLASSE and PIAZZA, characters, within their widths.
bool HasRoadGraphAttributes(const ShapefileReader& reader);

// Imports the set at base_name (the ".shp" path without its extension) into an empty graph, in one
// batch: everything it counts is stored, or nothing is (report.failed(), after the reason was shown: a
// file that cannot be read whole, attributes or a shape type that do not fit, a failure of the database
// beyond one record). An arc is stored with its polylines or not at all; a record the database refuses
// is counted and the first one named; records without geometry and records marked deleted are counted
// and left out.
RoadGraphImportCounts ImportRoadGraph(DbConnection& connection, const std::string& base_name,
                                      UserInterface& ui);

}  // namespace viamappa
