#include "db/DbTable.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "base/NumberText.h"
#include "base/TextUtil.h"
#include "base/Utf8.h"
#include "db/DbConnection.h"
#include "db/EngineError.h"

namespace viamappa {

namespace {

constexpr const char* kNoCurrentRecord = "Nessun record corrente.";
constexpr const char* kNotEditing = "Il record non è in modifica: manca Edit o AddNew.";
constexpr const char* kTransactionLost =
    "Il motore del database ha annullato le modifiche del comando dopo un errore: "
    "nessun'altra modifica viene registrata.";

// Failures of a write that are not about its row: every later row would meet them too.
bool IsStorageFailure(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_FULL:
    case SQLITE_IOERR:
    case SQLITE_NOMEM:
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return true;
    default:
      return false;
  }
}

// A value as messages show it: NULL for nothing, and a long text cut, so that a message stays readable.
std::string ShownText(std::string_view text) {
  constexpr std::size_t kShownCharacters = 60;
  if (text.empty()) return "NULL";
  std::size_t pos = 0;
  for (std::size_t characters = 0; pos < text.size() && characters < kShownCharacters; ++characters)
    utf8::DecodeNext(text, pos);
  return pos < text.size() ? std::string(text.substr(0, pos)) + "…" : std::string(text);
}

}  // namespace

DbTable::DbTable(DbConnection* connection, std::string_view table) : name_(table) {
  if (!connection || !connection->IsOpen()) return;
  core_ = connection->core();
  EngineDatabase& engine = *core_->engine;
  const auto stored = engine.FindTable(table);
  if (!stored) {
    Fail("Errore in fase di apertura della tavola (" + name_ + ")",
         "La tavola \"" + name_ + "\" non esiste nel database.");
    return;
  }
  stored_name_ = *stored;
  for (const FieldShape& shape : engine.DescribeFields(stored_name_))
    fields_.push_back({shape.name, shape.type, shape.size});

  // The recordset: the statements every record operation uses.
  std::string columns, placeholders;
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    columns += (i ? ", " : "") + QuoteIdentifier(fields_[i].name);
    placeholders += (i ? ", ?" : "?") + FormatInteger(static_cast<std::int64_t>(i + 1));
  }
  sqlite3* db = engine.handle();
  insert_ = PrepareStatement(db, "INSERT INTO " + QuoteIdentifier(stored_name_) + " (" + columns +
                                     ") VALUES (" + placeholders + ")");
  delete_ = PrepareStatement(db, "DELETE FROM " + QuoteIdentifier(stored_name_) + " WHERE rowid = ?1");
  if (!insert_ || !delete_) {
    core_->ui->ShowMessage(DescribeEngineError(db, sqlite3_errcode(db)), MessageIcon::Stop);
    return;
  }
  current_.resize(fields_.size());
  buffer_.resize(fields_.size());
  changed_.assign(fields_.size(), false);
  open_ = true;
}

DbTable::~DbTable() = default;

bool DbTable::IsOpen() const {
  return open_ && core_->IsOpen();
}

bool DbTable::Fail(const std::string& context, const std::string& description) const {
  if (core_) core_->ui->ShowMessage(context + "\n\n" + description, MessageIcon::Stop);
  return false;
}

std::string DbTable::TableContext(const char* operation) const {
  return std::string(operation) + " (" + name_ + ")";
}

std::string DbTable::FieldContext(std::string_view field) const {
  return "Errore campo (" + std::string(field) + ") della tavola (" + name_ + ")";
}

