#include "db/DateText.h"

#include "base/TextUtil.h"

namespace viamappa {

namespace {

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return (month == 2 && IsLeapYear(year)) ? 29 : kDays[month - 1];
}

// Reads 1 to max_digits digits at text[pos]; -1 when there is none.
int ReadNumber(std::string_view text, std::size_t& pos, int max_digits, int* digits_read = nullptr) {
  int value = 0;
  int digits = 0;
  while (pos < text.size() && digits < max_digits && text[pos] >= '0' && text[pos] <= '9') {
    value = value * 10 + (text[pos++] - '0');
    ++digits;
  }
  if (digits_read) *digits_read = digits;
  return digits ? value : -1;
}

// Writes value as `digits` decimal digits with leading zeros.
void AppendDigits(std::string& out, int value, int digits) {
  char buffer[8];
  for (int i = digits - 1; i >= 0; --i, value /= 10) buffer[i] = static_cast<char>('0' + value % 10);
  out.append(buffer, digits);
}

bool Expect(std::string_view text, std::size_t& pos, char c) {
  if (pos < text.size() && text[pos] == c) {
    ++pos;
    return true;
  }
  return false;
}

// Reads an optional time "hh:mm[:ss]" after a separator; true when the rest of the text is a valid
// time or empty.
bool ReadTime(std::string_view text, std::size_t& pos, CivilDateTime& value) {
  if (pos == text.size()) return true;
  if (text[pos] != ' ' && text[pos] != 'T') return false;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == 'T')) ++pos;
  value.hour = ReadNumber(text, pos, 2);
  if (value.hour < 0 || !Expect(text, pos, ':')) return false;
  value.minute = ReadNumber(text, pos, 2);
  if (value.minute < 0) return false;
  if (Expect(text, pos, ':')) {
    value.second = ReadNumber(text, pos, 2);
    if (value.second < 0) return false;
  }
  return pos == text.size();
}

}  // namespace

bool IsValidDateTime(const CivilDateTime& v) {
  return v.year >= 100 && v.year <= 9999 && v.month >= 1 && v.month <= 12 && v.day >= 1 &&
         v.day <= DaysInMonth(v.year, v.month) && v.hour >= 0 && v.hour <= 23 && v.minute >= 0 &&
         v.minute <= 59 && v.second >= 0 && v.second <= 59;
}

std::optional<CivilDateTime> ParseDateText(std::string_view text) {
  text = Trim(text);
  if (text == kDateBefore) return CivilDateTime{1600, 1, 1};
  if (text == kDateAfter) return CivilDateTime{2400, 12, 31};
  if (text.size() >= 10 && text[4] == '-') return ParseStoredDate(text);

  CivilDateTime value;
  std::size_t pos = 0;
  value.day = ReadNumber(text, pos, 2);
  if (value.day < 0 || !Expect(text, pos, '/')) return std::nullopt;
  value.month = ReadNumber(text, pos, 2);
  if (value.month < 0 || !Expect(text, pos, '/')) return std::nullopt;
  int year_digits = 0;
  value.year = ReadNumber(text, pos, 4, &year_digits);
  if (year_digits == 2) {
    value.year += value.year < 30 ? 2000 : 1900;
  } else if (year_digits != 4) {
    return std::nullopt;
  }
  if (!ReadTime(text, pos, value) || !IsValidDateTime(value)) return std::nullopt;
  return value;
}

std::string FormatStoredDate(const CivilDateTime& v) {
  std::string out;
  out.reserve(19);
  AppendDigits(out, v.year, 4);
  out.push_back('-');
  AppendDigits(out, v.month, 2);
  out.push_back('-');
  AppendDigits(out, v.day, 2);
  if (v.hour != 0 || v.minute != 0 || v.second != 0) {
    out.push_back(' ');
    AppendDigits(out, v.hour, 2);
    out.push_back(':');
    AppendDigits(out, v.minute, 2);
    out.push_back(':');
    AppendDigits(out, v.second, 2);
  }
  return out;
}

std::optional<CivilDateTime> ParseStoredDate(std::string_view text) {
  CivilDateTime value;
  std::size_t pos = 0;
  int digits = 0;
  value.year = ReadNumber(text, pos, 4, &digits);
  if (digits != 4 || !Expect(text, pos, '-')) return std::nullopt;
  value.month = ReadNumber(text, pos, 2);
  if (value.month < 0 || !Expect(text, pos, '-')) return std::nullopt;
  value.day = ReadNumber(text, pos, 2);
  if (value.day < 0 || !ReadTime(text, pos, value) || !IsValidDateTime(value)) return std::nullopt;
  return value;
}

void AppendDateForDisplay(const std::optional<CivilDateTime>& value, std::string& out) {
  if (!value || value->year <= 1600) return void(out += kDateBefore);
  if (value->year >= 2400) return void(out += kDateAfter);
  AppendDigits(out, value->day, 2);
  out.push_back('/');
  AppendDigits(out, value->month, 2);
  out.push_back('/');
  AppendDigits(out, value->year, 4);
}

std::string FormatDateForDisplay(const std::optional<CivilDateTime>& value) {
  std::string out;
  AppendDateForDisplay(value, out);
  return out;
}

}  // namespace viamappa
