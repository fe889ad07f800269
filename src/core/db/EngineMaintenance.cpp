// Checking, repairing and compacting database files.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <optional>
#include <set>

#include "base/NumberText.h"
#include "base/TextUtil.h"
#include "db/Engine.h"
#include "db/EngineError.h"
#include "db/JetDialect.h"
#include "db/JetFunctions.h"
#include "db/SchemaAudit.h"
#include "db/Sqlite.h"

namespace viamappa {

namespace {

bool Exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

// Problems found by the engine's own check of pages and indexes.
void CheckPages(sqlite3* db, std::vector<std::string>& problems) {
  SqliteStatement check = PrepareStatement(db, "PRAGMA integrity_check(100)");
  if (!check) {
    problems.push_back(DescribeEngineError(db, sqlite3_errcode(db)));
    return;
  }
  int rc;
  while ((rc = sqlite3_step(check.get())) == SQLITE_ROW) {
    const std::string_view line = ColumnText(check.get(), 0);
    if (line != "ok") problems.emplace_back(line);
  }
  if (rc != SQLITE_DONE) problems.push_back(DescribeEngineError(db, rc));
}

bool TriggerExists(sqlite3* db, const std::string& name) {
  SqliteStatement statement =
      PrepareStatement(db, "SELECT 1 FROM sqlite_master WHERE type = 'trigger' AND name = ?1");
  if (!statement) return false;
  sqlite3_bind_text(statement.get(), 1, name.c_str(), -1, SQLITE_TRANSIENT);
  return sqlite3_step(statement.get()) == SQLITE_ROW;
}

bool RelationEnforced(sqlite3* db, const RelationDefinition& relation) {
  for (const char* kind : {"ins", "upd", "del", "key"}) {
    if (!TriggerExists(db, "rel." + relation.name + "." + kind)) return false;
  }
  return true;
}

// The rows of the foreign table (named f) that refer to no row of the primary table.
std::string OrphanCondition(const RelationDefinition& relation) {
  std::string match, not_null;
  for (const FieldPair& pair : relation.fields) {
    match += std::string(match.empty() ? "" : " AND ") + "p." + QuoteIdentifier(pair.primary_field) +
             " = f." + QuoteIdentifier(pair.foreign_field);
    not_null += std::string(not_null.empty() ? "" : " AND ") + "f." + QuoteIdentifier(pair.foreign_field) +
                " IS NOT NULL";
  }
  return not_null + " AND NOT EXISTS (SELECT 1 FROM " + QuoteIdentifier(relation.primary_table) +
         " AS p WHERE " + match + ")";
}

std::int64_t CountOrphans(sqlite3* db, const RelationDefinition& relation) {
  SqliteStatement count =
      PrepareStatement(db, "SELECT count(*) FROM " + QuoteIdentifier(relation.foreign_table) +
                               " AS f WHERE " + OrphanCondition(relation));
  if (!count || sqlite3_step(count.get()) != SQLITE_ROW) return 0;
  return sqlite3_column_int64(count.get(), 0);
}

void CheckRelations(EngineDatabase& database, std::vector<std::string>& problems) {
  for (const RelationDefinition& relation : database.DescribeRelations()) {
    if (!RelationEnforced(database.handle(), relation))
      problems.push_back("La relazione " + relation.name + " non è più applicata dal database.");
    if (const std::int64_t orphans = CountOrphans(database.handle(), relation))
      problems.push_back("La tavola " + relation.foreign_table + " contiene " + FormatInteger(orphans) +
                         " record senza corrispondenza nella tavola " + relation.primary_table +
                         " (relazione " + relation.name + ").");
  }
}

RepairedTable& ReportEntry(RepairReport& report, const std::string& table) {
  for (RepairedTable& entry : report.tables) {
    if (entry.table == table) return entry;
  }
  report.tables.push_back({table});
  return report.tables.back();
}

std::vector<std::string> ColumnNames(sqlite3* db, const std::string& table) {
  std::vector<std::string> names;
  SqliteStatement info = PrepareStatement(db, "SELECT name FROM pragma_table_info(?1) ORDER BY cid");
  if (!info) return names;
  sqlite3_bind_text(info.get(), 1, table.c_str(), -1, SQLITE_TRANSIENT);
  while (sqlite3_step(info.get()) == SQLITE_ROW) names.emplace_back(ColumnText(info.get(), 0));
  return names;
}

std::string JoinedNames(const std::vector<std::string>& names, const std::string& prefix = {}) {
  std::string out;
  for (const std::string& name : names) out += (out.empty() ? "" : ", ") + prefix + QuoteIdentifier(name);
  return out;
}

// One text of SQL literals, comma separated, from the given expressions: what a person pastes into
// VALUES (...) to put a recovered row back.
std::string LiteralsOf(const std::vector<std::string>& expressions) {
  std::string out;
  for (const std::string& expression : expressions)
    out += (out.empty() ? "" : " || ', ' || ") + ("quote(" + expression + ")");
  return out.empty() ? "''" : out;
}

constexpr const char* kRecoveredColumns = " (table_name, row_id, reason, field_names, field_values) ";

bool EnsureRecoveredTable(sqlite3* db, std::string& error) {
  if (ExecuteSql(db,
                 "CREATE TABLE IF NOT EXISTS " + std::string(kRecoveredTable) +
                     " (table_name TEXT NOT NULL, row_id INTEGER NOT NULL, reason TEXT NOT NULL, "
                     "field_names TEXT NOT NULL, field_values TEXT NOT NULL, "
                     "moved_at TEXT NOT NULL DEFAULT (datetime('now')))",
                 &error))
    return true;
  error = "Impossibile creare la tavola " + std::string(kRecoveredTable) + " (" + error + ").";
  return false;
}

// Moves the rows of a table that meet a condition (over the table named f) to the recovered rows; the
// number moved, or -1 with the description.
std::int64_t MoveRows(sqlite3* db, const std::string& table, const std::string& reason,
                      const std::string& condition, std::string& error) {
  if (!EnsureRecoveredTable(db, error)) return -1;
  const std::vector<std::string> names = ColumnNames(db, table);
  std::vector<std::string> values;
  for (const std::string& name : names) values.push_back("f." + QuoteIdentifier(name));
  const std::string rows = " FROM " + QuoteIdentifier(table) + " AS f WHERE " + condition;
  SqliteStatement keep =
      PrepareStatement(db, "INSERT INTO " + std::string(kRecoveredTable) + kRecoveredColumns +
                               "SELECT ?1, f.rowid, ?2, ?3, " + LiteralsOf(values) + rows);
  const std::string field_names = JoinedNames(names);
  const bool kept =
      keep && sqlite3_bind_text(keep.get(), 1, table.c_str(), -1, SQLITE_TRANSIENT) == SQLITE_OK &&
      sqlite3_bind_text(keep.get(), 2, reason.c_str(), -1, SQLITE_TRANSIENT) == SQLITE_OK &&
      sqlite3_bind_text(keep.get(), 3, field_names.c_str(), -1, SQLITE_TRANSIENT) == SQLITE_OK &&
      sqlite3_step(keep.get()) == SQLITE_DONE;
  const std::int64_t moved = kept ? sqlite3_changes(db) : -1;
  keep.reset();
  if (moved == 0 || (moved > 0 && ExecuteSql(db, "DELETE FROM " + QuoteIdentifier(table) +
                                                     " WHERE rowid IN (SELECT f.rowid" + rows + ")")))
    return moved;
  error = "Impossibile spostare le righe della tavola " + table + " in " + std::string(kRecoveredTable) +
          " (" + sqlite3_errmsg(db) + ").";
  return -1;
}

// What a damaged page gives when it is read, as opposed to a busy file or a lack of memory.
bool IsDamage(int rc) {
  switch (rc & 0xff) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_IOERR:
    case SQLITE_TOOBIG:
    case SQLITE_FORMAT:
      return true;
    default:
      return false;
  }
}

constexpr std::int64_t kLastRowid = std::numeric_limits<std::int64_t>::max();

// Copies the readable rows of one table from one connection to the other, keeping their row ids.
// Reading goes forwards; where a damaged page stops it, it goes on from the first row id that the
// table's tree still reaches, so that only the rows of damaged pages stay behind. The table's indexes
// then tell which rows those were: each is looked up once more on its own, and counted as lost when it
// cannot be read. A row that the copy refuses (a value breaks its field's rule, a row id repeats) is kept
// in the recovered rows.
class TableSalvage {
 public:
  TableSalvage(sqlite3* from, sqlite3* to, std::string table)
      : from_(from), to_(to), table_(std::move(table)) {}

