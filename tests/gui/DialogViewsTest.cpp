// The smaller dialogs on the screen: each binds its controls to its model and closes only when the model
// accepts.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "gui/ArcAttributesDialogView.h"
#include "gui/BulkRenameDialogView.h"
#include "gui/QtEditDialogs.h"
#include "gui/QtUserInterface.h"
#include "gui/RouteResultDialogView.h"
#include "gui/SnapFactorDialogView.h"
#include "gui/StreetListDialog.h"
#include "gui/SuggestionsDialogView.h"
#include "gui/ValidationWindow.h"
#include "support/ModalDialogs.h"
#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

using namespace viamappa::testing;

ArcAttributesInputs StoredArc() {
  ArcAttributesInputs in;
  in.id = 12;
  in.codele = "W1";
  in.codreg = "MZ0088";
  in.denom = "VIA ROMA";
  in.orgden = "VIA ROMA VECCHIA";
  in.alterna = "VIA DELLA LIBERTÀ";
  in.orgalt = "VIA LIBERTÀ";
  in.classe = "SP";
  in.can_delete = true;
  in.regional = true;
  return in;
}

// The controls show the model, the shown-only ones greyed, the stored class chosen. OK stays open on a
// refusal and closes with OK once the model accepts; Elimina closes on Yes.
TEST(ArcAttributesDialogViewTest, ShowsTheArcAndClosesOnlyWhenTheModelAgrees) {
  ScriptedUserInterface ui;
  ArcAttributesDialog model(StoredArc(), ui, {});
  ArcAttributesDialogView view(model);
  const std::pair<QLineEdit*, const char*> shown[] = {
      {view.id_edit(), "12"},
      {view.element_code_edit(), "W1"},
      {view.region_code_edit(), "MZ0088"},
      {view.first_name_edit(), "VIA ROMA VECCHIA"},
      {view.first_alternative_edit(), "VIA LIBERTÀ"},
  };
  for (const auto& [edit, text] : shown) {
    EXPECT_EQ(edit->text(), QString::fromUtf8(text));
    EXPECT_FALSE(edit->isEnabled()) << text;
  }
  EXPECT_TRUE(view.name_edit()->isEnabled() && view.alternative_edit()->isEnabled());
  EXPECT_EQ(view.alternative_edit()->text(), QString::fromUtf8("VIA DELLA LIBERTÀ"));
  EXPECT_EQ(view.class_list()->currentIndex(), 2);
  EXPECT_TRUE(view.delete_button()->isEnabled());

  view.name_edit()->setText(QStringLiteral("   "));
  view.ok_button()->click();
  EXPECT_EQ(view.result(), 0);
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.messages()[0].text, ArcAttributesDialog::kNoNameMessage);
  view.name_edit()->setText(QStringLiteral("VIA MILANO"));
  view.alternative_edit()->setText(QStringLiteral("VIA MILANO"));
  view.class_list()->setCurrentIndex(4);
  view.ok_button()->click();
  EXPECT_EQ(view.result(), static_cast<int>(ArcDialogClose::Ok));
  EXPECT_EQ(model.values().denom, "VIA MILANO");
  EXPECT_EQ(model.values().classe, "SS");

  ArcAttributesDialogView again(model);
  ui.QueueAnswer(false);
  again.delete_button()->click();
  EXPECT_EQ(again.result(), 0) << "No leaves it open";
  ui.QueueAnswer(true);
  again.delete_button()->click();
  EXPECT_EQ(again.result(), static_cast<int>(ArcDialogClose::Delete));

  ArcAttributesDialog fresh(ArcAttributesInputs{}, ui, {});
  ArcAttributesDialogView form(fresh);
  EXPECT_FALSE(form.delete_button()->isEnabled()) << "a new arc has nothing to delete";
  EXPECT_EQ(form.class_list()->currentIndex(), 0);
}

