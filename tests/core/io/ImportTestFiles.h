// Shapefiles of road graphs and areas for the import tests, and a database to import them into.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/ImportCommands.h"
#include "core/io/ShapefileTestBytes.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa::test {

struct GraphRecord {
  std::string content;  // the shape content
  std::string denom, alt, piazza;
  bool deleted = false;  // marked deleted in the table
};

inline const std::vector<DbfSpec> kGraphFields = {{"DENOM", 'C', 60},   {"ALT", 'C', 60},
                                                  {"COD_ELE", 'C', 20}, {"COD_REG", 'C', 20},
                                                  {"CLASSE", 'C', 10},  {"PIAZZA", 'C', 1}};
inline const std::vector<DbfSpec> kPlaceFields = {
    {"ISTAT", 'N', 10}, {"DENOM", 'C', 40}, {"ABITANTI", 'N', 12}, {"TIPO", 'C', 1}};

inline std::string Polyline(const std::vector<Point>& points) {
  return ShapeContent(3, {0}, points);
}
inline std::string Ring(const std::vector<Point>& points) {
  return ShapeContent(5, {0}, points);
}

// A new road-network database with the import commands over it, and road graphs written as shapefiles.
class ImportTest : public testing::RoadNetworkTest {
 protected:
  std::string WriteGraph(const std::vector<GraphRecord>& records, std::vector<DbfSpec> fields = kGraphFields,
                         int shx_records = -1, std::int32_t shape_type = 3) {
    std::vector<std::string> contents, rows;
    for (const GraphRecord& r : records) {
      contents.push_back(r.content);
      rows.push_back((r.deleted ? "*" : " ") + Padded(r.denom, 60) + Padded(r.alt, 60) + Padded("E1", 20) +
                     Padded("R1", 20) + Padded("SC", 10) + Padded(r.piazza, fields.back().length));
    }
    return WriteSet(dir_.File("grafo"), shape_type, contents, fields, rows, shx_records);
  }

  WindowlessShell shell_;
  ImportCommands commands_{state_, ui_, shell_};
};

}  // namespace viamappa::test
