// Small road graphs for the commands that work on the graph as a whole and for the editing: nodes and arcs
// written as given, then damaged or changed with plain SQL where a case needs what the program never
// writes.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa::testing {

class TopologyTest : public RoadNetworkTest {
 protected:
  // A new empty database in place of the one in use, for the next case of a table.
  void Fresh() {
    state_.connection.reset();
    path_ = dir_.File("rete" + std::to_string(++databases_) + ".mdb");
    ASSERT_TRUE(MakeRoadNetworkDatabase(path_));
    state_.database_path = path_;
    state_.connection = std::make_unique<DbConnection>(path_, ui_);
    ui_.ClearMessages();
  }

  void Build(const std::vector<NodeRecord>& nodes, const std::vector<ArcRow>& arcs,
             const std::vector<std::string>& sql = {}) {
    {
      NetworkBuilder build(db());
      for (const NodeRecord& n : nodes) ASSERT_TRUE(build.AddNode(n.id, n.coord_x, n.coord_y));
      for (const ArcRow& arc : arcs) ASSERT_TRUE(build.AddArc(arc)) << arc.id;
    }
    for (const std::string& statement : sql) {
      std::string error;
      ASSERT_TRUE(db().engine()->Execute(statement, error)) << statement << ": " << error;
    }
  }

  std::vector<std::string> Arcs() { return Rows("ID, nodini, nodfin", "archi", "", "ID"); }
  std::vector<std::string> Nodes() { return Rows("ID, coord_x, coord_y", "nodi", "", "ID"); }
  std::vector<std::string> Ids(const std::string& table) { return Rows("ID", table, "", "ID"); }
  std::vector<Point> StoredPoints(std::int32_t id) {
    PolylineTable geoarchi(db());
    PointArray line;
    if (!geoarchi.Seek(id) || !geoarchi.Read(line)) return {};
    return line.points();
  }

  int databases_ = 0;
};

}  // namespace viamappa::testing
