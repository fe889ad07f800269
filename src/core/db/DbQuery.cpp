#include "db/DbQuery.h"

#include <limits>

#include "base/NumberText.h"
#include "base/TextUtil.h"
#include "db/DateText.h"
#include "db/DbConnection.h"
#include "db/EngineError.h"
#include "db/JetDialect.h"

namespace viamappa {

namespace {

bool InRange(std::int64_t value, std::int64_t min, std::int64_t max) {
  return value >= min && value <= max;
}

// Prepare failures that name something missing are failures of the extraction; the rest are syntax.
bool IsExtractionError(std::string_view message) {
  for (std::string_view prefix : {"no such column", "no such table", "ambiguous column", "no such function",
                                  "wrong number of arguments", "misuse of aggregate"}) {
    if (message.starts_with(prefix)) return true;
  }
  return false;
}

// SQLite's own upper bound of parameter numbers.
constexpr int kMaxParameters = 32766;

bool IsNameByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         static_cast<unsigned char>(c) >= 0x80;
}

// Reads a plain, bracketed or quoted name at from[pos]; empty when there is none.
std::string ReadName(std::string_view from, std::size_t& pos) {
  while (pos < from.size() && (from[pos] == ' ' || from[pos] == '\t' || from[pos] == '\n')) ++pos;
  if (pos >= from.size()) return {};
  if (from[pos] == '[' || from[pos] == '"' || from[pos] == '`') {
    const char close = from[pos] == '[' ? ']' : from[pos];
    const std::size_t end = from.find(close, pos + 1);
    if (end == std::string_view::npos) return {};
    std::string name(from.substr(pos + 1, end - pos - 1));
    pos = end + 1;
    return name;
  }
  const std::size_t start = pos;
  while (pos < from.size() && IsNameByte(from[pos])) ++pos;
  return std::string(from.substr(start, pos - start));
}

// The clause that keeps the rows of a statement without ORDER BY in the storage order of its first
// table, whatever index the engine reads them through; empty when the FROM list does not start with a
// table name.
std::string StorageOrderClause(std::string_view from) {
  std::size_t pos = 0;
  const std::string table = ReadName(from, pos);
  if (table.empty()) return {};
  std::string alias = ReadName(from, pos);
  if (EqualsIgnoringCase(alias, "AS")) alias = ReadName(from, pos);
  for (std::string_view keyword :
       {"INNER", "LEFT", "RIGHT", "FULL", "CROSS", "NATURAL", "JOIN", "ON", "USING"}) {
    if (EqualsIgnoringCase(alias, keyword)) alias.clear();
  }
  return "\nORDER BY " + QuoteIdentifier(alias.empty() ? table : alias) + ".rowid";
}

}  // namespace

DbQuery::DbQuery(DbConnection* connection) {
  if (connection) core_ = connection->core();
}

DbQuery::~DbQuery() {
  StopReading();
}

bool DbQuery::SetClause(std::optional<std::string>& clause, std::string_view text) {
  if (text.empty()) {
    clause.reset();
    return false;
  }
  clause = std::string(text);
  return true;
}

FieldValue& DbQuery::Parameter(int number) {
  // A number no statement can have is kept apart and refused at the next Open.
  if (number < 1 || number > kMaxParameters) {
    invalid_parameter_ = number;
    return invalid_value_;
  }
  if (parameters_.size() < static_cast<std::size_t>(number)) parameters_.resize(number);
  return parameters_[number - 1];
}

void DbQuery::Bind(int number, std::string_view text) {
  Parameter(number).SetText(text);
}

void DbQuery::BindInteger(int number, std::int64_t value) {
  Parameter(number).SetInteger(value);
}

void DbQuery::BindDouble(int number, double value) {
  Parameter(number).SetReal(value);
}

void DbQuery::BindNull(int number) {
  Parameter(number).SetNull();
}

