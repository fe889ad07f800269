// A bulk load inside a batch: while it lives, rows added to the given tables skip the per-row checks of
// the relations those tables refer through and of the column rules (the access layer has checked every
// value it writes), and the indexes of tables that start empty are built once at the end instead of row
// by row. A batch that rewrites a few fields of most rows of a full table names those fields: the
// indexes made of them alone are built once at the end as well, and only the relations through them
// are checked at the end instead of row by row. At the end the indexes are built and the relations checked
// over the whole tables; when a unique index or a relation does not hold, everything written since the start
// is undone, so the file never holds a broken rule, and the caller loads again row by row.
#pragma once

#include <string>
#include <vector>

#include "db/DbConnection.h"

namespace viamappa {

class BulkLoad {
 public:
  // Starts the load for the tables. Does nothing (active() false) outside a batch or on a closed
  // connection.
  BulkLoad(DbConnection& connection, const std::vector<std::string>& tables,
           const std::vector<std::string>& rewritten_fields = {});

  // Finish() when it was not called: the checks and indexes come back either way.
  ~BulkLoad();
  BulkLoad(const BulkLoad&) = delete;
  BulkLoad& operator=(const BulkLoad&) = delete;

  bool active() const { return active_; }

  // Builds the deferred indexes and checks every deferred relation over its whole table. True when
  // they all hold: the rows stay and the per-row checks come back. False when one does not: everything
  // written since the start is undone; broken then names what failed (an index or a relation).
  bool Finish(std::vector<std::string>* broken = nullptr);

  // Undoes everything written since the start, bringing the checks and indexes back, without building
  // or checking anything: the command stops.
  void Abandon();

 private:
  struct Saved {
    std::string name;
    std::string sql;
  };

  DbConnection& connection_;
  std::vector<RelationDefinition> relations_;
  std::vector<Saved> triggers_;
  std::vector<Saved> indexes_;
  bool active_ = false;
};

}  // namespace viamappa