  // False with a description naming the table when a statement failed or a row could not be kept.
  bool Run(std::string& error);

  std::int64_t read() const { return copied_ + static_cast<std::int64_t>(moved_.size()); }
  std::int64_t lost() const { return static_cast<std::int64_t>(lost_.size()); }
  std::int64_t moved() const { return static_cast<std::int64_t>(moved_.size()); }
  // Every row of the table is known, through an index read whole or because nothing was damaged.
  bool counted() const { return !damaged_ || counted_; }
  // No row could be read, while the table may hold some.
  bool Unreadable() const { return damaged_ && read() == 0 && (lost() > 0 || !counted_); }

 private:
  enum class Scan { kEnd, kStopped, kFailed };

  bool Fail(std::string& error, const std::string& what, sqlite3* db) {
    error = "Impossibile " + what + " della tavola " + table_ + " (" + sqlite3_errmsg(db) + ").";
    return false;
  }
  Scan ScanFrom(std::int64_t position, bool& any, std::int64_t& last, std::string& error);
  int Seek(std::int64_t position, std::int64_t* first = nullptr);
  bool NextReachable(std::int64_t low, std::optional<std::int64_t>& next, std::string& error);
  bool Copy(sqlite3_stmt* read, std::string& error);
  bool Recover(sqlite3_stmt* read, std::int64_t rowid, const std::string& reason, std::string& error);
  bool LookUpIndexedRows(std::string& error);

