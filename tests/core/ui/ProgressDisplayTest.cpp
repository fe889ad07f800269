#include "ui/ProgressDisplay.h"

#include <gtest/gtest.h>

#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

TEST(ProgressDisplayTest, ShowsPhasesAndEachPercentOnce) {
  ScriptedUserInterface ui;
  {
    ProgressDisplay progress(ui);
    EXPECT_TRUE(ui.progress_shown());
    progress.SetPhase("Importazione Archi Stradali");
    for (int done = 0; done <= 1000; ++done) progress.SetProgress(done, 1000);
    progress.SetPercent(150);
    progress.SetPhase("Registrazione Nodi del Grafo");
    progress.SetProgress(5, 0);
  }
  EXPECT_FALSE(ui.progress_shown());
  EXPECT_EQ(ui.phases().size(), 2u);
  ASSERT_EQ(ui.percents().size(), 102u) << "0 to 100 once each, then 0 for the next phase";
  EXPECT_EQ(ui.percents()[100], 100);
  EXPECT_EQ(ui.percents().back(), 0);
}

}  // namespace
}  // namespace viamappa
