#include "db/JetDialect.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "JetTestDatabase.h"
#include "base/Utf8.h"

namespace viamappa {
namespace {

// Quoted text, comments and other tokens are copied; double quotes make text and brackets names; TRUE
// and FALSE are rewritten only as whole unqualified words; ISNULL and LEFT or RIGHT calls are rewritten.
TEST(JetDialectTest, EachTokenIsTranslatedOnlyWhereItMeansWhatJetMeans) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"'a \"b\" [c] TRUE & ISNULL(x) #1/2/2003# -- /*'", "'a \"b\" [c] TRUE & ISNULL(x) #1/2/2003# -- /*'"},
      {"x = 'it''s TRUE' AND y = TRUE", "x = 'it''s TRUE' AND y = 1"},
      {"a -- TRUE \"x\" [y]\nTRUE", "a -- TRUE \"x\" [y]\n1"},
      {"/* ISNULL( ' */ FALSE", "/* ISNULL( ' */ 0"},
      {"a - -1 / *b", "a - -1 / *b"},
      {"`a \"b\" TRUE`", "`a \"b\" TRUE`"},
      {"SELECT a1, 1.5e3, x'0A', città <> 2 % 3 LIKE ?", "SELECT a1, 1.5e3, x'0A', città <> 2 % 3 LIKE ?"},
      {"nome = \"Roma\"", "nome = 'Roma'"},
      {"\"O'Brien\"", "'O''Brien'"},
      {"\"say \"\"hi\"\"\" & \"\"", "'say \"hi\"' || ''"},
      {"\"TRUE [x] -- z\"", "'TRUE [x] -- z'"},
      {"SELECT [nome via] FROM t.[x y]", "SELECT \"nome via\" FROM t.\"x y\""},
      {"[a\"b] = [TRUE]", "\"a\"\"b\" = \"TRUE\""},
      {"a = TRUE AND b = false OR (True)", "a = 1 AND b = 0 OR (1)"},
      {"TRUEX XTRUE TRUE1 _TRUE FALSE_ $TRUE èTRUE", "TRUEX XTRUE TRUE1 _TRUE FALSE_ $TRUE èTRUE"},
      {"t.true t . FALSE true.x :true @false", "t.true t . FALSE true.x :true @false"},
      {"ISNULL(a)", "((a) IS NULL)"},
      {"isnull (MID(a,1,2))", "((MID(a,1,2)) IS NULL)"},
      {"ISNULL(denom) = TRUE", "((denom) IS NULL) = 1"},
      {"NOT IsNull(ISNULL(a) & (b))", "NOT ((((a) IS NULL) || (b)) IS NULL)"},
      // Parentheses inside quotes, names and comments do not count.
      {"ISNULL(a & ')') + ISNULL([a)b]) + ISNULL(a /* ) */)",
       "((a || ')') IS NULL) + ((\"a)b\") IS NULL) + ((a /* ) */) IS NULL)"},
      {"a ISNULL OR ISNULLX(a) OR t.ISNULL", "a ISNULL OR ISNULLX(a) OR t.ISNULL"},
      // Unbalanced parentheses stay unbalanced for SQLite to reject.
      {"ISNULL(a", "((a"},
      {") ISNULL(a))", ") ((a) IS NULL))"},
      // LEFT and RIGHT are join keywords for SQLite unless quoted.
      {"LEFT(a, 2) & right (b, 1)", "\"LEFT\"(a, 2) || \"right\" (b, 1)"},
      {"a LEFT JOIN b ON t.left(1) = LEFT$(a, 1)", "a LEFT JOIN b ON t.left(1) = LEFT$(a, 1)"},
  };
  for (const auto& [jet, sqlite] : cases) EXPECT_EQ(TranslateJetSql(jet), sqlite) << jet;
}

TEST(JetDialectTest, DateConstantsBecomeIsoText) {
  const std::pair<std::string_view, std::string_view> cases[] = {{"d = #1/2/2003#", "d = '2003-01-02'"},
                                                                 {"#2003-1-5#", "'2003-01-05'"},
                                                                 {"#2/29/2024#", "'2024-02-29'"},
                                                                 {"#x# TRUE", "#x# 1"}};
  for (const auto& [jet, sqlite] : cases) EXPECT_EQ(TranslateJetSql(jet), sqlite) << jet;
  for (std::string_view invalid : {"#2/29/1900#", "#13/1/2003#", "#4/31/2003#", "#0/1/2003#", "#1/2/03#",
                                   "#1/2/2003", "#2003-02-30#", "#1/1/0099#", "#123/1/2003#", "#"}) {
    EXPECT_EQ(TranslateJetSql(invalid), invalid);
  }
}

