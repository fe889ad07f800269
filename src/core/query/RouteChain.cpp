#include "query/RouteChain.h"

#include "geom/Measures.h"

namespace viamappa {

double RouteItem::Length() const {
  return viamappa::Length(Used());
}

double RouteChain::TotalLength() const {
  double total = 0;
  for (const RouteItem& item : items) total += item.Length();
  return total;
}

bool RouteChain::PassesThrough(std::int32_t arc) const {
  for (const RouteItem& item : items)
    if (item.arc == arc) return true;
  return false;
}

}  // namespace viamappa
