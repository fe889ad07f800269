#include "support/SampleDatabase.h"

#include <initializer_list>

namespace viamappa::testing {

namespace {

struct Field {
  const char* name;
  FieldType type;
  int size;
  bool required;
};

bool AddTable(EngineDatabase& db, const char* name, std::initializer_list<Field> fields, std::string& error) {
  TableDefinition table(name);
  int position = 0;
  for (const Field& f : fields) {
    FieldDefinition field;
    field.name = f.name;
    field.type = f.type;
    field.size = f.size;
    field.required = f.required;
    field.ordinal_position = ++position;
    field.allow_zero_length = f.type == FieldType::Text && !f.required;
    if (!table.AppendField(field, error)) return false;
  }
  return db.AppendTable(table, error);
}

bool AddIndex(EngineDatabase& db, const char* table, const char* name,
              std::initializer_list<const char*> fields, bool primary, std::string& error) {
  IndexDefinition index{name, {fields.begin(), fields.end()}, primary, primary};
  index.ignore_nulls = true;
  return db.CreateIndex(table, index, error);
}

bool AddRelation(EngineDatabase& db, const char* name, const char* primary, const char* primary_field,
                 const char* foreign, const char* foreign_field, std::string& error) {
  return db.CreateRelation({name, primary, foreign, {{primary_field, foreign_field}}}, error);
}

}  // namespace

std::unique_ptr<EngineDatabase> CreateSampleDatabase(const std::string& path, std::string& error) {
  auto db = EngineDatabase::Create(path, kGeneralLocale, error);
  if (!db) return nullptr;
  using T = FieldType;
  const bool ok =
      AddTable(*db, "nodi",
               {{"ID", T::Long, 0, true}, {"coord_x", T::Double, 0, true}, {"coord_y", T::Double, 0, true}},
               error) &&
      AddIndex(*db, "nodi", "codice", {"ID"}, true, error) &&
      AddTable(*db, "archi",
               {{"ID", T::Long, 0, true},
                {"denom", T::Text, 60, false},
                {"classe", T::Text, 10, false},
                {"piazza", T::Boolean, 0, true},
                {"datins", T::Date, 0, true},
                {"nodini", T::Long, 0, true},
                {"nodfin", T::Long, 0, true},
                {"comune", T::Integer, 0, true}},
               error) &&
      AddIndex(*db, "archi", "codice", {"ID"}, true, error) &&
      AddIndex(*db, "archi", "nome", {"denom", "classe"}, false, error) &&
      AddTable(*db, "geoarchi",
               {{"ID", T::Long, 0, true},
                {"punti", T::Integer, 0, true},
                {"coord", T::LongBinary, 0, false},
                {"minx", T::Double, 0, true}},
               error) &&
      AddIndex(*db, "geoarchi", "codice", {"ID"}, true, error) &&
      AddTable(*db, "campione",
               {{"testo", T::Text, 10, false},
                {"sino", T::Boolean, 0, false},
                {"data", T::Date, 0, false},
                {"doppio", T::Double, 0, false},
                {"intero", T::Integer, 0, false},
                {"lungo", T::Long, 0, false},
                {"memo", T::Memo, 0, false},
                {"valuta", T::Currency, 0, false},
                {"binario", T::LongBinary, 0, false}},
               error) &&
      AddIndex(*db, "campione", "codice", {"lungo"}, false, error) &&
      AddRelation(*db, "archi_ini", "nodi", "ID", "archi", "nodini", error) &&
      AddRelation(*db, "archi_fin", "nodi", "ID", "archi", "nodfin", error) &&
      AddRelation(*db, "geo_archi", "archi", "ID", "geoarchi", "ID", error);
  return ok ? std::move(db) : nullptr;
}

}  // namespace viamappa::testing
