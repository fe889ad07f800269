#include "query/ToponymSearch.h"

#include "base/TextUtil.h"
#include "db/DbQuery.h"
#include "db/JetDialect.h"
#include "geom/GraphRecords.h"
#include "query/PlaceTables.h"
#include "query/SearchHit.h"

namespace viamappa {

namespace {

// Identifiers are 16-bit in some tables and 32-bit in others: either reads.
std::int32_t Integer(DbQuery& query, int position) {
  std::int32_t value = 0;
  if (!query.GetLong(position, value)) query.GetShort(position, value);
  return value;
}

// A name as the lines show it: without its trailing blanks.
std::string Name(DbQuery& query, int position) {
  std::string text;
  query.GetText(position, text);
  text.resize(TrimTrailingBlanks(text).size());
  return text;
}

// "<column> LIKE '*fragment*'", the fragment matching itself.
std::string Contains(std::string_view column, const std::string& fragment) {
  return std::string(column) + " LIKE '*" + LikeFragment(fragment) + "*'";
}

// The filter on the municipality's identifier, bound as parameter 1, when there is one.
void FilterMunicipality(DbQuery& query, std::string& where, std::string_view column, std::int32_t id) {
  if (id <= 0) return;
  where += " AND " + std::string(column) + " = ?";
  query.BindInteger(1, id);
}

void SearchMunicipalities(DbConnection& connection, const SearchRequest& r, std::vector<std::string>& lines) {
  DbQuery query(connection);
  query.SetSelect("ID, denom");
  query.SetFrom(kMunicipalityTable);
  query.SetWhere(Contains("denom", r.fragment));
  query.SetOrderBy("denom");
  for (bool row = query.Open(); row; row = query.MoveNext())
    lines.push_back(MunicipalityHitLine(Integer(query, 0), Name(query, 1)));
}

void SearchLocalities(DbConnection& connection, const SearchRequest& r, std::vector<std::string>& lines) {
  DbQuery query(connection);
  query.SetSelect("l.ID, l.denom, c.denom");
  query.SetFrom(std::string(kLocalityTable) + " AS l, " + std::string(kMunicipalityTable) + " AS c");
  std::string where = Contains("l.denom", r.fragment) + " AND c.istat = l.istat";
  FilterMunicipality(query, where, "c.ID", r.municipality);
  query.SetWhere(where);
  query.SetOrderBy("l.denom");
  for (bool row = query.Open(); row; row = query.MoveNext())
    lines.push_back(LocalityHitLine(Integer(query, 0), Name(query, 1), Name(query, 2)));
}

void SearchToponyms(DbConnection& connection, const SearchRequest& r, std::vector<std::string>& lines) {
  DbQuery query(connection);
  query.SetSelect("t.ID, t.denom, c.denom");
  query.SetFrom(std::string(kToponymTable) + " AS t, " + std::string(kMunicipalityTable) + " AS c");
  std::string where = Contains("t.denom", r.fragment) + " AND c.ID = t.comune";
  FilterMunicipality(query, where, "c.ID", r.municipality);
  query.SetWhere(where);
  query.SetOrderBy("t.denom");
  for (bool row = query.Open(); row; row = query.MoveNext())
    lines.push_back(ToponymHitLine(Integer(query, 0), Name(query, 1), Name(query, 2)));
}

// Arcs whose locality or municipality has no row are not found: the three tables are joined.
void SearchStreets(DbConnection& connection, const SearchRequest& r, std::vector<std::string>& lines) {
  DbQuery query(connection);
  query.SetSelect("a.ID, a.denom, a.local, l.denom, a.comune, c.denom, a.classe");
  query.SetFrom(std::string(kArcTable) + " AS a, " + std::string(kLocalityTable) + " AS l, " +
                std::string(kMunicipalityTable) + " AS c");
  // Single arcs are found by their alternative name too; whole streets by their name only.
  std::string where = r.whole_streets ? Contains("a.denom", r.fragment)
                                      : "(" + Contains("a.denom", r.fragment) + " OR " +
                                            Contains("a.alterna", r.fragment) + ")";
  where += " AND a.local = l.ID AND a.comune = c.ID";
  FilterMunicipality(query, where, "c.ID", r.municipality);
  query.SetWhere(where);
  query.SetOrderBy(r.whole_streets ? "a.denom, c.denom, l.denom" : "c.denom, l.denom, a.denom");

  // Whole streets: a municipal road once per municipality, any other road once in all.
  std::string last_name;
  std::string last_municipality;
  for (bool row = query.Open(); row; row = query.MoveNext()) {
    const std::int32_t id = Integer(query, 0);
    const std::string name = Name(query, 1);
    const std::int32_t locality = Integer(query, 2);
    const std::int32_t municipality = Integer(query, 4);
    const std::string municipality_name = Name(query, 5);
    if (!r.whole_streets) {
      if (municipality < 1) {
        lines.push_back(StreetHitLine(id, name));
      } else {
        lines.push_back(
            StreetHitLine(id, name, locality < 1 ? std::string() : Name(query, 3), municipality_name));
      }
      continue;
    }
    std::string classe;
    query.GetText(6, classe);
    const bool municipal = IsMunicipalRoad(classe);
    if (name == last_name && (!municipal || municipality_name == last_municipality)) continue;
    last_name = name;
    last_municipality = municipality_name;
    lines.push_back(municipal && municipality >= 1 ? StreetHitLine(id, name, {}, municipality_name)
                                                   : StreetHitLine(id, name));
  }
}

}  // namespace

bool IsMunicipalRoad(std::string_view classe) {
  return EqualsIgnoringCase(Trim(classe), "SC");
}

std::vector<std::string> SearchPlaces(DbConnection& connection, const SearchRequest& request) {
  std::vector<std::string> lines;
  if (request.municipalities) SearchMunicipalities(connection, request, lines);
  if (request.localities) SearchLocalities(connection, request, lines);
  if (request.toponyms) SearchToponyms(connection, request, lines);
  if (request.streets) SearchStreets(connection, request, lines);
  return lines;
}

}  // namespace viamappa
