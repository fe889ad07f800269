// Fills a road-network database for tests and benchmarks through the access layer: nodes, arcs with
// their current and first polylines, municipalities and localities with their boundary rings, toponyms.
// Every row of a builder's life goes into one batch.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "db/DbBatch.h"
#include "db/DbConnection.h"
#include "db/DbTable.h"
#include "geom/GraphRecords.h"
#include "geom/PointArray.h"

namespace viamappa::testing {

struct ArcRow {
  std::int32_t id = 0;
  std::int32_t from = 0;  // nodini
  std::int32_t to = 0;    // nodfin
  std::vector<Point> points;
  std::string denom;
  std::string alterna;
  std::string classe;
  std::int32_t comune = 0;
  std::int32_t local = 0;
};

// An arc of the given nodes and points, with optional names.
inline ArcRow Arc(std::int32_t id, std::int32_t from, std::int32_t to, std::vector<Point> points,
                  std::string denom = {}, std::string classe = {}) {
  ArcRow arc;
  arc.id = id;
  arc.from = from;
  arc.to = to;
  arc.points = std::move(points);
  arc.denom = std::move(denom);
  arc.classe = std::move(classe);
  return arc;
}

class NetworkBuilder {
 public:
  explicit NetworkBuilder(DbConnection& connection);

  bool AddNode(std::int32_t id, double x, double y);
  bool AddArc(const ArcRow& arc);
  // Rings in the order of the grouping rule: sub and excl are assigned as the imports assign them.
  bool AddMunicipality(std::int32_t id, std::string_view name, std::string_view istat,
                       const std::vector<std::vector<Point>>& rings, std::string_view province = "TN");
  bool AddLocality(std::int32_t id, std::string_view name, std::string_view istat, std::int32_t inhabitants,
                   const std::vector<std::vector<Point>>& rings);
  bool AddToponym(std::int32_t id, std::string_view name, const Box& box, std::int32_t comune = 0);

  // A closed square ring, counter-clockwise (or clockwise), with its lower-left corner at (x, y).
  static std::vector<Point> Square(double x, double y, double side, bool clockwise = false);

 private:
  bool AddRings(DbTable& table, std::int32_t id, const std::vector<std::vector<Point>>& rings);

  DbBatch batch_;
  NodeTable nodi_;
  ArcTable archi_;
  PolylineTable geoarchi_, orgarchi_;
  DbTable comuni_, geocom_, local_, geoloc_, toponimi_;
};

}  // namespace viamappa::testing
