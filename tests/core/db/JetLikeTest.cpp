#include "db/JetLike.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace viamappa {
namespace {

TEST(JetLikeTest, StarMatchesAnyRunAtEitherEndOrInside) {
  EXPECT_TRUE(JetLikeMatch("*", ""));
  EXPECT_TRUE(JetLikeMatch("**", "abc"));
  EXPECT_TRUE(JetLikeMatch("via*", "via Roma"));
  EXPECT_TRUE(JetLikeMatch("*Roma", "via Roma"));
  EXPECT_TRUE(JetLikeMatch("v*a", "va"));
  EXPECT_TRUE(JetLikeMatch("*ab*ab", "abxabab"));
  EXPECT_TRUE(JetLikeMatch("a*b*c", "abbbcbc"));
  EXPECT_FALSE(JetLikeMatch("via*", "a via"));
  EXPECT_FALSE(JetLikeMatch("*ab*ab", "abab_"));
  EXPECT_FALSE(JetLikeMatch("", "a"));
  EXPECT_TRUE(JetLikeMatch("", ""));
  EXPECT_FALSE(JetLikeMatch("abc", "ab"));
  EXPECT_FALSE(JetLikeMatch("ab", "abc"));
}

TEST(JetLikeTest, QuestionMarkAndHashTakeOneCharacterNotOneByte) {
  EXPECT_TRUE(JetLikeMatch("citt?", "città"));
  EXPECT_FALSE(JetLikeMatch("citt??", "città"));
  EXPECT_TRUE(JetLikeMatch("?", "\xF0\x9F\x98\x80"));  // one character of four bytes
  EXPECT_FALSE(JetLikeMatch("?", ""));
  EXPECT_TRUE(JetLikeMatch("##/##", "12/05"));
  EXPECT_FALSE(JetLikeMatch("#", "a"));
  EXPECT_FALSE(JetLikeMatch("#", "\xD9\xA3"));  // an Arabic-Indic digit is not 0-9
  EXPECT_FALSE(JetLikeMatch("#", "12"));
}

TEST(JetLikeTest, ClassesListRangesAndNegations) {
  EXPECT_TRUE(JetLikeMatch("[abc]", "b"));
  EXPECT_FALSE(JetLikeMatch("[abc]", "d"));
  EXPECT_TRUE(JetLikeMatch("[!abc]", "d"));
  EXPECT_FALSE(JetLikeMatch("[!abc]", "a"));
  EXPECT_FALSE(JetLikeMatch("[!abc]", ""));
  EXPECT_TRUE(JetLikeMatch("[a-c]x", "bx"));
  EXPECT_FALSE(JetLikeMatch("[a-c]x", "dx"));
  EXPECT_TRUE(JetLikeMatch("[!0-9]*", "via"));
  EXPECT_FALSE(JetLikeMatch("[!0-9]*", "9 via"));
  EXPECT_TRUE(JetLikeMatch("[a-cx-z]", "y"));
  // A dash at either end is listed; a range written backwards holds nothing.
  EXPECT_TRUE(JetLikeMatch("[-a]", "-"));
  EXPECT_TRUE(JetLikeMatch("[a-]", "-"));
  EXPECT_TRUE(JetLikeMatch("[!-a]", "b"));
  EXPECT_FALSE(JetLikeMatch("[z-a]", "m"));
  // A class takes one character, even a multi-byte one.
  EXPECT_TRUE(JetLikeMatch("[àè]", "è"));
  EXPECT_FALSE(JetLikeMatch("[àè]", "\xC3"));
  EXPECT_TRUE(JetLikeMatch("[à-ù]", "é"));
}

TEST(JetLikeTest, BracketsMakeWildcardsLiteral) {
  EXPECT_TRUE(JetLikeMatch("a[*]b", "a*b"));
  EXPECT_FALSE(JetLikeMatch("a[*]b", "axb"));
  EXPECT_TRUE(JetLikeMatch("[?]", "?"));
  EXPECT_FALSE(JetLikeMatch("[?]", "x"));
  EXPECT_TRUE(JetLikeMatch("[#]1", "#1"));
  EXPECT_FALSE(JetLikeMatch("[#]1", "11"));
  EXPECT_TRUE(JetLikeMatch("[[]x]", "[x]"));
  EXPECT_TRUE(JetLikeMatch("a]", "a]"));
  EXPECT_TRUE(JetLikeMatch("[!]", "!"));
  EXPECT_TRUE(JetLikeMatch("a[]b", "ab"));
}

TEST(JetLikeTest, UnterminatedBracketIsLiteral) {
  EXPECT_TRUE(JetLikeMatch("[abc", "[abc"));
  EXPECT_FALSE(JetLikeMatch("[abc", "a"));
  EXPECT_TRUE(JetLikeMatch("*[", "via ["));
  EXPECT_TRUE(JetLikeMatch("[!*", "[!xyz"));  // the star after it still is a wildcard
  EXPECT_TRUE(JetLikeMatch("[", "["));
}

TEST(JetLikeTest, LetterCaseIsIgnoredForAccentedAndOtherAlphabets) {
  EXPECT_TRUE(JetLikeMatch("*CITTÀ*", "la città di"));
  EXPECT_TRUE(JetLikeMatch("città", "CITTÀ"));
  EXPECT_TRUE(JetLikeMatch("ŁÓDŹ", "łódź"));
  EXPECT_TRUE(JetLikeMatch("ΑΘΉΝΑ", "αθήνα"));
  EXPECT_TRUE(JetLikeMatch("МОСКВА", "москва"));
  EXPECT_TRUE(JetLikeMatch("[A-C]", "b"));
  EXPECT_TRUE(JetLikeMatch("[a-c]", "B"));
  EXPECT_TRUE(JetLikeMatch("[!a-c]", "D"));
  EXPECT_FALSE(JetLikeMatch("[!a-c]", "B"));
  EXPECT_TRUE(JetLikeMatch("[È]", "è"));
  EXPECT_FALSE(JetLikeMatch("citta", "città"));  // accents are not ignored
}

TEST(JetLikeTest, MalformedBytesAreOneCharacterEach) {
  EXPECT_TRUE(JetLikeMatch("?", "\xFF"));
  EXPECT_TRUE(JetLikeMatch("??", "\xE2\x82"));  // truncated sequence: two bytes, two characters
  EXPECT_TRUE(JetLikeMatch("a?b",
                           "a\xC3"
                           "b"));
  EXPECT_TRUE(JetLikeMatch("\xFF*",
                           "\xFE"
                           "abc"));  // both read as U+FFFD
  EXPECT_TRUE(JetLikeMatch(std::string_view("a\0b", 3), std::string_view("A\0B", 3)));
  EXPECT_FALSE(JetLikeMatch(std::string_view("a\0b", 3), "ab"));
  EXPECT_TRUE(JetLikeMatch("[\xC3]", "\xC3"));
  EXPECT_TRUE(JetLikeMatch("\xC3[", "\xC3["));
}

TEST(JetLikeTest, ManyStarsAgainstLongTextStayLinear) {
  // With naive backtracking each of these takes astronomically long.
  const std::string as(200000, 'a');
  EXPECT_FALSE(JetLikeMatch("*a*a*a*a*a*a*b", as));
  EXPECT_TRUE(JetLikeMatch("*a*a*a*a*a*a*b", as + "b"));
  std::string many;
  for (int i = 0; i < 30; ++i) many += "*a";
  EXPECT_FALSE(JetLikeMatch(many + "*b", as));
  EXPECT_FALSE(JetLikeMatch("*?*?*?*?*#", as));
}

// A reference matcher built from a list of elements, by dynamic programming, to check the single-star
// algorithm on random patterns.
struct Token {
  std::string text;
  bool star;
  std::function<bool(char)> matches;
};

bool ReferenceMatch(const std::vector<Token>& tokens, const std::string& text) {
  // can[i][j]: the first i tokens match the first j characters.
  std::vector<std::vector<bool>> can(tokens.size() + 1, std::vector<bool>(text.size() + 1, false));
  can[0][0] = true;
  for (std::size_t i = 1; i <= tokens.size(); ++i) {
    for (std::size_t j = 0; j <= text.size(); ++j) {
      const Token& token = tokens[i - 1];
      if (token.star) {
        can[i][j] = can[i - 1][j] || (j > 0 && can[i][j - 1]);
      } else {
        can[i][j] = j > 0 && can[i - 1][j - 1] && token.matches(text[j - 1]);
      }
    }
  }
  return can[tokens.size()][text.size()];
}

TEST(JetLikeTest, AgreesWithReferenceMatcherOnRandomPatterns) {
  const std::vector<Token> kinds = {
      {"*", true, nullptr},
      {"?", false, [](char) { return true; }},
      {"#", false, [](char c) { return c >= '0' && c <= '9'; }},
      {"a", false, [](char c) { return c == 'a' || c == 'A'; }},
      {"B", false, [](char c) { return c == 'b' || c == 'B'; }},
      {"[ab]", false, [](char c) { return c == 'a' || c == 'b' || c == 'A' || c == 'B'; }},
      {"[!a]", false, [](char c) { return c != 'a' && c != 'A'; }},
      {"[*]", false, [](char c) { return c == '*'; }},
      {"[0-1]", false, [](char c) { return c == '0' || c == '1'; }},
  };
  const std::string alphabet = "aAbB01*x";
  std::mt19937 random(20240611);
  for (int round = 0; round < 20000; ++round) {
    std::vector<Token> tokens;
    std::string pattern;
    const int length = static_cast<int>(random() % 8);
    for (int i = 0; i < length; ++i) {
      tokens.push_back(kinds[random() % kinds.size()]);
      pattern += tokens.back().text;
    }
    std::string text;
    const int text_length = static_cast<int>(random() % 10);
    for (int i = 0; i < text_length; ++i) text += alphabet[random() % alphabet.size()];
    ASSERT_EQ(JetLikeMatch(pattern, text), ReferenceMatch(tokens, text))
        << "pattern '" << pattern << "' text '" << text << "'";
  }
}

TEST(JetLikeTest, CompiledPatternMatchesManyTexts) {
  const JetLikePattern pattern("via [!0-9]*");
  EXPECT_TRUE(pattern.Matches("via Roma"));
  EXPECT_FALSE(pattern.Matches("via 20 Settembre"));
  EXPECT_TRUE(pattern.Matches("VIA garibaldi"));
}

}  // namespace
}  // namespace viamappa
