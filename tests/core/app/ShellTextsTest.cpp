#include "app/ShellTexts.h"

#include <gtest/gtest.h>

namespace viamappa {
namespace {

// The engine is named only beside an open database (the main window's test shows it named).
TEST(ShellTextsTest, InformationBoxNamesTheEngineOnlyWithAnOpenDatabase) {
  const std::string none = InformationText("Linux 6.1.0", "", false, "SQLite 3.40.1", "");
  EXPECT_NE(none.find("\n\nDatabase: Nessuno\n\nSfondo cartografico: Nessuno"), std::string::npos) << none;
  EXPECT_EQ(none.find("SQLite"), std::string::npos);
}

}  // namespace
}  // namespace viamappa
