#include "db/SchemaCatalog.h"

#include <algorithm>

#include "base/TextUtil.h"
#include "db/DataDictionary.h"
#include "db/RoadNetworkSchema.h"

namespace viamappa {

namespace {

bool SameName(std::string_view a, std::string_view b) {
  return EqualsIgnoringCase(a, b);
}

// The index a relation adds over its foreign fields when no index of the foreign table starts with them,
// as the engine does when it creates the relation.
void AddRelationIndex(CatalogTable& foreign, const RelationDefinition& relation) {
  const std::size_t count = relation.fields.size();
  const bool served =
      std::any_of(foreign.indexes.begin(), foreign.indexes.end(), [&](const IndexDefinition& index) {
        if (index.fields.size() < count) return false;
        return std::all_of(relation.fields.begin(), relation.fields.end(), [&](const FieldPair& pair) {
          return std::any_of(index.fields.begin(), index.fields.begin() + static_cast<std::ptrdiff_t>(count),
                             [&](const std::string& member) { return SameName(member, pair.foreign_field); });
        });
      });
  if (served) return;
  IndexDefinition index;
  index.name = relation.name;
  for (const FieldPair& pair : relation.fields) index.fields.push_back(pair.foreign_field);
  foreign.indexes.push_back(std::move(index));
}

SchemaCatalog BuildProgramCatalog() {
  SchemaCatalog catalog;
  catalog.tables = DictionaryTableDefinitions();
  // The road-network tables as the builders make them from their dictionary rows.
  for (const SchemaTable& table : RoadNetworkTables()) {
    CatalogTable& definition = catalog.tables.emplace_back();
    definition.name = table.name;
    int position = 0;
    for (const SchemaField& field : table.fields) {
      definition.fields.push_back(DictionaryFieldDefinition(
          field.name, *FieldTypeFromLetter(field.type), field.size, field.required ? "1" : "0", ++position));
    }
    bool has_primary = false;
    for (const SchemaIndex& index : table.indexes) {
      definition.indexes.push_back(DictionaryIndexDefinition(
          index.name, index.primary ? "1" : "0", {index.fields.begin(), index.fields.end()}, has_primary));
      has_primary = has_primary || definition.indexes.back().primary;
    }
  }
  for (const SchemaRelation& relation : RoadNetworkRelations()) {
    catalog.relations.push_back({relation.name,
                                 relation.primary_table,
                                 relation.foreign_table,
                                 {{relation.primary_field, relation.foreign_field}}});
  }
  for (const RelationDefinition& relation : catalog.relations) {
    for (CatalogTable& table : catalog.tables) {
      if (SameName(table.name, relation.foreign_table)) AddRelationIndex(table, relation);
    }
  }
  catalog.rows = SeedRows();
  return catalog;
}

}  // namespace

std::string_view CatalogRow::Value(std::string_view field) const {
  for (const auto& [name, value] : values) {
    if (SameName(name, field)) return value;
  }
  return {};
}

const CatalogTable* SchemaCatalog::FindTable(std::string_view name) const {
  for (const CatalogTable& table : tables) {
    if (SameName(table.name, name)) return &table;
  }
  return nullptr;
}

const SchemaCatalog& ProgramCatalog() {
  static const SchemaCatalog catalog = BuildProgramCatalog();
  return catalog;
}

}  // namespace viamappa
