#include "query/RouteReport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/TempDir.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

RouteItem Item(std::string street, std::string locality, double metres, std::optional<double> cut = {}) {
  RouteItem item;
  item.street = std::move(street);
  item.locality = std::move(locality);
  item.line = PointArray({{1000, 1000}, {1000 + metres, 1000}});
  if (cut) item.cut = PointArray({{1000, 1000}, {1000, 1000 + *cut}});
  return item;
}

RouteChain Route() {
  RouteChain chain;
  chain.items = {Item("VIA ROMA", "Borgo", 100, 40), Item("VIA ROMA", "Borgo", 210),
                 Item("VIA ROMA", "Località Piano", 200), Item("VIA VERDI", "Località Piano", 1234),
                 Item("VIA ROMA", "Località Piano", 10010, 10060)};
  return chain;
}

TEST(RouteReportTest, StretchesGroupConsecutiveItemsOfOneStreetAndLocality) {
  std::vector<std::string> lines;
  for (const RouteStretch& stretch : Stretches(Route())) lines.push_back(StretchLine(stretch));
  // A cut item counts with its piece.
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "Km  0.25 - VIA ROMA - Borgo", "Km  0.45 - VIA ROMA - Località Piano",
                       "Km  1.68 - VIA VERDI - Località Piano", "Km 11.74 - VIA ROMA - Località Piano"}));
  EXPECT_EQ(RouteLengthText(Route()), "Il percorso minimo identificato misura 11.74 Km");
}

TEST(RouteReportTest, TheRouteFileIsWrittenInTheCodePageOfTheSystemsFiles) {
  testing::TempDir dir;
  ScriptedUserInterface ui;
  const std::string path = dir.File("percorso.txt");
  { std::ofstream(path) << "a longer file that was there before, to be replaced whole"; }
  ui.QueueFile(path);
  ASSERT_TRUE(SaveRoute(Route(), ui));
  EXPECT_EQ(testing::ReadText(path),
            "Percorso Minimo deteminato da Viamappa\r\n\r\n"
            "Km  0.25 - VIA ROMA - Borgo\r\n"
            "Km  0.45 - VIA ROMA - Localit\xe0 Piano\r\n"
            "Km  1.68 - VIA VERDI - Localit\xe0 Piano\r\n"
            "Km 11.74 - VIA ROMA - Localit\xe0 Piano\r\n");
  EXPECT_TRUE(ui.messages().empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
      << "nothing left beside it";

  // Cancelled: nothing is written. A place that cannot take the file: the system's message.
  EXPECT_FALSE(SaveRoute(Route(), ui));
  const std::string nowhere = dir.File("missing/percorso.txt");
  ui.QueueFile(nowhere);
  EXPECT_FALSE(SaveRoute(Route(), ui));
  EXPECT_EQ(ui.last_message().text, "Impossibile creare\n\n" + nowhere);
  EXPECT_EQ(ui.last_message().icon, MessageIcon::Warning);
  // A folder in the way: the message, and the folder stays as it was.
  ui.QueueFile(dir.path());
  EXPECT_FALSE(SaveRoute(Route(), ui));
  EXPECT_EQ(ui.last_message().text, "Impossibile creare\n\n" + dir.path());
  EXPECT_TRUE(std::filesystem::is_directory(dir.path()));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace viamappa