int DbTable::FindField(std::string_view name) const {
  // Callers mostly write the fields in their order: try the one after the last found first.
  const std::size_t hint = next_field_hint_ < fields_.size() ? next_field_hint_ : 0;
  if (fields_.empty()) return -1;
  if (fields_[hint].name == name) {
    next_field_hint_ = hint + 1;
    return static_cast<int>(hint);
  }
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (EqualsIgnoringCase(fields_[i].name, name)) {
      next_field_hint_ = i + 1;
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::string DbTable::SelectColumns() const {
  std::string sql = "SELECT rowid";
  for (const Field& field : fields_) sql += ", " + QuoteIdentifier(field.name);
  return sql + " FROM " + QuoteIdentifier(stored_name_);
}

bool DbTable::SelectIndex(std::string_view index) {
  if (!IsOpen()) return false;
  const auto shape = core_->engine->FindIndex(stored_name_, index);
  if (!shape) {
    return Fail("Errore selezione indice (" + std::string(index) + ") tavola (" + name_ + ")",
                "L'indice \"" + std::string(index) + "\" non esiste nella tavola \"" + name_ + "\".");
  }
  index_name_ = shape->name;
  index_members_.clear();
  for (const std::string& member : shape->fields) index_members_.push_back(FindField(member));
  seek_statements_.clear();
  seek_statements_.resize(index_members_.size() + 1);
  mode_ = EditMode::None;
  position_ = Position::BeforeFirst;
  return true;
}

bool DbTable::ReadRecord(sqlite3_stmt* statement, const char* operation, std::string_view field) {
  const int rc = sqlite3_step(statement);
  if (rc == SQLITE_ROW) {
    rowid_ = sqlite3_column_int64(statement, 0);
    for (std::size_t i = 0; i < fields_.size(); ++i)
      ReadColumn(statement, static_cast<int>(i + 1), current_[i]);
    position_ = Position::OnRecord;
  } else {
    position_ = Position::NoRecord;
  }
  const bool read = rc == SQLITE_ROW || rc == SQLITE_DONE;
  const std::string description = read ? std::string() : DescribeEngineError(core_->engine->handle(), rc);
  sqlite3_reset(statement);
  sqlite3_clear_bindings(statement);
  if (read) return true;
  return Fail(field.empty() ? TableContext(operation) : FieldContext(field), description);
}

// A table stands before its first record until a Seek: the first read or edit takes that record.
bool DbTable::StandOnRecord(const char* operation, std::string_view field) {
  if (position_ == Position::BeforeFirst) {
    std::string sql = SelectColumns();
    if (!index_members_.empty()) {
      sql += " ORDER BY ";
      for (std::size_t i = 0; i < index_members_.size(); ++i)
        sql += (i ? ", " : "") + QuoteIdentifier(fields_[index_members_[i]].name);
    }
    SqliteStatement first = PrepareStatement(core_->engine->handle(), sql + " LIMIT 1");
    if (!first || !ReadRecord(first.get(), operation, field)) return false;
  }
  if (position_ == Position::OnRecord) return true;
  return Fail(field.empty() ? TableContext(operation) : FieldContext(field), kNoCurrentRecord);
}

bool DbTable::Seek(std::span<const std::string_view> keys) {
  if (!IsOpen()) return false;
  constexpr const char* kOperation = "Errore lettura tavola";
  const auto context = [&] { return TableContext(kOperation); };
  if (index_name_.empty()) return Fail(context(), "Nessun indice corrente: selezionare prima un indice.");
  if (keys.empty() || keys.size() > kMaxSeekKeys || keys.size() > index_members_.size()) {
    return Fail(context(), "Numero di chiavi non valido (" +
                               FormatInteger(static_cast<std::int64_t>(keys.size())) + ") per l'indice \"" +
                               index_name_ + "\".");
  }
  mode_ = EditMode::None;
  SqliteStatement& statement = seek_statements_[keys.size()];
  if (!statement) {
    std::string sql = SelectColumns() + " WHERE ";
    for (std::size_t i = 0; i < keys.size(); ++i)
      sql += (i ? " AND " : "") + QuoteIdentifier(fields_[index_members_[i]].name) + " = ?" +
             FormatInteger(static_cast<std::int64_t>(i + 1));
    statement = PrepareStatement(core_->engine->handle(), sql + " LIMIT 1");
    if (!statement) return Fail(context(), DescribeEngineError(core_->engine->handle(), SQLITE_ERROR));
  }
  // Keys are converted like values written to their fields; their values must live until the step.
  std::vector<FieldValue> values(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const Field& field = fields_[index_members_[i]];
    const ConversionError error = TextToFieldValue(field.type, 0, keys[i], values[i]);
    if (error != ConversionError::None) {
      position_ = Position::NoRecord;
      return Fail(context(), DescribeConversionError(error, field.type, 0, keys[i]));
    }
    BindValue(statement.get(), static_cast<int>(i + 1), values[i]);
  }
  return ReadRecord(statement.get(), kOperation) && position_ == Position::OnRecord;
}

bool DbTable::Edit() {
  if (!IsOpen()) return false;
  if (!StandOnRecord("Errore editing tavola")) return false;
  buffer_ = current_;
  changed_.assign(fields_.size(), false);
  mode_ = EditMode::Edit;
  return true;
}

bool DbTable::AddNew() {
  if (!IsOpen()) return false;
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    // A boolean is never NULL: a new record holds false until it is written.
    if (fields_[i].type == FieldType::Boolean) {
      buffer_[i].SetInteger(0);
    } else {
      buffer_[i].SetNull();
    }
  }
  changed_.assign(fields_.size(), true);
  mode_ = EditMode::AddNew;
  return true;
}

sqlite3_stmt* DbTable::UpdateStatement() {
  std::string key(fields_.size(), '0');
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (changed_[i]) key[i] = '1';
  }
  SqliteStatement& statement = update_statements_[key];
  if (!statement) {
    std::string sql = "UPDATE " + QuoteIdentifier(stored_name_) + " SET ";
    int parameter = 0;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
      if (!changed_[i]) continue;
      if (parameter++) sql += ", ";
      sql += QuoteIdentifier(fields_[i].name) + " = ?" + FormatInteger(parameter);
    }
    statement =
        PrepareStatement(core_->engine->handle(), sql + " WHERE rowid = ?" + FormatInteger(parameter + 1));
  }
  return statement.get();
}

