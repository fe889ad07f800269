// One interactive edit as one transaction: every row it writes is stored, or none is. Unlike a batch,
// which keeps what it stored whatever stopped it, an edit that fails halfway is undone, so that no arc
// is left cut in two or pointing at a node that was never written.
#pragma once

#include <memory>

#include "db/ConnectionCore.h"

namespace viamappa {

class DbConnection;

class EditTransaction {
 public:
  // Begins the transaction (a savepoint inside a batch). active() is false when it could not begin.
  explicit EditTransaction(DbConnection& connection);

  // Rolls back unless Commit succeeded.
  ~EditTransaction();
  EditTransaction(const EditTransaction&) = delete;
  EditTransaction& operator=(const EditTransaction&) = delete;

  bool active() const { return state_ == State::Open; }

  // Stores every row written since the start; false, with everything undone and the failure shown
  // ("Errore in fase di registrazione delle modifiche"), when it cannot.
  bool Commit();

 private:
  // Undoes every row written since the start.
  void Rollback();

  enum class State { Failed, Open, Done };
  std::shared_ptr<ConnectionCore> core_;
  bool nested_ = false;
  State state_ = State::Failed;
};

}  // namespace viamappa
