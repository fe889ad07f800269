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
// then each name through the check, which may correct it or refuse it.
TEST(ArcAttributesDialogTest, OkDemandsANameAndAClassAndChecksBothNames) {
  struct Case {
    const char* what;
    const char* name;
    const char* alternative;
    int class_index;
    const char* refused;  // the name the check refuses, if any
    bool accepted;
    std::string_view message;
    std::vector<std::string> checked;
    ArcAttributeValues values;
  };
  const Case cases[] = {
      {"no name", "", "VIA ROMA", 1, nullptr, false, ArcAttributesDialog::kNoNameMessage, {}, {}},
      {"blanks only", "   ", "", 1, nullptr, false, ArcAttributesDialog::kNoNameMessage, {}, {}},
      {"class entry 0", "VIA ROMA", "", 0, nullptr, false, ArcAttributesDialog::kNoClassMessage, {}, {}},
      {"alternative equal to the name",
       "VIA ROMA  ",
       "VIA ROMA ",
       2,
       nullptr,
       true,
       {},
       {"VIA ROMA"},
       {"VIA ROMA", "", "SP"}},
      {"alternative differing in case",
       "VIA ROMA",
       "via roma",
       5,
       nullptr,
       true,
       {},
       {"VIA ROMA", "via roma"},
       {"VIA ROMA", "VIA ROMA (corretta)", "PR"}},
      {"name refused", "VIA ROMA", "VIA MILANO", 1, "VIA ROMA", false, {}, {"VIA ROMA"}, {}},
      {"alternative refused",
       "VIA ROMA",
       "VIA MILANO",
       1,
       "VIA MILANO",
       false,
       {},
       {"VIA ROMA", "VIA MILANO"},
       {}},
  };
  for (const Case& c : cases) {
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
    EXPECT_EQ(dialog.Accept(), c.accepted) << c.what;
    EXPECT_EQ(checked, c.checked) << c.what;
    if (c.message.empty()) {
      EXPECT_TRUE(ui.messages().empty()) << c.what;
    } else {
      ASSERT_EQ(ui.messages().size(), 1u) << c.what;
      EXPECT_EQ(ui.messages()[0].text, c.message) << c.what;
      EXPECT_EQ(ui.messages()[0].icon, MessageIcon::Stop) << c.what;
    }
    if (!c.accepted) continue;
    EXPECT_EQ(dialog.values().denom, c.values.denom) << c.what;
    EXPECT_EQ(dialog.values().alterna, c.values.alterna) << c.what;
    EXPECT_EQ(dialog.values().classe, c.values.classe) << c.what;
  }
}

// Elimina asks the question of a regional or of an added arc; a new arc cannot be deleted.
TEST(ArcAttributesDialogTest, DeletionAsksForRegionalAndAddedArcs) {
  struct Case {
    bool can_delete;
    bool regional;
    bool answer;
    bool confirmed;
    const char* question_end;
  };
  const Case cases[] = {
      {true, true, true, true, "Si intende proporre l'eliminazione di un Arco Stradale Regionale?"},
      {true, false, true, true, "Si intende confermare l'eliminazione dell'Arco Stradale?"},
      {true, false, false, false, "Si intende confermare l'eliminazione dell'Arco Stradale?"},
      {false, false, true, false, nullptr},
  };
  for (const Case& c : cases) {
    ScriptedUserInterface ui;
    ui.QueueAnswer(c.answer);
    ArcAttributesInputs in;
    in.can_delete = c.can_delete;
    in.regional = c.regional;
    ArcAttributesDialog dialog(in, ui, {});
    EXPECT_EQ(dialog.deletion_enabled(), c.can_delete);
    EXPECT_EQ(dialog.ConfirmDeletion(), c.confirmed);
    if (!c.question_end) {
      EXPECT_TRUE(ui.messages().empty());
      continue;
    }
    ASSERT_EQ(ui.messages().size(), 1u);
    const std::string& text = ui.messages()[0].text;
    EXPECT_TRUE(text.starts_with("E' stata richiesta l'ELIMINAZIONE dell'Arco Stradale.\n\n")) << text;
    EXPECT_TRUE(text.ends_with(c.question_end)) << text;
  }
  ScriptedUserInterface ui;
  EXPECT_EQ(ArcAttributesDialog(ArcAttributesInputs{}, ui, {}).id_text(), "999999");
}

}  // namespace
}  // namespace viamappa
