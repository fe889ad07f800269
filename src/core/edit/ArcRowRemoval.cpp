#include "edit/ArcRowRemoval.h"

namespace viamappa {

ArcRowRemover::ArcRowRemover(DbConnection& connection)
    : arcs_(connection),
      current_(connection, kArcGeometryTable),
      first_(connection, kFirstArcGeometryTable) {}

ArcRemoval ArcRowRemover::Remove(std::int32_t id) {
  if (!IsOpen()) return ArcRemoval::Failed;
  if (!arcs_.Seek(id)) return ArcRemoval::Missing;
  for (PolylineTable* polylines : {&current_, &first_}) {
    if (polylines->Seek(id) && !polylines->Delete()) return ArcRemoval::Failed;
  }
  // Sought again: the deletions above went through other tables of the same file.
  if (!arcs_.Seek(id)) return ArcRemoval::Missing;
  return arcs_.Delete() ? ArcRemoval::Removed : ArcRemoval::Failed;
}

}  // namespace viamappa
