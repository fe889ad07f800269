#include "ui/SnapFactorDialog.h"

#include <gtest/gtest.h>

namespace viamappa {
namespace {

// The field opens with 10 written with a comma; OK reads metres with a comma or a point and refuses
// what is no distance, so that a slip never runs the conflation with a factor of 0.
TEST(SnapFactorDialogTest, OkTakesMetresAndRefusesWhatIsNoDistance) {
  EXPECT_EQ(SnapFactorDialog().text(), "10,00");
  const struct {
    const char* text;
    double metres;  // below 0: refused
  } cases[] = {{"10,00", 10}, {"2,5", 2.5}, {" 7.25 ", 7.25}, {"0", 0},      {"-0", 0},
               {"abc", -1},   {"", -1},     {"-1", -1},       {"1,2,3", -1}, {"5m", -1}};
  for (const auto& c : cases) {
    SnapFactorDialog dialog;
    dialog.SetText(c.text);
    const std::optional<std::string> refusal = dialog.Accept();
    EXPECT_EQ(refusal.has_value(), c.metres < 0) << c.text;
    if (!refusal) EXPECT_EQ(dialog.snap_factor(), c.metres) << c.text;
  }
}

}  // namespace
}  // namespace viamappa
