#include "app/DatabaseCreation.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>
#include <string>

#include "db/DatabaseFileSwap.h"
#include "db/Engine.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

using testing::TempDir;

// A database is built beside its place and moved there only when complete: a disk that fills up
// part-way leaves the place as it was (empty, or the file that was there), with nothing half made.
TEST(DatabaseCreationTest, AFullDiskLeavesNothingHalfMade) {
  TempDir dir;
  ScriptedUserInterface ui;
  const std::string path = dir.File("nuovo.mdb");
  const std::string old_file = dir.File("vecchio.mdb");
  ASSERT_EQ(CreateDatabaseFile(old_file, ui), CreationResult::Created);
  const std::string old_bytes = testing::ReadText(old_file);
  for (const int pages : {3, 12, 40}) {
    EngineDatabase::LimitFileSize(pages);
    EXPECT_NE(CreateDatabaseFile(path, ui), CreationResult::Created) << pages;
    EXPECT_NE(CreateDatabaseFile(old_file, ui), CreationResult::Created) << pages;
    EngineDatabase::LimitFileSize(0);
    EXPECT_FALSE(std::filesystem::exists(path)) << pages;
    EXPECT_EQ(testing::ReadText(old_file), old_bytes) << pages;
    for (const auto& entry : std::filesystem::directory_iterator(dir.File("")))
      EXPECT_EQ(entry.path().string().find(".creazione"), std::string::npos) << entry.path();
  }
}

// A database another process is writing is never replaced by a new one.
TEST(DatabaseCreationTest, AFileInUseIsNotReplaced) {
  TempDir dir;
  ScriptedUserInterface ui;
  const std::string path = dir.File("in_uso.mdb");
  ASSERT_EQ(CreateDatabaseFile(path, ui), CreationResult::Created);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open_v2(path.c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  ASSERT_EQ(
      sqlite3_exec(other, "BEGIN IMMEDIATE; DELETE FROM regazi WHERE codice = 1", nullptr, nullptr, nullptr),
      SQLITE_OK);
  EXPECT_TRUE(DatabaseFileInUse(path));
  ui.ClearMessages();
  EXPECT_EQ(CreateDatabaseFile(path, ui), CreationResult::FileFailed);
  EXPECT_NE(testing::Texts(ui).front().find("è in uso da un altro programma"), std::string::npos)
      << testing::Texts(ui).front();
  ASSERT_EQ(sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close_v2(other);
  EXPECT_FALSE(DatabaseFileInUse(path));
  EXPECT_EQ(testing::CountRows(path, "regazi"), 209) << "the other writer's work is kept";
}

}  // namespace
}  // namespace viamappa
