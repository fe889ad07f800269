// The searches of the toponym search: municipalities, localities, map toponyms and streets whose names
// contain a fragment, each giving its hit lines. The fragment reaches the statements only as a LIKE
// piece that matches itself, so quotes and wildcards in it are plain characters.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "db/DbConnection.h"

namespace viamappa {

struct SearchRequest {
  std::string fragment;  // trailing blanks already removed, not empty
  bool municipalities = true;
  bool localities = true;
  bool toponyms = false;
  bool streets = true;
  bool whole_streets = false;     // one line per street instead of one per arc
  std::int32_t municipality = 0;  // above 0: only the places of that municipality (not the municipalities)
};

// The hit lines of the searches asked for, in the order municipalities, localities, toponyms, streets,
// each in its own order. Engine failures are shown by the access layer; that search gives no lines.
std::vector<std::string> SearchPlaces(DbConnection& connection, const SearchRequest& request);

// True for the class of municipal roads ("SC"), which whole streets list once per municipality.
bool IsMunicipalRoad(std::string_view classe);

}  // namespace viamappa
