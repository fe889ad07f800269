#include "db/JetFunctions.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "db/JetDialect.h"

namespace viamappa {
namespace {

class JetFunctionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
    ASSERT_TRUE(RegisterJetFunctions(db_));
  }
  void TearDown() override { sqlite3_close(db_); }

  // The first column of the first row of the translated statement, as text; "<NULL>" for NULL,
  // "<error>" when the statement fails.
  std::string Query(const std::string& jet) {
    const std::string sql = TranslateJetSql(jet);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) return "<error>";
    std::string result = "<no row>";
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW) {
      if (sqlite3_column_type(statement, 0) == SQLITE_NULL) {
        result = "<NULL>";
      } else {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        result.assign(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, 0)));
      }
    } else if (rc != SQLITE_DONE) {
      result = "<error>";
    }
    sqlite3_finalize(statement);
    return result;
  }

  void Exec(const char* sql) {
    ASSERT_EQ(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
  }

  sqlite3* db_ = nullptr;
};

TEST_F(JetFunctionsTest, LikeOperatorFollowsJetWildcards) {
  EXPECT_EQ(Query("SELECT 'Via Roma' LIKE 'via*'"), "1");
  EXPECT_EQ(Query("SELECT 'Via Roma' LIKE 'via%'"), "0");
  EXPECT_EQ(Query("SELECT 'a%c' LIKE 'a%c'"), "1");
  EXPECT_EQ(Query("SELECT 'a_c' LIKE 'a?c'"), "1");
  EXPECT_EQ(Query("SELECT 'abc' LIKE 'a_c'"), "0");
  EXPECT_EQ(Query("SELECT 'CITTÀ' LIKE '*città'"), "1");
  EXPECT_EQ(Query("SELECT 'città' NOT LIKE 'citt?'"), "0");
  EXPECT_EQ(Query("SELECT 'x' LIKE '[!a-c]'"), "1");
  EXPECT_EQ(Query("SELECT 123 LIKE '1#3'"), "1");
  EXPECT_EQ(Query("SELECT 1.5 LIKE '1.5'"), "1");
  EXPECT_EQ(Query("SELECT NULL LIKE '*'"), "<NULL>");
  EXPECT_EQ(Query("SELECT 'a' LIKE NULL"), "<NULL>");
}

TEST_F(JetFunctionsTest, LikeOnTableRowsWithConstantAndVaryingPatterns) {
  Exec(
      "CREATE TABLE v(nome TEXT, modello TEXT);"
      "INSERT INTO v VALUES('Via Roma', '*roma'), ('Piazza Dante', 'p*'), ('Corso Italia', '#*'),"
      "('via Garibaldi', '*[!i]');");
  // A constant pattern is read once and kept: every row must still be matched.
  EXPECT_EQ(Query("SELECT group_concat(nome, '|') FROM v WHERE nome LIKE 'via *'"), "Via Roma|via Garibaldi");
  EXPECT_EQ(Query("SELECT count(*) FROM v WHERE nome LIKE '*a'"), "2");
  // A pattern that changes from row to row.
  EXPECT_EQ(Query("SELECT group_concat(nome, '|') FROM v WHERE nome LIKE modello"), "Via Roma|Piazza Dante");
}

TEST_F(JetFunctionsTest, OverlongPatternIsAnError) {
  sqlite3_limit(db_, SQLITE_LIMIT_LIKE_PATTERN_LENGTH, 10);
  EXPECT_EQ(Query("SELECT 'a' LIKE '**********'"), "1");
  EXPECT_EQ(Query("SELECT 'a' LIKE '***********'"), "<error>");
}

TEST_F(JetFunctionsTest, CaseFunctionsWorkPerCharacter) {
  EXPECT_EQ(Query("SELECT ucase('città ÿ ß łódź αθήνας москва')"), "CITTÀ Ÿ ß ŁÓDŹ ΑΘΉΝΑΣ МОСКВА");
  EXPECT_EQ(Query("SELECT lcase('CITTÀ Ÿ ŁÓDŹ ΑΘΉΝΑ МОСКВА')"), "città ÿ łódź αθήνα москва");
  EXPECT_EQ(Query("SELECT UCASE(12.5)"), "12.5");
  EXPECT_EQ(Query("SELECT ucase(NULL)"), "<NULL>");
  EXPECT_EQ(Query("SELECT hex(ucase(x'61FF62C3'))"), "41FF42C3");  // malformed bytes are kept
  EXPECT_EQ(Query("SELECT ucase$('a') || lcase$('B')"), "Ab");
}

