// Checking, repairing and compacting database files.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "base/NumberText.h"
#include "base/TextUtil.h"
#include "db/Engine.h"
#include "db/EngineError.h"
#include "db/Sqlite.h"

namespace viamappa {

namespace {

bool Exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

// Problems found by the engine's own check of pages and indexes.
void CheckPages(sqlite3* db, std::vector<std::string>& problems) {
  SqliteStatement check = PrepareStatement(db, "PRAGMA integrity_check(100)");
  if (!check) {
    problems.push_back(DescribeEngineError(db, sqlite3_errcode(db)));
    return;
  }
  int rc;
  while ((rc = sqlite3_step(check.get())) == SQLITE_ROW) {
    const std::string_view line = ColumnText(check.get(), 0);
    if (line != "ok") problems.emplace_back(line);
  }
  if (rc != SQLITE_DONE) problems.push_back(DescribeEngineError(db, rc));
}

bool TriggerExists(sqlite3* db, const std::string& name) {
  SqliteStatement statement =
      PrepareStatement(db, "SELECT 1 FROM sqlite_master WHERE type = 'trigger' AND name = ?1");
  if (!statement) return false;
  sqlite3_bind_text(statement.get(), 1, name.c_str(), -1, SQLITE_TRANSIENT);
  return sqlite3_step(statement.get()) == SQLITE_ROW;
}

bool RelationEnforced(sqlite3* db, const RelationDefinition& relation) {
  for (const char* kind : {"ins", "upd", "del", "key"}) {
    if (!TriggerExists(db, "rel." + relation.name + "." + kind)) return false;
  }
  return true;
}

// Rows of the foreign table that refer to no row of the primary table.
std::int64_t CountOrphans(sqlite3* db, const RelationDefinition& relation) {
  std::string match, not_null;
  for (const FieldPair& pair : relation.fields) {
    match += std::string(match.empty() ? "" : " AND ") + "p." + QuoteIdentifier(pair.primary_field) +
             " = f." + QuoteIdentifier(pair.foreign_field);
    not_null += std::string(not_null.empty() ? "" : " AND ") + "f." + QuoteIdentifier(pair.foreign_field) +
                " IS NOT NULL";
  }
  SqliteStatement count =
      PrepareStatement(db, "SELECT count(*) FROM " + QuoteIdentifier(relation.foreign_table) +
                               " AS f WHERE " + not_null + " AND NOT EXISTS (SELECT 1 FROM " +
                               QuoteIdentifier(relation.primary_table) + " AS p WHERE " + match + ")");
  if (!count || sqlite3_step(count.get()) != SQLITE_ROW) return 0;
  return sqlite3_column_int64(count.get(), 0);
}

void CheckRelations(EngineDatabase& database, std::vector<std::string>& problems) {
  for (const RelationDefinition& relation : database.DescribeRelations()) {
    if (!RelationEnforced(database.handle(), relation))
      problems.push_back("La relazione " + relation.name + " non è più applicata dal database.");
    if (const std::int64_t orphans = CountOrphans(database.handle(), relation))
      problems.push_back("La tavola " + relation.foreign_table + " contiene " + FormatInteger(orphans) +
                         " record senza corrispondenza nella tavola " + relation.primary_table +
                         " (relazione " + relation.name + ").");
  }
}

// Copies every readable row of a table from one connection to the other, keeping the row ids: first
// forwards until a damaged page stops the reading, then backwards from the end down to the last row
// copied, so that only the rows of damaged pages are lost.
void SalvageRows(sqlite3* from, sqlite3* to, const std::string& table) {
  const std::string quoted = QuoteIdentifier(table);
  std::string names;
  std::string placeholders = "?1";
  SqliteStatement info = PrepareStatement(to, "SELECT name FROM pragma_table_info(?1) ORDER BY cid");
  if (!info) return;
  sqlite3_bind_text(info.get(), 1, table.c_str(), -1, SQLITE_TRANSIENT);
  int columns = 0;
  while (sqlite3_step(info.get()) == SQLITE_ROW) {
    names += ", " + QuoteIdentifier(ColumnText(info.get(), 0));
    placeholders += ", ?" + FormatInteger(++columns + 1);
  }
  info.reset();
  SqliteStatement insert = PrepareStatement(
      to, "INSERT OR IGNORE INTO " + quoted + " (rowid" + names + ") VALUES (" + placeholders + ")");
  if (!insert) return;

  std::int64_t last_copied = 0;
  bool any = false;
  FieldValue value;
  const auto copy = [&](bool forwards) {
    SqliteStatement read = PrepareStatement(
        from, "SELECT rowid" + names + " FROM " + quoted + " ORDER BY rowid " + (forwards ? "ASC" : "DESC"));
    if (!read) return;
    while (sqlite3_step(read.get()) == SQLITE_ROW) {
      const std::int64_t rowid = sqlite3_column_int64(read.get(), 0);
      if (!forwards && any && rowid <= last_copied) break;
      sqlite3_reset(insert.get());
      sqlite3_clear_bindings(insert.get());
      for (int i = 0; i <= columns; ++i) {
        ReadColumn(read.get(), i, value);
        // Bound as a copy: `value` is reused for the next column.
        if (value.kind == FieldValue::Kind::Text) {
          sqlite3_bind_text64(insert.get(), i + 1, value.bytes.data(), value.bytes.size(), SQLITE_TRANSIENT,
                              SQLITE_UTF8);
        } else if (value.kind == FieldValue::Kind::Blob) {
          sqlite3_bind_blob64(insert.get(), i + 1, value.bytes.data(), value.bytes.size(), SQLITE_TRANSIENT);
        } else {
          BindValue(insert.get(), i + 1, value);
        }
      }
      sqlite3_step(insert.get());
      if (forwards) {
        last_copied = rowid;
        any = true;
      }
    }
  };
  copy(true);
  copy(false);
}

// Builds a sound copy of a damaged file from its schema and its readable rows.
bool SalvageInto(sqlite3* from, const std::string& copy_path, std::string& error) {
  std::remove(copy_path.c_str());
  sqlite3* to = nullptr;
  if (sqlite3_open_v2(copy_path.c_str(), &to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    error = "Impossibile creare il file di lavoro " + copy_path + " (" + sqlite3_errmsg(to) + ").";
    sqlite3_close_v2(to);
    return false;
  }
  bool ok = ExecuteSql(to, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; BEGIN", &error);
  for (const char* pragma : {"application_id", "user_version"}) {
    SqliteStatement read = PrepareStatement(from, std::string("PRAGMA ") + pragma);
    if (read && sqlite3_step(read.get()) == SQLITE_ROW)
      ok = ok && ExecuteSql(to, std::string("PRAGMA ") + pragma + " = " +
                                    FormatInteger(sqlite3_column_int64(read.get(), 0)));
  }
  // Tables first, then their rows, then indexes and triggers over the rows.
  struct Object {
    std::string type, name, sql;
  };
  std::vector<Object> objects;
  SqliteStatement schema = PrepareStatement(
      from, "SELECT type, name, sql FROM sqlite_master WHERE sql IS NOT NULL ORDER BY rowid");
  while (schema && sqlite3_step(schema.get()) == SQLITE_ROW)
    objects.push_back({std::string(ColumnText(schema.get(), 0)), std::string(ColumnText(schema.get(), 1)),
                       std::string(ColumnText(schema.get(), 2))});
  schema.reset();
  for (const Object& object : objects) {
    if (object.type == "table") ok = ok && ExecuteSql(to, object.sql, &error);
  }
  for (const Object& object : objects) {
    if (ok && object.type == "table") SalvageRows(from, to, object.name);
  }
  for (const Object& object : objects) {
    if (!ok || object.type == "table") continue;
    if (!ExecuteSql(to, object.sql) && object.type == "index") {
      // A unique index that the damage made ambiguous keeps the first of the repeated rows.
      std::string columns;
      SqliteStatement members =
          PrepareStatement(from, "SELECT name FROM pragma_index_info(?1) ORDER BY seqno");
      if (members) {
        sqlite3_bind_text(members.get(), 1, object.name.c_str(), -1, SQLITE_TRANSIENT);
        while (sqlite3_step(members.get()) == SQLITE_ROW)
          columns += (columns.empty() ? "" : ", ") + QuoteIdentifier(ColumnText(members.get(), 0));
      }
      SqliteStatement owner = PrepareStatement(from, "SELECT tbl_name FROM sqlite_master WHERE name = ?1");
      if (owner && !columns.empty()) {
        sqlite3_bind_text(owner.get(), 1, object.name.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(owner.get()) == SQLITE_ROW) {
          const std::string table = QuoteIdentifier(ColumnText(owner.get(), 0));
          ExecuteSql(to, "DELETE FROM " + table + " WHERE rowid NOT IN (SELECT min(rowid) FROM " + table +
                             " GROUP BY " + columns + ")");
        }
      }
      ok = ExecuteSql(to, object.sql, &error);
    }
  }
  ok = ok && ExecuteSql(to, "COMMIT", &error);
  sqlite3_close_v2(to);
  if (!ok) std::remove(copy_path.c_str());
  return ok;
}

// Replaces the content of a database in place with another file's, through the engine's backup, so
// that the file keeps its name, its permissions and any connection that has it open.
bool CopyContentInto(const std::string& source_path, sqlite3* destination, std::string& error) {
  sqlite3* source = nullptr;
  if (sqlite3_open_v2(source_path.c_str(), &source, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    error = sqlite3_errmsg(source);
    sqlite3_close_v2(source);
    return false;
  }
  sqlite3_backup* backup = sqlite3_backup_init(destination, "main", source, "main");
  int rc = backup ? sqlite3_backup_step(backup, -1) : sqlite3_errcode(destination);
  if (backup) sqlite3_backup_finish(backup);
  if (rc != SQLITE_DONE) error = DescribeEngineError(destination, rc);
  sqlite3_close_v2(source);
  return rc == SQLITE_DONE;
}

}  // namespace

bool CheckDatabase(const std::string& path, std::vector<std::string>& problems, std::string& error) {
  problems.clear();
  auto database = EngineDatabase::Open(path, error);
  if (!database) return false;
  CheckPages(database->handle(), problems);
  if (problems.empty()) CheckRelations(*database, problems);
  return true;
}

bool RepairDatabase(const std::string& path, std::string& error) {
  // Opening rolls back a write that a killed process left half done.
  auto database = EngineDatabase::Open(path, error);
  if (!database) return false;
  sqlite3* db = database->handle();

  std::vector<std::string> problems;
  CheckPages(db, problems);
  if (!problems.empty()) {
    ExecuteSql(db, "REINDEX");
    problems.clear();
    CheckPages(db, problems);
  }
  if (!problems.empty()) {
    const std::string copy_path = path + ".riparazione";
    if (!SalvageInto(db, copy_path, error)) return false;
    const bool copied = CopyContentInto(copy_path, db, error);
    std::remove(copy_path.c_str());
    if (!copied) return false;
    problems.clear();
    CheckPages(db, problems);
    if (!problems.empty()) {
      error = "Il database è ancora danneggiato: " + problems.front();
      return false;
    }
  }
  // Relations whose enforcement was removed get it back.
  for (const RelationDefinition& relation : database->DescribeRelations()) {
    if (RelationEnforced(db, relation)) continue;
    for (const char* kind : {"ins", "upd", "del", "key"})
      ExecuteSql(db, "DROP TRIGGER IF EXISTS " + QuoteIdentifier("rel." + relation.name + "." + kind));
    if (!database->CreateRelationTriggers(relation, error)) return false;
  }
  return database->Close(error);
}

bool CompactDatabase(const std::string& source, const std::string& destination, std::string_view locale,
                     std::string& error) {
  if (Exists(destination)) {
    error = "Il file di destinazione esiste già: " + destination;
    return false;
  }
  auto database = EngineDatabase::Open(source, error);
  if (!database) return false;
  SqliteStatement vacuum = PrepareStatement(database->handle(), "VACUUM INTO ?1");
  int rc = SQLITE_ERROR;
  if (vacuum) {
    sqlite3_bind_text(vacuum.get(), 1, destination.c_str(), -1, SQLITE_TRANSIENT);
    rc = sqlite3_step(vacuum.get());
  }
  if (rc != SQLITE_DONE) {
    error = DescribeEngineError(database->handle(), rc);
    vacuum.reset();
    std::remove(destination.c_str());
    return false;
  }
  vacuum.reset();
  database.reset();
  auto copy = EngineDatabase::Open(destination, error);
  if (!copy) return false;
  SqliteStatement set_locale =
      PrepareStatement(copy->handle(), "UPDATE vm_meta SET value = ?1 WHERE name = 'locale'");
  if (!set_locale) {
    error = DescribeEngineError(copy->handle(), sqlite3_errcode(copy->handle()));
    return false;
  }
  sqlite3_bind_text(set_locale.get(), 1, locale.data(), static_cast<int>(locale.size()), SQLITE_TRANSIENT);
  if (sqlite3_step(set_locale.get()) != SQLITE_DONE) {
    error = DescribeEngineError(copy->handle(), sqlite3_errcode(copy->handle()));
    return false;
  }
  set_locale.reset();
  return copy->Close(error);
}

}  // namespace viamappa
