#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "MainFrameOverDatabase.h"
#include "gui/HighlightCriteriaDialogView.h"
#include "gui/MapView.h"
#include "gui/StatusBar.h"
#include "gui/ToponymSearchDialogView.h"
#include "map/CommandIds.h"
#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

// The main window over a database of two municipal streets named alike in one municipality and a
// provincial road, each street 1000 m long, 200 m apart.
class QueryCommandsTest : public testing::MainFrameOverDatabaseTest {
 protected:
  QueryCommandsTest() {
    {
      ScriptedUserInterface quiet;
      DbConnection connection(database_, quiet);
      testing::NetworkBuilder build(connection);
      EXPECT_TRUE(
          build.AddMunicipality(1, "Mezzovalle", "022001", {testing::NetworkBuilder::Square(0, 0, 4000)}));
      const char* names[] = {"VIA ROMA", "VIA ROMA", "SP 43"};
      const char* classes[] = {"SC", "SC", "SP"};
      for (int i = 0; i < 3; ++i) {
        const double y = 1000.0 + 200.0 * i;
        EXPECT_TRUE(build.AddNode(2 * i + 1, 1000, y) && build.AddNode(2 * i + 2, 2000, y));
        testing::ArcRow arc =
            testing::Arc(i + 1, 2 * i + 1, 2 * i + 2, {{1000, y}, {2000, y}}, names[i], classes[i]);
        arc.comune = 1;
        EXPECT_TRUE(build.AddArc(arc));
      }
    }
    Start();
    view_ = ShowMap();
    ui_.ClearMessages();
  }

  // Near enough for the arcs to show in the quick redraws that follow each other here.
  void CloseUp() {
    view_->viewport().CentreOn(1500, 1200);
    view_->viewport().Rescale(0.25);
    view_->requestFullRedraw();
  }

  // The pointer goes to a point of the map, and Enter chooses there.
  void MoveTo(Point world) { testing::Pointer(view_, QEvent::MouseMove, world); }
  void ChooseAt(Point world) {
    MoveTo(world);
    QTest::keyClick(view_, Qt::Key_Return);
  }

  // Arc 1 cut at its middle from the drawing mode (Ins starts a new arc there, Esc gives it up): its
  // second half is the new arc 4.
  void SplitArcOne() {
    CloseUp();
    frame_->ExecuteCommand(cmd::kDrawArcMode);
    MoveTo({1500, 1000});
    QTest::keyClick(view_, Qt::Key_Insert);
    QTest::keyClick(view_, Qt::Key_Escape);
    frame_->ExecuteCommand(cmd::kDrawArcMode);
  }

  // Whether the context menu's entry of that command is usable.
  bool MenuEntryEnabled(int id) {
    const std::unique_ptr<QMenu> menu = view_->BuildContextMenu();
    const QAction* action = testing::FindAction(menu.get(), id);
    return action && action->isEnabled();
  }

  // The map image is black beside a point of an arc where a highlighted road is drawn under it.
  bool BlackAt(double x, double y) {
    const Point at = view_->viewport().WorldToPixel(x, y);
    return view_->map_image().pixelColor(static_cast<int>(at.x), static_cast<int>(at.y) - 3) == Qt::black;
  }

  MapView* view_ = nullptr;
};

TEST_F(QueryCommandsTest, HighlightingShowsTheChosenRoadsUntilTurnedOffOrAnotherModeComes) {
  ASSERT_NE(view_, nullptr);
  CloseUp();
  ui_.QueueHighlightCriteria([](HighlightCriteriaDialog& d) {
    d.Toggle(HighlightCriterion::MunicipalRoads);
    return true;
  });
  QTest::keyClick(view_, Qt::Key_E, Qt::ControlModifier);
  EXPECT_EQ(view_->queries().highlights.size(), 2u);
  EXPECT_TRUE(BlackAt(1500, 1000) && BlackAt(1500, 1200) && !BlackAt(1500, 1400));

  QTest::keyClick(view_, Qt::Key_E, Qt::ControlModifier);
  EXPECT_TRUE(view_->queries().highlights.empty());
  EXPECT_FALSE(BlackAt(1500, 1000));

  ui_.QueueHighlightCriteria([](HighlightCriteriaDialog& d) {
    d.Toggle(HighlightCriterion::ProvincialRoads);
    return true;
  });
  frame_->ExecuteCommand(cmd::kHighlightRoads);
  frame_->ExecuteCommand(cmd::kPathStart);
  EXPECT_TRUE(view_->queries().highlights.empty()) << "another mode forgets the highlighting";
}

