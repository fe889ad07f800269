#include <gtest/gtest.h>

#include <string>

#include "base/Utf8.h"
#include "base/Windows1252.h"

namespace viamappa {
namespace {

TEST(Windows1252Test, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  const std::string text = Windows1252ToUtf8(all);
  EXPECT_TRUE(utf8::IsValid(text));
  EXPECT_EQ(utf8::Length(text), 256u);
  EXPECT_EQ(Utf8ToWindows1252(text), all);
}

TEST(Windows1252Test, CharactersOfTheCodePage) {
  EXPECT_EQ(Windows1252ToUtf8("\x80"), "€");
  EXPECT_EQ(Windows1252ToUtf8("\x92\x93\x94\x96"), "’“”–");
  EXPECT_EQ(Windows1252ToUtf8("CITT\xC0 d\x92Italia"), "CITTÀ d’Italia");
  EXPECT_EQ(Windows1252ToUtf8("\x81"), "\xC2\x81") << "undefined bytes keep their number";
  EXPECT_EQ(Utf8ToWindows1252("Università € Œ"), "Universit\xE0 \x80 \x8C");
}

TEST(Windows1252Test, WhatTheCodePageCannotHoldBecomesAQuestionMark) {
  EXPECT_EQ(Utf8ToWindows1252("Łódź"),
            "?\xF3"
            "d?");
  EXPECT_EQ(Utf8ToWindows1252("日本"), "??");
  EXPECT_EQ(Utf8ToWindows1252("a\xFF"
                              "b\xC3"),
            "a?b?")
      << "malformed bytes";
  EXPECT_EQ(Utf8ToWindows1252("\xEF\xBF\xBD"), "?") << "the replacement character itself";
}

TEST(Utf8Test, LengthCountsCharacters) {
  EXPECT_EQ(utf8::Length(""), 0u);
  EXPECT_EQ(utf8::Length("Città"), 5u);
  EXPECT_EQ(utf8::Length("€𝄞"), 2u);
  EXPECT_EQ(utf8::Length("\xC3"), 1u) << "a truncated sequence counts as one";
  EXPECT_EQ(utf8::Length("\xE2\x82"), 2u);
  EXPECT_FALSE(utf8::IsValid("\xC0\xAF")) << "overlong form";
  EXPECT_FALSE(utf8::IsValid("\xED\xA0\x80")) << "surrogate";
  EXPECT_TRUE(utf8::IsValid("àèìòù ÀÈÌÒÙ"));
}

TEST(Utf8Test, FoldCaseCoversItalianAndWesternLetters) {
  const auto fold = [](std::string_view text) {
    std::string out;
    for (std::size_t pos = 0; pos < text.size();)
      utf8::Append(out, utf8::FoldCase(utf8::DecodeNext(text, pos)));
    return out;
  };
  EXPECT_EQ(fold("CITTÀ ÈÉÌÒÙ ÇÑÖ ŒŠŽŸ"), "città èéìòù çñö œšžÿ");
  EXPECT_EQ(fold("ß × ÷ 1€"), "ß × ÷ 1€") << "no case, no change";
}

}  // namespace
}  // namespace viamappa
