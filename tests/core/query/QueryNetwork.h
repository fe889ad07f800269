// A small localized network for the query tests: three municipalities (one with an identifier above
// 9999), two localities, two toponyms and arcs of municipal and provincial roads, with the map data
// loaded from it.
#pragma once

#include <gtest/gtest.h>

#include "map/LayerLoader.h"
#include "map/LayerSet.h"
#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa::testing {

class QueryNetworkTest : public RoadNetworkTest {
 protected:
  static constexpr std::int32_t kBigMunicipality = 10001;  // "Sant'Orsola", at (0, 0) - (1000, 1000)
  static constexpr std::int32_t kBigLocality = 12345;      // "Frazione Sant'Anna" in it
  static constexpr std::int32_t kBigToponym = 1234567;
  static constexpr std::int32_t kBigArc = 1000001;

  void SetUp() override {
    RoadNetworkTest::SetUp();
    {
      NetworkBuilder build(db());
      ASSERT_TRUE(build.AddMunicipality(kBigMunicipality, "Sant'Orsola", "022001",
                                        {NetworkBuilder::Square(0, 0, 1000)}));
      ASSERT_TRUE(build.AddMunicipality(2, "Mezzovalle", "022002", {NetworkBuilder::Square(2000, 0, 1000)}));
      ASSERT_TRUE(build.AddMunicipality(3, "Borgo", "022003", {NetworkBuilder::Square(4000, 0, 1000)}));
      ASSERT_TRUE(build.AddLocality(kBigLocality, "Frazione Sant'Anna", "022001", 100,
                                    {NetworkBuilder::Square(100, 100, 200)}));
      ASSERT_TRUE(build.AddLocality(7, "Villa", "022002", 100, {NetworkBuilder::Square(2100, 100, 100)}));
      ASSERT_TRUE(
          build.AddToponym(kBigToponym, "Malga Sant'Anna", Box::Of(500, 500, 520, 510), kBigMunicipality));
      ASSERT_TRUE(build.AddToponym(8, "Dosso Roma", Box::Of(2500, 500, 2500, 500), 2));
      for (int node = 1; node <= 20; ++node) ASSERT_TRUE(build.AddNode(node, 100.0 * node, 50));
      // id, name, class, municipality, locality, alternative name
      const struct {
        std::int32_t id;
        const char* name;
        const char* classe;
        std::int32_t comune, local;
        const char* alterna;
      } arcs[] = {
          {kBigArc, "VIA ROMA", "SC", kBigMunicipality, kBigLocality, ""},
          {2, "VIA ROMA", "SC", kBigMunicipality, 0, ""},
          {3, "VIA ROMA", "SC", 2, 7, ""},
          {4, "SP 43", "SP", kBigMunicipality, 0, ""},
          {5, "SP 43", "SP", 2, 0, ""},
          {6, "SP 43", "SP", 3, 0, ""},
          {7, "VIA VERDI", "SC", 0, 0, "VIA ROMA VECCHIA"},
          {8, "A*B", "SC", 3, 0, ""},
          {9, "A%B", "SC", 3, 0, ""},
          {10, "AXB", "SC", 3, 0, ""},
      };
      int node = 1;
      for (const auto& a : arcs) {
        const double x = 100.0 * node;
        ArcRow row = Arc(a.id, node, node + 1, {{x, 50}, {x + 50, 80}, {x + 100, 50}}, a.name, a.classe);
        row.comune = a.comune;
        row.local = a.local;
        row.alterna = a.alterna;
        ASSERT_TRUE(build.AddArc(row));
        node += 2;
      }
    }
    LoadLayers(layers_, db(), MapStyling());
    ui_.ClearMessages();
  }

  LayerSet layers_;
};

}  // namespace viamappa::testing
