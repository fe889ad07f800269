#include "db/JetLike.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace viamappa {
namespace {

struct LikeCase {
  std::string_view pattern;
  std::string_view text;
  bool matches;
};

// Plain wildcards, classes and letter case over ASCII are left to the comparison with the dynamic
// programming matcher below; these are the edges it does not reach.
TEST(JetLikeTest, EmptyTextsWideCharactersOddClassesLetterCaseAndMalformedBytes) {
  const LikeCase cases[] = {
      {"*", "", true},
      {"", "a", false},
      {"?", "", false},
      {"citt?", "città", true},
      {"citt??", "città", false},
      {"#", "\xD9\xA3", false},  // an Arabic-Indic digit is not 0-9
      {"[!abc]", "", false},
      {"[a-cx-z]", "y", true},
      {"[-a]", "-", true},
      {"[a-]", "-", true},
      {"[z-a]", "m", false},
      {"[àè]", "\xC3", false},
      {"[à-ù]", "é", true},
      {"[!]", "!", true},
      {"a[]b", "ab", true},
      {"[?]", "x", false},
      {"[#]1", "11", false},
      {"[[]x]", "[x]", true},
      {"a]", "a]", true},
      {"[abc", "[abc", true},
      {"[abc", "a", false},
      {"[!*", "[!xyz", true},
      {"[", "[", true},
      // Letter case is ignored in any script (as the case folding folds it), accents are not.
      {"*CITTÀ*", "la città di", true},
      {"МОСКВА", "москва", true},
      {"[!a-c]", "B", false},
      {"[È]", "è", true},
      {"citta", "città", false},
      // Malformed bytes are one character each.
      {"?", "\xFF", true},
      {"??", "\xE2\x82", true},  // a truncated sequence of two bytes
      {"\xFF*",
       "\xFE"
       "abc",
       true},
      {"[\xC3]", "\xC3", true},
      {std::string_view("a\0b", 3), std::string_view("A\0B", 3), true},
      {std::string_view("a\0b", 3), "ab", false}};
  for (const LikeCase& c : cases)
    EXPECT_EQ(JetLikeMatch(c.pattern, c.text), c.matches) << "'" << c.text << "' LIKE '" << c.pattern << "'";
}

TEST(JetLikeTest, ManyStarsAgainstALongTextStayLinear) {
  // Naive backtracking would take astronomically long on these.
  const std::string as(200000, 'a');
  EXPECT_FALSE(JetLikeMatch("*a*a*a*a*a*a*b", as));
  EXPECT_TRUE(JetLikeMatch("*a*a*a*a*a*a*b", as + "b"));
  std::string stars;
  for (int i = 0; i < 30; ++i) stars += "*a";
  EXPECT_FALSE(JetLikeMatch(stars + "*b", as));
}

TEST(JetLikeTest, AgreesWithADynamicProgrammingMatcher) {
  // Pattern pieces with the characters each one takes; nullptr for the star.
  struct Piece {
    const char* pattern;
    const char* takes;
  };
  const Piece pieces[] = {{"*", nullptr},   {"?", "aAbB01*x"},  {"#", "01"},  {"a", "aA"},    {"B", "bB"},
                          {"[ab]", "aAbB"}, {"[!a]", "bB01*x"}, {"[*]", "*"}, {"[0-1]", "01"}};
  const std::string alphabet = "aAbB01*x";
  std::mt19937 random(20240611);
  for (int round = 0; round < 20000; ++round) {
    std::vector<const Piece*> chosen;
    std::string pattern;
    std::string text;
    for (int i = static_cast<int>(random() % 8); i > 0; --i) {
      chosen.push_back(&pieces[random() % std::size(pieces)]);
      pattern += chosen.back()->pattern;
    }
    for (int i = static_cast<int>(random() % 10); i > 0; --i) text += alphabet[random() % alphabet.size()];
    // can[i][j]: the first i pieces match the first j characters.
    std::vector<std::vector<bool>> can(chosen.size() + 1, std::vector<bool>(text.size() + 1, false));
    can[0][0] = true;
    for (std::size_t i = 1; i <= chosen.size(); ++i) {
      for (std::size_t j = 0; j <= text.size(); ++j) {
        const char* takes = chosen[i - 1]->takes;
        can[i][j] = takes == nullptr
                        ? can[i - 1][j] || (j > 0 && can[i][j - 1])
                        : j > 0 && can[i - 1][j - 1] && std::strchr(takes, text[j - 1]) != nullptr;
      }
    }
    ASSERT_EQ(JetLikeMatch(pattern, text), can[chosen.size()][text.size()]) << pattern << " / " << text;
  }
}

}  // namespace
}  // namespace viamappa
