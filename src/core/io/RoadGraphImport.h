// Loading the road graph of a new database from a polyline shapefile: arcs, their current and first
// polylines, and the nodes derived from their end points.
#pragma once

#include <string>

#include "db/DbConnection.h"
#include "ui/UserInterface.h"

namespace viamappa {

struct RoadGraphImportCounts {
  int found = 0;
  int arcs = 0;
  int nodes = 0;
  int polylines = 0;
};

struct DbfField;

// A DBF text as the database receives it: UTF-8, without its padding blanks (a value of blanks keeps
// one, as the access layer's display form does).
std::string DbfText(std::string_view record, const DbfField& field);
void DbfText(std::string_view record, const DbfField& field, std::string& out);

// The message shown when a shapefile lacks the attributes or the shape type of a road graph.
std::string UnusableRoadGraphMessage();

class ShapefileReader;

// True when the set read by the reader (headers read) has the polyline shape type and the attributes of
// a road graph: DENOM, ALT, COD_ELE, COD_REG, CLASSE and PIAZZA, characters, within their widths.
bool HasRoadGraphAttributes(const ShapefileReader& reader);

// Imports the set at base_name (the ".shp" path without its extension) into an empty graph. Stops
// without a message when the files cannot be read; shows the unusable-file message when the attributes
// or the shape type do not fit; every row the database refuses is shown by the access layer and not
// counted. All rows go into one batch.
RoadGraphImportCounts ImportRoadGraph(DbConnection& connection, const std::string& base_name,
                                      UserInterface& ui);

}  // namespace viamappa
