// Feeds any bytes to the Jet dialect translation, the LIKE matcher and the Jet SQL functions.
#include <sqlite3.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "db/JetDialect.h"
#include "db/JetFunctions.h"
#include "db/JetLike.h"

namespace {

void Fail(const char* what, std::string_view input) {
  std::fprintf(stderr, "invariant broken: %s (input of %zu bytes)\n", what, input.size());
  std::abort();
}

sqlite3* OpenDatabase() {
  sqlite3* db = nullptr;
  if (sqlite3_open(":memory:", &db) != SQLITE_OK || !viamappa::RegisterJetFunctions(db)) std::abort();
  const char* schema =
      "CREATE TABLE archi(id INTEGER PRIMARY KEY, nome VARCHAR(60), da INTEGER, a INTEGER, senso BOOLEAN,"
      " lunghezza DOUBLE, \"nome via\" TEXT, data DATETIME);"
      "CREATE TABLE nodi(id INTEGER PRIMARY KEY, x DOUBLE, y DOUBLE, comune TEXT);"
      "INSERT INTO archi VALUES(1, 'Via Roma', 1, 2, 1, 12.5, 'via', '2003-01-02');";
  if (sqlite3_exec(db, schema, nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
  return db;
}

// Runs the Jet functions on pieces of the input, through a fixed statement.
void RunFunctions(sqlite3* db, std::string_view pattern, std::string_view text, const std::uint8_t* data,
                  std::size_t size) {
  static sqlite3_stmt* statement = [db] {
    sqlite3_stmt* s = nullptr;
    const char* sql =
        "SELECT ucase(?1), lcase(?1), len(?1), mid(?1, ?2, ?3), mid(?1, ?2), \"left\"(?1, ?3),"
        " \"right\"(?1, ?2), nz(?1, ?2), ?1 LIKE ?4, like(?4, ?1)";
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) std::abort();
    return s;
  }();
  const auto small = [&](std::size_t i) -> sqlite3_int64 {
    return i < size ? static_cast<sqlite3_int64>(data[i] % 24) - 2 : 1;
  };
  sqlite3_bind_text64(statement, 1, text.data(), text.size(), SQLITE_STATIC, SQLITE_UTF8);
  sqlite3_bind_int64(statement, 2, small(0));
  sqlite3_bind_int64(statement, 3, small(1));
  sqlite3_bind_text64(statement, 4, pattern.data(), pattern.size(), SQLITE_STATIC, SQLITE_UTF8);
  while (sqlite3_step(statement) == SQLITE_ROW) {
  }
  sqlite3_reset(statement);
  sqlite3_clear_bindings(statement);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static sqlite3* db = OpenDatabase();
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  // The translation must give something SQLite can read or reject; it is never run.
  const std::string sql = viamappa::TranslateJetSql(input);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &statement, nullptr);
  sqlite3_finalize(statement);

  // Pattern and text for LIKE, split at the first NUL or newline.
  const std::size_t cut = input.find_first_of(std::string_view("\0\n", 2));
  const std::string_view pattern = input.substr(0, cut);
  const std::string_view text = cut == std::string_view::npos ? std::string_view() : input.substr(cut + 1);
  viamappa::JetLikeMatch(pattern, text);
  RunFunctions(db, pattern, text, data, size);

  // A text literal passes the translation untouched.
  const std::string literal = viamappa::SqlTextLiteral(input);
  if (viamappa::TranslateJetSql(literal) != literal) Fail("TranslateJetSql changed a text literal", input);

  // The LIKE fragment of a text, once its apostrophes are read back, matches that very text.
  const std::string fragment = viamappa::LikeFragment(input);
  std::string pattern_of_fragment;
  pattern_of_fragment.reserve(fragment.size());
  for (std::size_t i = 0; i < fragment.size(); ++i) {
    pattern_of_fragment.push_back(fragment[i]);
    if (fragment[i] == '\'') ++i;  // '' stands for one apostrophe
  }
  if (!viamappa::JetLikeMatch(pattern_of_fragment, input))
    Fail("LikeFragment does not match its text", input);
  if (!viamappa::JetLikeMatch("*" + pattern_of_fragment + "*", "x" + std::string(input) + "y")) {
    Fail("LikeFragment does not find its text inside another", input);
  }
  return 0;
}
