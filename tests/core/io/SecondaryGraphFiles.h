// Secondary road graphs written as shapefiles for the conflation tests, and a primary graph to conflate
// them into, read back as arcs with their polylines and nodes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/io/ImportTestFiles.h"
#include "geom/GraphRecords.h"
#include "io/Conflation.h"
#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa::test {

// One record of a secondary shapefile; no points makes a null shape.
struct SecondaryRecord {
  std::vector<Point> points;
  std::string codreg = "S1";
  std::string denom = "VIA NUOVA";
};

inline std::string WriteSecondaryGraph(const std::string& base, const std::vector<SecondaryRecord>& records) {
  std::vector<std::string> shapes, rows;
  for (const SecondaryRecord& r : records) {
    shapes.push_back(r.points.empty() ? NullContent() : Polyline(r.points));
    rows.push_back(" " + Padded(r.denom, 60) + Padded("", 60) + Padded("E1", 20) + Padded(r.codreg, 20) +
                   Padded("SC", 10) + "N");
  }
  return WriteSet(base, 3, shapes, kGraphFields, rows);
}

// An arc's ends and polyline as stored after a run.
struct StoredArc {
  std::int32_t nodini = 0, nodfin = 0;
  std::vector<Point> points;
  Box box;  // as stored
};

class ConflationTest : public testing::RoadNetworkTest {
 protected:
  // A new empty database in place of the test's one, for the next case of a table.
  void Fresh() {
    state_.connection.reset();
    std::filesystem::remove(path_);
    RoadNetworkTest::SetUp();
  }

  // Primary arcs of the given nodes (identifier, x, y); arc i + 1 runs along arcs[i] from the node at its
  // first point to the node at its last.
  void BuildPrimary(const std::vector<NodeRecord>& nodes, const std::vector<std::vector<Point>>& arcs,
                    const std::vector<std::string>& codes = {}) {
    testing::NetworkBuilder builder(db());
    for (const NodeRecord& n : nodes) ASSERT_TRUE(builder.AddNode(n.id, n.coord_x, n.coord_y));
    const auto node_at = [&](const Point& p) {
      for (const NodeRecord& n : nodes)
        if (n.coord_x == p.x && n.coord_y == p.y) return n.id;
      ADD_FAILURE() << "no node at " << p.x << " " << p.y;
      return -1;
    };
    for (std::size_t i = 0; i < arcs.size(); ++i) {
      testing::ArcRow row = testing::Arc(static_cast<std::int32_t>(i + 1), node_at(arcs[i].front()),
                                         node_at(arcs[i].back()), arcs[i], "VIA VECCHIA");
      ASSERT_TRUE(builder.AddArc(row));
    }
    // The builder writes no regional codes: they are set afterwards.
    for (std::size_t i = 0; i < codes.size(); ++i) {
      ArcTable archi(db());
      ArcRecord arc;
      ASSERT_TRUE(archi.Seek(static_cast<std::int32_t>(i + 1)) && archi.Read(arc));
      arc.codreg = codes[i];
      ASSERT_TRUE(archi.Rewrite(arc));
    }
  }

  ConflationResult Run(const std::vector<SecondaryRecord>& records, double snap,
                       conflation::Search search = conflation::Search::Indexed) {
    const std::string base = WriteSecondaryGraph(dir_.File("secondario"), records);
    return ConflateSecondaryGraph(db(), base, snap, ui_, {search, "01/02/2026"});
  }

  std::map<std::int32_t, StoredArc> Arcs() {
    std::map<std::int32_t, StoredArc> arcs;
    PolylineTable geoarchi(db());
    DbQuery query(db());
    query.SetSelect("ID, nodini, nodfin");
    query.SetFrom("archi");
    for (bool row = query.Open(); row; row = query.MoveNext()) {
      std::int32_t id = 0;
      query.GetLong(0, id);
      StoredArc& arc = arcs[id];
      query.GetLong(1, arc.nodini);
      query.GetLong(2, arc.nodfin);
      PointArray line;
      if (geoarchi.Seek(id) && geoarchi.Read(line)) {
        arc.points = line.points();
        arc.box = line.box();
      }
    }
    return arcs;
  }

  std::map<std::int32_t, Point> Nodes() {
    std::map<std::int32_t, Point> nodes;
    for (const std::string& row : Rows("ID, coord_x, coord_y", "nodi")) {
      const auto bar = row.find('|'), bar2 = row.rfind('|');
      nodes[std::stoi(row.substr(0, bar))] = {*ParseDecimal(row.substr(bar + 1, bar2 - bar - 1)),
                                              *ParseDecimal(row.substr(bar2 + 1))};
    }
    return nodes;
  }

  // Every polyline runs from its start node to its end node, and its stored box is its points' box.
  void ExpectSoundGraph() {
    const std::map<std::int32_t, Point> nodes = Nodes();
    for (const auto& [id, arc] : Arcs()) {
      ASSERT_FALSE(arc.points.empty()) << "arc " << id;
      ASSERT_TRUE(nodes.count(arc.nodini) && nodes.count(arc.nodfin)) << "arc " << id;
      EXPECT_EQ(arc.points.front(), nodes.at(arc.nodini)) << "arc " << id << " starts off its node";
      EXPECT_EQ(arc.points.back(), nodes.at(arc.nodfin)) << "arc " << id << " ends off its node";
      for (std::size_t k = 1; k < arc.points.size(); ++k)
        EXPECT_NE(arc.points[k - 1], arc.points[k]) << "arc " << id << " repeats a point";
      EXPECT_EQ(arc.box, PointArray(arc.points).box()) << "arc " << id << " keeps an old box";
    }
  }
};

}  // namespace viamappa::test
