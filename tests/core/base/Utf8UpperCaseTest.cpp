#include <gtest/gtest.h>

#include "base/Utf8.h"

namespace viamappa::utf8 {
namespace {

TEST(Utf8UpperCaseTest, IsTheCounterpartOfFoldCase) {
  for (char32_t c = 0; c < 0x500; ++c) {
    // Every capital that FoldCase lowers comes back from UpperCase (the dotted İ aside, which FoldCase
    // pairs with the dotless ı).
    if (c != 0x130 && FoldCase(c) != c) {
      EXPECT_EQ(UpperCase(FoldCase(c)), c) << std::hex << static_cast<unsigned>(c);
    }
    // Every small letter that UpperCase raises folds back (the final sigma folds to the plain sigma).
    if (c != 0x131 && c != 0x3C2 && UpperCase(c) != c) {
      EXPECT_EQ(FoldCase(UpperCase(c)), c) << std::hex << static_cast<unsigned>(c);
    }
  }
  EXPECT_EQ(UpperCase(0x3C2), 0x3A3u);  // ς -> Σ
  EXPECT_EQ(UpperCase(0x131), char32_t{'I'});
  EXPECT_EQ(UpperCase(0xDF), 0xDFu);  // ß has no single capital
  EXPECT_EQ(UpperCase(0xF7), 0xF7u);  // ÷ is no letter
  EXPECT_EQ(UpperCase(0xFF), 0x178u);
  EXPECT_EQ(UpperCase(0x1F600), 0x1F600u);
}

}  // namespace
}  // namespace viamappa::utf8
