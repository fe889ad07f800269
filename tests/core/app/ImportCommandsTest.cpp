#include "app/ImportCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/io/ImportTestFiles.h"
#include "support/NetworkBuilder.h"

namespace viamappa {
namespace {

using namespace viamappa::test;
using testing::NetworkBuilder;
using ImportCommandsTest = ImportTest;

TEST_F(ImportCommandsTest, TheImportCommandRefusesAndSummarises) {
  const std::string base = WriteGraph(
      {{Polyline({{1, 1}, {2, 2}}), "VIA ROMA", "", "N"}, {Polyline({{2, 2}, {3, 3}}), "VIA ROMA", "", "N"}});
  ui_.QueueFile(base + ".SHP");
  ASSERT_TRUE(commands_.ImportRoadGraph());
  EXPECT_EQ(ui_.last_message().text,
            "Trovati 2 Archi grafo stradale\n\nInseriti 2 Archi; inserite 2 polilinee\nInseriti 3 Nodi grafo "
            "stradale\nInseriti 1 Tipi Strada\nInseriti 1 Nomi Strada");
  EXPECT_EQ(ui_.file_choices().back().default_name, "GEO_GRAFO");
  EXPECT_FALSE(commands_.ImportRoadGraph());
  EXPECT_EQ(ui_.last_message().text,
            "ATTENZIONE: esistono già degli archi del grafo stradale registrati.\n\n"
            "Non è possibile importare nuovamente il grafo stradale");
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Stop);
}

TEST_F(ImportCommandsTest, LocalitiesBeforeMunicipalitiesShowTheErrorOnce) {
  std::vector<std::string> shapes, rows;
  for (int i = 0; i < 50; ++i) {
    shapes.push_back(Ring(NetworkBuilder::Square(i * 10.0, 0, 5, true)));
    rows.push_back("      22117" + Padded("Frazione", 40) + "         100C");
  }
  const std::string places = WriteSet(dir_.File("localita"), 5, shapes, kPlaceFields, rows);
  ui_.QueueFile(places + ".shp");
  ASSERT_TRUE(commands_.ImportLocalities());
  // The first refusal, a count of the others, the summary; the rings are refused too.
  const std::vector<std::string> texts = testing::Texts(ui_);
  ASSERT_GE(texts.size(), 3u);
  EXPECT_TRUE(texts[0].starts_with("Errore aggiornamento tavola (local)"));
  EXPECT_NE(
      std::find(texts.begin(), texts.end(), "Lo stesso errore si è ripetuto altre 49 volte:\n\n" + texts[0]),
      texts.end());
  EXPECT_EQ(texts.back(), "Trovate 50 Località; inserite 0 Località; inseriti 0 poligoni");
  EXPECT_LE(texts.size(), 5u);
}

}  // namespace
}  // namespace viamappa