bool DbTable::Update() {
  if (!IsOpen()) return false;
  const auto context = [&] { return TableContext("Errore aggiornamento tavola"); };
  if (mode_ == EditMode::None) return Fail(context(), kNotEditing);
  if (core_->TransactionLost()) {
    mode_ = EditMode::None;
    return Fail(context(), kTransactionLost);
  }
  sqlite3* db = core_->engine->handle();
  sqlite3_stmt* statement = nullptr;
  int parameter = 0;
  if (mode_ == EditMode::AddNew) {
    statement = insert_.get();
    for (const FieldValue& value : buffer_) BindValue(statement, ++parameter, value);
  } else {
    bool any = false;
    for (bool changed : changed_) any = any || changed;
    if (!any) {
      mode_ = EditMode::None;
      return true;
    }
    statement = UpdateStatement();
    if (!statement) return Fail(context(), DescribeEngineError(db, sqlite3_errcode(db)));
    for (std::size_t i = 0; i < fields_.size(); ++i) {
      if (changed_[i]) BindValue(statement, ++parameter, buffer_[i]);
    }
    sqlite3_bind_int64(statement, ++parameter, rowid_);
  }
  core_->BeforeWrite();
  const int rc = sqlite3_step(statement);
  const std::string description = rc == SQLITE_DONE ? std::string() : DescribeEngineError(db, rc);
  sqlite3_reset(statement);
  sqlite3_clear_bindings(statement);
  if (rc != SQLITE_DONE) {
    if (IsStorageFailure(rc)) core_->storage_failed = true;
    return Fail(context(), description);
  }
  if (mode_ == EditMode::Edit) current_.swap(buffer_);
  mode_ = EditMode::None;
  return true;
}

bool DbTable::Delete() {
  if (!IsOpen()) return false;
  constexpr const char* kOperation = "Errore eliminazione tavola";
  if (core_->TransactionLost()) return Fail(TableContext(kOperation), kTransactionLost);
  if (!StandOnRecord(kOperation)) return false;
  mode_ = EditMode::None;
  sqlite3_bind_int64(delete_.get(), 1, rowid_);
  core_->BeforeWrite();
  const int rc = sqlite3_step(delete_.get());
  const std::string description =
      rc == SQLITE_DONE ? std::string() : DescribeEngineError(core_->engine->handle(), rc);
  sqlite3_reset(delete_.get());
  if (rc != SQLITE_DONE) {
    if (IsStorageFailure(rc)) core_->storage_failed = true;
    return Fail(TableContext(kOperation), description);
  }
  position_ = Position::NoRecord;
  return true;
}

