#include "geom/GraphRecords.h"

#include <gtest/gtest.h>

#include "db/DbBatch.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

class GraphRecordsTest : public testing::RoadNetworkTest {};

ArcRecord SampleArc(std::int32_t id) {
  ArcRecord arc;
  arc.id = id;
  arc.orgden = "VIA ROMA";
  arc.denom = "VIA DELL'UNIVERSITÀ  ";
  arc.alterna = "VIA ROMA";
  arc.codele = "E1";
  arc.codreg = "R7";
  arc.classe = "SC";
  arc.piazza = arc.modnome = arc.verifica = true;
  arc.datins = "01/01/1901";
  arc.datmod = "06/12/2026";
  arc.nodini = 0;
  arc.nodfin = 1;
  return arc;
}

// Every field goes in and comes back the same, through the table and through a query; a rewrite
// replaces every field.
TEST_F(GraphRecordsTest, RowsComeBackAsWritten) {
  {
    DbBatch batch(db());
    NodeTable nodi(db());
    ASSERT_TRUE(nodi.Add({0, 612345.67, 5123456.78}) && nodi.Add({1, -10.5, 0}));
    ArcTable archi(db());
    ASSERT_TRUE(archi.Add(SampleArc(7)));
  }
  ArcTable archi(db());
  ArcRecord read;
  ASSERT_TRUE(archi.Seek(7) && archi.Read(read));
  EXPECT_EQ(read, SampleArc(7));
  EXPECT_FALSE(archi.Seek(8));

  ArcRecord changed = SampleArc(7);
  changed.piazza = false;
  changed.elimina = true;
  changed.nodini = 1;
  ASSERT_TRUE(archi.Seek(7) && archi.Rewrite(changed));
  DbQuery query(db());
  query.SetSelect(ArcSelectList("a"));
  query.SetFrom("archi AS a");
  ASSERT_TRUE(query.Open());
  ASSERT_TRUE(ReadArcRecord(query, 0, read));
  EXPECT_EQ(read, changed);

  NodeTable nodi(db());
  ASSERT_TRUE(nodi.Seek(1) && nodi.Move(3.25, 4.5));
  EXPECT_EQ(testing::Rows(db(), NodeSelectList(), "nodi", "", "ID"),
            (std::vector<std::string>{"0|612345.67|5123456.78", "1|3.25|4.5"}));
  EXPECT_EQ(LargestId(db(), kNodeTable), 1);
  EXPECT_EQ(LargestId(db(), kArcGeometryTable), std::nullopt) << "no rows";
}

// The stored box is that of the points, rounded to hundredths, whatever box the array carries; a row
// whose count does not match its coordinates reads as damaged.
TEST_F(GraphRecordsTest, PolylinesKeepTheBoxOfTheirPoints) {
  {
    DbBatch batch(db());
    NodeTable nodi(db());
    ArcTable archi(db());
    ASSERT_TRUE(nodi.Add({0, 0, 0}) && nodi.Add({1, 1, 1}) && archi.Add(SampleArc(1)) &&
                archi.Add(SampleArc(2)));
    PolylineTable geoarchi(db());
    PointArray line(std::vector<Point>{{10.004, 20}, {-5, 30.006}}, Box::Of(0, 0, 1, 1));
    ASSERT_TRUE(geoarchi.Add(1, line) && geoarchi.Add(2, PointArray()));
  }
  PolylineTable geoarchi(db());
  PointArray read;
  ASSERT_TRUE(geoarchi.Seek(1) && geoarchi.Read(read));
  EXPECT_EQ(read.count(), 2);
  EXPECT_EQ(read.box(), Box::Of(-5, 20, 10, 30.01));
  ASSERT_TRUE(geoarchi.Seek(2) && geoarchi.Read(read));
  EXPECT_EQ(read.count(), 0);

  ASSERT_TRUE(geoarchi.Seek(1) && geoarchi.Rewrite(PointArray(std::vector<Point>{{1, 2}, {3, 4}, {5, 6}})));
  DbQuery query(db());
  query.SetSelect(PolylineSelectList());
  query.SetFrom("geoarchi");
  query.SetWhere("ID = 1");
  std::int32_t id = 0;
  ASSERT_TRUE(query.Open() && ReadPolylineRow(query, 0, id, read));
  EXPECT_EQ(read.box(), Box::Of(1, 2, 5, 6));

  DbTable raw(db(), "geoarchi");
  ASSERT_TRUE(raw.SelectIndex("codice") && raw.Seek({"1"}) && raw.Edit() && raw.SetField("punti", "4") &&
              raw.Update());
  EXPECT_TRUE(geoarchi.Seek(1));
  EXPECT_FALSE(geoarchi.Read(read));
  ASSERT_TRUE(query.Open());
  EXPECT_FALSE(ReadPolylineRow(query, 0, id, read));
}

}  // namespace
}  // namespace viamappa
