#include "db/JetFunctions.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "base/Utf8.h"
#include "db/JetLike.h"

namespace viamappa {

namespace {

bool AnyNull(int argc, sqlite3_value** argv) {
  for (int i = 0; i < argc; ++i) {
    if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return true;
  }
  return false;
}

// The argument as text (numbers and blobs as SQLite converts them); empty when SQLite is out of memory.
std::string_view TextOf(sqlite3_value* value) {
  const unsigned char* text = sqlite3_value_text(value);
  if (text == nullptr) return {};
  return {reinterpret_cast<const char*>(text), static_cast<std::size_t>(sqlite3_value_bytes(value))};
}

void ResultText(sqlite3_context* context, std::string_view text) {
  sqlite3_result_text64(context, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

// Reads a count argument as Jet does: a fractional number is rounded half to even. Values beyond the
// int64 range are clamped to it.
std::int64_t CountOf(sqlite3_value* value) {
  if (sqlite3_value_numeric_type(value) == SQLITE_INTEGER) return sqlite3_value_int64(value);
  const double number = sqlite3_value_double(value);
  if (std::isnan(number)) return 0;
  if (number >= 9.2e18) return std::numeric_limits<std::int64_t>::max();
  if (number <= -9.2e18) return std::numeric_limits<std::int64_t>::min();
  const double whole = std::floor(number);
  const double fraction = number - whole;
  auto result = static_cast<std::int64_t>(whole);
  if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0)) ++result;
  return result;
}

// Byte offset of the character at index chars (0-based) of text; text.size() when the text is shorter.
std::size_t OffsetOfChar(std::string_view text, std::uint64_t chars) {
  std::size_t pos = 0;
  for (std::uint64_t i = 0; i < chars && pos < text.size(); ++i) utf8::DecodeNext(text, pos);
  return pos;
}

void LikeFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
  if (AnyNull(argc, argv)) return sqlite3_result_null(context);
  const std::string_view pattern = TextOf(argv[0]);
  // Long patterns are refused as SQLite refuses them for its own LIKE, which bounds the work per row.
  const int limit = sqlite3_limit(sqlite3_context_db_handle(context), SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1);
  if (pattern.size() > static_cast<std::size_t>(limit)) {
    return sqlite3_result_error(context, "LIKE or GLOB pattern too complex", -1);
  }
  // A constant pattern is read once per statement and kept with the statement.
  auto* cached = static_cast<const JetLikePattern*>(sqlite3_get_auxdata(context, 0));
  if (cached != nullptr) {
    return sqlite3_result_int(context, cached->Matches(TextOf(argv[1])) ? 1 : 0);
  }
  auto* compiled = new JetLikePattern(pattern);
  sqlite3_result_int(context, compiled->Matches(TextOf(argv[1])) ? 1 : 0);
  // SQLite may free the pattern at once, so it is not used after this call.
  sqlite3_set_auxdata(context, 0, compiled, [](void* p) { delete static_cast<JetLikePattern*>(p); });
}

template <char32_t (*Convert)(char32_t)>
void CaseFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
  if (AnyNull(argc, argv)) return sqlite3_result_null(context);
  const std::string_view text = TextOf(argv[0]);
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    const char32_t c = utf8::DecodeNext(text, pos);
    const char32_t converted = Convert(c);
    // Characters that do not change keep their bytes, malformed ones included.
    if (converted == c) {
      out.append(text.substr(start, pos - start));
    } else {
      utf8::Append(out, converted);
    }
  }
  ResultText(context, out);
}

void LenFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
  if (AnyNull(argc, argv)) return sqlite3_result_null(context);
  sqlite3_result_int64(context, static_cast<sqlite3_int64>(utf8::Length(TextOf(argv[0]))));
}

void MidFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
  if (AnyNull(argc, argv)) return sqlite3_result_null(context);
  const std::int64_t start = CountOf(argv[1]);
  if (start < 1) return sqlite3_result_error(context, "MID: l'inizio deve essere 1 o più", -1);
  std::int64_t length = std::numeric_limits<std::int64_t>::max();
  if (argc == 3) {
    length = CountOf(argv[2]);
    if (length < 0) return sqlite3_result_error(context, "MID: la lunghezza non può essere negativa", -1);
  }
  const std::string_view text = TextOf(argv[0]);
  const std::size_t from = OffsetOfChar(text, static_cast<std::uint64_t>(start - 1));
  const std::string_view rest = text.substr(from);
  ResultText(context, rest.substr(0, OffsetOfChar(rest, static_cast<std::uint64_t>(length))));
}

void LeftFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
  if (AnyNull(argc, argv)) return sqlite3_result_null(context);
  const std::int64_t count = CountOf(argv[1]);
  if (count < 0)
    return sqlite3_result_error(context, "LEFT: il numero di caratteri non può essere negativo", -1);
  const std::string_view text = TextOf(argv[0]);
  ResultText(context, text.substr(0, OffsetOfChar(text, static_cast<std::uint64_t>(count))));
}

void RightFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
  if (AnyNull(argc, argv)) return sqlite3_result_null(context);
  const std::int64_t count = CountOf(argv[1]);
  if (count < 0) {
    return sqlite3_result_error(context, "RIGHT: il numero di caratteri non può essere negativo", -1);
  }
  const std::string_view text = TextOf(argv[0]);
  const std::uint64_t length = utf8::Length(text);
  const std::uint64_t wanted = static_cast<std::uint64_t>(count);
  ResultText(context, wanted >= length ? text : text.substr(OffsetOfChar(text, length - wanted)));
}

void NzFunction(sqlite3_context* context, int /*argc*/, sqlite3_value** argv) {
  sqlite3_result_value(context, sqlite3_value_type(argv[0]) == SQLITE_NULL ? argv[1] : argv[0]);
}

struct FunctionEntry {
  const char* name;
  int arguments;
  void (*function)(sqlite3_context*, int, sqlite3_value**);
};

constexpr FunctionEntry kFunctions[] = {
    {"like", 2, LikeFunction},
    {"ucase", 1, CaseFunction<utf8::UpperCase>},
    {"ucase$", 1, CaseFunction<utf8::UpperCase>},
    {"lcase", 1, CaseFunction<utf8::FoldCase>},
    {"lcase$", 1, CaseFunction<utf8::FoldCase>},
    {"len", 1, LenFunction},
    {"mid", 2, MidFunction},
    {"mid", 3, MidFunction},
    {"mid$", 2, MidFunction},
    {"mid$", 3, MidFunction},
    {"left", 2, LeftFunction},
    {"left$", 2, LeftFunction},
    {"right", 2, RightFunction},
    {"right$", 2, RightFunction},
    {"nz", 2, NzFunction},
};

}  // namespace

bool RegisterJetFunctions(sqlite3* db) {
  if (db == nullptr) return false;
  for (const FunctionEntry& entry : kFunctions) {
    const int rc = sqlite3_create_function_v2(db, entry.name, entry.arguments,
                                              SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                                              entry.function, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return false;
  }
  return true;
}

}  // namespace viamappa
