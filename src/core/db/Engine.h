// The database engine: one SQLite file of ours, marked by its application id, with tables, indexes
// and relations defined through this interface. Every failure comes back as the engine's description,
// in Italian, for the caller to show.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/FieldType.h"
#include "db/SchemaCatalog.h"
#include "db/SchemaDefinition.h"

namespace viamappa {

// The locale every new database is created with: general sort order, Windows code page 1252.
inline constexpr std::string_view kGeneralLocale = ";LANGID=0x0409;CP=1252;COUNTRY=0";

// "VMAP": the application id in the header of every database file of ours.
inline constexpr std::int32_t kApplicationId = 0x564D4150;
inline constexpr int kFileFormatVersion = 1;

// The engine version text, such as "SQLite 3.40.1".
std::string EngineVersion();

struct FieldShape {
  std::string name;
  FieldType type = FieldType::Expression;
  int size = 0;
  bool required = false;
};

struct IndexShape {
  std::string name;         // the dictionary name, such as "codice"
  std::string engine_name;  // unique in the file: table + "." + name
  std::vector<std::string> fields;
  bool primary = false;
  bool unique = false;
};

// The table where a repair keeps the rows it had to take out of their tables, for a person to read with
// any SQLite tool: table_name, row_id, reason, field_names and field_values (the values as SQL literals,
// in the order of field_names), moved_at. It is one of the engine's own tables and is only ever added to.
inline constexpr std::string_view kRecoveredTable = "vm_recovered";

// What a repair could not keep in place in one table.
struct RepairedTable {
  std::string table;
  std::int64_t lost = 0;        // rows of damaged pages that could not be read
  bool lost_uncounted = false;  // the file cannot tell every lost row: lost is the least there were
  std::int64_t moved = 0;       // readable rows moved to the recovered rows
};

// What a repair could not keep in place, and what it rebuilt from the catalog; both empty after the
// repair of a sound file.
struct RepairReport {
  std::vector<RepairedTable> tables;  // in the order the repair met them
  // Each thing rebuilt, such as "tavola geoarchi", "indice archi.codice", "relazione archi_ini" (its
  // description or its enforcement) or "riga 0 di comuni".
  std::vector<std::string> rebuilt;
};

class EngineDatabase {
 public:
  // Creates a new database file with its catalog and locale; fails when the file exists already.
  static std::unique_ptr<EngineDatabase> Create(const std::string& path, std::string_view locale,
                                                std::string& error);

  enum class Access { ReadWrite, ReadOnly };

  // Opens an existing database file of ours, shared with other processes: read-write (a file that
  // cannot be written fails) or read-only, for the commands that only read. A file that is missing, not a
  // SQLite database or not one of ours fails with a description; so does a file that another process
  // keeps locked beyond the engine's wait.
  static std::unique_ptr<EngineDatabase> Open(const std::string& path, std::string& error,
                                              Access access = Access::ReadWrite);

  ~EngineDatabase();
  EngineDatabase(const EngineDatabase&) = delete;
  EngineDatabase& operator=(const EngineDatabase&) = delete;

  // The most pages of 4096 bytes that every database this process creates or opens from now on may grow
  // to; 0 (the start) for no limit. A file that reaches it fails as a full disk does: tests use it.
  static void LimitFileSize(int pages);

  // Closes the file; false with a description when the engine refused (the handle is released anyway
  // as soon as its last statement is finalized).
  bool Close(std::string& error);

  bool IsOpen() const { return db_ != nullptr; }
  bool read_only() const { return read_only_; }
  sqlite3* handle() const { return db_; }
  const std::string& path() const { return path_; }

  // The locale string the file was created with.
  std::string Locale() const;

  // Called before every change of the file made through this object, so that readers of the same
  // connection can keep what they were reading.
  void SetBeforeWrite(std::function<void()> hook) { before_write_ = std::move(hook); }
  void BeforeWrite() const {
    if (before_write_) before_write_();
  }

  // Schema. Each operation changes the file completely or not at all.
  bool AppendTable(const TableDefinition& table, std::string& error);
  bool CreateIndex(std::string_view table, const IndexDefinition& index, std::string& error);
  bool CreateRelation(const RelationDefinition& relation, std::string& error);

  // The tables of the data model, without the engine's own, in the order of creation.
  std::vector<std::string> TableNames() const;
  // The stored name of a table named in any letter case.
  std::optional<std::string> FindTable(std::string_view name) const;
  std::vector<FieldShape> DescribeFields(std::string_view table) const;
  std::vector<IndexShape> DescribeIndexes(std::string_view table) const;
  std::optional<IndexShape> FindIndex(std::string_view table, std::string_view index) const;
  std::vector<RelationDefinition> DescribeRelations() const;

  // Runs statements that return no rows.
  bool Execute(std::string_view sql, std::string& error);

 private:
  EngineDatabase(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}
  bool ConfigureConnection(std::string& error);
  bool CreateRelationTriggers(const RelationDefinition& relation, std::string& error);
  friend bool RepairDatabase(const std::string& path, const SchemaCatalog& catalog, RepairReport& report,
                             std::string& error);

  sqlite3* db_ = nullptr;
  std::string path_;
  bool read_only_ = false;
  std::function<void()> before_write_;
};

// The description of a row refused because the row it refers to through the relation does not exist.
std::string MissingReferenceDescription(std::string_view relation, std::string_view primary_table);

// Checks the integrity of a database file: the engine's own check, the schema against the catalog (its
// tables, fields, indexes, relations and the rows every database keeps; tables the catalog does not know
// are left alone), the relations' enforcement and their data. problems lists what is wrong, one line
// each (empty when the file is sound); false when the check could not run, with the description in
// error. An empty catalog checks the engine's side alone.
bool CheckDatabase(const std::string& path, const SchemaCatalog& catalog, std::vector<std::string>& problems,
                   std::string& error);

// Repairs a database file in place: finishes or undoes an interrupted write, rebuilds the indexes and
// the relations' enforcement, and when pages are damaged rebuilds the file from every row that can still
// be read. Rows that the rebuilt file cannot hold (a related row is lost, a key is repeated, a value breaks
// its field's rule) are moved to the recovered rows, so that every relation holds again. Then it rebuilds
// from the catalog the tables, indexes, relations and rows the file has lost, in one transaction with the
// relations' mending. report tells, table by table, what was lost or moved, and what was rebuilt.
// False with a description when the file cannot be repaired; the file is then left as it was unless
// report says otherwise. A table of which no row can be read fails the repair, so that its rows stay in
// the file for other means of recovery; so does a field missing, foreign to the catalog or of another
// type, which no rebuilding could mend without losing data: then nothing at all is changed.
bool RepairDatabase(const std::string& path, const SchemaCatalog& catalog, RepairReport& report,
                    std::string& error);

// Writes a compacted copy of a database file; the destination must not exist.
bool CompactDatabase(const std::string& source, const std::string& destination, std::string_view locale,
                     std::string& error);

}  // namespace viamappa
