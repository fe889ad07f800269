#include "edit/BulkRenameDialog.h"

#include "core/edit/TopologyFixture.h"
#include "db/DbBatch.h"
#include "db/JetDialect.h"

namespace viamappa {
namespace {

using namespace viamappa::testing;

// Two municipalities and two localities with identifiers on both sides of four digits, and names that
// contain one another, an apostrophe and a wildcard character.
class BulkRenameDialogTest : public TopologyTest {
 protected:
  void SetUp() override {
    TopologyTest::SetUp();
    {
      NetworkBuilder build(db());
      ASSERT_TRUE(build.AddMunicipality(1, "MEZZOLOMBARDO", "022115", {NetworkBuilder::Square(0, 0, 10)}));
      ASSERT_TRUE(build.AddMunicipality(10000, "ROVERETO", "022161", {NetworkBuilder::Square(20, 0, 10)}));
      ASSERT_TRUE(build.AddLocality(9999, "BORGO", "022115", 100, {NetworkBuilder::Square(0, 0, 5)}));
      ASSERT_TRUE(build.AddLocality(10000, "CENTRO", "022161", 100, {NetworkBuilder::Square(20, 0, 5)}));
    }
    const auto arc = [](std::int32_t id, std::string name, std::int32_t comune, std::int32_t local,
                        std::string alterna = {}) {
      ArcRow row = Arc(id, 1, 2, {{0, 0}, {1, 0}}, std::move(name));
      row.alterna = std::move(alterna);
      row.comune = comune;
      row.local = local;
      return row;
    };
    Build({{1, 0, 0}, {2, 1, 0}},
          {arc(1, "VIA ROMA", 1, 9999), arc(2, "VIA ROMAGNA", 1, 9999), arc(3, "via roma  ", 1, 9999),
           arc(4, "VIA ROMA", 10000, 10000), arc(5, "VIA ROMA", 10000, 0), arc(6, "VIA DELL'ORTO", 1, 0),
           arc(7, "VIA *", 1, 0), arc(8, "VIA X", 1, 0, "VIA ROMA"), arc(9, "VIA A", 1, 0)});
  }

  BulkRenameDialog Dialog() {
    BulkRenameDialog dialog(db(), ui_, [] { return std::string("05/03/2026"); });
    dialog.Load();
    return dialog;
  }

