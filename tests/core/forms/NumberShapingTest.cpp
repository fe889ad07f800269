#include "forms/NumberShaping.h"

#include <gtest/gtest.h>

namespace viamappa {
namespace {

NumberLayout Layout(int digits, int decimals, bool sign_at_end = false, bool blanks = false,
                    bool grouping = false) {
  return {digits, decimals, sign_at_end, blanks, grouping};
}

TEST(NumberShapingTest, ReshapesToTheLayout) {
  const struct {
    const char* typed;
    NumberLayout layout;
    const char* shaped;
  } cases[] = {{"", Layout(5, 2), ""},
               {"   ", Layout(5, 2), "   "},
               {"12,5", Layout(5, 2), "00012,50"},
               {"12.5", Layout(5, 2), "00012,50"},
               {"  7", Layout(5, 2), "00007,00"},
               {"3,14159", Layout(5, 2), "00003,14"},
               {"-3", Layout(5, 2, true), "00003,00-"},
               {"+3", Layout(5, 2, true), "00003,00+"},
               {"3", Layout(5, 2, true), "00003,00+"},
               {"-3", Layout(5, 2), "00003,00"},  // no sign is written without the sign at the end
               {"12,5", Layout(5, 2, false, true), "   12,50"},
               {"0", Layout(3, 0, false, true), "   "},
               {"1234567", Layout(5, 2), "34567,00"},
               {"1234567", Layout(7, 0, false, false, true), "1.234.567"},
               {"1234", Layout(7, 0, false, true, true), "    1.234"},
               {"50000", Layout(8, 0, false, true), "   50000"}};
  for (const auto& c : cases) {
    std::string text = c.typed;
    FormatNumber(text, c.layout);
    EXPECT_EQ(text, c.shaped) << c.typed;
    // Leaving the field again keeps the number: grouping points and the sign at the end read back.
    FormatNumber(text, c.layout);
    EXPECT_EQ(text, c.shaped) << "again: " << c.typed;
  }
}

TEST(NumberShapingTest, TypingKeepsWhatTheShapingKeeps) {
  const struct {
    const char* text;
    NumberLayout layout;
    bool accepted;
  } cases[] = {{"", Layout(5, 2), true},
               {"12345,67", Layout(5, 2), true},
               {"123456", Layout(5, 2), false},    // a sixth digit would be cut
               {"000012345", Layout(5, 2), true},  // leading zeros cost nothing
               {"1,234", Layout(5, 2), false},
               {"1,", Layout(5, 2), true},
               {"1,5", Layout(5, 0), false},
               {"1.5", Layout(5, 2), true},
               {"1.234.567", Layout(7, 0, false, false, true), true},
               {"    1.234", Layout(7, 0, false, true, true), true},
               {"-3", Layout(5, 2), false},  // the sign would be lost
               {"-3", Layout(5, 2, true), true},
               {"00003,00-", Layout(5, 2, true), true},
               {"-3-", Layout(5, 2, true), false},
               {"12a", Layout(5, 2), false},
               {"1 2", Layout(5, 2), false},
               {"   50000", Layout(8, 0, false, true), true}};
  for (const auto& c : cases) EXPECT_EQ(NumberFieldAccepts(c.text, c.layout), c.accepted) << c.text;
}

}  // namespace
}  // namespace viamappa
