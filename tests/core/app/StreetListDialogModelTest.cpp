// The street-list dialog without a window: its lists, the check-box rules and the validation of OK.
#include "app/StreetListDialogModel.h"

#include <gtest/gtest.h>

#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

using testing::NetworkBuilder;

class StreetListDialogModelTest : public testing::RoadNetworkTest {
 protected:
  void SetUp() override {
    RoadNetworkTest::SetUp();
    {
      NetworkBuilder b(db());
      const auto square = std::vector<std::vector<Point>>{NetworkBuilder::Square(0, 0, 1)};
      ASSERT_TRUE(b.AddMunicipality(12, "Alfa", "022012", square));
      ASSERT_TRUE(b.AddMunicipality(1234, "Gamma", "022234", square));
      ASSERT_TRUE(b.AddMunicipality(12345, "Beta", "022345", square));
      ASSERT_TRUE(b.AddLocality(7, "Città", "022012", 10, square));
      ASSERT_TRUE(b.AddLocality(20000, "Abete", "022012", 10, square));
    }
    model_.Load(db());
  }

  StreetListDialogModel model_;
};

// Sorted by name, each identifier in at least four digits; checking one box takes the other away.
TEST_F(StreetListDialogModelTest, ListsAreByNameAndOneBoxExcludesTheOther) {
  const auto texts = [](const std::vector<StreetListDialogModel::Entry>& entries) {
    std::vector<std::string> out;
    for (const auto& entry : entries) out.push_back(entry.text);
    return out;
  };
  EXPECT_EQ(texts(model_.municipalities()),
            (std::vector<std::string>{"0012 - Alfa", "12345 - Beta", "1234 - Gamma"}));
  EXPECT_EQ(texts(model_.localities()), (std::vector<std::string>{"20000 - Abete", "0007 - Città"}));
  EXPECT_TRUE(model_.municipality_box_enabled() && model_.locality_box_enabled());
  model_.CheckMunicipality(true);
  EXPECT_TRUE(model_.municipality_list_enabled());
  EXPECT_FALSE(model_.locality_checked() || model_.locality_box_enabled() || model_.locality_list_enabled());
  model_.CheckMunicipality(false);
  EXPECT_FALSE(model_.municipality_list_enabled());
  EXPECT_TRUE(model_.municipality_box_enabled());
}

TEST_F(StreetListDialogModelTest, OkNeedsTheExactIdentifierOfAnEntry) {
  const std::string bad_municipality =
      "ATTENZIONE: Il Codice Comune non è valido.\n\nOccorre selezionare un Codice Comune presente nella "
      "lista.\n\n";
  const std::string bad_locality =
      "ATTENZIONE: Il Codice Località non è valido.\n\nOccorre selezionare un Codice Località presente nella "
      "lista.\n\n";
  struct Case {
    bool municipality;
    const char* text;
    std::int32_t id;  // -1: refused
    const char* name;
  };
  const Case cases[] = {
      {true, "0012 - Alfa", 12, "- Alfa"},
      {true, "12", 12, "- Alfa"},
      {true, "0012xyz", 12, "- Alfa"},
      {true, "1234", 1234, "- Gamma"},
      {true, "12345", 12345, "- Beta"},
      {true, "123456", -1, ""},
      {true, "99999999999999999999", -1, ""},
      {true, "", -1, ""},
      {true, " 12", -1, ""},
      {false, "20000 - Abete", 20000, "- Abete"},
      {false, "7", 7, "- Città"},
      {false, "2000", -1, ""},
  };
  for (const Case& c : cases) {
    StreetListDialogModel model;
    model.Load(db());
    if (c.municipality) {
      model.CheckMunicipality(true);
      model.SetMunicipalityText(c.text);
    } else {
      model.CheckLocality(true);
      model.SetLocalityText(c.text);
    }
    const std::optional<std::string> refusal = model.Accept();
    if (c.id < 0) {
      EXPECT_EQ(refusal, c.municipality ? bad_municipality : bad_locality) << c.text;
      continue;
    }
    ASSERT_EQ(refusal, std::nullopt) << c.text;
    const StreetListChoice& choice = model.choice();
    EXPECT_EQ(c.municipality ? choice.municipality : choice.locality, c.id) << c.text;
    EXPECT_EQ(c.municipality ? choice.municipality_name : choice.locality_name, c.name) << c.text;
    EXPECT_EQ(c.municipality ? choice.locality : choice.municipality, -1) << c.text;
    EXPECT_EQ(c.municipality ? choice.locality_name : choice.municipality_name, "") << c.text;
  }
  // Nothing checked: the whole list.
  ASSERT_EQ(model_.Accept(), std::nullopt);
  EXPECT_EQ(model_.choice(), StreetListChoice{});
}

}  // namespace
}  // namespace viamappa
