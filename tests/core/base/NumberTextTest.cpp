#include "base/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace viamappa {
namespace {

TEST(NumberTextTest, DecimalsTakeTheCommaOrThePointAndNothingElse) {
  const std::pair<const char*, double> numbers[] = {{"3,5", 3.5},
                                                    {"3.5", 3.5},
                                                    {"  -0,25 ", -0.25},
                                                    {"+7", 7},
                                                    {",5", 0.5},
                                                    {"5,", 5},
                                                    {"1,5E3", 1500},
                                                    {"0000000000001234,5000", 1234.5},
                                                    {"1234567.89", 1234567.89}};
  for (const auto& [text, value] : numbers)
    EXPECT_EQ(ParseDecimal(text), value) << text;  // correctly rounded
  for (const char* text : {"", " ", "1.000,5", "1,000.5", "1 000", "abc", "1e", "--1", "inf", "nan", "0x10",
                           "1e400", "3,5x", ",", "+", "1,2,3"})
    EXPECT_FALSE(ParseDecimal(text)) << text;
}

TEST(NumberTextTest, FormattingIgnoresTheProcessLocale) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  std::setlocale(LC_ALL, "it_IT.UTF-8");
  EXPECT_EQ(FormatFixed(1234.5, 2), "1234.50");
  EXPECT_EQ(FormatFixedZeroPadded(3.5, 20, 4, ','), "000000000000003,5000");
  EXPECT_EQ(FormatFixedZeroPadded(-3.5, 20, 4, ','), "-00000000000003,5000");
  EXPECT_EQ(FormatFixedZeroPadded(1e20, 20, 4, ','), "100000000000000000000,0000") << "never cut";
  EXPECT_EQ(FormatShortest(0.1), "0.1");
  EXPECT_EQ(ParseDecimal("2.5"), 2.5);
  std::setlocale(LC_ALL, previous.c_str());
}

}  // namespace
}  // namespace viamappa