  sqlite3* from_;
  sqlite3* to_;
  std::string table_;
  std::vector<std::string> names_;
  SqliteStatement scan_, row_, seek_, insert_, copied_row_, recover_;
  std::int64_t copied_ = 0;
  std::set<std::int64_t> lost_, moved_;
  bool damaged_ = false;
  bool counted_ = false;
};

bool TableSalvage::Run(std::string& error) {
  names_ = ColumnNames(to_, table_);
  if (names_.empty()) return Fail(error, "leggere i campi", to_);
  std::string placeholders = "?1";
  for (std::size_t i = 0; i < names_.size(); ++i)
    placeholders += ", ?" + FormatInteger(static_cast<std::int64_t>(i) + 2);
  const std::string quoted = QuoteIdentifier(table_);
  const std::string columns = "rowid, " + JoinedNames(names_);
  const std::string select = "SELECT " + columns + " FROM " + quoted + " WHERE rowid ";
  if (!(scan_ = PrepareStatement(from_, select + ">= ?1 ORDER BY rowid")) ||
      !(row_ = PrepareStatement(from_, select + "= ?1")) ||
      !(seek_ = PrepareStatement(
            from_, "SELECT rowid FROM " + quoted + " WHERE rowid >= ?1 ORDER BY rowid LIMIT 1")))
    return Fail(error, "leggere le righe", from_);
  if (!(insert_ = PrepareStatement(
            to_, "INSERT INTO " + quoted + " (" + columns + ") VALUES (" + placeholders + ")")) ||
      !(copied_row_ = PrepareStatement(to_, "SELECT 1 FROM " + quoted + " WHERE rowid = ?1")))
    return Fail(error, "copiare le righe", to_);

  std::int64_t position = std::numeric_limits<std::int64_t>::min();
  for (;;) {
    bool any = false;
    std::int64_t last = 0;
    const Scan scan = ScanFrom(position, any, last, error);
    if (scan == Scan::kFailed) return false;
    if (scan == Scan::kEnd) break;
    damaged_ = true;
    if (any) {
      // Again from the row after the last one read, where the damage now comes first.
      if (last == kLastRowid) break;
      position = last + 1;
      continue;
    }
    std::int64_t first = 0;
    const int seek = Seek(position, &first);
    if (seek == SQLITE_ROW) {
      // The tree reaches the row, but the row itself cannot be read.
      lost_.insert(first);
      if (first == kLastRowid) break;
      position = first + 1;
    } else if (seek == SQLITE_DONE) {
      break;
    } else if (!IsDamage(seek)) {
      return Fail(error, "leggere le righe", from_);
    } else {
      std::optional<std::int64_t> next;
      if (!NextReachable(position, next, error)) return false;
      if (!next) break;
      position = *next;
    }
  }
  return !damaged_ || LookUpIndexedRows(error);
}

TableSalvage::Scan TableSalvage::ScanFrom(std::int64_t position, bool& any, std::int64_t& last,
                                          std::string& error) {
  sqlite3_reset(scan_.get());
  sqlite3_bind_int64(scan_.get(), 1, position);
  int rc;
  while ((rc = sqlite3_step(scan_.get())) == SQLITE_ROW) {
    // A page of garbage may still read as rows, but not in the order of their ids.
    const std::int64_t rowid = sqlite3_column_int64(scan_.get(), 0);
    if (rowid < position || (any && rowid <= last)) return Scan::kStopped;
    any = true;
    last = rowid;
    if (!Copy(scan_.get(), error)) return Scan::kFailed;
  }
  if (rc == SQLITE_DONE) return Scan::kEnd;
  if (IsDamage(rc)) return Scan::kStopped;
  Fail(error, "leggere le righe", from_);
  return Scan::kFailed;
}

// SQLITE_ROW with the first row id from position on, SQLITE_DONE when there is none, or the error that
// going down the tree met.
int TableSalvage::Seek(std::int64_t position, std::int64_t* first) {
  sqlite3_reset(seek_.get());
  sqlite3_bind_int64(seek_.get(), 1, position);
  int rc = sqlite3_step(seek_.get());
  if (rc == SQLITE_ROW) {
    const std::int64_t rowid = sqlite3_column_int64(seek_.get(), 0);
    if (rowid < position) rc = SQLITE_CORRUPT;  // a page of garbage
    if (first) *first = rowid;
  }
  sqlite3_reset(seek_.get());
  return rc;
}

// The least row id above low from which the tree can be read again, low being one it cannot: found by
// doubling the stride, then halving the last one; nothing when no row id up to the largest can. False
// when the reading failed for another reason than damage.
bool TableSalvage::NextReachable(std::int64_t low, std::optional<std::int64_t>& next, std::string& error) {
  const auto reachable = [&](std::int64_t position, bool& yes) {
    const int rc = Seek(position);
    yes = rc == SQLITE_ROW || rc == SQLITE_DONE;
    return yes || IsDamage(rc) || Fail(error, "leggere le righe", from_);
  };
  // Row ids span the whole 64-bit range: the distances are unsigned.
  const auto distance = [](std::int64_t a, std::int64_t b) {
    return static_cast<std::uint64_t>(b) - static_cast<std::uint64_t>(a);
  };
  const auto advance = [](std::int64_t a, std::uint64_t by) {
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) + by);
  };
  std::uint64_t stride = 1;
  std::int64_t high = low;
  for (bool yes = false;;) {
    high = distance(low, kLastRowid) < stride ? kLastRowid : advance(low, stride);
    if (!reachable(high, yes)) return false;
    if (yes) break;
    if (high == kLastRowid) return true;
    low = high;
    if (stride < (std::uint64_t{1} << 62)) stride *= 2;
  }
  while (distance(low, high) > 1) {
    const std::int64_t middle = advance(low, distance(low, high) / 2);
    bool yes = false;
    if (!reachable(middle, yes)) return false;
    (yes ? high : low) = middle;
  }
  next = high;
  return true;
}

