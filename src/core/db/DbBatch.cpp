#include "db/DbBatch.h"


#include "db/DbConnection.h"
#include "db/EngineError.h"
#include "db/Sqlite.h"
#include "ui/ProgressDisplay.h"

namespace viamappa {

namespace {

constexpr const char* kBatchCacheSize = "PRAGMA cache_size = -65536";
constexpr const char* kNormalCacheSize = "PRAGMA cache_size = -8192";

// The engine's own wait for a lock, while the batch waits in steps that it can tell about.
constexpr int kNormalBusyTimeoutMs = 5000;
constexpr int kStepBusyTimeoutMs = 250;

std::chrono::milliseconds lock_wait{30000};

}  // namespace

std::string DatabaseInUseMessage(const std::string& path) {
  return "ATTENZIONE: il database " + path +
         " è in uso da un altro programma che lo sta modificando.\n\n"
         "Non è stato registrato nulla: ripetere l'operazione quando il database sarà libero.";
}

void DbBatch::SetLockWait(std::chrono::milliseconds wait) {
  lock_wait = wait;
}

std::chrono::milliseconds DbBatch::LockWait() {
  return lock_wait;
}

DbBatch::DbBatch(DbConnection& connection) : core_(connection.core()) {
  if (!core_->IsOpen()) return;
  if (core_->batch_depth == 0) {
    if (!BeginTransaction()) return;
    core_->batch_doomed = false;
    // A batch writes many rows into large indexes: a larger page cache keeps their pages at hand.
    ExecuteSql(core_->engine->handle(), kBatchCacheSize);
  }
  ++core_->batch_depth;
  began_ = true;
}

DbBatch::~DbBatch() {
  if (began_ && !finished_) Commit();
}

// An immediate transaction takes the write lock at once. Another writer makes it wait: first as long as
// the engine's own short wait, then in steps, with a word to the person, up to the lock wait.
bool DbBatch::BeginTransaction() {
  sqlite3* db = core_->engine->handle();
  const auto deadline = std::chrono::steady_clock::now() + lock_wait;
  std::unique_ptr<ProgressDisplay> waiting;
  sqlite3_busy_timeout(db, kStepBusyTimeoutMs);
  int rc;
  while ((rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr)) == SQLITE_BUSY &&
         std::chrono::steady_clock::now() < deadline) {
    if (!waiting) {
      waiting = std::make_unique<ProgressDisplay>(*core_->ui);
      waiting->SetPhase("Attesa del database, in uso da un altro programma ...");
    }
  }
  sqlite3_busy_timeout(db, kNormalBusyTimeoutMs);
  waiting.reset();
  if (rc == SQLITE_OK) return true;
  if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
    core_->ui->ShowMessage(DatabaseInUseMessage(core_->engine->path()), MessageIcon::Stop);
  } else {
    core_->ui->ShowMessage("Errore in fase di apertura della transazione\n\n" + DescribeEngineError(db, rc),
                           MessageIcon::Stop);
  }
  return false;
}

// Commits the transaction, waiting for readers of other processes to let go, as the beginning does.
bool DbBatch::CommitTransaction() {
  sqlite3* db = core_->engine->handle();
  const auto deadline = std::chrono::steady_clock::now() + lock_wait;
  int rc;
  while ((rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr)) == SQLITE_BUSY &&
         std::chrono::steady_clock::now() < deadline) {
  }
  if (rc == SQLITE_OK) return true;
  const std::string description = DescribeEngineError(db, rc);
  ExecuteSql(db, "ROLLBACK");
  core_->ui->ShowMessage("Errore in fase di registrazione delle modifiche nel database\n\n" + description,
                         MessageIcon::Stop);
  return false;
}

// The end of the batch's share of the transaction.
void DbBatch::Finish() {
  finished_ = true;
  if (--core_->batch_depth == 0) ExecuteSql(core_->engine->handle(), kNormalCacheSize);
}

bool DbBatch::Commit() {
  if (!began_ || finished_) return false;
  if (!core_->IsOpen() || core_->batch_depth == 0) {
    finished_ = true;
    return false;
  }
  if (core_->batch_depth > 1) {
    Finish();
    return !core_->batch_doomed;
  }
  sqlite3* db = core_->engine->handle();
  bool stored;
  if (sqlite3_get_autocommit(db)) {
    // The engine ended the transaction after a failure it has reported: nothing of it is stored.
    stored = false;
  } else if (core_->batch_doomed) {
    ExecuteSql(db, "ROLLBACK");
    stored = false;
  } else {
    stored = CommitTransaction();
  }
  core_->batch_doomed = false;
  Finish();
  return stored;
}

void DbBatch::Rollback() {
  if (!began_ || finished_) return;
  if (!core_->IsOpen() || core_->batch_depth == 0) {
    finished_ = true;
    return;
  }
  if (core_->batch_depth > 1) {
    core_->batch_doomed = true;
    Finish();
    return;
  }
  core_->engine->BeforeWrite();
  sqlite3* db = core_->engine->handle();
  if (!sqlite3_get_autocommit(db)) ExecuteSql(db, "ROLLBACK");
  core_->batch_doomed = false;
  Finish();
}

bool DbBatch::Checkpoint() {
  if (!began_ || finished_ || !core_->IsOpen() || core_->batch_depth != 1 || core_->batch_doomed) return false;
  if (sqlite3_get_autocommit(core_->engine->handle())) return false;
  return CommitTransaction() && BeginTransaction();
}

}  // namespace viamappa
