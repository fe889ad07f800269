#include "io/ToponymImport.h"

#include <cstdio>
#include <memory>

#include "base/NumberText.h"
#include "base/TextUtil.h"
#include "base/Windows1252.h"
#include "db/DbBatch.h"
#include "db/DbTable.h"
#include "ui/ProgressDisplay.h"

namespace viamappa {

std::optional<ToponymLine> ParseToponymLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::string_view columns[8];
  std::size_t count = 0;
  std::size_t start = 0;
  while (count < 8) {
    const std::size_t tab = line.find('\t', start);
    columns[count++] =
        line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  if (count < 8) return std::nullopt;
  ToponymLine parsed;
  parsed.name = Windows1252ToUtf8(columns[1]);
  parsed.kind = Windows1252ToUtf8(columns[3]);
  parsed.minx = Windows1252ToUtf8(columns[4]);
  parsed.miny = Windows1252ToUtf8(columns[5]);
  parsed.maxx = Windows1252ToUtf8(columns[6]);
  parsed.maxy = Windows1252ToUtf8(columns[7]);
  return parsed;
}

bool IsLoadedToponymKind(std::string_view kind) {
  return kind == "MISC" || kind == "CS";
}

ToponymImportCounts ImportToponyms(DbConnection& connection, const std::string& path, UserInterface& ui) {
  ToponymImportCounts counts;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) return counts;
  ui.BeginBusy(true);
  ProgressDisplay progress(ui);
  progress.SetPhase("Importazione Toponimi");
  std::fseek(file.get(), 0, SEEK_END);
  const long size = std::ftell(file.get());
  std::fseek(file.get(), 0, SEEK_SET);

  DbBatch batch(connection);
  DbTable toponimi(connection, "toponimi");
  std::string line;
  long read_bytes = 0;
  bool header = true;
  std::int64_t id = 0;
  for (int c = 0; c != EOF;) {
    line.clear();
    while ((c = std::fgetc(file.get())) != EOF && c != '\n') line.push_back(static_cast<char>(c));
    read_bytes += static_cast<long>(line.size()) + 1;
    if (c == EOF && line.empty()) break;
    if (header) {
      header = false;
      continue;
    }
    progress.SetProgress(read_bytes, size);
    const std::optional<ToponymLine> parsed = ParseToponymLine(line);
    if (!parsed || !IsLoadedToponymKind(parsed->kind)) continue;
    ++counts.found;
    // Box values may come with a decimal point: the access layer reads both separators.
    if (toponimi.AddNew() && toponimi.SetField("ID", FormatInteger(id++)) &&
        toponimi.SetField("denom", parsed->name) && toponimi.SetField("comune", "0") &&
        toponimi.SetField("minx", Trim(parsed->minx)) && toponimi.SetField("miny", Trim(parsed->miny)) &&
        toponimi.SetField("maxx", Trim(parsed->maxx)) && toponimi.SetField("maxy", Trim(parsed->maxy)) &&
        toponimi.Update())
      ++counts.inserted;
  }
  return counts;
}

}  // namespace viamappa
