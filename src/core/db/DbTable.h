// One table opened for indexed lookups and record changes. Every value travels as text; every failure
// of the engine is shown at once and answered with false.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "db/ConnectionCore.h"
#include "db/FieldValue.h"
#include "db/Sqlite.h"

namespace viamappa {

class DbConnection;

inline constexpr std::size_t kMaxSeekKeys = 16;

class DbTable {
 public:
  // Opens the table on an open connection. A missing or closed connection leaves the table closed
  // without a message; a missing table is shown ("Errore in fase di apertura della tavola").
  DbTable(DbConnection* connection, std::string_view table);
  DbTable(DbConnection& connection, std::string_view table) : DbTable(&connection, table) {}

  // Cancels a pending Edit or AddNew and closes the table.
  ~DbTable();
  DbTable(const DbTable&) = delete;
  DbTable& operator=(const DbTable&) = delete;

  bool IsOpen() const;
  const std::string& name() const { return name_; }

  // The interface the table shows its failures through; null on a missing connection.
  UserInterface* ui() const { return core_ ? core_->ui : nullptr; }

  // Makes the index of that name current and stands before its first record. False without a message
  // when the table is not open.
  bool SelectIndex(std::string_view index);

  // Finds the first record whose leading index fields equal the keys (converted to the fields' types),
  // and makes it current. False without a message when there is none or the table is not open.
  bool Seek(std::span<const std::string_view> keys);
  bool Seek(std::initializer_list<std::string_view> keys) {
    return Seek(std::span(keys.begin(), keys.size()));
  }

  // Record operations: edit the current record, start a new one, store the record being edited or
  // added, delete the current record. After AddNew and Update the current record is the one that was
  // current before AddNew.
  bool Edit();
  bool AddNew();
  bool Update();
  bool Delete();

  // Writes a value given as text into the record being edited or added; an empty text stores NULL
  // (false for a boolean).
  bool SetField(std::string_view field, std::string_view text);

  // Writes bytes into a long-binary field; size 0 stores NULL.
  bool SetBinaryField(std::string_view field, const void* bytes, std::size_t size);

  // Bulk writers for batch commands: the field by its position (FieldIndex) and the value typed, stored
  // exactly as its text form would be stored, with the same checks and messages.
  int FieldIndex(std::string_view field) const { return FindField(field); }
  bool SetField(int field, std::string_view text);
  bool SetFieldInteger(int field, std::int64_t value);
  bool SetFieldDouble(int field, double value);
  bool SetBinaryField(int field, const void* bytes, std::size_t size);
  // A value converted once for the field's type (TextToFieldValue) and written to many records.
  bool SetFieldValue(int field, const FieldValue& value);

  // Seek, Edit, SetFieldInteger and Update in one step, for batch commands that rewrite a few
  // whole-number fields (positions, FieldIndex) of many records: writes the values into the record
  // whose key in the current index (of one whole-number field) is key, without reading the record
  // first. Values are checked as SetFieldInteger checks them. True unless a value or the engine
  // refuses (shown), found telling whether a record had the key. The table then stands on no record.
  bool RewriteByKey(std::int64_t key, std::span<const int> fields, std::span<const std::int64_t> values,
                    bool& found);

  // The value in key form (GetField) or display form (GetFieldText), replacing out.
  bool GetField(std::string_view field, std::string& out);
  bool GetFieldText(std::string_view field, std::string& out);

  // The value of a field as stored, by its position (FieldIndex), in the current record or in the
  // record being edited or added; null when the position is no field or there is no current record.
  const FieldValue* StoredValue(int field);

  // The bytes of a long-binary value, replacing out; any other type gives no bytes.
  bool GetBinaryField(std::string_view field, std::vector<std::uint8_t>& out);
  std::size_t GetBinaryFieldSize(std::string_view field);

  // Keeps every field of the current record, and writes them all into the record being edited or added:
  // duplicates a record. Values keep their full precision.
  bool SaveRecord();
  bool RestoreRecord();

 private:
  struct Field {
    std::string name;
    FieldType type;
    int size;
  };
  struct SavedField {
    std::string name;
    FieldType type;
    std::string text;
    bool binary = false;
    FieldValue value;
  };
  enum class Position { BeforeFirst, OnRecord, NoRecord };
  enum class EditMode { None, Edit, AddNew };

  bool Fail(const std::string& context, const std::string& description) const;
  std::string TableContext(const char* operation) const;
  std::string FieldContext(std::string_view field) const;
  bool CanWrite(int field, const std::function<std::string()>& shown);
  int FindField(std::string_view name) const;
  std::string SelectColumns() const;
  // On failure these show the operation's message, or the field's when a field is named.
  bool ReadRecord(sqlite3_stmt* statement, const char* operation, std::string_view field = {});
  bool StandOnRecord(const char* operation, std::string_view field = {});
  const std::vector<FieldValue>* RecordToRead(std::string_view field);
  sqlite3_stmt* UpdateStatement();
  sqlite3_stmt* RewriteStatement(std::span<const int> fields);
  bool RefuseInteger(const Field& field, std::int64_t value) const;

  std::shared_ptr<ConnectionCore> core_;
  std::string name_;
  std::string stored_name_;
  bool open_ = false;
  std::vector<Field> fields_;
  mutable std::size_t next_field_hint_ = 0;

  std::string index_name_;
  std::vector<int> index_members_;
  std::vector<SqliteStatement> seek_statements_;  // by key count
  SqliteStatement insert_;
  SqliteStatement delete_;
  std::unordered_map<std::string, SqliteStatement> update_statements_;  // by the changed fields
  std::vector<int> rewrite_fields_;  // of rewrite_, the statement of the last RewriteByKey
  SqliteStatement rewrite_;

  Position position_ = Position::BeforeFirst;
  std::int64_t rowid_ = 0;
  std::vector<FieldValue> current_;
  EditMode mode_ = EditMode::None;
  std::vector<FieldValue> buffer_;
  std::vector<bool> changed_;
  std::vector<SavedField> saved_;
};

}  // namespace viamappa
