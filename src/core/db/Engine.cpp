#include "db/Engine.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "base/NumberText.h"
#include "base/TextUtil.h"
#include "db/EngineError.h"
#include "db/JetFunctions.h"
#include "db/Sqlite.h"

namespace viamappa {

namespace {

// The engine's own tables: the file's properties, the properties of indexes that SQLite does not keep,
// and the relations.
constexpr std::string_view kCatalogSql = R"sql(
CREATE TABLE vm_meta (
  name TEXT NOT NULL PRIMARY KEY,
  value TEXT
);
CREATE TABLE vm_index (
  table_name TEXT NOT NULL COLLATE NOCASE,
  index_name TEXT NOT NULL COLLATE NOCASE,
  is_primary BOOLEAN NOT NULL,
  ignore_nulls BOOLEAN NOT NULL,
  PRIMARY KEY (table_name, index_name)
);
CREATE TABLE vm_relation (
  name TEXT NOT NULL COLLATE NOCASE,
  position INTEGER NOT NULL,
  primary_table TEXT NOT NULL,
  foreign_table TEXT NOT NULL,
  primary_field TEXT NOT NULL,
  foreign_field TEXT NOT NULL,
  PRIMARY KEY (name, position)
);
)sql";

// How long the engine waits for a lock another process holds before it answers that it is busy.
constexpr int kBusyTimeoutMs = 5000;

bool FileExists(const std::string& path, bool* is_directory = nullptr) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return false;
  if (is_directory) *is_directory = S_ISDIR(info.st_mode);
  return true;
}

std::string QueryText(sqlite3* db, std::string_view sql) {
  SqliteStatement statement = PrepareStatement(db, sql);
  if (!statement || sqlite3_step(statement.get()) != SQLITE_ROW) return {};
  return std::string(ColumnText(statement.get(), 0));
}

// Process-wide settings, made before the first connection: no memory statistics, whose global lock
// every allocation of the engine would otherwise take.
void ConfigureEngineOnce() {
  static const bool configured = [] {
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    return sqlite3_initialize() == SQLITE_OK;
  }();
  (void)configured;
}

}  // namespace

std::string EngineVersion() {
  return std::string("SQLite ") + sqlite3_libversion();
}

std::unique_ptr<EngineDatabase> EngineDatabase::Create(const std::string& path, std::string_view locale,
                                                       std::string& error) {
  if (path.empty()) {
    error = "Nome del file del database non specificato.";
    return nullptr;
  }
  if (FileExists(path)) {
    error = "Il file esiste già: " + path;
    return nullptr;
  }
  ConfigureEngineOnce();
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &raw,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  std::unique_ptr<EngineDatabase> database(new EngineDatabase(raw, path));
  if (rc != SQLITE_OK) {
    error =
        "Impossibile creare il file " + path + " (" + (raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc)) + ").";
    database.reset();
    return nullptr;
  }
  std::string sql_error;
  // The locale is bound, not pasted, so any text is kept as given.
  bool ok = ExecuteSql(raw, "PRAGMA page_size = 4096; PRAGMA journal_mode = DELETE;", &sql_error) &&
            ExecuteSql(raw, "PRAGMA application_id = " + FormatInteger(kApplicationId), &sql_error) &&
            ExecuteSql(raw, "PRAGMA user_version = " + FormatInteger(kFileFormatVersion), &sql_error) &&
            ExecuteSql(raw, "BEGIN", &sql_error) && ExecuteSql(raw, kCatalogSql, &sql_error);
  if (ok) {
    SqliteStatement insert = PrepareStatement(raw, "INSERT INTO vm_meta VALUES ('locale', ?1)");
    ok = insert &&
         sqlite3_bind_text(insert.get(), 1, locale.data(), static_cast<int>(locale.size()),
                           SQLITE_TRANSIENT) == SQLITE_OK &&
         sqlite3_step(insert.get()) == SQLITE_DONE;
    if (!ok) sql_error = sqlite3_errmsg(raw);
  }
  ok = ok && ExecuteSql(raw, "COMMIT", &sql_error) && database->ConfigureConnection(sql_error);
  if (!ok) {
    error = "Impossibile creare il database " + path + " (" + sql_error + ").";
    database.reset();
    std::remove(path.c_str());
    return nullptr;
  }
  return database;
}

