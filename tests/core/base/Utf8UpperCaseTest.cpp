#include <gtest/gtest.h>

#include "base/Utf8.h"

namespace viamappa::utf8 {
namespace {

TEST(Utf8UpperCaseTest, IsTheCounterpartOfFoldCase) {
  for (char32_t c = 0; c < 0x500; ++c) {
    // İ folds to the dotless ı, whose capital is I; the final sigma ς has the capital of σ.
    if (c != 0x130 && FoldCase(c) != c) {
      EXPECT_EQ(UpperCase(FoldCase(c)), c) << std::hex << +c;
    }
    if (c != 0x131 && c != 0x3C2 && UpperCase(c) != c) {
      EXPECT_EQ(FoldCase(UpperCase(c)), c) << std::hex << +c;
    }
  }
  EXPECT_EQ(UpperCase(0x3C2), 0x3A3u);
  EXPECT_EQ(UpperCase(0x131), char32_t{'I'});
  EXPECT_EQ(UpperCase(0xDF), 0xDFu);  // ß has no single capital
  EXPECT_EQ(UpperCase(0xF7), 0xF7u);  // ÷
}

}  // namespace
}  // namespace viamappa::utf8
