// The program's own schema as data: every table it creates with its fields and indexes, the relations
// between them, and the rows every database keeps. Checks and repairs compare a file with it, and
// rebuild from it what a file has lost.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "db/SchemaDefinition.h"

namespace viamappa {

// A table as the program creates it: its fields in order, and its indexes with primary and unique set as
// the creation sets them, the indexes that relations add over their foreign fields included.
struct CatalogTable {
  std::string name;
  std::vector<FieldDefinition> fields;
  std::vector<IndexDefinition> indexes;
};

// A row that every database keeps: its values as text, as the access layer takes them. The first value
// is the row's key.
struct CatalogRow {
  std::string table;
  std::vector<std::pair<std::string, std::string>> values;

  const std::string& key_field() const { return values.front().first; }
  const std::string& key() const { return values.front().second; }
  // The value of a field; empty when the row does not set it.
  std::string_view Value(std::string_view field) const;
};

struct SchemaCatalog {
  std::vector<CatalogTable> tables;
  std::vector<RelationDefinition> relations;
  std::vector<CatalogRow> rows;  // in the order they are written: a row comes after those it refers to

  // The table named in any letter case; null when the catalog has none.
  const CatalogTable* FindTable(std::string_view name) const;
};

// The catalog of every database the program creates: the seven dictionary tables, the sixteen tables of
// the road network, their thirteen relations, the regional company codes and the placeholder
// municipality 0 and locality 0.
const SchemaCatalog& ProgramCatalog();

}  // namespace viamappa
