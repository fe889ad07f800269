#include "edit/EditTransaction.h"

#include "db/DbConnection.h"
#include "db/EngineError.h"
#include "db/Sqlite.h"

namespace viamappa {

namespace {

constexpr const char* kSavepoint = "vm_edit";

}  // namespace

EditTransaction::EditTransaction(DbConnection& connection) : core_(connection.core()) {
  if (!core_->IsOpen()) return;
  sqlite3* db = core_->engine->handle();
  nested_ = core_->batch_depth > 0 || !sqlite3_get_autocommit(db);
  // The write lock is taken now, so that no other writer makes the edit fail halfway.
  const bool begun =
      nested_ ? ExecuteSql(db, std::string("SAVEPOINT ") + kSavepoint) : ExecuteSql(db, "BEGIN IMMEDIATE");
  if (!begun) return;
  // A batch started by a callee nests inside the edit and leaves the commit to it.
  ++core_->batch_depth;
  state_ = State::Open;
}

EditTransaction::~EditTransaction() {
  if (state_ != State::Open) return;
  state_ = State::Failed;
  --core_->batch_depth;
  Rollback();
}

bool EditTransaction::Commit() {
  if (state_ != State::Open) return false;
  state_ = State::Done;
  --core_->batch_depth;
  if (!core_->IsOpen()) return false;
  sqlite3* db = core_->engine->handle();
  // An I/O failure may already have rolled the transaction back: then nothing was stored.
  if (!nested_ && sqlite3_get_autocommit(db)) return false;
  if (ExecuteSql(db, nested_ ? std::string("RELEASE ") + kSavepoint : std::string("COMMIT"))) return true;
  const std::string description = DescribeEngineError(db, sqlite3_errcode(db));
  Rollback();
  core_->ui->ShowMessage("Errore in fase di registrazione delle modifiche nel database\n\n" + description,
                         MessageIcon::Stop);
  return false;
}

void EditTransaction::Rollback() {
  if (!core_->IsOpen()) return;
  core_->BeforeWrite();
  sqlite3* db = core_->engine->handle();
  if (nested_) {
    ExecuteSql(db, std::string("ROLLBACK TO ") + kSavepoint);
    ExecuteSql(db, std::string("RELEASE ") + kSavepoint);
  } else if (!sqlite3_get_autocommit(db)) {
    ExecuteSql(db, "ROLLBACK");
  }
}

}  // namespace viamappa