// The list of suggestions closes with OK only on a selected entry; the types' list has its third button.
TEST(SuggestionsDialogViewTest, OkNeedsASelection) {
  ScriptedUserInterface ui;
  NameSuggestionsDialog names("via ma", {"VIA MAZZINI", "VIALE MAZZINI"});
  SuggestionsDialogView view(names, ui);
  EXPECT_EQ(view.list()->count(), 2);
  EXPECT_EQ(view.new_type_button(), nullptr);
  view.ok_button()->click();
  EXPECT_EQ(view.result(), 0);
  EXPECT_EQ(ui.last_message().text, SuggestionsDialog::kNoChoiceMessage);
  view.list()->setCurrentRow(1);
  view.ok_button()->click();
  EXPECT_EQ(view.result(), static_cast<int>(SuggestionClose::Ok));
  EXPECT_EQ(names.chosen(), "VIALE MAZZINI");

  TypeSuggestionsDialog types("VI", {"VIA", "VIALE"});
  SuggestionsDialogView type_view(types, ui);
  ASSERT_NE(type_view.new_type_button(), nullptr);
  type_view.new_type_button()->click();
  EXPECT_EQ(type_view.result(), static_cast<int>(SuggestionClose::NewType));
}

// While OK checks a name, the list of suggestions opens over the attributes window.
TEST(ArcAttributesDialogViewTest, SuggestionsOpenOverTheAttributes) {
  ScriptedUserInterface ui;
  QWidget map;
  QtEditDialogs dialogs(&map, ui);
  bool over_attributes = false;
  ArcAttributesDialog model(StoredArc(), ui, [&](std::string& text) {
    WhenModalOpens([&](QWidget* modal) {
      auto* list = dynamic_cast<SuggestionsDialogView*>(modal);
      ASSERT_NE(list, nullptr);
      over_attributes = dynamic_cast<ArcAttributesDialogView*>(list->parentWidget()) != nullptr;
      list->list()->setCurrentRow(0);
      list->ok_button()->click();
    });
    NameSuggestionsDialog suggestions(text, {"VIA ROMANA"});
    if (dialogs.RunSuggestions(suggestions) != SuggestionClose::Ok) return false;
    text = suggestions.chosen();
    return true;
  });
  WhenModalOpens([](QWidget* modal) {
    auto* view = dynamic_cast<ArcAttributesDialogView*>(modal);
    ASSERT_NE(view, nullptr);
    view->alternative_edit()->clear();
    view->ok_button()->click();
  });
  EXPECT_EQ(dialogs.RunArcAttributes(model), ArcDialogClose::Ok);
  EXPECT_TRUE(over_attributes);
  EXPECT_EQ(model.values().denom, "VIA ROMANA");
}

// The field shows the model's text; OK hands the typed text over and closes only when the model takes
// it, after showing the model's warning otherwise.
TEST(SnapFactorDialogViewTest, OkClosesOnlyOnATextTheModelTakes) {
  SnapFactorDialog model;
  std::vector<std::string> warnings;
  SnapFactorDialogView view(nullptr, model, [&](const std::string& text) { warnings.push_back(text); });
  EXPECT_EQ(view.field()->text(), QStringLiteral("10,00"));
  view.field()->setText(QStringLiteral("dieci"));
  view.accept();
  EXPECT_EQ(warnings.size(), 1u);
  EXPECT_NE(view.result(), QDialog::Accepted);
  view.field()->setText(QStringLiteral("4,5"));
  view.accept();
  EXPECT_EQ(view.result(), QDialog::Accepted);
  EXPECT_EQ(model.snap_factor(), 4.5);
}

QPushButton* Button(QWidget* dialog, const QString& text) {
  for (QPushButton* button : dialog->findChildren<QPushButton*>())
    if (button->text() == text) return button;
  return nullptr;
}

