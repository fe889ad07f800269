// The access layer against raw SQLite: one million rows shaped like `archi` written through DbTable
// (AddNew, SetField x 20, Update, in one batch) and through prepared statements, then read back through
// DbQuery and through a sqlite3_step loop. Both write into identical tables made by the same engine.
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "BenchSupport.h"
#include "base/NumberText.h"
#include "db/DbBatch.h"
#include "db/DbConnection.h"
#include "db/DbQuery.h"
#include "db/DbTable.h"
#include "db/Engine.h"
#include "db/Sqlite.h"
#include "ui/ConsoleUserInterface.h"

namespace viamappa {
namespace {

using bench::Seconds;

struct Column {
  const char* name;
  FieldType type;
  int size;
  bool required;
};

// The fields of `archi`, in order.
constexpr Column kArchi[] = {
    {"ID", FieldType::Long, 0, true},          {"orgden", FieldType::Text, 60, false},
    {"orgalt", FieldType::Text, 60, false},    {"denom", FieldType::Text, 60, false},
    {"alterna", FieldType::Text, 60, false},   {"codele", FieldType::Text, 20, false},
    {"codreg", FieldType::Text, 20, false},    {"classe", FieldType::Text, 10, false},
    {"piazza", FieldType::Boolean, 0, true},   {"modnome", FieldType::Boolean, 0, true},
    {"modifica", FieldType::Boolean, 0, true}, {"elimina", FieldType::Boolean, 0, true},
    {"aggiunto", FieldType::Boolean, 0, true}, {"verifica", FieldType::Boolean, 0, true},
    {"datins", FieldType::Date, 0, true},      {"datmod", FieldType::Date, 0, true},
    {"nodini", FieldType::Long, 0, true},      {"nodfin", FieldType::Long, 0, true},
    {"local", FieldType::Integer, 0, true},    {"comune", FieldType::Integer, 0, true},
};

// One row as a caller holds it.
struct Arc {
  std::int32_t id, nodini, nodfin, local, comune;
  std::string orgden, orgalt, denom, alterna, codele, codreg, classe, datins, datmod;
  std::int32_t flags[6];
};

void MakeArc(std::int32_t i, Arc& arc) {
  static const char* kNames[] = {"VIA ROMA", "PIAZZA DUOMO", "VIALE DELL'UNIVERSITÀ", "CORSO ITALIA",
                                 "VICOLO STRETTO"};
  arc.id = i;
  arc.orgden = kNames[i % 5];
  arc.orgalt = i % 7 == 0 ? "STRADA VECCHIA" : "";
  arc.denom = arc.orgden;
  arc.alterna = arc.orgalt;
  char code[32];
  arc.codele.assign(code, std::snprintf(code, sizeof code, "E%d", 100000000 + i));
  arc.codreg.assign(code, std::snprintf(code, sizeof code, "R%d", 2000 + i % 900));
  arc.classe = i % 3 == 0 ? "SC" : "SP";
  for (int f = 0; f < 6; ++f) arc.flags[f] = (i >> f) & 1;
  arc.datins = "01/02/2020";
  arc.datmod = "15/07/2024";
  arc.nodini = i;
  arc.nodfin = i + 1;
  arc.local = i % 300;
  arc.comune = i % 200;
}

bool CreateArcTable(EngineDatabase& db, const char* name) {
  TableDefinition table(name);
  std::string error;
  int position = 0;
  for (const Column& column : kArchi) {
    FieldDefinition field;
    field.name = column.name;
    field.type = column.type;
    field.size = column.size;
    field.required = column.required;
    field.ordinal_position = ++position;
    if (!table.AppendField(field, error)) return false;
  }
  IndexDefinition index;
  index.name = "codice";
  index.fields = {"ID"};
  index.primary = index.unique = true;
  if (db.AppendTable(table, error) && db.CreateIndex(name, index, error)) return true;
  std::fprintf(stderr, "%s\n", error.c_str());
  return false;
}

double InsertThroughTheLayer(DbConnection& connection, int rows) {
  const auto start = std::chrono::steady_clock::now();
  DbTable table(connection, "archi");
  DbBatch batch(connection);
  Arc arc;
  char number[16];
  const auto text = [&](std::int32_t value) {
    return std::string_view(number, FormatInteger(value).copy(number, sizeof number));
  };
  for (int i = 1; i <= rows; ++i) {
    MakeArc(i, arc);
    table.AddNew();
    table.SetField("ID", text(arc.id));
    table.SetField("orgden", arc.orgden);
    table.SetField("orgalt", arc.orgalt);
    table.SetField("denom", arc.denom);
    table.SetField("alterna", arc.alterna);
    table.SetField("codele", arc.codele);
    table.SetField("codreg", arc.codreg);
    table.SetField("classe", arc.classe);
    table.SetField("piazza", arc.flags[0] ? "1" : "0");
    table.SetField("modnome", arc.flags[1] ? "1" : "0");
    table.SetField("modifica", arc.flags[2] ? "1" : "0");
    table.SetField("elimina", arc.flags[3] ? "1" : "0");
    table.SetField("aggiunto", arc.flags[4] ? "1" : "0");
    table.SetField("verifica", arc.flags[5] ? "1" : "0");
    table.SetField("datins", arc.datins);
    table.SetField("datmod", arc.datmod);
    table.SetField("nodini", text(arc.nodini));
    table.SetField("nodfin", text(arc.nodfin));
    table.SetField("local", text(arc.local));
    table.SetField("comune", text(arc.comune));
    if (!table.Update()) std::exit(1);
  }
  return Seconds(start);
}

// The peer writes what the layer stores: typed values, NULL for empty text, ISO dates.
double InsertThroughSqlite(sqlite3* db, int rows) {
  const auto start = std::chrono::steady_clock::now();
  std::string sql = "INSERT INTO peer VALUES (?1";
  for (int i = 2; i <= 20; ++i) sql += ", ?" + std::to_string(i);
  SqliteStatement insert = PrepareStatement(db, sql + ")");
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  Arc arc;
  const auto bind_text = [&](int index, const std::string& text) {
    if (text.empty()) {
      sqlite3_bind_null(insert.get(), index);
    } else {
      sqlite3_bind_text(insert.get(), index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
    }
  };
  for (int i = 1; i <= rows; ++i) {
    MakeArc(i, arc);
    sqlite3_stmt* s = insert.get();
    sqlite3_bind_int(s, 1, arc.id);
    bind_text(2, arc.orgden);
    bind_text(3, arc.orgalt);
    bind_text(4, arc.denom);
    bind_text(5, arc.alterna);
    bind_text(6, arc.codele);
    bind_text(7, arc.codreg);
    bind_text(8, arc.classe);
    for (int f = 0; f < 6; ++f) sqlite3_bind_int(s, 9 + f, arc.flags[f]);
    sqlite3_bind_text(s, 15, "2020-02-01", 10, SQLITE_STATIC);
    sqlite3_bind_text(s, 16, "2024-07-15", 10, SQLITE_STATIC);
    sqlite3_bind_int(s, 17, arc.nodini);
    sqlite3_bind_int(s, 18, arc.nodfin);
    sqlite3_bind_int(s, 19, arc.local);
    sqlite3_bind_int(s, 20, arc.comune);
    if (sqlite3_step(s) != SQLITE_DONE) std::exit(1);
    sqlite3_reset(s);
  }
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  return Seconds(start);
}

std::string SelectList() {
  std::string list;
  for (const Column& column : kArchi) list += (list.empty() ? "" : ", ") + std::string(column.name);
  return list;
}

double ReadThroughTheLayer(DbConnection& connection, long long& checksum) {
  const auto start = std::chrono::steady_clock::now();
  DbQuery query(connection);
  query.SetSelect(SelectList());
  query.SetFrom("archi");
  Arc arc;
  std::string* texts[] = {&arc.orgden, &arc.orgalt, &arc.denom, &arc.alterna,
                          &arc.codele, &arc.codreg, &arc.classe};
  for (bool row = query.Open(); row; row = query.MoveNext()) {
    query.GetLong(0, arc.id);
    for (int t = 0; t < 7; ++t) query.GetText(1 + t, *texts[t]);
    for (int f = 0; f < 6; ++f) query.GetShort(8 + f, arc.flags[f]);
    query.GetText(14, arc.datins);
    query.GetText(15, arc.datmod);
    query.GetLong(16, arc.nodini);
    query.GetLong(17, arc.nodfin);
    query.GetShort(18, arc.local);
    query.GetShort(19, arc.comune);
    checksum +=
        arc.id + arc.nodfin + arc.comune + static_cast<long long>(arc.denom.size() + arc.datins.size());
  }
  return Seconds(start);
}

double ReadThroughSqlite(sqlite3* db, long long& checksum) {
  const auto start = std::chrono::steady_clock::now();
  SqliteStatement select = PrepareStatement(db, "SELECT " + SelectList() + " FROM peer");
  Arc arc;
  std::string* texts[] = {&arc.orgden, &arc.orgalt, &arc.denom, &arc.alterna,
                          &arc.codele, &arc.codreg, &arc.classe};
  sqlite3_stmt* s = select.get();
  const auto copy = [&](int column, std::string& out) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
    out.assign(text ? text : "", sqlite3_column_bytes(s, column));
  };
  while (sqlite3_step(s) == SQLITE_ROW) {
    arc.id = sqlite3_column_int(s, 0);
    for (int t = 0; t < 7; ++t) copy(1 + t, *texts[t]);
    for (int f = 0; f < 6; ++f) arc.flags[f] = sqlite3_column_int(s, 8 + f) ? -1 : 0;
    copy(14, arc.datins);
    copy(15, arc.datmod);
    arc.nodini = sqlite3_column_int(s, 16);
    arc.nodfin = sqlite3_column_int(s, 17);
    arc.local = sqlite3_column_int(s, 18);
    arc.comune = sqlite3_column_int(s, 19);
    checksum +=
        arc.id + arc.nodfin + arc.comune + static_cast<long long>(arc.denom.size() + arc.datins.size());
  }
  return Seconds(start);
}

}  // namespace
}  // namespace viamappa

