#include "gui/ArcAttributesDialogView.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "gui/QtEditDialogs.h"
#include "gui/SuggestionsDialogView.h"
#include "support/ModalDialogs.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

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
    testing::WhenModalOpens([&](QWidget* modal) {
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
  testing::WhenModalOpens([](QWidget* modal) {
    auto* view = dynamic_cast<ArcAttributesDialogView*>(modal);
    ASSERT_NE(view, nullptr);
    view->alternative_edit()->clear();
    view->ok_button()->click();
  });
  EXPECT_EQ(dialogs.RunArcAttributes(model), ArcDialogClose::Ok);
  EXPECT_TRUE(over_attributes);
  EXPECT_EQ(model.values().denom, "VIA ROMANA");
}

}  // namespace
}  // namespace viamappa
