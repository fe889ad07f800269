// Dates of date fields: how people write them ("dd/mm/yyyy"), how the file keeps them (ISO 8601
// text, readable by every SQLite tool) and the two sentinels of unknown dates.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace viamappa {

struct CivilDateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

inline constexpr std::string_view kDateBefore = "00/00/0000";  // unknown, stored as 1 January 1600
inline constexpr std::string_view kDateAfter = "99/99/9999";   // open end, stored as 31 December 2400

// True for a real calendar date of the years 100 to 9999 with a valid time of day.
bool IsValidDateTime(const CivilDateTime& value);

// Reads a date as people write it: "dd/mm/yyyy" (two-digit years mean 1930 to 2029), optionally
// followed by " hh:mm" or " hh:mm:ss", or the ISO form "yyyy-mm-dd[ hh:mm:ss]". The two sentinels read
// as 1 January 1600 and 31 December 2400. nullopt when the text is no valid date.
std::optional<CivilDateTime> ParseDateText(std::string_view text);

// The stored form: "yyyy-mm-dd", or "yyyy-mm-dd hh:mm:ss" when the time is not midnight.
std::string FormatStoredDate(const CivilDateTime& value);

// Reads the stored form (also "yyyy-mm-ddThh:mm:ss" written by other tools).
std::optional<CivilDateTime> ParseStoredDate(std::string_view text);

// "dd/mm/yyyy" for the years 1601 to 2399; kDateBefore for 1600 and earlier and for nullopt (a
// value that cannot be converted); kDateAfter for 2400 and later.
std::string FormatDateForDisplay(const std::optional<CivilDateTime>& value);
void AppendDateForDisplay(const std::optional<CivilDateTime>& value, std::string& out);

}  // namespace viamappa
