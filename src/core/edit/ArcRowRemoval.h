// Removing whole arcs from the database for the batch commands of the graph.
#pragma once

#include <cstdint>

#include "db/DbConnection.h"
#include "geom/GraphRecords.h"

namespace viamappa {

enum class ArcRemoval { Removed, Missing, Failed };

// Deletes an arc with its polylines: the rows of geoarchi and orgarchi go before the row of archi,
// since the relations refuse an arc row that still has polylines.
class ArcRowRemover {
 public:
  explicit ArcRowRemover(DbConnection& connection);

  bool IsOpen() const { return arcs_.IsOpen() && current_.IsOpen() && first_.IsOpen(); }

  // Removed when the archi row went; Missing (nothing deleted) when there was none; Failed when the
  // database refused a deletion (the access layer has shown why).
  ArcRemoval Remove(std::int32_t id);

 private:
  ArcTable arcs_;
  PolylineTable current_;
  PolylineTable first_;
};

}  // namespace viamappa
