// The road graph written out as a polyline shapefile set, one record per arc in ascending identifier,
// in one of three attribute layouts: the whole graph, the communication of changes, and the graph for
// the external "Tramex" planning product.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "db/DbConnection.h"
#include "ui/UserInterface.h"

namespace viamappa {

enum class GraphExportKind {
  RoadGraph,  // codes, names, class and the square flag of every arc
  Changes,    // codes, names, the four change flags and the two dates of every arc
  Tramex,     // identifier, name and municipality name of every arc whose municipality exists
};

// True when some arc was renamed, changed or added (its deletion flag does not count).
bool HasGraphChanges(DbConnection& connection);

// Writes the set at shp_path, its ".shx", ".dbf" and ".cpg" beside it in the letter case of its
// extension. A damaged geometry row is shown and left out. When the set cannot be written whole, shows
// "Impossibile creare" with the path and answers nullopt; the files it was to replace are then left as
// they were. Otherwise the number of records written.
std::optional<std::int64_t> ExportGraph(DbConnection& connection, GraphExportKind kind,
                                        const std::string& shp_path, UserInterface& ui);

// The message of a file that could not be written: "Impossibile creare\n\n" and its path.
std::string CannotCreateMessage(const std::string& path);

}  // namespace viamappa