bool TableSalvage::Copy(sqlite3_stmt* read, std::string& error) {
  const std::int64_t rowid = sqlite3_column_int64(read, 0);
  sqlite3_reset(insert_.get());
  // Values are bound as copies of what was read, whatever their type.
  for (int i = 0; i <= static_cast<int>(names_.size()); ++i) {
    if (sqlite3_bind_value(insert_.get(), i + 1, sqlite3_column_value(read, i)) != SQLITE_OK)
      return Fail(error, "copiare la riga " + FormatInteger(rowid), to_);
  }
  const int rc = sqlite3_step(insert_.get());
  if (rc == SQLITE_DONE) {
    ++copied_;
    return true;
  }
  const std::string message = sqlite3_errmsg(to_);
  sqlite3_reset(insert_.get());
  if ((rc & 0xff) == SQLITE_CONSTRAINT) return Recover(read, rowid, message, error);
  return Fail(error, "copiare la riga " + FormatInteger(rowid), to_);
}

bool TableSalvage::Recover(sqlite3_stmt* read, std::int64_t rowid, const std::string& reason,
                           std::string& error) {
  if (!recover_) {
    if (!EnsureRecoveredTable(to_, error)) return false;
    std::vector<std::string> parameters;
    for (std::size_t i = 0; i < names_.size(); ++i)
      parameters.push_back("?" + FormatInteger(static_cast<std::int64_t>(i) + 5));
    recover_ = PrepareStatement(to_, "INSERT INTO " + std::string(kRecoveredTable) + kRecoveredColumns +
                                         "VALUES (?1, ?2, ?3, ?4, " + LiteralsOf(parameters) + ")");
    if (!recover_) return Fail(error, "conservare le righe rifiutate", to_);
  }
  sqlite3_stmt* keep = recover_.get();
  sqlite3_reset(keep);
  const std::string field_names = JoinedNames(names_);
  bool bound = sqlite3_bind_text(keep, 1, table_.c_str(), -1, SQLITE_TRANSIENT) == SQLITE_OK &&
               sqlite3_bind_int64(keep, 2, rowid) == SQLITE_OK &&
               sqlite3_bind_text(keep, 3, reason.c_str(), -1, SQLITE_TRANSIENT) == SQLITE_OK &&
               sqlite3_bind_text(keep, 4, field_names.c_str(), -1, SQLITE_TRANSIENT) == SQLITE_OK;
  for (int i = 1; bound && i <= static_cast<int>(names_.size()); ++i)
    bound = sqlite3_bind_value(keep, i + 4, sqlite3_column_value(read, i)) == SQLITE_OK;
  if (!bound || sqlite3_step(keep) != SQLITE_DONE)
    return Fail(error, "conservare la riga rifiutata " + FormatInteger(rowid), to_);
  sqlite3_reset(keep);
  moved_.insert(rowid);
  return true;
}

