#include "gui/BulkRenameDialogView.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

using namespace viamappa::testing;

class BulkRenameDialogViewTest : public RoadNetworkTest {
 protected:
  void SetUp() override {
    RoadNetworkTest::SetUp();
    NetworkBuilder build(db());
    ASSERT_TRUE(build.AddMunicipality(1, "MEZZOLOMBARDO", "022115", {NetworkBuilder::Square(0, 0, 10)}));
    ASSERT_TRUE(build.AddLocality(7, "BORGO", "022115", 10, {NetworkBuilder::Square(0, 0, 5)}));
    ASSERT_TRUE(build.AddNode(1, 0, 0));
    ASSERT_TRUE(build.AddNode(2, 1, 0));
    ASSERT_TRUE(build.AddArc(Arc(1, 1, 2, {{0, 0}, {1, 0}}, "VIA ROMA")));
    ASSERT_TRUE(build.AddArc(Arc(2, 1, 2, {{0, 0}, {1, 0}}, "VIA ROMAGNA")));
  }
};

// The widgets show the model; searching, choosing a name, a locality and renaming go through it.
TEST_F(BulkRenameDialogViewTest, BindsTheWidgetsToTheModel) {
  BulkRenameDialog model(db(), ui_);
  model.Load();
  BulkRenameDialogView view(nullptr, model);
  EXPECT_TRUE(view.main_name()->isChecked());
  view.fragment()->setText(QStringLiteral("roma"));
  view.search()->click();
  ASSERT_EQ(view.names()->count(), 2);
  view.names()->setCurrentRow(1);
  EXPECT_EQ(view.new_name()->text(), QStringLiteral("VIA ROMAGNA"));
  emit view.localities()->activated(1);
  EXPECT_EQ(view.municipalities()->currentIndex(), 1);
  EXPECT_EQ(view.names()->count(), 0);

  // The whole graph again: any municipality.
  emit view.municipalities()->activated(0);
  view.search()->click();
  view.names()->setCurrentRow(0);
  view.new_name()->setText(QStringLiteral("VIA ROMA VECCHIA"));
  ui_.QueueAnswer(true);
  view.ok()->click();
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Information);
  EXPECT_EQ(Rows("denom", "archi", "", "ID"), (std::vector<std::string>{"VIA ROMA VECCHIA", "VIA ROMAGNA"}));
  EXPECT_EQ(view.names()->count(), 2) << "searched again";
  view.alternative_name()->click();
  EXPECT_TRUE(model.alternative());
  view.close_button()->click();
  EXPECT_EQ(view.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace viamappa
