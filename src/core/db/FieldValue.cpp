#include "db/FieldValue.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "base/NumberText.h"
#include "base/TextUtil.h"
#include "base/Utf8.h"
#include "db/DateText.h"

namespace viamappa {

namespace {

struct IntegerRange {
  std::int64_t min;
  std::int64_t max;
};

IntegerRange RangeOf(FieldType type) {
  switch (type) {
    case FieldType::Byte:
      return {0, 255};
    case FieldType::Integer:
      return {-32768, 32767};
    default:
      return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
  }
}

// Largest magnitude of a currency value: the 64-bit count of ten-thousandths.
constexpr double kCurrencyLimit = 922337203685477.5807;

ConversionError ToInteger(FieldType type, std::string_view text, FieldValue& out) {
  const IntegerRange range = RangeOf(type);
  // Plain digits, as programs write them, need no decimal parsing.
  std::int64_t whole = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), whole);
  if (ec == std::errc() && end == text.data() + text.size() && text.size() < 12) {
    if (whole < range.min || whole > range.max) return ConversionError::Overflow;
    out.SetInteger(whole);
    return ConversionError::None;
  }
  const auto number = ParseDecimal(text);
  if (!number || *number != std::trunc(*number)) return ConversionError::TypeMismatch;
  if (*number < static_cast<double>(range.min) || *number > static_cast<double>(range.max))
    return ConversionError::Overflow;
  out.SetInteger(static_cast<std::int64_t>(*number));
  return ConversionError::None;
}

ConversionError ToBoolean(std::string_view text, FieldValue& out) {
  if (text == "0" || text == "1") {
    out.SetInteger(text[0] - '0');
    return ConversionError::None;
  }
  const std::string word = AsciiLower(Trim(text));
  if (word == "true" || word == "vero" || word == "yes" || word == "sì" || word == "si") {
    out.SetInteger(1);
  } else if (word == "false" || word == "falso" || word == "no") {
    out.SetInteger(0);
  } else if (const auto number = ParseDecimal(word)) {
    out.SetInteger(*number != 0 ? 1 : 0);
  } else {
    return ConversionError::TypeMismatch;
  }
  return ConversionError::None;
}

void AppendDouble(double value, std::string& out) {
  out += FormatFixedZeroPadded(value, 20, 4, ',');
}

// Text of a value whose storage class does not match its declared type, or of a computed column.
void AppendByStorage(const FieldValueView& value, bool display, std::string& out) {
  switch (value.kind) {
    case FieldValue::Kind::Integer:
      out += FormatInteger(value.integer);
      break;
    case FieldValue::Kind::Real:
      AppendDouble(value.real, out);
      break;
    case FieldValue::Kind::Text:
      out += value.bytes;
      break;
    case FieldValue::Kind::Blob:
      if (display) out += "BLOB [" + FormatInteger(static_cast<std::int64_t>(value.bytes.size())) + " bytes]";
      break;
    case FieldValue::Kind::Null:
      break;
  }
}

void AppendText(FieldType type, const FieldValueView& value, bool display, std::string& out) {
  using Kind = FieldValue::Kind;
  if (value.kind == Kind::Null) return;
  switch (type) {
    case FieldType::Boolean:
      if (value.kind == Kind::Integer) return void(out += value.integer != 0 ? "1" : "0");
      if (value.kind == Kind::Real) return void(out += value.real != 0 ? "1" : "0");
      break;
    case FieldType::Double:
      if (value.kind == Kind::Integer) return AppendDouble(static_cast<double>(value.integer), out);
      break;
    case FieldType::Currency:
      if (value.kind == Kind::Real) return void(out += FormatCurrency(value.real));
      if (value.kind == Kind::Integer) return void(out += FormatCurrency(static_cast<double>(value.integer)));
      break;
    case FieldType::Date:
      if (value.kind == Kind::Text) return AppendDateForDisplay(ParseStoredDate(value.bytes), out);
      return void(out += kDateBefore);
    case FieldType::LongBinary:
      if (value.kind == Kind::Blob || value.kind == Kind::Text) {
        if (display)
          out += "BLOB [" + FormatInteger(static_cast<std::int64_t>(value.bytes.size())) + " bytes]";
        return;
      }
      break;
    default:
      break;
  }
  AppendByStorage(value, display, out);
}

}  // namespace