// The rows that the indexes know and the reading missed: looked up one by one; those that cannot be
// read are lost.
bool TableSalvage::LookUpIndexedRows(std::string& error) {
  std::vector<std::string> indexes;
  SqliteStatement list =
      PrepareStatement(from_, "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = ?1");
  if (!list) return Fail(error, "leggere gli indici", from_);
  sqlite3_bind_text(list.get(), 1, table_.c_str(), -1, SQLITE_TRANSIENT);
  while (sqlite3_step(list.get()) == SQLITE_ROW) indexes.emplace_back(ColumnText(list.get(), 0));
  list.reset();

  std::vector<std::int64_t> known;
  for (const std::string& index : indexes) {
    // Only the index is read: every entry holds the row id of its row.
    SqliteStatement entries = PrepareStatement(
        from_, "SELECT rowid FROM " + QuoteIdentifier(table_) + " INDEXED BY " + QuoteIdentifier(index));
    if (!entries) continue;  // a partial index cannot be read whole
    int rc;
    while ((rc = sqlite3_step(entries.get())) == SQLITE_ROW)
      known.push_back(sqlite3_column_int64(entries.get(), 0));
    if (rc == SQLITE_DONE) {
      counted_ = true;
    } else if (!IsDamage(rc)) {
      return Fail(error, "leggere l'indice " + index, from_);
    }
  }
  std::sort(known.begin(), known.end());
  known.erase(std::unique(known.begin(), known.end()), known.end());
  for (const std::int64_t rowid : known) {
    if (lost_.count(rowid) || moved_.count(rowid)) continue;
    sqlite3_reset(copied_row_.get());
    sqlite3_bind_int64(copied_row_.get(), 1, rowid);
    const int copied = sqlite3_step(copied_row_.get());
    if (copied == SQLITE_ROW) continue;
    if (copied != SQLITE_DONE) return Fail(error, "copiare le righe", to_);
    sqlite3_reset(row_.get());
    sqlite3_bind_int64(row_.get(), 1, rowid);
    // A row that the index knows and the tree does not reach is lost as well.
    const int rc = sqlite3_step(row_.get());
    if (rc == SQLITE_ROW && sqlite3_column_int64(row_.get(), 0) == rowid) {
      if (!Copy(row_.get(), error)) return false;
    } else if (rc == SQLITE_ROW || rc == SQLITE_DONE || IsDamage(rc)) {
      lost_.insert(rowid);
    } else {
      return Fail(error, "leggere la riga " + FormatInteger(rowid), from_);
    }
  }
  return true;
}

