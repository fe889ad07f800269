#include "background/CartographyFromDatabase.h"

#include <gtest/gtest.h>

#include "map/BackgroundEntities.h"
#include "map/BackgroundFile.h"
#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa::background {
namespace {

using viamappa::testing::NetworkBuilder;

class CartographyFromDatabaseTest : public viamappa::testing::RoadNetworkTest {
 protected:
  void SetUp() override {
    RoadNetworkTest::SetUp();
    NetworkBuilder build(db());
    // A municipality with a hole, and a locality of 1.23 m corners (packed coordinates keep millimetres).
    ASSERT_TRUE(build.AddMunicipality(
        7, "Città Alta", "022001",
        {NetworkBuilder::Square(1000, 1000, 1000, true), NetworkBuilder::Square(1200, 1200, 100)}));
    ASSERT_TRUE(build.AddLocality(3, "Località Bassa", "022001", 700,
                                  {NetworkBuilder::Square(1500.25, 1600.5, 101.23, true)}));
  }

  // Every entity across the file's tiles by its theme's code (an area's holes under "<code> foro", a
  // point as a line of one point), and the texts by their style's code.
  struct Contents {
    std::map<std::string, std::vector<std::vector<Point>>> shapes;
    std::map<std::string, std::vector<BackgroundText>> texts;
  };
  Contents Read(BackgroundFile& file) {
    Contents contents;
    const auto read_block = [&](const EntityBlock& block, auto&& each) {
      BackgroundReader in(file.source(), block.offset, block.bytes);
      EntityReader e(in, file.header().packed, file.header().origin);
      for (std::uint32_t i = 0; i < block.count; ++i) ASSERT_TRUE(each(e));
    };
    for (BackgroundTile& tile : file.tiles()) {
      std::vector<TileThemeEntry> themes;
      std::vector<TileTextEntry> texts;
      EXPECT_TRUE(file.ReadTileIndex(tile, themes, texts));
      for (const TileThemeEntry& entry : themes) {
        auto& shapes = contents.shapes[entry.theme->code];
        std::uint32_t holes = 0, n = 0;
        Box box;
        read_block(entry.lines, [&](EntityReader& e) {
          return e.LineStart(n, box) && e.Points(n, shapes.emplace_back());
        });
        read_block(entry.areas, [&](EntityReader& e) {
          bool ok = e.AreaStart(holes, n, box) && e.Points(n, shapes.emplace_back());
          for (std::uint32_t h = 0; ok && h < holes; ++h)
            ok = e.LineStart(n, box) &&
                 e.Points(n, contents.shapes[entry.theme->code + " foro"].emplace_back());
          return ok;
        });
        read_block(entry.points, [&](EntityReader& e) { return e.PointEntity(shapes.emplace_back(1)[0]); });
      }
      for (const TileTextEntry& entry : texts)
        read_block(entry.texts,
                   [&](EntityReader& e) { return e.Text(contents.texts[entry.style->code].emplace_back()); });
    }
    return contents;
  }
};

TEST_F(CartographyFromDatabaseTest, TheAreasBoundariesPointsAndNamesReadBack) {
  for (const bool packed : {false, true}) {
    const std::string path = dir_.File(packed ? "compatta.sfx" : "doppie.sfx");
    CartographySummary summary;
    std::string error;
    ASSERT_TRUE(WriteCartographyFromDatabase(db(), path, packed, packed, summary, error)) << error;
    EXPECT_EQ(summary.municipalities, 1);
    EXPECT_EQ(summary.localities, 1);
    ScriptedUserInterface ui;
    auto file = OpenBackground(path, ui);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->header().packed, packed);
    EXPECT_EQ(file->header().wide, packed);
    EXPECT_EQ(file->extent(), Box::Of(1000, 1000, 2000, 2000));
    std::vector<std::string> codes;
    for (const BackgroundTheme& theme : file->themes()) codes.push_back(theme.code);
    EXPECT_EQ(codes, (std::vector<std::string>{"CENTRI", "COMUNI", "CONFINI", "LOCALITA"}));
    ASSERT_EQ(file->text_styles().size(), 2u);

    Contents contents = Read(*file);
    const std::vector<Point> outer = NetworkBuilder::Square(1000, 1000, 1000, true);
    ASSERT_EQ(contents.shapes["COMUNI"].size(), 1u);
    EXPECT_EQ(contents.shapes["COMUNI"][0], outer);
    EXPECT_EQ(contents.shapes["COMUNI foro"][0], NetworkBuilder::Square(1200, 1200, 100));
    EXPECT_EQ(contents.shapes["CONFINI"][0], outer);
    const std::vector<Point> locality = NetworkBuilder::Square(1500.25, 1600.5, 101.23, true);
    ASSERT_EQ(contents.shapes["LOCALITA"].size(), 1u);
    for (std::size_t i = 0; i < locality.size(); ++i) {
      EXPECT_NEAR(contents.shapes["LOCALITA"][0][i].x, locality[i].x, 1e-6);
      EXPECT_NEAR(contents.shapes["LOCALITA"][0][i].y, locality[i].y, 1e-6);
    }
    ASSERT_EQ(contents.shapes["CENTRI"].size(), 1u);
    EXPECT_NEAR(contents.shapes["CENTRI"][0][0].x, 1500.25 + 101.23 / 2, 1e-3);
    // Names in UTF-8 again; the municipality's keeps its screen height, the locality's is in metres.
    for (const auto& [style, name, fixed] :
         {std::tuple{"NOMICOM", "Città Alta", true}, {"NOMILOC", "Località Bassa", false}}) {
      ASSERT_EQ(contents.texts[style].size(), 1u) << style;
      EXPECT_EQ(contents.texts[style][0].text, name);
      EXPECT_EQ(contents.texts[style][0].fixed, fixed) << style;
    }
  }
}

TEST(CartographyFromEmptyDatabaseTest, ADatabaseWithoutAreasGivesNoFile) {
  viamappa::testing::TempDir dir;
  ASSERT_TRUE(viamappa::testing::MakeRoadNetworkDatabase(dir.File("vuoto.mdb")));
  ScriptedUserInterface ui;
  DbConnection connection(dir.File("vuoto.mdb"), ui);
  CartographySummary summary;
  std::string error;
  EXPECT_FALSE(WriteCartographyFromDatabase(connection, dir.File("vuota.sfx"), true, false, summary, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(std::filesystem::exists(dir.File("vuota.sfx")));
}

}  // namespace
}  // namespace viamappa::background
