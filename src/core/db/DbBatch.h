// One batch command's changes in one transaction. Without a batch every Update and Delete is
// durable at once; within one, they are stored together when the batch commits.
//
// A batch takes the write lock when it begins: another writer (another process, or another command of
// this one) cannot change the file until it ends, so that the checks a command makes after beginning
// its batch still hold when it writes. When another process holds the lock, the batch waits for it,
// saying so, up to a limit; when the lock does not come the batch has not begun (began() false) and the
// command must stop without writing.
//
// Batches nest: only the outermost one commits. Rollback undoes everything since the outermost batch
// began; a nested batch that rolls back dooms the outermost one, which then rolls back instead of
// committing. A batch that ends without Commit or Rollback commits, so that a command stopped by a
// refused row keeps what it stored before (the commands that must store all or nothing roll back).
#pragma once

#include <chrono>
#include <memory>

#include "db/ConnectionCore.h"

namespace viamappa {

class DbConnection;

class DbBatch {
 public:
  explicit DbBatch(DbConnection& connection);

  // Commits unless Commit or Rollback ended the batch already; a failure is shown.
  ~DbBatch();
  DbBatch(const DbBatch&) = delete;
  DbBatch& operator=(const DbBatch&) = delete;

  // False when the write lock could not be taken (the database is in use, or closed); the message was
  // shown. Nothing may be written then.
  bool began() const { return began_; }

  // Stores everything written since the outermost batch began. True when it is stored (for a nested
  // batch: when nothing has doomed the outermost one). False after the failure was shown: then nothing
  // of the batch is stored.
  bool Commit();

  // Undoes everything written since the outermost batch began (a nested batch dooms the outermost).
  void Rollback();

  // Commits now and starts a new transaction, so that a long command stores its work in steps.
  bool Checkpoint();

  // How long a batch waits for another writer to let go of the database.
  static void SetLockWait(std::chrono::milliseconds wait);
  static std::chrono::milliseconds LockWait();

 private:
  bool BeginTransaction();
  bool CommitTransaction();
  void Finish();

  std::shared_ptr<ConnectionCore> core_;
  bool began_ = false;
  bool finished_ = false;
};

// The message shown when the write lock of a database could not be taken.
std::string DatabaseInUseMessage(const std::string& path);

}  // namespace viamappa
