#include "io/StreetDirectory.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/TextUtil.h"
#include "db/DbBatch.h"
#include "db/DbQuery.h"
#include "db/DbTable.h"
#include "geom/GraphRecords.h"
#include "ui/ProgressDisplay.h"

namespace viamappa {

bool SplitStreetName(std::string_view text, StreetName& out) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  const std::string upper = AsciiUpper(text);
  const std::size_t blank = upper.find(' ');
  if (blank == std::string::npos || blank == 0 || blank + 1 >= upper.size()) return false;
  out.type = upper.substr(0, blank);
  out.name = upper.substr(blank + 1);
  return true;
}

StreetDirectoryCounts BuildStreetDirectory(DbConnection& connection, UserInterface& ui) {
  StreetDirectoryCounts counts;
  ui.BeginBusy(true);
  ProgressDisplay progress(ui);

  // One batch for the whole build: its larger page cache also serves the sorting of the names.
  DbBatch batch(connection);
  const long long arcs = CountRows(connection, kArcTable).value_or(0);
  std::vector<std::string> types;
  std::vector<StreetName> names;
  std::unordered_set<std::string> seen_types;
  std::unordered_set<std::string> seen_names;  // type, a zero byte, name
  for (const std::string_view field : {arc_field::kName, arc_field::kAlternative}) {
    progress.SetPhase(field == arc_field::kName ? "Analizzo Denominazioni Principali"
                                                : "Analizzo Denominazioni Alternative");
    // The distinct values in the order a GROUP BY of the field returns them: grouped and ordered
    // without regard to the case of ASCII letters, as the field's collation does. Gathering them in a
    // hash and sorting only the distinct ones is much faster than sorting every row.
    std::unordered_map<std::string, std::string> groups;  // folded value -> value
    DbQuery query(connection);
    query.SetSelect(field);
    query.SetFrom(std::string(kArcTable));
    long long done = 0;
    std::string text;
    for (bool row = query.Open(); row; row = query.MoveNext()) {
      progress.SetProgress(++done, arcs);
      if (!query.GetText(0, text)) continue;
      groups.try_emplace(AsciiLower(text), text);
    }
    std::vector<const std::pair<const std::string, std::string>*> ordered;
    ordered.reserve(groups.size());
    for (const auto& group : groups) ordered.push_back(&group);
    std::sort(ordered.begin(), ordered.end(),
              [](const auto* a, const auto* b) { return a->first < b->first; });
    StreetName split;
    for (const auto* group : ordered) {
      if (!SplitStreetName(group->second, split)) continue;
      if (seen_types.insert(split.type).second) types.push_back(split.type);
      if (seen_names.insert(split.type + '\0' + split.name).second) names.push_back(split);
    }
  }

  progress.SetPhase("Registrazione Tipi Strada");
  {
    DbTable tipi(connection, kStreetTypeTable);
    long long done = 0;
    for (const std::string& type : types) {
      if (tipi.AddNew() && tipi.SetField(street_field::kType, type) && tipi.Update()) ++counts.types;
      progress.SetProgress(++done, static_cast<long long>(types.size()));
    }
  }
  progress.SetPhase("Registrazione Nomi Strada");
  {
    DbTable nomi(connection, kStreetNameTable);
    long long done = 0;
    for (const StreetName& pair : names) {
      if (nomi.AddNew() && nomi.SetField(street_field::kType, pair.type) &&
          nomi.SetField(street_field::kName, pair.name) && nomi.Update())
        ++counts.names;
      progress.SetProgress(++done, static_cast<long long>(names.size()));
    }
  }
  return counts;
}

}  // namespace viamappa
