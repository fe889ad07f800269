#include "base/Utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace viamappa {
namespace {

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
