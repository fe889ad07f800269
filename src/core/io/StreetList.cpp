#include "io/StreetList.h"

#include <cstdio>

#include "base/TextUtil.h"
#include "base/Windows1252.h"
#include "db/DbQuery.h"
#include "geom/GraphRecords.h"
#include "io/GraphExport.h"
#include "io/StagedFiles.h"

namespace viamappa {

namespace {

constexpr std::string_view kLocalityTable = "local";
constexpr std::string_view kMunicipalityTable = "comuni";
constexpr std::string_view kName = "denom";
constexpr std::string_view kId = "ID";

std::string Column(std::string_view table, std::string_view field) {
  return std::string(table) + "." + std::string(field);
}

// The query of the list and the lines before its rows.
std::string PrepareQuery(DbQuery& query, const StreetListChoice& choice) {
  const std::string arcs(kArcTable), localities(kLocalityTable), municipalities(kMunicipalityTable);
  const std::string street = Column(kArcTable, arc_field::kName);
  const std::string locality = Column(kLocalityTable, kName);
  const std::string in_locality =
      Column(kArcTable, arc_field::kLocality) + " = " + Column(kLocalityTable, kId);
  if (choice.by_municipality) {
    const std::string columns = street + ", " + locality;
    query.SetSelect(columns);
    query.SetFrom(arcs + ", " + localities);
    query.SetWhere(Column(kArcTable, arc_field::kMunicipality) + " = ? AND " + in_locality);
    query.BindInteger(1, choice.municipality);
    query.SetGroupBy(columns);
    query.SetOrderBy(columns);
    return "Comune " + choice.municipality_name + "\n\nStradario\tLocalità\n";
  }
  if (choice.by_locality) {
    query.SetSelect(arc_field::kName);
    query.SetFrom(arcs);
    query.SetWhere(std::string(arc_field::kLocality) + " = ?");
    query.BindInteger(1, choice.locality);
    query.SetGroupBy(arc_field::kName);
    query.SetOrderBy(arc_field::kName);
    return "Località " + choice.locality_name + "\n\nStradario\n";
  }
  const std::string columns = Column(kMunicipalityTable, kName) + ", " + locality + ", " + street;
  query.SetSelect(columns);
  query.SetFrom(arcs + ", " + localities + ", " + municipalities);
  query.SetWhere(in_locality + " AND " + Column(kArcTable, arc_field::kMunicipality) + " = " +
                 Column(kMunicipalityTable, kId));
  query.SetGroupBy(columns);
  query.SetOrderBy(columns);
  return "Comune\tLocalità\tStradario\n";
}

// The text in the file's code page with every line ended by CR LF.
void AppendLines(std::string_view text, std::string& out) {
  const std::string bytes = Utf8ToWindows1252(text);
  for (const char c : bytes) {
    if (c == '\n') out += '\r';
    out += c;
  }
}

}  // namespace

std::optional<std::int64_t> WriteStreetList(DbConnection& connection, const StreetListChoice& choice,
                                            const std::string& path, UserInterface& ui) {
  const auto cannot_create = [&]() -> std::optional<std::int64_t> {
    ui.ShowMessage(CannotCreateMessage(path), MessageIcon::Warning);
    return std::nullopt;
  };
  StagedFiles staged({path});
  if (!staged.MayReplace()) return cannot_create();
  std::FILE* file = std::fopen(staged.staging(0).c_str(), "wb");
  if (file == nullptr) return cannot_create();

  DbQuery query(connection);
  std::string bytes;
  AppendLines(PrepareQuery(query, choice), bytes);
  std::int64_t rows = 0;
  bool written = true;
  for (bool row = query.Open(); row && written; row = query.MoveNext()) {
    std::string line;
    for (int i = 0; i < query.FieldCount(); ++i) {
      std::string text;
      query.GetText(i, text);
      if (i > 0) line += '\t';
      line += TrimTrailingBlanks(text);
    }
    line += '\n';
    AppendLines(line, bytes);
    ++rows;
    // Written in pieces, so that a long list does not wait in memory.
    if (bytes.size() >= (1u << 16)) {
      written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
      bytes.clear();
    }
  }
  written = written && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  written = std::fclose(file) == 0 && written;
  if (!written || !staged.Commit()) return cannot_create();
  return rows;
}

}  // namespace viamappa