  // The dialog searched for the old name, which is then chosen, and the new name typed.
  void Choose(BulkRenameDialog& dialog, const std::string& old_name, const std::string& new_name) {
    dialog.SetFragment(old_name);
    ASSERT_TRUE(dialog.Search());
    const auto it = std::find(dialog.names().begin(), dialog.names().end(), old_name);
    ASSERT_NE(it, dialog.names().end()) << old_name;
    dialog.ChooseName(static_cast<int>(it - dialog.names().begin()));
    EXPECT_EQ(dialog.new_name(), old_name);
    dialog.SetNewName(new_name);
  }
};

TEST_F(BulkRenameDialogTest, KeepsTheFiltersInStepAndMatchesIdentifiersWhole) {
  BulkRenameDialog dialog = Dialog();
  dialog.SetFragment("ROMA");
  dialog.Search();
  dialog.ChooseName(0);
  // A locality chooses its own municipality (the view's test sees the lists follow); a municipality
  // chooses any locality; both forget the names.
  dialog.ChooseLocality(2);
  EXPECT_EQ(dialog.locality_filter(), 10000);
  EXPECT_EQ(dialog.name(), -1);
  EXPECT_EQ(dialog.new_name(), "");
  dialog.ChooseMunicipality(1);
  EXPECT_EQ(dialog.locality(), 0);
  EXPECT_EQ(dialog.municipality_filter(), 1);
  EXPECT_TRUE(dialog.ChooseLocalityId(9999));
  EXPECT_EQ(dialog.municipality_filter(), 1);
  EXPECT_FALSE(dialog.ChooseLocalityId(999)) << "identifiers are matched whole";
  EXPECT_FALSE(dialog.ChooseMunicipalityId(10)) << "no entry ends in ...0010 by chance";
}

TEST_F(BulkRenameDialogTest, SearchesTheFragmentAsItIsWritten) {
  const struct {
    std::string fragment;
    bool alternative;
    std::vector<std::string> names;
  } cases[] = {
      {"roma  ", false, {"VIA ROMA", "VIA ROMAGNA"}},
      {"'", false, {"VIA DELL'ORTO"}},
      {"*", false, {"VIA *"}},
      {"[", false, {}},
      {"ROMA", true, {"VIA ROMA"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fragment);
    BulkRenameDialog dialog = Dialog();
    dialog.SetAlternative(c.alternative);
    dialog.SetFragment(c.fragment);
    EXPECT_TRUE(dialog.Search());
    EXPECT_EQ(dialog.names(), c.names);
  }
  BulkRenameDialog dialog = Dialog();
  dialog.SetFragment("   ");
  EXPECT_FALSE(dialog.Search());
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Stop);
}

// Exactly the arcs that carry the chosen name (letter case and trailing blanks aside) within the filter.
TEST_F(BulkRenameDialogTest, RenamesExactlyTheChosenNameWithinTheFilter) {
  const struct {
    std::string old_name;
    std::string new_name;
    bool alternative;
    std::int32_t locality;
    std::int32_t municipality;
    std::vector<std::string> renamed;
  } cases[] = {
      {"VIA ROMA", "VIA ROMA NUOVA", false, 0, 0, {"1", "3", "4", "5"}},
      {"VIA ROMA", "VIA ROMA NUOVA", false, 9999, 0, {"1", "3"}},
      {"VIA ROMA", "VIA ROMA NUOVA", false, 10000, 0, {"4"}},
      {"VIA ROMA", "VIA ROMA NUOVA", false, 0, 10000, {"4", "5"}},
      {"VIA *", "VIA STELLA", false, 0, 0, {"7"}},
      {"VIA DELL'ORTO", "VIA DELL'ORTO VECCHIO", false, 0, 0, {"6"}},
      {"VIA ROMA", "Via Roma", true, 0, 0, {"8"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.old_name + " " + std::to_string(c.locality) + " " + std::to_string(c.municipality));
    DbBatch undone(db());
    BulkRenameDialog dialog = Dialog();
    dialog.SetAlternative(c.alternative);
    if (c.municipality) {
      ASSERT_TRUE(dialog.ChooseMunicipalityId(c.municipality));
    }
    if (c.locality) {
      ASSERT_TRUE(dialog.ChooseLocalityId(c.locality));
    }
    Choose(dialog, c.old_name, c.new_name);
    ui_.QueueAnswer(true);
    const std::optional<BulkRenameDialog::RenameCount> count = dialog.Ok();
    ASSERT_TRUE(count);
    const std::string field = c.alternative ? "alterna" : "denom";
    EXPECT_EQ(Rows("ID", "archi", "modnome <> 0", "ID"), c.renamed);
    EXPECT_EQ(
        Rows("ID", "archi", field + " = " + SqlTextLiteral(c.new_name) + " AND datmod = #2026-03-05#", "ID"),
        c.renamed);
    const std::string changed = std::to_string(c.renamed.size());
    EXPECT_EQ(ui_.last_message().text, "Modificati " + changed + " toponimi di " + changed);
    // The names are searched again: the new one is there when it holds the fragment.
    EXPECT_EQ(dialog.name(), -1);
    undone.Rollback();
  }
}

TEST_F(BulkRenameDialogTest, RefusesAndAsksBeforeRenaming) {
  const auto refused_with = [this](const char* part) {
    return ui_.last_message().icon == MessageIcon::Stop &&
           ui_.last_message().text.find(part) != std::string::npos;
  };
  BulkRenameDialog dialog = Dialog();
  EXPECT_FALSE(dialog.Ok());
  EXPECT_TRUE(refused_with("non è stato indicato il toponimo da sostituire")) << ui_.last_message().text;
  Choose(dialog, "VIA ROMA", "  ");
  EXPECT_FALSE(dialog.Ok());
  EXPECT_TRUE(refused_with("non è stato specificato il nuovo toponimo")) << ui_.last_message().text;
  dialog.SetNewName("VIA ROMA ");
  EXPECT_FALSE(dialog.Ok());
  EXPECT_TRUE(refused_with("identico al vecchio")) << ui_.last_message().text;
  // The question names both texts and where the arcs are looked for; No leaves everything as it was.
  dialog.SetNewName("VIA ROMA NUOVA");
  EXPECT_NE(
      dialog.ConfirmationText().find(
          "Toponimo attuale: \"VIA ROMA\"\nNuovo Toponimo: \"VIA ROMA NUOVA\"\n\nGli archi da modificare "
          "verrano ricercati nell'intero grafo stradale."),
      std::string::npos);
  EXPECT_FALSE(dialog.Ok());
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Question);
  EXPECT_TRUE(Rows("ID", "archi", "modnome <> 0").empty());
  dialog.ChooseLocalityId(9999);
  Choose(dialog, "VIA ROMA", "VIA ROMA NUOVA");
  EXPECT_NE(dialog.ConfirmationText().find("nella Località di BORGO - Comune di MEZZOLOMBARDO\n"),
            std::string::npos);
  dialog.ChooseMunicipalityId(10000);
  Choose(dialog, "VIA ROMA", "VIA ROMA NUOVA");
  EXPECT_NE(dialog.ConfirmationText().find("nel Comune di ROVERETO\n"), std::string::npos);
}

}  // namespace
}  // namespace viamappa
