// Text matching with the wildcards of the Jet LIKE operator, on UTF-8 text, ignoring letter case.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace viamappa {

// A LIKE pattern read once and matched against many texts. Wildcards: `*` any run of characters
// (also none), `?` one character, `#` one digit 0-9, `[abc]` one of the listed characters, `[!abc]`
// one character not listed, `[a-z]` ranges inside brackets; `[*]`, `[?]`, `[#]`, `[[]` match those
// characters. A `]` outside brackets, a `[` without its `]` and every other character match
// themselves, ignoring letter case as utf8::FoldCase does. `[]` matches no character at all (an empty
// place in the pattern); `[!]` matches `!`. Malformed UTF-8 reads as one U+FFFD per byte, in the
// pattern and in the text.
class JetLikePattern {
 public:
  // Reads any byte sequence as a pattern; never fails.
  explicit JetLikePattern(std::string_view pattern);

  // True when the whole text matches the pattern. Takes at most time proportional to the pattern
  // length times the text length, whatever the pattern.
  bool Matches(std::string_view text) const;

 private:
  enum class Kind : std::uint8_t { kStar, kAny, kDigit, kLiteral, kClass };
  struct Element {
    Kind kind;
    bool negated = false;
    char32_t literal = 0;     // folded character of a kLiteral
    std::uint32_t first = 0;  // first range of a kClass in ranges_
    std::uint32_t count = 0;  // number of ranges of a kClass
  };
  // One listed character (low == high) or a range; folded bounds are kept for matching without case.
  struct Range {
    char32_t low;
    char32_t high;
    char32_t folded_low;
    char32_t folded_high;
  };

  bool ElementMatches(const Element& element, char32_t c) const;

  std::vector<Element> elements_;
  std::vector<Range> ranges_;
};

// True when the whole UTF-8 text matches the Jet LIKE pattern (see JetLikePattern).
bool JetLikeMatch(std::string_view pattern, std::string_view text);

}  // namespace viamappa
