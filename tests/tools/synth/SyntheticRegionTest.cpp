#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>

#include "base/NumberText.h"
#include "core/io/ShapefileReadBack.h"
#include "geom/Measures.h"
#include "geom/PointInPolygon.h"
#include "support/GdalTools.h"
#include "support/TempDir.h"
#include "synth/SyntheticRegion.h"

namespace viamappa::synth {
namespace {

using viamappa::testing::TempDir;

class SyntheticRegionTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    std::string error;
    ASSERT_TRUE(WriteSyntheticRegion(dir_->File("a"), kOptions, counts_, error)) << error;
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  static std::string File(const std::string& name) { return dir_->File("a/" + name); }

  static constexpr RegionOptions kOptions{.arcs = 6000, .comuni = 23, .localita = 70, .seed = 42};
  inline static TempDir* dir_ = nullptr;
  inline static RegionCounts counts_;
};

TEST_F(SyntheticRegionTest, TheSameSeedGivesTheSameBytesAndAnotherSeedOthers) {
  RegionOptions options = kOptions;
  RegionCounts counts;
  std::string error;
  ASSERT_TRUE(WriteSyntheticRegion(dir_->File("b"), options, counts, error)) << error;
  for (const char* name : {"GEO_GRAFO.shp", "GEO_GRAFO.shx", "GEO_GRAFO.dbf", "COMUNI.shp", "COMUNI.dbf",
                           "LOCALITA.shp", "LOCALITA.dbf", "toponimi.txt"}) {
    EXPECT_EQ(testing::ReadText(File(name)), testing::ReadText(dir_->File("b/" + std::string(name)))) << name;
  }
  options.seed = 43;
  ASSERT_TRUE(WriteSyntheticRegion(dir_->File("c"), options, counts, error)) << error;
  EXPECT_NE(testing::ReadText(File("GEO_GRAFO.shp")), testing::ReadText(dir_->File("c/GEO_GRAFO.shp")));
  EXPECT_NE(testing::ReadText(File("GEO_GRAFO.dbf")), testing::ReadText(dir_->File("c/GEO_GRAFO.dbf")));
}

TEST_F(SyntheticRegionTest, ArcsMeetAtNodesOrEndAtTheDeadEndsDesigned) {
  const std::vector<test::ReadBackRecord> arcs = test::ReadBack(File("GEO_GRAFO")).records;
  ASSERT_EQ(static_cast<std::int64_t>(arcs.size()), counts_.arcs);
  std::map<std::pair<double, double>, int> ends;
  std::int64_t closed = 0;
  for (const test::ReadBackRecord& arc : arcs) {
    ASSERT_TRUE(arc.shape.has_geometry);
    const PointArray& line = arc.shape.polyline;
    ASSERT_GE(line.count(), 2);
    for (const Point& p : line.points()) {
      // At most two decimals: the coordinates read back unchanged after rounding to hundredths.
      ASSERT_EQ(ParseDecimal(FormatFixed(p.x, 2)), p.x);
      ASSERT_EQ(ParseDecimal(FormatFixed(p.y, 2)), p.y);
      ASSERT_TRUE(p.x > 600000 && p.x < 700000 && p.y > 5000000 && p.y < 5100000) << p.x << " " << p.y;
    }
    ++ends[{line.front().x, line.front().y}];
    ++ends[{line.back().x, line.back().y}];
    if (line.IsClosed()) ++closed;
  }
  std::int64_t single = 0;
  for (const auto& [point, n] : ends) single += n == 1 ? 1 : 0;
  EXPECT_EQ(static_cast<std::int64_t>(ends.size()), counts_.nodes);
  EXPECT_EQ(single, counts_.dead_ends);
  EXPECT_LT(single * 10, counts_.nodes) << "most end points are shared";
  EXPECT_EQ(closed, counts_.closed_arcs);
  EXPECT_GT(closed, 0);
  EXPECT_GT(counts_.multi_part_arcs, 0);
}

TEST_F(SyntheticRegionTest, MunicipalitiesTileTheRegionAndHoldTheirLocalities) {
  const std::vector<test::ReadBackRecord> comuni = test::ReadBack(File("COMUNI")).records;
  ASSERT_EQ(static_cast<std::int32_t>(comuni.size()), counts_.comuni);
  double area = 0;
  int multi = 0, holes = 0;
  std::map<std::string, const test::ReadBackRecord*> by_istat;
  for (const test::ReadBackRecord& c : comuni) {
    for (const AreaPart& part : c.shape.polygon) area += Area(part);
    multi += c.shape.polygon.size() > 1;
    for (const AreaPart& part : c.shape.polygon) holes += static_cast<int>(part.exclusions.size());
    EXPECT_EQ(c.values.at("ISTAT").size(), 6u);
    EXPECT_TRUE(by_istat.emplace(c.values.at("ISTAT"), &c).second) << "ISTAT codes are unique";
  }
  EXPECT_NEAR(area, 1e10, 1e4) << "the tiles, less their holes, plus the enclaves cover the region once";
  EXPECT_GT(multi, 0);
  EXPECT_GT(holes, 0);

  const std::vector<test::ReadBackRecord> localita = test::ReadBack(File("LOCALITA")).records;
  ASSERT_EQ(static_cast<std::int32_t>(localita.size()), counts_.localita);
  for (const test::ReadBackRecord& l : localita) {
    ASSERT_TRUE(l.shape.has_geometry);
    const std::optional<double> istat = ParseDecimal(l.values.at("ISTAT"));
    ASSERT_TRUE(istat.has_value());
    char code[16];
    std::snprintf(code, sizeof code, "%06ld", static_cast<long>(*istat));
    ASSERT_TRUE(by_istat.count(code)) << code;
    const Point c = Centroid(l.shape.polygon[0].outer);
    AreaFeature municipality{1, by_istat[code]->shape.polygon};
    EXPECT_TRUE(PointInFeature(municipality, c.x, c.y))
        << l.values.at("DENOM") << " lies in its municipality";
  }
}

// Arcs of several parts are written whole: GDAL, which reads every part, finds them.
TEST_F(SyntheticRegionTest, GdalFindsTheMultiPartArcs) {
  if (!testing::GdalToolsPresent()) GTEST_SKIP() << "GDAL's tools are not installed";
  const std::string features = testing::RunTool("ogrinfo -al -q " + testing::Quoted(File("GEO_GRAFO.shp")));
  std::int64_t multi = 0;
  for (std::size_t at = 0; (at = features.find("MULTILINESTRING", at)) != std::string::npos; ++at) ++multi;
  EXPECT_EQ(multi, counts_.multi_part_arcs);
  EXPECT_EQ(features.find("ERROR"), std::string::npos);
}

// Sizes out of range are refused; a region of no arcs has an empty graph, and a smaller side holds
// everything, filling its square.
TEST(SyntheticRegionOptionsTest, RefusesSizesOutOfRangeAndKeepsToTheSideGiven) {
  TempDir dir;
  RegionCounts counts;
  std::string error;
  for (const auto& spoil : std::vector<std::function<void(RegionOptions&)>>{
           [](RegionOptions& o) { o.comuni = 0; }, [](RegionOptions& o) { o.arcs = -1; },
           [](RegionOptions& o) { o.side_metres = 999; }}) {
    RegionOptions options;
    spoil(options);
    error.clear();
    EXPECT_FALSE(WriteSyntheticRegion(dir.File("x"), options, counts, error));
    EXPECT_FALSE(error.empty());
  }
  ASSERT_TRUE(WriteSyntheticRegion(dir.File("x"), {.arcs = 0, .comuni = 1, .localita = 0}, counts, error));
  EXPECT_EQ(counts.nodes, 0);
  EXPECT_TRUE(test::ReadBack(dir.File("x/GEO_GRAFO")).records.empty());

  const RegionOptions small{.arcs = 2000, .comuni = 4, .localita = 8, .side_metres = 5000};
  ASSERT_TRUE(WriteSyntheticRegion(dir.File("y"), small, counts, error)) << error;
  Box box;
  for (const char* set : {"y/GEO_GRAFO", "y/COMUNI", "y/LOCALITA"}) {
    for (const test::ReadBackRecord& feature : test::ReadBack(dir.File(set)).records) {
      box.Widen(feature.shape.polyline.box());
      for (const AreaPart& part : feature.shape.polygon) box.Widen(part.outer.box());
    }
  }
  EXPECT_TRUE(Box::Of(600000, 5000000, 605000, 5005000).Contains(box));
  EXPECT_TRUE(box.minx < 600500 && box.maxx > 604500) << "the region fills its square";
}

}  // namespace
}  // namespace viamappa::synth
