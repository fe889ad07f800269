// For bulk loads inside a batch: rows added to some tables skip the per-row checks of the relations
// those tables refer through, and the relations are checked once, over the whole tables, at the end.
// When the check finds a broken reference everything written since the start is undone, so the file
// never holds a broken relation; the caller then loads row by row.
#pragma once

#include <string>
#include <vector>

#include "db/DbConnection.h"

namespace viamappa {

class DeferredRelationChecks {
 public:
  // Starts deferring the checks of the relations whose foreign table is one of tables. Does nothing
  // (active() false) outside a batch or on a closed connection.
  DeferredRelationChecks(DbConnection& connection, const std::vector<std::string>& tables);

  // Finish() when it was not called: the checks come back either way.
  ~DeferredRelationChecks();
  DeferredRelationChecks(const DeferredRelationChecks&) = delete;
  DeferredRelationChecks& operator=(const DeferredRelationChecks&) = delete;

  bool active() const { return active_; }

  // Checks every deferred relation over its whole table. True when they all hold: the per-row checks
  // come back and the rows stay. False when a reference is broken: everything written since the
  // start is undone (the checks come back with it); broken then names the relations that failed.
  bool Finish(std::vector<std::string>* broken = nullptr);

 private:
  struct Saved {
    std::string name;
    std::string sql;
  };

  DbConnection& connection_;
  std::vector<RelationDefinition> relations_;
  std::vector<Saved> triggers_;
  bool active_ = false;
};

}  // namespace viamappa
