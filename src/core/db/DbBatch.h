// One batch command's changes in one transaction. Without a batch every Update and Delete is
// durable at once; within one, they are stored together when the batch ends, whatever ended it, so
// that what was stored stays stored. Batches nest: only the outermost one commits.
#pragma once

#include <memory>

#include "db/ConnectionCore.h"

namespace viamappa {

class DbConnection;

class DbBatch {
 public:
  explicit DbBatch(DbConnection& connection);

  // Commits; a failure is shown ("Errore in fase di registrazione delle modifiche").
  ~DbBatch();
  DbBatch(const DbBatch&) = delete;
  DbBatch& operator=(const DbBatch&) = delete;

  // Commits now and starts a new transaction, so that a long command stores its work in steps.
  bool Checkpoint();

  // Forgets every change since the outermost batch began or last committed, enclosing batches' changes
  // included, and starts a new transaction: a command that must store all of its work or none of it
  // calls this when it stops part-way. False when no transaction was open to forget.
  bool Rollback();

 private:
  bool Commit();

  std::shared_ptr<ConnectionCore> core_;
  bool began_ = false;
};

}  // namespace viamappa