// Checks that a field can take a value now; otherwise shows why, with the value as shown().
bool DbTable::CanWrite(int field, const std::function<std::string()>& shown) {
  if (!IsOpen()) return false;
  if (field < 0 || field >= static_cast<int>(fields_.size())) {
    core_->ui->ShowMessage("Errore campo (#" + FormatInteger(field) + ") della tavola (" + name_ + ") <" +
                               shown() + ">\n\nIl campo non esiste nella tavola.",
                           MessageIcon::Stop);
    return false;
  }
  if (mode_ == EditMode::None)
    return Fail(FieldContext(fields_[field].name) + " <" + shown() + ">", kNotEditing);
  return true;
}

bool DbTable::SetField(std::string_view field, std::string_view text) {
  if (!IsOpen()) return false;
  const int index = FindField(field);
  if (index < 0)
    return Fail(FieldContext(field) + " <" + ShownText(text) + ">", "Il campo non esiste nella tavola.");
  return SetField(index, text);
}

bool DbTable::SetField(int field, std::string_view text) {
  const auto shown = [&] { return ShownText(text); };
  if (!CanWrite(field, shown)) return false;
  const Field& shape = fields_[field];
  const ConversionError error = TextToFieldValue(shape.type, shape.size, text, buffer_[field]);
  if (error != ConversionError::None)
    return Fail(FieldContext(shape.name) + " <" + shown() + ">",
                DescribeConversionError(error, shape.type, shape.size, text));
  changed_[field] = true;
  return true;
}

bool DbTable::SetFieldInteger(int field, std::int64_t value) {
  const auto shown = [&] { return FormatInteger(value); };
  if (!CanWrite(field, shown)) return false;
  const Field& shape = fields_[field];
  FieldValue& target = buffer_[field];
  switch (shape.type) {
    case FieldType::Byte:
    case FieldType::Integer:
    case FieldType::Long:
      if (RefuseInteger(shape, value)) return false;
      target.SetInteger(value);
      break;
    case FieldType::Boolean:
      target.SetInteger(value != 0 ? 1 : 0);
      break;
    default:
      // Any other type takes the value as its text would be taken.
      return SetField(field, shown());
  }
  changed_[field] = true;
  return true;
}

// Shows the overflow of a whole number that does not fit its field, and answers true for it.
bool DbTable::RefuseInteger(const Field& field, std::int64_t value) const {
  const std::int64_t min = field.type == FieldType::Byte      ? 0
                           : field.type == FieldType::Integer ? -32768
                                                              : INT32_MIN;
  const std::int64_t max = field.type == FieldType::Byte      ? 255
                           : field.type == FieldType::Integer ? 32767
                                                              : INT32_MAX;
  if (value >= min && value <= max) return false;
  const std::string shown = FormatInteger(value);
  Fail(FieldContext(field.name) + " <" + shown + ">",
       DescribeConversionError(ConversionError::Overflow, field.type, field.size, shown));
  return true;
}

sqlite3_stmt* DbTable::RewriteStatement(std::span<const int> fields) {
  if (rewrite_ && std::equal(fields.begin(), fields.end(), rewrite_fields_.begin(), rewrite_fields_.end()))
    return rewrite_.get();
  std::string sql = "UPDATE " + QuoteIdentifier(stored_name_) + " SET ";
  for (std::size_t i = 0; i < fields.size(); ++i)
    sql += (i ? ", " : "") + QuoteIdentifier(fields_[fields[i]].name) + " = ?" +
           FormatInteger(static_cast<std::int64_t>(i + 1));
  sql += " WHERE " + QuoteIdentifier(fields_[index_members_[0]].name) + " = ?" +
         FormatInteger(static_cast<std::int64_t>(fields.size() + 1));
  rewrite_ = PrepareStatement(core_->engine->handle(), sql);
  rewrite_fields_.assign(fields.begin(), fields.end());
  return rewrite_.get();
}

