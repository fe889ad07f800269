// Where the street names written along the arcs come from: the name of an arc by its identifier.
#pragma once

#include <cstdint>
#include <string>

#include <optional>

#include "db/DbBatch.h"
#include "db/DbTable.h"

namespace viamappa {

class StreetNameSource {
 public:
  virtual ~StreetNameSource() = default;
  // The arc's name without trailing blanks; false when the arc has no row.
  virtual bool NameOf(std::int32_t arc_id, std::string& name) = 0;

  // Around the lookups of one redraw, so that a source can hold what they share.
  virtual void BeginPass() {}
  virtual void EndPass() {}
};

// The names as stored in the arcs table, read through its "codice" index: one prepared lookup
// reused for every arc, all the lookups of a redraw in one read transaction (the database is then
// locked and checked once, not once an arc).
class ArcTableNames : public StreetNameSource {
 public:
  explicit ArcTableNames(DbConnection& connection);
  bool NameOf(std::int32_t arc_id, std::string& name) override;
  void BeginPass() override;
  void EndPass() override;

 private:
  DbConnection& connection_;
  DbTable table_;
  std::optional<DbBatch> pass_;
  bool usable_ = false;
};

}  // namespace viamappa
