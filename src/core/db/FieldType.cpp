#include "db/FieldType.h"

#include "base/NumberText.h"
#include "base/TextUtil.h"

namespace viamappa {

std::optional<FieldType> FieldTypeFromLetter(char letter) {
  switch (letter) {
    case 'A':
      return FieldType::Text;
    case 'B':
      return FieldType::Boolean;
    case 'D':
      return FieldType::Date;
    case 'F':
      return FieldType::Double;
    case 'I':
      return FieldType::Integer;
    case 'L':
      return FieldType::Long;
    case 'M':
      return FieldType::Memo;
    case 'N':
      return FieldType::Currency;
    case 'O':
      return FieldType::LongBinary;
    default:
      return std::nullopt;
  }
}

std::string DeclaredType(FieldType type, int size) {
  switch (type) {
    case FieldType::Boolean:
      return "BOOLEAN";
    case FieldType::Byte:
      return "TINYINT";
    case FieldType::Integer:
      return "SMALLINT";
    case FieldType::Long:
      return "INTEGER";
    case FieldType::Currency:
      return "CURRENCY";
    case FieldType::Double:
      return "DOUBLE";
    case FieldType::Date:
      return "DATETIME";
    case FieldType::Text:
      return "VARCHAR(" + FormatInteger(size) + ")";
    case FieldType::LongBinary:
      return "BLOB";
    case FieldType::Memo:
      return "TEXT";
    case FieldType::Expression:
      break;
  }
  return {};
}

FieldType FieldTypeFromDeclared(std::string_view declared, int* size) {
  if (size) *size = 0;
  const std::string upper = AsciiUpper(Trim(declared));
  if (upper.empty()) return FieldType::Expression;
  if (upper == "BOOLEAN") return FieldType::Boolean;
  if (upper == "TINYINT") return FieldType::Byte;
  if (upper == "SMALLINT") return FieldType::Integer;
  if (upper == "INTEGER") return FieldType::Long;
  if (upper == "CURRENCY") return FieldType::Currency;
  if (upper == "DOUBLE") return FieldType::Double;
  if (upper == "DATETIME") return FieldType::Date;
  if (upper == "BLOB") return FieldType::LongBinary;
  if (upper == "TEXT") return FieldType::Memo;
  if (upper.starts_with("VARCHAR(") && upper.ends_with(")")) {
    const auto n = ParseDecimal(std::string_view(upper).substr(8, upper.size() - 9));
    if (n && *n >= 1 && *n <= 255 && *n == static_cast<int>(*n)) {
      if (size) *size = static_cast<int>(*n);
      return FieldType::Text;
    }
    return FieldType::Memo;
  }
  // Tables written by other tools: SQLite's affinity rules.
  if (upper.find("INT") != std::string::npos) return FieldType::Expression;
  if (upper.find("CHAR") != std::string::npos || upper.find("CLOB") != std::string::npos ||
      upper.find("TEXT") != std::string::npos)
    return FieldType::Memo;
  return FieldType::Expression;
}

std::string_view FieldTypeName(FieldType type) {
  switch (type) {
    case FieldType::Boolean:
      return "Sì/No";
    case FieldType::Byte:
      return "Byte";
    case FieldType::Integer:
      return "Intero";
    case FieldType::Long:
      return "Intero lungo";
    case FieldType::Currency:
      return "Valuta";
    case FieldType::Double:
      return "Precisione doppia";
    case FieldType::Date:
      return "Data/ora";
    case FieldType::Text:
      return "Testo";
    case FieldType::LongBinary:
      return "Binario lungo";
    case FieldType::Memo:
      return "Memo";
    case FieldType::Expression:
      break;
  }
  return "Espressione";
}

}  // namespace viamappa