std::unique_ptr<EngineDatabase> EngineDatabase::Open(const std::string& path, std::string& error,
                                                     Access access) {
  bool is_directory = false;
  if (path.empty() || !FileExists(path, &is_directory)) {
    error = "Il file non esiste: " + path;
    return nullptr;
  }
  if (is_directory) {
    error = "Il percorso indica una cartella e non un file: " + path;
    return nullptr;
  }
  ConfigureEngineOnce();
  const bool read_only = access == Access::ReadOnly;
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(
      path.c_str(), &raw, (read_only ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX,
      nullptr);
  std::unique_ptr<EngineDatabase> database(new EngineDatabase(raw, path));
  database->read_only_ = read_only;
  if (rc != SQLITE_OK) {
    error = DescribeEngineError(raw, rc);
    return nullptr;
  }
  if (!read_only && sqlite3_db_readonly(raw, "main") == 1) {
    error = "Il file è di sola lettura e non può essere aperto in modifica: " + path;
    return nullptr;
  }
  // The header is read with the engine's wait for locks: a file that another process is committing to
  // is in use, not damaged.
  sqlite3_busy_timeout(raw, kBusyTimeoutMs);
  SqliteStatement header = PrepareStatement(raw, "PRAGMA application_id");
  const int step = header ? sqlite3_step(header.get()) : SQLITE_ERROR;
  if (step == SQLITE_BUSY || step == SQLITE_LOCKED) {
    error = "Il database " + path + " è in uso da un altro programma e non può essere letto ora.";
    return nullptr;
  }
  if (step != SQLITE_ROW) {
    error = "Il file non è un database: " + path + " (" + sqlite3_errmsg(raw) + ").";
    return nullptr;
  }
  const std::int64_t application_id = sqlite3_column_int64(header.get(), 0);
  header.reset();
  const bool has_catalog = !QueryText(raw, "SELECT name FROM sqlite_master WHERE name = 'vm_meta'").empty();
  if (application_id != kApplicationId || !has_catalog) {
    error = "Il file non è un database di Viamappa: " + path;
    return nullptr;
  }
  const std::string version = QueryText(raw, "PRAGMA user_version");
  if (version != FormatInteger(kFileFormatVersion)) {
    error = "Il database " + path + " ha un formato (" + version +
            ") che questa versione del programma non conosce.";
    return nullptr;
  }
  std::string sql_error;
  if (!database->ConfigureConnection(sql_error)) {
    error = sql_error;
    return nullptr;
  }
  return database;
}

bool EngineDatabase::ConfigureConnection(std::string& error) {
  // A rollback journal keeps the file whole when the process is killed and commits bulk loads faster
  // than a write-ahead log; FULL synchronisation makes every commit durable.
  if (!read_only_) {
    SqliteStatement journal = PrepareStatement(db_, "PRAGMA journal_mode = DELETE");
    if (journal) sqlite3_step(journal.get());
  }
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  if (!ExecuteSql(db_,
                  "PRAGMA synchronous = FULL; PRAGMA foreign_keys = OFF; PRAGMA recursive_triggers = OFF;"
                  "PRAGMA cache_size = -8192; PRAGMA temp_store = MEMORY;",
                  &error))
    return false;
  if (!RegisterJetFunctions(db_)) {
    error = "Impossibile registrare le funzioni del dialetto SQL (" + std::string(sqlite3_errmsg(db_)) + ").";
    return false;
  }
  return true;
}

EngineDatabase::~EngineDatabase() {
  std::string ignored;
  Close(ignored);
}

bool EngineDatabase::Close(std::string& error) {
  if (!db_) return true;
  // close_v2 never leaves the handle half-open: with statements still alive it closes when the last
  // one is finalized.
  sqlite3* db = db_;
  db_ = nullptr;
  if (!sqlite3_get_autocommit(db)) ExecuteSql(db, "COMMIT");
  const int rc = sqlite3_close_v2(db);
  if (rc != SQLITE_OK) {
    error = sqlite3_errstr(rc);
    return false;
  }
  return true;
}

std::string EngineDatabase::Locale() const {
  return db_ ? QueryText(db_, "SELECT value FROM vm_meta WHERE name = 'locale'") : std::string();
}

bool EngineDatabase::Execute(std::string_view sql, std::string& error) {
  if (!db_) {
    error = "Il database non è aperto.";
    return false;
  }
  BeforeWrite();
  if (ExecuteSql(db_, sql)) return true;
  error = DescribeEngineError(db_, sqlite3_errcode(db_));
  return false;
}

std::vector<std::string> EngineDatabase::TableNames() const {
  std::vector<std::string> names;
  if (!db_) return names;
  SqliteStatement statement = PrepareStatement(
      db_,
      "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
      "AND name NOT LIKE 'vm\\_%' ESCAPE '\\' ORDER BY rowid");
  while (statement && sqlite3_step(statement.get()) == SQLITE_ROW)
    names.emplace_back(ColumnText(statement.get(), 0));
  return names;
}

std::optional<std::string> EngineDatabase::FindTable(std::string_view name) const {
  for (std::string& table : TableNames()) {
    if (EqualsIgnoringCase(table, name)) return std::move(table);
  }
  return std::nullopt;
}

std::vector<FieldShape> EngineDatabase::DescribeFields(std::string_view table) const {
  std::vector<FieldShape> fields;
  if (!db_) return fields;
  SqliteStatement statement =
      PrepareStatement(db_, "SELECT name, type, \"notnull\" FROM pragma_table_info(?1) ORDER BY cid");
  if (!statement) return fields;
  sqlite3_bind_text(statement.get(), 1, table.data(), static_cast<int>(table.size()), SQLITE_TRANSIENT);
  while (sqlite3_step(statement.get()) == SQLITE_ROW) {
    FieldShape field;
    field.name = ColumnText(statement.get(), 0);
    field.type = FieldTypeFromDeclared(ColumnText(statement.get(), 1), &field.size);
    field.required = sqlite3_column_int(statement.get(), 2) != 0;
    fields.push_back(std::move(field));
  }
  return fields;
}

std::vector<IndexShape> EngineDatabase::DescribeIndexes(std::string_view table) const {
  std::vector<IndexShape> indexes;
  const auto stored = FindTable(table);
  if (!db_ || !stored) return indexes;
  const std::string prefix = *stored + ".";
  SqliteStatement list = PrepareStatement(
      db_,
      "SELECT l.name, l.\"unique\", COALESCE(v.is_primary, 0) FROM pragma_index_list(?1) AS l "
      "LEFT JOIN vm_index AS v ON v.table_name = ?1 AND v.index_name = substr(l.name, length(?1) + 2) "
      "ORDER BY l.name");
  if (!list) return indexes;
  sqlite3_bind_text(list.get(), 1, stored->c_str(), -1, SQLITE_TRANSIENT);
  while (sqlite3_step(list.get()) == SQLITE_ROW) {
    const std::string engine_name(ColumnText(list.get(), 0));
    if (engine_name.size() <= prefix.size() ||
        !EqualsIgnoringCase(engine_name.substr(0, prefix.size()), prefix))
      continue;
    IndexShape index;
    index.engine_name = engine_name;
    index.name = engine_name.substr(prefix.size());
    index.unique = sqlite3_column_int(list.get(), 1) != 0;
    index.primary = sqlite3_column_int(list.get(), 2) != 0;
    SqliteStatement members = PrepareStatement(db_, "SELECT name FROM pragma_index_info(?1) ORDER BY seqno");
    if (!members) continue;
    sqlite3_bind_text(members.get(), 1, engine_name.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(members.get()) == SQLITE_ROW) index.fields.emplace_back(ColumnText(members.get(), 0));
    indexes.push_back(std::move(index));
  }
  return indexes;
}

std::optional<IndexShape> EngineDatabase::FindIndex(std::string_view table, std::string_view index) const {
  for (IndexShape& shape : DescribeIndexes(table)) {
    if (EqualsIgnoringCase(shape.name, index)) return std::move(shape);
  }
  return std::nullopt;
}

std::vector<RelationDefinition> EngineDatabase::DescribeRelations() const {
  std::vector<RelationDefinition> relations;
  if (!db_) return relations;
  SqliteStatement statement = PrepareStatement(
      db_,
      "SELECT name, primary_table, foreign_table, primary_field, foreign_field FROM vm_relation "
      "ORDER BY rowid");
  while (statement && sqlite3_step(statement.get()) == SQLITE_ROW) {
    const auto column = [&](int i) { return std::string(ColumnText(statement.get(), i)); };
    const std::string name = column(0);
    if (relations.empty() || !EqualsIgnoringCase(relations.back().name, name))
      relations.push_back({name, column(1), column(2), {}});
    relations.back().fields.push_back({column(3), column(4)});
  }
  return relations;
}

}  // namespace viamappa
