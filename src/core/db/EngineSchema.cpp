// Tables, indexes and relations of the engine. Every definition is checked before any SQL runs, and
// each change runs inside a savepoint, so a refused definition leaves the file as it was.
#include <algorithm>

#include "base/NumberText.h"
#include "base/TextUtil.h"
#include "db/Engine.h"
#include "db/EngineError.h"
#include "db/JetDialect.h"
#include "db/Sqlite.h"

namespace viamappa {

namespace {

std::string SqlLiteral(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') out.push_back('\'');
    out.push_back(c);
  }
  out.push_back('\'');
  return out;
}

// A check named with the description a person reads when it refuses a value.
std::string NamedCheck(const std::string& description, const std::string& condition) {
  return " CONSTRAINT " + QuoteIdentifier(description) + " CHECK (" + condition + ")";
}

std::string ColumnSql(const std::string& table, const FieldDefinition& field) {
  const std::string column = QuoteIdentifier(field.name);
  const std::string where = " della tavola " + table;
  std::string sql = column + " " + DeclaredType(field.type, field.size);
  if (field.required) sql += " NOT NULL";
  switch (field.type) {
    case FieldType::Boolean:
      // A boolean never holds NULL: a row added without it stores false, whoever writes it.
      sql += " DEFAULT 0" + NamedCheck("Il campo " + field.name + where + " accetta solo i valori 0 e 1.",
                                       column + " IN (0, 1)");
      break;
    case FieldType::Byte:
    case FieldType::Integer:
    case FieldType::Long: {
      const char* range = field.type == FieldType::Byte      ? "0 AND 255"
                          : field.type == FieldType::Integer ? "-32768 AND 32767"
                                                             : "-2147483648 AND 2147483647";
      sql += NamedCheck("Il campo " + field.name + where + " accetta solo numeri interi di tipo " +
                            std::string(FieldTypeName(field.type)) + ".",
                        column + " IS NULL OR (typeof(" + column + ") = 'integer' AND " + column +
                            " BETWEEN " + range + ")");
      break;
    }
    case FieldType::Double:
    case FieldType::Currency:
      sql += NamedCheck("Il campo " + field.name + where + " accetta solo numeri.",
                        column + " IS NULL OR typeof(" + column + ") IN ('real', 'integer')");
      break;
    case FieldType::Date:
      sql += NamedCheck("Il campo " + field.name + where + " accetta solo date.",
                        column + " IS NULL OR date(" + column + ") IS NOT NULL");
      break;
    case FieldType::Text:
    case FieldType::Memo:
      sql += " COLLATE NOCASE";
      if (field.type == FieldType::Text) {
        sql += NamedCheck("Il campo " + field.name + where + " ammette al massimo " +
                              FormatInteger(field.size) + " caratteri.",
                          "length(" + column + ") <= " + FormatInteger(field.size));
      }
      if (!field.allow_zero_length) {
        sql +=
            NamedCheck("Il campo " + field.name + where + " non ammette un testo vuoto.", column + " <> ''");
      }
      break;
    case FieldType::LongBinary:
    case FieldType::Expression:
      break;
  }
  if (!Trim(field.validation_rule).empty()) {
    const std::string text = field.validation_text.empty()
                                 ? "Il valore del campo " + field.name + where + " non rispetta la regola " +
                                       field.validation_rule + "."
                                 : field.validation_text;
    sql += NamedCheck(text, column + " " + TranslateJetSql(field.validation_rule));
  }
  return sql;
}

const FieldShape* FindField(const std::vector<FieldShape>& fields, std::string_view name) {
  for (const FieldShape& field : fields) {
    if (EqualsIgnoringCase(field.name, name)) return &field;
  }
  return nullptr;
}

// Runs body inside a savepoint: released when body succeeds, rolled back otherwise.
template <typename Body>
bool InSavepoint(sqlite3* db, std::string& error, Body body) {
  if (!ExecuteSql(db, "SAVEPOINT vm_schema", &error)) return false;
  if (body()) {
    if (ExecuteSql(db, "RELEASE vm_schema", &error)) return true;
  }
  ExecuteSql(db, "ROLLBACK TO vm_schema");
  ExecuteSql(db, "RELEASE vm_schema");
  return false;
}

bool Run(sqlite3* db, const std::string& sql, std::string& error) {
  if (ExecuteSql(db, sql)) return true;
  error = DescribeEngineError(db, sqlite3_errcode(db));
  return false;
}

std::string JoinColumns(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names) out += (out.empty() ? "" : ", ") + QuoteIdentifier(name);
  return out;
}

}  // namespace

