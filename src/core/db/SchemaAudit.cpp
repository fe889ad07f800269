#include "db/SchemaAudit.h"

#include <algorithm>
#include <set>

#include "base/NumberText.h"
#include "base/TextUtil.h"
#include "db/EngineError.h"
#include "db/FieldValue.h"
#include "db/JetDialect.h"
#include "db/Sqlite.h"

namespace viamappa {

namespace {

using Kind = SchemaDifference::Kind;

bool SameName(std::string_view a, std::string_view b) {
  return EqualsIgnoringCase(a, b);
}

// A type as messages name it: "Testo (10)", "Intero".
std::string TypeText(FieldType type, int size) {
  std::string text(FieldTypeName(type));
  if (type == FieldType::Text) text += " (" + FormatInteger(size) + ")";
  return text;
}

const char* RequiredText(bool required) {
  return required ? "obbligatorio" : "facoltativo";
}

// Appends the field differences of a table; true when there were none.
bool CompareFields(const CatalogTable& table, const std::vector<FieldShape>& stored,
                   std::vector<SchemaDifference>& differences) {
  const std::size_t before = differences.size();
  for (const FieldDefinition& field : table.fields) {
    const auto found = std::find_if(stored.begin(), stored.end(), [&](const FieldShape& shape) {
      return SameName(shape.name, field.name);
    });
    if (found == stored.end()) {
      differences.push_back({Kind::MissingField, table.name, field.name,
                             "Nella tavola " + table.name + " manca il campo " + field.name + "."});
      continue;
    }
    const std::string qualified = table.name + "." + field.name;
    const int size = field.type == FieldType::Text ? field.size : 0;
    if (found->type != field.type || found->size != size) {
      differences.push_back({Kind::FieldShape, table.name, field.name,
                             "Il campo " + qualified + " è di tipo " + TypeText(found->type, found->size) +
                                 " invece di " + TypeText(field.type, size) + "."});
    } else if (found->required != field.required) {
      differences.push_back({Kind::FieldShape, table.name, field.name,
                             "Il campo " + qualified + " è " + RequiredText(found->required) + " invece di " +
                                 RequiredText(field.required) + "."});
    }
  }
  for (const FieldShape& shape : stored) {
    const bool known =
        std::any_of(table.fields.begin(), table.fields.end(),
                    [&](const FieldDefinition& field) { return SameName(field.name, shape.name); });
    if (!known)
      differences.push_back(
          {Kind::ExtraField, table.name, shape.name,
           "Nella tavola " + table.name + " il campo " + shape.name + " non appartiene allo schema."});
  }
  return differences.size() == before;
}

// An index as messages describe it: "sui campi ID, sub, chiave primaria".
std::string IndexText(const std::vector<std::string>& fields, bool primary, bool unique) {
  std::string text = fields.size() == 1 ? "sul campo " : "sui campi ";
  for (std::size_t i = 0; i < fields.size(); ++i) text += (i ? ", " : "") + fields[i];
  if (primary) return text + ", chiave primaria";
  return unique ? text + ", univoco" : text;
}

void CompareIndexes(const CatalogTable& table, const std::vector<IndexShape>& stored,
                    std::vector<SchemaDifference>& differences) {
  for (const IndexDefinition& index : table.indexes) {
    const std::string qualified = table.name + "." + index.name;
    const auto found = std::find_if(stored.begin(), stored.end(), [&](const IndexShape& shape) {
      return SameName(shape.name, index.name);
    });
    if (found == stored.end()) {
      differences.push_back(
          {Kind::MissingIndex, table.name, index.name, "Manca l'indice " + qualified + "."});
      continue;
    }
    const bool unique = index.unique || index.primary;
    const bool same_members =
        std::equal(found->fields.begin(), found->fields.end(), index.fields.begin(), index.fields.end(),
                   [](const std::string& a, const std::string& b) { return SameName(a, b); });
    if (!same_members || found->primary != index.primary || found->unique != unique)
      differences.push_back({Kind::DifferentIndex, table.name, index.name,
                             "L'indice " + qualified + " è " +
                                 IndexText(found->fields, found->primary, found->unique) + " invece che " +
                                 IndexText(index.fields, index.primary, unique) + "."});
  }
}

std::string PairsText(const RelationDefinition& relation) {
  std::string text;
  for (const FieldPair& pair : relation.fields) {
    text += (text.empty() ? "" : "; ") + relation.primary_table + "." + pair.primary_field + " e " +
            relation.foreign_table + "." + pair.foreign_field;
  }
  return text;
}

bool SameRelation(const RelationDefinition& a, const RelationDefinition& b) {
  return SameName(a.primary_table, b.primary_table) && SameName(a.foreign_table, b.foreign_table) &&
         std::equal(a.fields.begin(), a.fields.end(), b.fields.begin(), b.fields.end(),
                    [](const FieldPair& x, const FieldPair& y) {
                      return SameName(x.primary_field, y.primary_field) &&
                             SameName(x.foreign_field, y.foreign_field);
                    });
}

void CompareRelations(const SchemaCatalog& catalog, const std::vector<RelationDefinition>& stored,
                      std::vector<SchemaDifference>& differences) {
  for (const RelationDefinition& relation : catalog.relations) {
    const auto found = std::find_if(stored.begin(), stored.end(), [&](const RelationDefinition& existing) {
      return SameName(existing.name, relation.name);
    });
    if (found == stored.end()) {
      differences.push_back({Kind::MissingRelation, relation.foreign_table, relation.name,
                             "Manca la relazione " + relation.name + "."});
    } else if (!SameRelation(*found, relation)) {
      differences.push_back({Kind::DifferentRelation, relation.foreign_table, relation.name,
                             "La relazione " + relation.name + " unisce " + PairsText(*found) +
                                 " invece di " + PairsText(relation) + "."});
    }
  }
}

const FieldDefinition* FindField(const CatalogTable& table, std::string_view name) {
  for (const FieldDefinition& field : table.fields) {
    if (SameName(field.name, name)) return &field;
  }
  return nullptr;
}

// The value a row's text becomes in its field; false when the catalog's own text does not fit it.
bool ValueOf(const CatalogTable& table, const std::string& field, const std::string& text,
             FieldValue& value) {
  const FieldDefinition* definition = FindField(table, field);
  return definition &&
         TextToFieldValue(definition->type, definition->size, text, value) == ConversionError::None;
}

// True when the table holds the row's key. A key that cannot be looked up counts as held, so that
// nothing is written over a table that cannot be read.
bool RowPresent(sqlite3* db, const CatalogTable& table, const CatalogRow& row) {
  FieldValue key;
  if (!ValueOf(table, row.key_field(), row.key(), key)) return true;
  SqliteStatement find = PrepareStatement(db, "SELECT 1 FROM " + QuoteIdentifier(table.name) + " WHERE " +
                                                  QuoteIdentifier(row.key_field()) + " = ?1 LIMIT 1");
  if (!find || BindValue(find.get(), 1, key) != SQLITE_OK) return true;
  return sqlite3_step(find.get()) != SQLITE_DONE;
}

std::string RowText(const CatalogRow& row) {
  const std::string_view name = row.Value("denom");
  return "la riga " + row.key() + " della tavola " + row.table +
         (name.empty() ? "" : " (\"" + std::string(name) + "\")");
}

// The catalog's rows missing from the tables that are present with their fields, table by table.
std::vector<std::vector<const CatalogRow*>> MissingRows(sqlite3* db, const SchemaCatalog& catalog,
                                                        const std::set<std::string>& sound_tables) {
  std::vector<std::vector<const CatalogRow*>> missing;
  std::string previous;
  for (const CatalogRow& row : catalog.rows) {
    const CatalogTable* table = catalog.FindTable(row.table);
    if (!table || !sound_tables.count(table->name)) continue;
    if (missing.empty() || !SameName(previous, row.table)) missing.emplace_back();
    previous = row.table;
    if (!RowPresent(db, *table, row)) missing.back().push_back(&row);
  }
  std::erase_if(missing, [](const auto& rows) { return rows.empty(); });
  return missing;
}

void CompareRows(sqlite3* db, const SchemaCatalog& catalog, const std::set<std::string>& sound_tables,
                 std::vector<SchemaDifference>& differences) {
  for (const auto& rows : MissingRows(db, catalog, sound_tables)) {
    const std::string& table = rows.front()->table;
    const auto all = std::count_if(catalog.rows.begin(), catalog.rows.end(),
                                   [&](const CatalogRow& row) { return SameName(row.table, table); });
    // A table that lost every row is one problem, not one for each row.
    if (rows.size() > 1 && static_cast<std::ptrdiff_t>(rows.size()) == all) {
      differences.push_back(
          {Kind::MissingRows,
           table,
           {},
           "Mancano tutte le " + FormatInteger(all) + " righe della tavola " + table + "."});
      continue;
    }
    for (const CatalogRow* row : rows) {
      differences.push_back({Kind::MissingRows, table, row->key(), "Manca " + RowText(*row) + "."});
    }
  }
}

bool Fail(std::string& error, const std::string& what, const std::string& description) {
  error = "Impossibile ricostruire " + what + " (" + description + ").";
  return false;
}

bool ForgetIndexes(EngineDatabase& database, const std::string& table, const std::string* index,
                   std::string& error) {
  std::string sql = "DELETE FROM vm_index WHERE table_name = " + SqlTextLiteral(table);
  if (index) sql += " AND index_name = " + SqlTextLiteral(*index);
  return database.Execute(sql, error);
}

bool RebuildTable(EngineDatabase& database, const CatalogTable& table, std::string& error) {
  const std::string what = "la tavola " + table.name;
  std::string failure;
  TableDefinition definition(table.name);
  for (const FieldDefinition& field : table.fields) {
    if (!definition.AppendField(field, failure)) return Fail(error, what, failure);
  }
  // The descriptions of the lost table's indexes stay behind it.
  if (!ForgetIndexes(database, table.name, nullptr, failure) || !database.AppendTable(definition, failure))
    return Fail(error, what, failure);
  for (const IndexDefinition& index : table.indexes) {
    if (!database.CreateIndex(table.name, index, failure))
      return Fail(error, "l'indice " + table.name + "." + index.name, failure);
  }
  return true;
}

bool RebuildIndex(EngineDatabase& database, const CatalogTable& table, const IndexDefinition& index,
                  std::string& error) {
  const std::string what = "l'indice " + table.name + "." + index.name;
  std::string failure;
  if (const auto stored = database.FindIndex(table.name, index.name)) {
    if (!database.Execute("DROP INDEX " + QuoteIdentifier(stored->engine_name), failure))
      return Fail(error, what, failure);
  }
  if (!ForgetIndexes(database, table.name, &index.name, failure) ||
      !database.CreateIndex(table.name, index, failure))
    return Fail(error, what, failure);
  return true;
}

bool InsertRow(sqlite3* db, const CatalogTable& table, const CatalogRow& row, std::string& error) {
  std::string columns, placeholders;
  std::vector<FieldValue> values(row.values.size());
  for (std::size_t i = 0; i < row.values.size(); ++i) {
    const auto& [field, text] = row.values[i];
    if (!ValueOf(table, field, text, values[i]))
      return Fail(error, RowText(row), "il valore del campo " + field + " non è valido");
    columns += (i ? ", " : "") + QuoteIdentifier(field);
    placeholders += (i ? ", ?" : "?") + FormatInteger(static_cast<std::int64_t>(i) + 1);
  }
  SqliteStatement insert = PrepareStatement(
      db, "INSERT INTO " + QuoteIdentifier(table.name) + " (" + columns + ") VALUES (" + placeholders + ")");
  int rc = insert ? SQLITE_OK : sqlite3_errcode(db);
  for (std::size_t i = 0; rc == SQLITE_OK && i < values.size(); ++i)
    rc = BindValue(insert.get(), static_cast<int>(i) + 1, values[i]);
  if (rc == SQLITE_OK) rc = sqlite3_step(insert.get());
  if (rc == SQLITE_DONE) return true;
  return Fail(error, RowText(row), DescribeEngineError(db, rc));
}

// What a list of restored rows of one table is called in the report.
std::string RowsText(const std::vector<const CatalogRow*>& rows) {
  const std::string& table = rows.front()->table;
  if (rows.size() == 1) return "riga " + rows.front()->key() + " di " + table;
  if (rows.size() > 5) return FormatInteger(static_cast<std::int64_t>(rows.size())) + " righe di " + table;
  std::string keys;
  for (const CatalogRow* row : rows) keys += (keys.empty() ? "" : ", ") + row->key();
  return "righe " + keys + " di " + table;
}

}  // namespace

bool IsRebuildable(const SchemaDifference& difference) {
  switch (difference.kind) {
    case Kind::MissingField:
    case Kind::ExtraField:
    case Kind::FieldShape:
      return false;
    default:
      return true;
  }
}

std::vector<SchemaDifference> CompareWithCatalog(const EngineDatabase& database, const SchemaCatalog& catalog,
                                                 AuditScope scope) {
  std::vector<SchemaDifference> differences;
  std::set<std::string> sound_tables;
  for (const CatalogTable& table : catalog.tables) {
    const auto stored = database.FindTable(table.name);
    if (!stored) {
      differences.push_back({Kind::MissingTable, table.name, {}, "Manca la tavola " + table.name + "."});
      continue;
    }
    if (CompareFields(table, database.DescribeFields(*stored), differences)) sound_tables.insert(table.name);
    if (scope == AuditScope::Everything)
      CompareIndexes(table, database.DescribeIndexes(*stored), differences);
  }
  if (scope == AuditScope::Fields) return differences;
  CompareRelations(catalog, database.DescribeRelations(), differences);
  CompareRows(database.handle(), catalog, sound_tables, differences);
  return differences;
}

bool RebuildFromCatalog(EngineDatabase& database, const SchemaCatalog& catalog,
                        const std::vector<SchemaDifference>& differences, std::vector<std::string>& rebuilt,
                        std::string& error) {
  bool rows = false;
  for (const SchemaDifference& difference : differences) {
    const CatalogTable* table = catalog.FindTable(difference.table);
    switch (difference.kind) {
      case Kind::MissingTable:
        if (!table || !RebuildTable(database, *table, error)) return false;
        rebuilt.push_back("tavola " + table->name);
        rows = true;
        break;
      case Kind::MissingIndex:
      case Kind::DifferentIndex: {
        if (!table) break;
        const auto index =
            std::find_if(table->indexes.begin(), table->indexes.end(),
                         [&](const IndexDefinition& i) { return SameName(i.name, difference.name); });
        if (index == table->indexes.end()) break;
        if (!RebuildIndex(database, *table, *index, error)) return false;
        rebuilt.push_back("indice " + table->name + "." + index->name);
        break;
      }
      case Kind::MissingRows:
        rows = true;
        break;
      default:
        break;
    }
  }
  if (!rows) return true;
  // Every table of the catalog is present with its fields by now.
  std::set<std::string> tables;
  for (const CatalogTable& table : catalog.tables) tables.insert(table.name);
  for (const auto& missing : MissingRows(database.handle(), catalog, tables)) {
    for (const CatalogRow* row : missing) {
      if (!InsertRow(database.handle(), *catalog.FindTable(row->table), *row, error)) return false;
    }
    rebuilt.push_back(RowsText(missing));
  }
  return true;
}

}  // namespace viamappa
