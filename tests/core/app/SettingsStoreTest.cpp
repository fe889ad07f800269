#include "app/SettingsStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cfloat>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>

#include "support/TempDir.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

using testing::TempDir;

const std::string kTop =
    "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Viamappa\\Viamappa\\1.00]\n";

class SettingsStoreTest : public ::testing::Test {
 protected:
  void Write(const std::string& content) { std::ofstream(path_, std::ios::binary) << content; }
  std::string Read() const { return testing::ReadText(path_); }
  Settings Load() { return SettingsStore(path_).Load(ui_); }
  void Save(const Settings& settings, std::optional<SavedMapView> view) {
    SettingsStore(path_).Save(settings, view);
  }

  TempDir dir_;
  std::string path_ = dir_.File("1.00.reg");
  ScriptedUserInterface ui_;
};

TEST_F(SettingsStoreTest, AFileThatCannotBeReadShowsTheAnomalyAndIsNeverCreated) {
  EXPECT_EQ(Load(), Settings{});
  ASSERT_EQ(ui_.messages().size(), 1u);
  EXPECT_EQ(ui_.messages()[0].text, SettingsStore::AnomalyMessage());
  EXPECT_EQ(ui_.messages()[0].icon, MessageIcon::Stop);

  Save(Settings{}, SavedMapView{});
  EXPECT_FALSE(std::filesystem::exists(path_));
  EXPECT_EQ(SettingsStore(path_).ReadDirectory(ui_), "");
  EXPECT_EQ(ui_.messages().size(), 2u);

  std::filesystem::create_directory(path_);
  EXPECT_EQ(Load(), Settings{});
  EXPECT_EQ(ui_.messages().size(), 3u) << "a folder in place of the file";
}