std::string MissingReferenceDescription(std::string_view relation, std::string_view primary_table) {
  return "Impossibile aggiungere o modificare il record: la relazione " + std::string(relation) +
         " richiede un record correlato nella tavola " + std::string(primary_table) + ".";
}

bool EngineDatabase::AppendTable(const TableDefinition& table, std::string& error) {
  if (!db_) {
    error = "Il database non è aperto.";
    return false;
  }
  if (!CheckObjectName(table.name(), error)) return false;
  if (const auto existing = FindTable(table.name())) {
    error = "La tavola \"" + *existing + "\" esiste già.";
    return false;
  }
  if (table.fields().empty()) {
    error = "La tavola \"" + table.name() + "\" non ha campi.";
    return false;
  }
  std::vector<FieldDefinition> fields = table.fields();
  std::stable_sort(fields.begin(), fields.end(), [](const FieldDefinition& a, const FieldDefinition& b) {
    return a.ordinal_position < b.ordinal_position;
  });
  std::string sql = "CREATE TABLE " + QuoteIdentifier(table.name()) + " (";
  for (std::size_t i = 0; i < fields.size(); ++i)
    sql += std::string(i ? "," : "") + "\n  " + ColumnSql(table.name(), fields[i]);
  sql += "\n)";
  BeforeWrite();
  return InSavepoint(db_, error, [&] { return Run(db_, sql, error); });
}

bool EngineDatabase::CreateIndex(std::string_view table_name, const IndexDefinition& index,
                                 std::string& error) {
  if (!db_) {
    error = "Il database non è aperto.";
    return false;
  }
  const auto table = FindTable(table_name);
  if (!table) {
    error = "La tavola \"" + std::string(table_name) + "\" non esiste.";
    return false;
  }
  if (!CheckObjectName(index.name, error)) return false;
  const std::vector<IndexShape> indexes = DescribeIndexes(*table);
  for (const IndexShape& existing : indexes) {
    if (EqualsIgnoringCase(existing.name, index.name)) {
      error = "L'indice \"" + existing.name + "\" esiste già nella tavola \"" + *table + "\".";
      return false;
    }
    if (index.primary && existing.primary) {
      error = "La tavola \"" + *table + "\" ha già una chiave primaria (indice \"" + existing.name +
              "\"): una tavola ammette una sola chiave primaria.";
      return false;
    }
  }
  if (index.fields.empty() || index.fields.size() > kMaxIndexFields) {
    error = "Un indice deve avere da 1 a " + FormatInteger(kMaxIndexFields) + " campi.";
    return false;
  }
  const std::vector<FieldShape> fields = DescribeFields(*table);
  std::vector<std::string> members;
  for (std::size_t i = 0; i < index.fields.size(); ++i) {
    const std::string& name = index.fields[i];
    if (name.empty()) {
      error = "Il campo in posizione " + FormatInteger(static_cast<std::int64_t>(i)) + " dell'indice \"" +
              index.name + "\" non ha nome.";
      return false;
    }
    const FieldShape* field = FindField(fields, name);
    if (!field) {
      error = "Il campo \"" + name + "\" dell'indice \"" + index.name + "\" non esiste nella tavola \"" +
              *table + "\".";
      return false;
    }
    if (field->type == FieldType::LongBinary || field->type == FieldType::Memo) {
      error = "Il campo \"" + field->name + "\" è di tipo " + std::string(FieldTypeName(field->type)) +
              " e non può far parte di un indice.";
      return false;
    }
    if (std::any_of(members.begin(), members.end(),
                    [&](const std::string& m) { return EqualsIgnoringCase(m, name); })) {
      error = "Il campo \"" + field->name + "\" compare due volte nell'indice \"" + index.name + "\".";
      return false;
    }
    members.push_back(field->name);
  }
  const bool unique = index.unique || index.primary;
  const std::string engine_name = *table + "." + index.name;
  BeforeWrite();
  return InSavepoint(db_, error, [&] {
    if (!Run(db_,
             std::string("CREATE ") + (unique ? "UNIQUE " : "") + "INDEX " + QuoteIdentifier(engine_name) +
                 " ON " + QuoteIdentifier(*table) + " (" + JoinColumns(members) + ")",
             error))
      return false;
    return Run(db_,
               "INSERT INTO vm_index VALUES (" + SqlLiteral(*table) + ", " + SqlLiteral(index.name) + ", " +
                   (index.primary ? "1" : "0") + ", " + (index.ignore_nulls ? "1" : "0") + ")",
               error);
  });
}

