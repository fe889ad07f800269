#include "ui/ConsoleUserInterface.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ui/ProgressDisplay.h"

namespace viamappa {
namespace {

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
