#include "forms/DateTimeValidation.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "base/Utf8.h"

namespace viamappa {

namespace {

constexpr std::string_view kDateSeparators = ",-./:;";
constexpr std::string_view kTimeSeparators = ",-.:;";

bool MadeOnlyOf(std::string_view text, char digit) {
  for (const char c : text)
    if (c != ' ' && c != '\t' && c != digit) return false;
  return true;
}

// A decimal number at the start of a part: leading blanks and a plus sign are skipped and reading
// stops at the first character that is no digit, so an empty part or one without digits reads 0.
// Values past a million are all equally out of range: they stop growing there.
int LeadingNumber(std::string_view part) {
  std::size_t i = 0;
  while (i < part.size() && (part[i] == ' ' || part[i] == '\t')) ++i;
  if (i < part.size() && part[i] == '+') ++i;
  int value = 0;
  for (; i < part.size() && part[i] >= '0' && part[i] <= '9'; ++i)
    if (value < 1000000) value = value * 10 + (part[i] - '0');
  return value;
}

std::vector<std::size_t> SeparatorsIn(std::string_view text, std::string_view separators) {
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (separators.find(text[i]) != std::string_view::npos) found.push_back(i);
  return found;
}

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int month, int year) {
  switch (month) {
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    case 2:
      return IsLeapYear(year) ? 29 : 28;
    default:
      return 31;
  }
}

bool Refuse(UserInterface& ui, const std::string& typed, const char* reason, const char* caption) {
  ui.ShowMessage("\"" + typed + "\"; " + reason, MessageIcon::Warning, caption);
  return false;
}

}  // namespace

bool ValidateDate(UserInterface& ui, std::string& text) {
  constexpr const char* kFormat = "la data deve essere in formato GG/MM/AAAA";
  if (MadeOnlyOf(text, '0')) {
    text = "00/00/0000";
    return true;
  }
  if (MadeOnlyOf(text, '9')) {
    text = "99/99/9999";
    return true;
  }
  if (utf8::Length(text) >= 11) return Refuse(ui, text, kFormat, kDateCaption);
  if (text == "00/00/0000" || text == "99/99/9999") return true;
  const std::vector<std::size_t> at = SeparatorsIn(text, kDateSeparators);
  if (at.size() != 2) return Refuse(ui, text, kFormat, kDateCaption);
  const std::string_view all(text);
  const int day = LeadingNumber(all.substr(0, at[0]));
  const int month = LeadingNumber(all.substr(at[0] + 1, at[1] - at[0] - 1));
  int year = LeadingNumber(all.substr(at[1] + 1));
  if (year < 100) year += year < 51 ? 2000 : 1900;
  if (year < 1000) year += 1000;
  if (year <= 1600 || year >= 2400 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(month, year))
    return Refuse(ui, text, "la data indicata non può esistere nel calendario", kDateCaption);
  char written[16];
  std::snprintf(written, sizeof written, "%02d/%02d/%04d", day, month, year);
  text = written;
  return true;
}

bool ValidateTime(UserInterface& ui, std::string& text) {
  constexpr const char* kFormat = "l'orario deve essere in formato HH.MM";
  if (text.empty()) {
    text = "00.00";
    return true;
  }
  if (utf8::Length(text) >= 6) return Refuse(ui, text, kFormat, kTimeCaption);
  const std::vector<std::size_t> at = SeparatorsIn(text, kTimeSeparators);
  if (at.size() > 1) return Refuse(ui, text, kFormat, kTimeCaption);
  const std::string_view all(text);
  int hours = LeadingNumber(at.empty() ? all : all.substr(0, at[0]));
  int minutes = at.empty() ? 0 : LeadingNumber(all.substr(at[0] + 1));
  if (hours == 99 && minutes == 99) {
    hours = 23;
    minutes = 59;
  } else if (hours > 23 || minutes > 59) {
    return Refuse(ui, text, "l'orario indicato non può esistere sull'orologio", kTimeCaption);
  }
  char written[8];
  std::snprintf(written, sizeof written, "%02d.%02d", hours, minutes);
  text = written;
  return true;
}

}  // namespace viamappa
