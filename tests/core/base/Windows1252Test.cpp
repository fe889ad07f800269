#include "base/Windows1252.h"

#include <gtest/gtest.h>

#include <string>

#include "base/Utf8.h"

namespace viamappa {
namespace {

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

}  // namespace
}  // namespace viamappa
