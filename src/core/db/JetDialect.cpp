#include "db/JetDialect.h"

#include <algorithm>
#include <vector>

namespace viamappa {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Bytes that make up a word (a name, a keyword or a number), as SQLite reads them: bytes above 0x7F are
// parts of names.
bool IsWordByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || IsDigit(c) || b == '_' || b == '$' || b >= 0x80;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Compares a word with an upper-case ASCII keyword, ignoring the letter case of the word.
bool IsKeyword(std::string_view word, std::string_view keyword) {
  if (word.size() != keyword.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    char c = word[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != keyword[i]) return false;
  }
  return true;
}

// The nearest byte before pos that is not blank; 0 when there is none.
char PreviousSignificant(std::string_view s, std::size_t pos) {
  while (pos > 0 && IsBlank(s[pos - 1])) --pos;
  return pos > 0 ? s[pos - 1] : '\0';
}

// The position of the first byte at or after pos that is not blank.
std::size_t SkipBlanks(std::string_view s, std::size_t pos) {
  while (pos < s.size() && IsBlank(s[pos])) ++pos;
  return pos;
}

// Position just past the quote that closes the quoted text starting at open (a doubled quote stands for
// one quote); npos when it is never closed.
std::size_t QuotedEnd(std::string_view s, std::size_t open) {
  const char quote = s[open];
  std::size_t pos = open + 1;
  while (pos < s.size()) {
    if (s[pos] == quote) {
      if (pos + 1 < s.size() && s[pos + 1] == quote) {
        pos += 2;
        continue;
      }
      return pos + 1;
    }
    ++pos;
  }
  return std::string_view::npos;
}

// Reads a run of between min and max digits at pos; false when there are fewer or more.
bool ReadNumber(std::string_view s, std::size_t& pos, int min, int max, int& value) {
  int digits = 0;
  value = 0;
  while (pos < s.size() && IsDigit(s[pos])) {
    if (++digits > max) return false;
    value = value * 10 + (s[pos] - '0');
    ++pos;
  }
  return digits >= min;
}

bool ReadSeparator(std::string_view s, std::size_t& pos, char separator) {
  if (pos >= s.size() || s[pos] != separator) return false;
  ++pos;
  return true;
}

bool IsValidDate(int year, int month, int day) {
  if (year < 100 || month < 1 || month > 12 || day < 1) return false;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + ((month == 2 && leap) ? 1 : 0);
}

// Reads a Jet date constant #m/d/yyyy# or #yyyy-mm-dd# starting at the `#` at open. On success appends
// 'yyyy-mm-dd' to out and returns the position past the closing `#`; otherwise returns open.
std::size_t TranslateDate(std::string_view s, std::size_t open, std::string& out) {
  int year = 0;
  int month = 0;
  int day = 0;
  std::size_t pos = open + 1;
  bool read = ReadNumber(s, pos, 4, 4, year) && ReadSeparator(s, pos, '-') &&
              ReadNumber(s, pos, 1, 2, month) && ReadSeparator(s, pos, '-') && ReadNumber(s, pos, 1, 2, day);
  if (!read) {
    pos = open + 1;
    read = ReadNumber(s, pos, 1, 2, month) && ReadSeparator(s, pos, '/') && ReadNumber(s, pos, 1, 2, day) &&
           ReadSeparator(s, pos, '/') && ReadNumber(s, pos, 4, 4, year);
  }
  if (!read || !ReadSeparator(s, pos, '#') || !IsValidDate(year, month, day)) return open;
  const auto put = [&out](int value, int width) {
    char digits[4];
    for (int i = width - 1; i >= 0; --i, value /= 10) digits[i] = static_cast<char>('0' + value % 10);
    out.append(digits, static_cast<std::size_t>(width));
  };
  out.push_back('\'');
  put(year, 4);
  out.push_back('-');
  put(month, 2);
  out.push_back('-');
  put(day, 2);
  out.push_back('\'');
  return pos;
}

}  // namespace

