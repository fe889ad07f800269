// The query dialect: its LIKE, its functions, and its statements translated for SQLite.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstring>
#include <initializer_list>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Utf8.h"
#include "db/JetDialect.h"
#include "db/JetFunctions.h"
#include "db/JetLike.h"

namespace viamappa {
namespace {

struct LikeCase {
  std::string_view pattern;
  std::string_view text;
  bool matches;
};

// Plain wildcards, classes and letter case over ASCII are left to the comparison with the dynamic
// programming matcher below; these are the edges it does not reach.
TEST(JetLikeTest, EmptyTextsWideCharactersOddClassesLetterCaseAndMalformedBytes) {
  const LikeCase cases[] = {
      {"*", "", true},
      {"", "a", false},
      {"?", "", false},
      {"citt?", "città", true},
      {"citt??", "città", false},
      {"#", "\xD9\xA3", false},  // an Arabic-Indic digit is not 0-9
      {"[!abc]", "", false},
      {"[a-cx-z]", "y", true},
      {"[-a]", "-", true},
      {"[a-]", "-", true},
      {"[z-a]", "m", false},
      {"[àè]", "\xC3", false},
      {"[à-ù]", "é", true},
      {"[!]", "!", true},
      {"a[]b", "ab", true},
      {"[?]", "x", false},
      {"[#]1", "11", false},
      {"[[]x]", "[x]", true},
      {"a]", "a]", true},
      {"[abc", "[abc", true},
      {"[abc", "a", false},
      {"[!*", "[!xyz", true},
      {"[", "[", true},
      // Letter case is ignored in any script (as the case folding folds it), accents are not.
      {"*CITTÀ*", "la città di", true},
      {"МОСКВА", "москва", true},
      {"[!a-c]", "B", false},
      {"[È]", "è", true},
      {"citta", "città", false},
      // Malformed bytes are one character each.
      {"?", "\xFF", true},
      {"??", "\xE2\x82", true},  // a truncated sequence of two bytes
      {"\xFF*",
       "\xFE"
       "abc",
       true},
      {"[\xC3]", "\xC3", true},
      {std::string_view("a\0b", 3), std::string_view("A\0B", 3), true},
      {std::string_view("a\0b", 3), "ab", false}};
  for (const LikeCase& c : cases)
    EXPECT_EQ(JetLikeMatch(c.pattern, c.text), c.matches) << "'" << c.text << "' LIKE '" << c.pattern << "'";
}

TEST(JetLikeTest, ManyStarsAgainstALongTextStayLinear) {
  // Naive backtracking would take astronomically long on these.
  const std::string as(200000, 'a');
  EXPECT_FALSE(JetLikeMatch("*a*a*a*a*a*a*b", as));
  EXPECT_TRUE(JetLikeMatch("*a*a*a*a*a*a*b", as + "b"));
  std::string stars;
  for (int i = 0; i < 30; ++i) stars += "*a";
  EXPECT_FALSE(JetLikeMatch(stars + "*b", as));
}

TEST(JetLikeTest, AgreesWithADynamicProgrammingMatcher) {
  // Pattern pieces with the characters each one takes; nullptr for the star.
  struct Piece {
    const char* pattern;
    const char* takes;
  };
  const Piece pieces[] = {{"*", nullptr},   {"?", "aAbB01*x"},  {"#", "01"},  {"a", "aA"},    {"B", "bB"},
                          {"[ab]", "aAbB"}, {"[!a]", "bB01*x"}, {"[*]", "*"}, {"[0-1]", "01"}};
  const std::string alphabet = "aAbB01*x";
  std::mt19937 random(20240611);
  for (int round = 0; round < 20000; ++round) {
    std::vector<const Piece*> chosen;
    std::string pattern;
    std::string text;
    for (int i = static_cast<int>(random() % 8); i > 0; --i) {
      chosen.push_back(&pieces[random() % std::size(pieces)]);
      pattern += chosen.back()->pattern;
    }
    for (int i = static_cast<int>(random() % 10); i > 0; --i) text += alphabet[random() % alphabet.size()];
    // can[i][j]: the first i pieces match the first j characters.
    std::vector<std::vector<bool>> can(chosen.size() + 1, std::vector<bool>(text.size() + 1, false));
    can[0][0] = true;
    for (std::size_t i = 1; i <= chosen.size(); ++i) {
      for (std::size_t j = 0; j <= text.size(); ++j) {
        const char* takes = chosen[i - 1]->takes;
        can[i][j] = takes == nullptr
                        ? can[i - 1][j] || (j > 0 && can[i][j - 1])
                        : j > 0 && can[i - 1][j - 1] && std::strchr(takes, text[j - 1]) != nullptr;
      }
    }
    ASSERT_EQ(JetLikeMatch(pattern, text), can[chosen.size()][text.size()]) << pattern << " / " << text;
  }
}

// An in-memory SQLite database with the Jet functions, for the tests that run translated statements.
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

  // Each expression selected, with its result as Query gives it.
  void ExpectResults(std::initializer_list<std::pair<std::string_view, std::string_view>> cases) {
    for (const auto& [expression, result] : cases)
      EXPECT_EQ(Query("SELECT " + std::string(expression)), result) << expression;
  }