// Binds the values given so far to the prepared statement; a number the statement does not have is an
// error of the caller, shown with the statement.
bool DbQuery::BindParameters(sqlite3* db) {
  const int count = sqlite3_bind_parameter_count(statement_.get());
  const auto refuse = [this](int number) {
    ShowStatementError("Errore sintassi SQL",
                       "Il parametro " + FormatInteger(number) + " non compare nell'istruzione.",
                       MessageIcon::Warning);
    return false;
  };
  if (invalid_parameter_) return refuse(*invalid_parameter_);
  for (std::size_t i = 0; i < parameters_.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    const FieldValue& value = parameters_[i];
    if (number > count) {
      if (value.IsNull()) continue;
      return refuse(number);
    }
    // Copied into the statement, so that a later Bind never leaves it pointing at old bytes.
    int rc;
    if (value.kind == FieldValue::Kind::Text) {
      rc = sqlite3_bind_text64(statement_.get(), number, value.bytes.data(), value.bytes.size(),
                               SQLITE_TRANSIENT, SQLITE_UTF8);
    } else if (value.kind == FieldValue::Kind::Blob) {
      rc = sqlite3_bind_blob64(statement_.get(), number, value.bytes.data(), value.bytes.size(),
                               SQLITE_TRANSIENT);
    } else {
      rc = BindValue(statement_.get(), number, value);
    }
    if (rc != SQLITE_OK) {
      ShowStatementError("Errore sintassi SQL", DescribeEngineError(db, rc), MessageIcon::Warning);
      return false;
    }
  }
  return true;
}

bool DbQuery::BuildStatement() {
  statement_text_.clear();
  if (!select_ || !from_) return false;
  statement_text_ = "SELECT " + *select_ + "\nFROM " + *from_ + "\n";
  if (where_) statement_text_ += "WHERE " + *where_ + "\n";
  if (group_by_) statement_text_ += "GROUP BY " + *group_by_ + "\n";
  if (order_by_) statement_text_ += "ORDER BY " + *order_by_ + "\n";
  return true;
}

void DbQuery::ShowStatementError(const char* prefix, const std::string& description, MessageIcon icon) const {
  core_->ui->ShowMessage(std::string(prefix) + "\n\n" + statement_text_ + "\n\n" + description, icon);
}

void DbQuery::StopReading() {
  if (statement_) sqlite3_reset(statement_.get());
  if (live_ && core_) core_->RemoveLiveReader(this);
  live_ = false;
}

bool DbQuery::Open(bool use_statement_as_is) {
  StopReading();
  statement_.reset();
  taken_values_.clear();
  taken_bytes_.clear();
  taken_error_.clear();
  column_types_.clear();
  column_names_.clear();
  column_tables_.clear();
  row_ = false;
  if (!use_statement_as_is && !BuildStatement()) return false;
  if (!core_ || !core_->IsOpen()) return false;
  row_ = true;

  sqlite3* db = core_->engine->handle();
  const std::string sql = TranslateJetSql(statement_text_);
  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  int rc = SQLITE_ERROR;
  std::string ordered;  // the tail of a prepared statement points into its text
  if (!order_by_ && !group_by_ && from_) {
    // When the first table has no storage order (a view, a subquery) the statement runs as written.
    ordered = sql + StorageOrderClause(*from_);
    rc = sqlite3_prepare_v2(db, ordered.c_str(), static_cast<int>(ordered.size()), &raw, &tail);
    if (rc != SQLITE_OK || !raw ||
        std::string_view(tail).find_first_not_of(" \t\n\r;") != std::string_view::npos) {
      sqlite3_finalize(raw);
      raw = nullptr;
    }
  }
  if (!raw) rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &raw, &tail);
  statement_.reset(raw);
  std::string problem;
  if (rc != SQLITE_OK) {
    const std::string message = sqlite3_errmsg(db);
    row_ = false;
    statement_.reset();
    ShowStatementError(IsExtractionError(message) ? "Errore estrazione Select SQL" : "Errore sintassi SQL",
                       DescribeEngineError(db, rc), MessageIcon::Warning);
    return false;
  }
  if (!statement_) {
    problem = "Istruzione SQL vuota.";
  } else if (tail && std::string_view(tail).find_first_not_of(" \t\n\r;") != std::string_view::npos) {
    problem = "L'istruzione contiene più di un comando SQL.";
  } else if (!sqlite3_stmt_readonly(statement_.get())) {
    problem = "L'istruzione non è una SELECT.";
  }
  if (!problem.empty()) {
    row_ = false;
    statement_.reset();
    ShowStatementError("Errore sintassi SQL", problem, MessageIcon::Warning);
    return false;
  }
  if (!BindParameters(db)) {
    row_ = false;
    statement_.reset();
    return false;
  }

  const int columns = sqlite3_column_count(statement_.get());
  for (int i = 0; i < columns; ++i) {
    const char* declared = sqlite3_column_decltype(statement_.get(), i);
    const char* name = sqlite3_column_name(statement_.get(), i);
    const char* table = sqlite3_column_table_name(statement_.get(), i);
    column_types_.push_back(FieldTypeFromDeclared(declared ? declared : "", nullptr));
    column_names_.emplace_back(name ? name : "");
    column_tables_.emplace_back(table ? table : "");
  }

  const int step = sqlite3_step(statement_.get());
  if (step == SQLITE_ROW) {
    live_ = true;
    core_->AddLiveReader(this);
    return true;
  }
  row_ = false;
  const std::string description = step == SQLITE_DONE ? std::string() : DescribeEngineError(db, step);
  sqlite3_reset(statement_.get());
  if (step != SQLITE_DONE)
    ShowStatementError("Errore estrazione Select SQL", description, MessageIcon::Warning);
  return false;
}

