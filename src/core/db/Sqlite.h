// Thin owners of SQLite handles, so that no path leaks a statement or a connection.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>
#include <string_view>

#include "db/FieldValue.h"

namespace viamappa {

struct SqliteStatementDeleter {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using SqliteStatement = std::unique_ptr<sqlite3_stmt, SqliteStatementDeleter>;

// Prepares one statement; on failure the statement is null and rc tells why.
SqliteStatement PrepareStatement(sqlite3* db, std::string_view sql, int* rc = nullptr);

// Binds a value as SQLITE_STATIC: the value must outlive the step.
int BindValue(sqlite3_stmt* statement, int index, const FieldValue& value);

// Reads a column of the current row into a value (copying text and bytes).
void ReadColumn(sqlite3_stmt* statement, int column, FieldValue& out);

// Views a column of the current row without copying; valid until the next step or reset.
FieldValueView ViewColumn(sqlite3_stmt* statement, int column);

// The text of a column of the current row, empty for NULL; valid until the next step or reset.
std::string_view ColumnText(sqlite3_stmt* statement, int column);

// Runs statements that return no rows; false with the error text on failure.
bool ExecuteSql(sqlite3* db, std::string_view sql, std::string* error = nullptr);

}  // namespace viamappa
