#include "map/StreetNameSource.h"

#include "base/NumberText.h"
#include "base/TextUtil.h"
#include "geom/GraphRecords.h"

namespace viamappa {

ArcTableNames::ArcTableNames(DbConnection& connection)
    : connection_(connection), table_(connection, kArcTable) {
  usable_ = table_.IsOpen() && table_.SelectIndex(kPrimaryIndex);
}

bool ArcTableNames::NameOf(std::int32_t arc_id, std::string& name) {
  if (!usable_) return false;
  const std::string key = FormatInteger(arc_id);
  if (!table_.Seek({std::string_view(key)})) return false;
  if (!table_.GetField(arc_field::kName, name)) return false;
  name.resize(TrimTrailingBlanks(name).size());
  return true;
}

void ArcTableNames::BeginPass() {
  if (usable_) pass_.emplace(connection_);
}

void ArcTableNames::EndPass() {
  pass_.reset();
}

}  // namespace viamappa
