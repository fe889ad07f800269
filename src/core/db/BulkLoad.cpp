#include "db/BulkLoad.h"

#include "base/TextUtil.h"
#include "db/Sqlite.h"

namespace viamappa {

namespace {

constexpr const char* kSavepoint = "vm_bulk";

bool Listed(const std::string& table, const std::vector<std::string>& tables) {
  for (const std::string& listed : tables) {
    if (EqualsIgnoringCase(listed, table)) return true;
  }
  return false;
}

bool IsEmpty(sqlite3* db, const std::string& table) {
  SqliteStatement any = PrepareStatement(db, "SELECT 1 FROM " + QuoteIdentifier(table) + " LIMIT 1");
  return any && sqlite3_step(any.get()) == SQLITE_DONE;
}

// True when every field of the index is one of the fields.
bool MadeOf(const IndexShape& index, const std::vector<std::string>& fields) {
  for (const std::string& member : index.fields) {
    if (!Listed(member, fields)) return false;
  }
  return !index.fields.empty();
}

// True when the relation's fields in its foreign table are all among the fields.
bool RefersThrough(const RelationDefinition& relation, const std::vector<std::string>& fields) {
  for (const FieldPair& pair : relation.fields) {
    if (!Listed(pair.foreign_field, fields)) return false;
  }
  return !relation.fields.empty();
}

}  // namespace

BulkLoad::BulkLoad(DbConnection& connection, const std::vector<std::string>& tables,
                   const std::vector<std::string>& rewritten_fields)
    : connection_(connection) {
  EngineDatabase* engine = connection.engine();
  if (!engine || connection.core()->batch_depth == 0) return;
  sqlite3* db = engine->handle();
  engine->BeforeWrite();
  if (!ExecuteSql(db, std::string("SAVEPOINT ") + kSavepoint)) return;
  active_ = true;
  const auto save_and_drop = [&](const char* type, const std::string& name, std::vector<Saved>& saved) {
    SqliteStatement read =
        PrepareStatement(db, "SELECT sql FROM sqlite_master WHERE type = ?1 AND name = ?2");
    if (!read) return;
    sqlite3_bind_text(read.get(), 1, type, -1, SQLITE_STATIC);
    sqlite3_bind_text(read.get(), 2, name.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(read.get()) != SQLITE_ROW || sqlite3_column_type(read.get(), 0) != SQLITE_TEXT) return;
    Saved entry{name, std::string(ColumnText(read.get(), 0))};
    read.reset();
    if (ExecuteSql(db, std::string("DROP ") + type + " " + QuoteIdentifier(name)))
      saved.push_back(std::move(entry));
  };
  for (const RelationDefinition& relation : engine->DescribeRelations()) {
    if (!Listed(relation.foreign_table, tables)) continue;
    // A rewrite leaves the other fields as they are: their relations keep their checks.
    if (!rewritten_fields.empty() && !RefersThrough(relation, rewritten_fields)) continue;
    relations_.push_back(relation);
    for (const char* kind : {".ins", ".upd"})
      save_and_drop("trigger", "rel." + relation.name + kind, triggers_);
  }
  // The indexes of empty tables, and those of the rewritten fields, are built faster in one sort at the
  // end than row by row.
  for (const std::string& table : tables) {
    const bool empty = IsEmpty(db, table);
    for (const IndexShape& index : engine->DescribeIndexes(table)) {
      if (empty || MadeOf(index, rewritten_fields)) save_and_drop("index", index.engine_name, indexes_);
    }
  }
  // Every value comes through the access layer, which applies the column rules itself.
  ExecuteSql(db, "PRAGMA ignore_check_constraints = ON");
}

BulkLoad::~BulkLoad() {
  if (active_) Finish();
}

void BulkLoad::Abandon() {
  if (!active_) return;
  active_ = false;
  EngineDatabase* engine = connection_.engine();
  if (!engine) return;
  sqlite3* db = engine->handle();
  engine->BeforeWrite();
  ExecuteSql(db, "PRAGMA ignore_check_constraints = OFF");
  // Undoing the work also brings the dropped checks and indexes back.
  ExecuteSql(db, std::string("ROLLBACK TO ") + kSavepoint);
  ExecuteSql(db, std::string("RELEASE ") + kSavepoint);
}

bool BulkLoad::Finish(std::vector<std::string>* broken) {
  if (!active_) return true;
  active_ = false;
  EngineDatabase* engine = connection_.engine();
  if (!engine) return false;
  sqlite3* db = engine->handle();
  engine->BeforeWrite();
  ExecuteSql(db, "PRAGMA ignore_check_constraints = OFF");
  bool holds = true;
  // A unique index that cannot be built means repeated keys.
  for (const Saved& index : indexes_) {
    if (!ExecuteSql(db, index.sql)) {
      holds = false;
      if (broken) broken->push_back(index.name);
    }
  }
  for (const RelationDefinition& relation : relations_) {
    if (!holds) break;
    std::string match, not_null;
    for (const FieldPair& pair : relation.fields) {
      match += std::string(match.empty() ? "" : " AND ") + "p." + QuoteIdentifier(pair.primary_field) +
               " = f." + QuoteIdentifier(pair.foreign_field);
      not_null += std::string(not_null.empty() ? "" : " AND ") + "f." + QuoteIdentifier(pair.foreign_field) +
                  " IS NOT NULL";
    }
    // Each distinct reference is looked up once; the index on the foreign fields yields them in order.
    std::string distinct;
    for (const FieldPair& pair : relation.fields)
      distinct += std::string(distinct.empty() ? "" : ", ") + QuoteIdentifier(pair.foreign_field);
    SqliteStatement orphan =
        PrepareStatement(db, "SELECT 1 FROM (SELECT DISTINCT " + distinct + " FROM " +
                                 QuoteIdentifier(relation.foreign_table) + ") AS f WHERE " + not_null +
                                 " AND NOT EXISTS (SELECT 1 FROM " + QuoteIdentifier(relation.primary_table) +
                                 " AS p WHERE " + match + ") LIMIT 1");
    if (!orphan || sqlite3_step(orphan.get()) != SQLITE_DONE) {
      holds = false;
      if (broken) broken->push_back(relation.name);
    }
  }
  // A check that cannot come back must not leave the relation unenforced: then the work is undone too.
  for (std::size_t i = 0; holds && i < triggers_.size(); ++i) holds = ExecuteSql(db, triggers_[i].sql);
  if (!holds) {
    // Undoing the work also brings the dropped checks and indexes back.
    ExecuteSql(db, std::string("ROLLBACK TO ") + kSavepoint);
    ExecuteSql(db, std::string("RELEASE ") + kSavepoint);
    return false;
  }
  ExecuteSql(db, std::string("RELEASE ") + kSavepoint);
  return true;
}

}  // namespace viamappa
