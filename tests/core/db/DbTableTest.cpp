#include "db/DbTable.h"

#include <gtest/gtest.h>

#include <string>

#include "db/DateText.h"
#include "db/FieldValue.h"
#include "support/RoadNetworkDatabase.h"
#include "support/SampleConnection.h"

namespace viamappa {
namespace {

// The key and display forms of each field type, and the conversion of typed texts.
std::string Key(FieldType type, const FieldValue& value) {
  std::string out;
  AppendKeyText(type, FieldValueView::Of(value), out);
  return out;
}

std::string Display(FieldType type, const FieldValue& value) {
  std::string out;
  AppendDisplayText(type, FieldValueView::Of(value), out);
  return out;
}

FieldValue Converted(FieldType type, std::string_view text, int size = 0) {
  FieldValue value;
  EXPECT_EQ(TextToFieldValue(type, size, text, value), ConversionError::None) << text;
  return value;
}

TEST(FieldValueTest, CurrencyHasTwentyOneCharacters) {
  EXPECT_EQ(FormatCurrency(-0.0001), "-000000000000000,0001");
  EXPECT_EQ(FormatCurrency(12345678901.2345), "+000012345678901,2345");
  EXPECT_EQ(Key(FieldType::Currency, Converted(FieldType::Currency, "1,23456")), "+000000000000001,2346");
}

TEST(FieldValueTest, DatesKeepTheirSentinels) {
  // The sentinels, the first and last real dates, dates beyond them, other spellings.
  const std::pair<const char*, const char*> dates[] = {
      {"00/00/0000", "00/00/0000"}, {"99/99/9999", "99/99/9999"}, {"01/01/1601", "01/01/1601"},
      {"31/12/2399", "31/12/2399"}, {"15/06/1500", "00/00/0000"}, {"01/01/3000", "99/99/9999"},
      {"2026-11-05", "05/11/2026"}, {"5/1/99", "05/01/1999"}};
  for (const auto& [text, key] : dates)
    EXPECT_EQ(Key(FieldType::Date, Converted(FieldType::Date, text)), key) << text;
  FieldValue garbage;
  garbage.SetText("ieri");
  EXPECT_EQ(Key(FieldType::Date, garbage), "00/00/0000") << "a value that cannot be converted";
  for (const char* text : {"29/02/2023", "00/01/2020", "1/13/2020", "12/12/20201", "01/01/2020 24:00"}) {
    FieldValue value;
    EXPECT_EQ(TextToFieldValue(FieldType::Date, 0, text, value), ConversionError::TypeMismatch) << text;
  }
}

TEST(FieldValueTest, StorageThatDoesNotMatchTheTypeIsShownAsItIs) {
  FieldValue text;
  text.SetText("12 ");
  EXPECT_EQ(Key(FieldType::Long, text), "12 ");
  EXPECT_EQ(Display(FieldType::Long, text), "12");
  FieldValue whole;
  whole.SetInteger(3);
  EXPECT_EQ(Key(FieldType::Double, whole), "000000000000003,0000");
  EXPECT_EQ(Key(FieldType::Expression, whole), "3");
  FieldValue bytes;
  bytes.SetBlob("ab", 2);
  EXPECT_EQ(Display(FieldType::Expression, bytes), "BLOB [2 bytes]");
  EXPECT_EQ(Key(FieldType::Expression, bytes), "");
}

TEST(FieldValueTest, EmptyTextIsNullButABooleanIsFalse) {
  EXPECT_TRUE(Converted(FieldType::Text, "", 5).IsNull());
  EXPECT_TRUE(Converted(FieldType::Long, "").IsNull());
  const FieldValue flag = Converted(FieldType::Boolean, "");
  EXPECT_EQ(flag.kind, FieldValue::Kind::Integer);
  EXPECT_EQ(flag.integer, 0);
  EXPECT_EQ(Key(FieldType::Boolean, Converted(FieldType::Boolean, "-1")), "1");
  EXPECT_EQ(Key(FieldType::Boolean, Converted(FieldType::Boolean, "Vero")), "1");
}

class DbTableTest : public testing::SampleConnectionTest {
 protected:
  void SetUp() override {
    SampleConnectionTest::SetUp();
    Exec(
        "INSERT INTO nodi VALUES (1, 10.5, 20.25); INSERT INTO nodi VALUES (2, 11, 21);"
        "INSERT INTO nodi VALUES (3, 12, 22)");
  }