TEST(JetDialectTest, UnterminatedQuotesBracketsAndCommentsAreCopied) {
  for (std::string_view open :
       {"a = 'abc", "a = \"abc", "a = \"abc\"\"", "a = [abc TRUE", "a /* TRUE", "-- TRUE", ""}) {
    EXPECT_EQ(TranslateJetSql(open), open);
  }
  EXPECT_EQ(TranslateJetSql(std::string_view("'\0' TRUE", 8)), std::string("'\0' 1", 5));
}

class JetSqlTest : public JetTestDatabase {
 protected:
  void SetUp() override {
    JetTestDatabase::SetUp();
    Exec(
        "CREATE TABLE t(Roma TEXT, x TEXT, denom INTEGER, \"nome via\" TEXT);"
        "INSERT INTO t VALUES('colonna', 'via Roma', NULL, 'Piazza');");
  }
};

TEST_F(JetSqlTest, TranslatedStatementsMeanWhatJetMeans) {
  EXPECT_EQ(Query("SELECT \"Roma\", [Roma] FROM t"), "Roma") << "text, though a column has that name";
  EXPECT_EQ(Query("SELECT [Roma] FROM t"), "colonna");
  EXPECT_EQ(Query("SELECT x & \" - \" & Left([nome via], 3) FROM t"), "via Roma - Pia");
  EXPECT_EQ(Query("SELECT #1/2/2003# < #2003-01-10#"), "1");
  EXPECT_EQ(Query("SELECT count(*) FROM t LEFT JOIN t AS u ON t.x = u.x"), "1");
  for (std::string_view broken :
       {"SELECT \"abc", "SELECT [abc", "SELECT ISNULL(x FROM t", "SELECT #2/30/2003#"}) {
    EXPECT_EQ(Query(broken), "<error>") << broken;
  }
}

// A random Jet expression over small integers and NULL, with the value it must have.
struct Expression {
  std::string jet;
  std::optional<long> value;
};

Expression RandomExpression(std::mt19937& random, int depth) {
  switch (depth <= 0 ? random() % 3 : random() % 7) {
    case 0:
      return {"NULL", std::nullopt};
    case 1:
      return random() % 2 ? Expression{"TRUE", 1} : Expression{"false", 0};
    case 2: {
      const long n = static_cast<long>(random() % 10);
      return {std::to_string(n), n};
    }
    case 3: {
      const Expression inner = RandomExpression(random, depth - 1);
      return {(random() % 2 ? "ISNULL(" : "IsNull (") + inner.jet + ")", inner.value ? 0L : 1L};
    }
    case 4: {
      const Expression inner = RandomExpression(random, depth - 1);
      return {"(" + inner.jet + ")", inner.value};
    }
    case 5: {
      const Expression a = RandomExpression(random, depth - 1);
      const Expression b = RandomExpression(random, depth - 1);
      return {a.jet + " + " + b.jet, a.value && b.value ? std::optional(*a.value + *b.value) : std::nullopt};
    }
    default: {
      const Expression a = RandomExpression(random, depth - 1);
      const Expression b = RandomExpression(random, depth - 1);
      return {"nz(" + a.jet + ", " + b.jet + ")", a.value ? a.value : b.value};
    }
  }
}

TEST_F(JetSqlTest, NestedIsNullKeepsTheMeaningOfTheExpression) {
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    const Expression e = RandomExpression(random, 5);
    ASSERT_EQ(Query("SELECT " + e.jet), e.value ? std::to_string(*e.value) : "<NULL>") << e.jet;
  }
}

TEST_F(JetSqlTest, TextLiteralRoundTripsAnyText) {
  for (const std::string text : {"O'Brien", "''", "\"[x]", "-- a", "/* a", "a & b", "#1/2/2003#", "TRUE",
                                 "ISNULL(x)", "\xFF\xC3", "", "'); DROP TABLE t; --"}) {
    const std::string literal = SqlTextLiteral(text);
    EXPECT_EQ(TranslateJetSql(literal), literal);
    EXPECT_EQ(Query("SELECT " + literal), text);
  }
  EXPECT_EQ(Query("SELECT count(*) FROM t"), "1");
}

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
    if (round % 2 == 0 && !haystack.empty()) {  // half of the time a piece of the haystack
      needle = haystack.substr(random() % haystack.size(), random() % 4);
      if (!utf8::IsValid(needle)) needle.clear();
    }
    const bool occurs = Folded(haystack).find(Folded(needle)) != std::u32string::npos;
    const std::string jet = "SELECT " + SqlTextLiteral(haystack) + " LIKE '*" + LikeFragment(needle) + "*'";
    ASSERT_EQ(Query(jet), occurs ? "1" : "0") << jet;
  }
}

}  // namespace
}  // namespace viamappa
