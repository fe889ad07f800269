#include "db/DbQuery.h"

#include <gtest/gtest.h>

#include <string>

#include "base/NumberText.h"
#include "db/DbTable.h"
#include "db/JetDialect.h"
#include "support/SampleConnection.h"

namespace viamappa {
namespace {

class DbQueryTest : public testing::SampleConnectionTest {
 protected:
  void SetUp() override {
    SampleConnectionTest::SetUp();
    std::string sql = "BEGIN;";
    for (int i = 1; i <= 5; ++i)
      sql += "INSERT INTO nodi VALUES (" + std::to_string(i) + ", " + std::to_string(i) + ".5, 0);";
    sql +=
        "INSERT INTO archi VALUES (1, 'VIA ROMA   ', 'SC', 1, '1600-01-01', 1, 2, 7);"
        "INSERT INTO archi VALUES (2, 'via dell''Università', 'SS', 0, '2021-03-04', 2, 3, 7);"
        "INSERT INTO archi VALUES (3, 'Piazza Città', NULL, 1, '2400-12-31', 3, 4, -1);"
        "INSERT INTO archi VALUES (4, NULL, 'SP', 0, '2019-12-31 08:30:00', 4, 5, 7);"
        "INSERT INTO campione (testo, valuta, binario, lungo) VALUES ('x', 12.5, x'0102', 1);"
        "COMMIT";
    Exec(sql);
  }

  // A query of the given clauses, not yet open.
  std::unique_ptr<DbQuery> Query(const std::string& select, const std::string& from,
                                 const std::string& where = {}, const std::string& order = {}) {
    auto query = std::make_unique<DbQuery>(*connection_);
    query->SetSelect(select);
    query->SetFrom(from);
    query->SetWhere(where);
    query->SetOrderBy(order);
    return query;
  }

