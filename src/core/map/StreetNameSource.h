// Where the street names written along the arcs come from: the name of an arc by its identifier.
#pragma once

#include <cstdint>
#include <string>

#include "db/DbTable.h"

namespace viamappa {

class StreetNameSource {
 public:
  virtual ~StreetNameSource() = default;
  // The arc's name without trailing blanks; false when the arc has no row.
  virtual bool NameOf(std::int32_t arc_id, std::string& name) = 0;
};

// The names as stored in the arcs table, read through its "codice" index, one prepared lookup reused
// for every arc of a redraw.
class ArcTableNames : public StreetNameSource {
 public:
  explicit ArcTableNames(DbConnection& connection);
  bool NameOf(std::int32_t arc_id, std::string& name) override;

 private:
  DbTable table_;
  bool usable_ = false;
};

}  // namespace viamappa
