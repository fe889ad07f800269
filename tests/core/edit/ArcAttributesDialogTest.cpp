#include "edit/ArcAttributesDialog.h"

#include <gtest/gtest.h>

#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

// The class list finds the entry that begins with the stored code, letter case aside; nothing found
// (or nothing stored) opens on entry 0.
TEST(ArcAttributesDialogTest, TheStoredClassChoosesItsEntryByPrefix) {
  const std::pair<const char*, int> cases[] = {{"SC", 1}, {"sp", 2}, {"SR", 3}, {"SS", 4}, {"PR", 5},
                                               {"S", 1},  {"", 0},   {"XX", 0}, {"SCX", 0}};
  ScriptedUserInterface ui;
  for (const auto& [code, entry] : cases) {
    ArcAttributesInputs in;
    in.classe = code;
    EXPECT_EQ(ArcAttributesDialog(in, ui, {}).class_index(), entry) << code;
  }
}

// OK in order: a name, a class other than entry 0, the alternative dropped when it repeats the name,
// then each name through the check, which may correct it or refuse it. Accepted, the values read
// denom|alterna|classe.
TEST(ArcAttributesDialogTest, OkDemandsANameAndAClassAndChecksBothNames) {
  using Dialog = ArcAttributesDialog;
  struct Case {
    const char* name;
    const char* alternative;
    int class_index;
    const char* refused;  // the name the check refuses, if any
    std::string_view message;
    std::vector<std::string> checked;
    std::string values;  // empty when refused
  };
  const Case cases[] = {
      {"", "VIA ROMA", 1, nullptr, Dialog::kNoNameMessage, {}, ""},
      {"   ", "", 1, nullptr, Dialog::kNoNameMessage, {}, ""},
      {"VIA ROMA", "", 0, nullptr, Dialog::kNoClassMessage, {}, ""},
      {"VIA ROMA  ", "VIA ROMA ", 2, nullptr, {}, {"VIA ROMA"}, "VIA ROMA||SP"},
      {"VIA ROMA", "via roma", 5, nullptr, {}, {"VIA ROMA", "via roma"}, "VIA ROMA|VIA ROMA (corretta)|PR"},
      {"VIA ROMA", "VIA MILANO", 1, "VIA ROMA", {}, {"VIA ROMA"}, ""},
      {"VIA ROMA", "VIA MILANO", 1, "VIA MILANO", {}, {"VIA ROMA", "VIA MILANO"}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + "/" + c.alternative + "/" + (c.refused ? c.refused : ""));
    ScriptedUserInterface ui;
    std::vector<std::string> checked;
    // The check corrects a lower-case name and refuses the one the case names.
    ArcAttributesDialog dialog(ArcAttributesInputs{}, ui, [&](std::string& text) {
      checked.push_back(text);
      if (c.refused && text == c.refused) return false;
      if (text == "via roma") text = "VIA ROMA (corretta)";
      return true;
    });
    dialog.SetName(c.name);
    dialog.SetAlternative(c.alternative);
    dialog.SetClassIndex(c.class_index);
    EXPECT_EQ(dialog.Accept(), !c.values.empty());
    EXPECT_EQ(checked, c.checked);
    EXPECT_EQ(ui.messages().size(), c.message.empty() ? 0u : 1u);
    if (!c.message.empty()) {
      EXPECT_EQ(ui.last_message().text, c.message);
      EXPECT_EQ(ui.last_message().icon, MessageIcon::Stop);
    }
    if (!c.values.empty()) {
      const ArcAttributeValues& v = dialog.values();
      EXPECT_EQ(v.denom + "|" + v.alterna + "|" + v.classe, c.values);
    }
  }
}

// Elimina asks the question of a regional or of an added arc; a new arc cannot be deleted.
TEST(ArcAttributesDialogTest, DeletionAsksForRegionalAndAddedArcs) {
  const struct {
    bool can_delete, regional, answer, confirmed;
    const char* question_end;
  } cases[] = {
      {true, true, true, true, "proporre l'eliminazione di un Arco Stradale Regionale?"},
      {true, false, true, true, "confermare l'eliminazione dell'Arco Stradale?"},
      {true, false, false, false, "confermare l'eliminazione dell'Arco Stradale?"},
      {false, false, true, false, nullptr},
  };
  for (const auto& c : cases) {
    ScriptedUserInterface ui;
    ui.QueueAnswer(c.answer);
    ArcAttributesInputs in;
    in.can_delete = c.can_delete;
    in.regional = c.regional;
    ArcAttributesDialog dialog(in, ui, {});
    EXPECT_EQ(dialog.deletion_enabled(), c.can_delete);
    EXPECT_EQ(dialog.ConfirmDeletion(), c.confirmed);
    ASSERT_EQ(ui.messages().size(), c.question_end ? 1u : 0u);
    if (c.question_end) {
      EXPECT_TRUE(ui.last_message().text.ends_with(c.question_end)) << ui.last_message().text;
    }
  }
}

}  // namespace
}  // namespace viamappa