bool DbTable::RewriteByKey(std::int64_t key, std::span<const int> fields,
                           std::span<const std::int64_t> values, bool& found) {
  found = false;
  if (!IsOpen()) return false;
  mode_ = EditMode::None;
  position_ = Position::NoRecord;
  const auto context = [&] { return TableContext("Errore aggiornamento tavola"); };
  const auto whole_number = [](FieldType type) {
    return type == FieldType::Byte || type == FieldType::Integer || type == FieldType::Long;
  };
  if (index_members_.size() != 1 || index_members_[0] < 0 || !whole_number(fields_[index_members_[0]].type))
    return Fail(context(), "L'indice corrente non è di un solo campo numerico intero.");
  if (fields.empty() || fields.size() != values.size())
    return Fail(context(), "Numero di campi e di valori non valido.");
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i] < 0 || fields[i] >= static_cast<int>(fields_.size())) {
      return Fail("Errore campo (#" + FormatInteger(fields[i]) + ") della tavola (" + name_ + ")",
                  "Il campo non esiste nella tavola.");
    }
    const Field& field = fields_[fields[i]];
    if (field.type != FieldType::Boolean && !whole_number(field.type)) {
      return Fail(FieldContext(field.name) + " <" + FormatInteger(values[i]) + ">",
                  "Il campo non è di tipo numerico intero.");
    }
    if (field.type != FieldType::Boolean && RefuseInteger(field, values[i])) return false;
  }
  sqlite3* db = core_->engine->handle();
  sqlite3_stmt* statement = RewriteStatement(fields);
  if (!statement) return Fail(context(), DescribeEngineError(db, sqlite3_errcode(db)));
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const bool boolean = fields_[fields[i]].type == FieldType::Boolean;
    sqlite3_bind_int64(statement, static_cast<int>(i + 1), boolean ? values[i] != 0 : values[i]);
  }
  sqlite3_bind_int64(statement, static_cast<int>(fields.size() + 1), key);
  core_->BeforeWrite();
  const int rc = sqlite3_step(statement);
  const std::string description = rc == SQLITE_DONE ? std::string() : DescribeEngineError(db, rc);
  sqlite3_reset(statement);
  if (rc != SQLITE_DONE) return Fail(context(), description);
  found = sqlite3_changes(db) > 0;
  return true;
}

bool DbTable::SetFieldValue(int field, const FieldValue& value) {
  if (!CanWrite(field, [] { return std::string("?"); })) return false;
  buffer_[field] = value;
  changed_[field] = true;
  return true;
}

bool DbTable::SetFieldDouble(int field, double value) {
  const auto shown = [&] { return FormatShortest(value); };
  if (!CanWrite(field, shown)) return false;
  const Field& shape = fields_[field];
  if (shape.type != FieldType::Double || !std::isfinite(value)) return SetField(field, shown());
  buffer_[field].SetReal(value);
  changed_[field] = true;
  return true;
}

bool DbTable::SetBinaryField(std::string_view field, const void* bytes, std::size_t size) {
  if (!IsOpen()) return false;
  const int index = FindField(field);
  if (index < 0) {
    return Fail(FieldContext(field) + " <" +
                    (size == 0 ? std::string("NULL")
                               : "BLOB [" + FormatInteger(static_cast<std::int64_t>(size)) + " bytes]") +
                    ">",
                "Il campo non esiste nella tavola.");
  }
  return SetBinaryField(index, bytes, size);
}

bool DbTable::SetBinaryField(int field, const void* bytes, std::size_t size) {
  const auto shown = [&] {
    return size == 0 ? std::string("NULL")
                     : "BLOB [" + FormatInteger(static_cast<std::int64_t>(size)) + " bytes]";
  };
  if (!CanWrite(field, shown)) return false;
  if (fields_[field].type != FieldType::LongBinary)
    return Fail(FieldContext(fields_[field].name) + " <" + shown() + ">",
                "Errore di conversione del tipo di dati: il campo non è di tipo Binario lungo.");
  if (size == 0) {
    buffer_[field].SetNull();
  } else {
    buffer_[field].SetBlob(bytes, size);
  }
  changed_[field] = true;
  return true;
}