  // The first column of every row, as text through GetFieldText of the named field.
  std::vector<std::string> Column(const std::string& select, const std::string& from,
                                  const std::string& where = {}, const std::string& order = {}) {
    const auto query = Query(select, from, where, order);
    std::vector<std::string> values;
    for (bool row = query->Open(); row; row = query->MoveNext()) {
      std::string value;
      query->GetFieldText(select.substr(0, select.find(',')), value);
      values.push_back(value);
    }
    return values;
  }
};

TEST_F(DbQueryTest, StatementErrorsShowTheStatement) {
  DbQuery query(*connection_);
  EXPECT_FALSE(query.Open()) << "no clauses";
  EXPECT_TRUE(ui_.messages().empty()) << "nothing ran";
  query.SetSelect("ID, denomm");
  query.SetFrom("archi");
  EXPECT_FALSE(query.Open());
  EXPECT_FALSE(query.MoveNext());
  RecordedMessage message = ui_.last_message();
  EXPECT_EQ(message.icon, MessageIcon::Warning);
  EXPECT_TRUE(message.text.starts_with("Errore estrazione Select SQL\n\nSELECT ID, denomm\nFROM archi\n\n\n"))
      << message.text;

  query.SetSelect("ID FROM WHERE");
  EXPECT_FALSE(query.Open());
  EXPECT_TRUE(TakeMessage().starts_with("Errore sintassi SQL\n\nSELECT ID FROM WHERE\n"));

  // Only one SELECT: nothing else can run through a query.
  query.SetSelect("ID");
  query.SetFrom("archi; DELETE FROM archi");
  EXPECT_FALSE(query.Open());
  EXPECT_TRUE(TakeMessage().starts_with("Errore sintassi SQL"));
  EXPECT_EQ(Column("count(*)", "archi"), std::vector<std::string>{"4"});
}

TEST_F(DbQueryTest, RowsAreWalkedForwardOnceAndAgainAfterRewind) {
  const auto opened = Query("ID", "nodi", "ID > 100");
  DbQuery& query = *opened;
  EXPECT_FALSE(query.Open());
  EXPECT_FALSE(query.MoveNext());
  EXPECT_TRUE(ui_.messages().empty()) << "an empty result is no error";

  query.SetWhere("ID >= 4");
  ASSERT_TRUE(query.Open());
  EXPECT_TRUE(query.MoveNext());
  EXPECT_FALSE(query.MoveNext());
  EXPECT_FALSE(query.MoveNext()) << "and from then on";
  std::int32_t id = 0;
  EXPECT_FALSE(query.GetLong(0, id));
  EXPECT_TRUE(TakeMessage().starts_with("Errore campo (#0) nella select corrente\n\n"));
  ASSERT_TRUE(query.Rewind());
  ASSERT_TRUE(query.GetLong(0, id));
  EXPECT_EQ(id, 4);
  EXPECT_FALSE(query.GetLong(1, id)) << "no such position";
  EXPECT_TRUE(TakeMessage().starts_with("Errore campo (#1) nella select corrente"));
}

// A typed read of a column as text: the value read, or "no:" and the neutral value left behind.
std::string Read(DbQuery& query, char type, int position) {
  std::int32_t number = 7;
  double real = 1;
  std::string text = "x";
  std::vector<std::uint8_t> bytes{1};
  const bool read = type == 's'   ? query.GetShort(position, number)
                    : type == 'l' ? query.GetLong(position, number)
                    : type == 'd' ? query.GetDouble(position, real)
                    : type == 't' ? query.GetText(position, text)
                                  : query.GetBinary(position, bytes);
  if (type == 's' || type == 'l') text = std::to_string(number);
  if (type == 'd') text = FormatShortest(real);
  if (type == 'b') text = std::to_string(bytes.size());
  return (read ? "" : "no:") + text;
}

TEST_F(DbQueryTest, TypedReadsGiveNeutralValuesForOtherTypes) {
  const auto opened =
      Query("piazza, denom, comune, archi.ID, datins, count(*) OVER () AS n, coord_x, 2.5 * 2", "archi, nodi",
            "archi.nodini = nodi.ID", "archi.ID");
  DbQuery& query = *opened;
  ASSERT_TRUE(query.Open()) << TakeMessage();
  // Per row: true reads as -1; a 16-bit field is no 32-bit one; computed counts are 32-bit integers;
  // GetText copies the text as it is; 1 January 1600 is the unknown date; NULL is no text.
  const std::vector<std::vector<std::tuple<char, int, const char*>>> rows = {
      {{'s', 0, "-1"},
       {'s', 1, "no:0"},
       {'s', 2, "7"},
       {'l', 2, "no:0"},
       {'l', 3, "1"},
       {'t', 3, "no:"},
       {'t', 1, "VIA ROMA   "},
       {'t', 4, "00/00/0000"},
       {'l', 5, "4"},
       {'d', 6, "1.5"},
       {'d', 7, "5"},
       {'d', 3, "no:0"},
       {'b', 1, "no:0"}},
      {{'s', 0, "0"}},
      {{'t', 4, "99/99/9999"}, {'t', 2, "no:"}},
      {{'t', 1, "no:"}, {'t', 4, "31/12/2019"}}};
  for (std::size_t row = 0; row < rows.size(); ++row) {
    ASSERT_TRUE(row == 0 || query.MoveNext());
    for (const auto& [type, position, value] : rows[row])
      EXPECT_EQ(Read(query, type, position), value) << "row " << row << " " << type << position;
  }
  EXPECT_TRUE(ui_.messages().empty()) << "type mismatches are silent";
}

TEST_F(DbQueryTest, FieldsByNameInDisplayForm) {
  const auto opened = Query("archi.ID, archi.denom, nodi.ID, campione.binario", "archi, nodi, campione",
                            "archi.nodfin = nodi.ID AND archi.ID = 1");
  DbQuery& query = *opened;
  ASSERT_TRUE(query.Open());
  const std::pair<const char*, const char*> cases[] = {
      {"DENOM", "VIA ROMA"}, {"nodi.id", "2"}, {"archi.ID", "1"}, {"binario", "BLOB [2 bytes]"}};
  for (const auto& [field, value] : cases) {
    std::string text;
    EXPECT_TRUE(query.GetFieldText(field, text)) << field;
    EXPECT_EQ(text, value) << field;
  }
  std::string text;
  EXPECT_FALSE(query.GetFieldText("classe", text));
  EXPECT_TRUE(TakeMessage().starts_with("Errore campo (classe) della tavola (archi, nodi, campione)\n\n"));
}

// LIKE, ISNULL and TRUE in conditions are the highlight criteria's tests, run through queries.
TEST_F(DbQueryTest, TheJetDialectIsUnderstood) {
  EXPECT_EQ(Column("ID", "archi", "classe = \"sc\""), std::vector<std::string>{"1"})
      << "text compares without case";
  EXPECT_EQ(Column("denom", "archi", "ID < 4", "denom"),
            (std::vector<std::string>{"Piazza Città", "via dell'Università", "VIA ROMA"}))
      << "ordering ignores letter case";
}

// Values bound to the `?` of a statement never act as SQL: quotes, wildcards and keywords in them are
// plain text, unless the value is meant as a LIKE pattern.
TEST_F(DbQueryTest, BoundParametersAreValuesNeverSql) {
  const auto ids = [this](const std::string& where, const std::vector<std::string>& texts) {
    const auto query = Query("ID", "archi", where, "ID");
    for (std::size_t i = 0; i < texts.size(); ++i) query->Bind(static_cast<int>(i) + 1, texts[i]);
    std::vector<std::int32_t> found;
    for (bool row = query->Open(); row; row = query->MoveNext()) {
      std::int32_t id = 0;
      query->GetLong(0, id);
      found.push_back(id);
    }
    return found;
  };
  using Ids = std::vector<std::int32_t>;
  EXPECT_EQ(ids("denom = ?", {"via dell'università"}), Ids{2}) << "an apostrophe, any letter case";
  EXPECT_EQ(ids("denom = ?", {"x' OR '1'='1"}), Ids{});
  EXPECT_EQ(ids("denom LIKE ?", {"*città"}), Ids{3}) << "a pattern keeps its wildcards";
  EXPECT_EQ(ids("denom LIKE ?", {LikeFragment("*città")}), Ids{}) << "a fragment matches itself";
  EXPECT_EQ(ids("classe = ? OR classe = ?2", {"SS", "sp"}), (Ids{2, 4}));
  EXPECT_EQ(ids("ID > ?", {}), Ids{}) << "an unbound parameter is NULL";

  const auto opened = Query("ID", "nodi", "coord_x > ? AND ID < ?");
  DbQuery& numbers = *opened;
  numbers.BindDouble(1, 2.5);
  numbers.BindInteger(2, 5);
  ASSERT_TRUE(numbers.Open() && numbers.MoveNext()) << "nodes 3 and 4";
  numbers.BindInteger(2, 4);
  ASSERT_TRUE(numbers.Open()) << "a value given again holds at the next Open";
  EXPECT_FALSE(numbers.MoveNext());
  numbers.Bind(3, "too many");
  EXPECT_FALSE(numbers.Open());
  EXPECT_NE(TakeMessage().find("Il parametro 3 non compare"), std::string::npos);
  numbers.ClearBindings();
  numbers.Bind(0, "no such number");
  EXPECT_FALSE(numbers.Open());
  EXPECT_NE(TakeMessage().find("Il parametro 0 non compare"), std::string::npos);
}

TEST_F(DbQueryTest, AQueryReadsASnapshotWhileTheLoopWrites) {
  const auto opened = Query("ID, coord_x", "nodi", "", "coord_x");
  DbQuery& query = *opened;
  DbTable nodi(*connection_, "nodi");
  ASSERT_TRUE(nodi.SelectIndex("codice"));
  std::vector<std::int32_t> visited;
  // Every step moves the node to the end of the order and adds a new one: a live cursor would meet
  // them again.
  for (bool row = query.Open(); row; row = query.MoveNext()) {
    std::int32_t id = 0;
    double x = 0;
    ASSERT_TRUE(query.GetLong(0, id) && query.GetDouble(1, x));
    EXPECT_EQ(x, id + 0.5) << "the value read is the one before the change";
    visited.push_back(id);
    ASSERT_TRUE(nodi.Seek({std::to_string(id)}));
    ASSERT_TRUE(nodi.Edit() && nodi.SetField("coord_x", std::to_string(1000 + id)) && nodi.Update());
    ASSERT_TRUE(nodi.AddNew() && nodi.SetField("ID", std::to_string(100 + id)) &&
                nodi.SetField("coord_x", "5000") && nodi.SetField("coord_y", "0") && nodi.Update());
  }
  EXPECT_EQ(visited, (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
  // Rewind runs the statement again and sees the changes.
  ASSERT_TRUE(query.Rewind());
  std::int32_t first = 0;
  query.GetLong(0, first);
  EXPECT_EQ(first, 1);
  int rows = 1;
  while (query.MoveNext()) ++rows;
  EXPECT_EQ(rows, 10);
}

TEST_F(DbQueryTest, RowsWithoutOrderComeInStorageOrderEveryTime) {
  Exec("DELETE FROM nodi WHERE ID = 3 AND NOT EXISTS (SELECT 1 FROM archi WHERE nodini = 3 OR nodfin = 3)");
  Exec("INSERT INTO nodi VALUES (0, 9, 9)");
  const auto first = Column("ID", "nodi");
  EXPECT_EQ(first, (std::vector<std::string>{"1", "2", "3", "4", "5", "0"}));
  EXPECT_EQ(Column("ID", "nodi"), first);
}

TEST_F(DbQueryTest, AQueryOutlivingItsConnectionKeepsItsRows) {
  auto query = Query("ID", "nodi");
  ASSERT_TRUE(query->Open());
  connection_.reset();
  int rows = 1;
  while (query->MoveNext()) ++rows;
  EXPECT_EQ(rows, 5) << "the rows were taken before the connection closed";
  EXPECT_FALSE(query->Rewind());
  EXPECT_FALSE(query->Open());
}

}  // namespace
}  // namespace viamappa
