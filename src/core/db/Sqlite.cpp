#include "db/Sqlite.h"

#include <string>

namespace viamappa {

SqliteStatement PrepareStatement(sqlite3* db, std::string_view sql, int* rc) {
  sqlite3_stmt* raw = nullptr;
  const int result = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, nullptr);
  if (rc) *rc = result;
  if (result != SQLITE_OK) {
    sqlite3_finalize(raw);
    raw = nullptr;
  }
  return SqliteStatement(raw);
}

int BindValue(sqlite3_stmt* statement, int index, const FieldValue& value) {
  switch (value.kind) {
    case FieldValue::Kind::Null:
      return sqlite3_bind_null(statement, index);
    case FieldValue::Kind::Integer:
      return sqlite3_bind_int64(statement, index, value.integer);
    case FieldValue::Kind::Real:
      return sqlite3_bind_double(statement, index, value.real);
    case FieldValue::Kind::Text:
      return sqlite3_bind_text64(statement, index, value.bytes.data(), value.bytes.size(), SQLITE_STATIC,
                                 SQLITE_UTF8);
    case FieldValue::Kind::Blob:
      return sqlite3_bind_blob64(statement, index, value.bytes.data(), value.bytes.size(), SQLITE_STATIC);
  }
  return SQLITE_MISUSE;
}

FieldValueView ViewColumn(sqlite3_stmt* statement, int column) {
  // One column call, then the value's own accessors: the connections are used by one thread at a
  // time, which is what reading an unprotected value asks for.
  sqlite3_value* value = sqlite3_column_value(statement, column);
  FieldValueView view;
  switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
      view.kind = FieldValue::Kind::Integer;
      view.integer = sqlite3_value_int64(value);
      break;
    case SQLITE_FLOAT:
      view.kind = FieldValue::Kind::Real;
      view.real = sqlite3_value_double(value);
      break;
    case SQLITE_TEXT: {
      view.kind = FieldValue::Kind::Text;
      const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
      view.bytes = std::string_view(text ? text : "", sqlite3_value_bytes(value));
      break;
    }
    case SQLITE_BLOB: {
      view.kind = FieldValue::Kind::Blob;
      const auto* blob = static_cast<const char*>(sqlite3_value_blob(value));
      const int size = sqlite3_value_bytes(value);
      view.bytes = blob ? std::string_view(blob, size) : std::string_view();
      break;
    }
    default:
      break;
  }
  return view;
}

std::string_view ColumnText(sqlite3_stmt* statement, int column) {
  // The text first, then its length: the order in which SQLite keeps both valid.
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  if (!text) return {};
  return std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
}

void ReadColumn(sqlite3_stmt* statement, int column, FieldValue& out) {
  const FieldValueView view = ViewColumn(statement, column);
  out.kind = view.kind;
  out.integer = view.integer;
  out.real = view.real;
  out.bytes.assign(view.bytes);
}

bool ExecuteSql(sqlite3* db, std::string_view sql, std::string* error) {
  char* message = nullptr;
  const std::string text(sql);
  const int rc = sqlite3_exec(db, text.c_str(), nullptr, nullptr, &message);
  if (rc != SQLITE_OK && error) *error = message ? message : sqlite3_errstr(rc);
  sqlite3_free(message);
  return rc == SQLITE_OK;
}

}  // namespace viamappa