int main(int argc, char** argv) {
  using namespace viamappa;
  int rows = 1000000;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--rows") == 0) rows = std::atoi(argv[i + 1]);
  }
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("viamappa-db-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string ours = (dir / "layer.mdb").string();
  const std::string peer = (dir / "peer.mdb").string();
  std::string error;
  ConsoleUserInterface ui;
  double insert_ours = 1e9, insert_peer = 1e9, read_ours = 1e9, read_peer = 1e9;
  long long sum_ours = 0, sum_peer = 0;
  // The disk makes single runs noisy: the best of two rounds of writing counts, each into new files.
  for (int round = 0; round < 2; ++round) {
    std::filesystem::remove(ours);
    std::filesystem::remove(peer);
    {
      auto a = EngineDatabase::Create(ours, kGeneralLocale, error);
      auto b = EngineDatabase::Create(peer, kGeneralLocale, error);
      if (!a || !b || !CreateArcTable(*a, "archi") || !CreateArcTable(*b, "peer")) {
        std::fprintf(stderr, "db_bench: %s\n", error.c_str());
        return 1;
      }
    }
    {
      DbConnection connection(ours, ui);
      insert_ours = std::min(insert_ours, InsertThroughTheLayer(connection, rows));
    }
    {
      auto db = EngineDatabase::Open(peer, error);
      insert_peer = std::min(insert_peer, InsertThroughSqlite(db->handle(), rows));
    }
  }
  // Reads are short and sensitive to what else the machine does: the best of three rounds counts.
  for (int round = 0; round < 3; ++round) {
    sum_ours = sum_peer = 0;
    {
      DbConnection connection(ours, ui);
      read_ours = std::min(read_ours, ReadThroughTheLayer(connection, sum_ours));
    }
    {
      auto db = EngineDatabase::Open(peer, error);
      read_peer = std::min(read_peer, ReadThroughSqlite(db->handle(), sum_peer));
    }
  }
  std::filesystem::remove_all(dir);
  if (sum_ours != sum_peer) {
    std::fprintf(stderr, "db_bench: the two reads differ (%lld, %lld)\n", sum_ours, sum_peer);
    return 1;
  }
  std::printf("db benchmark: %d rows shaped like archi (20 fields)\n", rows);
  std::printf("  %-8s %14s %14s %8s %8s\n", "", "DbTable/Query", "raw SQLite", "ratio", "goal");
  std::printf("  %-8s %12.2f s %12.2f s %8.2f %8s\n", "insert", insert_ours, insert_peer,
              insert_ours / insert_peer, "<= 1.5");
  std::printf("  %-8s %12.2f s %12.2f s %8.2f %8s\n", "read", read_ours, read_peer, read_ours / read_peer,
              "<= 1.3");
  bench::PrintFigure({"db.insert", insert_ours, "s", insert_peer, "ratio<=1.5"});
  bench::PrintFigure({"db.read", read_ours, "s", read_peer, "ratio<=1.3"});
  return 0;
}
