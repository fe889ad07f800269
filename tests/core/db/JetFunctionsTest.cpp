#include "db/JetFunctions.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "JetTestDatabase.h"

namespace viamappa {
namespace {

class JetFunctionsTest : public JetTestDatabase {
 protected:
  // Each expression selected, with its result as Query gives it.
  void ExpectResults(std::initializer_list<std::pair<std::string_view, std::string_view>> cases) {
    for (const auto& [expression, result] : cases) {
      EXPECT_EQ(Query("SELECT " + std::string(expression)), result) << expression;
    }
  }
};

TEST_F(JetFunctionsTest, LikeOperatorFollowsJetWildcards) {
  // Only Jet's wildcards; letter case ignored; numbers matched as their text; NULL gives NULL.
  ExpectResults({{"'Via Roma' LIKE 'via%'", "0"},
                 {"'a%c' LIKE 'a%c'", "1"},
                 {"'abc' LIKE 'a_c'", "0"},
                 {"'città' NOT LIKE 'CITT?'", "0"},
                 {"123 LIKE '1#3'", "1"},
                 {"NULL LIKE '*'", "<NULL>"},
                 {"'a' LIKE NULL", "<NULL>"}});
}

TEST_F(JetFunctionsTest, LikeOnRowsWithConstantAndVaryingPatterns) {
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

}  // namespace
}  // namespace viamappa