TEST(RouteResultDialogViewTest, ShowsTheModelAndTellsWhichButtonClosedIt) {
  const RouteResultDialog model("Il percorso minimo identificato misura 1.20 Km",
                                {"Km  0.45 - VIA ROMA - Località Piano", "Km  1.20 - VIA <B>VERDI</B> -  "});
  for (const auto& [text, choice] :
       {std::pair{"OK", RouteDialogChoice::Ok}, std::pair{"Annulla", RouteDialogChoice::Cancel}}) {
    RouteResultDialogView view(nullptr, model);
    QPushButton* button = Button(&view, QString::fromUtf8(text));
    ASSERT_NE(button, nullptr) << text;
    QTimer::singleShot(0, button, [button] { button->click(); });
    view.exec();
    EXPECT_EQ(view.choice(), choice) << text;
  }
  RouteResultDialogView view(nullptr, model);
  EXPECT_EQ(view.length_label()->textFormat(), Qt::PlainText);
  ASSERT_EQ(view.list()->count(), 2);
  EXPECT_EQ(view.list()->item(1)->text(), QStringLiteral("Km  1.20 - VIA <B>VERDI</B> -  "));
  // Through the port, as the core shows it.
  QtUserInterface ui(QStringLiteral("VIAMAPPA"));
  WhenModalOpens([](QWidget* modal) { Button(modal, QStringLiteral("Salva"))->click(); });
  EXPECT_EQ(ui.RunRouteResultDialog(model), RouteDialogChoice::Save);
}

// The counts and the list show the findings as the browser words them; the buttons and the list go
// through them, each one chosen handed over to be shown.
TEST(ValidationWindowTest, GoesThroughTheFindingsAndShowsEach) {
  GraphValidation validation;
  validation.findings = {{FindingKind::UnusedNode, true, 7, 0, {500, 500}, Box::Of(500, 500, 500, 500), 0},
                         {FindingKind::Unnamed, false, 3, 0, {1050, 0}, Box::Of(1000, 0, 1100, 0), 0}};
  validation.counts[static_cast<std::size_t>(FindingKind::UnusedNode)] = 1;
  validation.counts[static_cast<std::size_t>(FindingKind::Unnamed)] = 1;
  std::vector<Box> shown;
  ValidationWindow window(nullptr, ValidationBrowser(validation),
                          [&](const Box& box) { shown.push_back(box); });
  EXPECT_FALSE(window.isModal());
  EXPECT_TRUE(window.counts()->text().contains(QStringLiteral("Nodi non usati da nessun arco: 1\n")));
  ASSERT_EQ(window.findings()->model()->rowCount(), 2);
  EXPECT_EQ(window.findings()->model()->index(0, 0).data().toString(),
            QStringLiteral("Nodo 7: non usato da nessun arco in 500,00 500,00"));
  EXPECT_FALSE(window.previous()->isEnabled());
  window.next()->click();
  window.next()->click();
  EXPECT_FALSE(window.next()->isEnabled());
  window.previous()->click();
  EXPECT_EQ(window.findings()->currentIndex().row(), 0);
  EXPECT_TRUE(window.next()->isEnabled());
  window.findings()->setCurrentIndex(window.findings()->model()->index(1, 0));
  const Box node = Box::Of(450, 450, 550, 550), arc = Box::Of(990, -60, 1110, 60);
  EXPECT_EQ(shown, (std::vector<Box>{node, arc, node, arc}));
}

// A municipality with one locality and two streets named alike.
class NamedPlacesDialogTest : public RoadNetworkTest {
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

// The street list's check boxes and lists follow the model; OK stays open on a wrong code.
TEST_F(NamedPlacesDialogTest, TheStreetListBoxesFollowTheModelAndOkStaysOpenOnAWrongCode) {
  StreetListDialogModel model;
  model.Load(db());
  StreetListDialog view(model, ui_);
  EXPECT_EQ(view.locality_list()->count(), 1);
  EXPECT_FALSE(view.municipality_list()->isEnabled() || view.locality_list()->isEnabled());

  view.locality_box()->click();
  EXPECT_TRUE(model.locality_checked());
  EXPECT_TRUE(view.locality_list()->isEnabled());
  EXPECT_FALSE(view.municipality_box()->isEnabled() || view.municipality_list()->isEnabled());

  view.locality_list()->setEditText(QStringLiteral("8"));
  view.accept();
  EXPECT_EQ(view.result(), QDialog::Rejected) << "the dialog stays open";
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Stop);

  view.locality_list()->setCurrentIndex(0);
  view.accept();
  EXPECT_EQ(view.result(), QDialog::Accepted);
  EXPECT_EQ(model.choice().locality, 7);
}

// The renaming's widgets show the model; searching, choosing a name, a locality and renaming go through it.
TEST_F(NamedPlacesDialogTest, TheBulkRenameBindsItsWidgetsToTheModel) {
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