ConversionError TextToFieldValue(FieldType type, int size, std::string_view text, FieldValue& out) {
  if (text.empty()) {
    if (type == FieldType::Boolean) {
      out.SetInteger(0);
    } else {
      out.SetNull();
    }
    return ConversionError::None;
  }
  switch (type) {
    case FieldType::Text:
      if (size > 0 && utf8::Length(text) > static_cast<std::size_t>(size)) return ConversionError::TooLong;
      out.SetText(text);
      return ConversionError::None;
    case FieldType::Memo:
    case FieldType::Expression:
      out.SetText(text);
      return ConversionError::None;
    case FieldType::Boolean:
      return ToBoolean(text, out);
    case FieldType::Byte:
    case FieldType::Integer:
    case FieldType::Long:
      return ToInteger(type, text, out);
    case FieldType::Double: {
      const auto number = ParseDecimal(text);
      if (!number) return ConversionError::TypeMismatch;
      out.SetReal(*number);
      return ConversionError::None;
    }
    case FieldType::Currency: {
      const auto number = ParseDecimal(text);
      if (!number) return ConversionError::TypeMismatch;
      if (std::fabs(*number) > kCurrencyLimit) return ConversionError::Overflow;
      out.SetReal(static_cast<double>(std::llround(*number * 10000.0)) / 10000.0);
      return ConversionError::None;
    }
    case FieldType::Date: {
      const auto date = ParseDateText(text);
      if (!date) return ConversionError::TypeMismatch;
      out.SetText(FormatStoredDate(*date));
      return ConversionError::None;
    }
    case FieldType::LongBinary:
      out.SetBlob(text.data(), text.size());
      return ConversionError::None;
  }
  return ConversionError::TypeMismatch;
}

std::string DescribeConversionError(ConversionError error, FieldType type, int size, std::string_view text) {
  switch (error) {
    case ConversionError::TypeMismatch:
      if (type == FieldType::Date)
        return "Errore di conversione del tipo di dati: il testo non è una data valida (gg/mm/aaaa).";
      if (type == FieldType::Byte || type == FieldType::Integer || type == FieldType::Long)
        return "Errore di conversione del tipo di dati: il campo di tipo " +
               std::string(FieldTypeName(type)) + " accetta solo numeri interi.";
      return "Errore di conversione del tipo di dati: il testo non è un valore valido per un campo di tipo " +
             std::string(FieldTypeName(type)) + ".";
    case ConversionError::Overflow: {
      if (type == FieldType::Currency) return "Overflow: il valore supera i limiti del campo di tipo Valuta.";
      const IntegerRange range = RangeOf(type);
      return "Overflow: il valore non è compreso nell'intervallo del campo di tipo " +
             std::string(FieldTypeName(type)) + " (da " + FormatInteger(range.min) + " a " +
             FormatInteger(range.max) + ").";
    }
    case ConversionError::TooLong:
      return "Il campo è troppo piccolo per il testo: il testo ha " +
             FormatInteger(static_cast<std::int64_t>(utf8::Length(text))) +
             " caratteri, il campo ne ammette " + FormatInteger(size) + ".";
    case ConversionError::None:
      break;
  }
  return {};
}

void AppendKeyText(FieldType type, const FieldValueView& value, std::string& out) {
  AppendText(type, value, false, out);
}

void AppendDisplayText(FieldType type, const FieldValueView& value, std::string& out) {
  const std::size_t start = out.size();
  AppendText(type, value, true, out);
  const std::size_t kept = TrimTrailingBlanks(std::string_view(out).substr(start)).size();
  out.resize(start + kept);
}

std::string FormatCurrency(double value) {
  if (!std::isfinite(value) || std::fabs(value) > kCurrencyLimit) return {};
  const long long scaled = std::llround(value * 10000.0);
  const unsigned long long magnitude = scaled < 0 ? 0ULL - static_cast<unsigned long long>(scaled) : scaled;
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%c%015llu,%04llu", scaled < 0 ? '-' : '+', magnitude / 10000,
                magnitude % 10000);
  return buffer;
}

}  // namespace viamappa
