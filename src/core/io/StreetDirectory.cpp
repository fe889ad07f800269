#include "io/StreetDirectory.h"

#include <unordered_set>
#include <vector>

#include "base/TextUtil.h"
#include "db/DbBatch.h"
#include "db/DbQuery.h"
#include "db/DbTable.h"
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
  std::int32_t arcs = 0;
  {
    DbQuery count(connection);
    count.SetSelect("count(*)");
    count.SetFrom("archi");
    if (count.Open()) count.GetLong(0, arcs);
  }
  std::vector<std::string> types;
  std::vector<StreetName> names;
  std::unordered_set<std::string> seen_types;
  std::unordered_set<std::string> seen_names;  // type, a zero byte, name
  for (const char* field : {"denom", "alterna"}) {
    progress.SetPhase(field == std::string_view("denom") ? "Analizzo Denominazioni Principali"
                                                         : "Analizzo Denominazioni Alternative");
    // Each group also tells how many arcs it covers: the share of the arcs done is the progress.
    DbQuery query(connection);
    query.SetSelect(std::string(field) + ", count(*)");
    query.SetFrom("archi");
    query.SetGroupBy(field);
    long long done = 0;
    StreetName split;
    std::string text;
    for (bool row = query.Open(); row; row = query.MoveNext()) {
      std::int32_t covered = 0;
      query.GetLong(1, covered);
      progress.SetProgress(done += covered, arcs);
      query.GetText(0, text);
      if (!SplitStreetName(text, split)) continue;
      if (seen_types.insert(split.type).second) types.push_back(split.type);
      if (seen_names.insert(split.type + '\0' + split.name).second) names.push_back(split);
    }
  }

  progress.SetPhase("Registrazione Tipi Strada");
  {
    DbTable tipi(connection, "tipi");
    long long done = 0;
    for (const std::string& type : types) {
      if (tipi.AddNew() && tipi.SetField("tipo", type) && tipi.Update()) ++counts.types;
      progress.SetProgress(++done, static_cast<long long>(types.size()));
    }
  }
  progress.SetPhase("Registrazione Nomi Strada");
  {
    DbTable nomi(connection, "nomi");
    long long done = 0;
    for (const StreetName& pair : names) {
      if (nomi.AddNew() && nomi.SetField("tipo", pair.type) && nomi.SetField("nome", pair.name) &&
          nomi.Update())
        ++counts.names;
      progress.SetProgress(++done, static_cast<long long>(names.size()));
    }
  }
  return counts;
}

}  // namespace viamappa