TEST_F(QueryCommandsTest, SearchedStreetsComeIntoViewWholeOrAsTheirArc) {
  ASSERT_NE(view_, nullptr);
  const auto choose = [this](bool whole, int hit) {
    ui_.QueueToponymSearch([whole, hit](ToponymSearchDialog& d) {
      d.SetFragment("via roma");
      d.SetWholeStreets(whole);
      d.Search();
      d.ChooseHit(hit);
      return !d.Accept();
    });
  };
  std::vector<std::int32_t> picked;
  view_->SetHitArcPick([&picked](std::int32_t id) { picked.push_back(id); });

  choose(false, 1);
  QTest::keyClick(view_, Qt::Key_T, Qt::ControlModifier);
  EXPECT_EQ(picked, std::vector<std::int32_t>{2});
  ASSERT_NE(view_->editor(), nullptr);
  const LineFeature* hot = view_->editor()->state().hot_arc.get();
  EXPECT_TRUE(hot && hot->id == 2) << "the hit's arc is the editing's hot arc";
  EXPECT_FALSE(frame_->map_modes().highlighting);
  // The arc with 500 m about it fits the window, centred on the arc.
  view_->viewport().UpdateExtent();
  const Box shown = view_->viewport().Visible();
  EXPECT_NEAR((shown.minx + shown.maxx) / 2, 1500, 1);
  EXPECT_NEAR((shown.miny + shown.maxy) / 2, 1200, 1);
  EXPECT_NEAR(shown.maxx - shown.minx, 1500, 1) << "the width limits: 1000 m and the margin";

  choose(true, 0);
  frame_->ExecuteCommand(cmd::kToponymSearch);
  EXPECT_EQ(view_->queries().highlights.size(), 2u) << "the municipal street of its municipality";
  EXPECT_TRUE(BlackAt(1500, 1000) && BlackAt(1500, 1200));
  EXPECT_EQ(view_->queries().search_text, "via roma") << "the accepted text is offered next time";
}

TEST(QueryDialogViewsTest, HighlightBoxesFollowTheFlagsAndTheIndicatorChangesNone) {
  HighlightCriteriaDialog model;
  HighlightCriteriaDialogView view(model);
  QCheckBox* none = view.Box(HighlightCriteriaDialog::kNoneControl);
  QCheckBox* municipal = view.Box(1040);
  ASSERT_TRUE(none && municipal);
  EXPECT_TRUE(none->isChecked());
  municipal->click();
  EXPECT_TRUE(model.checked(HighlightCriterion::MunicipalRoads));
  EXPECT_FALSE(none->isChecked());
  none->click();
  EXPECT_FALSE(none->isChecked()) << "the indicator follows the flags only";
  EXPECT_TRUE(municipal->isChecked());
}

using ToponymSearchViewTest = testing::RoadNetworkTest;

TEST_F(ToponymSearchViewTest, BindsItsControlsAndStaysOnRefusals) {
  ASSERT_TRUE(testing::NetworkBuilder(db()).AddMunicipality(12345, "Sant'Orsola", "022001",
                                                            {testing::NetworkBuilder::Square(0, 0, 10)}));
  ToponymSearchDialog model(db(), "orsola");
  ToponymSearchDialogView view(model, ui_);
  EXPECT_EQ(view.fragment()->text(), QStringLiteral("orsola"));
  EXPECT_EQ(view.filter()->count(), 2);
  view.fragment()->setText(QStringLiteral("sant'"));
  view.whole_streets()->setChecked(true);
  view.search_button()->click();
  ASSERT_EQ(view.hits()->count(), 1);
  EXPECT_EQ(view.hits()->itemText(0), QStringLiteral("C12345 - Comune: Sant'Orsola"));
  EXPECT_TRUE(model.whole_streets());
  view.ok_button()->click();
  EXPECT_EQ(ui_.last_message().text, ToponymSearchDialog::kNoHitMessage);
  EXPECT_EQ(view.result(), QDialog::Rejected) << "the dialog stays";
  view.hits()->setCurrentIndex(0);
  view.ok_button()->click();
  EXPECT_EQ(view.result(), QDialog::Accepted);
  EXPECT_EQ(model.accepted(), (SearchHit{HitKind::Municipality, 12345}));
}

