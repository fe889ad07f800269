// Number texts, the Windows-1252 code page and UTF-8 letters.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "base/NumberText.h"
#include "base/Utf8.h"
#include "base/Windows1252.h"

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

TEST(Windows1252Test, EveryByteSurvivesTheRoundTripAndTheRestBecomesAQuestionMark) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  const std::string text = Windows1252ToUtf8(all);
  EXPECT_TRUE(utf8::IsValid(text));
  EXPECT_EQ(utf8::Length(text), 256u);
  EXPECT_EQ(Utf8ToWindows1252(text), all);

  EXPECT_EQ(Windows1252ToUtf8("CITT\xC0 d\x92Italia \x80\x93\x94\x96"), "CITTÀ d’Italia €“”–");
  EXPECT_EQ(Windows1252ToUtf8("\x81"), "\xC2\x81") << "undefined bytes keep their number";
  EXPECT_EQ(Utf8ToWindows1252("Università € Œ"), "Universit\xE0 \x80 \x8C");
  EXPECT_EQ(Utf8ToWindows1252("Łódź 日本"),
            "?\xF3"
            "d? ??");
  EXPECT_EQ(Utf8ToWindows1252("a\xFF"
                              "b\xC3"),
            "a?b?")
      << "malformed bytes";
  EXPECT_EQ(Utf8ToWindows1252("\xEF\xBF\xBD"), "?") << "the replacement character itself";
}

TEST(Utf8Test, LengthCountsCharactersAndMalformedBytesOneEach) {
  EXPECT_EQ(utf8::Length(""), 0u);
  EXPECT_EQ(utf8::Length("Città"), 5u);
  EXPECT_EQ(utf8::Length("€𝄞"), 2u);
  EXPECT_EQ(utf8::Length("\xC3"), 1u) << "a truncated sequence counts as one";
  EXPECT_EQ(utf8::Length("\xE2\x82"), 2u);
  EXPECT_FALSE(utf8::IsValid("\xC0\xAF")) << "overlong form";
  EXPECT_FALSE(utf8::IsValid("\xED\xA0\x80")) << "surrogate";
  EXPECT_TRUE(utf8::IsValid("àèìòù ÀÈÌÒÙ"));
}

TEST(Utf8Test, FoldCaseAndUpperCaseAreCounterparts) {
  const std::string_view text = "CITTÀ ÈÉÌÒÙ ÇÑÖ ŒŠŽŸ ß × ÷ 1€";
  std::string folded;
  for (std::size_t pos = 0; pos < text.size();)
    utf8::Append(folded, utf8::FoldCase(utf8::DecodeNext(text, pos)));
  EXPECT_EQ(folded, "città èéìòù çñö œšžÿ ß × ÷ 1€") << "letters without case do not change";
  for (char32_t c = 0; c < 0x500; ++c) {
    // İ folds to the dotless ı, whose capital is I; the final sigma ς has the capital of σ.
    if (c != 0x130 && utf8::FoldCase(c) != c) {
      EXPECT_EQ(utf8::UpperCase(utf8::FoldCase(c)), c) << std::hex << +c;
    }
    if (c != 0x131 && c != 0x3C2 && utf8::UpperCase(c) != c) {
      EXPECT_EQ(utf8::FoldCase(utf8::UpperCase(c)), c) << std::hex << +c;
    }
  }
  EXPECT_EQ(utf8::UpperCase(0x3C2), 0x3A3u);
  EXPECT_EQ(utf8::UpperCase(0x131), char32_t{'I'});
  EXPECT_EQ(utf8::UpperCase(0xDF), 0xDFu);  // ß has no single capital
}

}  // namespace
}  // namespace viamappa
