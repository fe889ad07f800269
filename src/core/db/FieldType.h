// The field types of the database, with the letters of the data dictionary and the declared SQLite
// types that keep them readable in the file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace viamappa {

enum class FieldType : std::uint8_t {
  Boolean,     // "B", yes/no
  Byte,        // 0 to 255
  Integer,     // "I", 16-bit signed
  Long,        // "L", 32-bit signed
  Currency,    // "N", four decimals
  Double,      // "F"
  Date,        // "D", date and time
  Text,        // "A", at most size characters
  LongBinary,  // "O", bytes
  Memo,        // "M", text without a size
  Expression,  // a computed column of a query: no declared type, the stored value tells
};

// The type of a data dictionary letter; nullopt for an unknown letter.
std::optional<FieldType> FieldTypeFromLetter(char letter);

// The declared SQLite type of a field ("SMALLINT", "VARCHAR(40)", ...).
std::string DeclaredType(FieldType type, int size);

// The field type of a declared SQLite type, with its text size (0 for other types). A declared type
// this program did not write maps by SQLite's affinity rules; an empty one means Expression.
FieldType FieldTypeFromDeclared(std::string_view declared, int* size);

// The Italian name of a type, as messages show it.
std::string_view FieldTypeName(FieldType type);

// True for the types whose values are text compared without regard to case.
inline bool IsTextType(FieldType type) {
  return type == FieldType::Text || type == FieldType::Memo;
}

}  // namespace viamappa
