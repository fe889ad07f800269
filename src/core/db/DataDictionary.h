// The data dictionary: seven tables that describe every table, field, index and relation of the road
// network, the writers of their rows, and the builders that create the tables and relations from them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "db/DbConnection.h"
#include "db/DbTable.h"
#include "db/Engine.h"
#include "db/SchemaCatalog.h"
#include "ui/UserInterface.h"

namespace viamappa {

// The seven dictionary tables as CreateDictionary creates them, in its order: every field optional and
// accepting the empty string, one index neither primary nor unique.
const std::vector<CatalogTable>& DictionaryTableDefinitions();

// A field as CreateTable builds it from its row of campi: the size kept for text only, required when
// obblig reads "1", the empty string allowed for text when obblig reads "0".
FieldDefinition DictionaryFieldDefinition(std::string name, FieldType type, int stored_size,
                                          std::string_view obblig, int position);

// An index as CreateTable builds it from its row of indici: unique when primkey reads "1", and primary
// too unless the table has a primary key already, since the engine takes one a table.
IndexDefinition DictionaryIndexDefinition(std::string name, std::string_view primkey,
                                          std::vector<std::string> members, bool table_has_primary);

// Creates the dictionary tables tavole, campi, indici, indici2, relaz, relaz2 and utenti, stopping at
// the first failure, which is shown with the warning icon. True when all seven were created.
bool CreateDictionary(EngineDatabase& database, UserInterface& ui);

// Row writers, each on an open table of its dictionary table: AddNew, one SetField per column, Update.
// Each answers the result of Update.
bool AddTableRow(DbTable& tavole, std::string_view table, std::string_view caption,
                 std::string_view description);
bool AddFieldRow(DbTable& campi, std::string_view table, std::string_view field, char type, int size,
                 bool required, std::string_view caption, std::string_view description,
                 std::string_view rule = {}, std::string_view message = {});
bool AddIndexRow(DbTable& indici, std::string_view table, std::string_view index, bool primary,
                 std::string_view caption, std::string_view description);
bool AddIndexFieldRow(DbTable& indici2, std::string_view table, std::string_view index, int position,
                      std::string_view field);
bool AddRelationRow(DbTable& relaz, std::string_view relation, std::string_view primary_table,
                    std::string_view foreign_table);
bool AddRelationFieldRow(DbTable& relaz2, std::string_view relation, int position,
                         std::string_view primary_field, std::string_view foreign_field);

// Builds one table, its fields and its indexes from the dictionary rows read through the connection,
// with the changes made by the database: the connection's own engine, so that reading and building
// share one connection. Failures are shown; true when the table and all its indexes were created.
bool CreateTable(std::string_view table, DbConnection& connection, EngineDatabase& database);

// Builds every table listed in tavole, in alphabetical order, stopping at the first failure.
bool CreateAllTables(DbConnection& connection, EngineDatabase& database);

// Builds every relation listed in relaz; a failed one is shown and the next one is still built. True
// when all were built.
bool CreateRelations(DbConnection& connection, EngineDatabase& database);

}  // namespace viamappa
