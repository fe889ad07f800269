#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ui/ConsoleUserInterface.h"
#include "ui/ProgressDisplay.h"
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

TEST(ConsoleUserInterfaceTest, WritesMessagesAndAnswersFromItsArguments) {
  std::FILE* err = std::tmpfile();
  ASSERT_TRUE(err);
  {
    ConsoleUserInterface ui(err, true);
    ui.QueueFile("grafo.shp");
    ui.ShowMessage("Errore lettura tavola (archi)\n\nmotivo", MessageIcon::Stop, "Import");
    EXPECT_TRUE(ui.AskOkCancel("Confermi ?"));
    EXPECT_EQ(ui.ChooseOpenFile({}), "grafo.shp");
    EXPECT_FALSE(ui.ChooseOpenFile({}));
    ProgressDisplay progress(ui);
    progress.SetPhase("Fase uno");
    progress.SetPercent(50);
    EXPECT_EQ(ui.error_count(), 1);
  }
  std::rewind(err);
  std::string text(4096, '\0');
  text.resize(std::fread(text.data(), 1, text.size(), err));
  std::fclose(err);
  EXPECT_NE(text.find("ERRORE [Import]: Errore lettura tavola (archi)\n\nmotivo\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("-> OK"), std::string::npos);
  EXPECT_NE(text.find("Fase uno\n"), std::string::npos) << "a log gets each phase once";
}

}  // namespace
}  // namespace viamappa