bool EngineDatabase::CreateRelation(const RelationDefinition& relation, std::string& error) {
  if (!db_) {
    error = "Il database non è aperto.";
    return false;
  }
  if (!CheckObjectName(relation.name, error)) return false;
  for (const RelationDefinition& existing : DescribeRelations()) {
    if (EqualsIgnoringCase(existing.name, relation.name)) {
      error = "La relazione \"" + existing.name + "\" esiste già.";
      return false;
    }
  }
  const auto primary = FindTable(relation.primary_table);
  const auto foreign = FindTable(relation.foreign_table);
  if (!primary || !foreign) {
    error = "La tavola \"" + (primary ? relation.foreign_table : relation.primary_table) +
            "\" della relazione \"" + relation.name + "\" non esiste.";
    return false;
  }
  if (relation.fields.empty() || relation.fields.size() > kMaxIndexFields) {
    error = "Una relazione deve unire da 1 a " + FormatInteger(kMaxIndexFields) + " coppie di campi.";
    return false;
  }
  const std::vector<FieldShape> primary_fields = DescribeFields(*primary);
  const std::vector<FieldShape> foreign_fields = DescribeFields(*foreign);
  RelationDefinition resolved{relation.name, *primary, *foreign, {}};
  for (const FieldPair& pair : relation.fields) {
    const FieldShape* p = FindField(primary_fields, pair.primary_field);
    const FieldShape* f = FindField(foreign_fields, pair.foreign_field);
    if (!p || !f) {
      error = "Il campo \"" + (p ? pair.foreign_field : pair.primary_field) + "\" della relazione \"" +
              relation.name + "\" non esiste nella tavola \"" + (p ? *foreign : *primary) + "\".";
      return false;
    }
    if (p->type != f->type) {
      error = "I campi \"" + *primary + "." + p->name + "\" e \"" + *foreign + "." + f->name +
              "\" della relazione \"" + relation.name + "\" non sono dello stesso tipo.";
      return false;
    }
    resolved.fields.push_back({p->name, f->name});
  }

  // Integrity needs the joined fields of the primary table to identify one row.
  const auto same_members = [&](const IndexShape& index, bool primary_side) {
    if (index.fields.size() != resolved.fields.size()) return false;
    for (const FieldPair& pair : resolved.fields) {
      const std::string& name = primary_side ? pair.primary_field : pair.foreign_field;
      if (std::none_of(index.fields.begin(), index.fields.end(),
                       [&](const std::string& m) { return EqualsIgnoringCase(m, name); }))
        return false;
    }
    return true;
  };
  const std::vector<IndexShape> primary_indexes = DescribeIndexes(*primary);
  if (std::none_of(primary_indexes.begin(), primary_indexes.end(),
                   [&](const IndexShape& index) { return index.unique && same_members(index, true); })) {
    std::string names;
    for (const FieldPair& pair : resolved.fields) names += (names.empty() ? "" : ", ") + pair.primary_field;
    error = "Impossibile creare la relazione \"" + relation.name + "\": la tavola \"" + *primary +
            "\" non ha un indice univoco sui campi " + names + ".";
    return false;
  }

  std::string match;     // the primary row of a foreign row
  std::string not_null;  // a foreign row that refers to something
  for (const FieldPair& pair : resolved.fields) {
    match += std::string(match.empty() ? "" : " AND ") + "p." + QuoteIdentifier(pair.primary_field) +
             " = f." + QuoteIdentifier(pair.foreign_field);
    not_null += std::string(not_null.empty() ? "" : " AND ") + "f." + QuoteIdentifier(pair.foreign_field) +
                " IS NOT NULL";
  }
  const std::string orphans = "SELECT 1 FROM " + QuoteIdentifier(*foreign) + " AS f WHERE " + not_null +
                              " AND NOT EXISTS (SELECT 1 FROM " + QuoteIdentifier(*primary) + " AS p WHERE " +
                              match + ") LIMIT 1";
  SqliteStatement check = PrepareStatement(db_, orphans);
  if (!check) {
    error = DescribeEngineError(db_, sqlite3_errcode(db_));
    return false;
  }
  if (sqlite3_step(check.get()) == SQLITE_ROW) {
    error = "Impossibile creare la relazione \"" + relation.name + "\": la tavola \"" + *foreign +
            "\" contiene record senza corrispondenza nella tavola \"" + *primary + "\".";
    return false;
  }
  check.reset();

  // Lookups from the primary side need an index on the foreign fields; one that starts with them serves.
  bool foreign_indexed = false;
  for (const IndexShape& index : DescribeIndexes(*foreign)) {
    if (index.fields.size() < resolved.fields.size()) continue;
    IndexShape leading = index;
    leading.fields.resize(resolved.fields.size());
    if (same_members(leading, false)) foreign_indexed = true;
  }

  BeforeWrite();
  return InSavepoint(db_, error, [&] {
    for (std::size_t i = 0; i < resolved.fields.size(); ++i) {
      if (!Run(db_,
               "INSERT INTO vm_relation VALUES (" + SqlLiteral(relation.name) + ", " +
                   FormatInteger(static_cast<std::int64_t>(i)) + ", " + SqlLiteral(*primary) + ", " +
                   SqlLiteral(*foreign) + ", " + SqlLiteral(resolved.fields[i].primary_field) + ", " +
                   SqlLiteral(resolved.fields[i].foreign_field) + ")",
               error))
        return false;
    }
    if (!foreign_indexed) {
      std::vector<std::string> columns;
      for (const FieldPair& pair : resolved.fields) columns.push_back(pair.foreign_field);
      if (!Run(db_,
               "CREATE INDEX " + QuoteIdentifier(*foreign + "." + relation.name) + " ON " +
                   QuoteIdentifier(*foreign) + " (" + JoinColumns(columns) + ")",
               error) ||
          !Run(db_,
               "INSERT INTO vm_index VALUES (" + SqlLiteral(*foreign) + ", " + SqlLiteral(relation.name) +
                   ", 0, 0)",
               error))
        return false;
    }
    return CreateRelationTriggers(resolved, error);
  });
}

