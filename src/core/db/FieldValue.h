// A field value as the file stores it, and the rules that turn text into values and values into text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "db/FieldType.h"

namespace viamappa {

// One stored value: SQLite's storage classes. Text and bytes share one buffer, so that a value reused
// for every row keeps its capacity.
struct FieldValue {
  enum class Kind : std::uint8_t { Null, Integer, Real, Text, Blob };

  Kind kind = Kind::Null;
  std::int64_t integer = 0;
  double real = 0;
  std::string bytes;

  void SetNull() { kind = Kind::Null; }
  void SetInteger(std::int64_t v) { kind = Kind::Integer, integer = v; }
  void SetReal(double v) { kind = Kind::Real, real = v; }
  void SetText(std::string_view v) { kind = Kind::Text, bytes.assign(v); }
  void SetBlob(const void* data, std::size_t size) {
    kind = Kind::Blob;
    bytes.assign(static_cast<const char*>(data), size);
  }
  bool IsNull() const { return kind == Kind::Null; }
};

// A read-only view of a stored value; text and bytes point into storage that the owner keeps.
struct FieldValueView {
  FieldValue::Kind kind = FieldValue::Kind::Null;
  std::int64_t integer = 0;
  double real = 0;
  std::string_view bytes;

  static FieldValueView Of(const FieldValue& v) { return {v.kind, v.integer, v.real, v.bytes}; }
};

enum class ConversionError { None, TypeMismatch, Overflow, TooLong };

// Converts text written to a field into the value stored. An empty text is NULL, except for a
// boolean, which is never NULL and stores false. Numbers take the comma or the point as decimal
// separator; integer types take integral values in their range only; text longer than size characters
// (size > 0) is refused.
ConversionError TextToFieldValue(FieldType type, int size, std::string_view text, FieldValue& out);

// The Italian description of a refused conversion, as the engine describes it.
std::string DescribeConversionError(ConversionError error, FieldType type, int size, std::string_view text);

// The key form of a value: integers "%d", doubles "%020.4lf" with a comma, currency in its 21
// characters, dates "dd/mm/yyyy" or a sentinel, booleans "1"/"0", text as stored, NULL and long binary
// empty. A value whose storage does not match its type is written by its storage class.
void AppendKeyText(FieldType type, const FieldValueView& value, std::string& out);

// The display form: the key form with the trailing blanks removed and long binary as "BLOB [n bytes]".
void AppendDisplayText(FieldType type, const FieldValueView& value, std::string& out);

// The currency text of a value: sign, 15 integer digits, a comma and 4 decimals. Currency is stored as a
// double, readable as a number by every tool: exact to the fourth decimal up to about 10^11.
std::string FormatCurrency(double value);

}  // namespace viamappa
