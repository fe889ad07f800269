#include "db/DbBatch.h"

#include "db/DbConnection.h"
#include "db/EngineError.h"
#include "db/Sqlite.h"

namespace viamappa {

namespace {

constexpr const char* kBatchCacheSize = "PRAGMA cache_size = -65536";
constexpr const char* kNormalCacheSize = "PRAGMA cache_size = -8192";

}  // namespace

DbBatch::DbBatch(DbConnection& connection) : core_(connection.core()) {
  if (!core_->IsOpen()) return;
  // An immediate transaction takes the write lock now, so that no other writer can make the batch fail
  // halfway with a busy database. If it cannot, the batch runs row by row.
  if (core_->batch_depth == 0) {
    if (!ExecuteSql(core_->engine->handle(), "BEGIN IMMEDIATE")) return;
    // A batch writes many rows into large indexes: a larger page cache keeps their pages at hand.
    ExecuteSql(core_->engine->handle(), kBatchCacheSize);
  }
  ++core_->batch_depth;
  began_ = true;
}

DbBatch::~DbBatch() {
  if (!began_ || !core_->IsOpen() || core_->batch_depth == 0) return;
  if (--core_->batch_depth == 0) {
    Commit();
    ExecuteSql(core_->engine->handle(), kNormalCacheSize);
  }
}

bool DbBatch::Checkpoint() {
  if (!began_ || !core_->IsOpen() || core_->batch_depth != 1) return false;
  return Commit() && ExecuteSql(core_->engine->handle(), "BEGIN IMMEDIATE");
}

bool DbBatch::Rollback() {
  if (!began_ || !core_->IsOpen()) return false;
  sqlite3* db = core_->engine->handle();
  if (sqlite3_get_autocommit(db)) return false;
  // Open queries take their remaining rows first, so that each goes on reading the rows it opened on.
  core_->BeforeWrite();
  const bool rolled_back = ExecuteSql(db, "ROLLBACK");
  // The enclosing batches go on in a transaction of their own.
  ExecuteSql(db, "BEGIN IMMEDIATE");
  return rolled_back;
}

bool DbBatch::Commit() {
  sqlite3* db = core_->engine->handle();
  // An I/O failure may already have rolled the transaction back; then there is nothing to commit.
  if (sqlite3_get_autocommit(db)) return true;
  if (ExecuteSql(db, "COMMIT")) return true;
  const std::string description = DescribeEngineError(db, sqlite3_errcode(db));
  ExecuteSql(db, "ROLLBACK");
  core_->ui->ShowMessage("Errore in fase di registrazione delle modifiche nel database\n\n" + description,
                         MessageIcon::Stop);
  return false;
}

}  // namespace viamappa
