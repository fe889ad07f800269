#include "app/ShellTexts.h"

#include <gtest/gtest.h>

#include <string>

namespace viamappa {
namespace {

TEST(ShellTextsTest, InformationBoxNamesTheEngineOnlyWithAnOpenDatabase) {
  EXPECT_EQ(
      InformationText("Linux 6.1.0", "/dati/rete.mdb", true, "SQLite 3.40.1", "/dati/sfondo.sfx"),
      "INFORMAZIONI SUL PROGRAMMA\n\nViamappa - \"Gestione Grafo Stradale\"\nSistema operativo Linux 6.1.0"
      "\n\nDatabase: /dati/rete.mdb (SQLite 3.40.1)\n\nSfondo cartografico: /dati/sfondo.sfx");
  const std::string none = InformationText("Linux 6.1.0", "", false, "SQLite 3.40.1", "");
  EXPECT_NE(none.find("\n\nDatabase: Nessuno\n\nSfondo cartografico: Nessuno"), std::string::npos);
  EXPECT_EQ(none.find("SQLite"), std::string::npos);
}

}  // namespace
}  // namespace viamappa
