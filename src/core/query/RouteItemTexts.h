// The texts a route lists for each arc: its street name from archi and the name of its locality from
// local.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "db/DbConnection.h"
#include "db/DbTable.h"
#include "geom/GraphRecords.h"
#include "query/RouteChain.h"

namespace viamappa {

class RouteItemTexts {
 public:
  // Opens archi and local on their primary index, once for all the items of a computation.
  explicit RouteItemTexts(DbConnection& connection);

  // The street name (denom without trailing blanks) and the locality name (the denom of the local row
  // the arc's local field names) of the item's arc. A text not found, or empty, is a single blank.
  void Fill(RouteItem& item);

 private:
  std::string LocalityName(std::int32_t id);

  ArcTable arcs_;
  DbTable localities_;
  bool localities_indexed_ = false;
  std::unordered_map<std::int32_t, std::string> locality_names_;
};

}  // namespace viamappa