std::string TranslateJetSql(std::string_view jet) {
  std::string out;
  out.reserve(jet.size() + jet.size() / 8 + 16);
  // Parenthesis depth, and the depths at which an ISNULL( was opened: the `)` that brings the depth
  // back below one of them closes that ISNULL.
  std::size_t depth = 0;
  std::vector<std::size_t> isnull_depths;
  const std::size_t n = jet.size();
  std::size_t i = 0;
  while (i < n) {
    const char c = jet[i];
    if (c == '\'' || c == '`') {
      const std::size_t end = std::min(QuotedEnd(jet, i), n);
      out.append(jet.substr(i, end - i));
      i = end;
    } else if (c == '"') {
      const std::size_t end = QuotedEnd(jet, i);
      if (end == std::string_view::npos) {
        // Never closed: left as it is, so that SQLite rejects it.
        out.append(jet.substr(i));
        i = n;
        continue;
      }
      out.push_back('\'');
      for (std::size_t k = i + 1; k + 1 < end; ++k) {
        if (jet[k] == '"') {
          out.push_back('"');
          ++k;  // the second quote of the pair
        } else if (jet[k] == '\'') {
          out.append("''");
        } else {
          out.push_back(jet[k]);
        }
      }
      out.push_back('\'');
      i = end;
    } else if (c == '[') {
      const std::size_t close = jet.find(']', i + 1);
      if (close == std::string_view::npos) {
        out.append(jet.substr(i));
        i = n;
        continue;
      }
      out.push_back('"');
      for (std::size_t k = i + 1; k < close; ++k) {
        if (jet[k] == '"') out.push_back('"');
        out.push_back(jet[k]);
      }
      out.push_back('"');
      i = close + 1;
    } else if (c == '-' && i + 1 < n && jet[i + 1] == '-') {
      std::size_t end = jet.find('\n', i);
      if (end == std::string_view::npos) end = n;
      out.append(jet.substr(i, end - i));
      i = end;
    } else if (c == '/' && i + 1 < n && jet[i + 1] == '*') {
      std::size_t end = jet.find("*/", i + 2);
      end = (end == std::string_view::npos) ? n : end + 2;
      out.append(jet.substr(i, end - i));
      i = end;
    } else if (c == '&') {
      out.append("||");
      ++i;
    } else if (c == '#') {
      const std::size_t end = TranslateDate(jet, i, out);
      if (end == i) {
        out.push_back('#');
        ++i;
      } else {
        i = end;
      }
    } else if (c == '(') {
      ++depth;
      out.push_back('(');
      ++i;
    } else if (c == ')') {
      if (!isnull_depths.empty() && isnull_depths.back() == depth) {
        isnull_depths.pop_back();
        out.append(") IS NULL)");
      } else {
        out.push_back(')');
      }
      if (depth > 0) --depth;
      ++i;
    } else if (IsWordByte(c)) {
      std::size_t end = i;
      while (end < n && IsWordByte(jet[end])) ++end;
      const std::string_view word = jet.substr(i, end - i);
      // A qualified name (t.true, true.x) or a parameter (:true, @true) is never a keyword.
      const char before = PreviousSignificant(jet, i);
      const std::size_t next = SkipBlanks(jet, end);
      const bool plain = before != '.' && before != ':' && before != '@' && !(next < n && jet[next] == '.');
      if (plain && IsKeyword(word, "TRUE")) {
        out.push_back('1');
      } else if (plain && IsKeyword(word, "FALSE")) {
        out.push_back('0');
      } else if (plain && next < n && jet[next] == '(' && IsKeyword(word, "ISNULL")) {
        out.append("((");
        isnull_depths.push_back(++depth);
        end = next + 1;
      } else if (plain && next < n && jet[next] == '(' &&
                 (IsKeyword(word, "LEFT") || IsKeyword(word, "RIGHT"))) {
        // SQLite reads LEFT and RIGHT as join keywords; quoted, they name the functions.
        out.push_back('"');
        out.append(word);
        out.push_back('"');
      } else {
        out.append(word);
      }
      i = end;
    } else {
      out.push_back(c);
      ++i;
    }
  }
  return out;
}

std::string SqlTextLiteral(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out.push_back('\'');
  for (char c : text) {
    if (c == '\'') out.push_back('\'');
    out.push_back(c);
  }
  out.push_back('\'');
  return out;
}

std::string LikeFragment(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (char c : text) {
    switch (c) {
      case '\'':
        out.append("''");
        break;
      case '*':
      case '?':
      case '#':
      case '[':
        out.push_back('[');
        out.push_back(c);
        out.push_back(']');
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

}  // namespace viamappa