  sqlite3* db_ = nullptr;
};

using JetFunctionsTest = JetTestDatabase;

// Only Jet's wildcards; letter case ignored; numbers matched as their text; NULL gives NULL; patterns
// constant or varying over the rows.
TEST_F(JetFunctionsTest, LikeOperatorFollowsJetWildcards) {
  ExpectResults({{"'Via Roma' LIKE 'via%'", "0"},
                 {"'a%c' LIKE 'a%c'", "1"},
                 {"'abc' LIKE 'a_c'", "0"},
                 {"'città' NOT LIKE 'CITT?'", "0"},
                 {"123 LIKE '1#3'", "1"},
                 {"NULL LIKE '*'", "<NULL>"},
                 {"'a' LIKE NULL", "<NULL>"}});
  Exec(
      "CREATE TABLE v(nome TEXT, modello TEXT);"
      "INSERT INTO v VALUES('Via Roma', '*roma'), ('Piazza Dante', 'p*'), ('Corso', '#*'), ('via Po', "
      "'*[!o]');");
  // A constant pattern is read once for the statement: every row must still be matched.
  EXPECT_EQ(Query("SELECT group_concat(nome, '|') FROM v WHERE nome LIKE 'via *'"), "Via Roma|via Po");
  EXPECT_EQ(Query("SELECT group_concat(nome, '|') FROM v WHERE nome LIKE modello"), "Via Roma|Piazza Dante");
  sqlite3_limit(db_, SQLITE_LIMIT_LIKE_PATTERN_LENGTH, 10);
  EXPECT_EQ(Query("SELECT 'a' LIKE '**********'"), "1");
  EXPECT_EQ(Query("SELECT 'a' LIKE '***********'"), "<error>");
}

TEST_F(JetFunctionsTest, CaseAndLengthWorkPerCharacter) {
  ExpectResults({{"ucase('città ÿ ß łódź αθήνας москва')", "CITTÀ Ÿ ß ŁÓDŹ ΑΘΉΝΑΣ МОСКВА"},
                 {"lcase('CITTÀ Ÿ ŁÓDŹ ΑΘΉΝΑ МОСКВА')", "città ÿ łódź αθήνα москва"},
                 {"hex(ucase(x'61FF62C3'))", "41FF42C3"},  // malformed bytes are kept
                 {"UCASE(12.5) || ucase$('a') || lcase$('B')", "12.5Ab"},
                 {"len('città') || len(12345) || len(x'FFFE') || len('')", "5520"},
                 {"ucase(NULL) || len(NULL)", "<NULL>"}});
}

TEST_F(JetFunctionsTest, MidLeftAndRightCountCharacters) {
  ExpectResults({{"mid('città', 4)", "tà"},
                 {"mid('città', 2, 3)", "itt"},
                 {"mid('città', 6) || mid('città', 99, 2) || mid('città', 1, 0)", ""},
                 {"mid('città', 3, 9223372036854775807)", "ttà"},
                 {"mid('città', 9223372036854775807, 9223372036854775807)", ""},
                 {"mid('abcdef', 1e300, 1)", ""},
                 {"mid('abcdef', 2.5, 1) || mid('abcdef', 3.5, 1)", "bd"},  // rounded half to even
                 {"mid('abcdef', '2', 2) || mid$('abc', 3)", "bcc"},
                 {"left('città', 4) || '|' || left('città', 100) || '|' || left('città', 0)", "citt|città|"},
                 {"right('città', 2) || '|' || right('città', 9223372036854775807)", "tà|città"},
                 {"hex(right(x'41FF', 1)) || left$('abc', 1) || right$('abc', 1)", "FFac"},
                 {"mid(NULL, 1) || mid('abc', NULL) || left(NULL, 1) || right('abc', NULL)", "<NULL>"}});
  for (std::string_view wrong : {"mid('abc', 0)", "mid('abc', -1, 2)", "mid('abc', 1, -1)", "mid('abc', 'x')",
                                 "left('abc', -1)", "right('abc', -1)"}) {
    EXPECT_EQ(Query("SELECT " + std::string(wrong)), "<error>") << wrong;
  }
}

TEST_F(JetFunctionsTest, NzReplacesOnlyNullAndKeepsTheType) {
  ExpectResults({{"nz(NULL, 'vuoto')", "vuoto"},
                 {"nz('', 'vuoto') || nz(0, 5)", "0"},
                 {"typeof(nz(7, 'x')) || typeof(nz(NULL, 2.5))", "integerreal"},
                 {"nz(NULL, NULL)", "<NULL>"}});
  EXPECT_FALSE(RegisterJetFunctions(nullptr));
}

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
      {std::string_view("'\0' TRUE", 8), std::string_view("'\0' 1", 5)},
      // Valid date constants become ISO text.
      {"d = #1/2/2003#", "d = '2003-01-02'"},
      {"#2003-1-5#", "'2003-01-05'"},
      {"#2/29/2024#", "'2024-02-29'"},
      {"#x# TRUE", "#x# 1"},
  };
  for (const auto& [jet, sqlite] : cases) EXPECT_EQ(TranslateJetSql(jet), sqlite) << jet;
  // Dates that do not exist, and unterminated quotes, brackets and comments, are copied as they are.
  for (std::string_view copied : {"#2/29/1900#", "#13/1/2003#", "#4/31/2003#", "#0/1/2003#", "#1/2/03#",
                                  "#1/2/2003", "#2003-02-30#", "#1/1/0099#", "#123/1/2003#", "#", "a = 'abc",
                                  "a = \"abc", "a = \"abc\"\"", "a = [abc TRUE", "a /* TRUE", "-- TRUE", ""})
    EXPECT_EQ(TranslateJetSql(copied), copied);
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
