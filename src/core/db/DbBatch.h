// One batch command's changes in one transaction. Without a batch every Update and Delete is
// durable at once; within one, they are stored together when the batch ends, whatever ended it, so
// that what was stored stays stored. Batches nest: only the outermost one commits; a nested one is a
// savepoint of it, so that it can undo its own changes alone.
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

  // False when no transaction could begin (a closed connection, a database another process is writing):
  // every change is then durable at once, and a command that must store all or nothing stops.
  bool active() const { return began_; }

  // Commits now and starts a new transaction, so that a long command stores its work in steps; false
  // when the commit failed (shown), and then nothing of the batch is stored. A nested batch is stored
  // with its outer one: it answers true.
  bool Checkpoint();

  // Undoes every change made since the batch began (or since its last checkpoint), so that a command
  // that cannot finish stores nothing; the batch goes on, empty. False when there was no batch to undo.
  bool Rollback();

 private:
  bool Commit();

  std::shared_ptr<ConnectionCore> core_;
  bool began_ = false;
  bool nested_ = false;  // a savepoint inside an outer batch
};

}  // namespace viamappa
