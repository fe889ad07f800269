#include "db/DeferredRelationChecks.h"

#include "base/TextUtil.h"
#include "db/Sqlite.h"

namespace viamappa {

namespace {

constexpr const char* kSavepoint = "vm_bulk";

bool RefersFrom(const RelationDefinition& relation, const std::vector<std::string>& tables) {
  for (const std::string& table : tables) {
    if (EqualsIgnoringCase(relation.foreign_table, table)) return true;
  }
  return false;
}

}  // namespace

DeferredRelationChecks::DeferredRelationChecks(DbConnection& connection,
                                               const std::vector<std::string>& tables)
    : connection_(connection) {
  EngineDatabase* engine = connection.engine();
  if (!engine || connection.core()->batch_depth == 0) return;
  sqlite3* db = engine->handle();
  if (!ExecuteSql(db, std::string("SAVEPOINT ") + kSavepoint)) return;
  active_ = true;
  for (const RelationDefinition& relation : engine->DescribeRelations()) {
    if (!RefersFrom(relation, tables)) continue;
    relations_.push_back(relation);
    for (const char* kind : {".ins", ".upd"}) {
      const std::string name = "rel." + relation.name + kind;
      SqliteStatement read =
          PrepareStatement(db, "SELECT sql FROM sqlite_master WHERE type = 'trigger' AND name = ?1");
      if (!read) continue;
      sqlite3_bind_text(read.get(), 1, name.c_str(), -1, SQLITE_TRANSIENT);
      if (sqlite3_step(read.get()) != SQLITE_ROW) continue;
      triggers_.push_back({name, reinterpret_cast<const char*>(sqlite3_column_text(read.get(), 0))});
      read.reset();
      engine->BeforeWrite();
      ExecuteSql(db, "DROP TRIGGER " + QuoteIdentifier(name));
    }
  }
}

DeferredRelationChecks::~DeferredRelationChecks() {
  if (active_) Finish();
}

bool DeferredRelationChecks::Finish(std::vector<std::string>* broken) {
  if (!active_) return true;
  active_ = false;
  EngineDatabase* engine = connection_.engine();
  if (!engine) return false;
  sqlite3* db = engine->handle();
  engine->BeforeWrite();
  bool holds = true;
  for (const RelationDefinition& relation : relations_) {
    std::string match, not_null;
    for (const FieldPair& pair : relation.fields) {
      match += std::string(match.empty() ? "" : " AND ") + "p." + QuoteIdentifier(pair.primary_field) +
               " = f." + QuoteIdentifier(pair.foreign_field);
      not_null += std::string(not_null.empty() ? "" : " AND ") + "f." + QuoteIdentifier(pair.foreign_field) +
                  " IS NOT NULL";
    }
    SqliteStatement orphan = PrepareStatement(
        db, "SELECT 1 FROM " + QuoteIdentifier(relation.foreign_table) + " AS f WHERE " + not_null +
                " AND NOT EXISTS (SELECT 1 FROM " + QuoteIdentifier(relation.primary_table) + " AS p WHERE " +
                match + ") LIMIT 1");
    if (!orphan || sqlite3_step(orphan.get()) != SQLITE_DONE) {
      holds = false;
      if (broken) broken->push_back(relation.name);
    }
  }
  // A check that cannot come back must not leave the relation unenforced: then the work is undone too.
  for (std::size_t i = 0; holds && i < triggers_.size(); ++i) holds = ExecuteSql(db, triggers_[i].sql);
  if (!holds) {
    // Undoing the work also brings the dropped checks back.
    ExecuteSql(db, std::string("ROLLBACK TO ") + kSavepoint);
    ExecuteSql(db, std::string("RELEASE ") + kSavepoint);
    return false;
  }
  ExecuteSql(db, std::string("RELEASE ") + kSavepoint);
  return true;
}

}  // namespace viamappa
