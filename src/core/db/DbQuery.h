// A SELECT statement assembled from its clauses and walked forward one row at a time. The query reads a
// snapshot: rows changed through the same connection while it is open are not seen, and a loop that
// updates the rows it reads visits each row once.
//
// Values that come from a person or a file reach the statement as bound parameters, never as SQL text:
// each `?` outside quotes is a parameter, numbered from 1 in order of appearance (`?NNN` names the
// number), and is given its value with Bind before Open. A bound text is compared as a text, and as a
// LIKE pattern it keeps its wildcards; LikeFragment (JetDialect.h) makes a text match itself.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/ConnectionCore.h"
#include "db/FieldValue.h"
#include "db/Sqlite.h"

namespace viamappa {

class DbConnection;

class DbQuery : private LiveReader {
 public:
  explicit DbQuery(DbConnection* connection);
  explicit DbQuery(DbConnection& connection) : DbQuery(&connection) {}
  ~DbQuery();
  DbQuery(const DbQuery&) = delete;
  DbQuery& operator=(const DbQuery&) = delete;

  // Each replaces its clause with a copy and answers true; an empty text clears it and answers false.
  bool SetSelect(std::string_view text) { return SetClause(select_, text); }
  bool SetFrom(std::string_view text) { return SetClause(from_, text); }
  bool SetWhere(std::string_view text) { return SetClause(where_, text); }
  bool SetGroupBy(std::string_view text) { return SetClause(group_by_, text); }
  bool SetOrderBy(std::string_view text) { return SetClause(order_by_, text); }

  // Gives parameter number (from 1) a value, kept for every later Open and Rewind until replaced: a
  // text, an integer, a double, or NULL. Parameters given no value are NULL.
  void Bind(int number, std::string_view text);
  void BindInteger(int number, std::int64_t value);
  void BindDouble(int number, double value);
  void BindNull(int number);
  void ClearBindings() {
    parameters_.clear();
    invalid_parameter_.reset();
  }

  // "SELECT " select "\nFROM " from "\n", then "WHERE ", "GROUP BY ", "ORDER BY " lines for the present
  // clauses. False, with an empty statement, without a select list or a FROM list.
  bool BuildStatement();
  const std::string& statement() const { return statement_text_; }

  // Runs the statement (built first unless use_statement_as_is) and stands on its first row: true when
  // there is one. Statement errors are shown with the statement text.
  bool Open(bool use_statement_as_is = false);

  // Steps to the next row: true when it exists, false at the end and from then on.
  bool MoveNext();

  // Runs the query again and stands on its first row.
  bool Rewind();

  // Reads by position (0-based, in select-list order). A field whose type does not fit gives the
  // neutral value and false without a message.
  bool GetShort(int position, std::int32_t& out);  // 16-bit integer, boolean (-1 / 0) or byte
  bool GetLong(int position, std::int32_t& out);   // 32-bit integer
  bool GetDouble(int position, double& out);       // double, or currency through its text
  bool GetText(int position, std::string& out);    // text as stored, or a date "dd/mm/yyyy"
  bool GetBinary(int position, std::vector<std::uint8_t>& out);

  // The bytes of a long-binary field without copying them: valid until the next MoveNext, Rewind or
  // Open, or until the connection changes anything.
  bool GetBinaryView(int position, std::string_view& out);

  // The field of that name, of any type, in display form.
  bool GetFieldText(std::string_view field, std::string& out);

  int FieldCount() const { return static_cast<int>(column_types_.size()); }
  bool HasRow() const { return row_; }

 private:
  // A value of a row taken into memory; text and bytes live in the arena.
  struct TakenValue {
    FieldValue::Kind kind;
    std::int64_t integer;
    double real;
    std::size_t offset;
    std::size_t size;
  };

  static bool SetClause(std::optional<std::string>& clause, std::string_view text);
  FieldValue& Parameter(int number);
  bool BindParameters(sqlite3* db);
  void TakeRemainingRows() override;
  void StopReading();
  void TakeRow();
  FieldValueView Cell(int position) const;
  bool CheckCell(int position);
  int FindColumn(std::string_view field) const;
  void ShowStatementError(const char* prefix, const std::string& description, MessageIcon icon) const;

  std::shared_ptr<ConnectionCore> core_;
  bool row_ = false;
  SqliteStatement statement_;
  bool live_ = false;  // the current row is the statement's own

  std::vector<TakenValue> taken_values_;
  std::string taken_bytes_;
  std::size_t taken_row_ = 0;
  std::string taken_error_;  // a failure met while taking the rows, shown when the reading reaches it

  std::vector<FieldType> column_types_;
  std::vector<std::string> column_names_;
  std::vector<std::string> column_tables_;

  std::optional<std::string> select_, from_, where_, group_by_, order_by_;
  std::vector<FieldValue> parameters_;  // by number - 1
  std::optional<int> invalid_parameter_;
  FieldValue invalid_value_;
  std::string statement_text_;
};

// The number of rows of a FROM and WHERE; nullopt when they cannot be counted (the access layer has
// shown why).
std::optional<long long> CountRows(DbConnection& connection, std::string_view from,
                                   std::string_view where = {});

}  // namespace viamappa