// The record a read sees: the one being edited or added, else the current one.
const std::vector<FieldValue>* DbTable::RecordToRead(std::string_view field) {
  if (mode_ != EditMode::None) return &buffer_;
  return StandOnRecord(nullptr, field) ? &current_ : nullptr;
}

bool DbTable::GetField(std::string_view field, std::string& out) {
  out.clear();
  if (!IsOpen()) return false;
  const int index = FindField(field);
  if (index < 0) return Fail(FieldContext(field), "Il campo non esiste nella tavola.");
  const auto* record = RecordToRead(field);
  if (!record) return false;
  AppendKeyText(fields_[index].type, FieldValueView::Of((*record)[index]), out);
  return true;
}

bool DbTable::GetFieldText(std::string_view field, std::string& out) {
  out.clear();
  if (!IsOpen()) return false;
  const int index = FindField(field);
  if (index < 0) return Fail(FieldContext(field), "Il campo non esiste nella tavola.");
  const auto* record = RecordToRead(field);
  if (!record) return false;
  AppendDisplayText(fields_[index].type, FieldValueView::Of((*record)[index]), out);
  return true;
}

const FieldValue* DbTable::StoredValue(int field) {
  if (!IsOpen() || field < 0 || field >= static_cast<int>(fields_.size())) return nullptr;
  const auto* record = RecordToRead(fields_[field].name);
  return record ? &(*record)[field] : nullptr;
}

bool DbTable::GetBinaryField(std::string_view field, std::vector<std::uint8_t>& out) {
  out.clear();
  if (!IsOpen()) return false;
  const int index = FindField(field);
  if (index < 0) return Fail(FieldContext(field), "Il campo non esiste nella tavola.");
  const auto* record = RecordToRead(field);
  if (!record) return false;
  const FieldValue& value = (*record)[index];
  if (fields_[index].type == FieldType::LongBinary &&
      (value.kind == FieldValue::Kind::Blob || value.kind == FieldValue::Kind::Text))
    out.assign(value.bytes.begin(), value.bytes.end());
  return true;
}

std::size_t DbTable::GetBinaryFieldSize(std::string_view field) {
  if (!IsOpen()) return 0;
  const int index = FindField(field);
  if (index < 0) return Fail(FieldContext(field), "Il campo non esiste nella tavola."), 0;
  const auto* record = RecordToRead(field);
  if (!record) return 0;
  const FieldValue& value = (*record)[index];
  if (fields_[index].type != FieldType::LongBinary) return 0;
  return (value.kind == FieldValue::Kind::Blob || value.kind == FieldValue::Kind::Text) ? value.bytes.size()
                                                                                        : 0;
}

bool DbTable::SaveRecord() {
  saved_.clear();
  if (!IsOpen() || fields_.empty()) return false;
  const auto* record = RecordToRead(fields_.front().name);
  if (!record) return false;
  saved_.reserve(fields_.size());
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    SavedField saved{
        fields_[i].name, fields_[i].type, {}, fields_[i].type == FieldType::LongBinary, (*record)[i]};
    if (!saved.binary) AppendKeyText(saved.type, FieldValueView::Of(saved.value), saved.text);
    saved_.push_back(std::move(saved));
  }
  return true;
}

bool DbTable::RestoreRecord() {
  if (!IsOpen()) return false;
  for (const SavedField& saved : saved_) {
    const int index = FindField(saved.name);
    if (saved.binary) {
      SetBinaryField(saved.name, saved.value.bytes.data(),
                     saved.value.kind == FieldValue::Kind::Null ? 0 : saved.value.bytes.size());
    } else if (index >= 0 && mode_ != EditMode::None && fields_[index].type == saved.type &&
               (saved.type != FieldType::Text ||
                utf8::Length(saved.value.bytes) <= static_cast<std::size_t>(fields_[index].size))) {
      // The same type takes the value itself: the key text of a double keeps only four decimals and that
      // of a date no time of day.
      buffer_[index] = saved.value;
      changed_[index] = true;
    } else {
      SetField(saved.name, saved.text);
    }
  }
  return true;
}

}  // namespace viamappa
