#include "db/RoadNetworkSchema.h"

#include <gtest/gtest.h>

#include <string>

#include "db/DbTable.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

using RoadNetworkSchemaTest = testing::RoadNetworkTest;

// Arcs and their relations run through every test that builds a network; these rules are met nowhere else.
TEST_F(RoadNetworkSchemaTest, TheSchemaHoldsItsRules) {
  // Required names; the relation written with "id" joins local.ID.
  DbTable comuni(db(), "comuni");
  EXPECT_FALSE(comuni.AddNew() && comuni.SetField("ID", "5") && comuni.SetField("provin", "TN") &&
               comuni.SetField("istat", "022001") && comuni.Update());
  EXPECT_TRUE(ui_.last_message().text.starts_with("Errore aggiornamento tavola (comuni)"));
  DbTable fermate(db(), "fermate");
  EXPECT_FALSE(fermate.AddNew() && fermate.SetField("ID", "1") && fermate.SetField("denom", "Piazza") &&
               fermate.SetField("fermata", "F1") && fermate.SetField("local", "9") &&
               fermate.SetField("coord_x", "1") && fermate.SetField("coord_y", "1") && fermate.Update());
  EXPECT_NE(ui_.last_message().text.find("fermate_local"), std::string::npos);
}

}  // namespace
}  // namespace viamappa
