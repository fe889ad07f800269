#include "io/DbfField.h"

namespace viamappa {

DbfField MakeDbfField(std::string_view raw_name, char type, int length, int decimals, int offset) {
  DbfField field;
  raw_name = raw_name.substr(0, 11);
  raw_name = raw_name.substr(0, raw_name.find('\0'));
  field.name.reserve(raw_name.size());
  for (char c : raw_name) field.name.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
  field.type = type;
  field.length = length;
  field.offset = offset;
  switch (type) {
    case 'C':
    case 'D':
    case 'L':
      field.width = length;
      break;
    case 'N':
      field.decimals = decimals;
      field.width = decimals == 0 ? length : length - decimals - 1;
      break;
    default:
      field.width = 0;
  }
  return field;
}

}  // namespace viamappa
