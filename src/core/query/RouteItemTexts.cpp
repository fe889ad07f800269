#include "query/RouteItemTexts.h"

#include "base/NumberText.h"
#include "base/TextUtil.h"

namespace viamappa {

namespace {

constexpr std::string_view kLocalityTable = "local";
constexpr std::string_view kLocalityName = "denom";
constexpr std::string_view kNotFound = " ";

std::string OrBlank(std::string_view text) {
  return text.empty() ? std::string(kNotFound) : std::string(text);
}

}  // namespace

RouteItemTexts::RouteItemTexts(DbConnection& connection)
    : arcs_(connection), localities_(connection, kLocalityTable) {
  localities_indexed_ = localities_.IsOpen() && localities_.SelectIndex(kPrimaryIndex);
}

void RouteItemTexts::Fill(RouteItem& item) {
  ArcRecord arc;
  if (arcs_.IsOpen() && arcs_.Seek(item.arc) && arcs_.Read(arc)) {
    item.street = OrBlank(TrimTrailingBlanks(arc.denom));
    item.locality = LocalityName(arc.local);
  } else {
    item.street = OrBlank({});
    item.locality = OrBlank({});
  }
}

std::string RouteItemTexts::LocalityName(std::int32_t id) {
  if (const auto known = locality_names_.find(id); known != locality_names_.end()) return known->second;
  std::string name;
  const std::string key = FormatInteger(id);
  if (!localities_indexed_ || !localities_.Seek({key}) || !localities_.GetField(kLocalityName, name))
    name.clear();
  name = OrBlank(name);
  locality_names_.emplace(id, name);
  return name;
}

}  // namespace viamappa