  std::string Field(DbTable& table, const char* name) {
    std::string value;
    EXPECT_TRUE(table.GetField(name, value)) << name;
    return value;
  }
  std::string Display(DbTable& table, const char* name) {
    std::string value;
    EXPECT_TRUE(table.GetFieldText(name, value)) << name;
    return value;
  }
  // A stored value as SQLite holds it: its type and its text.
  std::string Stored(const std::string& sql) {
    return testing::Rows(*connection_, "typeof(x) || ':' || ifnull(x, '')", "(" + sql + ")").at(0);
  }
  // A new record of the given field values.
  bool AddRecord(DbTable& table, std::initializer_list<std::pair<const char*, std::string>> values) {
    if (!table.AddNew()) return false;
    for (const auto& [field, value] : values) {
      if (!table.SetField(field, value)) return false;
    }
    return table.Update();
  }
  bool AddArc(const char* id, const char* from, const char* to) {
    DbTable archi(*connection_, "archi");
    return AddRecord(
        archi, {{"ID", id}, {"nodini", from}, {"nodfin", to}, {"comune", "0"}, {"datins", "01/02/2020"}});
  }
};

TEST_F(DbTableTest, OnlyRealFailuresOfOpeningAreShown) {
  DbTable without(nullptr, "nodi");
  EXPECT_FALSE(without.IsOpen());
  EXPECT_FALSE(without.SelectIndex("codice"));
  EXPECT_FALSE(without.Seek({"1"}));
  EXPECT_TRUE(ui_.messages().empty());

  DbTable missing(*connection_, "strade");
  EXPECT_FALSE(missing.IsOpen());
  ASSERT_EQ(ui_.messages().size(), 1u);
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Stop);
  EXPECT_TRUE(TakeMessage().starts_with("Errore in fase di apertura della tavola (strade)\n\n"));

  DbTable outliving(*connection_, "nodi");
  ASSERT_TRUE(outliving.SelectIndex("codice") && outliving.Seek({"1"}));
  connection_->Close();
  DbTable closed(*connection_, "nodi");
  EXPECT_FALSE(closed.IsOpen());
  EXPECT_TRUE(ui_.messages().empty());

