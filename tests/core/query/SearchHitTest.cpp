#include "query/SearchHit.h"

#include <gtest/gtest.h>

namespace viamappa {
namespace {

// Every digit is read, and only a line exactly as the formats write it names a hit: a longer
// identifier never reads as a shorter one of another object.
TEST(SearchHitTest, LinesAreReadBackWholeAndExactly) {
  const struct {
    const char* line;
    SearchHit hit;
  } cases[] = {
      {"C0012 - Comune: Trento", {HitKind::Municipality, 12}},
      {"C12345 - Comune: Grande", {HitKind::Municipality, 12345}},
      {"L10001 - Località: Gardolo (Trento)", {HitKind::Locality, 10001}},
      {"T1234567 - Toponimo: Malga (Trento)", {HitKind::Toponym, 1234567}},
      {"V000042 - Viabilità: VIA 12 - 3", {HitKind::Street, 42}},
      {"V2147483647 - Viabilità: X", {HitKind::Street, 2147483647}},
      {"V2147483648 - Viabilità: X", {}},  // beyond 32 bits
      {"C012 - Comune: Trento", {}},       // fewer digits than written
      {"C00012 - Comune: Trento", {}},     // more zeros than written
      {"V-00042 - Viabilità: X", {}},
      {"V000042- Viabilità: X", {}},
      {"V000042", {}},
      {"X0012 - Comune: Trento", {}},
      {"c0012 - Comune: Trento", {}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseHitLine(c.line), c.hit) << c.line;
}

TEST(SearchHitTest, FilterEntriesAreReadBackWholeAndExactly) {
  EXPECT_EQ(ParseFilterEntry(kAnyMunicipalityEntry), 0);
  EXPECT_EQ(ParseFilterEntry("Trento-TN 0205"), 205);
  EXPECT_EQ(ParseFilterEntry("Grande-TN 12345"), 12345);
  EXPECT_EQ(ParseFilterEntry("Sant Orsola 2-TN 0007"), 7);
  EXPECT_EQ(ParseFilterEntry("Trento-TN 205"), std::nullopt);
  EXPECT_EQ(ParseFilterEntry("Trento-TN 0205 "), std::nullopt);
  EXPECT_EQ(ParseFilterEntry("Trento"), std::nullopt);
}

}  // namespace
}  // namespace viamappa