// The route modes: Invio marks the snapped point as the start, then as the end, and the path is
// computed and shown; leaving the start mode forgets both; a path between streets that do not meet is
// refused with its message and keeps the end marker.
TEST_F(QueryCommandsTest, TheRouteModesMarkThePointsAndComputeThePath) {
  ASSERT_NE(view_, nullptr);
  CloseUp();
  frame_->ExecuteCommand(cmd::kPathStart);
  ChooseAt({1001, 1000});
  ASSERT_TRUE(view_->route().start());
  EXPECT_EQ(view_->route().start()->arc, std::optional<std::int32_t>(1)) << "the start of arc 1";
  EXPECT_TRUE(frame_->map_modes().start_point_set);

  frame_->ExecuteCommand(cmd::kPathEnd);
  ChooseAt({1500, 1001});
  ASSERT_TRUE(view_->route().end());
  EXPECT_EQ(view_->route().end()->arc, std::optional<std::int32_t>(1)) << "a foot on arc 1";
  ASSERT_TRUE(view_->route().result());
  ASSERT_EQ(ui_.route_dialogs().size(), 1u);
  EXPECT_EQ(ui_.route_dialogs()[0][0], "Il percorso minimo identificato misura 0.50 Km");

  frame_->ExecuteCommand(cmd::kPathStart);  // a new start: the end and the path go
  EXPECT_TRUE(view_->route().start());
  EXPECT_FALSE(view_->route().end() || view_->route().result());
  frame_->ExecuteCommand(cmd::kPathStart);  // the mode left: both markers go
  EXPECT_FALSE(view_->route().start());

  frame_->ExecuteCommand(cmd::kPathStart);
  ChooseAt({1001, 1000});
  frame_->ExecuteCommand(cmd::kPathEnd);
  ChooseAt({1500, 1401});  // the provincial road, which meets neither street
  EXPECT_TRUE(view_->route().end());
  EXPECT_FALSE(view_->route().result());
  ASSERT_FALSE(ui_.messages().empty());
  EXPECT_EQ(ui_.last_message().text,
            "Non è possibile identificare il percorso minimo che connette i due punti indicati");
  EXPECT_EQ(ui_.route_dialogs().size(), 1u);
}

// A path computed over the second half of a cut arc: undoing the cut (Alt+Backspace) takes that half out
// of the map, and the path along it goes with it; the next path is computed over the arc made whole
// again; Ctrl+Y cuts it once more.
TEST_F(QueryCommandsTest, UndoingAnEditForgetsAPathAlongTheArcItTakesAway) {
  ASSERT_NE(view_, nullptr);
  SplitArcOne();
  MapLayer* arcs = frame_->map_data()->FindLayer("archi");
  ASSERT_TRUE(arcs->FindLineFeature(4));
  EXPECT_TRUE(MenuEntryEnabled(cmd::kUndoEdit));
  EXPECT_FALSE(MenuEntryEnabled(cmd::kRedoEdit));
  frame_->ExecuteCommand(cmd::kPathStart);
  ChooseAt({1001, 1000});
  frame_->ExecuteCommand(cmd::kPathEnd);
  ChooseAt({1800, 1001});
  ASSERT_TRUE(view_->route().result());
  ASSERT_EQ(view_->route().end()->arc, std::optional<std::int32_t>(4));

  QTest::keyClick(view_, Qt::Key_Backspace, Qt::AltModifier);
  EXPECT_FALSE(arcs->FindLineFeature(4));
  EXPECT_FALSE(view_->route().result()) << "the path ran along the arc that went";
  EXPECT_EQ(frame_->Panes()->PaneText(StatusPane::Note),
            QStringLiteral("Modifica annullata: divisione di un arco stradale"));
  EXPECT_FALSE(MenuEntryEnabled(cmd::kUndoEdit));
  EXPECT_TRUE(MenuEntryEnabled(cmd::kRedoEdit));
  ChooseAt({1800, 1001});
  ASSERT_TRUE(view_->route().result());
  EXPECT_EQ(view_->route().end()->arc, std::optional<std::int32_t>(1));
  ASSERT_EQ(ui_.route_dialogs().size(), 2u);
  EXPECT_EQ(ui_.route_dialogs()[1][0], "Il percorso minimo identificato misura 0.80 Km");
  QTest::keyClick(view_, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_TRUE(arcs->FindLineFeature(4));
}

// A command that wrote nothing (the localization refused without localities) keeps the edits
// undoable; one that wrote rows the history does not know forgets them.
TEST_F(QueryCommandsTest, ABatchCommandThatWritesRowsForgetsTheEdits) {
  ASSERT_NE(view_, nullptr);
  SplitArcOne();
  frame_->ExecuteCommand(cmd::kLocalizeRoadGraph);
  EXPECT_TRUE(ui_.last_message().text.starts_with("ATTENZIONE: le Località non risultano presenti."));
  EXPECT_TRUE(MenuEntryEnabled(cmd::kUndoEdit));
  {
    ScriptedUserInterface quiet;
    DbConnection connection(database_, quiet);
    testing::NetworkBuilder build(connection);
    ASSERT_TRUE(
        build.AddLocality(1, "Mezzovalle", "022001", 100, {testing::NetworkBuilder::Square(0, 0, 4000)}));
  }
  frame_->ExecuteCommand(cmd::kLocalizeRoadGraph);
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Information);
  EXPECT_FALSE(MenuEntryEnabled(cmd::kUndoEdit));
  EXPECT_FALSE(view_->editor()->history().CanUndo());
}

}  // namespace
}  // namespace viamappa