// The triggers that enforce a relation in the file itself, so that no writer can break it.
bool EngineDatabase::CreateRelationTriggers(const RelationDefinition& relation, std::string& error) {
  const std::string primary = QuoteIdentifier(relation.primary_table);
  const std::string foreign = QuoteIdentifier(relation.foreign_table);
  std::string new_refers, new_matches, old_referenced, key_changed, foreign_columns, primary_columns;
  for (const FieldPair& pair : relation.fields) {
    const std::string p = QuoteIdentifier(pair.primary_field);
    const std::string f = QuoteIdentifier(pair.foreign_field);
    const auto join = [](std::string& list, const std::string& term, const char* separator) {
      list += (list.empty() ? "" : separator) + term;
    };
    join(new_refers, "NEW." + f + " IS NOT NULL", " AND ");
    join(new_matches, p + " = NEW." + f, " AND ");
    join(old_referenced, f + " = OLD." + p, " AND ");
    join(key_changed, "OLD." + p + " IS NOT NEW." + p, " OR ");
    join(foreign_columns, f, ", ");
    join(primary_columns, p, ", ");
  }
  const std::string prefix = "rel." + relation.name + ".";
  const std::string refused_child =
      SqlLiteral(MissingReferenceDescription(relation.name, relation.primary_table));
  const std::string refused_delete =
      SqlLiteral("Impossibile eliminare il record: la tavola " + relation.foreign_table +
                 " contiene record correlati (relazione " + relation.name + ").");
  const std::string refused_key =
      SqlLiteral("Impossibile modificare la chiave del record: la tavola " + relation.foreign_table +
                 " contiene record correlati (relazione " + relation.name + ").");
  const std::string child_check = " FOR EACH ROW WHEN " + new_refers + " AND NOT EXISTS (SELECT 1 FROM " +
                                  primary + " WHERE " + new_matches + ") BEGIN SELECT RAISE(ABORT, " +
                                  refused_child + "); END";
  const std::string parent_check = "EXISTS (SELECT 1 FROM " + foreign + " WHERE " + old_referenced + ")";
  return Run(db_,
             "CREATE TRIGGER " + QuoteIdentifier(prefix + "ins") + " BEFORE INSERT ON " + foreign +
                 child_check,
             error) &&
         Run(db_,
             "CREATE TRIGGER " + QuoteIdentifier(prefix + "upd") + " BEFORE UPDATE OF " + foreign_columns +
                 " ON " + foreign + child_check,
             error) &&
         Run(db_,
             "CREATE TRIGGER " + QuoteIdentifier(prefix + "del") + " BEFORE DELETE ON " + primary +
                 " FOR EACH ROW WHEN " + parent_check + " BEGIN SELECT RAISE(ABORT, " + refused_delete +
                 "); END",
             error) &&
         Run(db_,
             "CREATE TRIGGER " + QuoteIdentifier(prefix + "key") + " BEFORE UPDATE OF " + primary_columns +
                 " ON " + primary + " FOR EACH ROW WHEN (" + key_changed + ") AND " + parent_check +
                 " BEGIN SELECT RAISE(ABORT, " + refused_key + "); END",
             error);
}

}  // namespace viamappa