  // A table outliving its connection fails without harm.
  connection_.reset();
  EXPECT_FALSE(outliving.IsOpen());
  EXPECT_FALSE(outliving.Seek({"1"}));
  EXPECT_FALSE(outliving.AddNew());
  std::string value;
  EXPECT_FALSE(outliving.GetField("ID", value));
}

// The forms of each type are the field values' tests; here what is written comes back through them, and
// is stored as other readers of the file expect it.
TEST_F(DbTableTest, ValuesReadBackInKeyAndDisplayForms) {
  DbTable table(*connection_, "campione");
  const std::string bytes(40, '\x07');
  ASSERT_TRUE(table.AddNew() && table.SetBinaryField("binario", bytes.data(), bytes.size()));
  ASSERT_TRUE(table.SetField("testo", "VIA   ") && table.SetField("sino", "1") &&
              table.SetField("data", "00/00/0000") && table.SetField("doppio", "3,5") &&
              table.SetField("intero", "-32768") && table.SetField("lungo", "1") && table.Update());
  ASSERT_TRUE(
      AddRecord(table, {{"testo", " "}, {"data", "99/99/9999"}, {"doppio", "-0.25"}, {"lungo", "2"}}));
  ASSERT_TRUE(AddRecord(table, {{"data", "01/02/2020 10:20:30"}, {"doppio", "0,123456789"}, {"lungo", "3"}}));
  ASSERT_TRUE(ui_.messages().empty()) << TakeMessage();

  // Key forms; NULL reads as empty text and a boolean never written is false.
  const std::vector<std::vector<std::pair<const char*, const char*>>> keys = {
      {{"testo", "VIA   "},
       {"sino", "1"},
       {"doppio", "000000000000003,5000"},
       {"intero", "-32768"},
       {"binario", ""},
       {"memo", ""}},
      {{"sino", "0"}, {"data", "99/99/9999"}, {"doppio", "-00000000000000,2500"}}};
  ASSERT_TRUE(table.SelectIndex("codice"));
  for (std::size_t row = 0; row < keys.size(); ++row) {
    ASSERT_TRUE(table.Seek({std::to_string(row + 1)}));
    for (const auto& [field, key] : keys[row]) EXPECT_EQ(Field(table, field), key) << row << " " << field;
  }
  EXPECT_EQ(Display(table, "testo"), " ") << "the first character is never cut";
  ASSERT_TRUE(table.Seek({"1"}));
  EXPECT_EQ(Display(table, "testo"), "VIA");
  EXPECT_EQ(Display(table, "binario"), "BLOB [40 bytes]");
  EXPECT_EQ(table.GetBinaryFieldSize("doppio"), 0u);
  std::vector<std::uint8_t> read;
  ASSERT_TRUE(table.GetBinaryField("binario", read));
  EXPECT_EQ(std::string(read.begin(), read.end()), bytes);

  EXPECT_EQ(Stored("SELECT data AS x FROM campione WHERE lungo = 1"), "text:1600-01-01");
  EXPECT_EQ(Stored("SELECT data AS x FROM campione WHERE lungo = 2"), "text:2400-12-31");
  EXPECT_EQ(Stored("SELECT sino AS x FROM campione WHERE lungo = 2"), "integer:0");
  EXPECT_EQ(Stored("SELECT data AS x FROM campione WHERE lungo = 3"), "text:2020-02-01 10:20:30");
  EXPECT_EQ(Stored("SELECT doppio AS x FROM campione WHERE lungo = 3"), "real:0.123456789") << "every digit";
}

TEST_F(DbTableTest, WritesThatAreRefusedShowTheFieldAndTheValue) {
  DbTable table(*connection_, "campione");
  ASSERT_TRUE(table.AddNew());
  const auto refused = [&](const char* field, const char* value) {
    ui_.ClearMessages();
    const bool written = table.SetField(field, value);
    const RecordedMessage message = ui_.last_message();
    EXPECT_EQ(message.icon, MessageIcon::Stop);
    const std::string expected =
        std::string("Errore campo (") + field + ") della tavola (campione) <" + value + ">\n\n";
    EXPECT_TRUE(message.text.starts_with(expected)) << message.text;
    return !written && message.text.size() > expected.size();
  };
  EXPECT_TRUE(refused("intero", "32768"));
  EXPECT_NE(ui_.last_message().text.find("Overflow"), std::string::npos);
  const std::pair<const char*, const char*> cases[] = {
      {"lungo", "2147483648"}, {"intero", "1,5"},   {"intero", "dodici"},
      {"doppio", "1.000,5"},   {"doppio", "1e999"}, {"testo", "undici car."},
      {"data", "31/02/2021"},  {"sino", "forse"},   {"manca", "1"}};
  for (const auto& [field, value] : cases) EXPECT_TRUE(refused(field, value)) << field << " " << value;
  ui_.ClearMessages();
  EXPECT_TRUE(table.SetField("testo", "àèìòùÀÈÌÒÙ")) << "sizes count characters, not bytes";
  EXPECT_TRUE(table.SetField("intero", " 12,0 "));
  EXPECT_TRUE(table.SetField("data", "29/02/2024 23:59:59"));
  EXPECT_TRUE(ui_.messages().empty());

  DbTable idle(*connection_, "campione");
  EXPECT_FALSE(idle.SetField("testo", "x")) << "no Edit or AddNew";
  EXPECT_NE(TakeMessage().find("Edit o AddNew"), std::string::npos);
}

TEST_F(DbTableTest, UpdateRefusalsComeFromTheFile) {
  DbTable archi(*connection_, "archi");
  ASSERT_TRUE(archi.AddNew());
  ASSERT_TRUE(archi.SetField("denom", "VIA ROMA"));
  EXPECT_FALSE(archi.Update()) << "required fields are missing";
  RecordedMessage message = ui_.last_message();
  EXPECT_EQ(message.icon, MessageIcon::Stop);
  EXPECT_TRUE(
      message.text.starts_with("Errore aggiornamento tavola (archi)\n\nIl campo archi.ID non può contenere"))
      << message.text;

  // The record stays pending: mended, it is stored.
  ASSERT_TRUE(archi.SetField("ID", "7") && archi.SetField("nodini", "1") && archi.SetField("nodfin", "9") &&
              archi.SetField("comune", "0") && archi.SetField("datins", "01/01/2020"));
  EXPECT_FALSE(archi.Update()) << "node 9 does not exist";
  EXPECT_NE(TakeMessage().find("archi_fin"), std::string::npos);
  ASSERT_TRUE(archi.SetField("nodfin", "3"));
  EXPECT_TRUE(archi.Update());

  EXPECT_FALSE(AddArc("7", "1", "2")) << "duplicate key";
  message = ui_.last_message();
  EXPECT_TRUE(message.text.starts_with("Errore aggiornamento tavola (archi)\n\n")) << message.text;
  EXPECT_NE(message.text.find("duplicati"), std::string::npos);
  EXPECT_FALSE(archi.Update()) << "nothing pending";
}

TEST_F(DbTableTest, SeekFindsThroughTheCurrentIndex) {
  ASSERT_TRUE(AddArc("1", "1", "2"));
  DbTable archi(*connection_, "archi");
  ASSERT_TRUE(archi.SelectIndex("codice"));
  ASSERT_TRUE(archi.Seek({"1"}));
  ASSERT_TRUE(archi.Edit() && archi.SetField("DENOM", "Via Roma") && archi.SetField("classe", "SC") &&
              archi.Update());

  DbTable nodi(*connection_, "NODI");
  ASSERT_TRUE(nodi.SelectIndex("CODICE"));
  EXPECT_TRUE(nodi.Seek({"2"}));
  EXPECT_EQ(Field(nodi, "coord_X"), "000000000000011,0000");
  EXPECT_FALSE(nodi.Seek({"99"}));
  EXPECT_FALSE(nodi.Seek({""}));
  EXPECT_TRUE(ui_.messages().empty()) << "a miss is no error";

  // Text keys compare without regard to case, and a key may cover the first fields only.
  ASSERT_TRUE(archi.SelectIndex("nome"));
  EXPECT_TRUE(archi.Seek({"VIA ROMA", "sc"}));
  EXPECT_TRUE(archi.Seek({"via roma"}));
  EXPECT_FALSE(archi.Seek({"via roma", "SS"}));
  EXPECT_TRUE(ui_.messages().empty());

  EXPECT_FALSE(nodi.Seek({"x"}));
  EXPECT_TRUE(TakeMessage().starts_with("Errore lettura tavola (NODI)\n\n"));
  const std::vector<std::string_view> too_many(17, "1");
  EXPECT_FALSE(nodi.Seek(too_many));
  EXPECT_FALSE(TakeMessage().empty());
  EXPECT_FALSE(nodi.SelectIndex("posizione"));
  EXPECT_TRUE(TakeMessage().starts_with("Errore selezione indice (posizione) tavola (NODI)\n\n"));
}

TEST_F(DbTableTest, RewriteByKeyWritesWholeNumbersWithTheChecksOfTheSetters) {
  ASSERT_TRUE(AddArc("1", "1", "2"));
  DbTable archi(*connection_, "archi");
  ASSERT_TRUE(archi.SelectIndex("codice"));
  const int fields[] = {archi.FieldIndex("comune")};
  bool found = false;
  const std::int64_t seven[] = {7};
  ASSERT_TRUE(archi.RewriteByKey(1, fields, seven, found));
  EXPECT_TRUE(found);
  ASSERT_TRUE(archi.RewriteByKey(99, fields, seven, found));
  EXPECT_FALSE(found) << "no record, no message";
  EXPECT_TRUE(ui_.messages().empty());
  const std::int64_t too_big[] = {40000};
  EXPECT_FALSE(archi.RewriteByKey(1, fields, too_big, found));
  EXPECT_TRUE(TakeMessage().starts_with("Errore campo (comune) della tavola (archi) <40000>\n\n"));
  const int text[] = {archi.FieldIndex("denom")};
  EXPECT_FALSE(archi.RewriteByKey(1, text, seven, found));
  EXPECT_FALSE(TakeMessage().empty());
  ASSERT_TRUE(archi.SelectIndex("nome"));
  EXPECT_FALSE(archi.RewriteByKey(1, fields, seven, found)) << "a key of text fields";
  EXPECT_FALSE(TakeMessage().empty());
  ASSERT_TRUE(archi.SelectIndex("codice") && archi.Seek({"1"}));
  EXPECT_EQ(Field(archi, "comune"), "7");
}

TEST_F(DbTableTest, EditAddAndDeleteMoveTheCurrentRecordAsExpected) {
  DbTable nodi(*connection_, "nodi");
  ASSERT_TRUE(nodi.SelectIndex("codice"));
  EXPECT_EQ(Field(nodi, "ID"), "1") << "before any Seek the table stands on its first record";

  ASSERT_TRUE(nodi.Seek({"2"}));
  ASSERT_TRUE(nodi.AddNew() && nodi.SetField("ID", "4") && nodi.SetField("coord_x", "1") &&
              nodi.SetField("coord_y", "2"));
  EXPECT_EQ(Field(nodi, "ID"), "4") << "reads see the record being added";
  ASSERT_TRUE(nodi.Update());
  EXPECT_EQ(Field(nodi, "ID"), "2") << "after AddNew the current record is the one before it";

  ASSERT_TRUE(nodi.Edit() && nodi.SetField("coord_x", "99,75") && nodi.Update());
  ASSERT_TRUE(nodi.Seek({"2"}));
  EXPECT_EQ(Field(nodi, "coord_x"), "000000000000099,7500");

  ASSERT_TRUE(AddArc("1", "1", "2"));
  EXPECT_FALSE(nodi.Delete()) << "node 2 is still the end of an arc";
  EXPECT_TRUE(TakeMessage().starts_with("Errore eliminazione tavola (nodi)\n\nImpossibile eliminare"));
  ASSERT_TRUE(nodi.Seek({"3"}));
  ASSERT_TRUE(nodi.Delete());
  std::string value;
  EXPECT_FALSE(nodi.GetField("ID", value));
  EXPECT_TRUE(TakeMessage().starts_with("Errore campo (ID) della tavola (nodi)\n\nNessun record corrente"));
  EXPECT_FALSE(nodi.Edit());
  EXPECT_FALSE(nodi.Seek({"3"}));
}

}  // namespace
}  // namespace viamappa