void DbQuery::TakeRow() {
  const int columns = FieldCount();
  for (int i = 0; i < columns; ++i) {
    const FieldValueView view = ViewColumn(statement_.get(), i);
    taken_values_.push_back({view.kind, view.integer, view.real, taken_bytes_.size(), view.bytes.size()});
    taken_bytes_.append(view.bytes);
  }
}

// Before the connection changes anything, the rest of the result is read into memory, beginning with
// the current row, and the statement lets go of the file.
void DbQuery::TakeRemainingRows() {
  if (!live_) return;
  live_ = false;
  taken_values_.clear();
  taken_bytes_.clear();
  taken_row_ = 0;
  TakeRow();
  int rc;
  while ((rc = sqlite3_step(statement_.get())) == SQLITE_ROW) TakeRow();
  if (rc != SQLITE_DONE) taken_error_ = DescribeEngineError(core_->engine->handle(), rc);
  sqlite3_reset(statement_.get());
}

bool DbQuery::MoveNext() {
  if (!row_) return false;
  if (live_) {
    const int rc = sqlite3_step(statement_.get());
    if (rc == SQLITE_ROW) return true;
    const std::string description =
        rc == SQLITE_DONE ? std::string() : DescribeEngineError(core_->engine->handle(), rc);
    StopReading();
    row_ = false;
    if (rc != SQLITE_DONE)
      ShowStatementError("Errore lettura riga successiva della select corrente", description,
                         MessageIcon::Stop);
    return false;
  }
  const std::size_t columns = column_types_.size();
  if (columns && (taken_row_ + 1) * columns < taken_values_.size()) {
    ++taken_row_;
    return true;
  }
  row_ = false;
  taken_values_.clear();
  taken_bytes_.clear();
  if (!taken_error_.empty()) {
    ShowStatementError("Errore lettura riga successiva della select corrente", taken_error_,
                       MessageIcon::Stop);
    taken_error_.clear();
  }
  return false;
}

bool DbQuery::Rewind() {
  StopReading();
  taken_values_.clear();
  taken_bytes_.clear();
  taken_error_.clear();
  if (!statement_ || !core_ || !core_->IsOpen()) {
    row_ = false;
    return false;
  }
  row_ = true;
  const int rc = sqlite3_step(statement_.get());
  if (rc == SQLITE_ROW) {
    live_ = true;
    core_->AddLiveReader(this);
    return true;
  }
  row_ = false;
  const std::string description =
      rc == SQLITE_DONE ? std::string() : DescribeEngineError(core_->engine->handle(), rc);
  sqlite3_reset(statement_.get());
  if (rc != SQLITE_DONE)
    ShowStatementError("Errore posizionamento sulle prima riga della select corrente", description,
                       MessageIcon::Stop);
  return false;
}

FieldValueView DbQuery::Cell(int position) const {
  if (live_) return ViewColumn(statement_.get(), position);
  const TakenValue& value = taken_values_[taken_row_ * column_types_.size() + position];
  return {value.kind, value.integer, value.real,
          std::string_view(taken_bytes_).substr(value.offset, value.size)};
}

bool DbQuery::CheckCell(int position) {
  if (row_ && position >= 0 && position < FieldCount()) return true;
  if (core_) {
    ShowStatementError(
        ("Errore campo (#" + FormatInteger(position) + ") nella select corrente").c_str(),
        row_ ? "Posizione di campo non valida: la select ha " + FormatInteger(FieldCount()) + " campi."
             : std::string("Nessuna riga corrente."),
        MessageIcon::Stop);
  }
  return false;
}

bool DbQuery::GetShort(int position, std::int32_t& out) {
  out = 0;
  if (!CheckCell(position)) return false;
  const FieldValueView cell = Cell(position);
  if (cell.kind != FieldValue::Kind::Integer) return false;
  switch (column_types_[position]) {
    case FieldType::Boolean:
      out = cell.integer != 0 ? -1 : 0;
      return true;
    case FieldType::Integer:
    case FieldType::Byte:
    case FieldType::Expression:
      if (!InRange(cell.integer, -32768, 32767)) return false;
      out = static_cast<std::int32_t>(cell.integer);
      return true;
    default:
      return false;
  }
}

