#include "db/DataDictionary.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/NumberText.h"
#include "db/DbQuery.h"
#include "db/FieldType.h"
#include "db/JetDialect.h"

namespace viamappa {

namespace {

constexpr const char* kDictionaryCaption = "Creazione Tavole Speciali";
constexpr std::size_t kMaxMembers = 10;

std::string Quoted(std::string_view name) {
  std::string quoted;
  quoted.reserve(name.size() + 2);
  quoted.append(1, '"').append(name).append(1, '"');
  return quoted;
}

void Warn(UserInterface& ui, std::string_view caption, const std::string& text,
          const std::string& description) {
  ui.ShowMessage(text + "\n\n" + description, MessageIcon::Warning, caption);
}

struct DictionaryField {
  const char* name;
  FieldType type;
  int size;
};

struct DictionaryTable {
  const char* name;
  std::vector<DictionaryField> fields;
  const char* index;
  std::vector<const char*> index_fields;
};

// The dictionary tables in the order they are created.
std::vector<CatalogTable> BuildDictionaryTables() {
  using T = FieldType;
  const DictionaryTable tables[] = {
      {"tavole", {{"nome", T::Text, 8}, {"denom", T::Text, 30}, {"note", T::Text, 240}}, "nome", {"nome"}},
      {"campi",
       {{"tavola", T::Text, 8},
        {"nome", T::Text, 8},
        {"tipo", T::Text, 1},
        {"size", T::Integer, 0},
        {"obblig", T::Boolean, 0},
        {"denom", T::Text, 30},
        {"note", T::Text, 240},
        {"regola", T::Text, 240},
        {"mess", T::Text, 240}},
       "nome",
       {"tavola", "nome"}},
      {"indici",
       {{"tavola", T::Text, 8},
        {"nome", T::Text, 8},
        {"primkey", T::Boolean, 0},
        {"denom", T::Text, 30},
        {"note", T::Text, 240}},
       "nome",
       {"tavola", "nome"}},
      {"indici2",
       {{"tavola", T::Text, 8}, {"nome", T::Text, 8}, {"progr", T::Integer, 0}, {"campo", T::Text, 8}},
       "elemento",
       {"tavola", "nome", "progr"}},
      {"relaz", {{"nome", T::Text, 16}, {"interna", T::Text, 8}, {"esterna", T::Text, 8}}, "nome", {"nome"}},
      {"relaz2",
       {{"nome", T::Text, 16}, {"progr", T::Integer, 0}, {"interno", T::Text, 8}, {"esterno", T::Text, 8}},
       "elemento",
       {"nome", "progr"}},
      {"utenti",
       {{"nome", T::Text, 8},
        {"denom", T::Text, 30},
        {"passwd", T::Text, 9},
        {"potere", T::Integer, 0},
        {"progetto", T::Integer, 0}},
       "nome",
       {"nome"}},
  };
  std::vector<CatalogTable> definitions;
  for (const DictionaryTable& table : tables) {
    CatalogTable& definition = definitions.emplace_back();
    definition.name = table.name;
    int position = 0;
    for (const DictionaryField& field : table.fields) {
      FieldDefinition& f = definition.fields.emplace_back();
      f.name = field.name;
      f.type = field.type;
      f.size = field.size;
      f.ordinal_position = ++position;
      f.required = false;
      f.allow_zero_length = true;
    }
    IndexDefinition& index = definition.indexes.emplace_back();
    index.name = table.index;
    index.fields.assign(table.index_fields.begin(), table.index_fields.end());
    index.ignore_nulls = true;
    index.clustered = true;
  }
  return definitions;
}

// Reads the current row's text at a position; empty for NULL.
std::string Text(DbQuery& query, int position) {
  std::string text;
  query.GetText(position, text);
  return text;
}

// Places a dictionary entry at its position in a list of at most kMaxMembers; false for a position
// outside the list.
template <typename Entry>
bool Place(std::vector<Entry>& list, std::int32_t position, Entry entry) {
  if (position < 0 || position >= static_cast<std::int32_t>(kMaxMembers)) return false;
  if (list.size() <= static_cast<std::size_t>(position)) list.resize(position + 1);
  list[position] = std::move(entry);
  return true;
}

}  // namespace

const std::vector<CatalogTable>& DictionaryTableDefinitions() {
  static const std::vector<CatalogTable> tables = BuildDictionaryTables();
  return tables;
}

FieldDefinition DictionaryFieldDefinition(std::string name, FieldType type, int stored_size,
                                          std::string_view obblig, int position) {
  FieldDefinition field;
  field.name = std::move(name);
  field.type = type;
  field.size = type == FieldType::Text ? stored_size : 0;
  field.ordinal_position = position;
  field.required = obblig == "1";
  field.allow_zero_length = type == FieldType::Text && obblig == "0";
  return field;
}

IndexDefinition DictionaryIndexDefinition(std::string name, std::string_view primkey,
                                          std::vector<std::string> members, bool table_has_primary) {
  IndexDefinition index;
  index.name = std::move(name);
  index.fields = std::move(members);
  index.primary = primkey == "1" && !table_has_primary;
  index.unique = primkey == "1";
  index.clustered = true;
  index.ignore_nulls = true;
  return index;
}

bool CreateDictionary(EngineDatabase& database, UserInterface& ui) {
  for (const CatalogTable& table : DictionaryTableDefinitions()) {
    std::string error;
    if (!CheckObjectName(table.name, error)) {
      Warn(ui, kDictionaryCaption, "Errore inizializzazione tavola " + Quoted(table.name), error);
      return false;
    }
    TableDefinition definition(table.name);
    for (const FieldDefinition& field : table.fields) {
      if (!definition.AppendField(field, error)) {
        Warn(ui, kDictionaryCaption, "Errore in fase di inserimento campo " + Quoted(field.name), error);
        return false;
      }
    }
    if (!database.AppendTable(definition, error)) {
      Warn(ui, kDictionaryCaption, "Errore in fase di inserimento tavola " + Quoted(table.name), error);
      return false;
    }
    const IndexDefinition& index = table.indexes.front();
    if (!database.CreateIndex(table.name, index, error)) {
      Warn(ui, kDictionaryCaption,
           "Tavola " + Quoted(table.name) + ": errore creazione indice " + Quoted(index.name), error);
      return false;
    }
  }
  return true;
}

bool AddTableRow(DbTable& tavole, std::string_view table, std::string_view caption,
                 std::string_view description) {
  return tavole.AddNew() && tavole.SetField("nome", table) && tavole.SetField("denom", caption) &&
         tavole.SetField("note", description) && tavole.Update();
}

bool AddFieldRow(DbTable& campi, std::string_view table, std::string_view field, char type, int size,
                 bool required, std::string_view caption, std::string_view description, std::string_view rule,
                 std::string_view message) {
  const char letter[2] = {type, '\0'};
  return campi.AddNew() && campi.SetField("tavola", table) && campi.SetField("nome", field) &&
         campi.SetField("tipo", letter) && campi.SetField("size", FormatInteger(size)) &&
         campi.SetField("obblig", required ? "1" : "0") && campi.SetField("denom", caption) &&
         campi.SetField("note", description) && campi.SetField("regola", rule) &&
         campi.SetField("mess", message) && campi.Update();
}

bool AddIndexRow(DbTable& indici, std::string_view table, std::string_view index, bool primary,
                 std::string_view caption, std::string_view description) {
  return indici.AddNew() && indici.SetField("tavola", table) && indici.SetField("nome", index) &&
         indici.SetField("primkey", primary ? "1" : "0") && indici.SetField("denom", caption) &&
         indici.SetField("note", description) && indici.Update();
}

bool AddIndexFieldRow(DbTable& indici2, std::string_view table, std::string_view index, int position,
                      std::string_view field) {
  return indici2.AddNew() && indici2.SetField("tavola", table) && indici2.SetField("nome", index) &&
         indici2.SetField("progr", FormatInteger(position)) && indici2.SetField("campo", field) &&
         indici2.Update();
}

bool AddRelationRow(DbTable& relaz, std::string_view relation, std::string_view primary_table,
                    std::string_view foreign_table) {
  return relaz.AddNew() && relaz.SetField("nome", relation) && relaz.SetField("interna", primary_table) &&
         relaz.SetField("esterna", foreign_table) && relaz.Update();
}

bool AddRelationFieldRow(DbTable& relaz2, std::string_view relation, int position,
                         std::string_view primary_field, std::string_view foreign_field) {
  return relaz2.AddNew() && relaz2.SetField("nome", relation) &&
         relaz2.SetField("progr", FormatInteger(position)) && relaz2.SetField("interno", primary_field) &&
         relaz2.SetField("esterno", foreign_field) && relaz2.Update();
}

bool CreateTable(std::string_view table, DbConnection& connection, EngineDatabase& database) {
  UserInterface& ui = connection.ui();
  const std::string caption = "Creazione Tavola " + Quoted(table);
  std::string error;
  if (!CheckObjectName(table, error)) {
    Warn(ui, caption, "Errore inizializzazione tavola " + Quoted(table), error);
    return false;
  }

  TableDefinition definition{std::string(table)};
  {
    DbQuery fields(connection);
    fields.SetSelect("nome, tipo, size, obblig, regola, mess");
    fields.SetFrom("campi");
    fields.SetWhere("tavola = " + SqlTextLiteral(table));
    // An unknown type letter keeps the type and size of the field before it.
    FieldType type = FieldType::Expression;
    int size = 0;
    int position = 0;
    for (bool row = fields.Open(); row; row = fields.MoveNext()) {
      const std::string letter = Text(fields, 1);
      std::int32_t stored_size = 0;
      fields.GetShort(2, stored_size);
      if (const auto known = FieldTypeFromLetter(letter.empty() ? '\0' : letter[0])) {
        type = *known;
        size = type == FieldType::Text ? stored_size : 0;
      }
      std::string required;
      fields.GetFieldText("obblig", required);
      FieldDefinition field = DictionaryFieldDefinition(Text(fields, 0), type, size, required, ++position);
      field.validation_rule = Text(fields, 4);
      field.validation_text = Text(fields, 5);
      if (!definition.AppendField(field, error)) {
        Warn(ui, caption, "Errore in fase di inserimento campo " + Quoted(field.name), error);
        return false;
      }
    }
  }

  bool created = database.AppendTable(definition, error);
  if (!created) Warn(ui, caption, "Errore in fase di inserimento tavola " + Quoted(table), error);

  DbQuery indexes(connection);
  indexes.SetSelect("nome, primkey");
  indexes.SetFrom("indici");
  indexes.SetWhere("tavola = " + SqlTextLiteral(table));
  bool has_primary = false;
  for (bool row = indexes.Open(); row; row = indexes.MoveNext()) {
    const std::string name = Text(indexes, 0);
    std::string primary;
    indexes.GetFieldText("primkey", primary);
    std::string failure;
    std::vector<std::string> fields;
    DbQuery members(connection);
    members.SetSelect("campo, progr");
    members.SetFrom("indici2");
    members.SetWhere("tavola = " + SqlTextLiteral(table) + " AND nome = " + SqlTextLiteral(name));
    for (bool member = members.Open(); member; member = members.MoveNext()) {
      std::int32_t position = 0;
      members.GetShort(1, position);
      if (!Place(fields, position, Text(members, 0)))
        failure = "Posizione " + FormatInteger(position) + " non valida per un campo dell'indice (da 0 a " +
                  FormatInteger(kMaxMembers - 1) + ").";
    }
    const IndexDefinition index = DictionaryIndexDefinition(name, primary, std::move(fields), has_primary);
    if (failure.empty() && database.CreateIndex(table, index, failure)) {
      has_primary = has_primary || index.primary;
      continue;
    }
    Warn(ui, caption, "Tavola " + Quoted(table) + ": errore creazione indice " + Quoted(index.name), failure);
    created = false;
  }
  return created;
}

bool CreateAllTables(DbConnection& connection, EngineDatabase& database) {
  connection.ui().BeginBusy(false);
  DbQuery tables(connection);
  tables.SetSelect("nome");
  tables.SetFrom("tavole");
  tables.SetOrderBy("nome");
  for (bool row = tables.Open(); row; row = tables.MoveNext()) {
    if (!CreateTable(Text(tables, 0), connection, database)) return false;
  }
  return true;
}

bool CreateRelations(DbConnection& connection, EngineDatabase& database) {
  bool all = true;
  DbQuery relations(connection);
  relations.SetSelect("nome, interna, esterna");
  relations.SetFrom("relaz");
  for (bool row = relations.Open(); row; row = relations.MoveNext()) {
    RelationDefinition relation{Text(relations, 0), Text(relations, 1), Text(relations, 2), {}};
    std::string failure;
    DbQuery pairs(connection);
    pairs.SetSelect("progr, interno, esterno");
    pairs.SetFrom("relaz2");
    pairs.SetWhere("nome = " + SqlTextLiteral(relation.name));
    for (bool pair = pairs.Open(); pair; pair = pairs.MoveNext()) {
      std::int32_t position = 0;
      pairs.GetShort(0, position);
      if (!Place(relation.fields, position, FieldPair{Text(pairs, 1), Text(pairs, 2)}))
        failure =
            "Posizione " + FormatInteger(position) + " non valida per una coppia di campi della relazione.";
    }
    if (failure.empty() && database.CreateRelation(relation, failure)) continue;
    Warn(connection.ui(), "Creazione relazioni", "Errore creazione relazione " + Quoted(relation.name),
         failure);
    all = false;
  }
  return all;
}

}  // namespace viamappa
