#include "ui/RepeatedMessageFilter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/RoadNetworkDatabase.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

TEST(RepeatedMessageFilterTest, ShowsAnErrorOnceAndCountsTheRest) {
  ScriptedUserInterface ui;
  {
    RepeatedMessageFilter filter(ui);
    for (int i = 0; i < 1000; ++i)
      filter.ShowMessage("Errore aggiornamento tavola (local)\n\nrelazione", MessageIcon::Stop);
    filter.ShowMessage("un altro errore", MessageIcon::Warning);
    filter.ShowMessage("Trovate 1000 Località", MessageIcon::Information);
    filter.ShowMessage("un altro errore", MessageIcon::Warning);
  }
  // The summary comes after the count; after it a new batch of repeats begins.
  EXPECT_EQ(testing::Texts(ui),
            (std::vector<std::string>{"Errore aggiornamento tavola (local)\n\nrelazione", "un altro errore",
                                      "Lo stesso errore si è ripetuto altre 999 volte:\n\nErrore "
                                      "aggiornamento tavola (local)\n\nrelazione",
                                      "Trovate 1000 Località", "un altro errore"}));
}

}  // namespace
}  // namespace viamappa