bool DbQuery::GetLong(int position, std::int32_t& out) {
  out = 0;
  if (!CheckCell(position)) return false;
  const FieldValueView cell = Cell(position);
  const FieldType type = column_types_[position];
  if (cell.kind != FieldValue::Kind::Integer || (type != FieldType::Long && type != FieldType::Expression) ||
      !InRange(cell.integer, std::numeric_limits<std::int32_t>::min(),
               std::numeric_limits<std::int32_t>::max()))
    return false;
  out = static_cast<std::int32_t>(cell.integer);
  return true;
}

bool DbQuery::GetDouble(int position, double& out) {
  out = 0.0;
  if (!CheckCell(position)) return false;
  const FieldValueView cell = Cell(position);
  const FieldType type = column_types_[position];
  const bool number = cell.kind == FieldValue::Kind::Real || cell.kind == FieldValue::Kind::Integer;
  if (!number) return false;
  const double value = cell.kind == FieldValue::Kind::Real ? cell.real : static_cast<double>(cell.integer);
  if (type == FieldType::Double || (type == FieldType::Expression && cell.kind == FieldValue::Kind::Real)) {
    out = value;
    return true;
  }
  if (type == FieldType::Currency) {
    out = ParseDecimal(FormatCurrency(value)).value_or(0.0);
    return true;
  }
  return false;
}

bool DbQuery::GetText(int position, std::string& out) {
  out.clear();
  if (!CheckCell(position)) return false;
  const FieldValueView cell = Cell(position);
  if (cell.kind != FieldValue::Kind::Text) return false;
  switch (column_types_[position]) {
    case FieldType::Text:
    case FieldType::Memo:
    case FieldType::Expression:
      out.assign(cell.bytes);
      return true;
    case FieldType::Date:
      AppendDateForDisplay(ParseStoredDate(cell.bytes), out);
      return true;
    default:
      return false;
  }
}

bool DbQuery::GetBinary(int position, std::vector<std::uint8_t>& out) {
  out.clear();
  if (!CheckCell(position)) return false;
  const FieldValueView cell = Cell(position);
  const FieldType type = column_types_[position];
  if (cell.kind != FieldValue::Kind::Blob || (type != FieldType::LongBinary && type != FieldType::Expression))
    return false;
  out.assign(cell.bytes.begin(), cell.bytes.end());
  return true;
}

bool DbQuery::GetBinaryView(int position, std::string_view& out) {
  out = {};
  if (!CheckCell(position)) return false;
  const FieldValueView cell = Cell(position);
  const FieldType type = column_types_[position];
  if (cell.kind != FieldValue::Kind::Blob || (type != FieldType::LongBinary && type != FieldType::Expression))
    return false;
  out = cell.bytes;
  return true;
}

int DbQuery::FindColumn(std::string_view field) const {
  for (int i = 0; i < FieldCount(); ++i) {
    if (EqualsIgnoringCase(column_names_[i], field)) return i;
  }
  // "table.field" names the field of that table when several tables have it.
  const std::size_t dot = field.rfind('.');
  if (dot == std::string_view::npos) return -1;
  const std::string_view table = field.substr(0, dot);
  const std::string_view name = field.substr(dot + 1);
  int fallback = -1;
  for (int i = 0; i < FieldCount(); ++i) {
    if (!EqualsIgnoringCase(column_names_[i], name)) continue;
    if (EqualsIgnoringCase(column_tables_[i], table)) return i;
    if (fallback < 0) fallback = i;
  }
  return fallback;
}

bool DbQuery::GetFieldText(std::string_view field, std::string& out) {
  out.clear();
  const int position = FindColumn(field);
  if (!row_ || position < 0) {
    if (core_) {
      core_->ui->ShowMessage(
          "Errore campo (" + std::string(field) + ") della tavola (" + from_.value_or("") + ")\n\n" +
              (row_ ? "Il campo non esiste nella select corrente." : "Nessuna riga corrente."),
          MessageIcon::Stop);
    }
    return false;
  }
  AppendDisplayText(column_types_[position], Cell(position), out);
  return true;
}

std::optional<long long> CountRows(DbConnection& connection, std::string_view from, std::string_view where) {
  DbQuery query(connection);
  query.SetSelect("count(*)");
  query.SetFrom(from);
  query.SetWhere(where);
  std::int32_t rows = 0;
  if (!query.Open() || !query.GetLong(0, rows)) return std::nullopt;
  return rows;
}

}  // namespace viamappa
