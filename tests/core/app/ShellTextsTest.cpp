#include "app/ShellTexts.h"

#include <gtest/gtest.h>

#include "app/ProgressLayout.h"

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

TEST(ShellTextsTest, OperatingSystemLineNamesTheSystemAndItsRelease) {
  const std::string line = OperatingSystemLine();
  EXPECT_EQ(line.rfind("Linux ", 0), 0u) << line;
  EXPECT_GT(line.size(), 6u);
}

TEST(ProgressLayoutTest, ClockShowsMinutesModuloSixtyAndSeconds) {
  EXPECT_EQ(BusyClockText(0), "00:00");
  EXPECT_EQ(BusyClockText(75), "01:15");
  EXPECT_EQ(BusyClockText(59 * 60 + 59), "59:59");
  EXPECT_EQ(BusyClockText(61 * 60), "01:00");
  EXPECT_EQ(BusyClockText(100LL * 3600 + 5), "00:05");
  EXPECT_EQ(BusyClockText(-3), "00:00");
}

TEST(ProgressLayoutTest, BannerSitsAboveTheBarAndCentresOrStartsAtTheLeft) {
  EXPECT_EQ(ProgressBarRect(800, 600), (PixelRect{0, 580, 800, 20}));
  const PhaseBannerPlace centred = PhaseBannerLayout(800, 600, 200, 16);
  EXPECT_EQ(centred.band, (PixelRect{0, 553, 800, 26}));  // bottom at 600 - 21
  EXPECT_EQ(centred.text_x, 300);
  EXPECT_EQ(centred.text_y, 558);
  EXPECT_EQ(PhaseBannerLayout(801, 600, 200, 16).text_x, 300);
  EXPECT_EQ(PhaseBannerLayout(800, 600, 800, 16).text_x, 0);
  EXPECT_EQ(PhaseBannerLayout(300, 600, 301, 16).text_x, 0);  // wider than the client
}

TEST(ProgressLayoutTest, PixelSizeFromTheScreenResolution) {
  EXPECT_DOUBLE_EQ(HundredthsOfMillimetrePerPixel(254), 10.0);
  EXPECT_DOUBLE_EQ(HundredthsOfMillimetrePerPixel(0), 2540.0 / 96);  // no resolution reported
}

}  // namespace
}  // namespace viamappa
