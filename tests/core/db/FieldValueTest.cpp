#include "db/FieldValue.h"

#include <gtest/gtest.h>

#include "db/DateText.h"

namespace viamappa {
namespace {

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

}  // namespace
}  // namespace viamappa
