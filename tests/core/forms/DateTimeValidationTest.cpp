#include "forms/DateTimeValidation.h"

#include <gtest/gtest.h>

#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

constexpr const char* kDateFormat = "la data deve essere in formato GG/MM/AAAA";
constexpr const char* kCalendar = "la data indicata non può esistere nel calendario";
constexpr const char* kTimeFormat = "l'orario deve essere in formato HH.MM";
constexpr const char* kClock = "l'orario indicato non può esistere sull'orologio";

struct Case {
  const char* typed;
  const char* result;  // the rewritten text, or the reason of the refusal
  bool valid;
};

// A valid text is rewritten without a word; a refused one is kept and its reason shown once.
template <std::size_t N>
void Check(const Case (&cases)[N], bool (*validate)(UserInterface&, std::string&), const char* caption) {
  for (const Case& c : cases) {
    ScriptedUserInterface ui;
    std::string text = c.typed;
    EXPECT_EQ(validate(ui, text), c.valid) << c.typed;
    EXPECT_EQ(text, c.valid ? c.result : c.typed);
    ASSERT_EQ(ui.messages().size(), c.valid ? 0u : 1u) << c.typed;
    if (c.valid) continue;
    EXPECT_EQ(ui.last_message().text, "\"" + std::string(c.typed) + "\"; " + c.result);
    EXPECT_EQ(ui.last_message().caption, caption);
    EXPECT_EQ(ui.last_message().icon, MessageIcon::Warning);
  }
}

TEST(DateTimeValidationTest, Dates) {
  // The sentinels come before the length; a year of three digits has 1000 added.
  const Case cases[] = {{"", "00/00/0000", true},           {"000", "00/00/0000", true},
                        {" 99 ", "99/99/9999", true},       {"00000000000000", "00/00/0000", true},
                        {"99/99/9999", "99/99/9999", true}, {"5/3/24", "05/03/2024", true},
                        {"5-3-50", "05/03/2050", true},     {"5-3-51", "05/03/1951", true},
                        {"1.2.0", "01/02/2000", true},      {"7:8;999", "07/08/1999", true},
                        {"29/02/2000", "29/02/2000", true}, {"1/1/2399", "01/01/2399", true},
                        {"1/1/1601", "01/01/1601", true},   {"29.2.1900", kCalendar, false},
                        {"31/04/2001", kCalendar, false},   {"1/1/1600", kCalendar, false},
                        {"1/1/2400", kCalendar, false},     {"0/1/2000", kCalendar, false},
                        {"1/13/2000", kCalendar, false},    {"a/b/c", kCalendar, false},
                        {"12/2005", kDateFormat, false},    {"01/01/20000", kDateFormat, false},
                        {"12 05 2005", kDateFormat, false}};
  Check(cases, ValidateDate, "Verifica Input; errore formato data");
}

TEST(DateTimeValidationTest, Times) {
  const Case cases[] = {
      {"", "00.00", true},          {"8", "08.00", true},
      {"8:5", "08.05", true},       {"23,59", "23.59", true},
      {"99.99", "23.59", true},     {"1/2", "01.00", true},  // a slash separates no time: reading stops there
      {"24.00", kClock, false},     {"12.60", kClock, false},
      {"99.98", kClock, false},     {"123456", kTimeFormat, false},
      {"1.2.3", kTimeFormat, false}};
  Check(cases, ValidateTime, "Verifica Input: errore formato orario");
}

}  // namespace
}  // namespace viamappa
