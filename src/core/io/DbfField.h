// One attribute column of a dBASE III table, as the shapefile reader and writer hold it.
#pragma once

#include <string>
#include <string_view>

namespace viamappa {

struct DbfField {
  std::string name;  // upper case
  char type = 'C';   // 'C', 'N', 'D', 'L' or another letter
  int width = 0;     // 'C', 'D', 'L': the length; 'N': the integer digits; other types: 0
  int decimals = 0;  // 'N' only, else 0
  int length = 0;    // the bytes the field takes in a record
  int offset = 0;    // the sum of the lengths of the fields before it; the value is at byte 1 + offset
};

// A field from its descriptor: the name up to its first zero byte (at most 11 characters) with a-z made
// upper case, the width and decimals of its type, and its place in the record.
DbfField MakeDbfField(std::string_view raw_name, char type, int length, int decimals, int offset);

}  // namespace viamappa