TEST_F(SettingsStoreTest, InstallCreatesTheFileOnceAndSaveKeepsWhatItDoesNotOwn) {
  const std::string nested = dir_.File("config/Viamappa/1.00.reg");
  const std::string installation = dir_.File("opt/viamappa");
  ASSERT_TRUE(SettingsStore::Install(nested, installation));
  EXPECT_TRUE(std::filesystem::is_directory(installation)) << "the installation directory is made too";
  EXPECT_TRUE(SettingsStore::Install(nested, dir_.File("elsewhere")));
  EXPECT_EQ(SettingsStore(nested).ReadDirectory(ui_), installation);
  EXPECT_FALSE(SettingsStore::Install(dir_.path(), installation)) << "a folder is no settings file";
  EXPECT_FALSE(SettingsStore::Install(dir_.File("altro.reg"), nested + "/x")) << "no folder inside a file";

  // The first run names the demo database; a later install with another one changes nothing.
  const std::string first_run = dir_.File("demo/1.00.reg");
  ASSERT_TRUE(SettingsStore::Install(first_run, installation, "/data/demo \"1\".mdb"));
  EXPECT_TRUE(SettingsStore::Install(first_run, installation, "/other.mdb"));
  EXPECT_EQ(SettingsStore(first_run).Load(ui_).database, "/data/demo \"1\".mdb");

  Write("; kept by hand\n" + kTop +
        "\"Zeta\"=\"z\"\n"
        "\"LinLoc\"=dword:00000005\n"
        "\"Directory\"=\"/opt/viamappa\"\n"
        "\"Blob\"=hex:01,02,\\\n"
        "  03,04\n"
        "\n[HKEY_CURRENT_USER\\Other]\n\"Database\"=\"not ours\"\n");
  ::chmod(path_.c_str(), 0640);
  Settings settings;
  settings.styling.lin_loc = 3;
  Save(settings, std::nullopt);

  const std::string text = Read();
  EXPECT_TRUE(text.starts_with("; kept by hand\n" + kTop + "\"Zeta\"=\"z\"\n\"LinLoc\"=dword:00000003\n"))
      << text;
  EXPECT_NE(text.find("\"Directory\"=\"/opt/viamappa\"\n\"Blob\"=hex:01,02,\\\n  03,04\n\"Database\"=\"\"\n"),
            std::string::npos)
      << "new values follow the last value of the section, an empty path is an empty text";
  EXPECT_TRUE(text.ends_with("\n[HKEY_CURRENT_USER\\Other]\n\"Database\"=\"not ours\"\n")) << text;
  struct stat status {};
  ASSERT_EQ(::stat(path_.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  EXPECT_EQ(SettingsStore(path_).ReadDirectory(ui_), "/opt/viamappa");
  EXPECT_EQ(Load().styling.lin_loc, 3);

  const std::string link = dir_.File("link.reg");
  std::filesystem::create_symlink(path_, link);
  settings.styling.lin_loc = 4;
  SettingsStore(link).Save(settings, std::nullopt);
  EXPECT_TRUE(std::filesystem::is_symlink(link)) << "the link is kept, the file it names rewritten";
  EXPECT_EQ(Load().styling.lin_loc, 4);
}

TEST_F(SettingsStoreTest, EverySettingComesBackAfterASave) {
  Write("");
  Settings settings;
  settings.database = "/home/anna/\"rete\"\\ \n\"MinLoc\"=dword:00000001 ";
  settings.background = "/dati/sfondo.cta";
  settings.styling.max_loc = -1;
  settings.styling.min_loc = INT32_MIN;
  settings.styling.col_vie = INT32_MAX;
  settings.styling.sym_nodi = 7;
  settings.view = {2500.0, 1512345.25, -4987654.5};
  Save(settings, settings.view);
  const std::string text = Read();
  EXPECT_TRUE(text.starts_with(kTop + "\"Database\"=")) << "an empty file gets the header and the key";
  EXPECT_NE(text.find("\"MappaScala\"=\"2500.0000\"\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\"MaxLoc\"=dword:ffffffff\n"), std::string::npos);
  EXPECT_EQ(Load(), settings) << "a newline inside a path must not start a new value";

  // Saving again replaces the values in place: each name stays once.
  Save(settings, std::nullopt);
  const std::string cleared = Read();
  for (const char* name : {"\"Database\"", "\"MaxLoc\"", "\"MappaScala\"", "\"MappaOrgY\""}) {
    std::size_t count = 0;
    for (auto at = cleared.find(name); at != std::string::npos; at = cleared.find(name, at + 1)) ++count;
    EXPECT_EQ(count, 1u) << name;
  }
  EXPECT_NE(cleared.find("\"MappaScala\"=hex(0):\n\"MappaOrgX\"=hex(0):\n\"MappaOrgY\"=hex(0):\n"),
            std::string::npos);
  EXPECT_EQ(Load().view, SavedMapView{}) << "the next start-up shows the home view";
}

TEST_F(SettingsStoreTest, SavingKeepsLineEndsAndNeverFeedsValuesToUnfinishedHexData) {
  Write(
      "Windows Registry Editor Version "
      "5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Viamappa\\Viamappa\\1.00]\r\n"
      "\"MaxVie\"=dword:00000001\r\n\"MAXVIE\"=dword:00000002\r\n\"Blob\"=hex:01,02,\\");
  Settings settings;
  settings.database = "/dati/rete.mdb";
  settings.styling.max_vie = 9;
  Save(settings, std::nullopt);
  EXPECT_EQ(Load(), settings) << Read();
  const std::string text = Read();
  EXPECT_EQ(text.find("MAXVIE"), std::string::npos) << "a repeated name is written once";
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
    ASSERT_EQ(text[at - 1], '\r') << text;
  }
}

TEST_F(SettingsStoreTest, MapViewsThatWouldNotComeBackAreWrittenSoundly) {
  ASSERT_TRUE(SettingsStore::Install(path_, ""));
  Save(Settings{}, SavedMapView{1.234567e-7, DBL_MAX, 0.00005});
  EXPECT_EQ(Load().view, (SavedMapView{1.234567e-7, 0.0, 0.0001})) << Read();

  Save(Settings{}, SavedMapView{0.0, NAN, -INFINITY});
  EXPECT_EQ(Load().view, SavedMapView{});
  EXPECT_NE(Read().find("\"MappaScala\"=\"1.0\"\n\"MappaOrgX\"=\"0.0\"\n\"MappaOrgY\"=\"0.0\"\n"),
            std::string::npos);

  for (const char* stored : {"0", "0.0000", "-2500.0000", "abc", "2500abc", "1e-320", "inf", ""}) {
    Write(kTop + "\"MappaScala\"=\"" + stored + "\"\n\"MappaOrgX\"=\"10.5\"\n");
    const SavedMapView view = Load().view;
    EXPECT_EQ(view.resolution, 1.0) << stored;
    EXPECT_EQ(view.origin_x, 10.5);
  }
}

TEST_F(SettingsStoreTest, WhatCannotBeReadKeepsItsDefaultAndTheRestIsTaken) {
  const std::string long_text(2048, 'a');
  Write("\"LinLoc\"=dword:00000009\n" + kTop +
        "garbage\n\"\n=\n\"MinLoc\n\"\"=\n@=\"x\"\n"
        "\"Database\"=\"" +
        long_text +
        "\"\n"
        "\"Sfondo\"=\"" +
        long_text.substr(1) +
        "\"\n"
        "\"MaxNodi\"=dword:100000000\n"
        "\"MinNodi\"=dword:000000010\n"
        "\"MaxArchi\"=dword:12345678x\n"
        "\"MinArchi\"=dword:\n"
        "\"ColArchi\"=\"a\\tb\"\n"
        "\"LinArchi\"=\"open\n"
        "\"MaxVie\"=dword:00000001\n\"maxvie\"=dword:00000002\n"
        "\"MinVie\"=dword:00000003\n\"MinVie\"=\"3\"\n"
        "\"ColVie\"=dword:00000004 ; trailing\n"
        "   \"SymNodi\"  =  dword:00000005   \r\n"
        "\"LinComuni\"=dword:FFFFFFFF\n\"ColComuni\"=hex:01,02,03,04\n\"MinComuni\"=hex(0):\n"
        "\"ForeLoc\"=\"5\"\n\"MappaScala\"=\"2500.0000\"\n\"MappaOrgX\"=\"1512345,25\"\n\"MappaOrgY\"=dword:"
        "00000005\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Viamappa\\Viamappa\\2.00]\n\"MaxLoc\"=dword:00000006\n");
  const Settings settings = Load();
  EXPECT_TRUE(ui_.messages().empty());
  EXPECT_EQ(settings.styling.lin_loc, 2) << "a value before any key line";
  EXPECT_EQ(settings.database, "") << "2048 bytes do not fit the value buffer";
  EXPECT_EQ(settings.background, long_text.substr(1));
  EXPECT_EQ(settings.styling.max_nodi, 50000) << "out of range for 32 bits";
  EXPECT_EQ(settings.styling.min_nodi, 16) << "leading zeros are no overflow";
  EXPECT_EQ(settings.styling.max_archi, 100000);
  EXPECT_EQ(settings.styling.min_archi, -1);
  EXPECT_EQ(settings.styling.col_archi, 0x008080FF) << "broken escape";
  EXPECT_EQ(settings.styling.lin_archi, 2) << "unterminated text";
  EXPECT_EQ(settings.styling.max_vie, 2) << "the last of a repeated name wins, whatever its case";
  EXPECT_EQ(settings.styling.min_vie, -1) << "the last is a text";
  EXPECT_EQ(settings.styling.col_vie, 0x00408040);
  EXPECT_EQ(settings.styling.sym_nodi, 5) << "blanks around the data and a CR LF end";
  EXPECT_EQ(settings.styling.max_loc, -1) << "a value of another key";
  EXPECT_EQ(settings.styling.lin_comuni, -1);
  EXPECT_EQ(settings.styling.col_comuni, MapStyling{}.col_comuni) << "bytes where a number is expected";
  EXPECT_EQ(settings.styling.min_comuni, MapStyling{}.min_comuni);
  EXPECT_EQ(settings.styling.fore_loc, MapStyling{}.fore_loc) << "a text where a number is expected";
  EXPECT_EQ(settings.view, (SavedMapView{2500.0, 1512345.25, 0.0})) << "a decimal comma; a number for a text";
}

TEST_F(SettingsStoreTest, AnyBytesLoadWithoutHarmAndSaveOverThemReadsBack) {
  const std::string pieces[] = {
      "\"", "\\", "=", "dword:",   "hex(0):", "hex:01,\\",         "\n",          "\r\n", "\"MinLoc\"",
      ";",  "[",  "]", "ffffffff", kTop,      "\"MappaScala\"=\"", "\xEF\xBB\xBF"};
  std::mt19937 random(20240611);
  Settings saved;
  saved.database = "/dati/rete.mdb";
  saved.styling.min_loc = 123;
  saved.view = {250.5, 1.0, 2.0};
  for (int round = 0; round < 400; ++round) {
    std::string bytes;
    const int length = static_cast<int>(random() % 60);
    for (int i = 0; i < length; ++i) {
      if (random() % 3 == 0) {
        bytes += pieces[random() % std::size(pieces)];
      } else {
        bytes += static_cast<char>(random() % 256);
      }
    }
    Write(bytes);
    Load();
    SettingsStore(path_).ReadDirectory(ui_);
    if (round % 20 == 0) {
      Save(saved, saved.view);
      EXPECT_EQ(Load(), saved) << "after saving over: " << ::testing::PrintToString(bytes);
    }
  }
  EXPECT_TRUE(ui_.messages().empty());
}

TEST(SettingsStorePathTest, TheEnvironmentChoosesTheFile) {
  testing::ScopedEnvironment config("VIAMAPPA_CONFIG", "/tmp/prova.reg");
  testing::ScopedEnvironment xdg("XDG_CONFIG_HOME", "/home/anna/.cfg");
  EXPECT_EQ(SettingsStore::DefaultPath(), "/tmp/prova.reg");
  ::setenv("VIAMAPPA_CONFIG", "", 1);
  EXPECT_EQ(SettingsStore::DefaultPath(), "/home/anna/.cfg/Viamappa/Viamappa/1.00.reg");
  ::setenv("XDG_CONFIG_HOME", "relative", 1);
  EXPECT_TRUE(SettingsStore::DefaultPath().ends_with("/.config/Viamappa/Viamappa/1.00.reg"));
}

}  // namespace
}  // namespace viamappa
