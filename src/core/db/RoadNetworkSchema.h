// The road-network schema as rows of the data dictionary, and the rows every new database starts with.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "db/DbConnection.h"
#include "db/DbTable.h"
#include "db/SchemaCatalog.h"

namespace viamappa {

struct SchemaField {
  const char* name;
  char type;  // dictionary type letter
  int size;
  bool required;
  const char* caption;
  const char* description;
};

struct SchemaIndex {
  const char* name;
  bool primary;
  const char* caption;
  const char* note;
  std::span<const char* const> fields;
};

struct SchemaTable {
  const char* name;
  const char* caption;
  const char* description;
  std::span<const SchemaField> fields;
  std::span<const SchemaIndex> indexes;
};

struct SchemaRelation {
  const char* name;
  const char* primary_table;
  const char* primary_field;
  const char* foreign_table;
  const char* foreign_field;
};

// The sixteen tables and thirteen relations, in the order their dictionary rows are written.
std::span<const SchemaTable> RoadNetworkTables();
std::span<const SchemaRelation> RoadNetworkRelations();

// The six open dictionary tables the schema rows go into.
struct DictionaryTables {
  DbTable& tavole;
  DbTable& campi;
  DbTable& indici;
  DbTable& indici2;
  DbTable& relaz;
  DbTable& relaz2;
};

// Writes the dictionary rows of every table (its table, field, index and index member rows) and then
// of every relation; stops at the first row refused (the access layer has shown why).
bool WriteRoadNetworkDictionary(const DictionaryTables& dictionary);

// The seed rows in the order they are written: the 210 regional company codes, then the placeholder
// municipality 0 and the placeholder locality 0, which arcs, toponyms and localities refer to until they
// are assigned real ones.
std::vector<CatalogRow> SeedRows();

// Writes the seed rows, the company codes through their index codice. False at the first row refused.
bool WriteSeedRows(DbConnection& connection);

}  // namespace viamappa
