// The street-list dialog binds its check boxes and lists to the model and closes only on an accepted OK.
#include "gui/StreetListDialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>

#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

class StreetListDialogTest : public testing::RoadNetworkTest {
 protected:
  void SetUp() override {
    RoadNetworkTest::SetUp();
    {
      testing::NetworkBuilder b(db());
      const auto square = std::vector<std::vector<Point>>{testing::NetworkBuilder::Square(0, 0, 1)};
      ASSERT_TRUE(b.AddMunicipality(12, "Alfa", "022012", square));
      ASSERT_TRUE(b.AddLocality(7, "Città", "022012", 10, square));
    }
    model_.Load(db());
  }

  StreetListDialogModel model_;
};

TEST_F(StreetListDialogTest, TheBoxesFollowTheModelAndOkStaysOpenOnAWrongCode) {
  StreetListDialog view(model_, ui_);
  EXPECT_EQ(view.locality_list()->count(), 1);
  EXPECT_FALSE(view.municipality_list()->isEnabled() || view.locality_list()->isEnabled());

  view.locality_box()->click();
  EXPECT_TRUE(model_.locality_checked());
  EXPECT_TRUE(view.locality_list()->isEnabled());
  EXPECT_FALSE(view.municipality_box()->isEnabled() || view.municipality_list()->isEnabled());

  view.locality_list()->setEditText(QStringLiteral("8"));
  view.accept();
  EXPECT_EQ(view.result(), QDialog::Rejected) << "the dialog stays open";
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Stop);

  view.locality_list()->setCurrentIndex(0);
  view.accept();
  EXPECT_EQ(view.result(), QDialog::Accepted);
  EXPECT_EQ(model_.choice().locality, 7);
}

}  // namespace
}  // namespace viamappa