bool IsUniqueIndex(sqlite3* db, const std::string& table, const std::string& index) {
  SqliteStatement list = PrepareStatement(db, "SELECT \"unique\" FROM pragma_index_list(?1) WHERE name = ?2");
  if (!list) return false;
  sqlite3_bind_text(list.get(), 1, table.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(list.get(), 2, index.c_str(), -1, SQLITE_TRANSIENT);
  return sqlite3_step(list.get()) == SQLITE_ROW && sqlite3_column_int(list.get(), 0) != 0;
}

// Moves the rows that repeat the key of a unique index, keeping the first of each key, so that the index
// can be built; the number moved (none when the index has members that are not fields), or -1 with the
// description.
std::int64_t MoveRepeatedKeys(sqlite3* from, sqlite3* to, const std::string& table, const std::string& index,
                              std::string& error) {
  std::vector<std::string> members;
  SqliteStatement info = PrepareStatement(from, "SELECT name FROM pragma_index_info(?1) ORDER BY seqno");
  if (info) {
    sqlite3_bind_text(info.get(), 1, index.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(info.get()) == SQLITE_ROW) members.emplace_back(ColumnText(info.get(), 0));
  }
  if (members.empty() || std::count(members.begin(), members.end(), std::string()) > 0) return 0;
  // Rows with a NULL member never clash in a unique index.
  std::string not_null_f, not_null_d;
  for (const std::string& member : members) {
    not_null_f +=
        std::string(not_null_f.empty() ? "" : " AND ") + "f." + QuoteIdentifier(member) + " IS NOT NULL";
    not_null_d +=
        std::string(not_null_d.empty() ? "" : " AND ") + "d." + QuoteIdentifier(member) + " IS NOT NULL";
  }
  return MoveRows(to, table, "indice " + index,
                  not_null_f + " AND f.rowid NOT IN (SELECT min(d.rowid) FROM " + QuoteIdentifier(table) +
                      " AS d WHERE " + not_null_d + " GROUP BY " + JoinedNames(members, "d.") + ")",
                  error);
}

// Builds a sound copy of a damaged file from its schema and its readable rows; report gets what stayed
// behind.
bool SalvageInto(sqlite3* from, const std::string& copy_path, RepairReport& report, std::string& error) {
  std::remove(copy_path.c_str());
  sqlite3* to = nullptr;
  if (sqlite3_open_v2(copy_path.c_str(), &to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    error = "Impossibile creare il file di lavoro " + copy_path + " (" + sqlite3_errmsg(to) + ").";
    sqlite3_close_v2(to);
    return false;
  }
  // The rules of the fields may call the engine's own functions.
  bool ok = RegisterJetFunctions(to) &&
            ExecuteSql(to, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; BEGIN", &error);
  if (ok) ok = ExecuteSql(from, "BEGIN", &error);  // one view of the file throughout
  for (const char* pragma : {"application_id", "user_version"}) {
    SqliteStatement read = PrepareStatement(from, std::string("PRAGMA ") + pragma);
    ok = ok && read && sqlite3_step(read.get()) == SQLITE_ROW &&
         ExecuteSql(
             to, std::string("PRAGMA ") + pragma + " = " + FormatInteger(sqlite3_column_int64(read.get(), 0)),
             &error);
  }
  // Tables first, then their rows, then indexes and triggers over the rows.
  struct Object {
    std::string type, name, table, sql;
  };
  std::vector<Object> objects;
  SqliteStatement schema = PrepareStatement(
      from, "SELECT type, name, tbl_name, sql FROM sqlite_master WHERE sql IS NOT NULL ORDER BY rowid");
  int rc = SQLITE_ERROR;
  while (schema && (rc = sqlite3_step(schema.get())) == SQLITE_ROW)
    objects.push_back({std::string(ColumnText(schema.get(), 0)), std::string(ColumnText(schema.get(), 1)),
                       std::string(ColumnText(schema.get(), 2)), std::string(ColumnText(schema.get(), 3))});
  schema.reset();
  if (ok && rc != SQLITE_DONE) {
    error = "Impossibile leggere lo schema del database (" + std::string(sqlite3_errmsg(from)) + ").";
    ok = false;
  }
  // The recovered rows of earlier repairs go first, so that rows moved now follow them.
  std::stable_partition(objects.begin(), objects.end(),
                        [](const Object& object) { return object.name == kRecoveredTable; });
  for (const Object& object : objects) {
    // The engine's statistics are rebuilt by the engine itself.
    if (ok && object.type == "table" && !object.name.starts_with("sqlite_") &&
        !ExecuteSql(to, object.sql, &error)) {
      error = "Impossibile ricreare la tavola " + object.name + " (" + error + ").";
      ok = false;
    }
  }
  for (const Object& object : objects) {
    if (!ok || object.type != "table" || object.name.starts_with("sqlite_")) continue;
    TableSalvage salvage(from, to, object.name);
    ok = salvage.Run(error);
    if (ok && salvage.Unreadable()) {
      // Replacing the file would throw away rows that other means of recovery may still reach.
      error = "Nessuna riga della tavola " + object.name +
              " è leggibile: il database è stato lasciato com'era, perché quelle righe si possano ancora "
              "recuperare con altri strumenti.";
      ok = false;
    }
    if (ok && (salvage.lost() > 0 || salvage.moved() > 0 || !salvage.counted())) {
      RepairedTable& entry = ReportEntry(report, object.name);
      entry.lost += salvage.lost();
      entry.lost_uncounted = entry.lost_uncounted || !salvage.counted();
      entry.moved += salvage.moved();
    }
  }
  for (const Object& object : objects) {
    if (!ok || object.type == "table") continue;
    std::string message;
    if (ExecuteSql(to, object.sql, &message)) continue;
    // A unique index that the damage made ambiguous keeps the first of the repeated rows.
    if (object.type == "index" && IsUniqueIndex(from, object.table, object.name)) {
      const std::int64_t moved = MoveRepeatedKeys(from, to, object.table, object.name, error);
      if (moved < 0) {
        ok = false;
        continue;
      }
      if (moved > 0) ReportEntry(report, object.table).moved += moved;
      if (ExecuteSql(to, object.sql, &message)) continue;
    }
    const char* kind = object.type == "index"     ? "l'indice "
                       : object.type == "trigger" ? "il trigger "
                                                  : "la vista ";
    error = std::string("Impossibile ricreare ") + kind + object.name + " (" + message + ").";
    ok = false;
  }
  if (ok && !ExecuteSql(to, "COMMIT", &error)) {
    error = "Impossibile completare il file di lavoro " + copy_path + " (" + error + ").";
    ok = false;
  }
  ExecuteSql(from, "COMMIT");
  sqlite3_close_v2(to);
  if (!ok) std::remove(copy_path.c_str());
  return ok;
}

// Replaces the content of a database in place with another file's, through the engine's backup, so
// that the file keeps its name, its permissions and any connection that has it open.
bool CopyContentInto(const std::string& source_path, sqlite3* destination, std::string& error) {
  sqlite3* source = nullptr;
  if (sqlite3_open_v2(source_path.c_str(), &source, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    error = sqlite3_errmsg(source);
    sqlite3_close_v2(source);
    return false;
  }
  sqlite3_backup* backup = sqlite3_backup_init(destination, "main", source, "main");
  int rc = backup ? sqlite3_backup_step(backup, -1) : sqlite3_errcode(destination);
  if (backup) sqlite3_backup_finish(backup);
  if (rc != SQLITE_DONE) error = DescribeEngineError(destination, rc);
  sqlite3_close_v2(source);
  return rc == SQLITE_DONE;
}

// False, with a description naming each of them, when some differences cannot be rebuilt without losing
// data.
bool RefuseLosses(const std::vector<SchemaDifference>& differences, std::string& error) {
  std::string lines;
  for (const SchemaDifference& difference : differences) {
    if (!IsRebuildable(difference)) lines += "\n" + difference.message;
  }
  if (lines.empty()) return true;
  error =
      "Lo schema del database differisce da quello del programma in modo che non si può ricostruire senza "
      "perdere dati; il database non è stato modificato." +
      lines;
  return false;
}

bool DropRelationTriggers(sqlite3* db, const std::string& relation, std::string& error) {
  for (const char* kind : {"ins", "upd", "del", "key"}) {
    if (!ExecuteSql(db, "DROP TRIGGER IF EXISTS " + QuoteIdentifier("rel." + relation + "." + kind), &error))
      return false;
  }
  return true;
}

}  // namespace

bool CheckDatabase(const std::string& path, const SchemaCatalog& catalog, std::vector<std::string>& problems,
                   std::string& error) {
  problems.clear();
  auto database = EngineDatabase::Open(path, error, EngineDatabase::Access::ReadOnly);
  if (!database) return false;
  CheckPages(database->handle(), problems);
  // A damaged file still tells its tables and fields; its indexes, relations and rows are read once its
  // pages are sound.
  const bool sound = problems.empty();
  for (const SchemaDifference& difference :
       CompareWithCatalog(*database, catalog, sound ? AuditScope::Everything : AuditScope::Fields))
    problems.push_back(difference.message);
  if (sound) CheckRelations(*database, problems);
  return true;
}

bool RepairDatabase(const std::string& path, const SchemaCatalog& catalog, RepairReport& report,
                    std::string& error) {
  report = {};
  // Opening rolls back a write that a killed process left half done.
  auto database = EngineDatabase::Open(path, error);
  if (!database) return false;
  sqlite3* db = database->handle();
  if (!RefuseLosses(CompareWithCatalog(*database, catalog, AuditScope::Fields), error)) return false;

  std::vector<std::string> problems;
  CheckPages(db, problems);
  if (!problems.empty()) {
    ExecuteSql(db, "REINDEX");
    problems.clear();
    CheckPages(db, problems);
  }
  if (!problems.empty()) {
    const std::string copy_path = path + ".riparazione";
    if (!SalvageInto(db, copy_path, report, error)) {
      report.tables.clear();  // the file is as it was
      return false;
    }
    const bool copied = CopyContentInto(copy_path, db, error);
    std::remove(copy_path.c_str());
    if (!copied) {
      report.tables.clear();
      return false;
    }
    problems.clear();
    CheckPages(db, problems);
    if (!problems.empty()) {
      error = "Il database è ancora danneggiato: " + problems.front();
      return false;
    }
  }

  const std::vector<SchemaDifference> differences =
      CompareWithCatalog(*database, catalog, AuditScope::Everything);
  if (!RefuseLosses(differences, error)) return false;
  bool work = !differences.empty();
  for (const RelationDefinition& relation : database->DescribeRelations())
    work = work || !RelationEnforced(db, relation) || CountOrphans(db, relation) > 0;
  if (!work) return database->Close(error);

  // The schema is rebuilt and the relations are made to hold again in one transaction, so that a failure
  // leaves the file as it was before this step.
  const RepairReport salvaged = report;
  const auto undo = [&] {
    ExecuteSql(db, "ROLLBACK");
    report = salvaged;
    return false;
  };
  if (!ExecuteSql(db, "BEGIN", &error)) return false;
  if (!RebuildFromCatalog(*database, catalog, differences, report.rebuilt, error)) return undo();

  // Relations whose description is lost or altered are made again from the catalog.
  std::vector<RelationDefinition> remade;
  for (const SchemaDifference& difference : differences) {
    if (difference.kind != SchemaDifference::Kind::MissingRelation &&
        difference.kind != SchemaDifference::Kind::DifferentRelation)
      continue;
    for (const RelationDefinition& relation : catalog.relations) {
      if (EqualsIgnoringCase(relation.name, difference.name)) remade.push_back(relation);
    }
    if (!DropRelationTriggers(db, difference.name, error) ||
        !database->Execute("DELETE FROM vm_relation WHERE name = " + SqlTextLiteral(difference.name), error))
      return undo();
  }
  const std::vector<RelationDefinition> relations = database->DescribeRelations();
  std::set<std::string> unenforced;
  for (const RelationDefinition& relation : relations) {
    if (!RelationEnforced(db, relation)) unenforced.insert(relation.name);
  }

  // Rows whose related row is gone move to the recovered rows, until every relation holds: a moved row
  // may leave rows of other relations without theirs. Enforcement is off meanwhile, and comes back below.
  std::vector<RelationDefinition> all = relations;
  all.insert(all.end(), remade.begin(), remade.end());
  if (std::any_of(all.begin(), all.end(),
                  [&](const RelationDefinition& relation) { return CountOrphans(db, relation) > 0; })) {
    for (const RelationDefinition& relation : all) {
      if (!DropRelationTriggers(db, relation.name, error)) return undo();
    }
    for (bool moved_any = true; moved_any;) {
      moved_any = false;
      for (const RelationDefinition& relation : all) {
        const std::int64_t moved = MoveRows(db, relation.foreign_table, "relazione " + relation.name,
                                            OrphanCondition(relation), error);
        if (moved < 0) return undo();
        if (moved == 0) continue;
        ReportEntry(report, relation.foreign_table).moved += moved;
        moved_any = true;
      }
    }
  }
  for (const RelationDefinition& relation : remade) {
    std::string failure;
    if (!database->CreateRelation(relation, failure)) {
      error = "Impossibile ricostruire la relazione " + relation.name + " (" + failure + ").";
      return undo();
    }
    report.rebuilt.push_back("relazione " + relation.name);
  }
  // Relations whose enforcement was removed get it back.
  for (const RelationDefinition& relation : relations) {
    if (RelationEnforced(db, relation)) continue;
    if (!DropRelationTriggers(db, relation.name, error) || !database->CreateRelationTriggers(relation, error))
      return undo();
    if (unenforced.count(relation.name)) report.rebuilt.push_back("relazione " + relation.name);
  }

  // Whatever the rebuilding could not mend fails the repair rather than pass as mended.
  problems.clear();
  for (const SchemaDifference& difference : CompareWithCatalog(*database, catalog, AuditScope::Everything))
    problems.push_back(difference.message);
  CheckRelations(*database, problems);
  if (!problems.empty()) {
    error = "La riparazione non ha potuto ricostruire lo schema del database:";
    for (const std::string& problem : problems) error += "\n" + problem;
    return undo();
  }
  if (!ExecuteSql(db, "COMMIT", &error)) return undo();
  return database->Close(error);
}

bool CompactDatabase(const std::string& source, const std::string& destination, std::string_view locale,
                     std::string& error) {
  if (Exists(destination)) {
    error = "Il file di destinazione esiste già: " + destination;
    return false;
  }
  auto database = EngineDatabase::Open(source, error, EngineDatabase::Access::ReadOnly);
  if (!database) return false;
  SqliteStatement vacuum = PrepareStatement(database->handle(), "VACUUM INTO ?1");
  int rc = SQLITE_ERROR;
  if (vacuum) {
    sqlite3_bind_text(vacuum.get(), 1, destination.c_str(), -1, SQLITE_TRANSIENT);
    rc = sqlite3_step(vacuum.get());
  }
  if (rc != SQLITE_DONE) {
    error = DescribeEngineError(database->handle(), rc);
    vacuum.reset();
    std::remove(destination.c_str());
    return false;
  }
  vacuum.reset();
  database.reset();
  auto copy = EngineDatabase::Open(destination, error);
  if (!copy) return false;
  SqliteStatement set_locale =
      PrepareStatement(copy->handle(), "UPDATE vm_meta SET value = ?1 WHERE name = 'locale'");
  if (!set_locale) {
    error = DescribeEngineError(copy->handle(), sqlite3_errcode(copy->handle()));
    return false;
  }
  sqlite3_bind_text(set_locale.get(), 1, locale.data(), static_cast<int>(locale.size()), SQLITE_TRANSIENT);
  if (sqlite3_step(set_locale.get()) != SQLITE_DONE) {
    error = DescribeEngineError(copy->handle(), sqlite3_errcode(copy->handle()));
    return false;
  }
  set_locale.reset();
  return copy->Close(error);
}

}  // namespace viamappa
