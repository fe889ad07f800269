#include "query/ToponymSearch.h"

#include <gtest/gtest.h>

#include "core/query/QueryNetwork.h"
#include "query/HitView.h"
#include "query/ToponymSearchCommand.h"
#include "query/ToponymSearchDialog.h"

namespace viamappa {
namespace {

using Lines = std::vector<std::string>;

class ToponymSearchTest : public testing::QueryNetworkTest {
 protected:
  Lines Search(const std::string& fragment, bool municipalities, bool localities, bool toponyms, bool streets,
               bool whole = false, std::int32_t municipality = 0) {
    SearchRequest r;
    r.fragment = fragment;
    r.municipalities = municipalities;
    r.localities = localities;
    r.toponyms = toponyms;
    r.streets = streets;
    r.whole_streets = whole;
    r.municipality = municipality;
    return SearchPlaces(db(), r);
  }
};

TEST_F(ToponymSearchTest, EveryKindInItsOrderAndFormWithApostrophes) {
  EXPECT_EQ(Search("t'", true, true, true, false),
            (Lines{"C10001 - Comune: Sant'Orsola", "L12345 - Località: Frazione Sant'Anna (Sant'Orsola)",
                   "T1234567 - Toponimo: Malga Sant'Anna (Sant'Orsola)"}));
  // Single arcs by municipality, locality and name, also by their alternative name; an arc in no
  // municipality in the short form, one in no locality with its municipality alone.
  EXPECT_EQ(Search("roma", false, false, true, true),
            (Lines{"T000008 - Toponimo: Dosso Roma (Mezzovalle)", "V000007 - Viabilità: VIA VERDI",
                   "V000003 - Viabilità: VIA ROMA [Villa-Mezzovalle]",
                   "V000002 - Viabilità: VIA ROMA [Sant'Orsola]",
                   "V1000001 - Viabilità: VIA ROMA [Frazione Sant'Anna-Sant'Orsola]"}));
  EXPECT_EQ(Search("*", false, false, false, true), (Lines{"V000008 - Viabilità: A*B [Borgo]"}))
      << "no wildcard";
  EXPECT_EQ(Search("%", false, false, false, true), (Lines{"V000009 - Viabilità: A%B [Borgo]"}));
  EXPECT_EQ(Search("x'y", true, true, true, true), Lines{});
}

TEST_F(ToponymSearchTest, WholeStreetsListMunicipalRoadsOncePerMunicipalityOthersOnce) {
  EXPECT_EQ(Search("a", false, false, false, true, true),
            (Lines{"V000009 - Viabilità: A%B [Borgo]", "V000008 - Viabilità: A*B [Borgo]",
                   "V000010 - Viabilità: AXB [Borgo]", "V000003 - Viabilità: VIA ROMA [Mezzovalle]",
                   "V000002 - Viabilità: VIA ROMA [Sant'Orsola]", "V000007 - Viabilità: VIA VERDI"}));
  EXPECT_EQ(Search("SP", false, false, false, true, true), (Lines{"V000006 - Viabilità: SP 43"}));
  EXPECT_EQ(Search("vecchia", false, false, false, true, true), Lines{}) << "not by the alternative name";
}

TEST_F(ToponymSearchTest, MunicipalityFilterLeavesTheMunicipalitySearchAlone) {
  EXPECT_EQ(Search("o", true, true, true, true, false, 2),
            (Lines{"C0000 - Comune: *** Comune non assegnato ***", "C0003 - Comune: Borgo",
                   "C0002 - Comune: Mezzovalle", "C10001 - Comune: Sant'Orsola",
                   "T000008 - Toponimo: Dosso Roma (Mezzovalle)",
                   "V000003 - Viabilità: VIA ROMA [Villa-Mezzovalle]"}));
}

TEST_F(ToponymSearchTest, DialogChecksItsButtonsAndReadsTheChosenHit) {
  ToponymSearchDialog dialog(db(), "vecchio testo");
  EXPECT_EQ(dialog.fragment(), "vecchio testo");
  dialog.ChooseFilter(3);  // the municipalities by name after "any"
  EXPECT_EQ(dialog.MunicipalityFilter(), testing::QueryNetworkTest::kBigMunicipality);
  dialog.SetFragment(std::string(45, 'e') + "à");
  EXPECT_EQ(dialog.fragment(), std::string(40, 'e')) << "at most 40 characters";
  dialog.SetFragment("   ");
  EXPECT_EQ(dialog.Search(), ToponymSearchDialog::kNoFragmentMessage);
  dialog.SetFragment("Sant'  ");
  dialog.contexts().municipalities = dialog.contexts().localities = dialog.contexts().streets = false;
  EXPECT_EQ(dialog.Search(), ToponymSearchDialog::kNoContextMessage);
  dialog.contexts().localities = true;
  ASSERT_EQ(dialog.Search(), std::nullopt);
  EXPECT_EQ(dialog.hits(), (Lines{"L12345 - Località: Frazione Sant'Anna (Sant'Orsola)"}));
}

TEST_F(ToponymSearchTest, HitsAreShownOnTheirBoxWithTheirMargin) {
  using P = HitView::Pointer;
  const struct {
    SearchHit hit;
    bool whole;
    Box box;
    double margin;
    P pointer;
  } cases[] = {
      {{HitKind::Municipality, kBigMunicipality}, false, Box::Of(0, 0, 1000, 1000), 5000, P::WindowCentre},
      {{HitKind::Locality, kBigLocality}, false, Box::Of(100, 100, 300, 300), 1000, P::WindowCentre},
      {{HitKind::Toponym, kBigToponym}, false, Box::Of(500, 500, 520, 510), 500, P::Stays},
      {{HitKind::Street, kBigArc}, false, Box::Of(100, 50, 200, 80), 500, P::ArcStart},
      // The municipal street of its municipality: arcs 1000001 and 2.
      {{HitKind::Street, kBigArc}, true, Box::Of(100, 50, 400, 80), 500, P::Stays},
      // The provincial road in all municipalities: arcs 4 to 6.
      {{HitKind::Street, 5}, true, Box::Of(700, 50, 1200, 80), 500, P::Stays},
  };
  for (const auto& c : cases) {
    const std::optional<HitView> view = PlanHitView(db(), layers_, c.hit, c.whole);
    ASSERT_TRUE(view) << static_cast<char>(c.hit.kind) << c.hit.id;
    EXPECT_EQ(view->box, c.box) << c.hit.id;
    EXPECT_EQ(view->margin, c.margin);
    EXPECT_EQ(view->pointer, c.pointer);
    EXPECT_EQ(view->highlighting, c.whole);
    EXPECT_EQ(view->highlights.size(), c.whole ? (c.hit.id == 5 ? 3u : 2u) : 0u);
  }
  const std::optional<HitView> arc = PlanHitView(db(), layers_, {HitKind::Street, kBigArc}, false);
  EXPECT_EQ(arc->pick_arc, kBigArc);
  EXPECT_EQ(arc->arc_start, (Point{100, 50}));
  // What the map data do not hold leaves the view.
  for (const SearchHit missing : {SearchHit{HitKind::Municipality, 0}, SearchHit{HitKind::Locality, 99},
                                  SearchHit{HitKind::Toponym, 99}, SearchHit{HitKind::Street, 99}})
    EXPECT_FALSE(PlanHitView(db(), layers_, missing, false));
}

// Without localization both warnings come; closing without Ok keeps the text and empties the set. The
// search of a localized network, shown on the map, is the view test's.
TEST_F(ToponymSearchTest, CommandWarnsWithoutLocalizationAndClearsTheSet) {
  testing::TempDir other;
  const std::string path = other.File("vuoto.mdb");
  ASSERT_TRUE(testing::MakeRoadNetworkDatabase(path));
  DbConnection empty(path, ui_);
  MapQueries queries;
  queries.highlights.resize(1);
  queries.search_text = "prima";
  ui_.QueueToponymSearch([](ToponymSearchDialog& d) {
    EXPECT_EQ(d.fragment(), "prima");
    d.SetFragment("roma");
    return false;
  });
  EXPECT_FALSE(RunToponymSearch(empty, ui_, layers_, queries));
  EXPECT_EQ(testing::Texts(ui_), (Lines{kToponymsNotLocalizedMessage, kArcsNotLocalizedMessage}));
  EXPECT_TRUE(queries.highlights.empty());
  EXPECT_EQ(queries.search_text, "prima");
}

}  // namespace
}  // namespace viamappa