TEST_F(JetFunctionsTest, LenCountsCharacters) {
  EXPECT_EQ(Query("SELECT len('città')"), "5");
  EXPECT_EQ(Query("SELECT len('')"), "0");
  EXPECT_EQ(Query("SELECT len(12345)"), "5");
  EXPECT_EQ(Query("SELECT len(x'FFFE')"), "2");
  EXPECT_EQ(Query("SELECT len(NULL)"), "<NULL>");
}

TEST_F(JetFunctionsTest, MidCountsCharactersFromOne) {
  EXPECT_EQ(Query("SELECT mid('città', 4)"), "tà");
  EXPECT_EQ(Query("SELECT mid('città', 5, 1)"), "à");
  EXPECT_EQ(Query("SELECT mid('città', 2, 3)"), "itt");
  EXPECT_EQ(Query("SELECT mid('città', 6)"), "");
  EXPECT_EQ(Query("SELECT mid('città', 99, 2)"), "");
  EXPECT_EQ(Query("SELECT mid('città', 1, 0)"), "");
  EXPECT_EQ(Query("SELECT mid('città', 3, 9223372036854775807)"), "ttà");
  EXPECT_EQ(Query("SELECT mid('città', 9223372036854775807, 9223372036854775807)"), "");
  EXPECT_EQ(Query("SELECT mid('abcdef', 2.5, 1)"), "b");  // rounded half to even, as Jet does
  EXPECT_EQ(Query("SELECT mid('abcdef', 3.5, 1)"), "d");
  EXPECT_EQ(Query("SELECT mid('abcdef', '2', 2)"), "bc");
  EXPECT_EQ(Query("SELECT mid$('abc', 2)"), "bc");
  EXPECT_EQ(Query("SELECT mid(NULL, 1)"), "<NULL>");
  EXPECT_EQ(Query("SELECT mid('abc', NULL)"), "<NULL>");
  EXPECT_EQ(Query("SELECT mid('abc', 0)"), "<error>");
  EXPECT_EQ(Query("SELECT mid('abc', -1, 2)"), "<error>");
  EXPECT_EQ(Query("SELECT mid('abc', 1, -1)"), "<error>");
  EXPECT_EQ(Query("SELECT mid('abc', 'x')"), "<error>");
  EXPECT_EQ(Query("SELECT mid('abc', 1e300, 1)"), "");
}

TEST_F(JetFunctionsTest, LeftAndRightTakeCharactersFromEachEnd) {
  EXPECT_EQ(Query("SELECT left('città', 5)"), "città");
  EXPECT_EQ(Query("SELECT left('città', 4)"), "citt");
  EXPECT_EQ(Query("SELECT left('città', 0)"), "");
  EXPECT_EQ(Query("SELECT left('città', 100)"), "città");
  EXPECT_EQ(Query("SELECT right('città', 1)"), "à");
  EXPECT_EQ(Query("SELECT right('città', 2)"), "tà");
  EXPECT_EQ(Query("SELECT right('città', 0)"), "");
  EXPECT_EQ(Query("SELECT right('città', 9223372036854775807)"), "città");
  EXPECT_EQ(Query("SELECT hex(right(x'41FF', 1))"), "FF");
  EXPECT_EQ(Query("SELECT left$('abc', 1) || right$('abc', 1)"), "ac");
  EXPECT_EQ(Query("SELECT left(NULL, 1)"), "<NULL>");
  EXPECT_EQ(Query("SELECT right('abc', NULL)"), "<NULL>");
  EXPECT_EQ(Query("SELECT left('abc', -1)"), "<error>");
  EXPECT_EQ(Query("SELECT right('abc', -1)"), "<error>");
}

TEST_F(JetFunctionsTest, NzReplacesOnlyNullAndKeepsTheType) {
  EXPECT_EQ(Query("SELECT nz(NULL, 'vuoto')"), "vuoto");
  EXPECT_EQ(Query("SELECT nz('', 'vuoto')"), "");
  EXPECT_EQ(Query("SELECT nz(0, 5)"), "0");
  EXPECT_EQ(Query("SELECT typeof(nz(7, 'x'))"), "integer");
  EXPECT_EQ(Query("SELECT typeof(nz(NULL, 2.5))"), "real");
  EXPECT_EQ(Query("SELECT nz(NULL, NULL)"), "<NULL>");
}

TEST(JetFunctionsRegistrationTest, RefusesMissingConnection) {
  EXPECT_FALSE(RegisterJetFunctions(nullptr));
}

}  // namespace
}  // namespace viamappa
