// An in-memory SQLite database with the Jet functions, for tests that run translated statements.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <string_view>

#include "db/JetDialect.h"
#include "db/JetFunctions.h"

namespace viamappa {

class JetTestDatabase : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
    ASSERT_TRUE(RegisterJetFunctions(db_));
  }
  void TearDown() override { sqlite3_close(db_); }

  void Exec(const char* sql) {
    ASSERT_EQ(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
  }

  // The first column of the first row of the translated statement as text; "<NULL>" for NULL and
  // "<error>" when the statement fails.
  std::string Query(std::string_view jet) {
    const std::string sql = TranslateJetSql(jet);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &statement, nullptr) !=
        SQLITE_OK) {
      return "<error>";
    }
    std::string result = "<no row>";
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW && sqlite3_column_type(statement, 0) == SQLITE_NULL) {
      result = "<NULL>";
    } else if (rc == SQLITE_ROW) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
      result.assign(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, 0)));
    } else if (rc != SQLITE_DONE) {
      result = "<error>";
    }
    sqlite3_finalize(statement);
    return result;
  }

  sqlite3* db_ = nullptr;
};

}  // namespace viamappa
