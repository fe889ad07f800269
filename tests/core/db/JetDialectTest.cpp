#include "db/JetDialect.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <optional>
#include <random>
#include <string>

#include "base/Utf8.h"
#include "db/JetFunctions.h"

namespace viamappa {
namespace {

TEST(JetDialectTest, SingleQuotedTextIsNeverTouched) {
  const std::string statement = "SELECT 'a \"b\" [c] TRUE & ISNULL(x) #1/2/2003# -- /*' FROM t";
  EXPECT_EQ(TranslateJetSql(statement), statement);
  EXPECT_EQ(TranslateJetSql("x = 'it''s TRUE & \"x\"' AND y = TRUE"), "x = 'it''s TRUE & \"x\"' AND y = 1");
  EXPECT_EQ(TranslateJetSql("nome LIKE '*[*]?#*'"), "nome LIKE '*[*]?#*'");
  EXPECT_EQ(TranslateJetSql("''''"), "''''");
}

TEST(JetDialectTest, DoubleQuotedConstantsBecomeTextLiterals) {
  EXPECT_EQ(TranslateJetSql("nome = \"Roma\""), "nome = 'Roma'");
  EXPECT_EQ(TranslateJetSql("\"O'Brien\""), "'O''Brien'");
  EXPECT_EQ(TranslateJetSql("\"say \"\"hi\"\"\""), "'say \"hi\"'");
  EXPECT_EQ(TranslateJetSql("\"\""), "''");
  EXPECT_EQ(TranslateJetSql("\"a\"\"\" & \"b\""), "'a\"' || 'b'");
  EXPECT_EQ(TranslateJetSql("\"TRUE [x] 'y' -- z\""), "'TRUE [x] ''y'' -- z'");
  EXPECT_EQ(TranslateJetSql("LIKE \"*città*\""), "LIKE '*città*'");
}

TEST(JetDialectTest, BracketedNamesBecomeQuotedIdentifiers) {
  EXPECT_EQ(TranslateJetSql("SELECT [nome via] FROM [archi]"), "SELECT \"nome via\" FROM \"archi\"");
  EXPECT_EQ(TranslateJetSql("[a\"b]"), "\"a\"\"b\"");
  EXPECT_EQ(TranslateJetSql("[TRUE] = TRUE"), "\"TRUE\" = 1");
  EXPECT_EQ(TranslateJetSql("[it's]"), "\"it's\"");
  EXPECT_EQ(TranslateJetSql("t.[x y].z"), "t.\"x y\".z");
}

TEST(JetDialectTest, CommentsAreCopiedUntouched) {
  EXPECT_EQ(TranslateJetSql("a -- TRUE \"x\" [y]\nTRUE"), "a -- TRUE \"x\" [y]\n1");
  EXPECT_EQ(TranslateJetSql("/* ISNULL( ' */ FALSE"), "/* ISNULL( ' */ 0");
  EXPECT_EQ(TranslateJetSql("a - -1 & b"), "a - -1 || b");
  EXPECT_EQ(TranslateJetSql("a / *b"), "a / *b");
}

TEST(JetDialectTest, TrueAndFalseOnlyAsWholeUnqualifiedWords) {
  EXPECT_EQ(TranslateJetSql("a = TRUE AND b = false OR c = True"), "a = 1 AND b = 0 OR c = 1");
  EXPECT_EQ(TranslateJetSql("(TRUE)"), "(1)");
  EXPECT_EQ(TranslateJetSql("x=FALSE"), "x=0");
  EXPECT_EQ(TranslateJetSql("TRUEX XTRUE TRUE1 _TRUE FALSE_ $TRUE"), "TRUEX XTRUE TRUE1 _TRUE FALSE_ $TRUE");
  EXPECT_EQ(TranslateJetSql("t.true t . FALSE true.x"), "t.true t . FALSE true.x");
  EXPECT_EQ(TranslateJetSql(":true @false"), ":true @false");
  EXPECT_EQ(TranslateJetSql("èTRUE TRUEè"), "èTRUE TRUEè");
}

TEST(JetDialectTest, IsNullWrapsItsWholeArgument) {
  EXPECT_EQ(TranslateJetSql("ISNULL(a)"), "((a) IS NULL)");
  EXPECT_EQ(TranslateJetSql("isnull (a)"), "((a) IS NULL)");
  EXPECT_EQ(TranslateJetSql("ISNULL(MID(a,1,2))"), "((MID(a,1,2)) IS NULL)");
  EXPECT_EQ(TranslateJetSql("ISNULL(denom) = TRUE"), "((denom) IS NULL) = 1");
  EXPECT_EQ(TranslateJetSql("NOT IsNull(ISNULL(a) & (b))"), "NOT ((((a) IS NULL) || (b)) IS NULL)");
  EXPECT_EQ(TranslateJetSql("f(ISNULL((a)), (b))"), "f((((a)) IS NULL), (b))");
  // Parentheses inside quotes, names and comments do not count.
  EXPECT_EQ(TranslateJetSql("ISNULL(a & ')')"), "((a || ')') IS NULL)");
  EXPECT_EQ(TranslateJetSql("ISNULL([a)b])"), "((\"a)b\") IS NULL)");
  EXPECT_EQ(TranslateJetSql("ISNULL(a /* ) */)"), "((a /* ) */) IS NULL)");
  EXPECT_EQ(TranslateJetSql("ISNULL(\")\")"), "((')') IS NULL)");
  // Other words, and ISNULL not followed by a parenthesis, stay.
  EXPECT_EQ(TranslateJetSql("a ISNULL"), "a ISNULL");
  EXPECT_EQ(TranslateJetSql("ISNULLX(a) MYISNULL(a) t.ISNULL"), "ISNULLX(a) MYISNULL(a) t.ISNULL");
  // Unbalanced parentheses stay unbalanced for SQLite to reject.
  EXPECT_EQ(TranslateJetSql("ISNULL(a"), "((a");
  EXPECT_EQ(TranslateJetSql(") ISNULL(a))"), ") ((a) IS NULL))");
}

TEST(JetDialectTest, LeftAndRightCallsAreQuoted) {
  EXPECT_EQ(TranslateJetSql("LEFT(a, 2) & right (b, 1)"), "\"LEFT\"(a, 2) || \"right\" (b, 1)");
  EXPECT_EQ(TranslateJetSql("a LEFT JOIN b ON a.x = b.x"), "a LEFT JOIN b ON a.x = b.x");
  EXPECT_EQ(TranslateJetSql("t.left(1) LEFT$(a, 1)"), "t.left(1) LEFT$(a, 1)");
}

TEST(JetDialectTest, AmpersandConcatenates) {
  EXPECT_EQ(TranslateJetSql("a & \" \" & b"), "a || ' ' || b");
  EXPECT_EQ(TranslateJetSql("a&b"), "a||b");
}

TEST(JetDialectTest, DateConstantsBecomeIsoText) {
  EXPECT_EQ(TranslateJetSql("d = #1/2/2003#"), "d = '2003-01-02'");
  EXPECT_EQ(TranslateJetSql("#12/31/1999#"), "'1999-12-31'");
  EXPECT_EQ(TranslateJetSql("#2003-1-5#"), "'2003-01-05'");
  EXPECT_EQ(TranslateJetSql("#2000-02-29#"), "'2000-02-29'");
  EXPECT_EQ(TranslateJetSql("#2/29/2024#"), "'2024-02-29'");
  // Invalid dates and other uses of # are copied as they are.
  for (const char* invalid :
       {"#2/29/1900#", "#13/1/2003#", "#4/31/2003#", "#0/1/2003#", "#1/2/03#", "#1/2/2003", "#2003-02-30#",
        "#0000-01-01#", "#1/1/0099#", "#123/1/2003#", "a # b", "#"}) {
    EXPECT_EQ(TranslateJetSql(invalid), invalid);
  }
  // After a # that is not a date the rest is still translated.
  EXPECT_EQ(TranslateJetSql("#x# TRUE"), "#x# 1");
}

TEST(JetDialectTest, EverythingElseIsCopiedByteForByte) {
  const std::string statement = "SELECT a1, 1.5e3, x'0A', città <> 2 FROM t WHERE b >= -1 % 3 AND c LIKE ?";
  EXPECT_EQ(TranslateJetSql(statement), statement);
  EXPECT_EQ(TranslateJetSql("`a \"b\" TRUE`"), "`a \"b\" TRUE`");
}

TEST(JetDialectTest, UnterminatedQuotesAndBracketsAreCopied) {
  EXPECT_EQ(TranslateJetSql("a = 'abc"), "a = 'abc");
  EXPECT_EQ(TranslateJetSql("a = \"abc"), "a = \"abc");
  EXPECT_EQ(TranslateJetSql("a = \"abc\"\""), "a = \"abc\"\"");
  EXPECT_EQ(TranslateJetSql("a = [abc TRUE"), "a = [abc TRUE");
  EXPECT_EQ(TranslateJetSql("a /* TRUE"), "a /* TRUE");
  EXPECT_EQ(TranslateJetSql("-- TRUE"), "-- TRUE");
  EXPECT_EQ(TranslateJetSql(""), "");
  EXPECT_EQ(TranslateJetSql(std::string_view("'\0' TRUE", 8)), std::string("'\0' 1", 5));
}

// A random Jet expression over integers and NULL, with the value it must have.
struct Expression {
  std::string jet;
  std::optional<long> value;
};

Expression RandomExpression(std::mt19937& random, int depth) {
  const int choice = depth <= 0 ? static_cast<int>(random() % 3) : static_cast<int>(random() % 8);
  switch (choice) {
    case 0:
      return {"NULL", std::nullopt};
    case 1: {
      const bool truth = random() % 2;
      return {truth ? "TRUE" : "false", truth ? 1L : 0L};
    }
    case 2: {
      const long n = static_cast<long>(random() % 10);
      return {std::to_string(n), n};
    }
    case 3:
    case 4: {
      Expression inner = RandomExpression(random, depth - 1);
      return {(random() % 2 ? "ISNULL(" : "IsNull (") + inner.jet + ")", inner.value ? 0L : 1L};
    }
    case 5: {
      Expression inner = RandomExpression(random, depth - 1);
      return {"(" + inner.jet + ")", inner.value};
    }
    case 6: {
      Expression a = RandomExpression(random, depth - 1);
      Expression b = RandomExpression(random, depth - 1);
      std::optional<long> sum;
      if (a.value && b.value) sum = *a.value + *b.value;
      return {a.jet + " + " + b.jet, sum};
    }
    default: {
      Expression a = RandomExpression(random, depth - 1);
      Expression b = RandomExpression(random, depth - 1);
      return {"nz(" + a.jet + ", " + b.jet + ")", a.value ? a.value : b.value};
    }
  }
}

// An in-memory database with the Jet functions and a table whose column names look like constants.
class JetSqlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
    ASSERT_TRUE(RegisterJetFunctions(db_));
    ASSERT_EQ(sqlite3_exec(db_,
                           "CREATE TABLE t(Roma TEXT, x TEXT, denom INTEGER, \"nome via\" TEXT);"
                           "INSERT INTO t VALUES('colonna', 'via Roma', NULL, 'Piazza');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
  }
  void TearDown() override { sqlite3_close(db_); }

  // The first column of the first row of the translated statement, as text; "<NULL>" for NULL and
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

  sqlite3* db_ = nullptr;
};

TEST_F(JetSqlTest, DoubleQuotedWordIsTextEvenWhenAColumnHasThatName) {
  EXPECT_EQ(Query("SELECT \"Roma\" FROM t"), "Roma");
  EXPECT_EQ(Query("SELECT [Roma] FROM t"), "colonna");
  EXPECT_EQ(Query("SELECT [nome via] FROM t"), "Piazza");
  EXPECT_EQ(Query("SELECT count(*) FROM t WHERE x = \"via Roma\""), "1");
}

TEST_F(JetSqlTest, TranslatedExpressionsMeanWhatJetMeans) {
  EXPECT_EQ(Query("SELECT ISNULL(denom) = TRUE FROM t"), "1");
  EXPECT_EQ(Query("SELECT ISNULL(MID(x, 1, 3)) FROM t"), "0");
  EXPECT_EQ(Query("SELECT x & \" - \" & [nome via] FROM t"), "via Roma - Piazza");
  EXPECT_EQ(Query("SELECT #1/2/2003# < #2003-01-10#"), "1");
  EXPECT_EQ(Query("SELECT count(*) FROM t WHERE x LIKE \"*ROMA\""), "1");
  EXPECT_EQ(Query("SELECT FALSE"), "0");
  EXPECT_EQ(Query("SELECT Left(x, 3) & Right([nome via], 2) FROM t"), "viaza");
  EXPECT_EQ(Query("SELECT count(*) FROM t LEFT JOIN t AS u ON t.x = u.x"), "1");
}

TEST_F(JetSqlTest, NestedIsNullKeepsTheMeaningOfTheExpression) {
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    const Expression expression = RandomExpression(random, 5);
    const std::string expected = expression.value ? std::to_string(*expression.value) : "<NULL>";
    ASSERT_EQ(Query("SELECT " + expression.jet), expected) << expression.jet;
  }
}

TEST_F(JetSqlTest, MalformedStatementsAreRejectedBySqlite) {
  EXPECT_EQ(Query("SELECT \"abc"), "<error>");
  EXPECT_EQ(Query("SELECT [abc"), "<error>");
  EXPECT_EQ(Query("SELECT 'abc"), "<error>");
  EXPECT_EQ(Query("SELECT ISNULL(x FROM t"), "<error>");
  EXPECT_EQ(Query("SELECT #2/30/2003#"), "<error>");
}

TEST_F(JetSqlTest, TextLiteralRoundTripsAnyText) {
  for (const std::string text : {"O'Brien", "''", "\"", "[x]", "-- a", "/* a", "a & b", "#1/2/2003#", "TRUE",
                                 "ISNULL(x)", "città", "\xFF\xC3", "", "'); DROP TABLE t; --"}) {
    const std::string literal = SqlTextLiteral(text);
    EXPECT_EQ(TranslateJetSql(literal), literal);
    EXPECT_EQ(Query("SELECT " + literal), text);
  }
  EXPECT_EQ(SqlTextLiteral("O'Brien"), "'O''Brien'");
  EXPECT_EQ(Query("SELECT count(*) FROM t"), "1");
}

TEST(JetLikeFragmentTest, EscapesWildcardsAndApostrophes) {
  EXPECT_EQ(LikeFragment("a*b?c#d[e]f'g"), "a[*]b[?]c[#]d[[]e]f''g");
  EXPECT_EQ(LikeFragment("città"), "città");
  EXPECT_EQ(LikeFragment(""), "");
}

// Lower-case code points of a text, to search without letter case.
std::u32string Folded(std::string_view text) {
  std::u32string out;
  for (std::size_t pos = 0; pos < text.size();) out.push_back(utf8::FoldCase(utf8::DecodeNext(text, pos)));
  return out;
}

TEST_F(JetSqlTest, LikeFragmentMatchesExactlyWhereTheTextOccurs) {
  const std::string pieces[] = {"a", "B", "*", "?", "#", "[", "]", "!", "-", "'", "\"", "1", "à", "À", " "};
  std::mt19937 random(99);
  for (int round = 0; round < 3000; ++round) {
    std::string haystack;
    std::string needle;
    for (int i = static_cast<int>(random() % 8); i > 0; --i) haystack += pieces[random() % std::size(pieces)];
    for (int i = static_cast<int>(random() % 4); i > 0; --i) needle += pieces[random() % std::size(pieces)];
    // Half of the time the needle is cut out of the haystack.
    if (round % 2 == 0 && !haystack.empty()) {
      const std::size_t from = random() % haystack.size();
      needle = haystack.substr(from, random() % 4);
      if (!utf8::IsValid(needle)) needle.clear();
    }
    const bool occurs = Folded(haystack).find(Folded(needle)) != std::u32string::npos;
    const std::string jet = "SELECT " + SqlTextLiteral(haystack) + " LIKE '*" + LikeFragment(needle) + "*'";
    ASSERT_EQ(Query(jet), occurs ? "1" : "0") << jet;
  }
}

}  // namespace
}  // namespace viamappa
