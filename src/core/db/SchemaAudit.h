// Comparing a database file with the catalog of its schema, and rebuilding from the catalog what the
// file has lost.
#pragma once

#include <string>
#include <vector>

#include "db/Engine.h"
#include "db/SchemaCatalog.h"

namespace viamappa {

struct SchemaDifference {
  enum class Kind {
    MissingTable,
    MissingField,
    ExtraField,
    FieldShape,  // another type, size or required flag
    MissingIndex,
    DifferentIndex,
    MissingRelation,
    DifferentRelation,
    MissingRows,
  };
  Kind kind;
  std::string table;    // the table concerned; for a relation, its foreign table
  std::string name;     // the field, index or relation; the key of a missing row
  std::string message;  // the difference in Italian, one line
};

// True for a difference that the catalog rebuilds without losing data: every one but those of fields,
// whose rebuilding would take values away or force them into another type.
bool IsRebuildable(const SchemaDifference& difference);

enum class AuditScope {
  Fields,      // the tables and their fields: what the schema alone tells, even of a damaged file
  Everything,  // also the indexes, the relations' descriptions and the rows every database keeps
};

// The differences of the file from the catalog: table by table in the catalog's order, then the relations,
// then the rows. Tables of other tools, and indexes and relations the catalog does not know, are none.
// The rows of a table whose fields differ are not looked at.
std::vector<SchemaDifference> CompareWithCatalog(const EngineDatabase& database, const SchemaCatalog& catalog,
                                                 AuditScope scope);

// Rebuilds, inside the caller's transaction, what the differences name among the missing tables (with
// their indexes), the missing or different indexes and the missing rows; relations are left to the
// caller. rebuilt gets each thing made, such as "tavola geoarchi", "indice archi.codice" or "riga 0 di
// comuni". False with the description at the first failure, for the caller to undo everything.
bool RebuildFromCatalog(EngineDatabase& database, const SchemaCatalog& catalog,
                        const std::vector<SchemaDifference>& differences, std::vector<std::string>& rebuilt,
                        std::string& error);

}  // namespace viamappa
